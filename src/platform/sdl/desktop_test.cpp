// Whether the player can show a window at all.
#include "platform/sdl/desktop.h"

#include <gtest/gtest.h>

#include <map>

namespace taviro::platform {
namespace {

TEST(Desktop, AWindowNeedsADisplayOrAVideoDriverChosenOnPurpose) {
    std::map<std::string, std::string> environment{{"HOME", "/home/player"}, {"DISPLAY", ""}};
    auto lookup = [&](const char* name) -> std::optional<std::string> {
        auto found = environment.find(name);
        if (found == environment.end()) return std::nullopt;
        return found->second;
    };
    EXPECT_FALSE(DisplayAvailable(lookup));
    environment["WAYLAND_DISPLAY"] = "wayland-0";
    EXPECT_TRUE(DisplayAvailable(lookup));
    environment.erase("WAYLAND_DISPLAY");
    environment["DISPLAY"] = ":99";
    EXPECT_TRUE(DisplayAvailable(lookup));
    environment.erase("DISPLAY");
    environment["SDL_VIDEODRIVER"] = "offscreen";
    EXPECT_TRUE(DisplayAvailable(lookup));
}

}  // namespace
}  // namespace taviro::platform
