// Composing a control off screen, and what of it lies on the desktop.
#include "platform/sdl/scene_capture.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/sdl/player_screen.h"

namespace taviro::platform {

void CaptureControl(SDL_Renderer* renderer, SceneRenderer& scene, const Control& control, Canvas& into) {
    const int width = control.bounds().width, height = control.bounds().height;
    into.Resize(width, height);
    if (width <= 0 || height <= 0) return;
    SDL_Texture* target =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width, height);
    if (!target || SDL_SetRenderTarget(renderer, target) != 0) {
        if (target) SDL_DestroyTexture(target);
        log::Error(std::string("cannot compose the scene off screen: ") + SDL_GetError());
        throw errors::InternalError();
    }
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    scene.DrawControlAt(control, {0, 0});
    const int read =
        SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, into.data(), width * 4);
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_DestroyTexture(target);
    if (read != 0) {
        log::Error(std::string("cannot read the scene composed off screen: ") + SDL_GetError());
        throw errors::InternalError();
    }
    uint32_t* pixels = into.data();
    for (int i = 0; i < width * height; ++i) pixels[i] |= 0xFF000000u;
    into.Painted();
}

void BlackOutsideDesktop(Canvas& canvas, const DesktopPlacement& placement, Point desktopSize) {
    // The client pixels whose desktop position is inside the desktop: origin + scale × pixel in [0, size).
    auto firstInside = [&](int origin) {
        return std::max(0, static_cast<int>(std::ceil(-origin / placement.scale)));
    };
    auto endInside = [&](int origin, int size) {
        return static_cast<int>(std::ceil((size - origin) / placement.scale));
    };
    const int left = firstInside(placement.origin.x), top = firstInside(placement.origin.y);
    const int right = std::min(canvas.width(), endInside(placement.origin.x, desktopSize.x));
    const int bottom = std::min(canvas.height(), endInside(placement.origin.y, desktopSize.y));
    uint32_t* pixels = canvas.data();
    bool changed = false;
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            if (x >= left && x < right && y >= top && y < bottom) continue;
            pixels[static_cast<size_t>(y) * static_cast<size_t>(canvas.width()) + static_cast<size_t>(x)] =
                0xFF000000u;
            changed = true;
        }
    }
    if (changed) canvas.Painted();
}

void PlayerScreen::CaptureControl(const Control& control, Canvas& into, bool desktopOnly) {
    platform::CaptureControl(display_.renderer(), *scene_, control, into);
    // Full screen shows the whole game on the monitor; a window may lie partly off the desktop.
    if (!desktopOnly || display_.fullScreen()) return;
    const Point desktop = display_.desktopSize();
    const Point window = display_.windowSize();
    Point windowOrigin{(desktop.x - window.x) / 2, (desktop.y - window.y) / 2};  // headless: centred
    if (SDL_Window* shown = display_.window()) SDL_GetWindowPosition(shown, &windowOrigin.x, &windowOrigin.y);
    const Viewport view = display_.viewport();
    const Rect bounds = control.WindowBounds();
    const Point client{view.area.x + static_cast<int>(bounds.x * view.scale),
                       view.area.y + static_cast<int>((bounds.y + menuBarHeight()) * view.scale)};
    BlackOutsideDesktop(into, {{windowOrigin.x + client.x, windowOrigin.y + client.y}, view.scale}, desktop);
}

}  // namespace taviro::platform
