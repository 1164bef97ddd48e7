#include "platform/sdl/desktop.h"

#include <SDL.h>

#include "platform/log.h"

namespace taviro::platform {

void OpenAddress(const std::string& address) {
    // SDL asks the desktop (xdg-open on Linux) to open it.
    if (SDL_OpenURL(address.c_str()) != 0) log::Error("cannot open " + address + ": " + SDL_GetError());
}

}  // namespace taviro::platform
