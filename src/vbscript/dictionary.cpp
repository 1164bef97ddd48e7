// Scripting.Dictionary's members.
#include "vbscript/dictionary.h"

#include <cmath>
#include <cstring>

#include "vbscript/array.h"
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
enum Member : DispatchId {
    kItem = 0,
    kAdd,
    kExists,
    kKey,
    kKeys,
    kItems,
    kRemove,
    kRemoveAll,
    kCount,
    kCompareMode,
};
constexpr std::u16string_view kNames[] = {u"item",  u"add",    u"exists",    u"key",   u"keys",
                                          u"items", u"remove", u"removeall", u"count", u"comparemode"};

class KeyWalker final : public Enumerator {
public:
    explicit KeyWalker(std::vector<Variant> keys) : keys_(std::move(keys)) {}
    bool Next(Variant& item) override {
        if (next_ >= keys_.size()) return false;
        item = keys_[next_++];
        return true;
    }

private:
    std::vector<Variant> keys_;
    size_t next_ = 0;
};

const Variant& Last(std::span<Variant> arguments) { return Arg(arguments, arguments.size() - 1); }
}  // namespace

Dictionary::~Dictionary() {
    // Items may hold objects whose Class_Terminate reads this dictionary: release them one by one
    // from a list the dictionary no longer owns.
    std::vector<Entry> dying;
    dying.swap(entries_);
    slots_.clear();
}

DispatchId Dictionary::MemberId(std::u16string_view name) {
    std::u16string folded = FoldCase(name);
    for (DispatchId id = 0; id < static_cast<DispatchId>(std::size(kNames)); ++id) {
        if (kNames[id] == folded) return id;
    }
    return kUnknownMember;
}

const void* Dictionary::DispatchKey() const {
    static const char key = 0;
    return &key;
}

namespace {
enum class KeyKind : uint8_t { Empty, Null, Text, Number, Object };

KeyKind KindOf(const Variant& key) {
    switch (key.type()) {
        case VarType::Empty: return KeyKind::Empty;
        case VarType::Null: return KeyKind::Null;
        case VarType::String: return KeyKind::Text;
        case VarType::Object: return KeyKind::Object;
        case VarType::Array: Throw(err::kTypeMismatch);
        default: return KeyKind::Number;  // 1, 1& and 1# name the same key
    }
}

uint64_t Mix(uint64_t x) {
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ull;
    return x ^ (x >> 33);
}

double NumberKey(const Variant& key) {
    double number = ToDouble(key);
    return number == 0 ? 0.0 : number;  // -0 and 0 are one key
}
}  // namespace

uint32_t Dictionary::KeyHash(const Variant& input) const {
    const Variant& key = input.Target();
    KeyKind kind = KindOf(key);
    uint64_t hash = static_cast<uint64_t>(kind) + 1;
    switch (kind) {
        case KeyKind::Empty:
        case KeyKind::Null: break;
        case KeyKind::Text:
            hash = 0xCBF29CE484222325ull;
            for (char16_t c : key.string()) {
                hash ^= compareMode_ == 0 ? c : FoldCharacter(c);
                hash *= 0x100000001B3ull;
            }
            break;
        case KeyKind::Number: {
            double number = NumberKey(key);
            // A whole number is its own hash, so that neighbouring keys sit in neighbouring places of
            // the index; the probe sequence scatters keys that collide.
            if (number == std::trunc(number) && std::fabs(number) < 9007199254740992.0)
                return static_cast<uint32_t>(static_cast<int64_t>(number));
            uint64_t bits;
            std::memcpy(&bits, &number, sizeof bits);
            hash ^= bits;
            break;
        }
        case KeyKind::Object: hash ^= reinterpret_cast<uintptr_t>(key.object()); break;
    }
    return static_cast<uint32_t>(Mix(hash));
}

bool Dictionary::SameKey(const Variant& stored, const Variant& input) const {
    const Variant& key = input.Target();
    KeyKind kind = KindOf(key);
    if (KindOf(stored) != kind) return false;
    switch (kind) {
        case KeyKind::Empty:
        case KeyKind::Null: return true;
        case KeyKind::Text: {
            const std::u16string& a = stored.string();
            const std::u16string& b = key.string();
            if (compareMode_ == 0) return a == b;
            if (a.size() != b.size()) return false;
            for (size_t i = 0; i < a.size(); ++i) {
                if (FoldCharacter(a[i]) != FoldCharacter(b[i])) return false;
            }
            return true;
        }
        case KeyKind::Number: return NumberKey(stored) == NumberKey(key);
        case KeyKind::Object: return stored.object() == key.object();
    }
    return false;
}

