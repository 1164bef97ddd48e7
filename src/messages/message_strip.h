// Messages: a short text in an information box, or in the message strip along the bottom of the
// scene, which hides itself after a time that grows with the text, or when the player clicks it.
#pragma once

#include <cstdint>
#include <string>

#include "platform/controls/form.h"
#include "project/project.h"

namespace taviro::messages {

// What the strip asks of the inventory: the scene under the bar, the strip included, sends it away.
class MessageServices {
public:
    virtual ~MessageServices() = default;
    virtual void RequestHideInventory() = 0;
    virtual void HideInventoryIfItem() = 0;
};

// The strip's controls: FrameMessageBox (the strip), LabelMessageBox (its text), TimerMessageBox.
class MessageStrip {
public:
    MessageStrip(project::Project& project, platform::Form& form, platform::TimerQueue& timers,
                 MessageServices& services);

    // Creates the strip's controls over the scene; the scene must stay as long as the strip.
    void AddControls(platform::Control& scene);

    // Shows text in a message box titled with the project's title (returns when it is closed), or in the
    // strip; "[hide]" in the strip hides it instead. Without bKeep the strip hides itself after 70 ms per
    // character plus one second. Failures are reported.
    void ShowTextMessage(const std::string& text, bool bInsideWindow, bool bKeep);
    // Hides the strip and stops its timer.
    void Hide();

    bool visible() const;
    const std::string& text() const;
    // The hide timer's interval; 0 when it does not run.
    int64_t hideIntervalMs() const;

private:
    void ShowInStrip(const std::string& text, bool bKeep);

    project::Project& project_;
    platform::Form& form_;
    platform::TimerQueue& timers_;
    MessageServices& services_;
    platform::Control* scene_ = nullptr;
    platform::Container* strip_ = nullptr;
    platform::Label* label_ = nullptr;
    platform::TimerControl* timer_ = nullptr;
};

// How long the strip shows a text of that many characters, in milliseconds.
int64_t MessageDurationMs(const std::string& text);

}  // namespace taviro::messages
