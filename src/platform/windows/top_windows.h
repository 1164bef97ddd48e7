// The top-level windows of the player (welcome, game, load, save): each a form with its caption,
// border, menus and key handlers. One screen shows the front-most visible window; the others wait
// behind it, as the original's hidden forms do.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/menu.h"
#include "platform/controls/mouse_router.h"

namespace taviro::platform {

class TopWindow {
public:
    TopWindow(std::string name, int clientWidth, int clientHeight);
    TopWindow(const TopWindow&) = delete;
    TopWindow& operator=(const TopWindow&) = delete;

    // The name of the window in the state dump: "welcome", "game", ...
    const std::string& name() const { return name_; }
    Form& form() { return form_; }
    const Form& form() const { return form_; }
    MouseRouter& mouse() { return mouse_; }
    bool visible() const { return visible_; }

    std::string caption;
    bool border = true;
    bool topmost = false;
    // The window fills the screen, scaled to fit, instead of being shown as a window.
    bool fullScreen = false;
    // A disabled window takes no mouse or key input.
    bool enabled = true;
    // The menu bar above the form, nullptr for none; the menu must outlive its use here.
    MenuItem* menuBar = nullptr;
    // The menu bar's commands even while the bar is hidden, so that automation can choose them.
    MenuItem* hiddenMenuBar = nullptr;

    // The game's key handlers: virtual-key code and shift flags.
    std::function<void(int virtualKey, int shift)> onKeyDown, onKeyUp;
    // Text the player typed (UTF-8), after the key presses that made it.
    std::function<void(const std::string& utf8)> onText;
    // The close box: the window decides what closing means (a question, or ending the program).
    std::function<void()> onCloseBox;
    // True where a client point of the form shows only background, so that pressing the left button
    // there drags a window without a border. Empty: no dragging.
    std::function<bool(Point framePoint)> isDragArea;

    // Shows the menu at the mouse until the player chooses an item or clicks elsewhere.
    void PopupMenu(MenuItem& menu) { popupMenu_ = &menu; }
    MenuItem* popupMenu() const { return popupMenu_; }
    void ClosePopupMenu() { popupMenu_ = nullptr; }

private:
    friend class TopWindows;
    std::string name_;
    Form form_;
    MouseRouter mouse_;
    bool visible_ = false;
    MenuItem* popupMenu_ = nullptr;
};

class TopWindows {
public:
    // A new window, hidden, behind every other.
    TopWindow& Load(std::string name, int clientWidth, int clientHeight);
    // Destroys the window. Never call it from a handler of one of its controls: defer it to the loop.
    void Unload(TopWindow& window);

    // Shows the window in front of the others.
    void Show(TopWindow& window);
    void Hide(TopWindow& window);

    // The visible window in front, which the screen shows and which takes input; nullptr if none.
    TopWindow* front() const;
    // The window with that name, or nullptr.
    TopWindow* Find(const std::string& name) const;
    // The names of the visible windows, back to front.
    std::vector<std::string> VisibleNames() const;

    // A pointer shown over the whole screen whatever is under the mouse (the hourglass while the
    // game closes), or none; a Custom one shows the picture screenPointerIcon.
    std::optional<MousePointer> screenPointer;
    std::string screenPointerIcon;
    // No pointer at all over the screen (while a video plays, when the game asks for it).
    bool pointerHidden = false;

private:
    std::vector<std::unique_ptr<TopWindow>> windows_;  // back to front
};

}  // namespace taviro::platform
