// Scripting.Dictionary: keys and items in the order they were added, keys compared by value.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/object.h"

namespace taviro::vbscript {

class Dictionary final : public Object {
public:
    std::u16string TypeName() const override { return u"Dictionary"; }
    DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;
    // For Each walks the keys as they were when the loop began.
    Ref<Enumerator> Enumerate() override;

    ~Dictionary() override;

private:
    struct Entry {
        Variant key;
        Variant item;
        bool removed = false;
    };
    // The text that identifies a key: numbers by value ("1" the string differs from 1 the number),
    // strings by their text (folded under text comparison), objects by identity.
    std::u16string LookupKey(const Variant& key) const;
    Entry* Find(const Variant& key);
    Entry& Add(const Variant& key, Variant item);
    void Remove(const Variant& key);
    void RemoveAll();
    Variant Keys() const;
    Variant Items() const;
    // Drops removed entries once they make up half the list, so removal stays cheap.
    void Compact();

    std::vector<Entry> entries_;
    std::unordered_map<std::u16string, size_t> index_;
    size_t removedCount_ = 0;
    int32_t compareMode_ = 0;  // vbBinaryCompare
};

}  // namespace taviro::vbscript
