// The original's virtual-key codes, which games receive in their key events.
#pragma once

#include <optional>
#include <string_view>

namespace taviro::platform {

namespace vk {
constexpr int kBackspace = 8, kTab = 9, kReturn = 13, kEscape = 27, kSpace = 32, kEnd = 35, kHome = 36,
              kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kDelete = 46, kF1 = 112;
}  // namespace vk

// The code of a key named as automation names it: a letter (65-90), a digit (48-57), F1 to F12, Escape,
// Return, Space, Tab, Up, Down, Left, Right, Home, End, Delete, Backspace; letter case ignored.
std::optional<int> VirtualKeyByName(std::string_view name);

}  // namespace taviro::platform
