// Array storage, subscripts and resizing.
#include "vbscript/array.h"

#include <cmath>

#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
uint64_t ElementCount(std::span<const int32_t> upperBounds) {
    if (upperBounds.size() > static_cast<size_t>(Array::kMaxDimensions)) Throw(err::kSubscriptOutOfRange);
    if (upperBounds.empty()) return 0;
    uint64_t count = 1;
    for (int32_t bound : upperBounds) {
        if (bound < -1) Throw(err::kSubscriptOutOfRange);
        count *= static_cast<uint64_t>(bound) + 1;
        if (count > Array::kMaxElements) Throw(err::kOutOfMemory);
    }
    return count;
}
}  // namespace

Array::~Array() { AccountScriptMemory(-static_cast<int64_t>(accountedElements_ * sizeof(Variant))); }

void Array::AccountSize() {
    AccountScriptMemory((static_cast<int64_t>(elements_.size()) - static_cast<int64_t>(accountedElements_)) *
                        static_cast<int64_t>(sizeof(Variant)));
    accountedElements_ = elements_.size();
}

Ref<Array> Array::Create(std::span<const int32_t> upperBounds, bool fixed) {
    uint64_t count = ElementCount(upperBounds);
    AccountScriptMemory(static_cast<int64_t>(count * sizeof(Variant)));
    Ref<Array> array(new Array());
    array->accountedElements_ = count;
    array->upperBounds_.assign(upperBounds.begin(), upperBounds.end());
    array->elements_.resize(count);
    array->fixed_ = fixed;
    return array;
}

Ref<Array> Array::FromValues(std::vector<Variant> values) {
    Ref<Array> array(new Array());
    array->upperBounds_ = {static_cast<int32_t>(values.size()) - 1};
    array->elements_ = std::move(values);
    array->AccountSize();
    return array;
}

uint32_t Array::FlatIndexOfAny(std::span<const Variant> subscripts) const {
    if (subscripts.size() != upperBounds_.size()) Throw(err::kSubscriptOutOfRange);
    uint64_t flat = 0;
    uint64_t stride = 1;
    for (size_t i = 0; i < subscripts.size(); ++i) {
        int32_t index = ToLong(subscripts[i]);
        if (index < 0 || index > upperBounds_[i]) Throw(err::kSubscriptOutOfRange);
        flat += static_cast<uint64_t>(index) * stride;
        stride *= static_cast<uint64_t>(upperBounds_[i]) + 1;
    }
    return static_cast<uint32_t>(flat);
}

Ref<Array> Array::Clone(int depth) const {
    // Arrays nested deeper than this are refused rather than copied by deep native recursion.
    if (depth > 1000) Throw(err::kOutOfStackSpace);
    Ref<Array> copy(new Array());
    copy->upperBounds_ = upperBounds_;
    AccountScriptMemory(static_cast<int64_t>(elements_.size() * sizeof(Variant)));
    copy->accountedElements_ = elements_.size();
    copy->elements_.reserve(elements_.size());
    for (const Variant& element : elements_) {
        if (element.IsArray()) {
            copy->elements_.emplace_back(element.array()->Clone(depth + 1));
        } else {
            copy->elements_.push_back(element);
        }
    }
    return copy;
}

void Array::Redimension(std::span<const int32_t> upperBounds, bool preserve) {
    if (fixed_ || locks_ > 0) Throw(err::kArrayFixedOrLocked);
    uint64_t count = ElementCount(upperBounds);
    if (!preserve || upperBounds_.empty()) {
        std::vector<Variant> old;
        AccountScriptMemory(static_cast<int64_t>(count * sizeof(Variant)));
        old.swap(elements_);
        upperBounds_.assign(upperBounds.begin(), upperBounds.end());
        elements_.resize(count);
        AccountScriptMemory(-static_cast<int64_t>(accountedElements_ * sizeof(Variant)));
        accountedElements_ = count;
        return;
    }
    if (upperBounds.size() != upperBounds_.size()) Throw(err::kSubscriptOutOfRange);
    for (size_t i = 0; i + 1 < upperBounds.size(); ++i) {
        if (upperBounds[i] != upperBounds_[i]) Throw(err::kSubscriptOutOfRange);
    }
    // Only the last dimension changes, and it varies slowest, so the kept elements are a prefix.
    std::vector<Variant> removed;
    if (count < elements_.size()) {
        removed.assign(std::make_move_iterator(elements_.begin() + static_cast<ptrdiff_t>(count)),
                       std::make_move_iterator(elements_.end()));
    }
    if (count > accountedElements_)
        AccountScriptMemory(static_cast<int64_t>((count - accountedElements_) * sizeof(Variant)));
    elements_.resize(count);
    upperBounds_.assign(upperBounds.begin(), upperBounds.end());
    AccountSize();
}

void Array::Clear() {
    if (locks_ > 0) Throw(err::kArrayFixedOrLocked);
    std::vector<Variant> old;
    old.swap(elements_);
    upperBounds_.clear();
    AccountSize();
}

void Array::ResetElements() {
    std::vector<Variant> old(elements_.size());
    old.swap(elements_);
}

Variant CopyForStore(Variant value) {
    if (value.IsArray() && value.array()->refCount() > 1) return Variant(value.array()->Clone());
    return value;
}

}  // namespace taviro::vbscript
