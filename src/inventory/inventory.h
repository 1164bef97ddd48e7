// The inventory: the items the player holds, as icons on the inventory bar (the control array
// PickedObject, element 0 the hidden template), picked up from hotspots, dragged onto hotspots or onto
// each other, combined and removed; and the game menus as far as clicks and the bar are concerned.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "frames/current_frame.h"
#include "inventory/inventory_bar.h"
#include "inventory/inventory_options.h"
#include "platform/controls/form.h"
#include "platform/events/event_loop.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::inventory {

// What the inventory asks of the rest of the game.
class InventoryServices {
public:
    virtual ~InventoryServices() = default;
    virtual bool IsOneTimeVideoPlaying() = 0;
    // Starts dragging an icon with the mouse; the drop reaches the control under the mouse.
    virtual void BeginDrag(platform::Control& icon) = 0;
    // The control being dragged, or nullptr.
    virtual const platform::Control* DragSource() = 0;
    // Runs author code with fresh Action requests and carries out its consequences; true when it failed.
    // Pumps events.
    virtual bool ExecuteVBScriptAndConsequences(const std::string& code, bool flag) = 0;
    // The game's menus: shown or hidden with the bar, and the pop-up menu of the menu button.
    virtual void ShowMenuBar(bool visible) = 0;
    virtual void OpenPopupMenu() = 0;
    // True while the player has a sub-menu of the shown menus open: clicks then leave the menus shown.
    virtual bool AreMenusPinned() = 0;
};

class Inventory {
public:
    Inventory(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
              const frames::CurrentFrame& frame, InventoryServices& services);

    // Creates the bar and the icon template on the form, in front of what is there.
    void AddControls();
    // A fresh game: no items, the menus hidden, the bar laid out with the project's options and pictures.
    void ResetInventory();

    // Adds an item at the end; it pops the bar up unless doNotPopup. A missing ".obj" file changes
    // nothing; other failures end it quietly.
    void AddPickedObject(const std::string& name, bool doNotPopup);
    // Removes icon `index` (1-based); later icons move one place forward. Throws GameError 340 for an
    // index that is not held.
    void RemovePickedObject(int index);
    // The script commands RemoveItem and RemoveAllItems; failures are reported.
    void RemoveItem(const std::string& name, bool removeDuplicates);
    void RemoveAllItems();
    // Picks up the item the frame's ".fm4" file lays on hotspot areaIndex, if any. Failures are reported.
    void PickOrNotPickObject(int areaIndex);

    // The item dropped on a hotspot: its index when the dragged control is an icon.
    std::optional<int> DraggedItemIndex(const platform::Control& source) const;
    // The scene under the bar asks it to go when an item is dragged over it.
    void HideInventoryIfItem();

    // Menus. HandleShowHideMenus returns the button, for the caller to act on a left click.
    void ShowMenus(bool showPopupMenu);
    void HideMenus();
    int HandleShowHideMenus(int button);
    bool menusShown() const { return menusShown_; }

    // Busy while the bar slides: clicks wait, and so does the frame timer.
    bool IsInventoryBusy() const { return bar_.moving(); }

    int ObjectsCount() const { return static_cast<int>(names_.size()); }
    const std::vector<std::string>& names() const { return names_; }
    // Item name of icon `index` (1-based), or "" when there is none.
    std::string PickedObjectName(int index) const;
    // Icon `index` (1-based), or nullptr.
    const platform::Control* Icon(int index) const;
    InventoryBar& bar() { return bar_; }
    const InventoryOptions& options() const { return options_; }

private:
    void IconPressed(platform::Control& icon, const platform::MouseEvent& event);
    void Dropped(platform::Control& target, platform::Control& source);
    void Combine(int dragged, int target);
    void ShowIcon(int index);

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    const frames::CurrentFrame& frame_;
    InventoryServices& services_;
    InventoryOptions options_;
    InventoryBar bar_;
    std::vector<std::string> names_;     // names_[i - 1] is icon i's item
    std::vector<std::string> pictures_;  // the same for the icons' pictures
    int draggedIndex_ = 0;
    bool menusShown_ = false;
};

}  // namespace taviro::inventory
