// Loading, layout, menus, keys and closing of the game window.
#include "app/game_window.h"

#include "platform/input/virtual_keys.h"
#include "scripting/control_objects.h"

namespace taviro::app {

GameWindow::GameWindow(project::Project& project, GameFlags& flags, platform::TopWindows& windows,
                       platform::TopWindow& window, platform::EventLoop& loop, DisplayModes& modes,
                       std::function<void()> unload, platform::media::AudioEngine* audio)
    : project_(project),
      flags_(flags),
      windows_(windows),
      window_(window),
      loop_(loop),
      modes_(modes),
      unload_(std::move(unload)),
      menus_(project, Commands()),
      game_(std::make_unique<Game>(project, flags, window.form(), loop,
                                   static_cast<GameWindowServices&>(*this), audio)),
      TimerUnloadMe(loop.timers()),
      audio_(audio) {
    // The next script takes the mark off the menu bar's item (the pop-up twin keeps it).
    game_->scripts().interceptCodeShown = [this] { menus_.Item("mnuInterceptCode").checked = false; };
    window_.caption = project.information.ProjectTitle;
    game_->UseMouse(window_.mouse());
    // A text box with the keyboard focus takes the keys and the typing; the game's keys work without.
    window_.onKeyDown = [this](int key, int shift) {
        if (!platform::KeyToFocus(window_.form(), key, shift, true)) KeyDown(key, shift);
    };
    window_.onKeyUp = [this](int key, int shift) { platform::KeyToFocus(window_.form(), key, shift, false); };
    window_.onText = [this](const std::string& text) { platform::TextToFocus(window_.form(), text); };
    window_.hiddenMenuBar = &menus_.bar();
    // The close box asks the quit question instead of closing.
    window_.onCloseBox = [this] { Quit(); };
    TimerUnloadMe.SetEnabled(false);
    TimerUnloadMe.SetHandler([this] {
        window_.enabled = true;
        windows_.screenPointer.reset();
        TimerUnloadMe.SetEnabled(false);
        loop_.Defer(unload_);
    });
}

GameWindow::~GameWindow() {
    // The game's controls and timers go before the window that holds them; the menus go with this.
    game_.reset();
    window_.hiddenMenuBar = nullptr;
}

MenuCommands GameWindow::Commands() {
    MenuCommands commands;
    commands.quit = [this] { Quit(); };
    commands.loadGame = [this] { game_->LoadGameCommand(); };
    commands.saveGame = [this] { game_->SaveGameCommand(); };
    commands.toggleFullScreen = [this] { ToggleFullScreen(); };
    commands.hideMenus = [this] { game_->HideMenus(); };
    commands.openFrame = [this](const std::string& frame) { game_->frames().OpenFrame(frame, false, 0, 0); };
    commands.viewVariables = [this] { game_->variables().ViewVariables(); };
    commands.executeVBScript = [this] { game_->ExecuteVBScriptCommand(); };
    commands.editProcedures = [this] { game_->EditProceduresCommand(); };
    commands.interceptCode = [this] { InterceptCode(); };
    commands.effectsSwitched = [this] { game_->EffectsSwitched(); };
    commands.subMenuOpened = [this] {
        if (!project_.information.windowed) subMenuOpen_ = true;
    };
    return commands;
}

void GameWindow::Quit() {
    platform::MessageBoxRequest request{project_.information.ProjectTitle, project_.UITexts[10],
                                        platform::MessageIcon::Question, platform::MessageButtons::YesNo};
    if (project_.reports().dialogs().MessageBox(request) == platform::MessageAnswer::Yes) StartUnloading();
}

void GameWindow::StartUnloading() {
    flags_.StopMovie = true;
    flags_.bInterruptTransition = true;
    flags_.GameStopping = true;
    TimerUnloadMe.SetIntervalMs(kUnloadDelayMs);
    windows_.screenPointer = platform::MousePointer::Hourglass;
    window_.enabled = false;
    TimerUnloadMe.SetEnabled(true);
}

void GameWindow::StopForUnload() {
    windows_.Hide(window_);
    loop_.DoEvents();
    game_->StopPlaying();
    modes_.RestoreStartupMode();
    // The welcome window gets the pointer back whatever the game's last wait left.
    windows_.screenPointer.reset();
    windows_.pointerHidden = false;
}

void GameWindow::KeyDown(int virtualKey, int shift) {
    // Any key ends a running transition.
    game_->InterruptTransition();
    if (virtualKey == platform::vk::kEscape) game_->Escape();
    if (!window_.enabled) return;
    // The player's own keys with Alt: full screen where the game offers it, and a screenshot.
    if (shift == platform::kAltKey) {
        if (virtualKey == platform::vk::kReturn && project_.information.offerFullScreenToggle) {
            ToggleFullScreen();
        } else if (virtualKey == 'S' && takeScreenshot) {
            takeScreenshot();
        }
    }
    if (shift == platform::kCtrlKey) {
        const project::ProjectInformation& info = project_.information;
        if (virtualKey == 'L' && !info.loadingDisabled) {
            menus_.Run("mnuLoadGame");
        } else if (virtualKey == 'S' && !info.savingDisabled) {
            menus_.Run("mnuSaveGame");
        } else if (virtualKey == 'Q') {
            Quit();
        } else if (virtualKey == 'M' && audio_) {
            // The player's own keys, not the game's: sound on or off, and the player's settings.
            audio_->SetMuted(!audio_->muted());
        } else if (virtualKey == 'O' && togglePlayerSettings) {
            togglePlayerSettings();
        }
    }
    TrackDebugKey(virtualKey);
}

void GameWindow::TrackDebugKey(int virtualKey) {
    if (debugKeyState_ < 4 && virtualKey == kDebugKeys[debugKeyState_]) {
        if (++debugKeyState_ < 4) return;
        menus_.ShowDebugMenu();
    }
    debugKeyState_ = 0;
}

void GameWindow::ToggleFullScreen() {
    modes_.windowed = !modes_.windowed;
    if (modes_.windowed) {
        modes_.RestoreStartupMode();
    } else if (modes_.lastRequested() != platform::Point{} && modes_.current() != modes_.lastRequested()) {
        modes_.ChangeDisplayMode(modes_.lastRequested());
    }
    game_->HideMenus();
    CenterWindowAndPictureBox();
}

void GameWindow::CenterWindowAndPictureBox() {
    const project::ProjectInformation& info = project_.information;
    platform::Point size = ProjectFrameSize(info);
    platform::Rect scene{0, 0, size.x, size.y};
    if (platform::Control* box = window_.form().Find("PictureBox")) box->SetBounds(scene);
    // The screen centres the window on the desktop and scales it in full screen; the scene fills it.
    window_.form().SetBounds(scene);
    window_.fullScreen = !modes_.windowed;
    window_.border = modes_.windowed;
    window_.caption = info.ProjectTitle;
}

void GameWindow::ResetMenus() {
    menus_.RebuildFrameLists();
    menus_.ApplyProtectionLevel();
    menus_.LoadCheckMarks();
}

bool GameWindow::IsMenuBarShown() const { return window_.menuBar != nullptr; }

void GameWindow::ShowMenuBar(bool shown) {
    if (shown) subMenuOpen_ = false;
    window_.menuBar = shown && !project_.information.neverShowMenus ? &menus_.bar() : nullptr;
}

}  // namespace taviro::app

