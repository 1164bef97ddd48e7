// The insert-CD window drawn with ImGui over the game, modal: ShowModal waits, pumping the event
// loop, until a button closes the window. Under automation the wait runs the next automation
// commands instead, so that a script can select a drive and press OK or Cancel.
#pragma once

#include <functional>

#include "platform/dialogs/run_from_cd_window.h"
#include "platform/events/event_loop.h"

namespace taviro::platform {

class RunFromCdWindowView : public RunFromCdWindows {
public:
    RunFromCdWindowView(EventLoop& loop, bool automated) : loop_(loop), automated_(automated) {}

    // Runs the next automation command while the window waits; false when none is left.
    std::function<bool()> nextAutomationCommand;

    void ShowModal(RunFromCdWindow& window) override;

    // The window shown, or nullptr.
    RunFromCdWindow* window() const { return window_; }
    // Makes the ImGui window; call inside an ImGui frame. A button clicked waits in TakeChosen().
    void Build();
    // The button clicked in the last frame (true: OK), to run once the frame is over.
    std::optional<bool> TakeChosen();

private:
    EventLoop& loop_;
    bool automated_;
    RunFromCdWindow* window_ = nullptr;
    std::optional<bool> chosen_;
};

}  // namespace taviro::platform
