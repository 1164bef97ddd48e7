// Where a project file may lie on the game's CD when it is not in the project folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/drive_letters.h"

namespace taviro::project {

class Project;

class CdFileLocation {
public:
    virtual ~CdFileLocation() = default;

    // Loads the CD index of the project; called once at start-up.
    virtual void LoadCdIndex(Project& project) = 0;

    // The path of the file on the CD, or nullopt when the game is not played from a CD or does not
    // keep the file there.
    virtual std::optional<std::string> LocateOnCd(Project& project, std::string_view path) = 0;

    // The drive letters the player offers besides the game's own folder, in letter order.
    virtual std::vector<Drive> Drives() const { return {}; }
};

// A game that is played from its folder: no CD index, nothing on a CD.
class NoCd final : public CdFileLocation {
public:
    void LoadCdIndex(Project&) override {}
    std::optional<std::string> LocateOnCd(Project&, std::string_view) override { return std::nullopt; }
};

}  // namespace taviro::project
