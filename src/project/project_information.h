// The project information of the file "General": what the game is and how the player shows it.
#pragma once

#include <cstdint>
#include <string>

#include "project/field_reader.h"

namespace taviro::project {

struct ProjectInformation {
    std::string ProjectName;        // 1: internal name; section of the per-user settings
    std::string ProjectTitle;       // 3: the title shown to the player
    std::string InitialFrame;       // 5: the frame a new game opens
    std::string versionText;        // 6
    int16_t ProjectWidth = 0;       // 7: frame width in pixels
    int16_t ProjectHeight = 0;      // 8: frame height in pixels
    std::string author;             // 9
    std::string authorEmail;        // 10
    std::string webSite;            // 11
    int16_t resolutionOffer = 0;    // 12: 1 = the welcome window offers to switch the resolution
    std::string SchemeName;         // 16: "[default]", "[none]" or a folder of the Schemes folder
    bool loadingDisabled = false;   // 20
    bool savingDisabled = false;    // 21
    int32_t inventoryLayout1 = 10;  // 25
    int32_t inventoryLayout2 = 10;  // 26
    bool inventoryOptions[5] = {true, true, true, true, true};  // 27-31
    bool inventoryOption32 = false;                             // 32
    std::string inventoryGraphic1 = "DEFAULT";                  // 33
    std::string inventoryGraphic2 = "DEFAULT";                  // 34
    int16_t projectResolution = 0;          // 35: 0 = 640 x 480, 1 = 800 x 600, 2 = 1024 x 768
    std::string defaultCursor = "DEFAULT";  // 38: cursor file of the Icons folder, or "DEFAULT"
    bool windowed = false;                  // 41: True = window with border and caption
    bool skipWelcome = false;               // 43: the game starts at once
    bool unusedField44 = false;             // 44
    bool unusedField46 = false;             // 46
    bool hideEffectsMenus = false;          // 47: hide "Disable Transitions" and "Disable Real-Time Effects"
    bool neverShowMenus = false;            // 48
    bool runStartupScript = false;          // 52
    std::string startupScript;              // 53, with "|" turned into double quotes
    bool runFrameScript = false;            // 54
    std::string frameScript;                // 55, with "|" turned into double quotes
    int32_t ProtectionLevel = 0;            // 56/57: 0 = debugging commands available
    bool menuInventoryBehaviour = false;    // 58
    bool runMenuScript = false;             // 59
    std::string menuScript;                 // 60, with "|" turned into double quotes
    std::string inventoryGraphic = "DEFAULT";  // 61
    bool offerFullScreenToggle = false;        // 62
    bool hidePointerWhileWaiting = false;      // 63
    bool onlyEscSkipsWait = false;             // 64: False = a click skips a wait as Esc does
};

// Sets the fields that have a default, as the loader does before it reads the file.
void SetProjectInformationDefaults(ProjectInformation& info);

// Reads the fields in the file's order into info, stopping quietly at an end check that finds
// the end of the file. A read error throws GameError; the fields read until then keep their values.
void ReadProjectInformation(FieldReader& reader, ProjectInformation& info);

// Stored script text writes a double quote as "|".
std::string ReplaceBarsWithQuotes(std::string text);

}  // namespace taviro::project
