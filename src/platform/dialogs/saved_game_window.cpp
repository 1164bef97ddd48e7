// Editing, selection and buttons of the save and load windows.
#include "platform/dialogs/saved_game_window.h"

#include "platform/controls/property_value.h"

namespace taviro::platform {

size_t CharacterCount(std::string_view utf8) {
    size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

void SavedGameWindow::Type(const std::string& utf8) {
    if (kind != Kind::Save || !enabled) return;
    // One character at a time, so that a refused one does not take the rest with it.
    for (size_t i = 0; i < utf8.size();) {
        size_t length = 1;
        while (i + length < utf8.size() && (static_cast<unsigned char>(utf8[i + length]) & 0xC0) == 0x80)
            ++length;
        std::string character = utf8.substr(i, length);
        i += length;
        if (character[0] == '\r' || character[0] == '\n' || character[0] == '\t') continue;
        if (CharacterCount(name) + 1 > nameLimit) continue;
        std::string candidate = name + character;
        if (acceptsName && !acceptsName(candidate)) continue;
        name = std::move(candidate);
    }
}

void SavedGameWindow::EraseLastCharacter() {
    if (!enabled) return;
    while (!name.empty()) {
        bool continuation = (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80;
        name.pop_back();
        if (!continuation) break;
    }
}

void SavedGameWindow::Select(int index) {
    if (!enabled || index < 0 || index >= static_cast<int>(names.size())) return;
    selected = index;
    if (kind == Kind::Save) name = names[static_cast<size_t>(index)];
}

void SavedGameWindow::MoveSelection(int delta) {
    if (names.empty()) return;
    int next = selected < 0 ? (delta > 0 ? 0 : static_cast<int>(names.size()) - 1) : selected + delta;
    if (next < 0) next = 0;
    if (next >= static_cast<int>(names.size())) next = static_cast<int>(names.size()) - 1;
    Select(next);
}

bool SavedGameWindow::FindButton(const std::string& buttonCaption, Button& button) const {
    const std::pair<const std::string*, Button> buttons[] = {
        {&okCaption, Button::Ok}, {&removeCaption, Button::Remove}, {&cancelCaption, Button::Cancel}};
    for (const auto& [text, which] : buttons) {
        if (which == Button::Remove && kind != Kind::Save) continue;
        if (SameName(*text, buttonCaption)) {
            button = which;
            return true;
        }
    }
    return false;
}

}  // namespace taviro::platform
