// The Err object: the last run-time error caught by On Error Resume Next, and Err.Raise.
#pragma once

#include <string>

#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

class ErrObject final : public Object {
public:
    std::u16string TypeName() const override { return u"ErrObject"; }
    DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;

    // Records an error (Number, Description, Source).
    void Set(const ScriptError& error);
    void Clear();
    int32_t number() const { return number_; }

private:
    int32_t number_ = 0;
    std::u16string description_;
    std::u16string source_;
    std::u16string helpFile_;
    int32_t helpContext_ = 0;
};

}  // namespace taviro::vbscript
