// Project variables as scripts see them: objects with "Value" (the default member, so that
// "Door = 1" and "If Door = 1" work on the variable) and "Name".
#pragma once

#include <memory>

#include "logic/variables.h"
#include "vbscript/object.h"

namespace taviro::scripting {

class IntegerVariableObject final : public vbscript::Object {
public:
    explicit IntegerVariableObject(std::shared_ptr<logic::ClassVariable> variable);

    std::u16string TypeName() const override { return u"ClassVariable"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    // Value takes numbers in the range of a 16-bit integer (error 6 beyond it).
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    std::shared_ptr<logic::ClassVariable> variable_;
};

class VariantVariableObject final : public vbscript::Object {
public:
    explicit VariantVariableObject(std::shared_ptr<logic::ClassVariableVariant> variable);

    std::u16string TypeName() const override { return u"ClassVariableVariant"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    // Value holds any value; objects are assigned with Set and kept by reference.
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    std::shared_ptr<logic::ClassVariableVariant> variable_;
};

}  // namespace taviro::scripting
