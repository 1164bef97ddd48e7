// Message boxes and input boxes drawn with ImGui inside the window. They are modal: the call waits,
// pumping the event loop, so the game's timers keep running underneath, as in the original. Under
// automation a box never waits: it takes the next queued answer, or its default button.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/dialogs/dialog_history.h"
#include "platform/events/event_loop.h"

namespace taviro::platform {

class WindowDialogs : public Dialogs {
public:
    WindowDialogs(EventLoop& loop, DialogHistory& history, bool automated);

    MessageAnswer MessageBox(const MessageBoxRequest& request) override;
    std::optional<std::string> InputBox(const std::string& title, const std::string& prompt,
                                        const std::string& defaultText) override;

    // Makes the ImGui windows of the boxes now open; call inside an ImGui frame.
    void Build();
    // True while a box waits for the player.
    bool open() const { return !open_.empty(); }
    // The caption of a button of the front box was pressed by automation; false when it has none.
    bool Press(const std::string& caption);

private:
    struct OpenBox {
        bool inputBox = false;
        MessageBoxRequest request;
        std::vector<MessageAnswer> buttons;
        std::string input;
        std::optional<MessageAnswer> answer;
        bool focusSet = false;
        int id = 0;
    };
    void Wait(OpenBox& box);
    OpenBox& Open(OpenBox box);

    EventLoop& loop_;
    DialogHistory& history_;
    bool automated_;
    std::vector<OpenBox*> open_;  // front last; each lives on the stack of the call that shows it
    int nextId_ = 0;
};

// The buttons of a set, in the order they are shown.
std::vector<MessageAnswer> ButtonsOf(MessageButtons buttons);

}  // namespace taviro::platform
