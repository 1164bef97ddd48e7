#include "platform/sdl/desktop.h"

#include <SDL.h>

#include <memory>

#include "platform/log.h"

namespace taviro::platform {

bool OpenAddress(const std::string& address) {
    // SDL asks the desktop (xdg-open on Linux) to open it.
    if (SDL_OpenURL(address.c_str()) == 0) return true;
    log::Error("cannot open " + address + ": " + SDL_GetError());
    return false;
}

std::string ClipboardText() {
    if (!SDL_WasInit(SDL_INIT_VIDEO) || !SDL_HasClipboardText()) return "";
    std::unique_ptr<char, decltype(&SDL_free)> text(SDL_GetClipboardText(), SDL_free);
    return text ? std::string(text.get()) : std::string();
}

void SetClipboardText(const std::string& text) {
    if (SDL_WasInit(SDL_INIT_VIDEO) && SDL_SetClipboardText(text.c_str()) != 0)
        log::Error(std::string("cannot set the clipboard: ") + SDL_GetError());
}

bool DisplayAvailable(const EnvironmentLookup& environment) {
    for (const char* name : {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (std::optional<std::string> value = environment(name); value && !value->empty()) return true;
    }
    return false;
}

}  // namespace taviro::platform
