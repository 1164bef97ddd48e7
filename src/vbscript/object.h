// The object interface: how scripts reach host objects and script class instances by name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "vbscript/ref_counted.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {

// A member number an object gives for a name, like an IDispatch DISPID.
using DispatchId = int32_t;
// The default member: used when an object is read as a value, assigned to, or called with arguments.
constexpr DispatchId kDefaultMember = 0;
// MemberId's answer for a name the object does not have.
constexpr DispatchId kUnknownMember = -1;

enum class InvokeKind : uint8_t {
    Get,  // a property read or a method call: "x = obj.Name(1)", "obj.Name 1"
    Let,  // a property assignment: "obj.Name(1) = value"; the value is the last argument
    Set,  // an object assignment: "Set obj.Name = value"; the value is the last argument
};

// What For Each walks; Next gives the following item or false at the end.
class Enumerator : public RefCounted {
public:
    virtual bool Next(Variant& item) = 0;
};

class ClassInstance;

// An object scripts can use. Host objects derive from it; so do script class instances.
// Methods report failures by throwing ScriptError (e.g. Throw(err::kNoSuchMember)).
class Object : public RefCounted {
public:
    // The name TypeName() gives.
    virtual std::u16string TypeName() const = 0;
    // The member number of a name (case-insensitive) or kUnknownMember.
    virtual DispatchId MemberId(std::u16string_view name) = 0;
    // Objects returning the same non-null key map every name to the same member number, so the engine
    // may cache MemberId per call site. The key must stay unique for the life of the process (the
    // address of a static of the class is a good key). Null disables the cache.
    virtual const void* DispatchKey() const { return nullptr; }
    // Reads, calls or assigns a member. Arguments are plain values in script order.
    virtual Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) = 0;
    // For Each over the object; the default fails with 451 "Object not a collection".
    virtual Ref<Enumerator> Enumerate();
    // Non-null for instances of script classes, which the virtual machine calls directly.
    virtual ClassInstance* AsClassInstance() { return nullptr; }
};

// The value of an object used where a value is needed: its default member read with no arguments.
// Throws 91 for Nothing and 438 when the object has no default member.
Variant DefaultValue(Object* object);

// Lower-cases one ASCII or Latin letter; other characters stay as they are.
inline char16_t FoldCharacter(char16_t c) {
    bool upper = (c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
    return upper ? static_cast<char16_t>(c + 32) : c;
}

// Lower-cases ASCII and Latin letters so that identifiers compare without case.
std::u16string FoldCase(std::u16string_view name);

}  // namespace taviro::vbscript
