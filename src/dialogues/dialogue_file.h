// The ".dlg" file of a frame: the lines (questions) of its dialogue.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "project/field_reader.h"

namespace taviro::dialogues {

struct DialogueLine {
    std::string question;                // shown in the panel
    std::string answer;                  // shown in the message strip when the line is chosen; may be empty
    std::array<std::string, 3> scripts;  // with "|" turned into double quotes
    int16_t id = 0;                      // what the show and hide lists name
    bool visibleAtStart = false;
    bool endsDialogue = false;
    std::array<int16_t, 3> hotspots{};  // 0 or out of range: none
    std::vector<int16_t> showIds;
    std::vector<int16_t> hideIds;
    double answerSeconds = 0;  // how long a timed answer stays
    bool answerTimed = false;  // the answer stays answerSeconds, instead of until its strip hides

    // The state of the running dialogue.
    bool visible = false;
    bool chosen = false;
};

// Reads the file's lines; throws GameError when it is damaged.
std::vector<DialogueLine> ReadDialogueFile(project::FieldReader& reader);

}  // namespace taviro::dialogues
