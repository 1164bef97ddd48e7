// SDL cursors for the mouse pointers.
#include "platform/sdl/mouse_cursors.h"

#include <SDL.h>

#include "platform/game_error.h"

namespace taviro::platform {

MouseCursors::~MouseCursors() {
    for (auto& [id, cursor] : system_) SDL_FreeCursor(cursor);
    for (auto& [path, cursor] : custom_)
        if (cursor) SDL_FreeCursor(cursor);
}

SDL_Cursor* MouseCursors::SystemCursor(int id) {
    auto& cursor = system_[id];
    if (!cursor) cursor = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(id));
    return cursor;
}

SDL_Cursor* MouseCursors::CustomCursor(const std::string& iconPath) {
    if (auto it = custom_.find(iconPath); it != custom_.end()) return it->second;
    SDL_Cursor* cursor = nullptr;
    try {
        auto picture = pictures_.Load(iconPath);
        // An icon has no hot spot; the original used its centre.
        Point hotSpot = picture->hotSpot().value_or(Point{picture->width() / 2, picture->height() / 2});
        cursor = SDL_CreateColorCursor(picture->surface(), hotSpot.x, hotSpot.y);
    } catch (const std::exception&) {
        cursor = nullptr;
    }
    return custom_[iconPath] = cursor;
}

void MouseCursors::Show(MousePointer pointer, const std::string& iconPath) {
    SDL_Cursor* cursor = nullptr;
    switch (pointer) {
        case MousePointer::Hourglass: cursor = SystemCursor(SDL_SYSTEM_CURSOR_WAIT); break;
        case MousePointer::ArrowHourglass: cursor = SystemCursor(SDL_SYSTEM_CURSOR_WAITARROW); break;
        case MousePointer::Custom: cursor = CustomCursor(iconPath); break;
        case MousePointer::Default:
        case MousePointer::Arrow: break;
    }
    if (!cursor) cursor = SystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    SDL_ShowCursor(SDL_ENABLE);
    if (cursor && cursor != current_) SDL_SetCursor(cursor);
    current_ = cursor;
}

void MouseCursors::Hide() { SDL_ShowCursor(SDL_DISABLE); }

}  // namespace taviro::platform
