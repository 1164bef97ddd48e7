// Feeding and drawing ImGui.
#include "platform/sdl/imgui_layer.h"

#include <imgui.h>
#include <imgui_impl_sdlrenderer.h>

#include "platform/fonts/font_resolver.h"
#include "platform/input/virtual_keys.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

// Makes the layer's context current for the length of a call; the player has one, tests may have several.
struct CurrentContext {
    ImGuiContext* previous;
    explicit CurrentContext(ImGuiContext* context) : previous(ImGui::GetCurrentContext()) {
        ImGui::SetCurrentContext(context);
    }
    ~CurrentContext() { ImGui::SetCurrentContext(previous); }
};

// The menus and dialogs speak in the proportional font the frames use for "Arial" (Liberation Sans),
// at the size of the system font of the games' time, in game pixels: the window's scale enlarges it
// with the game. Latin, Latin Extended-A and Cyrillic cover the languages the player's locales speak.
constexpr float kDialogFontPixels = 14.0f;

void UseProportionalFont(ImGuiIO& io) {
    try {
        FontResolver fonts;
        const ResolvedFont& font = fonts.Resolve("Arial", false, false);
        static const ImWchar kExtendedLatin[] = {0x0100, 0x017F, 0x2013, 0x2026, 0};
        static ImVector<ImWchar> ranges;
        if (ranges.empty()) {
            ImFontGlyphRangesBuilder builder;
            builder.AddRanges(io.Fonts->GetGlyphRangesDefault());
            builder.AddRanges(io.Fonts->GetGlyphRangesCyrillic());
            builder.AddRanges(kExtendedLatin);
            builder.BuildRanges(&ranges);
        }
        ImFontConfig config;
        config.FontNo = font.faceIndex;
        if (!io.Fonts->AddFontFromFileTTF(font.file.c_str(), kDialogFontPixels, &config, ranges.Data))
            log::Error("cannot load the dialog font " + font.file + "; dialogs use the built-in font");
    } catch (const std::exception& failure) {
        log::Error(std::string("no font for the dialogs: ") + failure.what());
    }
}

}  // namespace

ImGuiLayer::ImGuiLayer(SDL_Renderer* renderer) : renderer_(renderer) {
    ImGuiContext* previous = ImGui::GetCurrentContext();
    context_ = ImGui::CreateContext();
    ImGui::SetCurrentContext(context_);
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;  // the player keeps no ImGui settings file
    io.LogFilename = nullptr;
    io.ConfigFlags |= ImGuiConfigFlags_NavEnableKeyboard;
    // Keys arrive as virtual-key codes, so those are the indices ImGui looks them up by.
    io.KeyMap[ImGuiKey_Tab] = vk::kTab;
    io.KeyMap[ImGuiKey_LeftArrow] = vk::kLeft;
    io.KeyMap[ImGuiKey_RightArrow] = vk::kRight;
    io.KeyMap[ImGuiKey_UpArrow] = vk::kUp;
    io.KeyMap[ImGuiKey_DownArrow] = vk::kDown;
    io.KeyMap[ImGuiKey_Home] = vk::kHome;
    io.KeyMap[ImGuiKey_End] = vk::kEnd;
    io.KeyMap[ImGuiKey_Delete] = vk::kDelete;
    io.KeyMap[ImGuiKey_Backspace] = vk::kBackspace;
    io.KeyMap[ImGuiKey_Space] = vk::kSpace;
    io.KeyMap[ImGuiKey_Enter] = vk::kReturn;
    io.KeyMap[ImGuiKey_Escape] = vk::kEscape;
    io.KeyMap[ImGuiKey_A] = 'A';
    io.KeyMap[ImGuiKey_C] = 'C';
    io.KeyMap[ImGuiKey_V] = 'V';
    io.KeyMap[ImGuiKey_X] = 'X';
    io.KeyMap[ImGuiKey_Y] = 'Y';
    io.KeyMap[ImGuiKey_Z] = 'Z';
    ApplyClassicDialogStyle();
    UseProportionalFont(io);
    ImGui_ImplSDLRenderer_Init(renderer_);
    ImGui::SetCurrentContext(previous);
}

