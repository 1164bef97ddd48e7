// A window of the player and the automation host over it.
#include "platform/sdl/player_screen.h"

#include <SDL.h>
#include <imgui.h>

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
        if (child.kind() == ControlKind::Label && SameName(static_cast<Label&>(child).caption, caption))
            return &child;
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
      dialogs_(loop_, history_, automated) {
    MakeRenderers();
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

void PlayerScreen::MakeRenderers() {
    imgui_.reset();
    scene_.reset();
    text_ = std::make_unique<TtfTextRenderer>(display_.renderer());
    scene_ = std::make_unique<SceneRenderer>(display_.renderer(), pictures_, clock_, text_.get());
    imgui_ = std::make_unique<ImGuiLayer>(display_.renderer());
    form_->SetTextMeasurer(text_.get());
}

void PlayerScreen::SetMenuBar(MenuItem* bar) {
    menuBar_ = bar;
    int height = form_->bounds().height + menuBarHeight();
    if (height == display_.clientHeight()) return;
    display_.SetClientSize(form_->bounds().width, height);
    MakeRenderers();
}

namespace {

// Makes the ImGui items of a menu's visible sub-items; the captions of a chosen command go to `chosen`.
void BuildMenuItems(const MenuItem& menu, std::vector<std::string>& path, std::vector<std::string>& chosen) {
    for (const auto& item : menu.items()) {
        if (!item->visible) continue;
        if (item->separator()) {
            ImGui::Separator();
            continue;
        }
        std::string label =
            item->shownCaption() + "##" + std::to_string(reinterpret_cast<uintptr_t>(item.get()));
        path.push_back(item->shownCaption());
        if (!item->items().empty()) {
            if (ImGui::BeginMenu(label.c_str(), item->enabled)) {
                BuildMenuItems(*item, path, chosen);
                ImGui::EndMenu();
            }
        } else if (ImGui::MenuItem(label.c_str(), nullptr, item->checked, item->enabled)) {
            chosen = path;
        }
        path.pop_back();
    }
}

}  // namespace

void PlayerScreen::BuildMenuBar() {
    if (!menuBar_ || !ImGui::BeginMainMenuBar()) return;
    std::vector<std::string> path;
    BuildMenuItems(*menuBar_, path, chosenMenuPath_);
    ImGui::EndMainMenuBar();
}

void PlayerScreen::Draw() {
    // Handlers run from inside drawing would start an ImGui frame inside another; drawing waits instead.
    if (drawing_) return;
    drawing_ = true;
    struct Done {
        bool& drawing;
        ~Done() { drawing = false; }
    } done{drawing_};
    scene_->Draw(*form_, ToClient({0, 0}));
    // What is being dragged follows the mouse.
    if (const Control* dragged = mouse_->dragSource())
        scene_->DrawDragImage(*dragged, ToClient(mouse_->position()));
    int64_t nowMs = clock_.NowMs();
    double elapsed = static_cast<double>(nowMs - lastDrawMs_) / 1000.0;
    lastDrawMs_ = nowMs;
    imgui_->Frame(display_.clientWidth(), display_.clientHeight(), elapsed, [this] {
        BuildMenuBar();
        if (buildOverlay) buildOverlay();
        dialogs_.Build();
    });
    display_.Present();
    // A command chosen with the mouse runs now that the frame is over; it may pump events and draw.
    if (!chosenMenuPath_.empty() && menuBar_) {
        auto path = std::move(chosenMenuPath_);
        chosenMenuPath_.clear();
        drawing_ = false;
        ChooseMenuCommand(*menuBar_, path);
    }
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

bool PlayerScreen::GameHasMouse(Point framePoint) const {
    return !dialogs_.open() && framePoint.y >= 0 && !imgui_->WantsMouse();
}

void PlayerScreen::MouseMove(Point at) {
    imgui_->MouseMove(ToClient(at));
    UpdatePointer(at);
    if (GameHasMouse(at)) mouse_->MouseMove(at, buttonsHeld_, 0);
}

void PlayerScreen::MouseDown(Point at, int button) {
    imgui_->MouseMove(ToClient(at));
    imgui_->MouseButton(button, true);
    buttonsHeld_ |= button;
    // A modal box takes the mouse from the game under it.
    if (GameHasMouse(at)) mouse_->MouseDown(at, button, 0);
}

void PlayerScreen::MouseUp(Point at, int button) {
    imgui_->MouseButton(button, false);
    buttonsHeld_ &= ~button;
    if (!dialogs_.open()) mouse_->MouseUp(at, button, 0);  // the pressed control hears its release anywhere
}

void PlayerScreen::DoubleClick(Point at) {
    if (GameHasMouse(at)) mouse_->DoubleClick(at, 1, 0);
}

void PlayerScreen::Key(int virtualKey, int shift) {
    imgui_->Key(virtualKey, true, shift);
    if (!dialogs_.open() && onKeyDown) onKeyDown(virtualKey, shift);
    // Under automation the release follows at once; ImGui sees the press in its next frame.
    if (!dialogs_.open() && onKeyUp) onKeyUp(virtualKey, shift);
    if (!dialogs_.open()) imgui_->Key(virtualKey, false, 0);
}

void PlayerScreen::Text(const std::string& text) { imgui_->Text(text); }

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
    if (!menuBar_) return std::string("the window has no menu");
    std::string error = ChooseMenuCommand(*menuBar_, path);
    if (!error.empty()) return error;
    loop_.DoEvents();
    return std::nullopt;
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
            case SDL_MOUSEMOTION: MouseMove(ToFrame(view.ToClient({event.motion.x, event.motion.y}))); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                int button = event.button.button == SDL_BUTTON_RIGHT    ? kRightButton
                             : event.button.button == SDL_BUTTON_MIDDLE ? kMiddleButton
                                                                        : kLeftButton;
                Point at = ToFrame(view.ToClient({event.button.x, event.button.y}));
                if (event.type == SDL_MOUSEBUTTONUP)
                    MouseUp(at, button);
                else if (event.button.clicks == 2)
                    DoubleClick(at);
                else
                    MouseDown(at, button);
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                auto code = VirtualKeyOf(event.key.keysym.sym);
                if (!code) break;
                int shift = ShiftFlagsOf(event.key.keysym.mod);
                bool down = event.type == SDL_KEYDOWN;
                imgui_->Key(*code, down, shift);
                if (dialogs_.open()) break;
                if (down && onKeyDown) onKeyDown(*code, shift);
                if (!down && onKeyUp) onKeyUp(*code, shift);
                break;
            }
            case SDL_TEXTINPUT: imgui_->Text(event.text.text); break;
            default: break;
        }
    }
}

}  // namespace taviro::platform
