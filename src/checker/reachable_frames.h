// The frames a frame leads to and the pictures they show, read from the frame's records and scripts
// without running anything: what the player decodes ahead while the frame is on screen.
#pragma once

#include <string>
#include <vector>

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

// The same pictures, each with the names it may be stored under, as the player tries them (the
// plain name, then the scrambled ones): what the worker that decodes ahead looks for.
std::vector<std::vector<std::string>> ReachablePictureFiles(project::Project& project,
                                                            const std::string& frame);

}  // namespace taviro::checker
