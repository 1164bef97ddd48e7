// Member 0 is Value, the default member; member 1 is Name.
#include "scripting/variable_objects.h"

#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

constexpr vbscript::DispatchId kValue = vbscript::kDefaultMember;
constexpr vbscript::DispatchId kName = 1;

// What differs between the two kinds of variables: their type name and how Value is assigned.
std::u16string TypeNameOf(const logic::ClassVariable&) { return u"ClassVariable"; }
std::u16string TypeNameOf(const logic::ClassVariableVariant&) { return u"ClassVariableVariant"; }

void AssignValue(logic::ClassVariable& variable, vbscript::InvokeKind kind, const vbscript::Variant& value) {
    if (kind == vbscript::InvokeKind::Set) vbscript::Throw(vbscript::err::kIllegalAssignment);
    variable.Value = vbscript::ToInteger(value);
}

void AssignValue(logic::ClassVariableVariant& variable, vbscript::InvokeKind kind,
                 const vbscript::Variant& value) {
    // Let of an object stores its default value, as an assignment without Set does.
    variable.Value = kind == vbscript::InvokeKind::Let && value.IsObject()
                         ? vbscript::DefaultValue(value.object())
                         : value;
}

}  // namespace

template <typename Member>
std::u16string VariableObject<Member>::TypeName() const {
    return TypeNameOf(*variable_);
}

template <typename Member>
vbscript::DispatchId VariableObject<Member>::MemberId(std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    if (folded == u"value") return kValue;
    if (folded == u"name") return kName;
    return vbscript::kUnknownMember;
}

template <typename Member>
const void* VariableObject<Member>::DispatchKey() const {
    static const char key = 0;  // one per kind of variable
    return &key;
}

template <typename Member>
vbscript::Variant VariableObject<Member>::Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                                                 std::span<vbscript::Variant> arguments) {
    // Value and Name take no index: "Door(1)" is not a variable.
    size_t expected = kind == vbscript::InvokeKind::Get ? 0 : 1;
    if (arguments.size() != expected) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    if (id == kName) {
        if (kind == vbscript::InvokeKind::Get) {
            return vbscript::Variant(vbscript::FromUtf8OrWindows1252(variable_->Name));
        }
        if (kind == vbscript::InvokeKind::Set) vbscript::Throw(vbscript::err::kIllegalAssignment);
        variable_->Name = vbscript::ToUtf8(vbscript::ToString(arguments.back()));
        return {};
    }
    if (id != kValue) vbscript::Throw(vbscript::err::kNoSuchMember);
    if (kind == vbscript::InvokeKind::Get) return vbscript::Variant(variable_->Value);
    AssignValue(*variable_, kind, arguments.back().Target());
    return {};
}

template class VariableObject<logic::ClassVariable>;
template class VariableObject<logic::ClassVariableVariant>;

}  // namespace taviro::scripting
