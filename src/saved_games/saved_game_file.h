// The ".sav" file of a saved game: where the game was, the integer variables, the removed hotspots,
// the inventory, the frames history, four descriptive fields and the variant variables, written
// field by field as the editor's "Write #" writes them. Files of older versions end after the
// inventory, the history or the descriptive fields; they stay valid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/game_error.h"
#include "vbscript/variant.h"

namespace taviro::saved_games {

// The text that stands in the file for a variant value that cannot be written (an object, an array).
inline constexpr char kIgnoredValue[] = "INTERNAL-IGNORE-VALUE";
// The version field every saved game carries.
inline constexpr char kVersionField[] = "Version 4.7.1";

struct SavedGame {
    // Field 1: the running dialogue's name, or the current frame's.
    std::string location;
    // Fields 2-3: name and value of each integer variable.
    std::vector<std::pair<std::string, int16_t>> variables;
    // Fields 4-5: frame name and hotspot number of each removed hotspot.
    std::vector<std::pair<std::string, int16_t>> removedHotspots;
    // Fields 6-7: the items held, first icon first.
    std::vector<std::string> items;
    // Fields 8-9: the frames history, oldest first; nullopt when the file ends before it.
    std::optional<std::vector<std::string>> history;
    // Fields 13-15: written for people who look at the file; the reader skips them.
    std::string projectName;
    std::string projectTitle;
    std::string date;  // "07/04/2024"
    // Fields 17-18: name and value of each variant variable; a value of nullopt is one that could
    // not be written. nullopt as a whole when the file ends before them.
    std::optional<std::vector<std::pair<std::string, std::optional<vbscript::Variant>>>> variants;
};

// The date field: month and day with two digits each, then the year ("07/04/2024").
std::string SaveDateText(int year, int month, int day);

// The whole file in UTF-8, every line ending in CR LF. Each count and each pair or name has a line
// of its own; field 1 and the descriptive fields each have one too.
std::string WriteSavedGame(const SavedGame& game);

// What a reading of a file gave: every field read up to the failure, if one happened.
struct SavedGameReading {
    SavedGame game;
    std::optional<GameError> failure;
};

// Reads a file decoded to UTF-8, with any grouping of fields into lines. Counts that promise more
// than the file holds end in an "Input past end of file" failure after what was there.
SavedGameReading ReadSavedGame(std::string text);

}  // namespace taviro::saved_games
