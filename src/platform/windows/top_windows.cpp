#include "platform/windows/top_windows.h"

#include <algorithm>

namespace taviro::platform {

TopWindow::TopWindow(std::string name, int clientWidth, int clientHeight)
    : name_(std::move(name)), form_(name_, clientWidth, clientHeight), mouse_(form_) {}

TopWindow& TopWindows::Load(std::string name, int clientWidth, int clientHeight) {
    windows_.insert(windows_.begin(),
                    std::make_unique<TopWindow>(std::move(name), clientWidth, clientHeight));
    return *windows_.front();
}

void TopWindows::Unload(TopWindow& window) {
    std::erase_if(windows_, [&](const auto& each) { return each.get() == &window; });
}

void TopWindows::Show(TopWindow& window) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [&](const auto& each) { return each.get() == &window; });
    if (it == windows_.end()) return;
    window.visible_ = true;
    std::rotate(it, it + 1, windows_.end());
}

void TopWindows::Hide(TopWindow& window) {
    window.visible_ = false;
    window.popupMenu_ = nullptr;
}

TopWindow* TopWindows::front() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if ((*it)->visible_) return it->get();
    return nullptr;
}

TopWindow* TopWindows::Find(const std::string& name) const {
    for (const auto& window : windows_)
        if (window->name_ == name) return window.get();
    return nullptr;
}

std::vector<std::string> TopWindows::VisibleNames() const {
    std::vector<std::string> names;
    for (const auto& window : windows_)
        if (window->visible_) names.push_back(window->name_);
    return names;
}

}  // namespace taviro::platform
