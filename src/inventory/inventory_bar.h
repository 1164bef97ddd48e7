// The inventory bar: the canvas at the top of the game window that holds the item icons
// (Inventory1), its background picture (Inventory_Background), the menu button in it (imgShowMenus),
// the inventory button that calls it down (Inventory2) and the pop-up timer (TimerInventory). The bar
// hides above the window and slides down over 0.3 second of game time.
#pragma once

#include <functional>

#include "inventory/inventory_options.h"
#include "platform/controls/form.h"
#include "platform/events/event_loop.h"
#include "project/project.h"

namespace taviro::inventory {

class InventoryBar {
public:
    InventoryBar(project::Project& project, platform::Form& form, platform::EventLoop& loop,
                 const InventoryOptions& options);

    // Creates the bar's controls on the form, in front of what is there.
    void AddControls();
    // The bar back in the state of a fresh game: hidden (or shown when it never hides), one row high,
    // with the project's pictures (Load_InventoryBackground).
    void Reset();

    // Asks the bar to come down or go up. Slides unless it already moves (then it turns round), or jumps
    // when the project does not slide it. Pumps events while it slides.
    void ShowInventory();
    void HideInventory();
    // HideInventory, unless the right button alone shows and hides the bar.
    void RequestHideInventory();
    // Puts the bar out of sight at once.
    void Inventory_Hide();
    // The pictures of the bar, the inventory button and the menu button; failures end it quietly.
    void Load_InventoryBackground();

    // A new item: the bar comes down and stays two seconds.
    void PopUp();
    // Fits the bar to `count` icons: its height, and hidden when empty, as the project asks.
    void FitToItems(int count);
    // The bar and its button in front of the scene; icons first, then the button, then the bar.
    void BringToFront();
    // The script commands HideInventoryButton and ShowInventoryButton.
    void HideInventoryButton();
    void ShowInventoryButton();

    // Controls of the bar that the inventory's own handlers are attached to.
    platform::PictureBox& canvas() { return *canvas_; }
    bool shown() const { return shown_; }
    bool moving() const { return moving_; }
    bool poppedUp() const { return poppedUp_; }
    int top() const { return canvas_->bounds().y; }
    int height() const { return canvas_->bounds().height; }

    // The menu button was clicked.
    std::function<void()> onMenuButton;

private:
    enum class Direction { None, Show, Hide };
    void Request(Direction direction);
    void Inventory_Move();
    void JumpToEnd();
    void PopUpTimerTick();
    void AttachShowEvents(platform::Control& control);
    // An existing file of the folder named in an option, or "" for none or "default".
    std::string OptionPicture(const std::string& folder, const std::string& name) const;

    project::Project& project_;
    platform::Form& form_;
    platform::EventLoop& loop_;
    const InventoryOptions& options_;
    platform::PictureBox* canvas_ = nullptr;
    platform::ImageControl* background_ = nullptr;
    platform::PictureBox* menuButton_ = nullptr;
    platform::PictureBox* button_ = nullptr;
    platform::TimerControl* popUpTimer_ = nullptr;
    Direction direction_ = Direction::None;
    bool shown_ = false;
    bool moving_ = false;
    bool poppedUp_ = false;
};

}  // namespace taviro::inventory
