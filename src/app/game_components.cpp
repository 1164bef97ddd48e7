// The game's side of plugins and components: the code plugins add to frames, the component
// classes and the handlers of component events.
#include "app/game.h"
#include "vbscript/number_text.h"

namespace taviro::app {

Game::~Game() {
    // The controls of components go with the game; the Action object may outlive it in a script.
    components().UseHost(nullptr);
}

void Game::SetUpComponents() {
    components().UseHost(&componentClasses_);
    // Components written in VBScript: "CPData/<ProgID>.vbs". A ProgID is a name, never a path.
    componentClasses_.scriptOf = [this](const std::string& progId) -> std::optional<std::string> {
        std::optional<std::string> path = scripting::ScriptComponentFile(project_.paths.CPDataPath, progId);
        if (!path || !project_.files().IsFile(*path)) return std::nullopt;
        return project_.ReadTextFile(*path);
    };
    // Their code stops after the project's script time-out, or after ten seconds in a project with none.
    const int timeOutSeconds = project_.ReadMoreSettings().scriptTimeOutSeconds;
    componentClasses_.scriptTimeoutMs = timeOutSeconds > 0 ? timeOutSeconds * 1000 : 10000;
    // 3-5 of an event's delivery: the handler runs on the components' engine, then what it asked.
    components().runEventProcedure = [this](const std::string& procedure,
                                            vbscript::Ref<vbscript::Object> parameters) {
        VBScriptAction->requests.ResetModule();
        vbscript::Variant argument(std::move(parameters));
        if (!scripts_.ScriptControl2.Run(vbscript::FromUtf8OrWindows1252(procedure), {&argument, 1})) {
            const vbscript::ErrorInfo& error = scripts_.ScriptControl2.Error();
            throw GameError(error.number, vbscript::ToUtf8(error.description));
        }
        actions_.ExecuteConsequences();
    };
}

void Game::PauseComponents(platform::PictureBox& stage, int transitionNumber) {
    components().PauseComponents();
    // The components that appear during transitions go onto the stage, above the animation; for a
    // blend, not those that disappear before it. The stage lies where the frame's picture box does.
    for (const scripting::Components::Entry& entry : components().ComponentsList()) {
        if (!entry.appearDuringTransitions) continue;
        if (transitionNumber == 1 && entry.disappearBeforeAlphablending) continue;
        platform::Control* control = form_.Find(entry.name);
        if (!control || !control->parent() || control->parent() == &stage) continue;
        stage.Add(control->parent()->Remove(*control));
    }
}

void Game::ResumeComponents(platform::PictureBox& stage) {
    platform::Control* scene = form_.Find("PictureBox");
    for (const scripting::Components::Entry& entry : components().ComponentsList()) {
        platform::Control* control = form_.Find(entry.name);
        if (scene && control && control->parent() == &stage) scene->Add(stage.Remove(*control));
    }
    components().ResumeComponents();
}

frames::PluginFrameCode Game::CollectPluginFrameCode(const std::string& pluginData) {
    frames::PluginFrameCode code;
    for (const project::Plugin& plugin : plugins_.table()) {
        if (!plugin.frameOpenCodeBefore.empty()) code.beforeScript += plugin.frameOpenCodeBefore + "\r\n";
        if (!plugin.frameOpenCodeAfter.empty()) code.afterScript += plugin.frameOpenCodeAfter + "\r\n";
    }
    code.data = plugins_.ExpandStoredCommands(pluginData, false);
    return code;
}

}  // namespace taviro::app
