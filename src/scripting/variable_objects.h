// Project variables as scripts see them: objects with "Value" (the default member, so that
// "Door = 1" and "If Door = 1" work on the variable) and "Name".
#pragma once

#include <memory>

#include "logic/variables.h"
#include "vbscript/object.h"

namespace taviro::scripting {

// Member is logic::ClassVariable (Value takes numbers in the range of a 16-bit integer, error 6
// beyond it) or logic::ClassVariableVariant (Value holds any value; objects assigned with Set are
// kept by reference).
template <typename Member>
class VariableObject final : public vbscript::Object {
public:
    explicit VariableObject(std::shared_ptr<Member> variable) : variable_(std::move(variable)) {}

    std::u16string TypeName() const override;
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    std::shared_ptr<Member> variable_;
};

using IntegerVariableObject = VariableObject<logic::ClassVariable>;
using VariantVariableObject = VariableObject<logic::ClassVariableVariant>;

}  // namespace taviro::scripting
