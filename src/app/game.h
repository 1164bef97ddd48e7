// The game window: the scene of the current frame and every subsystem of a game in play. It owns
// one object per subsystem and joins them through the interfaces each one asks for; subsystems
// that do not exist yet answer as a game without them would (no inventory, no sound, no video).
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/game_window_services.h"
#include "frames/current_frame.h"
#include "frames/frame_loader.h"
#include "frames/frame_texts.h"
#include "frames/frames_history.h"
#include "frames/hotspots.h"
#include "frames/no_video.h"
#include "frames/quiet_sounds.h"
#include "logic/actions.h"
#include "logic/variables.h"
#include "platform/controls/form.h"
#include "platform/events/event_loop.h"
#include "platform/programs/programs.h"
#include "project/game_flags.h"
#include "project/project.h"
#include "scripting/action_object.h"
#include "scripting/environment_objects.h"
#include "scripting/script_host.h"

namespace taviro::app {

class Game : private frames::HotspotServices,
             private frames::FrameServices,
             private logic::ActionServices,
             private scripting::ActionHost {
public:
    // The form is the game window's; its scene controls are made here.
    Game(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
         GameWindowServices& window);
    // The script timers go with the game whose scripts they run.
    ~Game() override;

    // Every subsystem back to the state of a fresh game; `loadedFromGame` when a saved game is loaded
    // while a game runs, which keeps the window's layout.
    void ResetAll(bool loadedFromGame);
    // Opens the initial frame, after the start-up script.
    void StartNewGame();
    // Begins closing the game window.
    void StartUnloading() override { window_.StartUnloading(); }
    // Stops what plays when the window unloads: timed events, the one-time video, every sound.
    void StopPlaying();
    // Esc: shows the menus unless a video plays, and skips whatever the game waits for.
    void Escape();

    // Paints a picture of the game side by side over a canvas; set by the program, which owns the
    // pictures. Without it tiled backgrounds stay empty.
    std::function<void(platform::Canvas& canvas, const std::string& path)> tilePicture;

    // The desktop around the game, set by the program. openDocument opens a document or address
    // with its default program (false when it cannot); startProgram starts a program (throws
    // GameError when it cannot); savePicture writes a picture file as a bitmap file (throws
    // GameError). Without them nothing opens, starts or is saved, and the scripts hear so.
    std::function<bool(const std::string& address)> openDocument;
    std::function<std::unique_ptr<platform::RunningProgram>(const std::string& path)> startProgram;
    std::function<void(const std::string& picturePath, const std::string& file)> savePicture;
    // The clipboard's text for scripts; the game keeps a clipboard of its own until set.
    std::function<std::string()> clipboardText;
    std::function<void(const std::string&)> setClipboardText;

    // The debug commands: run typed code, edit the procedures (an editor's command).
    void ExecuteVBScriptCommand();
    void EditProceduresCommand();

    frames::FrameLoader& frames() { return loader_; }
    frames::Hotspots& hotspots() { return hotspots_; }
    logic::ProjectVariables& variables() { return variables_; }
    logic::Actions& actions() { return actions_; }
    scripting::ScriptHost& scripts() { return scripts_; }
    const frames::CurrentFrame& currentFrame() const { return frame_; }
    const frames::FramesHistory& history() const { return history_; }

private:
    void BuildScene();
    // The named objects of the game window that scripts reach, in their registration order.
    std::vector<scripting::NamedObject> ControlObjects();
    // Script timer n fired: its procedure "TimerObject" + n runs, then its consequences.
    void RunScriptTimer(platform::Control& timer);

    // frames::HotspotServices
    int16_t GetVariableValue(std::string_view name) override;
    bool IsHotspotRemoved(std::string_view frame, int number) override;
    bool IsOneTimeVideoPlaying() override { return video_.IsOneTimeVideoPlaying(); }
    bool IsVideoStarting() override { return video_.IsVideoStarting(); }
    bool IsInventoryBusy() override { return false; }
    int HandleShowHideMenus(int button) override { return button; }
    bool AreMenusShown() override { return window_.IsMenuBarShown(); }
    void HideMenus() override { window_.ShowMenuBar(false); }
    void PickOrNotPickObject(int) override {}
    void RequestHideInventory() override {}
    void HideInventoryIfItem() override {}
    std::optional<int> DraggedItemIndex(const platform::Control&) override { return std::nullopt; }
    void FadeStep(double progress) override { sounds_.FadeStep(progress); }
    void MakeActionAndConsequences(int areaIndex, int objectIndex) override;
    void PauseWithEvents(int durationMs) override { loop_.WaitMs(durationMs); }
    void CreateAnimatedPicture(int, const std::string&, double, int, int) override {}
    void CreateLoopingVideo(int, const frames::HotspotRecord&, const std::string&) override {}
    void ShowHotspotMedia(int, bool) override {}
    void RemoveHotspotMedia() override {}

    // frames::FrameServices
    void ResetTimedEvents() override {}
    void StartTimedEvents() override {}
    void ClearTransitionDestination() override { TransitionDestination = nullptr; }
    void TransitionStep1(int) override {}
    void TransitionStep2(int, double) override {}
    bool EffectsDisabled() override { return true; }
    void StopRipplingWater() override {}
    bool LoadWaveEffectIfAny() override { return false; }
    void StartRipplingWater() override {}
    void TileBackground(platform::Canvas& canvas, const std::string& path) override;
    void DecideControlsReferences() override;
    frames::PluginFrameCode CollectPluginFrameCode(const std::string&) override { return {}; }
    bool RunFrameScript(const std::string& code) override;
    void BringInventoryToFront() override {}
    bool IsDialogueRunning() override { return false; }
    void LoadAndStartDialogue(const std::string&) override {}

    // logic::ActionServices
    std::string PickedObjectName(int) override { return ""; }
    void RemovePickedObject(int) override {}
    void AddPickedObject(const std::string&, bool) override {}
    void ShowOrNotShowAreas() override { hotspots_.ShowOrNotShowAreas(); }
    void ShowTextMessage(const std::string& text, bool inWindow, bool fromScript) override;
    bool ExecuteVBScript(const std::string& code, bool resetLastClickPosition) override {
        return scripts_.ExecuteVBScript(code, resetLastClickPosition);
    }
    std::string ExpandPluginCalls(const std::string&) override { return ""; }
    void QuitCurrentDialogue() override {}
    void OpenFrame(const std::string& name, bool withTransition, int transitionNumber,
                   double durationSeconds) override {
        loader_.OpenFrame(name, withTransition, transitionNumber, durationSeconds);
    }
    void ShowLoadGameWindow(bool) override {}
    void ShowSaveGameWindow() override {}

    // scripting::ActionHost
    void ShowMenus() override { window_.ShowMenuBar(true); }
    int16_t ClickPositionX() override { return hotspots_.clickX(); }
    int16_t ClickPositionY() override { return hotspots_.clickY(); }
    void RefreshWindow() override { loop_.DoEvents(); }
    void OpenDocument(const std::string& address) override;
    void ShellAndWait(const std::string& path) override;
    void DoComponentsEvents() override;
    void SimulateHotspotClick(int16_t number) override;
    void ResetDefaultPointer() override;
    void SavePicture(const std::string& picturePath, const std::string& file) override;
    void ChangeDisplayResolution(int mode) override { window_.SwitchToMode(mode); }
    void ChangeDisplayResolutionOnLoadGame(int16_t mode) override { window_.SetLoadGameDisplayMode(mode); }
    platform::Point ScreenSize() override { return window_.ScreenSize(); }
    bool TransitionsEnabled() override { return !window_.TransitionsDisabled(); }
    bool EffectsEnabled() override { return !window_.EffectsDisabled(); }
    void EnableOrDisableTransitions() override { window_.EnableOrDisableTransitions(); }
    void EnableOrDisableEffects() override { window_.EnableOrDisableEffects(); }
    // The frame's picture is captured by the transitions, which the player does not draw yet.
    void CaptureFrame(platform::Control&, bool) override {}
    void SetTransitionDestination(vbscript::Ref<vbscript::Object> destination) override {
        TransitionDestination = std::move(destination);
    }

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    platform::EventLoop& loop_;
    GameWindowServices& window_;
    int16_t ControlsReferencesMode = 0;
    frames::CurrentFrame frame_;
    frames::FramesHistory history_;
    frames::QuietSounds sounds_;
    frames::NoVideo video_;
    logic::ProjectVariables variables_;
    frames::FrameTexts texts_;
    frames::Hotspots hotspots_;
    frames::FrameLoader loader_;
    // Before the engines, whose objects read them until the engines go.
    scripting::EnvironmentServices environment_;
    std::string clipboard_;  // the clipboard when the program gives none
    vbscript::Ref<scripting::VBScriptActionModule> VBScriptAction;
    scripting::ScriptHost scripts_;
    logic::Actions actions_;
    std::vector<scripting::NamedObject> controlObjects_;
    // The pending clicks of SimulateHotspotClick, one one-shot timer each.
    std::list<platform::Timer> timerSimulateHotspotClick;
    vbscript::Ref<vbscript::Object> TransitionDestination;
};

}  // namespace taviro::app
