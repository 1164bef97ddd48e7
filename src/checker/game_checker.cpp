// The walk through a game's files: project files first, then every frame, then every item.
#include "checker/game_checker.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

#include "checker/script_checks.h"
#include "dialogues/dialogue_file.h"
#include "frames/frame_files.h"
#include "frames/frame_settings.h"
#include "frames/hotspot_record.h"
#include "logic/action_record.h"
#include "logic/variables.h"
#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "project/field_value.h"
#include "project/project.h"
#include "scripting/component_classes.h"
#include "scripting/media_components.h"
#include "scripting/script_component.h"
#include "scripting/script_host.h"

namespace taviro::checker {
namespace {

namespace fs = std::filesystem;

// The lines above the procedures in the "Procedures" file.
constexpr int kProceduresHeaderLines = 3;

// The reports the player's own readers show become findings of the file being read. Message boxes
// the checker asks for silently (the missing-file message of a lookup) are dropped.
class CollectingDialogs : public platform::Dialogs {
public:
    platform::MessageAnswer MessageBox(const platform::MessageBoxRequest& request) override {
        if (!silent && report) {
            std::string text = request.text;
            std::replace(text.begin(), text.end(), '\n', ' ');
            report(text);
        }
        return platform::DefaultAnswer(request.buttons);
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }

    bool silent = false;
    std::function<void(const std::string&)> report;
};

// Where a finding lies, short of its message.
struct Place {
    std::string file{};
    int record = 0;
    std::string part{};
};

// The names the game's records may use as integer variables: those of "Variables", and later those
// the enabled plugins declare.
std::vector<std::string> PluginIntegerVariables() { return {}; }
std::vector<std::string> PluginVariantVariables() { return {}; }

int LineAt(std::string_view text, size_t position) {
    position = std::min(position, text.size());
    return 1 +
           static_cast<int>(std::count(text.begin(), text.begin() + static_cast<ptrdiff_t>(position), '\n'));
}

std::string Slashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

class Checker {
public:
    Checker(const std::string& folder, const platform::CodePage& codePage)
        : project_(files_, codePage, dialogs_, cd_, flags_, fs::path()), variables_(project_) {
        dialogs_.report = [this](const std::string& text) { Add(Severity::Problem, context_, text); };
        std::error_code noFullPath;
        folder_ = folder;
        if (fs::path full = fs::absolute(folder, noFullPath); !noFullPath) folder_ = full.string();
    }

    CheckReport Run();

private:
    void Add(Severity severity, const Place& place, const std::string& message, int line = 0,
             int column = 0) {
        report_.findings.push_back({severity, place.file, place.record, place.part, line, column, message});
    }

    std::string Relative(const std::string& path) const {
        const std::string& root = project_.paths.ProjectPath;
        return Slashes(path.starts_with(root) ? path.substr(root.size()) : path);
    }

    bool InsideGame(const std::string& path);
    bool CheckFile(const std::string& path, const Place& place, const std::string& what);
    std::optional<std::string> ReadGameText(const std::string& path);
    void ReadFailure(const Place& place, const std::exception& failure, std::string_view text, size_t at);
    // Reads a game file's records to its end, each with read(reader, place of the record); a record
    // that cannot be read ends the file with the report of where it broke.
    template <typename Read>
    void ForEachRecord(const std::string& path, Read read);

    void CheckDestination(const std::string& name, const Place& place, const std::string& what);
    void CheckScript(const std::string& code, const Place& place);
    // A class a script adds as a component: one the player offers, or one the game gives in VBScript.
    void CheckComponentClass(const std::string& progId, const Place& place);
    // The components the game gives in VBScript (CPData/*.vbs) compile.
    void CheckScriptComponents();
    void CheckVariable(const std::string& name, const Place& place, bool exactCase);
    // caseMatters: the name is a file name, not a key compared without regard to case.
    void CheckItem(const std::string& name, const Place& place, bool caseMatters = true);

    void CheckProjectFiles();
    void CheckFrame(const std::string& frame);
    void CheckFrameSettings(const std::string& frame);
    void CheckSoundCommands(const std::string& frame);
    void CheckHotspots(const std::string& frame);
    void CheckActionFile(const std::string& path, bool droppedItems);
    void CheckPickUps(const std::string& frame);
    void CheckDialogue(const std::string& frame);
    void CheckWater(const std::string& frame);
    void CheckItems();
    void CheckCombinations();