namespace {
// The places a hash visits: its own, then a sequence that takes in the hash's upper bits a few at a
// time and, once they are used up, visits every place of the power-of-two index.
struct ProbeSequence {
    ProbeSequence(uint32_t hash, size_t size) : mask(size - 1), place(hash & mask), perturbation(hash) {}
    void Advance() {
        perturbation >>= 5;
        place = (place * 5 + perturbation + 1) & mask;
    }
    size_t mask;
    size_t place;
    size_t perturbation;
};
}  // namespace

std::pair<size_t, bool> Dictionary::Probe(const Variant& key, uint32_t hash) const {
    size_t reusable = SIZE_MAX;
    for (ProbeSequence probe(hash, slots_.size());; probe.Advance()) {
        size_t i = probe.place;
        const Slot& slot = slots_[i];
        if (slot.entry == kFreeSlot) return {reusable != SIZE_MAX ? reusable : i, false};
        if (slot.entry == kRemovedSlot) {
            if (reusable == SIZE_MAX) reusable = i;
        } else if (slot.hash == hash && SameKey(entries_[slot.entry - 1].key, key)) {
            return {i, true};
        }
    }
}

void Dictionary::Reindex(size_t expectedEntries) {
    size_t capacity = 16;
    while (capacity < expectedEntries * 2) capacity *= 2;
    slots_.assign(capacity, Slot{});
    usedSlots_ = 0;
    for (size_t position = 0; position < entries_.size(); ++position) {
        const Entry& entry = entries_[position];
        if (entry.removed) continue;
        ProbeSequence probe(entry.hash, capacity);
        while (slots_[probe.place].entry != kFreeSlot) probe.Advance();
        slots_[probe.place] = {entry.hash, static_cast<uint32_t>(position + 1)};
        ++usedSlots_;
    }
}

Dictionary::Entry* Dictionary::Find(const Variant& key) {
    uint32_t hash = KeyHash(key);
    if (slots_.empty()) return nullptr;
    auto [place, found] = Probe(key, hash);
    return found ? &entries_[slots_[place].entry - 1] : nullptr;
}

Dictionary::Entry& Dictionary::Add(const Variant& key, Variant item) {
    uint32_t hash = KeyHash(key);
    Variant stored = key.Target();
    if (stored.IsObject() && !stored.object()) Throw(err::kObjectNotSet);
    if ((usedSlots_ + 1) * 2 > slots_.size()) Reindex(entries_.size() - removedCount_ + 1);
    auto [place, found] = Probe(stored, hash);
    if (found) Throw(err::kKeyAlreadyExists);
    if (slots_[place].entry == kFreeSlot) ++usedSlots_;
    entries_.push_back({std::move(stored), CopyForStore(std::move(item)), hash, false});
    slots_[place] = {hash, static_cast<uint32_t>(entries_.size())};
    return entries_.back();
}

void Dictionary::Remove(const Variant& key) {
    uint32_t hash = KeyHash(key);
    auto [place, found] = slots_.empty() ? std::pair<size_t, bool>{0, false} : Probe(key, hash);
    if (!found) Throw(err::kElementNotFound);
    Entry& entry = entries_[slots_[place].entry - 1];
    slots_[place].entry = kRemovedSlot;
    entry.removed = true;
    ++removedCount_;
    // The key and item die at the end of this call, after the dictionary is consistent again: their
    // Class_Terminate may use it.
    Variant dyingKey = std::move(entry.key);
    Variant dyingItem = std::move(entry.item);
    Compact();
}

void Dictionary::Compact() {
    if (removedCount_ < 16 || removedCount_ * 2 < entries_.size()) return;
    std::vector<Entry> kept;
    kept.reserve(entries_.size() - removedCount_);
    for (Entry& entry : entries_) {
        if (!entry.removed) kept.push_back(std::move(entry));
    }
    entries_.swap(kept);
    removedCount_ = 0;
    Reindex(entries_.size());
}

void Dictionary::RemoveAll() {
    std::vector<Entry> dying;
    dying.swap(entries_);
    slots_.clear();
    usedSlots_ = 0;
    removedCount_ = 0;
}

