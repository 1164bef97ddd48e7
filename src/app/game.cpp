// The game window's subsystems and the glue between them.
#include "app/game.h"

#include <filesystem>

#include "app/display_modes.h"
#include "frames/mixer_media_player.h"
#include "platform/controls/control_kinds.h"
#include "platform/controls/list_controls.h"
#include "platform/game_error.h"
#include "platform/media/mixer.h"
#include "project/game_folders.h"
#include "scripting/control_objects.h"
#include "scripting/engine_object.h"
#include "scripting/media_player_object.h"
#include "scripting/video_player_object.h"

namespace taviro::app {
namespace {

constexpr char kReferenceAllControls[] = "reference_all_controls";
constexpr char kDisableScriptTimeout[] = "disable_script_timeout";
// The mixer's voice of the one-time video's sound, after the eight sound players'.
constexpr int kOneTimeVideoVoice = 8;
// The mixer's voices of the media players that scripts add as components: the rest.
constexpr int kFirstComponentVoice = 9;

// The clock of the script time-out. The virtual clock stands still while a script runs, so there
// every look at the clock by a running script (one per few thousand instructions) counts as a few
// milliseconds: an endless loop ends after its time-out in headless play too, and at the same
// point in every run.
vbscript::Engine::ClockMs ScriptClock(platform::Clock& clock) {
    constexpr int64_t kMsPerLook = 4;
    if (!clock.IsVirtual()) return [&clock] { return clock.NowMs(); };
    return [&clock, looks = int64_t{0}]() mutable { return clock.NowMs() + kMsPerLook * ++looks; };
}

}  // namespace

Game::Game(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
           GameWindowServices& window, platform::media::AudioEngine* audio)
    : project_(project),
      flags_(flags),
      form_(form),
      loop_(loop),
      window_(window),
      ownAudio_(audio ? nullptr : std::make_unique<platform::media::AudioEngine>(loop.clock(), false)),
      sounds_(project, loop.timers(),
              [&project,
               &engine = audio ? *audio : *ownAudio_](int number) -> std::unique_ptr<frames::MediaPlayer> {
                  return std::make_unique<frames::MixerMediaPlayer>(engine, project.files(), number);
              }),
      video_(project, flags, form, loop, audio ? audio : ownAudio_.get(), kOneTimeVideoVoice),
      animations_(project, flags, form, loop.clock()),
      plugins_(project),
      variables_(project),
      texts_(project, flags, form, frame_, *this),
      hotspots_(project, flags, form, frame_, *this),
      loader_(project, flags, form, loop.timers(), frame_, history_, texts_, hotspots_, sounds_, video_,
              *this),
      VBScriptAction(vbscript::MakeRef<scripting::VBScriptActionModule>(
          project, flags, variables_, frame_, ControlsReferencesMode,
          static_cast<scripting::ActionHost&>(*this))),
      scripts_(project, flags, variables_, VBScriptAction, ControlsReferencesMode, ScriptClock(loop.clock()),
               [&loop] { return loop.clock().LocalTimeMs(); }),
      actions_(project, flags, variables_, history_, frame_, VBScriptAction->requests, sounds_, video_,
               *this),
      messages_(project, form, loop.timers(), *this),
      timedEvents_(project, flags, form, loop.timers(), *this),
      inventory_(project, flags, form, loop, frame_, *this),
      dialogue_(project, flags, form, loop, frame_, *this),
      componentClasses_(form, loop.timers()),
      transitions_(project, flags, form, loop, loader_.frameTimer(), *this),
      water_(project, flags, loop.timers(),
             effects::WaterPictures{
                 [this](platform::Canvas& into, const std::string& path, const platform::Rect& area) {
                     if (!copyPicture) throw errors::FileNotFound();
                     copyPicture(into, path, area);
                 },
                 [this](const std::string& path) -> std::optional<platform::Point> {
                     if (!pictureSize) return std::nullopt;
                     return pictureSize(path);
                 }}) {
    BuildScene();
    WireVideoAndAnimations();
    SetUpComponents();
    componentClasses_.UseMediaClasses(
        std::make_unique<scripting::MediaComponents>(scripting::MediaComponents::Services{
            form_, loop.timers(), project_.files(), audio ? audio : ownAudio_.get(), kFirstComponentVoice,
            platform::media::Mixer::kVoices - kFirstComponentVoice, project_.paths.ProjectPath,
            [this](const std::string& path) { return project_.LocateProjectFile(path); },
            [this](const std::string& path) -> std::optional<platform::Point> {
                return pictureSize ? pictureSize(path) : std::nullopt;
            }}));
    scripts_.resetClickPosition = [this] { hotspots_.SaveClickPos(0, 0); };
    scripts_.controlObjects = [this] { return ControlObjects(); };
    scripts_.softwareObjects = [this] {
        return vbscript::MakeRef<scripting::FormObject>(
            form_, scripting::MediaPlayerControls(sounds_, project_.paths.ProjectPath));
    };
    startProgram = platform::StartProgram;
    environment_.screenSize = [this] { return window_.ScreenSize(); };
    environment_.clipboardText = [this] { return clipboardText ? clipboardText() : clipboard_; };
    environment_.setClipboardText = [this](const std::string& text) {
        if (setClipboardText) {
            setClipboardText(text);
        } else {
            clipboard_ = text;
        }
    };
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
    video_.AddControls(scene);
    animations_.AddControls(scene);
    // Over the scene, back to front: the dialogue panel, the message strip, the inventory bar.
    dialogue_.AddControls(scene);
    messages_.AddControls(scene);
    inventory_.AddControls();
    timedEvents_.AddControls();
    // Hidden controls of the window that scripts may use.
    scene.Add(std::make_unique<platform::CheckBox>("CheckBox")).SetVisible(false);
    auto& line =
        static_cast<platform::LineControl&>(scene.Add(std::make_unique<platform::LineControl>("LineObject")));
    line.SetEnds({0, 0}, {80, 0});
    line.SetVisible(false);
    scene.Add(std::make_unique<platform::ShapeControl>("Shape")).SetBounds({0, 0, 81, 81});
    form_.Find("Shape")->SetVisible(false);
    scene.Add(std::make_unique<platform::TextBox>("TextBox")).SetBounds({0, 0, 81, 21});
    form_.Find("TextBox")->SetVisible(false);
    scene.Add(std::make_unique<platform::PictureBox>("PicBox")).SetVisible(false);
    scene.Add(std::make_unique<platform::ListBox>("ListBox")).SetVisible(false);
    scene.Add(std::make_unique<platform::ImageControl>("ImgBox")).SetVisible(false);
    // The file, folder and drive lists show the game's folder as drive C beside the drives the player
    // offers, and the component classes' lists the same.
    auto folders = std::make_shared<project::GameFolders>(project_.files(), project_.paths.ProjectPath,
                                                          project_.cd().Drives());
    componentClasses_.folders = folders;
    auto folderList = [&](std::unique_ptr<platform::FolderListBox> list) {
        list->SetBounds({0, 0, 81, 69});
        list->SetVisible(false);
        list->SetSource(folders);
        scene.Add(std::move(list));
    };
    folderList(std::make_unique<platform::FileListBox>("FileBox"));
    folderList(std::make_unique<platform::DirListBox>("DirBox"));
    folderList(std::make_unique<platform::DriveListBox>("DriveBox"));
    // The water's box, like every box, lies above the frame's pictures and texts; the transitions'
    // stage over everything.
    water_.AddControls(scene);
    transitions_.AddControls();
}

std::vector<scripting::NamedObject> Game::ControlObjects() {
    if (!controlObjects_.empty()) return controlObjects_;
    // The objects keep no control: each finds its own by name at every use.
    auto array = [this](const char* name) -> vbscript::Ref<vbscript::Object> {
        return vbscript::MakeRef<scripting::ControlArrayObject>(form_, name);
    };
    auto control = [this](const std::string& name) -> vbscript::Ref<vbscript::Object> {
        return vbscript::MakeRef<scripting::ControlObject>(form_, name, std::nullopt);
    };
    controlObjects_ = {
        {u"Hotspot", array("Area"), true},
        {u"Text", array("Text"), true},
        {u"ScreenObject", scripting::MakeScreenObject(environment_), true},
        {u"AppObject", scripting::MakeAppObject(project_), true},
        {u"PrinterObject", scripting::MakePrinterObject(), true},
        {u"PrintersCollection", scripting::MakePrintersCollection(), true},
        {u"ClipboardObject", scripting::MakeClipboardObject(environment_), true},
        {u"TimerObject", array("TimerObject"), true},
        {u"VideoPlayerObject",
         vbscript::MakeRef<scripting::VideoPlayerObject>(
             [this]() -> frames::VideoPlayer& { return video_.GetOneTimeVideoPlayerRef(); },
             project_.paths.ProjectPath),
         true},
        {u"CheckBoxObject", control("CheckBox"), false},
        {u"LineObject", control("LineObject"), false},
        {u"ShapeObject", control("Shape"), false},
        {u"TextBoxObject", control("TextBox"), false},
        {u"PictureBoxObject", control("PicBox"), false},
        {u"ListBoxObject", control("ListBox"), false},
        {u"ImageBoxObject", control("ImgBox"), false},
        {u"FileBoxObject", control("FileBox"), false},
        {u"DirBoxObject", control("DirBox"), false},
        {u"DriveBoxObject", control("DriveBox"), false},
        {u"MessageObject", control("LabelMessageBox"), false},
        {u"MessageCanvasObject", control("FrameMessageBox"), false},
        {u"MessageTimerObject", control("TimerMessageBox"), false},
        {u"DialogueObject", array("lblDialogue"), false},
        {u"DialogueCanvasObject", control("fmeDialogue"), false},
        {u"BackgroundObject", control("PictureBox"), false},
        {u"BackgroundHotspotObject", array("BackImage"), false},
        {u"InventoryItemObject", array("PickedObject"), false},
        {u"InventoryButtonObject", control("Inventory2"), false},
        {u"InventoryCanvasObject", control("Inventory1"), false},
        {u"InventoryBackgroundObject", control("Inventory_Background"), false},
        {u"InventoryTimerObject", control("TimerInventory"), false},
        {u"FramesHistoryObject", vbscript::MakeRef<scripting::FramesHistoryObject>(history_), false},
        {u"RipplingWaterObject", control("PicRipplingWater"), false},
        {u"AnimatedGifObject", array("AniGif"), false},
        {u"AnimatedGifCanvasObject", array("AniGifBox"), false},
        {u"ScriptControlObject", vbscript::MakeRef<scripting::EngineObject>(scripts_.ScriptControl), false},
        {u"ScriptControl2Object", vbscript::MakeRef<scripting::EngineObject>(scripts_.ScriptControl2), false},
        {u"TimedEventObject", array("TimedEvent"), false},
        {u"WindowObject", control(form_.name()), false},
    };
    for (scripting::NamedObject& menu : window_.MenuObjects()) controlObjects_.push_back(std::move(menu));
    return controlObjects_;
}

void Game::ExecuteVBScriptCommand() {
    // 1-2. The code typed last time is offered again.
    std::string code = project_.GetSetting("ExecuteVBScriptCode").value_or("");
    try {
        std::optional<std::string> answer = project_.reports().dialogs().InputBox(
            "Execute VBScript Code (for advanced users)",
            "Enter the VBScript code that you want to execute and then click OK.\n\nFor example, to "
            "retrieve the value of a variable, use the following code:\n\n                MsgBox "
            "VARIABLE_NAME\n\n",
            code);
        // 3. Nothing typed, nothing run; the Action requests of the code take effect.
        if (!answer || answer->empty()) return;
        code = *answer;
        actions_.ExecuteVBScriptAndConsequences(code, true);
        project_.SaveSetting("ExecuteVBScriptCode", code);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        // 4. Any other failure.
        platform::MessageBoxRequest request{
            "Error Executing VBScript Code",
            "Unable to execute the following VBScript code:\n\n" + code + "\n\n" + error.description(),
            platform::MessageIcon::Critical, platform::MessageButtons::Ok};
        project_.reports().dialogs().MessageBox(request);
    }
}

void Game::EditProceduresCommand() {
    platform::MessageBoxRequest request{
        "Not Available", "This command is not available in the compiled version of the project.",
        platform::MessageIcon::Information, platform::MessageButtons::Ok};
    project_.reports().dialogs().MessageBox(request);
}

void Game::OpenDocument(const std::string& address) {
    if (!openDocument || !openDocument(address)) throw GameError(5, "Invalid procedure call or argument");
}

void Game::ShellAndWait(const std::string& path) {
    // 1. No input and no frame timer while the program runs.
    platform::Timer& frameTimer = loader_.frameTimer();
    bool timerWasOn = frameTimer.enabled();
    window_.EnableWindow(false);
    frameTimer.SetEnabled(false);
    // 3. Wait for its end, letting events run every 100 milliseconds.
    try {
        if (!startProgram) throw errors::FileNotFound();
        std::unique_ptr<platform::RunningProgram> program = startProgram(path);
        while (program->Running()) loop_.WaitMs(100);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        platform::MessageBoxRequest request{
            "Error",
            "Error launching external application. Probably file not found (" + error.description() + ").",
            platform::MessageIcon::None, platform::MessageButtons::Ok};
        project_.reports().dialogs().MessageBox(request);
    }
    // 4. Input and the frame timer as they were.
    window_.EnableWindow(true);
    frameTimer.SetEnabled(timerWasOn);
}

void Game::DoComponentsEvents() {
    window_.EnableWindow(false);
    loop_.DoEvents();
    loop_.clock().SleepMs(5);
    window_.EnableWindow(true);
}

void Game::SimulateHotspotClick(int16_t number) {
    platform::Timer& timer = timerSimulateHotspotClick.emplace_back(loop_.timers());
    auto self = std::prev(timerSimulateHotspotClick.end());
    // The timer queue runs a copy of the handler, so the handler may remove its own timer.
    timer.SetHandler([this, self, number] {
        timerSimulateHotspotClick.erase(self);
        if (number != 0) hotspots_.AreaClick(number, platform::kLeftButton);
    });
    timer.SetIntervalMs(1);
    timer.SetEnabled(true);
}

void Game::ResetDefaultPointer() {
    hotspots_.ApplyDefaultPointer(form_);
    for (platform::Control* area : form_.Elements("Area")) hotspots_.ApplyDefaultPointer(*area);
}

void Game::SavePicture(const std::string& picturePath, const std::string& file) {
    if (!savePicture) throw errors::PathFileAccessError();
    savePicture(picturePath, file);
}

void Game::CaptureScene(platform::Canvas& into, bool desktopOnly) {
    platform::Control* scene = form_.Find("PictureBox");
    if (!scene) return;
    into.Resize(scene->bounds().width, scene->bounds().height);
    if (!captureControl) {
        std::fill(into.data(), into.data() + into.width() * into.height(), 0xFF000000u);
        return into.Painted();
    }
    captureControl(*scene, into, desktopOnly);
}

void Game::CaptureActualFrame(platform::Canvas& into) {
    // The inventory lies over the frame outside its picture box, so the frame's picture box never
    // shows it; only what the desktop shows of the window is seen.
    CaptureScene(into, true);
}

void Game::CaptureCurrentFrame(platform::Canvas& into) { CaptureScene(into, false); }

bool Game::TakeTransitionDestination(platform::Canvas& into) {
    if (!TransitionDestination) return false;
    vbscript::Ref<vbscript::Object> destination = std::move(TransitionDestination);
    TransitionDestination = nullptr;
    auto* object = dynamic_cast<scripting::ControlObject*>(destination.get());
    platform::Control* control = object ? object->Find() : nullptr;
    if (!control || !captureControl) return false;
    // The box's image at the frame's top-left corner, black where it does not reach.
    platform::Canvas image(1, 1);
    captureControl(*control, image, false);
    std::fill(into.data(), into.data() + into.width() * into.height(), 0xFF000000u);
    into.Copy(image.view(), {0, 0, image.width(), image.height()}, 0, 0);
    return true;
}

void Game::CaptureFrame(platform::Control& pictureBox, bool withoutScreenCapture) {
    auto* box = dynamic_cast<platform::PictureBox*>(&pictureBox);
    if (!box) throw GameError(13, "Type mismatch");
    platform::Canvas frame(1, 1);
    CaptureScene(frame, !withoutScreenCapture);
    platform::Canvas& canvas = box->canvas();
    std::fill(canvas.data(), canvas.data() + canvas.width() * canvas.height(), 0xFF000000u);
    canvas.Copy(frame.view(), {0, 0, frame.width(), frame.height()}, 0, 0);
}

void Game::EndGameMessage() {
    // The strip's hide timer runs only for a message that is to go by itself.
    if (messages_.hideIntervalMs() > 0) messages_.Hide();
}

void Game::DeleteScratchFile() {
    const std::string path = project_.paths.ProjectPath + "Temp001.dat";
    if (!project_.files().IsFile(path)) return;
    // A scratch file that cannot be removed is left; the transition has ended either way.
    std::error_code ignored;
    std::filesystem::remove(project_.files().Resolve(path), ignored);
    project_.files().Forget();
}

std::string Game::WaterBackground() {
    const frames::FrameHeader& header = frame_.header;
    auto* scene = dynamic_cast<platform::PictureBox*>(form_.Find("PictureBox"));
    if (!scene || header.backgroundKind != 1 || header.tiled) return "";
    return scene->picture;
}

bool Game::LoadWaveEffectIfAny() {
    const std::string background = WaterBackground();
    return !background.empty() && water_.LoadWaveEffectIfAny(frame_.name, background);
}

void Game::EffectsSwitched() {
    water_.EffectsSwitched(!window_.EffectsDisabled(), frame_.name, WaterBackground());
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
        loadGameDisplayMode_ = 0;
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
        // 10. Plugins, variables, procedures and the components' engine.
        plugins_.LoadPlugins();
        scripts_.pluginScripts = plugins_.ScriptCodes();
        scripts_.pluginStartupScripts = plugins_.StartupCodes();
        variables_.LoadVariables(plugins_.IntegerVariables(), plugins_.VariantVariables());
        scripts_.ProjectProcedures = scripts_.LoadProjectProcedures();
        scripts_.AddCodeToScriptControl(scripts_.ScriptControl2, "");
        VBScriptAction->components.ResetComponents();
        VBScriptAction->components.BuildAllEventsList(scripts_.ScriptControl2.Procedures());
        // 12-13. Silence, and the script time-out of the project.
        sounds_.ResetPlayers();
        scripts_.ApplyScriptTimeOut();
    } catch (const std::exception&) {
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
    auto closed = [this, frameTimerWasOn] {
        loader_.frameTimer().SetEnabled(frameTimerWasOn);
        timedEvents_.StartTimedEvents();
    };
    if (saveGameWindow) {
        saveGameWindow(closed);
    } else {
        closed();
    }
}

void Game::ShowLoadGameWindow(bool bAbortIfATimerIsEnabled) {
    // A script timer that runs keeps the player from loading through the menus and keys.
    if (bAbortIfATimerIsEnabled)
        for (const platform::TimerControl* timer : timedEvents_.ScriptTimers())
            if (timer->enabled() && timer->intervalMs() > 0) return;
    platform::Timer& frameTimer = loader_.frameTimer();
    const bool frameTimerWasOn = frameTimer.enabled();
    frameTimer.SetEnabled(false);
    timedEvents_.PauseTimedEvents();
    // A loaded game has opened its own frame; a cancelled window gives the frame back what it had.
    auto closed = [this, frameTimerWasOn](bool loaded) {
        if (loaded) return;
        loader_.frameTimer().SetEnabled(frameTimerWasOn);
        timedEvents_.StartTimedEvents();
    };
    if (loadGameWindow) {
        loadGameWindow(closed);
    } else {
        closed(false);
    }
}

void Game::StartNewGame() {
    frame_.name = project_.information.InitialFrame;
    scripts_.ExecuteOnLoadVBScript(VBScriptAction->requests);
    loader_.OpenFrame(frame_.name, false, 0, 0);
}

void Game::WireVideoAndAnimations() {
    video_.hideMenus = [this] { HideMenus(); };
    video_.hotspotMouseDown = [this](int areaIndex, const platform::MouseEvent& event) {
        platform::Control* container = video_.LoopingContainer(areaIndex);
        if (container) PressHotspot(areaIndex, {container->bounds().x, container->bounds().y}, event);
    };
    animations_.mouseDown = [this](int areaIndex, platform::Control& box, const platform::MouseEvent& event) {
        PressHotspot(areaIndex, {box.bounds().x, box.bounds().y}, event);
    };
    animations_.mouseMove = [this](int) { RequestHideInventory(); };
    animations_.dragOver = [this](int) { HideInventoryIfItem(); };
    animations_.dragDrop = [this](int areaIndex, platform::Control& source) {
        DropOnHotspot(areaIndex, source);
    };
}

void Game::PressHotspot(int areaIndex, platform::Point at, const platform::MouseEvent& event) {
    platform::Control* area = form_.Find("Area", areaIndex);
    if (!area || !area->events.mouseDown) return;
    // A copy: the action may unload the hotspot, and its handler with it.
    auto handler = area->events.mouseDown;
    platform::MouseEvent onArea = event;
    onArea.x = at.x + event.x - area->bounds().x;
    onArea.y = at.y + event.y - area->bounds().y;
    handler(*area, onArea);
}

void Game::DropOnHotspot(int areaIndex, platform::Control& source) {
    platform::Control* area = form_.Find("Area", areaIndex);
    if (!area || !area->events.dragDrop) return;
    auto handler = area->events.dragDrop;
    handler(*area, source, 0, 0);
}

void Game::ShowHotspotMedia(int areaIndex, bool visible) {
    video_.ShowLoopingVideo(areaIndex, visible);
    animations_.Show(areaIndex, visible);
}

void Game::RemoveHotspotMedia() {
    video_.RemoveLoopingVideos();
    animations_.RemoveAll();
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
