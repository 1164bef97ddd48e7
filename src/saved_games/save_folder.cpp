// The save folder, its listing and the rules for names.
#include "saved_games/save_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace taviro::saved_games {
namespace fs = std::filesystem;

std::string ForbiddenCharactersText() { return "\" \\ / : * ? < > | ,"; }

SaveFolder::SaveFolder(std::string documents, std::string_view title, std::string projectPath)
    : projectPath_(std::move(projectPath)), documents_(std::move(documents)) {
    if (documents_.empty()) {
        path_ = projectPath_;
        return;
    }
    // A separator in the title would make folders of its parts.
    std::string folderName(title);
    std::replace(folderName.begin(), folderName.end(), '/', '_');
    std::replace(folderName.begin(), folderName.end(), '\\', '_');
    if (documents_.back() != '/') documents_ += '/';
    path_ = documents_ + "Savegames/" + folderName + "/";
}

void SaveFolder::Create() const {
    if (documents_.empty()) return;
    // Documents folder, its Savegames folder, the game's folder: each in turn.
    std::error_code ignored;
    fs::create_directory(documents_, ignored);
    fs::create_directory(documents_ + "Savegames", ignored);
    fs::create_directory(path_, ignored);
}

std::string SaveFolder::ReadingPath(platform::FileSystem& files) const {
    std::error_code error;
    if (fs::is_directory(files.Resolve(path_), error)) return path_;
    return projectPath_;
}

std::vector<std::string> ListSavedGames(const std::string& folder, platform::FileSystem& files) {
    files.Forget();
    std::error_code error;
    fs::path real = files.Resolve(folder);
    for (const std::string& stale :
         files.List(folder, std::string(kTemporaryPrefix) + "*" + std::string(kTemporarySuffix)))
        fs::remove(real / stale, error);
    files.Forget();
    struct Entry {
        std::string name;
        fs::file_time_type time;
    };
    std::vector<Entry> entries;
    for (const std::string& file : files.List(folder, "*.sav")) {
        if (file.size() <= 4) continue;
        fs::file_time_type time = fs::last_write_time(real / file, error);
        if (error) continue;
        entries.push_back({file.substr(0, file.size() - 4), time});
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.time > b.time; });
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (Entry& entry : entries) names.push_back(std::move(entry.name));
    return names;
}

bool FitsCodePage(const std::string& name, const platform::CodePage& codePage) {
    return codePage.Decode(codePage.Encode(name)) == name;
}

}  // namespace taviro::saved_games
