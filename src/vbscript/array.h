// VBScript arrays: fixed or dynamic, up to 60 dimensions, of Variants, every lower bound 0.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vbscript/ref_counted.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {

class Array : public RefCounted {
public:
    static constexpr int kMaxDimensions = 60;
    // Arrays larger than this many elements fail with "Out of memory" rather than exhausting the host.
    static constexpr uint64_t kMaxElements = 1u << 25;

    // A new array with the given upper bounds (-1 gives an empty dimension). Throws 7 or 9.
    static Ref<Array> Create(std::span<const int32_t> upperBounds, bool fixed);
    // A new one-dimensional dynamic array holding the values, as Array() and Split() return.
    static Ref<Array> FromValues(std::vector<Variant> values);

    int dimensions() const { return static_cast<int>(upperBounds_.size()); }
    int32_t upperBound(int dimension) const { return upperBounds_[dimension]; }
    size_t size() const { return elements_.size(); }
    bool fixed() const { return fixed_; }
    bool locked() const { return locks_ > 0; }
    void Lock() { ++locks_; }
    void Unlock() { --locks_; }

    Variant& at(size_t flatIndex) { return elements_[flatIndex]; }
    std::vector<Variant>& elements() { return elements_; }

    // The flat index of the element the subscripts name; the first subscript varies fastest.
    // Throws 9 when the count or a value is out of range, 13 when a subscript is not a number.
    uint32_t FlatIndex(std::span<const Variant> subscripts) const {
        // The common case first: one Integer or Long subscript of a one-dimensional array.
        if (subscripts.size() == 1 && upperBounds_.size() == 1) {
            const Variant& subscript = subscripts[0].Target();
            int32_t index = subscript.type() == VarType::Integer ? subscript.integer()
                            : subscript.type() == VarType::Long  ? subscript.longValue()
                                                                 : -1;
            if (index >= 0 && index <= upperBounds_[0]) return static_cast<uint32_t>(index);
        }
        return FlatIndexOfAny(subscripts);
    }
    // A copy whose nested arrays are copied too: assigning an array copies it in VBScript.
    Ref<Array> Clone(int depth = 0) const;
    // ReDim: new bounds; with preserve only the last dimension may change and values are kept.
    // Throws 10 for a fixed or locked array, 9 when preserve changes another dimension.
    void Redimension(std::span<const int32_t> upperBounds, bool preserve);
    // Erase of a dynamic array: releases every element and the dimensions. Throws 10 when locked.
    void Clear();
    // Erase of a fixed array: every element becomes Empty.
    void ResetElements();

    ~Array() override;

private:
    Array() = default;
    uint32_t FlatIndexOfAny(std::span<const Variant> subscripts) const;
    // Keeps the memory account in step with the element count; call after every size change.
    void AccountSize();
    size_t accountedElements_ = 0;

    std::vector<int32_t> upperBounds_;
    std::vector<Variant> elements_;
    bool fixed_ = false;
    int32_t locks_ = 0;
};

// A Variant that holds its own copy when it holds an array, as a stored value must.
Variant CopyForStore(Variant value);

}  // namespace taviro::vbscript
