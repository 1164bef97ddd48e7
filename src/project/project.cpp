// Start-up of the project and the lookup of its files.
#include "project/project.h"

#include <charconv>

#include "platform/game_error.h"
#include "project/field_reader.h"
#include "project/scrambled_names.h"

namespace taviro::project {
namespace {

// The error the interface texts raise for an index beyond the table ("Subscript out of range").
constexpr int kTextBeyondTheTable = 9;

}  // namespace

Project::Project(platform::FileSystem& files, const platform::CodePage& codePage, platform::Dialogs& dialogs,
                 CdFileLocation& cd, const GameFlags& flags, const std::filesystem::path& configFolder)
    : files_(files),
      codePage_(codePage),
      cd_(cd),
      profiles_(files, codePage),
      settings_(profiles_, configFolder),
      reports_(dialogs, UITexts, flags) {}

bool Project::InitializeProject(const std::string& folder) {
    // The start-up display mode is saved by the display service when the window system starts.
    // 2. The project folder and every path derived from it.
    paths.SetProjectFolder(folder);

    // 3. The components of the project, in the order of the listing.
    componentFiles = files_.List(paths.CPDataPath, "*.ocx");

    // 4. The interface texts; a project without a "Texts" file uses the program wording.
    if (!files_.IsFile(paths.ConfigPath + "Texts")) UITexts.SetDefaultTexts(false);
    LoadInterfaceTexts();

    // 5. Without its information file there is no project to play.
    std::string general = paths.ConfigPath + "General";
    if (!files_.IsFile(general)) {
        platform::MessageBoxRequest request;
        request.title = UITexts[29];
        request.text = UITexts[33] + " " + general;
        request.icon = platform::MessageIcon::Exclamation;
        reports_.dialogs().MessageBox(request);
        return false;
    }

    // 6. The project information, then the CD index.
    LoadProjectInformation();
    cd_.LoadCdIndex(*this);
    return true;
}

void Project::LoadInterfaceTexts() {
    std::optional<std::string> text = ReadTextFile(paths.ConfigPath + "Texts");
    if (!text) {
        UITexts.SetDefaultTexts(false);
        return;
    }
    try {
        FieldReader reader(std::move(*text));
        UITexts.ReadInterfaceTexts(reader);
    } catch (const GameError& error) {
        if (error.number() != kTextBeyondTheTable) return reports_.ShowErrorReport(" Unable to load text.");
        // A list longer than the table has already replaced the title the report would take.
        platform::MessageBoxRequest request{"Error",
                                            UITexts[30] + "\n\n" + UITexts[31] + " Unable to load text.",
                                            platform::MessageIcon::Critical, platform::MessageButtons::Ok};
        reports_.dialogs().MessageBox(request);
    } catch (const std::exception&) {
        reports_.ShowErrorReport(" Unable to load text.");
    }
}

void Project::LoadProjectInformation() {
    SetProjectInformationDefaults(information);
    try {
        std::optional<std::string> text = ReadTextFile(paths.ConfigPath + "General");
        if (!text) throw errors::FileNotFound();
        FieldReader reader(std::move(*text));
        ReadProjectInformation(reader, information);
    } catch (const std::exception&) {
        reports_.ShowErrorReport(" Error loading project information.");
    }
}

std::string Project::LocateProjectFile(std::string_view path) {
    // 1-2. The file as named, then the scrambled forms of its name.
    const std::vector<std::string> stored = StoredFileNames(path);
    for (const std::string& name : stored)
        if (files_.IsFile(name)) return name;
    const std::string& lastTried = stored.back();

    // 3. The game's CD.
    if (!path.empty()) {
        std::optional<std::string> onCd = cd_.LocateOnCd(*this, path);
        if (onCd && files_.IsFile(*onCd)) return *onCd;
    }

    // 4. Nowhere.
    reports_.ShowMissingFile(path);
    return lastTried;
}

std::optional<std::string> Project::ReadTextFile(std::string_view path) {
    std::optional<std::string> bytes = files_.ReadFile(path, kLargestTextFileBytes);
    if (!bytes) return std::nullopt;
    return codePage_.Decode(*bytes);
}

std::string Project::ReadMoreSetting(std::string_view key) {
    return profiles_.ReadINIString(paths.ConfigPath + "More", "General", key);
}

MoreSettings Project::ReadMoreSettings() {
    MoreSettings more;
    std::string timeOut = ReadMoreSetting("ScriptTimeOut");
    std::from_chars(timeOut.data(), timeOut.data() + timeOut.size(), more.scriptTimeOutSeconds);
    more.allowCreateObject = ReadMoreSetting("AllowCreateObject") == "1";
    more.procEncr = ReadMoreSetting("ProcEncr");
    return more;
}

std::optional<std::string> Project::GetSetting(std::string_view key) const {
    return settings_.GetSetting(information.ProjectName, key);
}

bool Project::SaveSetting(std::string_view key, std::string_view value) {
    return settings_.SaveSetting(information.ProjectName, key, value);
}

}  // namespace taviro::project
