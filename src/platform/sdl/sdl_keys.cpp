// Mapping SDL keys.
#include "platform/sdl/sdl_keys.h"

#include "platform/input/virtual_keys.h"

namespace taviro::platform {

std::optional<int> VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return vk::kF1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 0x61 + (key - SDLK_KP_1);  // numeric keypad 1-9
    switch (key) {
        case SDLK_KP_0: return 0x60;
        case SDLK_BACKSPACE: return vk::kBackspace;
        case SDLK_TAB: return vk::kTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return vk::kReturn;
        case SDLK_ESCAPE: return vk::kEscape;
        case SDLK_SPACE: return vk::kSpace;
        case SDLK_PAGEUP: return 33;
        case SDLK_PAGEDOWN: return 34;
        case SDLK_END: return vk::kEnd;
        case SDLK_HOME: return vk::kHome;
        case SDLK_LEFT: return vk::kLeft;
        case SDLK_UP: return vk::kUp;
        case SDLK_RIGHT: return vk::kRight;
        case SDLK_DOWN: return vk::kDown;
        case SDLK_INSERT: return 45;
        case SDLK_DELETE: return vk::kDelete;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return 16;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return 17;
        case SDLK_LALT:
        case SDLK_RALT: return 18;
        case SDLK_PAUSE: return 19;
        case SDLK_CAPSLOCK: return 20;
        default: return std::nullopt;
    }
}

int ShiftFlagsOf(Uint16 modifiers) {
    return ((modifiers & KMOD_SHIFT) ? 1 : 0) | ((modifiers & KMOD_CTRL) ? 2 : 0) |
           ((modifiers & KMOD_ALT) ? 4 : 0);
}

}  // namespace taviro::platform
