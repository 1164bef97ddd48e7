// The game window: the scene of the current frame and every subsystem of a game in play. It owns
// one object per subsystem and joins them through the interfaces each one asks for; subsystems
// that do not exist yet answer as a game without them would.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "app/game_window_services.h"
#include "dialogues/dialogue.h"
#include "effects/rippling_water.h"
#include "effects/transitions.h"
#include "frames/current_frame.h"
#include "frames/frame_loader.h"
#include "frames/frame_texts.h"
#include "frames/animated_pictures.h"
#include "frames/frames_history.h"
#include "frames/hotspots.h"
#include "frames/sound_channels.h"
#include "frames/video_players.h"
#include "inventory/inventory.h"
#include "logic/actions.h"
#include "logic/variables.h"
#include "messages/message_strip.h"
#include "platform/controls/form.h"
#include "platform/controls/mouse_router.h"
#include "platform/events/event_loop.h"
#include "platform/media/audio_engine.h"
#include "platform/programs/programs.h"
#include "project/game_flags.h"
#include "project/plugins.h"
#include "project/project.h"
#include "saved_games/saved_games_services.h"
#include "scripting/action_object.h"
#include "scripting/component_classes.h"
#include "scripting/environment_objects.h"
#include "scripting/script_host.h"
#include "timed_events/timed_events.h"

