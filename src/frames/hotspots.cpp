// Loading, showing and clicking hotspots.
#include "frames/hotspots.h"

#include <algorithm>
#include <cmath>

#include "frames/frame_files.h"
#include "platform/controls/control_kinds.h"
#include "platform/game_error.h"
#include "project/field_value.h"

namespace taviro::frames {
namespace {

constexpr char kArea[] = "Area";
constexpr int kLeftButton = 1;
constexpr int16_t kNoVariable = -32000;

bool IsDefaultPointer(const std::string& name) {
    return name.empty() || platform::FoldCase(name) == "default";
}

}  // namespace

platform::Rect HotspotPixels(const HotspotRecord& record) {
    TwipsRectangle twips = HotspotRectangle(record, platform::kTwipsPerPixel);
    return {twips.left / platform::kTwipsPerPixel, twips.top / platform::kTwipsPerPixel,
            twips.width / platform::kTwipsPerPixel, twips.height / platform::kTwipsPerPixel};
}

Hotspots::Hotspots(project::Project& project, GameFlags& flags, platform::Form& form, CurrentFrame& frame,
                   HotspotServices& services)
    : project_(project), flags_(flags), form_(form), frame_(frame), services_(services) {}

void Hotspots::ApplyDefaultPointer(platform::Control& control) const {
    const std::string& cursor = project_.information.defaultCursor;
    if (IsDefaultPointer(cursor)) {
        control.SetMousePointer(platform::MousePointer::Default);
        return;
    }
    control.Set("MouseIcon", project_.LocateProjectFile(project_.paths.IconsPath + cursor));
    control.SetMousePointer(platform::MousePointer::Custom);
}

void Hotspots::SetScreenPointerArrow() {
    const std::string& cursor = project_.information.defaultCursor;
    if (IsDefaultPointer(cursor)) return;
    // The arrow first, so that a pointer file that cannot be shown leaves the arrow.
    services_.SetScreenPointer(platform::MousePointer::Arrow, {});
    services_.SetScreenPointer(platform::MousePointer::Custom,
                               project_.LocateProjectFile(project_.paths.IconsPath + cursor));
}

void Hotspots::SetScreenPointerDefault() { services_.SetScreenPointer(std::nullopt, {}); }

void Hotspots::WaitWithScreenPointer(const std::function<void()>& wait) {
    const bool hide = project_.information.hidePointerWhileWaiting;
    if (hide)
        services_.HideScreenPointer(true);
    else
        SetScreenPointerArrow();
    wait();
    if (hide)
        services_.HideScreenPointer(false);
    else
        SetScreenPointerDefault();
}

void Hotspots::LoadAreas() {
    // 1-2. No hotspot file, no hotspots.
    records_.clear();
    std::optional<std::string> text =
        project_.ReadTextFile(MergedOrPlainFile(project_, frame_.name, ".mr2", ".fm2"));
    if (!text) return;
    frame_.MergedHotspotIndex = 1;
    project::FieldReader reader(std::move(*text));
    int number = 0;
    try {
        // 3-8. One hotspot per record; the record number is the hotspot number.
        while (!reader.AtEnd()) {
            if (flags_.GameStopping) return;
            ++number;
            HotspotRecord record = ReadHotspotRecord(reader);
            if (record.mergedMarker == 1 && number != 1 && frame_.MergedHotspotIndex == 1) {
                frame_.MergedHotspotIndex = static_cast<int16_t>(number);
            }
            if (flags_.GameStopping) return;
            Create(number, record);
            records_.push_back(std::move(record));
        }
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        if (!flags_.GameStopping) {
            project_.reports().ShowErrorReport(" Unable to load hotspot #" + std::to_string(number) + ". " +
                                               error.description());
        }
    }
}

void Hotspots::Create(int number, const HotspotRecord& record) {
    auto& element = static_cast<platform::ImageControl&>(form_.Load(kArea, number));
    platform::Rect bounds = HotspotPixels(record);
    element.SetBounds(bounds);
    element.SetVisible(false);

    // 5-6. An animated picture, or the hotspot's own picture.
    std::string picture;
    if (record.showsPicture) picture = project_.LocateProjectFile(project_.paths.AreasPath + record.picture);
    if (record.showsPicture && record.animation != 0) {
        element.picture.clear();
        services_.CreateAnimatedPicture(number, picture, project::NumericValue(record.animationSpeed),
                                        bounds.x, bounds.y);
    } else {
        element.stretch = record.displayOption == 1;
        element.picture = picture;
    }

    // 7. Its pointer, or the project's.
    if (!IsDefaultPointer(record.pointer)) {
        element.Set("MouseIcon", project_.LocateProjectFile(project_.paths.IconsPath + record.pointer));
        element.SetMousePointer(platform::MousePointer::Custom);
    } else {
        ApplyDefaultPointer(element);
    }

    // 8. A looping video.
    if (record.hasLoopingVideo) {
        services_.CreateLoopingVideo(
            number, record, project_.LocateProjectFile(project_.paths.FramesPath + record.loopingVideo));
    }
    AttachEvents(element);
}

void Hotspots::AttachEvents(platform::Control& element) {
    const int number = *element.index();
    element.events.mouseDown = [this, number](platform::Control& area, const platform::MouseEvent& event) {
        // The action may open another frame, which unloads this hotspot and this handler with it:
        // nothing of either is used once the click has been handed on.
        Hotspots& hotspots = *this;
        hotspots.SaveClickPos(area.bounds().x + event.x, area.bounds().y + event.y);
        hotspots.AreaClick(number, event.button);
        hotspots.services_.PauseWithEvents(100);
    };
    element.events.mouseMove = [this](platform::Control&, const platform::MouseEvent&) {
        services_.RequestHideInventory();
    };
    element.events.dragOver = [this](platform::Control&, platform::Control&, int, int, platform::DragState) {
        services_.HideInventoryIfItem();
    };
    element.events.dragDrop = [this, number](platform::Control& area, platform::Control& source, int x,
                                             int y) {
        Hotspots& hotspots = *this;
        std::optional<int> item = hotspots.services_.DraggedItemIndex(source);
        if (!item) return;
        hotspots.SaveClickPos(area.bounds().x + x, area.bounds().y + y);
        hotspots.services_.MakeActionAndConsequences(number, *item);
    };
}

bool Hotspots::Visible(int number, const HotspotRecord& record) {
    // 2. A removed hotspot stays hidden whatever its variables say.
    if (services_.IsHotspotRemoved(frame_.name, number)) return false;
    if (record.hasConditions == 0) return true;
    // 3. List A must be 0, list B exactly 1; variables that do not exist do not count.
    for (const std::string& name : record.mustBeZero) {
        int16_t value = services_.GetVariableValue(name);
        if (value != 0 && value != kNoVariable) return false;
    }
    for (const std::string& name : record.mustBeOne) {
        int16_t value = services_.GetVariableValue(name);
        if (value != 1 && value != kNoVariable) return false;
    }
    return true;
}

void Hotspots::ShowOrNotShowAreas() {
    for (size_t i = 0; i < records_.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        platform::Control* element = form_.Find(kArea, number);
        if (!element) continue;
        bool visible = Visible(number, records_[i]);
        if (element->visible() == visible) continue;
        element->SetVisible(visible);
        services_.ShowHotspotMedia(number, visible);
        // The animated picture's box appears or goes at once: pending events are handled once.
        const HotspotRecord& record = records_[i];
        if (record.showsPicture && record.animation != 0) services_.PauseWithEvents(0);
    }
}

void Hotspots::ResetFrameAreas() {
    UnloadRunTimeElements(form_, kArea);
    records_.clear();
    services_.RemoveHotspotMedia();
}

void Hotspots::AreaClick(int areaIndex, int button) {
    // 1-3. A click skips a wait and a running transition.
    if (flags_.GameStopping) return;
    if (!project_.information.onlyEscSkipsWait) flags_.StopMovie = true;
    flags_.bInterruptTransition = true;

    // 4. Nothing happens while a video plays or starts, or while the inventory moves.
    if (services_.IsOneTimeVideoPlaying() || services_.IsVideoStarting() || services_.IsInventoryBusy())
        return;

    // 5-6. The menus may take the click; otherwise the left button carries out the action.
    button = services_.HandleShowHideMenus(button);
    if (button != kLeftButton) return;
    if (services_.AreMenusShown()) {
        services_.HideMenus();
        return;
    }
    services_.HideMenus();
    services_.PickOrNotPickObject(areaIndex);
    services_.FadeStep(1.0);
    services_.MakeActionAndConsequences(areaIndex, 0);
}

void Hotspots::SaveClickPos(int x, int y) {
    clickX_ = static_cast<int16_t>(std::clamp(x, -32768, 32767));
    clickY_ = static_cast<int16_t>(std::clamp(y, -32768, 32767));
}

}  // namespace taviro::frames
