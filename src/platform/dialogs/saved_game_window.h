// The save window and the load window of a game: a list of saved games, a name box (save window
// only) and buttons. The saved-games subsystem fills one and says what its buttons do; the screen
// draws it over the game and feeds it the player's mouse and keys; automation types, selects and
// presses through the same calls. While one is shown the game window takes no input.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace taviro::platform {

struct SavedGameWindow {
    enum class Kind { Save, Load };
    // The buttons, in the order they are shown.
    enum class Button { Ok, Remove, Cancel };

    Kind kind = Kind::Save;
    std::string caption;  // the title bar
    std::string prompt;   // the line above the list
    std::vector<std::string> names;
    int selected = -1;      // index into names, -1 for none
    std::string name;       // the name box
    size_t nameLimit = 32;  // characters, not bytes
    std::string okCaption, removeCaption, cancelCaption;
    // False while a chosen command runs (the load disables the window).
    bool enabled = true;

    // Whether the name box may hold this text; typing that would break it is refused.
    std::function<bool(const std::string& text)> acceptsName;
    // A button was clicked (or Enter, Esc): runs as a handler of the game and may pump events.
    std::function<void(Button button)> onButton;

    // Typing into the name box; characters beyond the limit or refused are dropped.
    void Type(const std::string& utf8);
    // Backspace in the name box.
    void EraseLastCharacter();
    // A click on entry `index`: it becomes the selection, and in the save window its name fills the
    // name box. A double click on the load window's list also loads.
    void Select(int index);
    // Up and down arrows (delta -1, 1) move the selection.
    void MoveSelection(int delta);
    // The caption of a button (letter case ignored); false when none has it.
    bool FindButton(const std::string& buttonCaption, Button& button) const;
};

// Where the saved-games subsystem shows its windows.
class SavedGameWindows {
public:
    virtual ~SavedGameWindows() = default;
    // Shows the window over the game until Close; the object must live until then.
    virtual void Show(SavedGameWindow& window) = 0;
    virtual void Close(SavedGameWindow& window) = 0;
};

// The number of characters of UTF-8 text.
size_t CharacterCount(std::string_view utf8);

}  // namespace taviro::platform
