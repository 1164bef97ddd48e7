// The Variant: the one value type of VBScript, with its subtypes and reference semantics.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vbscript/ref_counted.h"

namespace taviro::vbscript {

class Object;
class Array;

// Subtype numbers as VarType() reports them.
enum class VarType : uint16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Byte = 17,
    Array = 0x200C,  // an array of Variants
    // Internal kinds, never visible to scripts: a by-reference argument bound to a variable slot,
    // and one bound to an element of an array (which stays alive and locked while referenced).
    Reference = 0x4001,
    ElementReference = 0x4002,
    // An omitted argument, as in "Foo 1, , 3".
    Missing = 0x4003,
};

// Immutable shared UTF-16 text of a String Variant.
struct StringData {
    uint32_t refCount = 1;
    std::u16string text;
};

class Variant {
public:
    Variant() = default;
    Variant(bool value) : type_(VarType::Boolean) { u_.i64 = value ? -1 : 0; }
    Variant(int16_t value) : type_(VarType::Integer) { u_.i64 = value; }
    Variant(int32_t value) : type_(VarType::Long) { u_.i64 = value; }
    Variant(double value) : type_(VarType::Double) { u_.f64 = value; }
    Variant(float value) : type_(VarType::Single) { u_.f64 = value; }
    Variant(std::u16string text);
    Variant(std::u16string_view text) : Variant(std::u16string(text)) {}
    Variant(const char16_t* text) : Variant(std::u16string(text)) {}
    Variant(Ref<Object> object);  // a null object is Nothing
    Variant(Ref<Array> array);
    Variant(const char*) = delete;

    static Variant MakeNull() { return Variant(VarType::Null); }
    static Variant Nothing() { return Variant(VarType::Object); }
    static Variant Missing() { return Variant(VarType::Missing); }
    static Variant Byte(uint8_t value);
    static Variant Currency(int64_t tenThousandths);
    static Variant Date(double days);
    static Variant Error(int32_t code);
    // A one-character String; characters below 256 share text made once per thread, so a loop of
    // Mid(s, i, 1) allocates nothing.
    static Variant Character(char16_t c);
    // A by-reference argument to a variable slot that outlives the reference.
    static Variant ReferenceTo(Variant* slot) {
        if (slot->IsReference()) return *slot;
        Variant reference(VarType::Reference);
        reference.u_.ref = slot;
        return reference;
    }
    // A by-reference argument to an array element: keeps the array alive and locked.
    static Variant ElementOf(Array* array, uint32_t flatIndex);

    Variant(const Variant& other) : type_(other.type_), aux_(other.aux_), u_(other.u_) { AddRefPayload(); }
    Variant(Variant&& other) noexcept : type_(other.type_), aux_(other.aux_), u_(other.u_) {
        other.type_ = VarType::Empty;
    }
    Variant& operator=(const Variant& other) {
        if (!HasPayload()) {
            type_ = other.type_;
            aux_ = other.aux_;
            u_ = other.u_;
            AddRefPayload();
        } else if (this != &other) {
            Variant copy(other);
            Swap(copy);
        }
        return *this;
    }
    Variant& operator=(Variant&& other) noexcept {
        if (HasPayload()) return ReplacePayload(std::move(other));
        type_ = other.type_;
        aux_ = other.aux_;
        u_ = other.u_;
        if (&other != this) other.type_ = VarType::Empty;
        return *this;
    }
    ~Variant() {
        if (HasPayload()) ReleasePayload();
    }
    void Swap(Variant& other) noexcept {
        std::swap(type_, other.type_);
        std::swap(aux_, other.aux_);
        std::swap(u_, other.u_);
    }

    VarType type() const { return type_; }
    bool IsEmpty() const { return type_ == VarType::Empty; }
    bool IsNull() const { return type_ == VarType::Null; }
    bool IsObject() const { return type_ == VarType::Object; }
    bool IsArray() const { return type_ == VarType::Array; }
    bool IsString() const { return type_ == VarType::String; }
    bool IsReference() const { return type_ == VarType::Reference || type_ == VarType::ElementReference; }
    bool IsMissing() const { return type_ == VarType::Missing; }
    // Integer, Long, Byte, Single, Double, Currency, Date or Boolean.
    bool IsNumeric() const;

    // Unchecked payload accessors; the caller knows the subtype.
    int16_t integer() const { return static_cast<int16_t>(u_.i64); }
    int32_t longValue() const { return static_cast<int32_t>(u_.i64); }
    uint8_t byte() const { return static_cast<uint8_t>(u_.i64); }
    bool boolean() const { return u_.i64 != 0; }
    double doubleValue() const { return u_.f64; }  // Double, Single and Date
    int64_t currency() const { return u_.i64; }    // in ten-thousandths
    int32_t errorCode() const { return static_cast<int32_t>(u_.i64); }
    const std::u16string& string() const { return u_.str->text; }
    Object* object() const { return u_.obj; }  // null for Nothing
    Array* array() const { return u_.arr; }

    // Appends to a String held by no other Variant, in place; false when that is not possible.
    bool AppendInPlace(std::u16string_view text);

    // The variable a by-reference Variant stands for; the Variant itself otherwise.
    Variant& Target() {
        if (type_ != VarType::Reference && type_ != VarType::ElementReference) return *this;
        return ReferencedTarget();
    }
    const Variant& Target() const { return const_cast<Variant*>(this)->Target(); }

private:
    explicit Variant(VarType type) : type_(type) { u_.i64 = 0; }
    bool HasPayload() const {
        // Empty to Date, the usual subtypes of numbers, answer with one comparison.
        auto type = static_cast<uint16_t>(type_);
        if (type < static_cast<uint16_t>(VarType::String)) return false;
        return type <= static_cast<uint16_t>(VarType::Object) || type_ == VarType::Array ||
               type_ == VarType::ElementReference;
    }
    void AddRefPayload() {
        if (type_ == VarType::String)
            ++u_.str->refCount;
        else if (HasPayload())
            AddRefHeapPayload();
    }
    void AddRefHeapPayload();
    void ReleasePayload();
    // Move assignment over a value that holds a payload.
    Variant& ReplacePayload(Variant&& other) noexcept;
    Variant& ReferencedTarget();

    VarType type_ = VarType::Empty;
    uint32_t aux_ = 0;  // flat element index of an ElementReference
    union Payload {
        int64_t i64;
        double f64;
        StringData* str;
        Object* obj;
        Array* arr;
        Variant* ref;
    } u_{0};
};

static_assert(sizeof(Variant) == 16);

// Longer strings fail with "Out of memory" rather than exhausting the host.
constexpr size_t kMaxStringLength = size_t{1} << 25;
// Throws 7 "Out of memory" when a string of this many characters would be too long; called before
// building one, so that the allocation is never attempted.
void CheckStringLength(size_t length);

// Memory held by all strings and arrays of the thread's engines together is capped (1 GiB unless
// changed), so a runaway script fails with 7 "Out of memory" before the host runs short.
void SetScriptMemoryLimit(int64_t bytes);
// Adds (or with a negative count gives back) bytes to the account; throws 7 past the cap.
void AccountScriptMemory(int64_t bytes);

}  // namespace taviro::vbscript
