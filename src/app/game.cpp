// The game window's subsystems and the glue between them.
#include "app/game.h"

#include "app/display_modes.h"
#include "platform/controls/control_kinds.h"
#include "platform/game_error.h"

namespace taviro::app {
namespace {

constexpr char kReferenceAllControls[] = "reference_all_controls";
constexpr char kDisableScriptTimeout[] = "disable_script_timeout";

}  // namespace

Game::Game(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
           GameWindowServices& window)
    : project_(project),
      flags_(flags),
      form_(form),
      loop_(loop),
      window_(window),
      variables_(project),
      texts_(project, flags, form, frame_, *this),
      hotspots_(project, flags, form, frame_, *this),
      loader_(project, flags, form, loop.timers(), frame_, history_, texts_, hotspots_, sounds_, video_,
              *this),
      VBScriptAction(vbscript::MakeRef<scripting::VBScriptActionModule>(
          project, flags, variables_, frame_, ControlsReferencesMode,
          static_cast<scripting::ActionHost&>(*this))),
      scripts_(
          project, flags, variables_, VBScriptAction, ControlsReferencesMode,
          [&loop] { return loop.clock().NowMs(); }, [&loop] { return loop.clock().LocalTimeMs(); }),
      actions_(project, flags, variables_, history_, frame_, VBScriptAction->requests, sounds_, video_,
               *this),
      messages_(project, form, loop.timers(), *this),
      timedEvents_(project, flags, form, loop.timers(), *this),
      inventory_(project, flags, form, loop, frame_, *this),
      dialogue_(project, flags, form, loop, frame_, *this) {
    BuildScene();
    scripts_.resetClickPosition = [this] { hotspots_.SaveClickPos(0, 0); };
}

void Game::BuildScene() {
    const project::ProjectInformation& info = project_.information;
    platform::Point size = ProjectFrameSize(info);
    platform::Rect frameBounds{0, 0, size.x, size.y};
    auto& scene =
        static_cast<platform::PictureBox&>(form_.Add(std::make_unique<platform::PictureBox>("PictureBox")));
    scene.SetBounds(frameBounds);
    scene.backColor = platform::kBlack;
    auto& background = scene.Add(std::make_unique<platform::ImageControl>("BackImage", 0));
    background.SetBounds(frameBounds);
    texts_.AttachBackgroundEvents(background);
    scene.Add(std::make_unique<platform::Label>("Text", 0)).SetVisible(false);
    static_cast<platform::Label*>(form_.Find("Text", 0))->transparent = true;
    scene.Add(std::make_unique<platform::ImageControl>("Area", 0)).SetVisible(false);
    // Over the scene, back to front: the dialogue panel, the message strip, the inventory bar.
    dialogue_.AddControls(scene);
    messages_.AddControls(scene);
    inventory_.AddControls();
    timedEvents_.AddControls();
}

void Game::ResetAll(bool loadedFromGame) {
    try {
        // 1-2. Timed events, the dialogue, items and messages go; every variable goes.
        ResetGameLogic();
        variables_.Variables.Clear();
        variables_.VariablesVariant.Clear();
        variables_.Disappear.Clear();
        // 3. The last game's history and scene go.
        history_.Clear();
        if (auto* scene = static_cast<platform::PictureBox*>(form_.Find("PictureBox")))
            if (platform::Canvas* canvas = scene->canvasIfAny()) canvas->Clear();
        // 4. The game is no longer stopping.
        window_.ClearLoadGameDisplayMode();
        ControlsReferencesMode = 0;
        flags_.StopMovie = true;
        flags_.bInterruptTransition = true;
        flags_.GameStopping = false;
        // 5-6. The layout of a fresh window.
        if (!loadedFromGame) window_.CenterWindowAndPictureBox();
        // 7. The project's default pointer over the window.
        hotspots_.ApplyDefaultPointer(form_);
        // 8-9, 11. Frame lists, protection and check marks.
        window_.ResetMenus();
        // 10. Variables, procedures and the components' engine.
        variables_.LoadVariables();
        scripts_.ProjectProcedures = scripts_.LoadProjectProcedures();
        scripts_.AddCodeToScriptControl(scripts_.ScriptControl2, "");
        // 12-13. Silence, and the script time-out of the project.
        sounds_.StopAnyWavOrMP3();
        scripts_.ApplyScriptTimeOut();
    } catch (const GameError&) {
        project_.reports().ShowErrorReport(" Unable to initialize the program. ");
    }
}

void Game::Escape() {
    if (!video_.IsOneTimeVideoPlaying()) ShowMenus();
    flags_.StopMovie = true;
    flags_.bInterruptTransition = true;
}

void Game::StopPlaying() {
    timedEvents_.PauseTimedEvents();
    video_.StopOneTimeVideoPlayer();
    sounds_.StopAnyWavOrMP3();
}

void Game::ResetGameLogic() {
    // 1. No timed event and no dialogue.
    timedEvents_.ResetTimedEvents();
    dialogue_.QuitCurrentDialogue();
    // 3, 7. No item, no message; the bar laid out with the project's options and pictures.
    messages_.Hide();
    inventory_.ResetInventory();
}

void Game::ShowSaveGameWindow() {
    // Nothing of the frame runs on its own while the window is open; afterwards intervals start afresh.
    platform::Timer& frameTimer = loader_.frameTimer();
    const bool frameTimerWasOn = frameTimer.enabled();
    frameTimer.SetEnabled(false);
    timedEvents_.PauseTimedEvents();
    if (saveGameWindow) saveGameWindow();
    frameTimer.SetEnabled(frameTimerWasOn);
    timedEvents_.StartTimedEvents();
}

void Game::ShowLoadGameWindow(bool fromMenu) {
    platform::Timer& frameTimer = loader_.frameTimer();
    const bool frameTimerWasOn = frameTimer.enabled();
    frameTimer.SetEnabled(false);
    timedEvents_.PauseTimedEvents();
    if (loadGameWindow) loadGameWindow(fromMenu);
    frameTimer.SetEnabled(frameTimerWasOn);
    timedEvents_.StartTimedEvents();
}

void Game::StartNewGame() {
    frame_.name = project_.information.InitialFrame;
    scripts_.ExecuteOnLoadVBScript(VBScriptAction->requests);
    loader_.OpenFrame(frame_.name, false, 0, 0);
}

void Game::TileBackground(platform::Canvas& canvas, const std::string& path) {
    if (tilePicture) tilePicture(canvas, path);
}

int16_t Game::GetVariableValue(std::string_view name) { return variables_.GetVariableValue(name); }

bool Game::IsHotspotRemoved(std::string_view frame, int number) {
    for (const auto& entry : variables_.Disappear.members()) {
        if (entry->Name == frame && entry->Value == number) return true;
    }
    return false;
}

void Game::MakeActionAndConsequences(int areaIndex, int objectIndex) {
    actions_.MakeActionAndConsequences(areaIndex, objectIndex, false);
}

void Game::DecideControlsReferences() {
    if (ControlsReferencesMode != 0) return;
    bool references = false, noTimeout = false;
    auto look = [&](const std::string& name) {
        std::string lower = platform::FoldCase(name);
        references = references || lower == kReferenceAllControls;
        noTimeout = noTimeout || lower == kDisableScriptTimeout;
    };
    for (const auto& variable : variables_.Variables.members()) look(variable->Name);
    for (const auto& variable : variables_.VariablesVariant.members()) look(variable->Name);
    ControlsReferencesMode = references ? 2 : 1;
    if (noTimeout) {
        scripts_.ScriptControl.Timeout(-1);
        scripts_.ScriptControl2.Timeout(-1);
    }
}

bool Game::RunFrameScript(const std::string& code) {
    VBScriptAction->requests.ResetModule();
    scripts_.ExecuteVBScript(code, false);
    return VBScriptAction->requests.bStopGame;
}

}  // namespace taviro::app
