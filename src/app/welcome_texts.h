// What the welcome window says: the resolution offer built from the interface texts, and the
// questions of its links.
#pragma once

#include <cstdint>
#include <string>

#include "project/interface_texts.h"

namespace taviro::app {

// Interface text 7 without a resolution it already names, then the project's resolution:
// "Change display resolution to 640x480." becomes "Change display resolution to 1024x768." for
// resolution 2 (0 = 640 x 480, 1 = 800 x 600, 2 = 1024 x 768).
std::string ResolutionText(const std::string& text7, int16_t projectResolution);

// The question asked before the e-mail program opens, and before the browser opens.
std::string EmailQuestion(const project::InterfaceTexts& texts, const std::string& address);
std::string WebSiteQuestion(const project::InterfaceTexts& texts, const std::string& address);

}  // namespace taviro::app
