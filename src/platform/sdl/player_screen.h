// The screen of the player with everything it stands on: the display, the top-level windows (welcome,
// game, load, save) of which it shows the front one, the scene renderer, the ImGui layer with the menus,
// message and input boxes, the event loop that drives them, and the automation host over all of it.
// Game code reaches it through the platform interfaces, never through SDL.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/automation/automation_runner.h"
#include "platform/automation/state_dump.h"
#include "platform/controls/menu.h"
#include "platform/controls/mouse_router.h"
#include "platform/dialogs/run_from_cd_window_view.h"
#include "platform/dialogs/saved_game_window_view.h"
#include "platform/dialogs/window_dialogs.h"
#include "platform/events/event_loop.h"
#include "platform/pictures/picture_cache.h"
#include "platform/sdl/display.h"
#include "platform/sdl/imgui_layer.h"
#include "platform/sdl/mouse_cursors.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/ttf_text_renderer.h"
#include "platform/windows/top_windows.h"

namespace taviro::platform {

class PlayerScreen : public AutomationHost {
public:
    // `automated`: dialogs take queued answers instead of waiting. The clock decides real or virtual time.
    PlayerScreen(const DisplaySettings& settings, Clock& clock, FileSystem& files, bool automated);
    ~PlayerScreen() override;

    TopWindows& windows() { return windows_; }
    // A new top-level window, hidden, whose labels measure their texts in this screen's fonts.
    TopWindow& LoadWindow(std::string name, int clientWidth, int clientHeight);
    Display& display() { return display_; }
    EventLoop& loop() { return loop_; }
    TimerQueue& timers() { return timers_; }
    TtfTextRenderer& text() { return *text_; }
    PictureCache& pictures() { return pictures_; }
    WindowDialogs& dialogs() { return dialogs_; }
    // The save and load windows of the game.
    SavedGameWindows& savedGameWindows() { return savedGameWindows_; }
    // The insert-CD window of games played from CD.
    RunFromCdWindowView& runFromCdWindows() { return runFromCdWindows_; }
    StateDump& stateDump() { return state_; }

    // What the frame just shown leads to, found at the next idle turn (finding it reads files, which
    // the click that opened the frame should not wait for): `find` starts preparing it.
    void AtNextIdle(std::function<void()> find) { atNextIdle_ = std::move(find); }
    // Prepares the pictures and texts the next frames show: the pictures decoded by the worker and made
    // into textures at idle, the texts measured at idle.
    void PrepareAhead(std::vector<PicturePreloader::Candidates> pictures, std::vector<ShownText> texts);

    // The size of the desktop in pixels: the real one, or for a headless screen the one it was given.
    Point desktopSize() const { return display_.desktopSize(); }

    // A window's menu bar sits above its form and makes the screen that much taller; frame pixels stay
    // those of the form.
    static constexpr int kMenuBarHeight = 19;
    // The height of the front window's menu bar in client pixels (0 without one).
    int menuBarHeight() const;

    // Told when the window is minimised or shown again, and when it loses or gains the focus.
    std::function<void(bool minimised)> minimisedChanged;
    std::function<void(bool focused)> focusChanged;

    // Extra ImGui windows of this screen (menus, panels), built in every ImGui frame.
    std::function<void()> buildOverlay;

    // Composes a control of the front window and everything in it into a canvas of its size, from the
    // scene, never from the screen; with `desktopOnly` the part of it off the desktop is black, as a copy
    // of the screen would have it. Throws GameError when it cannot.
    void CaptureControl(const Control& control, Canvas& into, bool desktopOnly);

    // Composes the controls and the ImGui layer into the client surface and shows it.
    void Draw();
    // Runs until the window is closed or the game quits (real time, no automation).
    void RunUntilQuit();

