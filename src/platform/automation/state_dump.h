// The JSON state dump of automation: each subsystem contributes its own top-level key ("clock_ms",
// "windows", "messageboxes", "display", later "frame", "history", "variables", ...).
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace taviro::platform {

class StateDump {
public:
    using Contributor = std::function<nlohmann::ordered_json()>;

    // Adds or replaces the contributor of a key; keys appear in the order they were first added.
    void Contribute(const std::string& key, Contributor contributor);
    // A subsystem that goes away takes its key with it.
    void Withdraw(const std::string& key);

    // Asks every contributor now.
    nlohmann::ordered_json Collect() const;

private:
    std::vector<std::pair<std::string, Contributor>> contributors_;
};

}  // namespace taviro::platform
