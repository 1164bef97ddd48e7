// Frame file and control helpers.
#include "frames/frame_files.h"

#include "platform/game_error.h"

namespace taviro::frames {

std::string MergedOrPlainFile(project::Project& project, const std::string& frameName,
                              std::string_view merged, std::string_view plain) {
    std::string base = project.paths.FramesDataPath + frameName;
    std::string mergedPath = base + std::string(merged);
    return project.files().IsFile(mergedPath) ? mergedPath : base + std::string(plain);
}

void UnloadRunTimeElements(platform::Form& form, std::string_view array) {
    for (platform::Control* element : form.Elements(array)) {
        int index = element->index().value_or(0);
        if (index < 1) continue;
        try {
            form.Unload(array, index);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace taviro::frames
