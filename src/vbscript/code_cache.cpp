// The cache of compiled modules.
#include "vbscript/code_cache.h"

#include <cstring>

namespace taviro::vbscript {

namespace {
uint64_t Mix(uint64_t hash, uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    return hash * 0xFF51AFD7ED558CCDull;
}

uint64_t Word(std::string_view bytes, size_t at) {
    uint64_t value = 0;
    std::memcpy(&value, bytes.data() + at, std::min<size_t>(8, bytes.size() - at));
    return value;
}
}  // namespace

uint64_t SampledHash(std::string_view bytes) {
    // The length, the first and last kilobyte, and 256 words spread over the rest.
    uint64_t hash = Mix(0x84222325CBF29CE4ull, bytes.size());
    if (bytes.size() <= 4096) {
        for (size_t at = 0; at < bytes.size(); at += 8) hash = Mix(hash, Word(bytes, at));
        return hash;
    }
    for (size_t at = 0; at < 1024; at += 8) hash = Mix(hash, Word(bytes, at));
    for (size_t at = bytes.size() - 1024; at < bytes.size(); at += 8) hash = Mix(hash, Word(bytes, at));
    size_t stride = (bytes.size() - 8) / 256;
    for (size_t i = 0; i < 256; ++i) hash = Mix(hash, Word(bytes, i * stride));
    return hash;
}

std::shared_ptr<const Module> CodeCache::Find(std::string_view bytes) const {
    auto bucket = entries_.find(SampledHash(bytes));
    if (bucket == entries_.end()) return nullptr;
    for (const Entry& entry : bucket->second) {
        if (entry.bytes.size() == bytes.size() &&
            std::memcmp(entry.bytes.data(), bytes.data(), bytes.size()) == 0)
            return entry.module;
    }
    return nullptr;
}

void CodeCache::Insert(std::string_view bytes, std::shared_ptr<const Module> module) {
    if (count_ >= kMaxEntries) {
        entries_.clear();
        count_ = 0;
    }
    entries_[SampledHash(bytes)].push_back({std::string(bytes), std::move(module)});
    ++count_;
}

}  // namespace taviro::vbscript
