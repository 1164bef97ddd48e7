// Key names to virtual-key codes.
#include "platform/input/virtual_keys.h"

#include "platform/controls/property_value.h"

namespace taviro::platform {

std::optional<int> VirtualKeyByName(std::string_view name) {
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return std::nullopt;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int number = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9') return std::nullopt;
            number = number * 10 + (c - '0');
        }
        if (number >= 1 && number <= 12 && name[1] != '0') return vk::kF1 + number - 1;
        return std::nullopt;
    }
    static constexpr std::pair<std::string_view, int> kNamed[] = {
        {"Escape", vk::kEscape}, {"Return", vk::kReturn}, {"Space", vk::kSpace},
        {"Tab", vk::kTab},       {"Up", vk::kUp},         {"Down", vk::kDown},
        {"Left", vk::kLeft},     {"Right", vk::kRight},   {"Home", vk::kHome},
        {"End", vk::kEnd},       {"Delete", vk::kDelete}, {"Backspace", vk::kBackspace}};
    for (auto [known, code] : kNamed)
        if (SameName(name, known)) return code;
    return std::nullopt;
}

}  // namespace taviro::platform
