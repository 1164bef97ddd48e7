// The inventory bar's controls, its movement and its pictures.
#include "inventory/inventory_bar.h"

#include <algorithm>
#include <cmath>

#include "platform/files/file_system.h"
#include "platform/game_error.h"

namespace taviro::inventory {
namespace {

constexpr int64_t kPopUpMs = 2000;
constexpr int64_t kMoveStepMs = 10;  // game time between two steps of the slide
constexpr int64_t kSlideMs = 300;    // the whole height slides in this time
constexpr int kStepsPerMeasure = 5;  // the step is measured again after this many steps
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 20;
constexpr platform::ColorBgr kBarColor = 0x283848;     // dark brown
constexpr platform::ColorBgr kButtonColor = 0x30506C;  // lighter brown
constexpr platform::ColorBgr kCaptionColor = 0xD8F0FF;

// A built-in picture: a coloured box with a caption in the middle.
platform::PictureBox& CaptionedBox(platform::Control& parent, const std::string& name,
                                   const std::string& caption, platform::Rect bounds) {
    auto box = std::make_unique<platform::PictureBox>(name);
    box->backColor = kButtonColor;
    box->SetBounds(bounds);
    auto label = std::make_unique<platform::Label>(name + "Caption");
    label->caption = caption;
    label->font = {.name = "Arial", .sizePoints = 8, .bold = true};
    label->foreColor = kCaptionColor;
    label->transparent = true;
    label->alignment = 2;
    label->SetBounds({0, (bounds.height - 14) / 2, bounds.width, 14});
    box->Add(std::move(label));
    return static_cast<platform::PictureBox&>(parent.Add(std::move(box)));
}

void ShowCaption(platform::PictureBox& box, bool visible) {
    for (const auto& child : box.children()) child->SetVisible(visible);
}

}  // namespace

InventoryBar::InventoryBar(project::Project& project, platform::Form& form, platform::EventLoop& loop,
                           const InventoryOptions& options)
    : project_(project), form_(form), loop_(loop), options_(options) {}

void InventoryBar::AddControls() {
    const int width = options_.projectWidth;
    const int height = options_.BarHeight(0);
    // The button waits in the top-left corner, where frames rarely put their titles.
    button_ = &CaptionedBox(form_, "Inventory2", "Inventory", {0, 0, kButtonWidth, kButtonHeight});

    auto canvas = std::make_unique<platform::PictureBox>("Inventory1");
    canvas->backColor = kBarColor;
    canvas->borderStyle = 1;
    canvas->SetBounds({0, -height, width, height});
    canvas_ = static_cast<platform::PictureBox*>(&form_.Add(std::move(canvas)));

    auto background = std::make_unique<platform::ImageControl>("Inventory_Background");
    background->stretch = true;
    background->SetBounds({0, 0, width, height});
    background_ = static_cast<platform::ImageControl*>(&canvas_->Add(std::move(background)));

    menuButton_ = &CaptionedBox(
        *canvas_, "imgShowMenus", "Menu",
        {width - options_.horizontalGap - kIconSize, options_.verticalGap, kIconSize, kIconSize});
    auto menuClick = [this](platform::Control&) {
        if (onMenuButton) onMenuButton();
    };
    menuButton_->events.click = menuClick;
    for (const auto& child : menuButton_->children()) child->events.click = menuClick;

    auto timer = std::make_unique<platform::TimerControl>(loop_.timers(), "TimerInventory");
    timer->SetEnabled(false);
    timer->events.timer = [this](platform::Control&) { PopUpTimerTick(); };
    popUpTimer_ = static_cast<platform::TimerControl*>(&form_.Add(std::move(timer)));

    for (platform::Control* control :
         {static_cast<platform::Control*>(button_), static_cast<platform::Control*>(canvas_),
          static_cast<platform::Control*>(background_)}) {
        AttachShowEvents(*control);
    }
    for (const auto& child : button_->children()) AttachShowEvents(*child);
    AttachShowEvents(*menuButton_);
    for (const auto& child : menuButton_->children()) AttachShowEvents(*child);
}

void InventoryBar::AttachShowEvents(platform::Control& control) {
    control.events.mouseMove = [this](platform::Control&, const platform::MouseEvent&) { ShowInventory(); };
    control.events.dragOver = [this](platform::Control&, platform::Control&, int, int, platform::DragState) {
        ShowInventory();
    };
}

void InventoryBar::Reset() {
    popUpTimer_->SetEnabled(false);
    poppedUp_ = false;
    direction_ = Direction::None;
    menuButton_->SetVisible(options_.ShouldTheMenuButtonInTheInventoryBeVisible());
    button_->SetVisible(options_.barHidesBehindButton);
    FitToItems(0);
    if (options_.barHidesBehindButton) {
        shown_ = false;
        Inventory_Hide();
    } else {
        shown_ = true;
        canvas_->Move(0, 0);
    }
    Load_InventoryBackground();
}

std::string InventoryBar::OptionPicture(const std::string& folder, const std::string& name) const {
    if (name.empty() || platform::FoldCase(name) == "default") return "";
    std::string path = folder + name;
    return project_.files().IsFile(path) ? path : "";
}

void InventoryBar::Load_InventoryBackground() {
    // 2. Without the project's own graphics, the built-in look.
    background_->picture.clear();
    button_->picture.clear();
    menuButton_->picture.clear();
    ShowCaption(*button_, true);
    ShowCaption(*menuButton_, true);
    if (!options_.barHidesBehindButton || !options_.customGraphics) return;
    // 1. The project's pictures; 3. a failure keeps what was set until then.
    try {
        background_->picture = OptionPicture(project_.paths.InventoryPath, options_.backgroundPicture);
        if (std::string button = OptionPicture(project_.paths.InventoryPath, options_.buttonPicture);
            !button.empty()) {
            button_->picture = button;
            ShowCaption(*button_, false);
        }
        const std::string& menu = options_.menuButtonPicture;
        if (!menu.empty() && platform::FoldCase(menu) != "default") {
            std::string path = project_.LocateProjectFile(project_.paths.IconsPath + menu);
            if (project_.files().IsFile(path)) {
                menuButton_->picture = path;
                ShowCaption(*menuButton_, false);
            }
        }
    } catch (const std::exception&) {
        // The bar keeps the pictures it has; the original says nothing either.
    }
}

void InventoryBar::ShowInventory() { Request(Direction::Show); }

void InventoryBar::HideInventory() {
    // A bar that never hides stays where it is.
    if (!options_.barHidesBehindButton) return;
    Request(Direction::Hide);
}

void InventoryBar::RequestHideInventory() {
    if (!options_.rightButtonTogglesBar) HideInventory();
}

void InventoryBar::Request(Direction direction) {
    direction_ = direction;
    shown_ = direction == Direction::Show;
    if (moving_) return;  // the running slide turns round
    // An empty bar that hides itself has nothing to show: it takes its place without a slide.
    if (options_.barSlides && canvas_->visible()) {
        Inventory_Move();
    } else {
        JumpToEnd();
    }
}

void InventoryBar::JumpToEnd() {
    const bool down = direction_ == Direction::Show || poppedUp_;
    canvas_->Move(0, down ? 0 : -canvas_->bounds().height);
    direction_ = Direction::None;
}

void InventoryBar::Inventory_Move() {
    moving_ = true;
    // Positions are kept in fractions of a pixel: a short bar moves less than a pixel a step.
    double step = 1;
    double top = canvas_->bounds().y;
    int steps = 0;
    int64_t measuredFromMs = loop_.clock().NowMs();
    while (direction_ != Direction::None && !loop_.quitRequested()) {
        // While popped up for a new item, the bar keeps coming down.
        const bool down = direction_ == Direction::Show || poppedUp_;
        const int height = canvas_->bounds().height;
        const int end = down ? 0 : -height;
        if (canvas_->bounds().y == end) break;
        // The bar may have been moved or resized while events ran.
        if (std::lround(top) != canvas_->bounds().y) top = canvas_->bounds().y;
        top = down ? std::min<double>(end, top + step) : std::max<double>(end, top - step);
        canvas_->Move(0, static_cast<int>(std::lround(top)));
        loop_.WaitMs(kMoveStepMs);
        // The step follows the pace of the last steps, so that the whole height takes 0.3 second.
        if (++steps % kStepsPerMeasure == 0) {
            int64_t nowMs = loop_.clock().NowMs();
            step = std::max(0.05, height * static_cast<double>(nowMs - measuredFromMs) /
                                      static_cast<double>(kSlideMs * kStepsPerMeasure));
            measuredFromMs = nowMs;
        }
    }
    direction_ = Direction::None;
    moving_ = false;
}

void InventoryBar::Inventory_Hide() { canvas_->Move(0, -canvas_->bounds().height); }

void InventoryBar::PopUp() {
    poppedUp_ = true;
    ShowInventory();
    popUpTimer_->SetEnabled(false);
    popUpTimer_->Set("Interval", static_cast<int32_t>(kPopUpMs));
    popUpTimer_->SetEnabled(true);
}

void InventoryBar::PopUpTimerTick() {
    popUpTimer_->SetEnabled(false);
    poppedUp_ = false;
    if (options_.popUpOnNewItem) RequestHideInventory();
}

void InventoryBar::FitToItems(int count) {
    if (options_.barFitsItems) {
        const int height = options_.BarHeight(count);
        const platform::Rect& bounds = canvas_->bounds();
        // A bar out of sight stays out of sight at its new height.
        const int top = bounds.y <= -bounds.height ? -height : bounds.y;
        canvas_->SetBounds({bounds.x, top, bounds.width, height});
        canvas_->SetVisible(count > 0);
    }
    background_->SetBounds({0, 0, canvas_->bounds().width, canvas_->bounds().height});
}

void InventoryBar::BringToFront() {
    for (const auto& child : canvas_->children()) {
        if (child->name() == "PickedObject") child->BringToFront();
    }
    button_->BringToFront();
    canvas_->BringToFront();
}

void InventoryBar::HideInventoryButton() {
    if (!options_.barHidesBehindButton) return;
    Inventory_Hide();
    button_->SetVisible(false);
}

void InventoryBar::ShowInventoryButton() {
    if (options_.barHidesBehindButton) button_->SetVisible(true);
}

}  // namespace taviro::inventory
