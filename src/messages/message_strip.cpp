// The message strip and the message box of texts.
#include "messages/message_strip.h"

#include <algorithm>

#include "platform/files/file_system.h"
#include "platform/game_error.h"

namespace taviro::messages {
namespace {

constexpr int kStripPaddingHeight = 35;  // the strip is this much taller than its text
constexpr int kTextMargin = 12;          // between the strip's sides and its text
constexpr int64_t kMsPerCharacter = 70;
constexpr int64_t kMinimumMs = 1000;
constexpr platform::ColorBgr kStripColor = 0x3A2418;  // a dark slate blue
constexpr platform::ColorBgr kTextColor = 0xE8F4FF;   // a warm white

bool IsHide(const std::string& text) { return platform::FoldCase(text) == "[hide]"; }

}  // namespace

int64_t MessageDurationMs(const std::string& text) {
    // Characters, not bytes: a UTF-8 continuation byte does not start one.
    int64_t characters = 0;
    for (unsigned char c : text) characters += (c & 0xC0) != 0x80;
    return kMsPerCharacter * characters + kMinimumMs;
}

MessageStrip::MessageStrip(project::Project& project, platform::Form& form, platform::TimerQueue& timers,
                           MessageServices& services)
    : project_(project), form_(form), timers_(timers), services_(services) {}

void MessageStrip::AddControls(platform::Control& scene) {
    scene_ = &scene;
    auto strip = std::make_unique<platform::Container>("FrameMessageBox");
    strip->transparent = false;
    strip->backColor = kStripColor;
    strip->SetVisible(false);
    strip_ = static_cast<platform::Container*>(&form_.Add(std::move(strip)));

    auto label = std::make_unique<platform::Label>("LabelMessageBox");
    label->font = {.name = "Arial", .sizePoints = 12, .bold = true};
    label->foreColor = kTextColor;
    label->transparent = true;
    label->alignment = 2;
    label->SetVisible(false);
    label_ = static_cast<platform::Label*>(&strip_->Add(std::move(label)));

    auto timer = std::make_unique<platform::TimerControl>(timers_, "TimerMessageBox");
    timer->SetEnabled(false);
    timer_ = static_cast<platform::TimerControl*>(&form_.Add(std::move(timer)));

    timer_->events.timer = [this](platform::Control&) { Hide(); };
    for (platform::Control* control :
         {static_cast<platform::Control*>(strip_), static_cast<platform::Control*>(label_)}) {
        control->events.click = [this](platform::Control&) { Hide(); };
        control->events.mouseMove = [this](platform::Control&, const platform::MouseEvent&) {
            services_.RequestHideInventory();
        };
        control->events.dragOver = [this](platform::Control&, platform::Control&, int, int,
                                          platform::DragState) { services_.HideInventoryIfItem(); };
    }
}

void MessageStrip::ShowTextMessage(const std::string& text, bool bInsideWindow, bool bKeep) {
    try {
        if (!bInsideWindow) {
            project_.reports().dialogs().MessageBox({project_.information.ProjectTitle, text,
                                                     platform::MessageIcon::Information,
                                                     platform::MessageButtons::Ok});
        } else if (IsHide(text)) {
            Hide();
        } else {
            ShowInStrip(text, bKeep);
        }
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        project_.reports().ShowErrorReport(" Unable to display text message.");
    }
}

void MessageStrip::ShowInStrip(const std::string& text, bool bKeep) {
    if (!strip_) throw GameError(91, "Object variable or With block variable not set");
    // 1. Along the whole width of the scene.
    const platform::Rect& scene = scene_->bounds();
    strip_->SetBounds({scene.x, strip_->bounds().y, scene.width, strip_->bounds().height});
    // 2. The label sizes itself to the text, wrapping it within the strip.
    label_->autoSize = true;
    label_->wordWrap = true;
    label_->SetBounds({kTextMargin, 0, scene.width - 2 * kTextMargin, label_->bounds().height});
    label_->caption.clear();
    label_->Set("Caption", text);
    // 3. Along the bottom of the scene, the text in the middle of the strip.
    const int height = label_->bounds().height + kStripPaddingHeight;
    strip_->SetBounds({scene.x, scene.y + scene.height - height, scene.width, height});
    label_->Move(kTextMargin, (height - label_->bounds().height) / 2);
    // 4. In front of everything on the scene.
    label_->SetVisible(true);
    strip_->SetVisible(true);
    strip_->BringToFront();
    // 5. The full time runs from now.
    if (!bKeep) {
        timer_->SetEnabled(false);
        timer_->Set("Interval", static_cast<int32_t>(std::min<int64_t>(MessageDurationMs(text), 65535)));
        timer_->SetEnabled(true);
    }
}

void MessageStrip::Hide() {
    if (!strip_) return;
    strip_->SetVisible(false);
    label_->SetVisible(false);
    timer_->SetEnabled(false);
    timer_->Set("Interval", 0);
}

bool MessageStrip::visible() const { return strip_ && strip_->visible(); }

const std::string& MessageStrip::text() const {
    static const std::string none;
    return label_ ? label_->caption : none;
}

int64_t MessageStrip::hideIntervalMs() const {
    return timer_ && timer_->enabled() ? timer_->intervalMs() : 0;
}

}  // namespace taviro::messages