ImGuiLayer::~ImGuiLayer() {
    ImGui::SetCurrentContext(context_);
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui::DestroyContext(context_);
}

void ImGuiLayer::Frame(int clientWidth, int clientHeight, double elapsedSeconds,
                       const std::function<void()>& build) {
    CurrentContext current(context_);
    ImGuiIO& io = ImGui::GetIO();
    io.DisplaySize = ImVec2(static_cast<float>(clientWidth), static_cast<float>(clientHeight));
    io.DeltaTime = elapsedSeconds > 0 ? static_cast<float>(elapsedSeconds) : 1.0f / 60.0f;
    ImGui_ImplSDLRenderer_NewFrame();
    ImGui::NewFrame();
    build();
    ImGui::Render();
    ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

void ImGuiLayer::MouseMove(Point at) {
    CurrentContext current(context_);
    ImGui::GetIO().MousePos = ImVec2(static_cast<float>(at.x), static_cast<float>(at.y));
}

void ImGuiLayer::MouseButton(int button, bool down) {
    CurrentContext current(context_);
    int index = button == 2 ? 1 : button == 4 ? 2 : 0;
    ImGui::GetIO().MouseDown[index] = down;
}

void ImGuiLayer::Key(int virtualKey, bool down, int shift) {
    CurrentContext current(context_);
    ImGuiIO& io = ImGui::GetIO();
    if (virtualKey >= 0 && virtualKey < 512) io.KeysDown[virtualKey] = down;
    io.KeyShift = shift & 1;
    io.KeyCtrl = shift & 2;
    io.KeyAlt = shift & 4;
}

void ImGuiLayer::Text(const std::string& utf8) {
    CurrentContext current(context_);
    ImGui::GetIO().AddInputCharactersUTF8(utf8.c_str());
}

bool ImGuiLayer::WantsMouse() const {
    CurrentContext current(context_);
    return ImGui::GetIO().WantCaptureMouse;
}

void ApplyClassicDialogStyle() {
    ImGuiStyle& style = ImGui::GetStyle();
    ImGui::StyleColorsLight(&style);
    style.WindowRounding = style.FrameRounding = style.PopupRounding = style.GrabRounding = 0;
    style.WindowBorderSize = style.FrameBorderSize = style.PopupBorderSize = 1;
    style.WindowPadding = ImVec2(12, 10);
    style.ItemSpacing = ImVec2(8, 8);
    const ImVec4 face(0.75f, 0.75f, 0.75f, 1), white(1, 1, 1, 1), black(0, 0, 0, 1), navy(0, 0, 0.5f, 1);
    ImVec4* colors = style.Colors;
    colors[ImGuiCol_WindowBg] = colors[ImGuiCol_PopupBg] = colors[ImGuiCol_MenuBarBg] = face;
    colors[ImGuiCol_Text] = black;
    colors[ImGuiCol_TitleBg] = colors[ImGuiCol_TitleBgActive] = navy;
    colors[ImGuiCol_TitleBgCollapsed] = ImVec4(0.5f, 0.5f, 0.5f, 1);
    colors[ImGuiCol_Border] = ImVec4(0.25f, 0.25f, 0.25f, 1);
    colors[ImGuiCol_Button] = face;
    colors[ImGuiCol_ButtonHovered] = ImVec4(0.82f, 0.82f, 0.82f, 1);
    colors[ImGuiCol_ButtonActive] = ImVec4(0.6f, 0.6f, 0.6f, 1);
    colors[ImGuiCol_FrameBg] = white;
    colors[ImGuiCol_Header] = colors[ImGuiCol_HeaderHovered] = navy;
    colors[ImGuiCol_ModalWindowDimBg] = ImVec4(0, 0, 0, 0);  // the game stays as it is under a box
}

}  // namespace taviro::platform
