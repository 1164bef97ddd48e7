// Compiled modules kept by their source text, so adding a text seen before costs a look-up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vbscript/bytecode.h"

namespace taviro::vbscript {

class CodeCache {
public:
    // Texts beyond this many are not kept: the cache starts over.
    static constexpr size_t kMaxEntries = 1024;

    // The module compiled from exactly these bytes, or null.
    std::shared_ptr<const Module> Find(std::string_view bytes) const;
    void Insert(std::string_view bytes, std::shared_ptr<const Module> module);
    size_t size() const { return count_; }

private:
    struct Entry {
        std::string bytes;
        std::shared_ptr<const Module> module;
    };
    std::unordered_map<uint64_t, std::vector<Entry>> entries_;
    size_t count_ = 0;
};

// A hash of a text that reads a fixed number of sampled positions, so long texts hash in constant time.
// Equal texts hash equally; the cache compares the full bytes after the hash matches.
uint64_t SampledHash(std::string_view bytes);

}  // namespace taviro::vbscript
