// The "Resume" file of the Config folder: where a game saved at a location (a dialogue's name, most
// often) resumes when it is loaded.
#pragma once

#include <optional>
#include <string>

namespace taviro::saved_games {

// The frame where a game saved at `location` resumes. The file's six leading fields are skipped;
// then among its pairs (location, frame) the last whose location equals this one, letter case
// ignored, and whose frame is not empty gives the frame. Without such a pair, or without the file
// (nullopt), the location itself. A file broken part way counts up to the break.
std::string GetResumeLocation(const std::string& location, const std::optional<std::string>& resumeText);

}  // namespace taviro::saved_games
