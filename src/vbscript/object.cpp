// Default values of objects and case folding of names.
#include "vbscript/object.h"

#include "vbscript/script_error.h"

namespace taviro::vbscript {

Ref<Enumerator> Object::Enumerate() { Throw(err::kNotACollection); }

Variant DefaultValue(Object* object) {
    // A default member may itself return an object; its default is taken in turn, a few levels deep.
    for (int depth = 0; depth < 8; ++depth) {
        if (object == nullptr) Throw(err::kObjectNotSet);
        Ref<Object> keep(object);
        Variant value = object->Invoke(kDefaultMember, InvokeKind::Get, {});
        if (!value.IsObject()) return value;
        object = value.object();
        if (object == keep.get()) break;
    }
    Throw(err::kNoSuchMember);
}

std::u16string FoldCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& c : folded) c = FoldCharacter(c);
    return folded;
}

}  // namespace taviro::vbscript
