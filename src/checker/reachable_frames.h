// The frames a frame leads to and the pictures they show, read from the frame's records and scripts
// without running anything: what the player decodes ahead while the frame is on screen.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/control_kinds.h"
#include "project/project.h"

namespace taviro::checker {

// The frames named by the frame's hotspot actions (their "Go to another frame" and the literal
// GoToFrame names of their scripts), its frame timer and the literal GoToFrame names of the frame
// script and of the project's frame script; each once, in that order, without "[quit]" and the like.
// Damaged records give what was read before the damage. Shows no report.
std::vector<std::string> ReachableFrames(project::Project& project, const std::string& frame);

// The game paths of the pictures of the frames reachable from a frame: every background picture
// first, then the hotspot pictures, each once.
std::vector<std::string> ReachablePictures(project::Project& project, const std::string& frame);

// What the frames reachable from a frame show, as the player prepares it ahead: the pictures, each
// with the names it may be stored under as the player tries them (the plain name, then the scrambled
// ones), and the texts in the fonts their labels show them in, each once.
struct ShownAhead {
    std::vector<std::vector<std::string>> pictureFiles;
    std::vector<platform::ShownText> texts;
};
ShownAhead ReachableContent(project::Project& project, const std::string& frame);

}  // namespace taviro::checker
