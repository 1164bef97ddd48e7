// What the hotspots and texts of a frame ask of the rest of the game: variables and removed
// hotspots for visibility, and the inventory, sounds, video and actions for clicks and drops.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frames/hotspot_record.h"
#include "platform/controls/control.h"

namespace taviro::frames {

class HotspotServices {
public:
    virtual ~HotspotServices() = default;

    // Visibility.
    virtual int16_t GetVariableValue(std::string_view name) = 0;  // -32000 when there is none
    virtual bool IsHotspotRemoved(std::string_view frame, int number) = 0;

    // What may stop a click from acting.
    virtual bool IsOneTimeVideoPlaying() = 0;
    virtual bool IsVideoStarting() = 0;
    virtual bool IsInventoryBusy() = 0;

    // Menus and inventory; HandleShowHideMenus may change the button.
    virtual int HandleShowHideMenus(int button) = 0;
    virtual bool AreMenusShown() = 0;
    virtual void HideMenus() = 0;
    virtual void PickOrNotPickObject(int areaIndex) = 0;
    virtual void RequestHideInventory() = 0;
    virtual void HideInventoryIfItem() = 0;
    // The inventory index of a dragged control when it is an inventory item.
    virtual std::optional<int> DraggedItemIndex(const platform::Control& source) = 0;

    // Sounds and the action.
    virtual void FadeStep(double progress) = 0;
    virtual void MakeActionAndConsequences(int areaIndex, int objectIndex) = 0;
    // Lets events run for a while; 0 handles the pending events once.
    virtual void PauseWithEvents(int durationMs) = 0;

    // The pointer of the whole screen: one pointer over everything (nullopt: each control's own
    // again), and hiding it altogether.
    virtual void SetScreenPointer(std::optional<platform::MousePointer> pointer, const std::string& icon) = 0;
    virtual void HideScreenPointer(bool hidden) = 0;

    // Animated pictures and looping videos of hotspots.
    virtual void CreateAnimatedPicture(int areaIndex, const std::string& path, double speed, int left,
                                       int top) = 0;
    virtual void CreateLoopingVideo(int areaIndex, const HotspotRecord& record, const std::string& path) = 0;
    virtual void ShowHotspotMedia(int areaIndex, bool visible) = 0;
    virtual void RemoveHotspotMedia() = 0;
};

}  // namespace taviro::frames
