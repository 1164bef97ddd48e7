// The keys of the additional settings file "More" (a profile file, section "General").
#pragma once

#include <string>

namespace taviro::project {

struct MoreSettings {
    int scriptTimeOutSeconds = 0;  // 0: the script host keeps its own time-out
    bool allowCreateObject = false;
    std::string procEncr;  // how "Procedures" is stored; "1" = scrambled lines
};

}  // namespace taviro::project
