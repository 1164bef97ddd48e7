// Assembling and running author code.
#include "scripting/script_host.h"

#include <cmath>

#include "logic/actions.h"
#include "platform/game_error.h"
#include "project/field_reader.h"
#include "project/field_value.h"
#include "project/scrambled_names.h"
#include "scripting/file_system_object.h"
#include "scripting/variable_objects.h"
#include "vbscript/number_text.h"

namespace taviro::scripting {
namespace {

const std::string kCrLf = "\r\n";   // between lines of code
const std::string kNewLine = "\n";  // between lines of a message

std::u16string Utf16(const std::string& text) { return vbscript::FromUtf8OrWindows1252(text); }

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string WithoutLineBreaks(std::string text) {
    for (size_t at; (at = text.find(kCrLf)) != std::string::npos;) text.erase(at, 2);
    return text;
}

}  // namespace

ScriptHost::ScriptHost(project::Project& project, GameFlags& flags, logic::ProjectVariables& variables,
                       vbscript::Ref<vbscript::Object> action, int16_t& controlsReferencesMode,
                       vbscript::Engine::ClockMs clockMs, vbscript::Engine::ClockMs localTimeMs)
    : scriptDialogs(project),
      ScriptControl(clockMs, localTimeMs),
      ScriptControl2(clockMs, localTimeMs),
      ControlsReferencesMode(controlsReferencesMode),
      project_(project),
      flags_(flags),
      variables_(variables),
      action_(std::move(action)) {
    // The "CreateObject(" ban is a search of the script text; an engine itself creates objects. Only
    // a project that allows CreateObject gets files, whichever way its scripts spell the call.
    for (vbscript::Engine* engine : {&ScriptControl, &ScriptControl2}) {
        engine->SetDialogService(&scriptDialogs);
        engine->AllowObjectCreation(true);
        engine->SetObjectFactory([this](std::u16string_view progId) -> vbscript::Ref<vbscript::Object> {
            if (vbscript::FoldCase(progId) != u"scripting.filesystemobject") return nullptr;
            if (project_.ReadMoreSetting("AllowCreateObject") != "1") return nullptr;
            return vbscript::MakeRef<FileSystemObject>(
                project_, std::vector<std::string>{project_.paths.ProjectPath, savedGamesFolder});
        });
    }
}

std::string ScriptHost::EngineError(const vbscript::Engine& engine) const {
    return vbscript::ToUtf8(engine.Error().description);
}

void ScriptHost::ReportScriptError(const std::string& text) {
    platform::MessageBoxRequest request;
    request.title = project_.UITexts[29];
    request.text = project_.UITexts[30] + " " + project_.UITexts[31] + kNewLine + kNewLine + text;
    request.icon = platform::MessageIcon::Critical;
    request.buttons = platform::MessageButtons::OkCancel;
    if (project_.reports().dialogs().MessageBox(request) == platform::MessageAnswer::Cancel) {
        logic::StopEverything(flags_);
    }
}

void ScriptHost::AddCodeToScriptControl(vbscript::Engine& engine, const std::string& startupCode) {
    // 1. A fresh engine; it refuses while one of its scripts runs.
    if (!engine.Reset()) {
        return ReportScriptError(
            "Error executing script. Make sure that you are not trying to execute a script while another "
            "script "
            "is being executed. The Scripting Engine returned the following error message:" +
            kNewLine + kNewLine + EngineError(engine) + kNewLine + kNewLine +
            "Please click OK to continue or Cancel to stop the application.");
    }
    auto loadError = [&] {
        ReportScriptError(
            "Error executing script." + kNewLine + kNewLine +
            "The Scripting Engine returned the following error message:" + kNewLine + kNewLine +
            EngineError(engine) + kNewLine + kNewLine +
            "(Note: if the error above is 'invalid character', make sure that you are using only "
            "ASCII characters and that your system is not set to use any special characters such "
            "as Chinese)" +
            kNewLine + kNewLine + "Please click OK to continue or Cancel to stop the application.");
    };

    // 2. "Action", with its members global.
    engine.AddObject(u"Action", action_, true);

    // 3-4. The entry procedure, the plugins' code and the project procedures.
    std::string pluginText;
    for (const std::string& script : pluginScripts) pluginText += script + kCrLf;
    std::string scriptText = std::string("Sub ") + kEntryProcedure + kCrLf + kCrLf + startupCode + kCrLf +
                             kCrLf + "End Sub" + kCrLf + pluginText + kCrLf + ProjectProcedures;

    // 5. Code interception belongs to the editor.
    if (interceptCode) {
        interceptCode = false;
        if (interceptCodeShown) interceptCodeShown();
        platform::MessageBoxRequest request{
            "Not Available",
            "The code interception function is not available in the compiled version of the project.",
            platform::MessageIcon::Information, platform::MessageButtons::Ok};
        project_.reports().dialogs().MessageBox(request);
    }

    // 6. Scripts may not create objects unless the project allows it.
    bool loaded;
    if (scriptText.find("CreateObject(") != std::string::npos &&
        project_.ReadMoreSetting("AllowCreateObject") != "1") {
        platform::MessageBoxRequest request{"VBScript Execution Aborted",
                                            "WARNING! The VBScript code makes calls to the \"CreateObject\" "
                                            "function, which for security reasons is "
                                            "not allowed." +
                                                kNewLine + kNewLine +
                                                "Please remove the calls to that function and try again.",
                                            platform::MessageIcon::Critical, platform::MessageButtons::Ok};
        project_.reports().dialogs().MessageBox(request);
        loaded = engine.AddCode(std::string("Sub ") + kEntryProcedure + kCrLf + "End Sub");
    } else {
        loaded = engine.AddCode(scriptText);
    }
    if (!loaded) return loadError();

    // 7. The project variables under their own names.
    for (const auto& variable : variables_.Variables.members()) {
        engine.AddObject(Utf16(variable->Name), vbscript::MakeRef<IntegerVariableObject>(variable), true);
    }
    for (const auto& variable : variables_.VariablesVariant.members()) {
        engine.AddObject(Utf16(variable->Name), vbscript::MakeRef<VariantVariableObject>(variable), true);
    }

    // 8-9. The game window's controls, and the whole window when scripts may reference it.
    if (controlObjects) {
        for (NamedObject& named : controlObjects())
            engine.AddObject(named.name, named.object, named.membersGlobal);
    }
    if (ControlsReferencesMode == 2 && softwareObjects)
        engine.AddObject(u"SoftwareObjects", softwareObjects(), true);
}

bool ScriptHost::ExecuteVBScript(const std::string& text, bool resetLastClickPosition) {
    // 1-2. Nothing runs while the game stops, or for code that is only blanks and line breaks.
    if (flags_.GameStopping) return false;
    if (Trim(WithoutLineBreaks(text)).empty()) return false;

    // 3-5. Load the engine and run the entry procedure.
    if (resetLastClickPosition && resetClickPosition) resetClickPosition();
    AddCodeToScriptControl(ScriptControl, text);
    if (ScriptControl.Run(Utf16(kEntryProcedure))) return false;

    // 6. The run failed.
    ReportScriptError("Error executing script. The Scripting Engine returned the following error message:" +
                      kNewLine + kNewLine + EngineError(ScriptControl) + kNewLine + kNewLine +
                      "Please click OK to continue or Cancel to stop the application.");
    return true;
}

void ScriptHost::ExecuteOnLoadVBScript(logic::ActionRequests& requests) {
    // 1. The plugins' start-up code.
    std::string pluginText;
    for (const std::string& script : pluginStartupScripts) {
        if (!script.empty()) pluginText += script + kCrLf;
    }
    // 2. A clean set of requests.
    requests.ResetModule();
    // 3-4. The project's start-up script when it is switched on.
    const project::ProjectInformation& info = project_.information;
    if (pluginText.empty() && (info.startupScript.empty() || !info.runStartupScript)) return;
    ExecuteVBScript((info.runStartupScript ? info.startupScript : "") + pluginText, true);
}

std::string ScriptHost::LoadProjectProcedures() {
    // 1. Scrambled lines when "ProcEncr" is 1.
    bool scrambled = project::Val(project_.ReadMoreSetting("ProcEncr")) == 1;

    // 2. No file, no procedures.
    std::string path = project_.paths.ConfigPath + "Procedures";
    if (!project_.files().IsFile(path)) return "";

    // 3. Skip the three header lines; scrambled lines are unscrambled in the file's code page.
    try {
        std::optional<std::string> bytes = project_.files().ReadFile(path, project::kLargestTextFileBytes);
        if (!bytes) throw errors::FileNotFound();
        project::FieldReader reader(std::move(*bytes));
        for (int header = 0; header < 3 && !reader.AtEnd(); ++header) reader.ReadLine();
        const int32_t key = project::NameSum(project_.codePage().Encode(project_.information.ProjectName));
        std::string text;
        // The first line after the header is read even at the end of the file, which makes a file
        // of three lines or fewer a reading error.
        for (bool first = true; first || !reader.AtEnd(); first = false) {
            std::string line = reader.ReadLine();
            if (scrambled) line = project::UnscrambleText(line, key);
            if (!first) text += kCrLf;
            text += project_.codePage().Decode(line);
        }
        return text;
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        platform::MessageBoxRequest request{"Error",
                                            "Error loading projet procedures. " + error.description(),
                                            platform::MessageIcon::Critical, platform::MessageButtons::Ok};
        project_.reports().dialogs().MessageBox(request);
        return "";
    }
}

void ScriptHost::ApplyScriptTimeOut() {
    double seconds = std::nearbyint(project::Val(project_.ReadMoreSetting("ScriptTimeOut")));
    if (seconds != 0 && std::abs(seconds) < 2'000'000)
        ScriptControl.Timeout(static_cast<int32_t>(seconds * 1000));
}

}  // namespace taviro::scripting
