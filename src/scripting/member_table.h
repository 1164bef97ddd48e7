// The dispatch number of a member named in a script: its place in the object's table of member
// names, counted from 1, letter case ignored.
#pragma once

#include <span>
#include <string_view>

#include "vbscript/object.h"

namespace taviro::scripting {

inline vbscript::DispatchId MemberIdIn(std::span<const std::u16string_view> members,
                                       std::u16string_view name) {
    const std::u16string folded = vbscript::FoldCase(name);
    for (size_t i = 0; i < members.size(); ++i) {
        if (vbscript::FoldCase(members[i]) == folded) return static_cast<vbscript::DispatchId>(i + 1);
    }
    return vbscript::kUnknownMember;
}

}  // namespace taviro::scripting
