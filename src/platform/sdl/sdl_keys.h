// SDL's key codes as the original's virtual-key codes.
#pragma once

#include <SDL_keycode.h>

#include <optional>

namespace taviro::platform {

// The virtual-key code of a key, or nullopt for a key games never saw.
std::optional<int> VirtualKeyOf(SDL_Keycode key);
// The original's shift flags (1 shift, 2 ctrl, 4 alt) of SDL's modifier state.
int ShiftFlagsOf(Uint16 modifiers);

}  // namespace taviro::platform
