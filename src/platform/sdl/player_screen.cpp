// A window of the player and the automation host over it.
#include "platform/sdl/player_screen.h"

#include <SDL.h>

#include <functional>

#include "platform/sdl/sdl_keys.h"

namespace taviro::platform {
namespace {

// A shown, enabled control with this caption (letter case ignored), front-most first; nullptr if none.
Control* FindByCaption(Control& parent, const std::string& caption) {
    const auto& children = parent.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Control& child = **it;
        if (!child.visible() || !child.enabled()) continue;
        if (Control* inner = FindByCaption(child, caption)) return inner;
        if (child.kind() == ControlKind::Label && SameName(static_cast<Label&>(child).caption, caption)) return &child;
    }
    return nullptr;
}

ListBox* FindListWith(Control& parent, const std::string& text, int& at) {
    for (const auto& child : parent.children()) {
        if (!child->visible() || !child->enabled()) continue;
        if (child->kind() == ControlKind::ListBox) {
            auto& list = static_cast<ListBox&>(*child);
            for (size_t i = 0; i < list.items().size(); ++i)
                if (list.items()[i] == text) {
                    at = static_cast<int>(i);
                    return &list;
                }
        }
        if (ListBox* inner = FindListWith(*child, text, at)) return inner;
    }
    return nullptr;
}

}  // namespace

PlayerScreen::PlayerScreen(const DisplaySettings& settings, Clock& clock, FileSystem& files, bool automated)
    : clock_(clock),
      display_(settings),
      timers_(clock),
      loop_(clock, timers_),
      pictures_(files),
      form_(std::make_unique<Form>("Main", settings.clientWidth, settings.clientHeight)),
      mouse_(std::make_unique<MouseRouter>(*form_)),
      text_(display_.renderer()),
      scene_(display_.renderer(), pictures_, clock, &text_),
      imgui_(display_.renderer()),
      dialogs_(loop_, history_, automated) {
    form_->caption = settings.caption;
    if (!display_.headless()) {
        loop_.SetInputHandler([this] { HandleSdlEvents(); });
        cursors_ = std::make_unique<MouseCursors>(pictures_);
    }
    loop_.SetDrawHandler([this] { Draw(); });
    state_.Contribute("clock_ms", [this] { return nlohmann::ordered_json(clock_.NowMs()); });
    state_.Contribute("windows", [this] {
        auto windows = nlohmann::ordered_json::array({windowName_});
        if (dialogs_.open()) windows.push_back("dialog");
        return windows;
    });
    state_.Contribute("messageboxes", [this] { return history_.Json(); });
    state_.Contribute("display", [this] { return DisplayJson(); });
}

PlayerScreen::~PlayerScreen() = default;

nlohmann::ordered_json PlayerScreen::DisplayJson() const {
    Point window = display_.windowSize();
    nlohmann::ordered_json json;
    json["mode"] = display_.headless() ? "headless" : display_.fullScreen() ? "fullscreen" : "window";
    json["full_screen"] = display_.fullScreen();
    json["window_size"] = {window.x, window.y};
    json["client_size"] = {display_.clientWidth(), display_.clientHeight()};
    Viewport view = display_.viewport();
    json["scale"] = view.scale;
    return json;
}

void PlayerScreen::Draw() {
    scene_.Draw(*form_);
    int64_t nowMs = clock_.NowMs();
    double elapsed = static_cast<double>(nowMs - lastDrawMs_) / 1000.0;
    lastDrawMs_ = nowMs;
    imgui_.Frame(display_.clientWidth(), display_.clientHeight(), elapsed, [this] {
        if (buildOverlay) buildOverlay();
        dialogs_.Build();
    });
    display_.Present();
}

void PlayerScreen::RunUntilQuit() {
    while (!loop_.quitRequested()) loop_.WaitMs(1000);
}

void PlayerScreen::UpdatePointer(Point at) {
    if (!cursors_) return;
    if (dialogs_.open()) return cursors_->Show(MousePointer::Arrow);
    const Control* owner = nullptr;
    MousePointer pointer = mouse_->PointerAt(at, &owner);
    cursors_->Show(pointer, owner ? owner->mouseIcon() : std::string());
}