Variant Dictionary::Keys() const {
    std::vector<Variant> keys;
    keys.reserve(entries_.size() - removedCount_);
    for (const Entry& entry : entries_) {
        if (!entry.removed) keys.push_back(entry.key);
    }
    return Variant(Array::FromValues(std::move(keys)));
}

Variant Dictionary::Items() const {
    std::vector<Variant> items;
    items.reserve(entries_.size() - removedCount_);
    for (const Entry& entry : entries_) {
        if (!entry.removed) items.push_back(CopyForStore(entry.item));
    }
    return Variant(Array::FromValues(std::move(items)));
}

Ref<Enumerator> Dictionary::Enumerate() {
    std::vector<Variant> keys;
    for (const Entry& entry : entries_) {
        if (!entry.removed) keys.push_back(entry.key);
    }
    return MakeRef<KeyWalker>(std::move(keys));
}

Variant Dictionary::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    bool assign = kind != InvokeKind::Get;
    size_t given = assign ? arguments.size() - 1 : arguments.size();
    auto expect = [&](size_t count) {
        if (given != count) Throw(err::kWrongArgumentCount);
    };
    switch (id) {
        case kItem: {
            expect(1);
            Entry* entry = Find(Arg(arguments, 0));
            if (assign) {
                if (kind == InvokeKind::Set && !Last(arguments).IsObject()) Throw(err::kObjectRequired);
                if (entry) {
                    entry->item = CopyForStore(Last(arguments));
                } else {
                    Add(Arg(arguments, 0), Last(arguments));
                }
                return {};
            }
            // Reading a missing key adds it with an Empty item.
            if (!entry) entry = &Add(Arg(arguments, 0), Variant());
            return CopyForStore(entry->item);
        }
        case kAdd:
            if (assign) Throw(err::kNoSuchMember);
            expect(2);
            Add(Arg(arguments, 0), Arg(arguments, 1));
            return {};
        case kExists:
            if (assign) Throw(err::kNoSuchMember);
            expect(1);
            return Variant(Find(Arg(arguments, 0)) != nullptr);
        case kKey: {
            // Key(old) = new renames a key; it is write-only.
            if (!assign) Throw(err::kNoSuchMember);
            expect(1);
            uint32_t hash = KeyHash(Arg(arguments, 0));
            auto [place, found] =
                slots_.empty() ? std::pair<size_t, bool>{0, false} : Probe(Arg(arguments, 0), hash);
            if (!found) Throw(err::kElementNotFound);
            size_t position = slots_[place].entry - 1;
            const Variant& renamed = Last(arguments);
            uint32_t renamedHash = KeyHash(renamed);
            if (SameKey(entries_[position].key, renamed)) return {};
            if (Probe(renamed, renamedHash).second) Throw(err::kKeyAlreadyExists);
            slots_[place].entry = kRemovedSlot;
            entries_[position].hash = renamedHash;
            size_t free = Probe(renamed, renamedHash).first;
            if (slots_[free].entry == kFreeSlot) ++usedSlots_;
            slots_[free] = {renamedHash, static_cast<uint32_t>(position + 1)};
            entries_[position].key = renamed;
            if (usedSlots_ * 2 > slots_.size()) Reindex(entries_.size() - removedCount_);
            return {};
        }
        case kKeys:
            if (assign) Throw(err::kNoSuchMember);
            expect(0);
            return Keys();
        case kItems:
            if (assign) Throw(err::kNoSuchMember);
            expect(0);
            return Items();
        case kRemove:
            if (assign) Throw(err::kNoSuchMember);
            expect(1);
            Remove(Arg(arguments, 0));
            return {};
        case kRemoveAll:
            if (assign) Throw(err::kNoSuchMember);
            expect(0);
            RemoveAll();
            return {};
        case kCount:
            if (assign) Throw(err::kNoSuchMember);
            expect(0);
            return Variant(static_cast<int32_t>(entries_.size() - removedCount_));
        case kCompareMode:
            if (assign) {
                expect(0);
                int32_t mode = ToLong(Last(arguments));
                // The mode may change only while the dictionary is empty.
                if (mode < 0 || entries_.size() != removedCount_) Throw(err::kInvalidProcedureCall);
                compareMode_ = mode;
                return {};
            }
            expect(0);
            return Variant(compareMode_);
        default: Throw(err::kNoSuchMember);
    }
}

}  // namespace taviro::vbscript