    platform::FileSystem files_;
    CollectingDialogs dialogs_;
    project::NoCd cd_;
    GameFlags flags_;
    project::Project project_;
    logic::ProjectVariables variables_;
    std::string folder_;
    fs::path canonicalRoot_;
    std::map<std::string, std::string> framesByFoldedName_;  // folded name -> name of the ".fme"
    std::map<std::string, bool> folderInside_;               // real folder -> whether it lies inside the game
    Place context_;                                          // the file whose reader may show reports
    CheckReport report_;
};

CheckReport Checker::Run() {
    // 1. Without "Config/General" the folder is no game.
    context_ = {"Config/General"};
    if (!project_.InitializeProject(folder_)) {
        report_.findings.clear();
        report_.isGame = false;
        return report_;
    }
    std::error_code noRoot;
    canonicalRoot_ = fs::weakly_canonical(files_.Resolve(project_.paths.ProjectPath), noRoot);

    // 2. The frames the game has: one per settings file.
    for (const std::string& file : files_.List(project_.paths.FramesPath, "*.fme")) {
        std::string name = file.substr(0, file.size() - 4);
        framesByFoldedName_.emplace(platform::FoldCase(name), name);
    }

    // 3. Project-wide files, each frame, each item.
    CheckProjectFiles();
    for (const auto& [folded, frame] : framesByFoldedName_) CheckFrame(frame);
    CheckItems();
    CheckCombinations();
    return report_;
}

bool Checker::InsideGame(const std::string& path) {
    std::error_code failed;
    const fs::path resolved = files_.Resolve(path);
    auto inside = [this](const fs::path& real) {
        auto [rootEnd, realAt] =
            std::mismatch(canonicalRoot_.begin(), canonicalRoot_.end(), real.begin(), real.end());
        return rootEnd == canonicalRoot_.end();
    };
    // A file that is no link lies where its folder lies; folders are few, so their answers are kept.
    if (!fs::is_symlink(fs::symlink_status(resolved, failed)) && !failed) {
        const std::string folder = resolved.parent_path().string();
        auto known = folderInside_.find(folder);
        if (known == folderInside_.end()) {
            const fs::path real = fs::weakly_canonical(resolved.parent_path(), failed);
            known = folderInside_.emplace(folder, !failed && inside(real)).first;
        }
        return known->second;
    }
    const fs::path real = fs::weakly_canonical(resolved, failed);
    return !failed && inside(real);
}

bool Checker::CheckFile(const std::string& path, const Place& place, const std::string& what) {
    // The player's own lookup (plain and scrambled names), without its missing-file message.
    dialogs_.silent = true;
    const std::string located = project_.LocateProjectFile(path);
    dialogs_.silent = false;
    const std::string named = Relative(path);
    if (!files_.IsFile(located)) {
        Add(Severity::Problem, place, "the " + what + " \"" + named + "\" does not exist");
        return false;
    }
    if (!InsideGame(located)) {
        Add(Severity::Problem, place, "the " + what + " \"" + named + "\" leads outside the game folder");
        return false;
    }
    // The real spelling of the part below the game folder, component by component.
    const std::string wanted = Relative(located);
    const fs::path real = files_.Resolve(located);
    std::vector<std::string> realParts;
    for (const fs::path& part : real) realParts.push_back(part.string());
    size_t components = static_cast<size_t>(std::count(wanted.begin(), wanted.end(), '/')) + 1;
    if (components <= realParts.size()) {
        std::string spelled;
        for (size_t i = realParts.size() - components; i < realParts.size(); ++i)
            spelled += (spelled.empty() ? "" : "/") + realParts[i];
        if (spelled != wanted) {
            Add(Severity::Note, place,
                "the " + what + " \"" + named + "\" exists only as \"" + spelled +
                    "\" (another letter case)");
        }
    }
    return true;
}

std::optional<std::string> Checker::ReadGameText(const std::string& path) {
    if (!files_.IsFile(path)) return std::nullopt;
    const Place place{Relative(path)};
    if (!InsideGame(path)) {
        Add(Severity::Problem, place, "the file leads outside the game folder and was not read");
        return std::nullopt;
    }
    std::optional<std::string> text = project_.ReadTextFile(path);
    if (!text) Add(Severity::Problem, place, "the file cannot be read (unreadable, or larger than 16 MB)");
    return text;
}

void Checker::ReadFailure(const Place& place, const std::exception& failure, std::string_view text,
                          size_t at) {
    const GameError error = AsGameError(failure);
    Add(Severity::Problem, place,
        "the record ends inside a group of fields or holds a field of the wrong type (" +
            error.description() + ")",
        LineAt(text, at));
}

void Checker::CheckDestination(const std::string& name, const Place& place, const std::string& what) {
    if (IsSpecialDestination(name)) return;
    if (name.empty()) {
        Add(Severity::Problem, place, "the " + what + " names no frame");
        return;
    }
    auto found = framesByFoldedName_.find(platform::FoldCase(name));
    if (found == framesByFoldedName_.end()) {
        Add(Severity::Problem, place,
            "the " + what + " \"" + name + "\" has no settings file Frames/" + name + ".fme");
    } else if (found->second != name) {
        Add(Severity::Note, place,
            "the " + what + " \"" + name + "\" exists only as \"" + found->second +
                "\" (another letter case)");
    }
}

void Checker::CheckScript(const std::string& code, const Place& place) {
    if (code.find_first_not_of(" \t\r\n") == std::string::npos) return;
    if (std::optional<CompileFailure> failure = CompileAuthorCode(code)) {
        Add(Severity::Problem, place, "the script does not compile: " + failure->description, failure->line,
            failure->column);
    }
    for (const std::string& frame : LiteralFrameNames(code))
        CheckDestination(frame, place, "frame of GoToFrame");
    for (const std::string& progId : LiteralComponentClasses(code)) CheckComponentClass(progId, place);
    // Code a timed event runs later is checked where it is written; its lines count from its own start.
    for (const std::string& timed : LiteralTimedEventCode(code)) {
        if (std::optional<CompileFailure> failure = CompileAuthorCode(timed)) {
            Add(Severity::Problem, {place.file, place.record, place.part + ", timed event"},
                "the timed event's code does not compile: " + failure->description, failure->line,
                failure->column);
        }
        for (const std::string& frame : LiteralFrameNames(timed))
            CheckDestination(frame, place, "frame of GoToFrame");
    }
}

void Checker::CheckComponentClass(const std::string& progId, const Place& place) {
    if (scripting::ComponentClasses::IsIntrinsic(progId) || scripting::MediaComponents::Offers(progId))
        return;
    std::optional<std::string> file = scripting::ScriptComponentFile(project_.paths.CPDataPath, progId);
    if (file && files_.IsFile(*file)) return;
    Add(Severity::Problem, place,
        "the component class \"" + progId +
            "\" is neither built into the player nor written in VBScript as CPData/" + progId + ".vbs");
}

void Checker::CheckScriptComponents() {
    for (const std::string& name : files_.List(project_.paths.CPDataPath, "*.vbs")) {
        const Place place{"CPData/" + name};
        context_ = place;
        std::optional<std::string> code = project_.ReadTextFile(project_.paths.CPDataPath + name);
        if (!code) continue;
        if (std::optional<CompileFailure> failure = CompileProcedures(*code)) {
            Add(Severity::Problem, place, "the component's code does not compile: " + failure->description,
                failure->line, failure->column);
        }
    }
    context_ = {};
}

void Checker::CheckVariable(const std::string& name, const Place& place, bool exactCase) {
    if (name.empty()) return;
    std::shared_ptr<logic::ClassVariable> declared = variables_.Variables.Find(name);
    if (!declared) {
        Add(Severity::Problem, place,
            "the variable \"" + name + "\" is declared neither in Config/Variables nor by a plugin");
    } else if (declared->Name != name && exactCase) {
        Add(Severity::Problem, place,
            "the variable \"" + name + "\" is declared only as \"" + declared->Name +
                "\"; visibility conditions compare names in their exact letter case");
    } else if (declared->Name != name) {
        Add(Severity::Note, place,
            "the variable \"" + name + "\" is declared only as \"" + declared->Name +
                "\" (another letter case)");
    }
}

void Checker::CheckItem(const std::string& name, const Place& place, bool caseMatters) {
    if (name.empty()) return;
    const std::string path = project_.paths.AreasPath + name + ".obj";
    if (caseMatters || !files_.IsFile(path)) CheckFile(path, place, "item description");
}

void Checker::CheckProjectFiles() {
    const project::ProjectInformation& info = project_.information;
    const Place general{"Config/General"};
    CheckDestination(info.InitialFrame, {general.file, 0, "initial frame"}, "initial frame");
    // Scripts count only where the player runs them: when switched on.
    if (info.runStartupScript) CheckScript(info.startupScript, {general.file, 0, "start-up script"});
    if (info.runFrameScript) CheckScript(info.frameScript, {general.file, 0, "script of every frame"});
    if (info.runMenuScript) CheckScript(info.menuScript, {general.file, 0, "menu script"});

    // The declared variables, read as the player reads them; plugin variables join them here.
    context_ = {"Config/Variables"};
    variables_.LoadVariables(PluginIntegerVariables(), PluginVariantVariables());

    // The procedures, unscrambled as the player does; lines count from the top of the file.
    context_ = {"Config/Procedures"};
    int16_t noControls = 0;
    scripting::ScriptHost host(
        project_, flags_, variables_, nullptr, noControls, [] { return int64_t{0}; },
        [] { return int64_t{0}; });
    const std::string procedures = host.LoadProjectProcedures();
    if (std::optional<CompileFailure> failure = CompileProcedures(procedures)) {
        Add(Severity::Problem, context_, "the procedures do not compile: " + failure->description,
            failure->line + kProceduresHeaderLines, failure->column);
    }
    for (const std::string& frame : LiteralFrameNames(procedures))
        CheckDestination(frame, context_, "frame of GoToFrame");
    for (const std::string& progId : LiteralComponentClasses(procedures))
        CheckComponentClass(progId, context_);
    context_ = {};
    CheckScriptComponents();
}

void Checker::CheckFrame(const std::string& frame) {
    CheckFrameSettings(frame);
    CheckSoundCommands(frame);
    CheckHotspots(frame);
    CheckActionFile(frames::MergedOrPlainFile(project_, frame, ".mr3", ".fm3"), false);
    CheckActionFile(project_.paths.FramesDataPath + frame + ".fm0", true);
    CheckPickUps(frame);
    CheckDialogue(frame);
    CheckWater(frame);
}

void Checker::CheckFrameSettings(const std::string& frame) {
    const std::string path = project_.paths.FramesPath + frame + ".fme";
    std::optional<std::string> text = ReadGameText(path);
    if (!text) return;
    const Place place{Relative(path)};
    frames::FrameSettings settings;
    project::FieldReader reader(*text);
    try {
        frames::ReadFrameSettings(reader, settings);
    } catch (const std::exception& failure) {
        ReadFailure(place, failure, *text, reader.position());
    }
    // What was read before a failure is what the player uses.
    const std::string& framesPath = project_.paths.FramesPath;
    const std::string& areasPath = project_.paths.AreasPath;
    if (settings.header.backgroundKind == static_cast<int16_t>(frames::BackgroundKind::Picture))
        CheckFile(framesPath + settings.header.backgroundValue, place, "background picture");
    if (!settings.music.empty()) CheckFile(areasPath + settings.music, place, "music");
    if (settings.timerOn) CheckDestination(settings.timerDestination, place, "frame of the frame timer");
    if (!settings.video.empty()) CheckFile(framesPath + settings.video, place, "video");
    if (!settings.frameSound.empty()) CheckFile(framesPath + settings.frameSound, place, "frame sound");
    for (size_t i = 0; i < settings.channels.size(); ++i) {
        const std::string file = project::ToText(settings.channels[i].file);
        if (!file.empty())
            CheckFile(areasPath + file, {place.file, 0, "sound channel " + std::to_string(i + 1)}, "sound");
    }
    if (settings.runFrameScript) CheckScript(settings.frameScript, {place.file, 0, "frame script"});
}

void Checker::CheckSoundCommands(const std::string& frame) {
    const std::string path = project_.paths.FramesPath + frame + ".chn";
    std::optional<std::string> text = ReadGameText(path);
    if (!text) return;
    const Place place{Relative(path)};
    project::FieldReader reader(*text);
    try {
        // The layout the sound channels read: 21 leading fields, then five groups of five.
        reader.Skip(21);
        for (int channel = 1; channel <= 5 && !frames::IsEndOfRecord(reader); ++channel) {
            reader.Skip();
            reader.ReadBoolean();
            const bool play = reader.ReadBoolean();
            const std::string file = reader.ReadString();
            reader.ReadVariant();
            if (play && !file.empty())
                CheckFile(project_.paths.AreasPath + file,
                          {place.file, 0, "channel " + std::to_string(channel)}, "sound");
        }
    } catch (const std::exception& failure) {
        ReadFailure(place, failure, *text, reader.position());
    }
}

template <typename Read>
void Checker::ForEachRecord(const std::string& path, Read read) {
    std::optional<std::string> text = ReadGameText(path);
    if (!text) return;
    const std::string file = Relative(path);
    project::FieldReader reader(*text);
    int number = 0;
    try {
        while (!reader.AtEnd()) read(reader, Place{file, ++number});
    } catch (const std::exception& failure) {
        ReadFailure({file, number}, failure, *text, reader.position());
    }
}

void Checker::CheckHotspots(const std::string& frame) {
    ForEachRecord(frames::MergedOrPlainFile(project_, frame, ".mr2", ".fm2"),
                  [this](project::FieldReader& reader, const Place& place) {
                      const frames::HotspotRecord record = frames::ReadHotspotRecord(reader);
                      if (record.showsPicture)
                          CheckFile(project_.paths.AreasPath + record.picture, place, "hotspot picture");
                      if (!record.pointer.empty() && platform::FoldCase(record.pointer) != "default")
                          CheckFile(project_.paths.IconsPath + record.pointer, place, "mouse pointer");
                      if (record.hasLoopingVideo)
                          CheckFile(project_.paths.FramesPath + record.loopingVideo, place, "looping video");
                      if (record.hasConditions != 0) {
                          for (const std::string& name : record.mustBeZero) CheckVariable(name, place, true);
                          for (const std::string& name : record.mustBeOne) CheckVariable(name, place, true);
                      }
                  });
}

// Collects what an action record changes while it is read: variables and sound-channel files.
class RecordedEffects : public logic::ActionEffects {
public:
    void ChangeVariable(const std::string& name, int16_t) override { variables.push_back(name); }
    void RemoveAfterUse() override {}
    void StopMusic() override {}
    void StopAllSounds() override {}
    void SetFadeDuration(double) override {}
    void SetChannel(int, const logic::ChannelEntry& channel) override {
        if (!channel.file.empty()) soundFiles.push_back(channel.file);
    }

