// The player itself run on an automation text, over a game folder of the test's own, with its
// output (state dumps, screenshots, standard output and error) in a folder of its own.
#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "support/test_project.h"

namespace taviro::testing {

class PlayerRun {
public:
    explicit PlayerRun(std::string playerPath) : playerPath_(std::move(playerPath)) {}

    // The game played: empty until the test writes or copies one.
    const TemporaryFolder& game() const { return game_; }
    // Copies a fixture project into the game folder.
    void CopyGame(const std::filesystem::path& fixture) const;

    // Runs the player on the automation text, headless unless a prefix starts it under a display
    // server; the exit status.
    int Run(const std::string& automation, const std::string& prefix = "",
            const std::string& mode = "--headless") const;

    // A file of the output folder, its text, and its JSON.
    std::string Path(const std::string& name) const { return (output_.path() / name).string(); }
    std::string Read(const std::string& name) const;
    nlohmann::json Json(const std::string& name) const { return nlohmann::json::parse(Read(name)); }
    // The automation line that dumps the state into name + ".json".
    std::string StateCommand(const std::string& name) const { return "state " + Path(name + ".json") + "\n"; }

private:
    std::string playerPath_;
    TemporaryFolder game_;
    TemporaryFolder output_;
};

}  // namespace taviro::testing
