// Construction and ownership of Variant payloads.
#include "vbscript/variant.h"

#include "vbscript/array.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
thread_local int64_t scriptMemoryBytes = 0;
thread_local int64_t scriptMemoryLimit = int64_t{1} << 30;
}  // namespace

void SetScriptMemoryLimit(int64_t bytes) { scriptMemoryLimit = bytes; }

void AccountScriptMemory(int64_t bytes) {
    if (bytes > 0 && scriptMemoryBytes + bytes > scriptMemoryLimit) Throw(err::kOutOfMemory);
    scriptMemoryBytes += bytes;
}

void CheckStringLength(size_t length) {
    if (length > kMaxStringLength) Throw(err::kOutOfMemory);
}

Variant::Variant(std::u16string text) : type_(VarType::String) {
    if (text.size() > kMaxStringLength) Throw(err::kOutOfMemory);
    AccountScriptMemory(static_cast<int64_t>(text.size() * sizeof(char16_t)));
    u_.str = new StringData{1, std::move(text)};
}

Variant::Variant(Ref<Object> object) : type_(VarType::Object) { u_.obj = object.Detach(); }

Variant::Variant(Ref<Array> array) : type_(VarType::Array) { u_.arr = array.Detach(); }

Variant Variant::Byte(uint8_t value) {
    Variant v(VarType::Byte);
    v.u_.i64 = value;
    return v;
}

Variant Variant::Currency(int64_t tenThousandths) {
    Variant v(VarType::Currency);
    v.u_.i64 = tenThousandths;
    return v;
}

Variant Variant::Date(double days) {
    Variant v(VarType::Date);
    v.u_.f64 = days;
    return v;
}

Variant Variant::Error(int32_t code) {
    Variant v(VarType::Error);
    v.u_.i64 = code;
    return v;
}

namespace {
// The shared texts of the characters below 256. The table keeps one reference to each, so they
// never reach the end of their life while scripts use them.
struct CharacterTexts {
    CharacterTexts() {
        for (size_t c = 0; c < std::size(texts); ++c)
            texts[c] = new StringData{1, std::u16string(1, char16_t(c))};
    }
    ~CharacterTexts() {
        for (StringData* text : texts) {
            if (--text->refCount == 0) delete text;
        }
    }
    StringData* texts[256];
};
}  // namespace

Variant Variant::Character(char16_t c) {
    if (c >= 256) return Variant(std::u16string(1, c));
    thread_local CharacterTexts shared;
    Variant v(VarType::String);
    v.u_.str = shared.texts[c];
    ++v.u_.str->refCount;
    return v;
}

Variant Variant::ElementOf(Array* array, uint32_t flatIndex) {
    Variant v(VarType::ElementReference);
    v.u_.arr = array;
    v.aux_ = flatIndex;
    v.AddRefPayload();
    return v;
}

bool Variant::AppendInPlace(std::u16string_view text) {
    if (type_ != VarType::String || u_.str->refCount != 1) return false;
    CheckStringLength(u_.str->text.size() + text.size());
    AccountScriptMemory(static_cast<int64_t>(text.size() * sizeof(char16_t)));
    u_.str->text.append(text);
    return true;
}

bool Variant::IsNumeric() const {
    switch (type_) {
        case VarType::Integer:
        case VarType::Long:
        case VarType::Byte:
        case VarType::Single:
        case VarType::Double:
        case VarType::Currency:
        case VarType::Date:
        case VarType::Boolean: return true;
        default: return false;
    }
}

Variant& Variant::ReferencedTarget() {
    if (type_ == VarType::Reference) return u_.ref->Target();
    return u_.arr->at(aux_);
}

void Variant::AddRefHeapPayload() {
    switch (type_) {
        case VarType::Object:
            if (u_.obj) u_.obj->AddRef();
            break;
        case VarType::Array: u_.arr->AddRef(); break;
        case VarType::ElementReference:
            u_.arr->AddRef();
            u_.arr->Lock();
            break;
        default: break;
    }
}

Variant& Variant::ReplacePayload(Variant&& other) noexcept {
    if (this == &other) return *this;
    // The old value dies only after the new one is in place: releasing it may run Class_Terminate,
    // which may look at this variable, and other may live inside the old value's array.
    Variant dying;
    dying.type_ = type_;
    dying.aux_ = aux_;
    dying.u_ = u_;
    type_ = other.type_;
    aux_ = other.aux_;
    u_ = other.u_;
    other.type_ = VarType::Empty;
    return *this;
}

void Variant::ReleasePayload() {
    switch (type_) {
        case VarType::String:
            if (--u_.str->refCount == 0) {
                AccountScriptMemory(-static_cast<int64_t>(u_.str->text.size() * sizeof(char16_t)));
                delete u_.str;
            }
            break;
        case VarType::Object:
            if (u_.obj) u_.obj->Release();
            break;
        case VarType::Array: u_.arr->Release(); break;
        case VarType::ElementReference:
            u_.arr->Unlock();
            u_.arr->Release();
            break;
        default: break;
    }
}

}  // namespace taviro::vbscript