    std::vector<std::string> variables;
    std::vector<std::string> soundFiles;
};

void Checker::CheckActionFile(const std::string& path, bool droppedItems) {
    ForEachRecord(path, [this, droppedItems](project::FieldReader& reader, const Place& place) {
        // The leading fields: the key of a dropped item ("3_key.drg" names the item Key), or nothing.
        if (droppedItems) {
            reader.Skip();
            const std::string key = reader.ReadString();
            const size_t underscore = key.find('_');
            if (underscore != std::string::npos && platform::FoldCase(key).ends_with(".drg"))
                CheckItem(key.substr(underscore + 1, key.size() - underscore - 5), place, false);
            reader.Skip(8);
        } else {
            reader.Skip(10);
        }
        RecordedEffects effects;
        const logic::ActionRecord action = logic::ReadActionFields(reader, effects);
        for (const std::string& name : effects.variables) CheckVariable(name, place, false);
        for (const std::string& sound : effects.soundFiles)
            CheckFile(project_.paths.AreasPath + sound, place, "sound");
        if (action.openFrame) CheckDestination(action.frameName, place, "frame");
        if (action.playVideo && !action.videoFile.empty())
            CheckFile(project_.paths.FramesPath + action.videoFile, place, "video");
        if (action.playMusic && !action.musicFile.empty())
            CheckFile(project_.paths.AreasPath + action.musicFile, place, "music");
        if (action.playSound && !action.soundFile.empty())
            CheckFile(project_.paths.FramesPath + action.soundFile, place, "sound");
        if (action.addItem) CheckItem(action.itemName, place);
        if (action.appendScript) CheckScript(action.script, {place.file, place.record, "script"});
        reader.SkipRecord();
    });
}

void Checker::CheckPickUps(const std::string& frame) {
    ForEachRecord(project_.paths.FramesDataPath + frame + ".fm4",
                  [this](project::FieldReader& reader, const Place& place) {
                      reader.Skip();
                      reader.ReadInteger();
                      reader.Skip(8);
                      if (project::NumericValue(reader.ReadVariant()) == 1)
                          CheckItem(reader.ReadString(), place);
                      reader.SkipRecord();
                  });
}

void Checker::CheckDialogue(const std::string& frame) {
    const std::string path = project_.paths.FramesDataPath + frame + ".dlg";
    std::optional<std::string> text = ReadGameText(path);
    if (!text) return;
    const std::string file = Relative(path);
    project::FieldReader reader(*text);
    try {
        const std::vector<dialogues::DialogueLine> lines = dialogues::ReadDialogueFile(reader);
        for (size_t line = 0; line < lines.size(); ++line) {
            for (size_t script = 0; script < lines[line].scripts.size(); ++script) {
                CheckScript(lines[line].scripts[script], {file, 0,
                                                          "dialogue line " + std::to_string(line + 1) +
                                                              ", script " + std::to_string(script + 1)});
            }
        }
    } catch (const std::exception& failure) {
        ReadFailure({file}, failure, *text, reader.position());
    }
}

void Checker::CheckWater(const std::string& frame) {
    const std::string settings = project_.paths.FramesPath + frame + ".rwe";
    if (files_.IsFile(settings))
        CheckFile(project_.paths.FramesPath + frame + ".rwm", {Relative(settings)}, "water mask");
}

void Checker::CheckItems() {
    for (const std::string& name : files_.List(project_.paths.AreasPath, "*.obj")) {
        const std::string path = project_.paths.AreasPath + name;
        std::optional<std::string> text = ReadGameText(path);
        if (!text) continue;
        const Place place{Relative(path)};
        project::FieldReader reader(*text);
        try {
            CheckFile(project_.paths.AreasPath + reader.ReadString(), place, "item picture");
        } catch (const std::exception& failure) {
            ReadFailure(place, failure, *text, reader.position());
        }
    }
}

void Checker::CheckCombinations() {
    for (const std::string& name : files_.List(project_.paths.AreasPath, "*_on_*.drg")) {
        const std::string path = project_.paths.AreasPath + name;
        const Place place{Relative(path)};
        // "A_on_B.drg": the items dragged and dropped on.
        const size_t on = platform::FoldCase(name).find("_on_");
        CheckItem(name.substr(0, on), place);
        CheckItem(name.substr(on + 4, name.size() - on - 8), place);
        std::optional<std::string> text = ReadGameText(path);
        if (!text) continue;
        project::FieldReader reader(*text);
        try {
            // The fields in the order the inventory reads them.
            reader.ReadVariant();
            reader.ReadVariant();
            const bool addItem = project::NumericValue(reader.ReadVariant()) == 1;
            const std::string newItem = project::ToText(reader.ReadVariant());
            if (addItem) CheckItem(newItem, place);
            if (reader.AtEnd()) continue;
            reader.Skip(3);
            const bool runScript = reader.ReadBoolean();
            const std::string script = project::ReplaceBarsWithQuotes(reader.ReadString());
            if (runScript) CheckScript(script, {place.file, 0, "script"});
        } catch (const std::exception& failure) {
            ReadFailure(place, failure, *text, reader.position());
        }
    }
}

}  // namespace

CheckReport CheckGame(const std::string& folder, const platform::CodePage& codePage) {
    return Checker(folder, codePage).Run();
}

}  // namespace taviro::checker
