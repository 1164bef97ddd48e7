// A window of the player and the automation host over it.
#include "platform/sdl/player_screen.h"

#include <SDL.h>
#include <imgui.h>

#include <functional>

#include "platform/controls/list_controls.h"
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
        // Every list that shows its items: list boxes and the file, folder and drive lists.
        if (RaisesOwnClick(*child) && child->kind() != ControlKind::ComboBox) {
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

// The visible items of a menu with their captions, check marks and enabled state.
nlohmann::ordered_json MenuJson(const MenuItem& menu) {
    auto items = nlohmann::ordered_json::array();
    for (const auto& item : menu.items()) {
        if (!item->visible) continue;
        nlohmann::ordered_json json;
        json["caption"] = item->separator() ? item->caption() : item->shownCaption();
        json["checked"] = item->checked;
        json["enabled"] = item->enabled;
        if (!item->items().empty()) json["items"] = MenuJson(*item);
        items.push_back(std::move(json));
    }
    return items;
}

nlohmann::ordered_json MenusJson(const TopWindow* window) {
    nlohmann::ordered_json json;
    json["bar"] = window && window->menuBar ? MenuJson(*window->menuBar) : nlohmann::ordered_json();
    json["popup"] = window && window->popupMenu() ? MenuJson(*window->popupMenu()) : nlohmann::ordered_json();
    return json;
}

}  // namespace

PlayerScreen::PlayerScreen(const DisplaySettings& settings, Clock& clock, FileSystem& files, bool automated)
    : clock_(clock),
      display_(settings),
      timers_(clock),
      loop_(clock, timers_),
      pictures_(files),
      text_(std::make_unique<TtfTextRenderer>(display_.renderer())),
      dialogs_(loop_, history_, automated),
      runFromCdWindows_(loop_, automated) {
    MakeRenderers();
    shown_ = {settings.caption, settings.border, false};
    if (!display_.headless()) {
        loop_.SetInputHandler([this] { HandleSdlEvents(); });
        cursors_ = std::make_unique<MouseCursors>(pictures_);
        display_.SetDragByBackground([this](Point clientPoint) {
            TopWindow* window = InputWindow();
            return window && window->isDragArea && window->isDragArea(ToFrame(clientPoint));
        });
    }
    loop_.SetDrawHandler([this] { Draw(); });
    loop_.SetIdleHandler([this] { UseIdleTime(); });
    state_.Contribute("clock_ms", [this] { return nlohmann::ordered_json(clock_.NowMs()); });
    state_.Contribute("windows", [this] {
        nlohmann::ordered_json windows = windows_.VisibleNames();
        if (const SavedGameWindow* saved = savedGameWindows_.window())
            windows.push_back(saved->kind == SavedGameWindow::Kind::Save ? "save" : "load");
        if (runFromCdWindows_.window()) windows.push_back("cd");
        if (dialogs_.open()) windows.push_back("dialog");
        return windows;
    });
    state_.Contribute("messageboxes", [this] { return history_.Json(); });
    state_.Contribute("saves", [this] {
        const SavedGameWindow* saved = savedGameWindows_.window();
        return saved ? nlohmann::ordered_json(saved->names) : nlohmann::ordered_json::array();
    });
    state_.Contribute("display", [this] { return DisplayJson(); });
    state_.Contribute("menus", [this] { return MenusJson(windows_.front()); });
}

PlayerScreen::~PlayerScreen() = default;

TopWindow& PlayerScreen::LoadWindow(std::string name, int clientWidth, int clientHeight) {
    TopWindow& window = windows_.Load(std::move(name), clientWidth, clientHeight);
    window.form().SetTextMeasurer(text_.get());
    return window;
}

int PlayerScreen::menuBarHeight() const {
    const TopWindow* front = windows_.front();
    return front && front->menuBar ? kMenuBarHeight : 0;
}

TopWindow* PlayerScreen::InputWindow() const {
    TopWindow* front = windows_.front();
    return front && front->enabled && !dialogs_.open() && !savedGameWindows_.window() &&
                   !runFromCdWindows_.window()
               ? front
               : nullptr;
}

SavedGameWindow* PlayerScreen::SavedGameInput() const {
    return dialogs_.open() ? nullptr : savedGameWindows_.window();
}

void PlayerScreen::RunSavedGameButton(SavedGameWindow::Button button) {
    SavedGameWindow* window = SavedGameInput();
    if (!window || !window->onButton) return;
    // The handler may close the window, which takes its handler with it: run a copy.
    auto handler = window->onButton;
    loop_.Dispatch([&] { handler(button); });
}

