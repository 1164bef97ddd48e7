// Scripting.Dictionary's members.
#include "vbscript/dictionary.h"

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
    index_.clear();
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

std::u16string Dictionary::LookupKey(const Variant& input) const {
    const Variant& key = input.Target();
    switch (key.type()) {
        case VarType::Empty: return u"E";
        case VarType::Null: return u"N";
        case VarType::String: return u"S" + (compareMode_ == 0 ? key.string() : FoldCase(key.string()));
        case VarType::Object: {
            auto address = reinterpret_cast<uintptr_t>(key.object());
            return u"O" + std::u16string(reinterpret_cast<const char16_t*>(&address),
                                         sizeof address / sizeof(char16_t));
        }
        case VarType::Array: Throw(err::kTypeMismatch);
        default: {
            // Numbers, dates and Booleans are one kind: 1, 1& and 1# name the same key.
            double number = ToDouble(key);
            if (number == 0) number = 0;  // -0 and 0 are one key
            std::u16string text(u"D");
            text.append(reinterpret_cast<const char16_t*>(&number), sizeof number / sizeof(char16_t));
            return text;
        }
    }
}

Dictionary::Entry* Dictionary::Find(const Variant& key) {
    auto found = index_.find(LookupKey(key));
    return found == index_.end() ? nullptr : &entries_[found->second];
}

Dictionary::Entry& Dictionary::Add(const Variant& key, Variant item) {
    std::u16string lookup = LookupKey(key);
    if (index_.count(lookup)) Throw(err::kKeyAlreadyExists);
    Variant stored = key.Target();
    if (stored.IsObject() && !stored.object()) Throw(err::kObjectNotSet);
    index_.emplace(std::move(lookup), entries_.size());
    entries_.push_back({std::move(stored), CopyForStore(std::move(item)), false});
    return entries_.back();
}

void Dictionary::Remove(const Variant& key) {
    auto found = index_.find(LookupKey(key));
    if (found == index_.end()) Throw(err::kElementNotFound);
    Entry& entry = entries_[found->second];
    index_.erase(found);
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
    index_.clear();
    for (size_t i = 0; i < entries_.size(); ++i) index_.emplace(LookupKey(entries_[i].key), i);
}

void Dictionary::RemoveAll() {
    std::vector<Entry> dying;
    dying.swap(entries_);
    index_.clear();
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
            auto found = index_.find(LookupKey(Arg(arguments, 0)));
            if (found == index_.end()) Throw(err::kElementNotFound);
            std::u16string renamed = LookupKey(Last(arguments));
            if (renamed == found->first) return {};
            if (index_.count(renamed)) Throw(err::kKeyAlreadyExists);
            size_t position = found->second;
            index_.erase(found);
            index_.emplace(std::move(renamed), position);
            entries_[position].key = Last(arguments);
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
