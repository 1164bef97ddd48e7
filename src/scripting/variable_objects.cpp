// Member 0 is Value, the default member; member 1 is Name.
#include "scripting/variable_objects.h"

#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

constexpr vbscript::DispatchId kValue = vbscript::kDefaultMember;
constexpr vbscript::DispatchId kName = 1;

vbscript::DispatchId VariableMember(std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    if (folded == u"value") return kValue;
    if (folded == u"name") return kName;
    return vbscript::kUnknownMember;
}

// Value and Name take no index: "Door(1)" is not a variable.
void ExpectArguments(std::span<vbscript::Variant> arguments, vbscript::InvokeKind kind) {
    size_t expected = kind == vbscript::InvokeKind::Get ? 0 : 1;
    if (arguments.size() != expected) vbscript::Throw(vbscript::err::kWrongArgumentCount);
}

vbscript::Variant NameMember(std::string& name, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) {
    if (kind == vbscript::InvokeKind::Get) return vbscript::Variant(vbscript::FromUtf8OrWindows1252(name));
    if (kind == vbscript::InvokeKind::Set) vbscript::Throw(vbscript::err::kIllegalAssignment);
    name = vbscript::ToUtf8(vbscript::ToString(arguments.back()));
    return {};
}

}  // namespace

IntegerVariableObject::IntegerVariableObject(std::shared_ptr<logic::ClassVariable> variable)
    : variable_(std::move(variable)) {}

vbscript::DispatchId IntegerVariableObject::MemberId(std::u16string_view name) {
    return VariableMember(name);
}

const void* IntegerVariableObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

vbscript::Variant IntegerVariableObject::Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                                                std::span<vbscript::Variant> arguments) {
    ExpectArguments(arguments, kind);
    if (id == kName) return NameMember(variable_->Name, kind, arguments);
    if (id != kValue) vbscript::Throw(vbscript::err::kNoSuchMember);
    if (kind == vbscript::InvokeKind::Get) return vbscript::Variant(variable_->Value);
    if (kind == vbscript::InvokeKind::Set) vbscript::Throw(vbscript::err::kIllegalAssignment);
    variable_->Value = vbscript::ToInteger(arguments.back());
    return {};
}

VariantVariableObject::VariantVariableObject(std::shared_ptr<logic::ClassVariableVariant> variable)
    : variable_(std::move(variable)) {}

vbscript::DispatchId VariantVariableObject::MemberId(std::u16string_view name) {
    return VariableMember(name);
}

const void* VariantVariableObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

vbscript::Variant VariantVariableObject::Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                                                std::span<vbscript::Variant> arguments) {
    ExpectArguments(arguments, kind);
    if (id == kName) return NameMember(variable_->Name, kind, arguments);
    if (id != kValue) vbscript::Throw(vbscript::err::kNoSuchMember);
    if (kind == vbscript::InvokeKind::Get) return variable_->Value;
    const vbscript::Variant& value = arguments.back().Target();
    if (kind == vbscript::InvokeKind::Let && value.IsObject()) {
        // Let of an object stores its default value, as an assignment without Set does.
        variable_->Value = vbscript::DefaultValue(value.object());
    } else {
        variable_->Value = value;
    }
    return {};
}

}  // namespace taviro::scripting
