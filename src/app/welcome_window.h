// The welcome window frmWelcome: the project's title, version, author, e-mail address and web site,
// the offer to switch the display to the project's resolution, and the buttons Start, Load and Exit,
// in the look of the project's scheme. Loading it is the start-up of the program.
#pragma once

#include <functional>
#include <string>

#include "app/display_modes.h"
#include "app/scheme.h"
#include "platform/controls/control_kinds.h"
#include "platform/windows/top_windows.h"
#include "project/project.h"

namespace taviro::app {

// What the welcome window needs from the program around it.
struct WelcomeServices {
    // The size of a picture in pixels; nullopt when it cannot be loaded.
    std::function<std::optional<platform::Point>(const std::string& path)> pictureSize;
    // Opens an address ("mailto:...", "https://...") with the desktop's default program.
    std::function<void(const std::string& address)> openAddress;
    // ClickButton 0 and 1: play a new game, or choose a saved game to load.
    std::function<void()> startGame;
    std::function<void()> loadGame;
    // Unloading the welcome window ends the program.
    std::function<void()> endProgram;
};

class WelcomeWindow {
public:
    // Twips per pixel of the screen, read once at start-up.
    static constexpr int kTwipsPerPixel = 15;
    // The web site the logo offers to open.
    static constexpr char kLogoAddress[] = "https://taviro.org";

    WelcomeWindow(project::Project& project, platform::TopWindows& windows, platform::TopWindow& window,
                  DisplayModes& modes, WelcomeServices services);

    // The start-up sequence, from InitializeProject on (the program has done it): the window is shown,
    // or the game starts at once when the project skips the welcome window.
    void Load();

    // 0 Start, 1 Load, 2 Exit.
    void ClickButton(int index);
    // Applies a scheme of the Schemes folder; a missing or broken one leaves the plain look.
    void UseScheme(const std::string& name);

    // Shows the window again after a game, or hides it while one is played.
    void Show();
    void Hide();
    bool skipped() const { return project_.information.skipWelcome; }

    platform::TopWindow& window() { return window_; }

private:
    void BuildControls();
    // Positions are in twips, as the window's layout is written.
    platform::Label& AddLabel(const std::string& name, std::optional<int> index, int left, int top, int width,
                              int height);
    // Places a label (and its caption label) at y and shows them when the value is not empty; true then.
    bool PlaceLine(platform::Label& value, platform::Label* caption, const std::string& text, int y);
    void LayOutLines();
    void ApplySchemeButtons(const Scheme& scheme, const std::string& folder);
    void TileBackground(const std::string& path);
    void ChooseLogo(int16_t style, bool placement);
    void AskThenOpen(const std::string& question, const std::string& address);
    void Unload();
    // Runs one step of the start-up sequence; a failing step is skipped and remembered.
    void Step(const std::function<void()>& step);

    platform::Label& Label(const std::string& name, std::optional<int> index = std::nullopt);
    platform::Control& Control(const std::string& name, std::optional<int> index = std::nullopt);

    project::Project& project_;
    platform::TopWindows& windows_;
    platform::TopWindow& window_;
    platform::Form& form_;
    DisplayModes& modes_;
    WelcomeServices services_;
    bool stepFailed_ = false;
    // The scheme's logo: style 0 or 1, and which of the two places.
    int16_t logoStyle_ = 0;
    bool logoPlacement_ = false;
};

}  // namespace taviro::app
