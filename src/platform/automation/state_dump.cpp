// Collecting the state dump.
#include "platform/automation/state_dump.h"

#include <algorithm>

namespace taviro::platform {

void StateDump::Contribute(const std::string& key, Contributor contributor) {
    auto it =
        std::find_if(contributors_.begin(), contributors_.end(), [&](auto& c) { return c.first == key; });
    if (it != contributors_.end())
        it->second = std::move(contributor);
    else
        contributors_.emplace_back(key, std::move(contributor));
}

void StateDump::Withdraw(const std::string& key) {
    std::erase_if(contributors_, [&](auto& c) { return c.first == key; });
}

nlohmann::ordered_json StateDump::Collect() const {
    nlohmann::ordered_json state = nlohmann::ordered_json::object();
    for (const auto& [key, contributor] : contributors_) state[key] = contributor();
    return state;
}

}  // namespace taviro::platform
