// One window of the player with everything it stands on: the display, its control tree, the scene
// renderer, the mouse router, the ImGui layer with the message and input boxes, the event loop that
// drives them, and the automation host over all of it. Later windows (welcome, game, load, save) fill
// its form; game code reaches it through the platform interfaces, never through SDL.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/automation/automation_runner.h"
#include "platform/automation/state_dump.h"
#include "platform/controls/menu.h"
#include "platform/controls/mouse_router.h"
#include "platform/dialogs/window_dialogs.h"
#include "platform/events/event_loop.h"
#include "platform/pictures/picture_cache.h"
#include "platform/sdl/display.h"
#include "platform/sdl/imgui_layer.h"
#include "platform/sdl/mouse_cursors.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/ttf_text_renderer.h"

namespace taviro::platform {

class PlayerScreen : public AutomationHost {
public:
    // `automated`: dialogs take queued answers instead of waiting. The clock decides real or virtual time.
    PlayerScreen(const DisplaySettings& settings, Clock& clock, FileSystem& files, bool automated);
    ~PlayerScreen() override;

    Form& form() { return *form_; }
    Display& display() { return display_; }
    EventLoop& loop() { return loop_; }
    TimerQueue& timers() { return timers_; }
    TtfTextRenderer& text() { return *text_; }
    PictureCache& pictures() { return pictures_; }
    MouseRouter& mouse() { return *mouse_; }
    WindowDialogs& dialogs() { return dialogs_; }
    StateDump& stateDump() { return state_; }
    // The name of this window in the state dump: "welcome", "game", ...
    void SetWindowName(std::string name) { windowName_ = std::move(name); }

    // Shows a menu bar (the root's items are its menus) above the form, or none with nullptr. The window
    // grows by the bar's height; frame pixels stay those of the form. The menu must outlive the screen's
    // use of it.
    void SetMenuBar(MenuItem* bar);
    // The height of the menu bar in client pixels (0 without one).
    int menuBarHeight() const { return menuBar_ ? kMenuBarHeight : 0; }
    static constexpr int kMenuBarHeight = 19;

    // The game's key handlers: virtual-key code and shift flags.
    std::function<void(int virtualKey, int shift)> onKeyDown, onKeyUp;
    // Extra ImGui windows of this screen (menus, panels), built in every ImGui frame.
    std::function<void()> buildOverlay;

    // Composes the controls and the ImGui layer into the client surface and shows it.
    void Draw();
    // Runs until the window is closed or the game quits (real time, no automation).
    void RunUntilQuit();

    // AutomationHost
    void Wait(int64_t durationMs) override { loop_.WaitMs(durationMs); }
    void Pump() override { loop_.DoEvents(); }
    void MouseMove(Point at) override;
    void MouseDown(Point at, int button) override;
    void MouseUp(Point at, int button) override;
    void DoubleClick(Point at) override;
    void Key(int virtualKey, int shift) override;
    void Text(const std::string& text) override;
    std::optional<std::string> Press(const std::string& caption) override;
    std::optional<std::string> Select(const std::string& text) override;
    std::optional<std::string> Menu(const std::vector<std::string>& path) override;
    DialogHistory& dialogHistory() override { return history_; }
    void Screenshot(const std::string& file) override;
    nlohmann::ordered_json State() override { return state_.Collect(); }
    void Quit() override { loop_.RequestQuit(); }
    bool quitRequested() const override { return loop_.quitRequested(); }

private:
    void HandleSdlEvents();
    void MakeRenderers();
    void BuildMenuBar();
    // A client point of the window as a point of the form.
    Point ToFrame(Point clientPoint) const { return {clientPoint.x, clientPoint.y - menuBarHeight()}; }
    // True when mouse input at a frame point is the game's: no box open, not on the menu bar or a menu.
    bool GameHasMouse(Point framePoint) const;
    Point ToClient(Point framePoint) const { return {framePoint.x, framePoint.y + menuBarHeight()}; }
    // Shows the pointer of the control under the mouse (a real window only).
    void UpdatePointer(Point at);
    nlohmann::ordered_json DisplayJson() const;

    Clock& clock_;
    Display display_;
    TimerQueue timers_;
    EventLoop loop_;
    PictureCache pictures_;
    std::unique_ptr<Form> form_;
    std::unique_ptr<MouseRouter> mouse_;
    // Made with the display's renderer, and made again when the window's size changes it.
    std::unique_ptr<TtfTextRenderer> text_;
    std::unique_ptr<SceneRenderer> scene_;
    std::unique_ptr<ImGuiLayer> imgui_;
    DialogHistory history_;
    WindowDialogs dialogs_;
    StateDump state_;
    std::unique_ptr<MouseCursors> cursors_;  // none when headless
    MenuItem* menuBar_ = nullptr;
    std::vector<std::string> chosenMenuPath_;  // chosen in the last ImGui frame, run after it
    bool drawing_ = false;
    std::string windowName_ = "game";
    int buttonsHeld_ = 0;
    int64_t lastDrawMs_ = 0;
};

}  // namespace taviro::platform
