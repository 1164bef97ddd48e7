// The player's menus and dialogs in a proportional font, not the dialog library's fixed bitmap font.
#include "platform/sdl/imgui_layer.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <memory>

namespace taviro::platform {
namespace {

TEST(ImGuiLayer, DialogsSpeakInTheProportionalFontOfTheFrames) {
    std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)> surface(
        SDL_CreateRGBSurfaceWithFormat(0, 320, 240, 32, SDL_PIXELFORMAT_ARGB8888), SDL_FreeSurface);
    ASSERT_TRUE(surface);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface.get());
    ASSERT_TRUE(renderer);
    {
        ImGuiLayer layer(renderer);
        float narrow = 0, wide = 0, size = 0;
        layer.Frame(320, 240, 0.016, [&] {
            narrow = ImGui::CalcTextSize("iiiiiiii").x;
            wide = ImGui::CalcTextSize("MMMMMMMM").x;
            size = ImGui::GetFontSize();
        });
        // A fixed-width font gives both the same width.
        EXPECT_LT(narrow * 2, wide);
        EXPECT_FLOAT_EQ(size, 14.0f);
    }
    SDL_DestroyRenderer(renderer);
}

}  // namespace
}  // namespace taviro::platform
