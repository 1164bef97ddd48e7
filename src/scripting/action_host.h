// What the Action object's methods ask of the game window beyond the project and the variables:
// messages, hotspots, the inventory, menus, dialogues and the screen.
#pragma once

#include <cstdint>
#include <string>

namespace taviro::scripting {

class ActionHost {
public:
    virtual ~ActionHost() = default;

    virtual void ShowTextMessage(const std::string& text, bool inWindow, bool fromScript) = 0;
    virtual void AddPickedObject(const std::string& name, bool doNotPopup) = 0;
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
