// The menus of the game window: the menu bar (Exit, Options, Load game..., Save game..., the hidden
// Debug menu) and its pop-up twin, whose items run the same commands. Captions come from the
// interface texts; the "Go to another frame" lists are the project's frame files.
#pragma once

#include <functional>
#include <string>

#include "platform/controls/menu.h"
#include "project/project.h"

namespace taviro::app {

// What the menu commands do outside the menus.
struct MenuCommands {
    std::function<void()> quit, loadGame, saveGame, toggleFullScreen, hideMenus;
    std::function<void(const std::string& frame)> openFrame;
    std::function<void()> viewVariables, executeVBScript, editProcedures, interceptCode;
    // "Disable Real-Time Effects" has changed its check mark.
    std::function<void()> effectsSwitched;
    // The Options or Debug sub-menu opened.
    std::function<void()> subMenuOpened;
};

class GameMenus {
public:
    // Captions that the interface texts do not replace.
    static constexpr char kExecuteVBScriptCaption[] = "Execute VBScript...";
    static constexpr char kEditProceduresCaption[] = "Edit procedures...";
    static constexpr char kInterceptCodeCaption[] = "Intercept next script";

    GameMenus(project::Project& project, MenuCommands commands);
    // The items' handlers refer to this object.
    GameMenus(const GameMenus&) = delete;
    GameMenus& operator=(const GameMenus&) = delete;

    platform::MenuItem& bar() { return bar_; }
    platform::MenuItem& popup() { return popup_; }

    // The frame lists of both "Go to another frame" menus, from the "*.fme" files.
    void RebuildFrameLists();
    // Options and the three script commands are off for protection levels 1 to 3.
    void ApplyProtectionLevel();
    // The check marks of the two toggles, from the per-user settings.
    void LoadCheckMarks();
    // Runs the command of a menu-bar item, as choosing it does.
    void Run(const std::string& barName);
    // Shows the Debug menu (after the debug key sequence).
    void ShowDebugMenu();

    // Both twins of an item, by the menu-bar name ("mnuExit" finds mnuExit and mnuPopupExit).
    platform::MenuItem& Item(const std::string& barName);
    platform::MenuItem& PopupItem(const std::string& barName);

private:
    void Build(platform::MenuItem& root, const std::string& prefix);
    void ApplyInterfaceTexts();
    // Inverts the check mark of a toggle, copies it to its twin and stores it under the setting.
    void Toggle(const std::string& barName, const std::string& setting);

    project::Project& project_;
    MenuCommands commands_;
    platform::MenuItem bar_{""};
    platform::MenuItem popup_{""};
};

}  // namespace taviro::app