nlohmann::ordered_json PlayerScreen::DisplayJson() const {
    Point window = display_.windowSize();
    nlohmann::ordered_json json;
    json["mode"] = display_.headless() ? "headless" : display_.fullScreen() ? "fullscreen" : "window";
    json["full_screen"] = display_.fullScreen();
    json["window_size"] = {window.x, window.y};
    json["client_size"] = {display_.clientWidth(), display_.clientHeight()};
    Viewport view = display_.viewport();
    json["scale"] = view.scale;
    json["desktop_size"] = {desktopSize().x, desktopSize().y};
    return json;
}

void PlayerScreen::PrepareAhead(std::vector<PicturePreloader::Candidates> pictures,
                                std::vector<ShownText> texts) {
    pictures_.DecodeAhead(std::move(pictures));
    text_->MeasureAhead(std::move(texts));
}

void PlayerScreen::UseIdleTime() {
    // About a fifth of a turn of a real-time wait, so that the game never stutters.
    constexpr std::chrono::microseconds kIdleWorkPerTurn{2000};
    const auto until = std::chrono::steady_clock::now() + kIdleWorkPerTurn;
    if (atNextIdle_) std::exchange(atNextIdle_, nullptr)();
    if (PicturePreloader* preloader = pictures_.preloader())
        scene_->PrepareDecodedAhead(*preloader, kIdleWorkPerTurn);
    text_->MeasureSomeAhead(until);
    pictures_.KeepWithinBudget();
    // Textures of pictures that neither the cache nor the pictures decoded ahead hold any more.
    scene_->Trim();
}

void PlayerScreen::MakeRenderers() {
    imgui_.reset();
    scene_.reset();
    text_->SetRenderer(display_.renderer());
    scene_ = std::make_unique<SceneRenderer>(display_.renderer(), pictures_, clock_, text_.get());
    imgui_ = std::make_unique<ImGuiLayer>(display_.renderer());
}