    // AutomationHost
    void Wait(int64_t durationMs) override { loop_.WaitMs(durationMs); }
    int64_t NowMs() const override { return clock_.NowMs(); }
    void ScheduleNestedCommands(int64_t dueMs, std::function<void()> next) override {
        loop_.SetScriptedInput(dueMs, std::move(next));
    }
    void Pump() override { loop_.DoEvents(); }
    void MouseMove(Point at) override;
    void MouseDown(Point at, int button) override;
    void MouseUp(Point at, int button) override;
    void DoubleClick(Point at) override;
    void Wheel(Point at, int notches) override;
    void Key(int virtualKey, int shift) override;
    void Text(const std::string& text) override;
    std::optional<std::string> Press(const std::string& caption) override;
    std::optional<std::string> Select(const std::string& text) override;
    std::optional<std::string> Menu(const std::vector<std::string>& path) override;
    DialogHistory& dialogHistory() override { return history_; }
    void Screenshot(const std::string& file) override;
    nlohmann::ordered_json State() override {
        FollowFrontWindow();
        return state_.Collect();
    }
    void Quit() override { loop_.RequestQuit(); }
    bool quitRequested() const override { return loop_.quitRequested(); }

private:
    void HandleSdlEvents();
    // Minimised, restored, focus lost or gained: told to whoever listens.
    void WindowEvent(uint8_t event);
    // Gives a key to the window that takes input.
    void KeyTo(int virtualKey, int shift, bool down);
    // The window's close box: the front window decides; without one the program ends.
    void CloseBox();
    void MakeRenderers();
    // Between turns of the loop: finds what the shown frame leads to, makes the textures of pictures
    // decoded ahead and measures texts ahead, a few at a time, and keeps the pictures and textures of
    // frames not shown within the cache's budget.
    void UseIdleTime();
    // Lays the display out for the front window: its size with its menu bar, caption, border, topmost,
    // full screen, dragging. Runs before drawing and before input is given to a window.
    void FollowFrontWindow();
    void BuildMenus();
    // The front window when it may take input, else nullptr.
    TopWindow* InputWindow() const;
    // A client point of the window as a point of the form.
    Point ToFrame(Point clientPoint) const { return {clientPoint.x, clientPoint.y - menuBarHeight()}; }
    // True when mouse input at a frame point is the game's: no box open, not on the menu bar or a menu.
    bool GameHasMouse(Point framePoint) const;
    Point ToClient(Point framePoint) const { return {framePoint.x, framePoint.y + menuBarHeight()}; }
    // Shows the pointer of the control under the mouse (a real window only).
    void UpdatePointer(Point at);
    nlohmann::ordered_json DisplayJson() const;
    // The save or load window when it takes input (no box over it), else nullptr.
    SavedGameWindow* SavedGameInput() const;
    // Runs a button of the save or load window as a handler of the game.
    void RunSavedGameButton(SavedGameWindow::Button button);

    Clock& clock_;
    Display display_;
    TimerQueue timers_;
    EventLoop loop_;
    PictureCache pictures_;
    TopWindows windows_;
    // What the display was last laid out for.
    struct Shown {
        std::string caption;
        bool border = true;
        bool topmost = false;
    } shown_;
    std::unique_ptr<TtfTextRenderer> text_;
    // Made with the display's renderer, and made again when the window's size changes it.
    std::unique_ptr<SceneRenderer> scene_;
    std::unique_ptr<ImGuiLayer> imgui_;
    std::function<void()> atNextIdle_;
    DialogHistory history_;
    WindowDialogs dialogs_;
    SavedGameWindowView savedGameWindows_;
    RunFromCdWindowView runFromCdWindows_;
    StateDump state_;
    std::unique_ptr<MouseCursors> cursors_;    // none when headless
    std::vector<std::string> chosenMenuPath_;  // chosen in the last ImGui frame, run after it
    MenuItem* chosenMenu_ = nullptr;           // the menu that path is in
    bool popupOpen_ = false;                   // ImGui shows the front window's pop-up menu
    bool drawing_ = false;
    int buttonsHeld_ = 0;
    int64_t lastDrawMs_ = 0;
};

}  // namespace taviro::platform
