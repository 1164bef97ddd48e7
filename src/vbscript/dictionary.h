// Scripting.Dictionary: keys and items in the order they were added, keys compared by value.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
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
        uint32_t hash = 0;
        bool removed = false;
    };
    // One place of the index: open addressing with linear probing over the keys' hashes.
    struct Slot {
        uint32_t hash = 0;
        uint32_t entry = 0;  // the entry's position + 1; kFreeSlot or kRemovedSlot otherwise
    };
    static constexpr uint32_t kFreeSlot = 0;
    static constexpr uint32_t kRemovedSlot = UINT32_MAX;

    // Keys are compared by value: numbers of every subtype by their value ("1" the string differs
    // from 1 the number), strings by their text (ignoring case under text comparison), objects by
    // identity. Throws 13 for an array.
    uint32_t KeyHash(const Variant& key) const;
    bool SameKey(const Variant& stored, const Variant& key) const;
    // The index place holding key, or (found false) the place where it would go.
    std::pair<size_t, bool> Probe(const Variant& key, uint32_t hash) const;
    // Rebuilds the index for the live entries, with room to add more before it grows again.
    void Reindex(size_t expectedEntries);
    Entry* Find(const Variant& key);
    Entry& Add(const Variant& key, Variant item);
    void Remove(const Variant& key);
    void RemoveAll();
    Variant Keys() const;
    Variant Items() const;
    // Drops removed entries once they make up half the list, so removal stays cheap.
    void Compact();

    std::vector<Entry> entries_;
    std::vector<Slot> slots_;  // a power of two in size, at most half used
    size_t usedSlots_ = 0;     // holding an entry or marked removed
    size_t removedCount_ = 0;
    int32_t compareMode_ = 0;  // vbBinaryCompare
};

}  // namespace taviro::vbscript