void PlayerScreen::FollowFrontWindow() {
    TopWindow* front = windows_.front();
    if (!front) return;
    Rect bounds = front->form().bounds();
    int height = bounds.height + menuBarHeight();
    if (bounds.width != display_.clientWidth() || height != display_.clientHeight()) {
        display_.SetClientSize(bounds.width, height);
        MakeRenderers();
    }
    if (display_.fullScreen() != front->fullScreen) display_.SetFullScreen(front->fullScreen);
    if (front->caption != shown_.caption) display_.SetCaption(shown_.caption = front->caption);
    if (front->border != shown_.border) display_.SetBorder(shown_.border = front->border);
    if (front->topmost != shown_.topmost) display_.SetTopmost(shown_.topmost = front->topmost);
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
                if (item->onOpen) item->onOpen(*item);
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

void PlayerScreen::BuildMenus() {
    TopWindow* front = windows_.front();
    if (!front) return;
    std::vector<std::string> path;
    if (front->menuBar && ImGui::BeginMainMenuBar()) {
        std::vector<std::string> chosen;
        BuildMenuItems(*front->menuBar, path, chosen);
        ImGui::EndMainMenuBar();
        if (!chosen.empty()) {
            chosenMenuPath_ = std::move(chosen);
            chosenMenu_ = front->menuBar;
        }
    }
    MenuItem* popup = front->popupMenu();
    if (!popup) {
        popupOpen_ = false;
        return;
    }
    constexpr char kPopupId[] = "##popup";
    if (!popupOpen_) {
        ImGui::OpenPopup(kPopupId);
        popupOpen_ = true;
    }
    if (ImGui::BeginPopup(kPopupId)) {
        std::vector<std::string> chosen;
        BuildMenuItems(*popup, path, chosen);
        ImGui::EndPopup();
        if (!chosen.empty()) {
            chosenMenuPath_ = std::move(chosen);
            chosenMenu_ = popup;
            front->ClosePopupMenu();
        }
    } else {
        // Dismissed by a click elsewhere.
        front->ClosePopupMenu();
        popupOpen_ = false;
    }
}

void PlayerScreen::Draw() {
    // Handlers run from inside drawing would start an ImGui frame inside another; drawing waits instead.
    if (drawing_) return;
    drawing_ = true;
    struct Done {
        bool& drawing;
        ~Done() { drawing = false; }
    } done{drawing_};
    FollowFrontWindow();
    TopWindow* front = windows_.front();
    if (front) {
        scene_->Draw(front->form(), ToClient({0, 0}));
        text_->EndFrame();
        // What is being dragged follows the mouse.
        if (const Control* dragged = front->mouse().dragSource())
            scene_->DrawDragImage(*dragged, ToClient(front->mouse().position()));
    } else {
        SDL_SetRenderDrawColor(display_.renderer(), 0, 0, 0, 255);
        SDL_RenderClear(display_.renderer());
    }
    int64_t nowMs = clock_.NowMs();
    double elapsed = static_cast<double>(nowMs - lastDrawMs_) / 1000.0;
    lastDrawMs_ = nowMs;
    imgui_->Frame(display_.clientWidth(), display_.clientHeight(), elapsed, [this] {
        BuildMenus();
        if (buildOverlay) buildOverlay();
        savedGameWindows_.Build();
        runFromCdWindows_.Build();
        dialogs_.Build();
    });
    display_.Present();
    // A button of the save or load window runs now that the frame is over, as a menu command does.
    if (auto button = savedGameWindows_.TakeChosen()) {
        drawing_ = false;
        RunSavedGameButton(*button);
    }
    // A command chosen with the mouse runs now that the frame is over; it may pump events and draw.
    if (!chosenMenuPath_.empty() && chosenMenu_ && front == windows_.front()) {
        auto path = std::move(chosenMenuPath_);
        chosenMenuPath_.clear();
        drawing_ = false;
        loop_.Dispatch([&] { ChooseMenuCommand(*chosenMenu_, path); });
    }
    chosenMenuPath_.clear();
}

void PlayerScreen::RunUntilQuit() {
    while (!loop_.quitRequested()) loop_.WaitMs(1000);
}

void PlayerScreen::UpdatePointer(Point at) {
    if (!cursors_) return;
    if (windows_.pointerHidden) return cursors_->Hide();
    if (windows_.screenPointer) return cursors_->Show(*windows_.screenPointer, windows_.screenPointerIcon);
    TopWindow* window = InputWindow();
    if (!window) return cursors_->Show(MousePointer::Arrow);
    const Control* owner = nullptr;
    MousePointer pointer = window->mouse().PointerAt(at, &owner);
    cursors_->Show(pointer, owner ? owner->mouseIcon() : std::string());
}

bool PlayerScreen::GameHasMouse(Point framePoint) const {
    return InputWindow() && framePoint.y >= 0 && !imgui_->WantsMouse() && !popupOpen_;
}

void PlayerScreen::MouseMove(Point at) {
    FollowFrontWindow();
    imgui_->MouseMove(ToClient(at));
    UpdatePointer(at);
    if (GameHasMouse(at)) loop_.Dispatch([&] { InputWindow()->mouse().MouseMove(at, buttonsHeld_, 0); });
}

void PlayerScreen::MouseDown(Point at, int button) {
    FollowFrontWindow();
    imgui_->MouseMove(ToClient(at));
    imgui_->MouseButton(button, true);
    buttonsHeld_ |= button;
    // A modal box, an open menu or a disabled window takes the mouse from the game under it.
    if (GameHasMouse(at)) loop_.Dispatch([&] { InputWindow()->mouse().MouseDown(at, button, 0); });
}

void PlayerScreen::MouseUp(Point at, int button) {
    imgui_->MouseButton(button, false);
    buttonsHeld_ &= ~button;
    // The pressed control hears its release anywhere.
    if (TopWindow* window = InputWindow()) loop_.Dispatch([&] { window->mouse().MouseUp(at, button, 0); });
}

void PlayerScreen::DoubleClick(Point at) {
    FollowFrontWindow();
    if (GameHasMouse(at)) loop_.Dispatch([&] { InputWindow()->mouse().DoubleClick(at, 1, 0); });
}

void PlayerScreen::Wheel(Point at, int notches) {
    FollowFrontWindow();
    if (GameHasMouse(at)) loop_.Dispatch([&] { InputWindow()->mouse().Wheel(notches); });
}

void PlayerScreen::KeyTo(int virtualKey, int shift, bool down) {
    TopWindow* window = InputWindow();
    if (!window) return;
    auto& handler = down ? window->onKeyDown : window->onKeyUp;
    if (handler) loop_.Dispatch([&] { handler(virtualKey, shift); });
}

void PlayerScreen::Key(int virtualKey, int shift) {
    if (SavedGameInput()) {
        if (auto button = savedGameWindows_.Key(virtualKey)) RunSavedGameButton(*button);
        return;
    }
    imgui_->Key(virtualKey, true, shift);
    KeyTo(virtualKey, shift, true);
    // Under automation the release follows at once; ImGui sees the press in its next frame.
    KeyTo(virtualKey, shift, false);
    if (!dialogs_.open()) imgui_->Key(virtualKey, false, 0);
}

void PlayerScreen::CloseBox() {
    TopWindow* front = windows_.front();
    if (front && front->onCloseBox) {
        loop_.Dispatch(front->onCloseBox);
    } else {
        loop_.RequestQuit();
    }
}

void PlayerScreen::Text(const std::string& text) {
    if (SavedGameInput()) {
        savedGameWindows_.Text(text);
        return;
    }
    imgui_->Text(text);
    TopWindow* window = dialogs_.open() ? nullptr : InputWindow();
    if (window && window->onText) loop_.Dispatch([&] { window->onText(text); });
}

std::optional<std::string> PlayerScreen::Press(const std::string& caption) {
    if (dialogs_.Press(caption)) return std::nullopt;
    if (RunFromCdWindow* cd = dialogs_.open() ? nullptr : runFromCdWindows_.window()) {
        std::optional<bool> ok = cd->FindButton(caption);
        if (!ok) return "the window has no button " + caption;
        auto handler = cd->onButton;  // the handler closes the window it belongs to
        if (handler) handler(*ok);
        return std::nullopt;
    }
    if (SavedGameWindow* saved = SavedGameInput()) {
        SavedGameWindow::Button button;
        if (!saved->FindButton(caption, button)) return "the window has no button " + caption;
        RunSavedGameButton(button);
        loop_.DoEvents();
        return std::nullopt;
    }
    TopWindow* window = InputWindow();
    if (!window) return "no window takes input";
    if (Control* control = FindByCaption(window->form(), caption)) {
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
    if (RunFromCdWindow* cd = dialogs_.open() ? nullptr : runFromCdWindows_.window())
        return cd->SelectEntry(text) ? std::nullopt
                                     : std::optional<std::string>("the list has no entry " + text);
    if (SavedGameWindow* saved = SavedGameInput()) {
        for (size_t i = 0; i < saved->names.size(); ++i)
            if (saved->names[i] == text) {
                saved->Select(static_cast<int>(i));
                return std::nullopt;
            }
        return "the list has no entry " + text;
    }
    int at = -1;
    TopWindow* window = InputWindow();
    ListBox* list = window ? FindListWith(window->form(), text, at) : nullptr;
    if (!list) return "no list in the window has the entry " + text;
    // Choosing another item raises the list's Click; choosing the selected one again raises it here.
    loop_.Dispatch([&] {
        if (list->listIndex() != at)
            list->SetListIndex(at);
        else if (auto click = list->events.click)
            click(*list);
    });
    loop_.DoEvents();
    return std::nullopt;
}

std::optional<std::string> PlayerScreen::Menu(const std::vector<std::string>& path) {
    TopWindow* window = InputWindow();
    MenuItem* menu = !window ? nullptr : window->popupMenu() ? window->popupMenu() : window->menuBar;
    if (window && !menu) menu = window->hiddenMenuBar;
    if (!menu) return std::string("the window has no menu");
    if (menu == window->popupMenu()) window->ClosePopupMenu();
    std::string error;
    loop_.Dispatch([&] { error = ChooseMenuCommand(*menu, path); });
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

void PlayerScreen::WindowEvent(uint8_t event) {
    switch (event) {
        // Hidden and shown are left out: the player hides its own window between the welcome window
        // and the game, and the game's clock must go on then.
        case SDL_WINDOWEVENT_MINIMIZED:
            if (minimisedChanged) minimisedChanged(true);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            if (minimisedChanged) minimisedChanged(false);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (focusChanged) focusChanged(false);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (focusChanged) focusChanged(true);
            break;
        default: break;
    }
}

void PlayerScreen::HandleSdlEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        Viewport view = display_.viewport();
        switch (event.type) {
            case SDL_QUIT: CloseBox(); break;
            case SDL_MOUSEMOTION: MouseMove(ToFrame(view.ToClient({event.motion.x, event.motion.y}))); break;
            case SDL_MOUSEWHEEL: {
                int x = 0, y = 0;
                SDL_GetMouseState(&x, &y);
                const int notches =
                    event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
                if (notches != 0) Wheel(ToFrame(view.ToClient({x, y})), notches);
                break;
            }
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
                if (SavedGameInput()) {
                    if (!down) break;
                    if (auto button = savedGameWindows_.Key(*code)) RunSavedGameButton(*button);
                    break;
                }
                imgui_->Key(*code, down, shift);
                KeyTo(*code, shift, down);
                break;
            }
            case SDL_TEXTINPUT: Text(event.text.text); break;
            case SDL_WINDOWEVENT: WindowEvent(event.window.event); break;
            default: break;
        }
    }
}

}  // namespace taviro::platform
