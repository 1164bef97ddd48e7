// What the Action object's methods ask of the game window beyond the project and the variables:
// messages, hotspots, the inventory, timed events, menus, dialogues, the screen and the desktop around
// the player.
#pragma once

#include <cstdint>
#include <string>

#include "platform/controls/control.h"
#include "vbscript/object.h"

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

    // Asks the desktop to open a document, a web address or a "mailto:" address with its default
    // program, without waiting. Throws GameError when it cannot.
    virtual void OpenDocument(const std::string& address) = 0;
    // Runs a program and waits for its end while events run; the window takes no input and the
    // frame timer is off meanwhile. Shows the launch error when the program cannot start.
    virtual void ShellAndWait(const std::string& path) = 0;
    // Lets pending events run (component events included) while the window takes no input.
    virtual void DoComponentsEvents() = 0;
    // Clicks hotspot `number` with the left button once the script has returned and the window is
    // idle; 0 clicks nothing. Several calls click in turn.
    virtual void SimulateHotspotClick(int16_t number) = 0;
    // Applies the project's default pointer to the window and to every hotspot.
    virtual void ResetDefaultPointer() = 0;
    // Writes the picture of a picture file as a bitmap file. Throws GameError when it cannot.
    virtual void SavePicture(const std::string& picturePath, const std::string& file) = 0;

    // Display modes: mode 1 (640 x 480), 2 (800 x 600) or 3 (1024 x 768) now, the mode loaded games
    // ask for (0 none), and the size of the screen in pixels.
    virtual void ChangeDisplayResolution(int mode) = 0;
    virtual void ChangeDisplayResolutionOnLoadGame(int16_t mode) = 0;
    virtual platform::Point ScreenSize() = 0;

    // The Options menu's two switches, on when their check marks are off.
    virtual bool TransitionsEnabled() = 0;
    virtual bool EffectsEnabled() = 0;
    virtual void EnableOrDisableTransitions() = 0;
    virtual void EnableOrDisableEffects() = 0;
    // Transitions: a picture of the frame into a picture box (composed from its parts, or copied
    // from the screen), and the object that the next transition draws into.
    virtual void CaptureFrame(platform::Control& pictureBox, bool withoutScreenCapture) = 0;
    virtual void SetTransitionDestination(vbscript::Ref<vbscript::Object> destination) = 0;
};

}  // namespace taviro::scripting