void PlayerScreen::MouseMove(Point at) {
    imgui_.MouseMove(at);
    UpdatePointer(at);
    if (!dialogs_.open()) mouse_->MouseMove(at, buttonsHeld_, 0);
}

void PlayerScreen::MouseDown(Point at, int button) {
    imgui_.MouseMove(at);
    imgui_.MouseButton(button, true);
    buttonsHeld_ |= button;
    // A modal box takes the mouse from the game under it.
    if (!dialogs_.open()) mouse_->MouseDown(at, button, 0);
}

void PlayerScreen::MouseUp(Point at, int button) {
    imgui_.MouseButton(button, false);
    buttonsHeld_ &= ~button;
    if (!dialogs_.open()) mouse_->MouseUp(at, button, 0);
}

void PlayerScreen::DoubleClick(Point at) {
    if (!dialogs_.open()) mouse_->DoubleClick(at, 1, 0);
}

void PlayerScreen::Key(int virtualKey, int shift) {
    imgui_.Key(virtualKey, true, shift);
    if (!dialogs_.open() && onKeyDown) onKeyDown(virtualKey, shift);
    // Under automation the release follows at once; ImGui sees the press in its next frame.
    if (!dialogs_.open() && onKeyUp) onKeyUp(virtualKey, shift);
    if (!dialogs_.open()) imgui_.Key(virtualKey, false, 0);
}

void PlayerScreen::Text(const std::string& text) { imgui_.Text(text); }

std::optional<std::string> PlayerScreen::Press(const std::string& caption) {
    if (dialogs_.Press(caption)) return std::nullopt;
    if (Control* control = FindByCaption(*form_, caption)) {
        Rect r = control->WindowBounds();
        Point centre{r.x + r.width / 2, r.y + r.height / 2};
        MouseMove(centre);
        MouseDown(centre, kLeftButton);
        loop_.DoEvents();
        MouseUp(centre, kLeftButton);
        loop_.DoEvents();
        return std::nullopt;
    }
    return "nothing to press with the caption " + caption;
}

std::optional<std::string> PlayerScreen::Select(const std::string& text) {
    int at = -1;
    ListBox* list = FindListWith(*form_, text, at);
    if (!list) return "no list in the window has the entry " + text;
    list->Set("ListIndex", at);
    if (list->events.click) list->events.click(*list);
    loop_.DoEvents();
    return std::nullopt;
}

std::optional<std::string> PlayerScreen::Menu(const std::vector<std::string>& path) {
    std::string joined;
    for (const auto& caption : path) joined += (joined.empty() ? "" : "/") + caption;
    return "the window has no menu command " + joined;
}

void PlayerScreen::Screenshot(const std::string& file) {
    // ImGui measures a new window in one frame and shows it in the next; on the virtual clock nothing
    // was drawn since the box opened, so draw twice.
    Draw();
    Draw();
    display_.SaveScreenshot(file);
}

void PlayerScreen::HandleSdlEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        Viewport view = display_.viewport();
        switch (event.type) {
            case SDL_QUIT: loop_.RequestQuit(); break;
            case SDL_MOUSEMOTION: MouseMove(view.ToClient({event.motion.x, event.motion.y})); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                int button = event.button.button == SDL_BUTTON_RIGHT    ? kRightButton
                             : event.button.button == SDL_BUTTON_MIDDLE ? kMiddleButton
                                                                        : kLeftButton;
                Point at = view.ToClient({event.button.x, event.button.y});
                if (event.type == SDL_MOUSEBUTTONUP) MouseUp(at, button);
                else if (event.button.clicks == 2) DoubleClick(at);
                else MouseDown(at, button);
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                auto code = VirtualKeyOf(event.key.keysym.sym);
                if (!code) break;
                int shift = ShiftFlagsOf(event.key.keysym.mod);
                bool down = event.type == SDL_KEYDOWN;
                imgui_.Key(*code, down, shift);
                if (dialogs_.open()) break;
                if (down && onKeyDown) onKeyDown(*code, shift);
                if (!down && onKeyUp) onKeyUp(*code, shift);
                break;
            }
            case SDL_TEXTINPUT: imgui_.Text(event.text.text); break;
            default: break;
        }
    }
}

}  // namespace taviro::platform