namespace taviro::app {

void GameWindow::InterceptCode() {
    bool checked = !menus_.Item("mnuInterceptCode").checked;
    menus_.Item("mnuInterceptCode").checked = menus_.PopupItem("mnuInterceptCode").checked = checked;
    game_->scripts().interceptCode = checked;
}

void GameWindow::SwitchToMode(int mode) {
    if (!modes_.SwitchToMode(mode)) return;
    // The player is shown the hourglass for a second while the screen settles.
    loop_.DoEvents();
    windows_.screenPointer = platform::MousePointer::ArrowHourglass;
    loop_.WaitMs(1000);
    windows_.screenPointer.reset();
    CenterWindowAndPictureBox();
}

std::vector<scripting::NamedObject> GameWindow::MenuObjects() {
    std::vector<scripting::NamedObject> objects;
    const std::pair<const char16_t*, const char*> menus[] = {
        {u"ExitMenuObject", "mnuExit"},
        {u"SaveMenuObject", "mnuSaveGame"},
        {u"LoadMenuObject", "mnuLoadGame"},
        {u"OptionsMenuObject", "mnuOptions"},
        {u"DebugMenuObject", "mnuDebug"},
        {u"DisableEffectsMenuObject", "mnuDisableEffects"},
        {u"TransitionsMenuObject", "mnuDisableTransitions"}};
    for (const auto& [name, item] : menus)
        objects.push_back({name, vbscript::MakeRef<scripting::MenuObject>(menus_.Item(item)), false});
    return objects;
}

}  // namespace taviro::app
