// Menu items.
#include "platform/controls/menu.h"

#include <algorithm>

#include "platform/controls/property_value.h"

namespace taviro::platform {

MenuItem::MenuItem(std::string caption, std::string name)
    : caption_(std::move(caption)), name_(std::move(name)) {}

std::string MenuItem::shownCaption() const {
    std::string shown;
    for (size_t i = 0; i < caption_.size(); ++i) {
        // "&&" shows one ampersand; a single one marks the next letter.
        if (caption_[i] == '&' && i + 1 < caption_.size()) {
            ++i;
            if (caption_[i] != '&') {
                shown.push_back(caption_[i]);
                continue;
            }
        }
        shown.push_back(caption_[i]);
    }
    return shown;
}

MenuItem& MenuItem::Add(std::string caption, std::string name) {
    return Insert(items_.size(), std::move(caption), std::move(name));
}

MenuItem& MenuItem::Insert(size_t at, std::string caption, std::string name) {
    at = std::min(at, items_.size());
    auto it = items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at),
                            std::make_unique<MenuItem>(std::move(caption), std::move(name)));
    return **it;
}

bool MenuItem::Remove(const MenuItem& item) {
    auto it = std::find_if(items_.begin(), items_.end(), [&](auto& i) { return i.get() == &item; });
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
}

MenuItem* MenuItem::FindByName(std::string_view name) {
    for (auto& item : items_) {
        if (SameName(item->name_, name)) return item.get();
        if (MenuItem* inner = item->FindByName(name)) return inner;
    }
    return nullptr;
}

std::string ChooseMenuCommand(MenuItem& root, const std::vector<std::string>& path) {
    MenuItem* current = &root;
    std::string walked;
    for (const std::string& caption : path) {
        walked += (walked.empty() ? "" : "/") + caption;
        MenuItem* next = nullptr;
        for (auto& item : current->items())
            if (item->visible && !item->separator() && SameName(item->shownCaption(), caption)) {
                next = item.get();
                break;
            }
        if (!next) return "there is no menu item " + walked;
        if (!next->enabled) return "the menu item " + walked + " is disabled";
        if (!next->items().empty() && next->onOpen) next->onOpen(*next);
        current = next;
    }
    if (current == &root) return "no menu item was named";
    if (!current->items().empty()) return "the menu item " + walked + " opens a sub-menu";
    if (current->onClick) current->onClick(*current);
    return {};
}

}  // namespace taviro::platform
