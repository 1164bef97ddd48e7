// What opening a frame asks of the subsystems that are not the frame's own: timed events,
// transitions and effects, scripts, inventory and menus, dialogues, plugins and quitting.
#pragma once

#include <string>

#include "platform/controls/canvas.h"

namespace taviro::frames {

// The code plugins add to a frame's script.
struct PluginFrameCode {
    std::string beforeScript;  // each plugin's first frame-open code
    std::string data;          // the plugins' processing of the frame's plugin data
    std::string afterScript;   // each plugin's second frame-open code
    bool empty() const { return beforeScript.empty() && data.empty() && afterScript.empty(); }
};

class FrameServices {
public:
    virtual ~FrameServices() = default;

    virtual void ResetTimedEvents() = 0;
    virtual void StartTimedEvents() = 0;

    virtual void ClearTransitionDestination() = 0;
    // A frame begins to open: a transition still running ends first, as a click ends it.
    virtual void EndRunningTransition() = 0;
    virtual void TransitionStep1(int transitionNumber) = 0;
    // Animates from the captured old frame to the new one. Pumps events.
    virtual void TransitionStep2(int transitionNumber, double durationSeconds) = 0;
    virtual bool EffectsDisabled() = 0;
    // Stops the rippling water of the old frame and waits for it to finish. Pumps events.
    virtual void StopRipplingWater() = 0;
    // Loads the frame's rippling water; true when it has one.
    virtual bool LoadWaveEffectIfAny() = 0;
    virtual void StartRipplingWater() = 0;

    // Paints a picture of the game side by side over a canvas (a tiled background). Throws GameError
    // when the picture cannot be loaded.
    virtual void TileBackground(platform::Canvas& canvas, const std::string& path) = 0;

    // Decides, on the first frame after a reset, whether scripts may reach the whole window.
    virtual void DecideControlsReferences() = 0;
    virtual PluginFrameCode CollectPluginFrameCode(const std::string& pluginData) = 0;
    // Runs the frame's script with fresh Action requests; true when the script asked to quit.
    virtual bool RunFrameScript(const std::string& code) = 0;

    virtual void HideMenus() = 0;
    virtual void BringInventoryToFront() = 0;
    virtual bool IsInventoryBusy() = 0;

    virtual bool IsDialogueRunning() = 0;
    virtual void LoadAndStartDialogue(const std::string& frameName) = 0;

    virtual void StartUnloading() = 0;
};

}  // namespace taviro::frames
