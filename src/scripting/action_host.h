// What the Action object's methods ask of the game window beyond the project and the variables:
// messages, hotspots, the inventory, timed events, menus, dialogues and the screen.
#pragma once

#include <cstdint>
#include <string>

namespace taviro::scripting {

class ActionHost {
public:
    virtual ~ActionHost() = default;

    virtual void ShowTextMessage(const std::string& text, bool inWindow, bool fromScript) = 0;
    virtual void AddPickedObject(const std::string& name, bool doNotPopup) = 0;
    // The inventory commands report their own failures.
    virtual void RemoveItem(const std::string& name, bool removeDuplicates) = 0;
    virtual void RemoveAllItems() = 0;
    virtual void HideInventoryButton() = 0;
    virtual void ShowInventoryButton() = 0;
    // The new event's number, or 0 when it was refused (reported).
    virtual int CreateTimedEvent(double durationSeconds, const std::string& code, bool repeatForever) = 0;
    virtual void RemoveTimedEvent(int number) = 0;
    virtual void ShowOrNotShowAreas() = 0;
    virtual void QuitCurrentDialogue() = 0;
    virtual void ShowMenus() = 0;
    virtual void HideMenus() = 0;
    // The last click position, in pixels of the frame.
    virtual int16_t ClickPositionX() = 0;
    virtual int16_t ClickPositionY() = 0;
    // Draws the game window at once.
    virtual void RefreshWindow() = 0;
};

}  // namespace taviro::scripting
