// What carrying out an action asks of the rest of the game beyond sounds and video: inventory,
// hotspots, messages, scripts, dialogues, transitions, frames, timed events, saved games and
// quitting. The game window implements it with the subsystems it owns.
#pragma once

#include <string>

namespace taviro::logic {

class ActionServices {
public:
    virtual ~ActionServices() = default;

    // Inventory.
    virtual std::string PickedObjectName(int objectIndex) = 0;
    virtual void RemovePickedObject(int objectIndex) = 0;
    virtual void AddPickedObject(const std::string& name, bool doNotPopup) = 0;
    virtual void HideMenus() = 0;

    // Hotspots and messages.
    virtual void ShowOrNotShowAreas() = 0;
    // Waits while the one-time video plays, with the screen's pointer for waits.
    virtual void WaitForOneTimeVideo() = 0;
    virtual void ShowTextMessage(const std::string& text, bool inWindow, bool fromScript) = 0;

    // Scripts: runs author code; true when it failed and the failure was reported. Pumps events.
    virtual bool ExecuteVBScript(const std::string& code, bool resetLastClickPosition) = 0;
    // The script text that a plugin-action text stands for; "" when there is none.
    virtual std::string ExpandPluginCalls(const std::string& pluginText) = 0;

    // Frames and what goes with a change of frame.
    virtual void QuitCurrentDialogue() = 0;
    virtual void TransitionStep1(int transitionNumber) = 0;
    virtual void OpenFrame(const std::string& name, bool withTransition, int transitionNumber,
                           double durationSeconds) = 0;
    virtual void StartTimedEvents() = 0;

    // Saved games and quitting.
    virtual void ShowLoadGameWindow(bool fromMenu) = 0;
    virtual void ShowSaveGameWindow() = 0;
    virtual void StartUnloading() = 0;
};

}  // namespace taviro::logic
