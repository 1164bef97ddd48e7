// Reading the "Resume" pairs.
#include "saved_games/resume_file.h"

#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "project/field_reader.h"

namespace taviro::saved_games {

std::string GetResumeLocation(const std::string& location, const std::optional<std::string>& resumeText) {
    std::string result = location;
    if (location.empty() || !resumeText) return result;
    project::FieldReader reader(*resumeText);
    const std::string wanted = platform::FoldCase(location);
    try {
        reader.Skip(6);
        while (!reader.AtEnd()) {
            std::string saved = reader.ReadString();
            std::string frame = reader.ReadString();
            if (!frame.empty() && platform::FoldCase(saved) == wanted) result = frame;
        }
    } catch (const std::exception&) {
        // The pairs read before the break count; the rest of a broken file is no pair.
    }
    return result;
}

}  // namespace taviro::saved_games
