// Look-ups in compiled code.
#include "vbscript/bytecode.h"

#include <algorithm>

namespace taviro::vbscript {

const StatementStart* Procedure::StatementAt(uint32_t offset) const {
    auto after = std::upper_bound(statements.begin(), statements.end(), offset,
                                  [](uint32_t value, const StatementStart& s) { return value < s.offset; });
    if (after == statements.begin()) return nullptr;
    return &*(after - 1);
}

uint32_t Procedure::NextStatementAfter(uint32_t offset) const {
    auto after = std::upper_bound(statements.begin(), statements.end(), offset,
                                  [](uint32_t value, const StatementStart& s) { return value < s.offset; });
    return after == statements.end() ? static_cast<uint32_t>(code.size()) : after->offset;
}

const ClassMember* ClassDef::Find(std::u16string_view folded) const {
    auto found = memberIndex.find(std::u16string(folded));
    return found == memberIndex.end() ? nullptr : &members[static_cast<size_t>(found->second)];
}

}  // namespace taviro::vbscript