namespace taviro::app {

class Game : private frames::HotspotServices,
             private frames::FrameServices,
             private logic::ActionServices,
             private scripting::ActionHost,
             private messages::MessageServices,
             private inventory::InventoryServices,
             private timed_events::TimedEventServices,
             private dialogues::DialogueServices,
             private saved_games::SavedGamesServices,
             private effects::TransitionServices {
public:
    // The form is the game window's; its scene controls are made here. The sound players play on
    // `audio`; without it the game has sound of its own that no device plays.
    Game(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
         GameWindowServices& window, platform::media::AudioEngine* audio = nullptr);
    ~Game();
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
    // Hides the menu bar (and the inventory with it, as the game's options say).
    void HideMenus() override { inventory_.HideMenus(); }

    // The window's mouse, through which inventory items are dragged.
    void UseMouse(platform::MouseRouter& mouse) { mouse_ = &mouse; }
    // The modal save and load windows; set by whoever owns them. Each shows its window and calls
    // `closed` once it has closed (the load window with whether a game was loaded). Timed events and
    // the frame timer pause while they are open.
    std::function<void(std::function<void()> closed)> saveGameWindow;
    std::function<void(std::function<void(bool loaded)> closed)> loadGameWindow;
    // The Load and Save commands of the menus and keys; the load is refused while a script timer runs.
    void LoadGameCommand() { ShowLoadGameWindow(true); }
    void SaveGameCommand() { ShowSaveGameWindow(); }
    // The game as saving and loading see it.
    saved_games::SavedGamesServices& savedGames() { return *this; }
    // Brings the game window up; set by the program, which owns the windows.
    std::function<void()> showWindow;
    // Set while a saved game is loaded into a game window loaded for it from the welcome window.
    bool loadingFromWelcome = false;

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

    // Composes a control of the game window into a canvas of its size, from the scene; with
    // `desktopOnly` the part off the desktop is black. Set by the program, which owns the screen;
    // without it captures are black.
    std::function<void(const platform::Control& control, platform::Canvas& into, bool desktopOnly)>
        captureControl;
    // Copies an area of a game picture into a canvas (throws GameError when it cannot be loaded), and
    // the size of a game picture (nullopt when it cannot); set by the program. Without them frames
    // have no rippling water.
    std::function<void(platform::Canvas& into, const std::string& path, const platform::Rect& area)>
        copyPicture;
    std::function<std::optional<platform::Point>(const std::string& path)> pictureSize;

    // Ends a running transition at its next step, as any click or key does.
    void InterruptTransition() { transitions_.InterruptTransition(); }
    // "Disable Real-Time Effects" changed: the water stops and hides, or comes back on the frame.
    void EffectsSwitched();

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
    inventory::Inventory& inventory() { return inventory_; }
    messages::MessageStrip& messages() { return messages_; }
    timed_events::TimedEvents& timedEvents() { return timedEvents_; }
    frames::SoundChannels& sounds() { return sounds_; }
    dialogues::Dialogue& dialogue() { return dialogue_; }
    effects::Transitions& transitions() { return transitions_; }
    effects::RipplingWater& water() { return water_; }
    frames::VideoPlayers& videos() { return video_; }
    // Animated pictures; the program gives them the sizes of pictures, without which they stay empty.
    frames::AnimatedPictures& animations() { return animations_; }
    const project::Plugins& plugins() const { return plugins_; }
    // The components scripts added.
    scripting::Components& components() { return VBScriptAction->components; }

private:
    void BuildScene();
    // Joins the video players and animated pictures to the hotspots and menus.
    void WireVideoAndAnimations();
    // Gives the components their classes and their handlers on the components' engine.
    void SetUpComponents();
    // Timed events, the dialogue, messages and the inventory back to a fresh game.
    void ResetGameLogic();
    // The named objects of the game window that scripts reach, in their registration order.
    std::vector<scripting::NamedObject> ControlObjects();

    // frames::HotspotServices
    int16_t GetVariableValue(std::string_view name) override;
    bool IsHotspotRemoved(std::string_view frame, int number) override;
    bool IsOneTimeVideoPlaying() override { return video_.IsOneTimeVideoPlaying(); }
    bool IsVideoStarting() override { return video_.IsVideoStarting(); }
    bool IsInventoryBusy() override { return inventory_.IsInventoryBusy(); }
    int HandleShowHideMenus(int button) override { return inventory_.HandleShowHideMenus(button); }
    bool AreMenusShown() override { return inventory_.menusShown(); }
    void PickOrNotPickObject(int areaIndex) override { inventory_.PickOrNotPickObject(areaIndex); }
    void RequestHideInventory() override { inventory_.bar().RequestHideInventory(); }
    void HideInventoryIfItem() override { inventory_.HideInventoryIfItem(); }
    std::optional<int> DraggedItemIndex(const platform::Control& source) override {
        return inventory_.DraggedItemIndex(source);
    }
    void FadeStep(double progress) override { sounds_.FadeStep(progress); }
    void MakeActionAndConsequences(int areaIndex, int objectIndex) override;
    void PauseWithEvents(int durationMs) override { loop_.WaitMs(durationMs); }
    void SetScreenPointer(std::optional<platform::MousePointer> pointer, const std::string& icon) override {
        window_.SetScreenPointer(pointer, icon);
    }
    void HideScreenPointer(bool hidden) override { window_.HideScreenPointer(hidden); }
    void CreateAnimatedPicture(int areaIndex, const std::string& path, double speed, int left,
                               int top) override {
        animations_.AniGifNewWithIndex(areaIndex, path, speed, left, top);
    }
    void CreateLoopingVideo(int areaIndex, const frames::HotspotRecord& record,
                            const std::string& path) override {
        video_.CreateLoopingVideo(areaIndex, record, path);
    }
    void ShowHotspotMedia(int areaIndex, bool visible) override;
    void RemoveHotspotMedia() override;
    // Hands a mouse press or a drop on a hotspot's video or animation to the hotspot, at the point
    // of the frame it fell on.
    void PressHotspot(int areaIndex, platform::Point at, const platform::MouseEvent& event);
    void DropOnHotspot(int areaIndex, platform::Control& source);

    // frames::FrameServices
    void ResetTimedEvents() override { timedEvents_.ResetTimedEvents(); }
    void StartTimedEvents() override { timedEvents_.StartTimedEvents(); }
    void ClearTransitionDestination() override { TransitionDestination = nullptr; }
    void EndRunningTransition() override { transitions_.EndRunningTransition(); }
    void TransitionStep1(int number) override { transitions_.TransitionStep1(number); }
    void TransitionStep2(int number, double seconds) override {
        transitions_.TransitionStep2(number, seconds);
    }
    bool EffectsDisabled() override { return window_.EffectsDisabled(); }
    void StopRipplingWater() override { water_.StopRipplingWater(); }
    bool LoadWaveEffectIfAny() override;
    void StartRipplingWater() override { water_.StartRipplingWater(); }
    void TileBackground(platform::Canvas& canvas, const std::string& path) override;
    void DecideControlsReferences() override;
    frames::PluginFrameCode CollectPluginFrameCode(const std::string& pluginData) override;
    bool RunFrameScript(const std::string& code) override;
    void BringInventoryToFront() override { inventory_.bar().BringToFront(); }
    bool IsDialogueRunning() override { return dialogue_.running(); }
    void LoadAndStartDialogue(const std::string& frameName) override {
        dialogue_.LoadAndStartDialogue(frameName);
    }

    // logic::ActionServices
    std::string PickedObjectName(int objectIndex) override {
        return inventory_.PickedObjectName(objectIndex);
    }
    void RemovePickedObject(int objectIndex) override { inventory_.RemovePickedObject(objectIndex); }
    void AddPickedObject(const std::string& name, bool doNotPopup) override {
        inventory_.AddPickedObject(name, doNotPopup);
    }
    void ShowOrNotShowAreas() override { hotspots_.ShowOrNotShowAreas(); }
    void WaitForOneTimeVideo() override {
        hotspots_.WaitWithScreenPointer([this] { video_.WaitForOneTimeVideo(); });
    }
    void ShowTextMessage(const std::string& text, bool inWindow, bool keep) override {
        messages_.ShowTextMessage(text, inWindow, keep);
    }
    bool ExecuteVBScript(const std::string& code, bool resetLastClickPosition) override {
        return scripts_.ExecuteVBScript(code, resetLastClickPosition);
    }
    std::string ExpandPluginCalls(const std::string& pluginText) override {
        return plugins_.ExpandStoredCommands(pluginText, true);
    }
    void QuitCurrentDialogue() override { dialogue_.QuitCurrentDialogue(); }
    void OpenFrame(const std::string& name, bool withTransition, int transitionNumber,
                   double durationSeconds) override {
        loader_.OpenFrame(name, withTransition, transitionNumber, durationSeconds);
    }
    void ShowLoadGameWindow(bool bAbortIfATimerIsEnabled) override;
    void ShowSaveGameWindow() override;

    // saved_games::SavedGamesServices
    saved_games::SavedGame CurrentGame() override;
    void WaitWithEvents(int durationMs) override;
    void BeginLoading() override;
    void ApplyLoadGameDisplayMode() override;
    void ResetForLoad() override { ResetAll(!loadingFromWelcome); }
    void ChangeVariableValue(const std::string& name, int16_t value) override {
        variables_.ChangeVariableValue(name, value, true);
    }
    void AddRemovedHotspot(const std::string& frame, int16_t number) override {
        variables_.Disappear.Add(frame, number, "");
    }
    void AddPickedObject(const std::string& name) override { inventory_.AddPickedObject(name, false); }
    void ClearHistory() override { history_.Clear(); }
    void AddToHistory(const std::string& frame) override { history_.FramesHistoryAdd(frame); }
    void ChangeVariableVariantValue(const std::string& name, const vbscript::Variant& value) override {
        variables_.ChangeVariableVariantValue(name, value);
    }
    void SetCurrentFrameName(const std::string& frame) override { frame_.name = frame; }
    void ExecuteOnLoadVBScript() override { scripts_.ExecuteOnLoadVBScript(VBScriptAction->requests); }
    void ShowScene() override;
    void OpenFrame(const std::string& frame) override { loader_.OpenFrame(frame, false, 0, 0); }
    void ShowGameWindow() override;
    void EndLoading() override;

    // scripting::ActionHost
    void ShowMenus() override { inventory_.ShowMenus(false); }
    void RemoveItem(const std::string& name, bool removeDuplicates) override {
        inventory_.RemoveItem(name, removeDuplicates);
    }
    void RemoveAllItems() override { inventory_.RemoveAllItems(); }
    void HideInventoryButton() override { inventory_.bar().HideInventoryButton(); }
    void ShowInventoryButton() override { inventory_.bar().ShowInventoryButton(); }
    int CreateTimedEvent(double durationSeconds, const std::string& code, bool repeatForever) override {
        return timedEvents_.CreateTimedEvent(durationSeconds, code, repeatForever);
    }
    void RemoveTimedEvent(int number) override { timedEvents_.RemoveTimedEvent(number); }
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
    void ChangeDisplayResolutionOnLoadGame(int16_t mode) override {
        loadGameDisplayMode_ = mode;
        window_.SetLoadGameDisplayMode(mode);
    }
    platform::Point ScreenSize() override { return window_.ScreenSize(); }
    bool TransitionsEnabled() override { return !window_.TransitionsDisabled(); }
    bool EffectsEnabled() override { return !window_.EffectsDisabled(); }
    void EnableOrDisableTransitions() override { window_.EnableOrDisableTransitions(); }
    void EnableOrDisableEffects() override { window_.EnableOrDisableEffects(); }
    void CaptureFrame(platform::Control& pictureBox, bool withoutScreenCapture) override;
    void SetTransitionDestination(vbscript::Ref<vbscript::Object> destination) override {
        TransitionDestination = std::move(destination);
    }

    // inventory::InventoryServices
    void BeginDrag(platform::Control& icon) override {
        if (mouse_) mouse_->BeginDrag(icon);
    }
    const platform::Control* DragSource() override { return mouse_ ? mouse_->dragSource() : nullptr; }
    void ShowMenuBar(bool visible) override { window_.ShowMenuBar(visible); }
    void OpenPopupMenu() override { window_.ShowPopupMenu(); }
    bool AreMenusPinned() override { return window_.IsSubMenuOpen(); }

    // inventory, timed events and dialogues
    bool ExecuteVBScriptAndConsequences(const std::string& code, bool flag) override {
        return actions_.ExecuteVBScriptAndConsequences(code, flag);
    }

    // effects::TransitionServices
    bool TransitionsDisabled() override { return window_.TransitionsDisabled(); }
    void CaptureActualFrame(platform::Canvas& into) override;
    void CaptureCurrentFrame(platform::Canvas& into) override;
    bool TakeTransitionDestination(platform::Canvas& into) override;
    // Components are never created here (there is no component host), so none pauses or goes on the
    // stage; a host of components pauses them and moves those that stay visible onto the stage here.
    void PauseComponents(platform::PictureBox& stage, int transitionNumber) override;
    void ResumeComponents(platform::PictureBox& stage) override;
    void EndGameMessage() override;
    // Animated pictures are drawn by the scene on the game clock and need no restart.
    void RestoreAnimatedPictures() override {}
    void DeleteScratchFile() override;
    // A picture of the frame's picture box or the scene, clipped to the desktop or not.
    void CaptureScene(platform::Canvas& into, bool desktopOnly);
    // The background picture that can carry water: a single picture, not tiled; "" for any other.
    std::string WaterBackground();

    // dialogues::DialogueServices
    void MakeActionAndConsequences(int areaIndex, int objectIndex, bool bDoNotQuitDialogue) override {
        actions_.MakeActionAndConsequences(areaIndex, objectIndex, bDoNotQuitDialogue);
    }
    bool IsMessageVisible() override { return messages_.visible(); }

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    platform::EventLoop& loop_;
    GameWindowServices& window_;
    int16_t ControlsReferencesMode = 0;
    frames::CurrentFrame frame_;
    frames::FramesHistory history_;
    std::unique_ptr<platform::media::AudioEngine> ownAudio_;  // only when none was given
    frames::SoundChannels sounds_;
    frames::VideoPlayers video_;
    frames::AnimatedPictures animations_;
    project::Plugins plugins_;
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
    platform::MouseRouter* mouse_ = nullptr;
    messages::MessageStrip messages_;
    timed_events::TimedEvents timedEvents_;
    inventory::Inventory inventory_;
    dialogues::Dialogue dialogue_;
    std::vector<scripting::NamedObject> controlObjects_;
    scripting::ComponentClasses componentClasses_;
    // The pending clicks of SimulateHotspotClick, one one-shot timer each.
    std::list<platform::Timer> timerSimulateHotspotClick;
    vbscript::Ref<vbscript::Object> TransitionDestination;
    // The mode a script asked loaded games to switch to (0 none); cleared by ResetAll.
    int16_t loadGameDisplayMode_ = 0;
    effects::Transitions transitions_;
    effects::RipplingWater water_;
};

}  // namespace taviro::app
