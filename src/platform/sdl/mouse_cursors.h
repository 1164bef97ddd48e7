// The mouse pointer over a real window: the arrow, the hourglass, the arrow with hourglass, none, or a
// game's own pointer from a .cur or .ico file, with the hot spot from the .cur header.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/controls/control.h"
#include "platform/pictures/picture_cache.h"

struct SDL_Cursor;

namespace taviro::platform {

class MouseCursors {
public:
    explicit MouseCursors(PictureCache& pictures) : pictures_(pictures) {}
    ~MouseCursors();
    MouseCursors(const MouseCursors&) = delete;
    MouseCursors& operator=(const MouseCursors&) = delete;

    // Shows a pointer; `iconPath` is the picture of a Custom pointer. A custom pointer that cannot be
    // loaded shows the arrow (the picture's error is logged where it was loaded).
    void Show(MousePointer pointer, const std::string& iconPath = {});
    // Hides the pointer until the next Show.
    void Hide();

private:
    SDL_Cursor* SystemCursor(int id);
    SDL_Cursor* CustomCursor(const std::string& iconPath);

    PictureCache& pictures_;
    std::map<int, SDL_Cursor*> system_;
    std::map<std::string, SDL_Cursor*> custom_;  // nullptr: the picture could not be loaded
    SDL_Cursor* current_ = nullptr;
};

}  // namespace taviro::platform
