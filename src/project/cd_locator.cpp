// Finding the media of a game played from CD, and asking for the CD.
#include "project/cd_locator.h"

#include "platform/game_error.h"
#include "project/project.h"
#include "project/scrambled_names.h"

namespace taviro::project {
namespace {

// The part of a path after its last separator.
std::string FileTitle(std::string_view path) {
    size_t at = path.find_last_of("/\\");
    return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

}  // namespace

bool CdLocator::IsCdProject(Project& project) const {
    return project.files().IsFile(project.paths.ProjectPath + "RunFromCD.dat") &&
           project.files().IsFile(project.paths.ConfigPath + "CDContents");
}

void CdLocator::LoadCdIndex(Project& project) {
    index_ = {};
    if (!IsCdProject(project)) return;
    try {
        std::optional<std::string> text = project.ReadTextFile(project.paths.ConfigPath + "CDContents");
        if (!text) throw errors::FileNotFound();
        index_ = ReadCdIndex(std::move(*text));
    } catch (const std::exception&) {
        index_ = {};
        project.reports().ShowErrorReport(" Error loading CD index.");
    }
}

char CdLocator::DriveLetter(Project& project) const {
    std::string letter = project.GetSetting("DriveLetter").value_or("");
    if (letter.empty()) {
        letter = drives_.DefaultCdDrive();
        project.SaveSetting("DriveLetter", letter);
    }
    return letter.front();
}

std::string CdLocator::CdPath(Project& project, char letter, const char* folder,
                              const std::string& title) const {
    const Drive* drive = drives_.Find(letter);
    if (!drive) return "";
    std::string root = drive->folder;
    if (!root.empty() && root.back() != '/') root += '/';
    return root + project.information.ProjectTitle + "/" + folder + "/" + title;
}

std::optional<std::string> CdLocator::Existing(Project& project, const std::string& path) const {
    if (path.empty()) return std::nullopt;
    if (project.files().IsFile(path)) return path;
    // The scrambled form of the title alone: the name's first letters count, never the folders'.
    const size_t at = path.rfind('/');
    std::string scrambled = path.substr(0, at) + ScrambledFileName(path.substr(at), false, false);
    if (project.files().IsFile(scrambled)) return scrambled;
    return std::nullopt;
}

bool CdLocator::AskForCd(Project& project, int cdNumber) {
    if (!windows) return false;
    platform::RunFromCdWindow window;
    window.caption = project.information.ProjectTitle;
    window.message = project.UITexts[47] + " " + std::to_string(cdNumber) + " " + project.UITexts[48];
    window.driveLabel = project.UITexts[37];
    window.cancelCaption = project.UITexts[11];
    // The stored drive is selected, else a CD-ROM drive.
    const std::string stored = project.GetSetting("DriveLetter").value_or("");
    for (const Drive& drive : drives_.drives()) {
        window.drives.push_back(DriveLetters::ListEntry(drive));
        bool isStored = !stored.empty() && drives_.Find(stored.front()) == &drive;
        if (isStored || (window.selected < 0 && drive.type == DriveType::CdRom))
            window.selected = static_cast<int>(window.drives.size()) - 1;
    }
    bool cancelled = true;
    window.onButton = [&](bool ok) {
        if (!ok) {
            flags_.GameStopping = true;
            window.open = false;
            return;
        }
        // OK: the chosen drive must be readable; the window stays until it is.
        const Drive* drive =
            window.selected >= 0 ? drives_.Find(window.drives[window.selected].front()) : nullptr;
        if (!drive || !project.files().Exists(drive->folder)) {
            project.reports().dialogs().MessageBox({project.information.ProjectTitle, project.UITexts[38],
                                                    platform::MessageIcon::Exclamation,
                                                    platform::MessageButtons::Ok});
            return;
        }
        project.SaveSetting("DriveLetter", std::string(1, drive->letter));
        cancelled = false;
        window.open = false;
    };
    windows->ShowModal(window);
    return !cancelled;
}

std::optional<std::string> CdLocator::LocateOnCd(Project& project, std::string_view path) {
    // 1. Only a CD project has files on a CD.
    if (!IsCdProject(project)) return std::nullopt;
    // 2-3. The frames folder of the CD, under the title's plain or scrambled name.
    const std::string title = FileTitle(path);
    char letter = DriveLetter(project);
    if (auto found = Existing(project, CdPath(project, letter, "Frames", title))) return found;
    // 4. The index says where, and on which CD.
    const CdIndexRecord* record = index_.Find(title);
    if (!record || (record->folderCode != 1 && record->folderCode != 2)) return std::nullopt;
    const char* folder = record->folderCode == 1 ? "Frames" : "Areas";
    // 5. Asks for the CD until the file is there or the player cancels.
    std::string onCd = CdPath(project, letter, folder, title);
    std::optional<std::string> found = Existing(project, onCd);
    bool waited = false;
    while (!found && !flags_.GameStopping) {
        if (stopPlaying) stopPlaying();
        waited = true;
        if (!AskForCd(project, record->cdNumber)) {
            flags_.GameStopping = true;
            if (stopGame) stopGame();
            break;
        }
        letter = DriveLetter(project);
        onCd = CdPath(project, letter, folder, title);
        found = Existing(project, onCd);
    }
    // 6. Found after a wait: the timed events go on.
    if (found) {
        if (waited && restartTimedEvents) restartTimedEvents();
        return found;
    }
    // 7. Still missing.
    project.reports().dialogs().MessageBox(
        {project.information.ProjectTitle,
         project.UITexts[45] + "\r\n" + onCd + "\r\n\r\n" + project.UITexts[46],
         platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
    return onCd;
}

}  // namespace taviro::project
