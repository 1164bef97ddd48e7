// Modal boxes with ImGui.
#include "platform/dialogs/window_dialogs.h"

#include <imgui.h>
#include <imgui_stdlib.h>

#include <algorithm>

#include "platform/controls/property_value.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

// How often a waiting box lets the event loop turn on the real clock.
constexpr int64_t kWaitTurnMs = 15;

const char* IconGlyph(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return "i";
        case MessageIcon::Exclamation: return "!";
        case MessageIcon::Critical: return "X";
        case MessageIcon::Question: return "?";
        case MessageIcon::None: return nullptr;
    }
    return nullptr;
}

ImVec4 IconColor(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return {0.8f, 0, 0, 1};
        case MessageIcon::Exclamation: return {0.8f, 0.6f, 0, 1};
        default: return {0, 0, 0.7f, 1};
    }
}

}  // namespace

std::vector<MessageAnswer> ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::Ok: return {MessageAnswer::Ok};
        case MessageButtons::OkCancel: return {MessageAnswer::Ok, MessageAnswer::Cancel};
        case MessageButtons::YesNo: return {MessageAnswer::Yes, MessageAnswer::No};
        case MessageButtons::YesNoCancel:
            return {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};
    }
    return {MessageAnswer::Ok};
}

WindowDialogs::WindowDialogs(EventLoop& loop, DialogHistory& history, bool automated)
    : loop_(loop), history_(history), automated_(automated) {}

MessageAnswer WindowDialogs::MessageBox(const MessageBoxRequest& request) {
    std::vector<MessageAnswer> buttons = ButtonsOf(request.buttons);
    MessageAnswer answer = DefaultAnswer(request.buttons);
    if (automated_) {
        // A queued answer that the box does not offer cannot be chosen; the box takes its default.
        if (auto queued = history_.TakeAnswer();
            queued && std::count(buttons.begin(), buttons.end(), *queued))
            answer = *queued;
    } else {
        OpenBox box{false, request, buttons, {}, std::nullopt, false, nextId_++};
        Wait(box);
        answer = box.answer.value_or(answer);
    }
    history_.RecordMessageBox(request, answer);
    // Error reports reach the player through message boxes; the log keeps each of them.
    std::string line = "message box [" + std::string(IconName(request.icon)) + "] " + request.title + ": " +
                       request.text + " -> " + AnswerName(answer);
    if (request.icon == MessageIcon::Critical || request.icon == MessageIcon::Exclamation)
        log::Error(line);
    else
        log::Info(line);
    return answer;
}

std::optional<std::string> WindowDialogs::InputBox(const std::string& title, const std::string& prompt,
                                                   const std::string& defaultText) {
    std::optional<std::string> result = defaultText;
    if (automated_) {
        if (auto queued = history_.TakeInput()) result = *queued;
    } else {
        MessageBoxRequest request{title, prompt, MessageIcon::None, MessageButtons::OkCancel};
        OpenBox box{true,  request,  ButtonsOf(MessageButtons::OkCancel), defaultText, std::nullopt,
                    false, nextId_++};
        Wait(box);
        if (box.answer != MessageAnswer::Ok)
            result = std::nullopt;
        else
            result = box.input;
    }
    history_.RecordInputBox(title, prompt, result);
    return result;
}

void WindowDialogs::Wait(OpenBox& box) {
    open_.push_back(&box);
    struct Close {
        std::vector<OpenBox*>& open;
        OpenBox* box;
        ~Close() { std::erase(open, box); }
    } close{open_, &box};
    // Closing the window answers with Cancel, or the default of a box that has none.
    while (!box.answer && !loop_.quitRequested()) loop_.WaitMs(kWaitTurnMs);
}

bool WindowDialogs::Press(const std::string& caption) {
    if (open_.empty()) return false;
    OpenBox& box = *open_.back();
    for (MessageAnswer answer : box.buttons)
        if (SameName(caption, AnswerName(answer))) {
            box.answer = answer;
            return true;
        }
    return false;
}

void WindowDialogs::Build() {
    if (open_.empty()) return;
    // Only the front box takes input; boxes under it wait for it to close.
    OpenBox& box = *open_.back();
    const ImGuiIO& io = ImGui::GetIO();
    ImGui::SetNextWindowPos(ImVec2(io.DisplaySize.x / 2, io.DisplaySize.y / 2), ImGuiCond_Always,
                            ImVec2(0.5f, 0.5f));
    ImGui::SetNextWindowSizeConstraints(ImVec2(200, 0),
                                        ImVec2(io.DisplaySize.x * 0.9f, io.DisplaySize.y * 0.9f));
    std::string name = (box.request.title.empty() ? std::string(" ") : box.request.title) + "###box" +
                       std::to_string(box.id);
    ImGui::OpenPopup(name.c_str());
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));  // white title on the blue bar
    bool shown = ImGui::BeginPopupModal(name.c_str(), nullptr,
                                        ImGuiWindowFlags_AlwaysAutoResize | ImGuiWindowFlags_NoSavedSettings);
    ImGui::PopStyleColor();
    if (!shown) return;
    if (const char* glyph = IconGlyph(box.request.icon)) {
        ImGui::PushStyleColor(ImGuiCol_Text, IconColor(box.request.icon));
        ImGui::TextUnformatted(glyph);
        ImGui::PopStyleColor();
        ImGui::SameLine(0, 16);
    }
    ImGui::TextUnformatted(box.request.text.c_str());
    if (box.inputBox) {
        if (!box.focusSet) ImGui::SetKeyboardFocusHere();
        box.focusSet = true;
        ImGui::SetNextItemWidth(300);
        ImGui::InputText("##input", &box.input);
    }
    ImGui::Spacing();
    for (size_t i = 0; i < box.buttons.size(); ++i) {
        if (i > 0) ImGui::SameLine();
        if (ImGui::Button(AnswerName(box.buttons[i]), ImVec2(75, 0))) box.answer = box.buttons[i];
    }
    // Enter chooses the default button; Esc cancels, or closes a box that has only OK.
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter))) box.answer = box.buttons.front();
    if (ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape))) {
        bool hasCancel = std::count(box.buttons.begin(), box.buttons.end(), MessageAnswer::Cancel) > 0;
        if (hasCancel)
            box.answer = MessageAnswer::Cancel;
        else if (box.buttons.size() == 1)
            box.answer = box.buttons.front();
    }
    if (box.answer) ImGui::CloseCurrentPopup();
    ImGui::EndPopup();
}

}  // namespace taviro::platform
