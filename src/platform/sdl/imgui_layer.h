// The player's own menus and dialogs, drawn with Dear ImGui on top of a window's composed picture.
// ImGui draws into the same off-screen client surface as the controls, so dialogs scale with the game
// and appear in screenshots; its input is fed here in client pixels and virtual-key codes, because the
// SDL platform backend assumes the window itself is the drawing target.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls/geometry.h"

struct SDL_Renderer;
struct ImGuiContext;

namespace taviro::platform {

class ImGuiLayer {
public:
    explicit ImGuiLayer(SDL_Renderer* renderer);
    ~ImGuiLayer();
    ImGuiLayer(const ImGuiLayer&) = delete;
    ImGuiLayer& operator=(const ImGuiLayer&) = delete;

    // Draws one ImGui frame of the client size; `build` makes the windows of this frame.
    void Frame(int clientWidth, int clientHeight, double elapsedSeconds, const std::function<void()>& build);

    // Input in client pixels; buttons are 1 left, 2 right; keys are virtual-key codes.
    void MouseMove(Point at);
    void MouseButton(int button, bool down);
    void Key(int virtualKey, bool down, int shift);
    void Text(const std::string& utf8);
    // True while ImGui uses the mouse (an open menu, a box under the mouse) as of the last frame.
    bool WantsMouse() const;

private:
    ImGuiContext* context_;
    SDL_Renderer* renderer_;
};

// A look of classic desktop dialogs: grey faces, square corners, black text, blue title bars.
void ApplyClassicDialogStyle();

}  // namespace taviro::platform
