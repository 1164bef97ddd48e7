// The off-screen client surface and the window that shows it.
#include "platform/sdl/display.h"

#include <SDL.h>
#include <SDL_image.h>

#include <filesystem>
#include <string>

#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

GameError SdlFailure(const char* what) {
    std::string message = std::string(what) + ": " + SDL_GetError();
    log::Error(message);
    return {51, message};  // the original's "Internal error"
}

// True when the machine has a graphics device node (a DRM card or render node, or NVIDIA's): without
// one OpenGL can only be Mesa's software rasteriser, which takes a tenth of a second and some 50 MB
// to load only to show a picture the player has already composed in software.
bool HasGraphicsDevice() {
    std::error_code failed;
    if (std::filesystem::exists("/dev/nvidiactl", failed)) return true;
    for (std::filesystem::directory_iterator it("/dev/dri", failed), end; !failed && it != end;
         it.increment(failed)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with("card") || name.starts_with("renderD")) return true;
    }
    return false;
}

}  // namespace

Display::Display(const DisplaySettings& settings) : settings_(settings) {
    settings_.scale = std::max(1, settings_.scale);
    MakeTarget();
    if (settings_.headless) return;
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) throw SdlFailure("no video");
    // Hidden until it first shows something: the first window's size and look are known by then.
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (settings_.fullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (!settings_.border) flags |= SDL_WINDOW_BORDERLESS;
    window_ = SDL_CreateWindow(settings_.caption.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               settings_.clientWidth * settings_.scale,
                               settings_.clientHeight * settings_.scale, flags);
    if (!window_) throw SdlFailure("cannot open the window");
    // SDL's choice, unless the user chose a renderer or only a software rasteriser could draw.
    const bool softwareOnly = !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && !HasGraphicsDevice();
    if (softwareOnly) {
        log::Info("no graphics device: the window is drawn without OpenGL");
        // SDL would otherwise show the software renderer's picture through OpenGL all the same.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    }
    windowRenderer_ = SDL_CreateRenderer(window_, -1, softwareOnly ? SDL_RENDERER_SOFTWARE : 0);
    if (!windowRenderer_) windowRenderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!windowRenderer_) throw SdlFailure("cannot draw in the window");
}

Display::~Display() {
    if (windowTexture_) SDL_DestroyTexture(windowTexture_);
    if (windowRenderer_) SDL_DestroyRenderer(windowRenderer_);
    if (window_) SDL_DestroyWindow(window_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (target_) SDL_FreeSurface(target_);
}

void Display::MakeTarget() {
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (target_) SDL_FreeSurface(target_);
    renderer_ = nullptr;
    target_ =
        SDL_CreateRGBSurfaceWithFormat(0, std::max(1, settings_.clientWidth),
                                       std::max(1, settings_.clientHeight), 32, SDL_PIXELFORMAT_ARGB8888);
    if (!target_) throw SdlFailure("no memory for the window's picture");
    renderer_ = SDL_CreateSoftwareRenderer(target_);
    if (!renderer_) throw SdlFailure("no software renderer");
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
}

void Display::SetClientSize(int width, int height) {
    if (width == settings_.clientWidth && height == settings_.clientHeight) return;
    settings_.clientWidth = width;
    settings_.clientHeight = height;
    MakeTarget();
    if (windowTexture_) SDL_DestroyTexture(windowTexture_);
    windowTexture_ = nullptr;
    if (window_ && !settings_.fullScreen) {
        // Every window of the player is centred on the screen, as the original placed its forms.
        SDL_SetWindowSize(window_, width * settings_.scale, height * settings_.scale);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void Display::Present() {
    if (!window_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) SDL_ShowWindow(window_);
    if (!windowTexture_) {
        windowTexture_ = SDL_CreateTexture(windowRenderer_, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STREAMING, target_->w, target_->h);
        if (!windowTexture_) return log::Error(std::string("cannot show the window: ") + SDL_GetError());
    }
    SDL_UpdateTexture(windowTexture_, nullptr, target_->pixels, target_->pitch);
    Viewport view = viewport();
    // Whole factors keep pixels sharp; a smaller screen needs smoothing to stay readable.
    SDL_SetTextureScaleMode(windowTexture_, view.sharp ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderDrawColor(windowRenderer_, 0, 0, 0, 255);
    SDL_RenderClear(windowRenderer_);
    SDL_Rect area{view.area.x, view.area.y, view.area.width, view.area.height};
    SDL_RenderCopy(windowRenderer_, windowTexture_, nullptr, &area);
    SDL_RenderPresent(windowRenderer_);
}

void Display::SaveScreenshot(const std::string& path) const {
    if (IMG_SavePNG(target_, path.c_str()) != 0) {
        log::Error("cannot write the screenshot " + path + ": " + SDL_GetError());
        throw errors::PathFileAccessError();
    }
}

void Display::SetFullScreen(bool fullScreen) {
    settings_.fullScreen = fullScreen;
    if (!window_) return;
    SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullScreen)
        SDL_SetWindowSize(window_, settings_.clientWidth * settings_.scale,
                          settings_.clientHeight * settings_.scale);
}

Point Display::desktopSize() const {
    SDL_DisplayMode mode;
    if (window_ && SDL_GetDesktopDisplayMode(SDL_GetWindowDisplayIndex(window_), &mode) == 0)
        return {mode.w, mode.h};
    return settings_.headlessDesktop;
}

void Display::SetCaption(const std::string& caption) {
    settings_.caption = caption;
    if (window_) SDL_SetWindowTitle(window_, caption.c_str());
}

void Display::SetBorder(bool border) {
    settings_.border = border;
    if (window_) SDL_SetWindowBordered(window_, border ? SDL_TRUE : SDL_FALSE);
}

void Display::SetTopmost(bool topmost) {
    if (window_) SDL_SetWindowAlwaysOnTop(window_, topmost ? SDL_TRUE : SDL_FALSE);
}

void Display::SetDragByBackground(std::function<bool(Point clientPoint)> isBackground) {
    isBackground_ = std::move(isBackground);
    if (!window_) return;
    if (!isBackground_) {
        SDL_SetWindowHitTest(window_, nullptr, nullptr);
        return;
    }
    auto hitTest = [](SDL_Window*, const SDL_Point* area, void* data) -> SDL_HitTestResult {
        auto* display = static_cast<Display*>(data);
        Point client = display->viewport().ToClient({area->x, area->y});
        return display->isBackground_ && display->isBackground_(client) ? SDL_HITTEST_DRAGGABLE
                                                                        : SDL_HITTEST_NORMAL;
    };
    if (SDL_SetWindowHitTest(window_, hitTest, this) != 0)
        log::Info(std::string("windows cannot be dragged here: ") + SDL_GetError());
}

Point Display::windowSize() const {
    if (!window_) return {settings_.clientWidth * settings_.scale, settings_.clientHeight * settings_.scale};
    int width = 0, height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    return {width, height};
}

Viewport Display::viewport() const {
    Point size = windowSize();
    return FitViewport(size.x, size.y, settings_.clientWidth, settings_.clientHeight);
}

void QuitSdl() { SDL_Quit(); }

}  // namespace taviro::platform
