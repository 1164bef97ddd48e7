// The script host: the two engines that run all author code, the text handed to them, the named
// objects that reach the game from scripts, and the reports of failed scripts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "logic/action_requests.h"
#include "logic/variables.h"
#include "project/game_flags.h"
#include "project/project.h"
#include "scripting/script_dialogs.h"
#include "vbscript/engine.h"

namespace taviro::scripting {

// The procedure every piece of author code is wrapped in, and run by.
inline constexpr char kEntryProcedure[] = "Procedure_that_is_going_to_be_executed";

// An object registered with the engines under a name.
struct NamedObject {
    std::u16string name;
    vbscript::Ref<vbscript::Object> object;
    bool membersGlobal = false;
};

class ScriptHost {
public:
    // action: the object registered as "Action"; controlsReferencesMode: 0 = not decided yet, 1 = no
    // "SoftwareObjects", 2 = the game window registered as "SoftwareObjects"; clockMs: the game's
    // clock, for time-outs; localTimeMs: the date and time scripts see.
    ScriptHost(project::Project& project, GameFlags& flags, logic::ProjectVariables& variables,
               vbscript::Ref<vbscript::Object> action, int16_t& controlsReferencesMode,
               vbscript::Engine::ClockMs clockMs,
               vbscript::Engine::ClockMs localTimeMs = vbscript::Engine::LocalTimeMs());

    // Resets the engine and loads it with the code wrapped in the entry procedure, the plugin
    // code, the project procedures and the named objects. Failures are reported.
    void AddCodeToScriptControl(vbscript::Engine& engine, const std::string& startupCode);

    // Runs author code on ScriptControl. True when it failed and the failure was reported.
    // Pumps events through whatever the script calls.
    bool ExecuteVBScript(const std::string& text, bool resetLastClickPosition);

    // The project's start-up script and the plugins' start-up code.
    void ExecuteOnLoadVBScript(logic::ActionRequests& requests);

    // The text of the "Procedures" file, unscrambled when the project stores it scrambled.
    std::string LoadProjectProcedures();

    // The time-out of "ScriptTimeOut" in "More", when it is not 0.
    void ApplyScriptTimeOut();

    // MsgBox and InputBox of both engines, made before them and gone after them.
    ScriptDialogs scriptDialogs;
    vbscript::Engine ScriptControl;
    vbscript::Engine ScriptControl2;
    std::string ProjectProcedures;
    int16_t& ControlsReferencesMode;
    bool interceptCode = false;                // the check mark of the debug command
    std::function<void()> interceptCodeShown;  // the next script took the mark off
    // The folder of saved games, which Scripting.FileSystemObject may reach besides the project's.
    std::string savedGamesFolder;
    std::vector<std::string> pluginScripts;         // per loaded plugin, in plugin order
    std::vector<std::string> pluginStartupScripts;  // the same for their start-up code

    // The game window's objects: rows after the variables, and "SoftwareObjects".
    std::function<std::vector<NamedObject>()> controlObjects;
    std::function<vbscript::Ref<vbscript::Object>()> softwareObjects;
    // Forgets the last click position ("ExecuteVBScript" may ask for it).
    std::function<void()> resetClickPosition;

private:
    // A failed script: OK goes on, Cancel stops the game. text follows the report's first line.
    void ReportScriptError(const std::string& text);
    std::string EngineError(const vbscript::Engine& engine) const;

    project::Project& project_;
    GameFlags& flags_;
    logic::ProjectVariables& variables_;
    vbscript::Ref<vbscript::Object> action_;
};

}  // namespace taviro::scripting
