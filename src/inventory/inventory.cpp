// Items held, picked up, dragged, combined and removed; the menus as clicks and the bar see them.
#include "inventory/inventory.h"

#include "frames/frame_files.h"
#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "project/field_reader.h"
#include "project/field_value.h"

namespace taviro::inventory {
namespace {

constexpr char kPickedObject[] = "PickedObject";

}  // namespace

Inventory::Inventory(project::Project& project, GameFlags& flags, platform::Form& form,
                     platform::EventLoop& loop, const frames::CurrentFrame& frame,
                     InventoryServices& services)
    : project_(project),
      flags_(flags),
      form_(form),
      frame_(frame),
      services_(services),
      options_(InventoryOptions::From(project.information)),
      bar_(project, form, loop, options_) {}

void Inventory::AddControls() {
    bar_.AddControls();
    bar_.onMenuButton = [this] { ShowMenus(true); };
    auto icon = std::make_unique<platform::ImageControl>(kPickedObject, 0);
    icon->stretch = true;
    icon->SetBounds({0, 0, kIconSize, kIconSize});
    icon->SetVisible(false);
    icon->events.mouseDown = [this](platform::Control& control, const platform::MouseEvent& event) {
        IconPressed(control, event);
    };
    icon->events.mouseMove = [this](platform::Control&, const platform::MouseEvent&) {
        bar_.ShowInventory();
    };
    icon->events.dragOver = [this](platform::Control&, platform::Control&, int, int, platform::DragState) {
        bar_.ShowInventory();
    };
    icon->events.dragDrop = [this](platform::Control& target, platform::Control& source, int, int) {
        Dropped(target, source);
    };
    bar_.canvas().Add(std::move(icon));
}

void Inventory::ResetInventory() {
    frames::UnloadRunTimeElements(form_, kPickedObject);
    names_.clear();
    pictures_.clear();
    draggedIndex_ = 0;
    options_ = InventoryOptions::From(project_.information);
    HideMenus();
    bar_.Reset();
}

std::string Inventory::PickedObjectName(int index) const {
    if (index < 1 || index > ObjectsCount()) return "";
    return names_[static_cast<size_t>(index - 1)];
}

const platform::Control* Inventory::Icon(int index) const { return form_.Find(kPickedObject, index); }

void Inventory::ShowIcon(int index) {
    auto* icon = static_cast<platform::ImageControl*>(form_.Find(kPickedObject, index));
    const std::string& picture = pictures_[static_cast<size_t>(index - 1)];
    icon->picture = picture;
    icon->Set("DragIcon", picture);
    icon->Set("Tag", names_[static_cast<size_t>(index - 1)]);
}

void Inventory::AddPickedObject(const std::string& name, bool doNotPopup) {
    try {
        // 2. The item's picture is the first field of its description.
        std::optional<std::string> description =
            project_.ReadTextFile(project_.paths.AreasPath + name + ".obj");
        if (!description) return;
        project::FieldReader reader(std::move(*description));
        std::string picture = project_.LocateProjectFile(project_.paths.AreasPath + reader.ReadString());
        // 3-5. A new icon at the next place of the grid.
        const int index = ObjectsCount() + 1;
        platform::Control& icon = form_.Load(kPickedObject, index);
        names_.push_back(name);
        pictures_.push_back(picture);
        platform::Point at = options_.IconPosition(index);
        icon.SetBounds({at.x, at.y, kIconSize, kIconSize});
        ShowIcon(index);
        icon.SetVisible(true);
        icon.BringToFront();
        // 6. The bar follows its rows.
        bar_.FitToItems(ObjectsCount());
        // 7. The bar shows the new item for two seconds.
        if (!doNotPopup && options_.popUpOnNewItem) bar_.PopUp();
    } catch (const std::exception&) {
        // The item is not added; the original says nothing.
    }
}

void Inventory::RemovePickedObject(int index) {
    if (index < 1 || index > ObjectsCount()) throw platform::control_errors::NoSuchElement(index);
    // Later icons take the place of the one before; the last icon goes.
    names_.erase(names_.begin() + (index - 1));
    pictures_.erase(pictures_.begin() + (index - 1));
    for (int i = index; i <= ObjectsCount(); ++i) ShowIcon(i);
    form_.Unload(kPickedObject, ObjectsCount() + 1);
    bar_.FitToItems(ObjectsCount());
}

void Inventory::RemoveItem(const std::string& name, bool removeDuplicates) {
    try {
        const std::string folded = platform::FoldCase(name);
        for (int i = ObjectsCount(); i >= 1; --i) {
            if (platform::FoldCase(names_[static_cast<size_t>(i - 1)]) != folded) continue;
            RemovePickedObject(i);
            if (!removeDuplicates) break;
        }
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        project_.reports().ShowErrorReport(" Error removing from the inventory the item named '" + name +
                                           "'. " + error.description());
    }
}

void Inventory::RemoveAllItems() {
    try {
        while (ObjectsCount() > 0) RemovePickedObject(1);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        project_.reports().ShowErrorReport(" Error removing all the inventory items. " + error.description());
    }
}

void Inventory::PickOrNotPickObject(int areaIndex) {
    try {
        std::optional<std::string> text =
            project_.ReadTextFile(project_.paths.FramesDataPath + frame_.name + ".fm4");
        if (!text) return;
        project::FieldReader reader(std::move(*text));
        while (!reader.AtEnd()) {
            if (flags_.GameStopping) return;
            reader.Skip();
            if (reader.ReadInteger() != areaIndex) {
                reader.SkipRecord();
                continue;
            }
            // The first record of the hotspot decides, whatever its flag.
            reader.Skip(8);
            if (project::NumericValue(reader.ReadVariant()) == 1) AddPickedObject(reader.ReadString(), false);
            return;
        }
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        if (!flags_.GameStopping) {
            project_.reports().ShowErrorReport(" Error in the \"PickOrNotPickObject\" procedure.\n\n" +
                                               error.description());
        }
    }
}

void Inventory::IconPressed(platform::Control& icon, const platform::MouseEvent& event) {
    if (!project_.information.onlyEscSkipsWait) flags_.StopMovie = true;
    if (event.button != platform::kLeftButton) {
        HandleShowHideMenus(event.button);
        return;
    }
    if (services_.IsOneTimeVideoPlaying()) return;
    draggedIndex_ = icon.index().value_or(0);
    services_.BeginDrag(icon);
}

std::optional<int> Inventory::DraggedItemIndex(const platform::Control& source) const {
    if (platform::FoldCase(source.name()) != "pickedobject" || draggedIndex_ < 1) return std::nullopt;
    return draggedIndex_;
}

void Inventory::HideInventoryIfItem() {
    const platform::Control* source = services_.DragSource();
    if (source && DraggedItemIndex(*source)) bar_.HideInventory();
}

void Inventory::Dropped(platform::Control& target, platform::Control& source) {
    std::optional<int> dragged = DraggedItemIndex(source);
    const int onto = target.index().value_or(0);
    if (!dragged || onto == *dragged || onto < 1) return;
    Combine(*dragged, onto);
}

void Inventory::Combine(int dragged, int target) {
    try {
        // 1. A combination goes one way only: the dragged item's name comes first.
        std::optional<std::string> text =
            project_.ReadTextFile(project_.paths.AreasPath + PickedObjectName(dragged) + "_on_" +
                                  PickedObjectName(target) + ".drg");
        if (!text) return;
        project::FieldReader reader(std::move(*text));
        // 2-3. Removing the dragged item first moves a later target one place forward.
        const bool draggedRemoved = project::NumericValue(reader.ReadVariant()) == 1;
        if (draggedRemoved) RemovePickedObject(dragged);
        if (project::NumericValue(reader.ReadVariant()) == 1)
            RemovePickedObject(draggedRemoved && dragged < target ? target - 1 : target);
        // 4.
        const bool addItem = project::NumericValue(reader.ReadVariant()) == 1;
        const project::FieldValue newItem = reader.ReadVariant();
        if (addItem) AddPickedObject(project::ToText(newItem), false);
        // 5. The combination's script, from files that go on that far.
        if (reader.AtEnd()) return;
        reader.Skip(3);
        const bool runScript = reader.ReadBoolean();
        const std::string script = project::ReplaceBarsWithQuotes(reader.ReadString());
        if (!flags_.GameStopping && runScript && !script.empty())
            services_.ExecuteVBScriptAndConsequences(script, true);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        if (!flags_.GameStopping)
            project_.reports().ShowErrorReport(" Error combining the inventory items. " +
                                               error.description());
    }
}

void Inventory::ShowMenus(bool showPopupMenu) {
    if (options_.neverShowMenus) return;
    if (options_.runMenuScript) {
        services_.ExecuteVBScriptAndConsequences(options_.menuScript, true);
        return;
    }
    menusShown_ = true;
    services_.ShowMenuBar(true);
    if (showPopupMenu) services_.OpenPopupMenu();
}

void Inventory::HideMenus() {
    if (!menusShown_) return;
    menusShown_ = false;
    services_.ShowMenuBar(false);
}

int Inventory::HandleShowHideMenus(int button) {
    if (button != platform::kRightButton) {
        if (!services_.AreMenusPinned()) HideMenus();
        bar_.HideInventory();
    } else if (options_.rightButtonTogglesBar) {
        if (bar_.shown()) {
            bar_.HideInventory();
        } else {
            bar_.ShowInventory();
        }
    } else if (!menusShown_) {
        ShowMenus(false);
    } else if (!services_.AreMenusPinned()) {
        HideMenus();
    }
    return button;
}

}  // namespace taviro::inventory
