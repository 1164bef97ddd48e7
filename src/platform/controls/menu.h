// Menus of a window: the menu bar and pop-up menus, with sub-menus, check marks, enabled and disabled,
// hidden items and separators; items may be added and removed while the game runs.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::platform {

class MenuItem {
public:
    explicit MenuItem(std::string caption, std::string name = {});

    // A caption of "-" makes a separator, as in the original.
    const std::string& caption() const { return caption_; }
    void SetCaption(std::string caption) { caption_ = std::move(caption); }
    // The caption as shown: "&File" shows as "File" (the & marks the access key).
    std::string shownCaption() const;
    bool separator() const { return caption_ == "-"; }
    const std::string& name() const { return name_; }

    bool checked = false;
    bool enabled = true;
    bool visible = true;
    // Runs when the player chooses the item (items with sub-items open them instead).
    std::function<void(MenuItem&)> onClick;
    // Runs when the item's sub-menu opens (again while it stays open).
    std::function<void(MenuItem&)> onOpen;

    const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
    MenuItem& Add(std::string caption, std::string name = {});
    // Inserts before the item at `at` (0 = first); past the end appends.
    MenuItem& Insert(size_t at, std::string caption, std::string name = {});
    // False when the item is not a direct sub-item of this one.
    bool Remove(const MenuItem& item);
    // The sub-item with that name (letter case ignored), searched at every depth; nullptr if none.
    MenuItem* FindByName(std::string_view name);

private:
    std::string caption_;
    std::string name_;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

// Chooses the command at the end of a path of captions as shown (letter case ignored), walking only
// visible items; returns an error message when an item is missing, disabled, or has sub-items.
std::string ChooseMenuCommand(MenuItem& root, const std::vector<std::string>& path);

}  // namespace taviro::platform
