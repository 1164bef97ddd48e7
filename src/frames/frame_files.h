// Helpers shared by the loaders of a frame's files and controls.
#pragma once

#include <string>
#include <string_view>

#include "platform/controls/form.h"
#include "project/project.h"

namespace taviro::frames {

// The path of a frame's data file: the merged-frames file (".mr2") when it exists, else the plain
// one (".fm2").
std::string MergedOrPlainFile(project::Project& project, const std::string& frameName,
                              std::string_view merged, std::string_view plain);

// Unloads every element of a control array loaded at run time (index 1 and up). Errors are ignored:
// whatever is left of the old frame goes.
void UnloadRunTimeElements(platform::Form& form, std::string_view array);

}  // namespace taviro::frames
