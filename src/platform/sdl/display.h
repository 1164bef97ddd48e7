// The screen of the player: every window is composed into an off-screen software surface of its client
// size (so pixels are the same in a window, full screen and headless mode, and screenshots are exact);
// with a real window that surface is then shown scaled to fit, letterboxed.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/controls/geometry.h"
#include "platform/display/viewport.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

namespace taviro::platform {

struct DisplaySettings {
    int clientWidth = 640;
    int clientHeight = 480;
    bool headless = false;    // no window at all
    bool fullScreen = false;  // desktop full screen, the client area scaled to fit
    int scale = 1;            // windowed: window pixels per client pixel
    bool border = true;       // caption and border
    std::string caption = "Taviro";
    Point headlessDesktop{1920, 1080};  // the desktop a headless screen pretends to have
};

class Display {
public:
    // Opens the window (unless headless). Throws GameError when SDL cannot make it.
    explicit Display(const DisplaySettings& settings);
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The software renderer that draws into the client surface.
    SDL_Renderer* renderer() const { return renderer_; }
    SDL_Surface* target() const { return target_; }
    int clientWidth() const { return settings_.clientWidth; }
    int clientHeight() const { return settings_.clientHeight; }
    // Resizes the client area (a new frame size); what was drawn is lost, and renderer() changes: textures
    // and anything else made with the old renderer must be made again.
    void SetClientSize(int width, int height);

    // Shows the client surface in the window; does nothing when headless.
    void Present();

    // Writes the client surface as a PNG; throws GameError 75 when the file cannot be written.
    void SaveScreenshot(const std::string& path) const;

    bool headless() const { return settings_.headless; }
    bool fullScreen() const { return settings_.fullScreen; }
    void SetFullScreen(bool fullScreen);
    void SetCaption(const std::string& caption);
    void SetBorder(bool border);
    void SetTopmost(bool topmost);
    // Lets the player move a window without a border by dragging it where `isBackground` says the
    // client point shows only the window's background. Empty: no dragging.
    void SetDragByBackground(std::function<bool(Point clientPoint)> isBackground);
    SDL_Window* window() const { return window_; }
    // The desktop's size in pixels (headless: the one of the settings).
    Point desktopSize() const;
    // The size of the window (headless: the client area times the scale).
    Point windowSize() const;
    // Where the client area is drawn in the window.
    Viewport viewport() const;

private:
    void MakeTarget();

    DisplaySettings settings_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* windowRenderer_ = nullptr;
    SDL_Texture* windowTexture_ = nullptr;
    SDL_Surface* target_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    std::function<bool(Point)> isBackground_;
};

// Lets SDL release the machine at the end of the program.
void QuitSdl();

}  // namespace taviro::platform
