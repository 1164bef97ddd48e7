// The field order of "General" is the format; end checks let older, shorter files stay valid.
#include "project/project_information.h"

#include <algorithm>

namespace taviro::project {

std::string ReplaceBarsWithQuotes(std::string text) {
    std::replace(text.begin(), text.end(), '|', '"');
    return text;
}

void SetProjectInformationDefaults(ProjectInformation& info) {
    info.ProjectName.clear();
    info.resolutionOffer = 0;
    info.inventoryLayout1 = 10;
    info.inventoryLayout2 = 10;
    std::fill(std::begin(info.inventoryOptions), std::end(info.inventoryOptions), true);
    info.inventoryOption32 = false;
    info.inventoryGraphic1 = "DEFAULT";
    info.inventoryGraphic2 = "DEFAULT";
    info.projectResolution = 0;
    info.defaultCursor = "DEFAULT";
    info.windowed = false;
    info.skipWelcome = false;
    info.unusedField44 = false;
    info.unusedField46 = false;
    info.hideEffectsMenus = false;
    info.neverShowMenus = false;
    info.runStartupScript = false;
    info.startupScript.clear();
    info.runFrameScript = false;
    info.frameScript.clear();
    info.ProtectionLevel = 0;
    info.menuInventoryBehaviour = false;
    info.runMenuScript = false;
    info.menuScript.clear();
    info.inventoryGraphic = "DEFAULT";
    info.offerFullScreenToggle = false;
    info.hidePointerWhileWaiting = false;
    info.onlyEscSkipsWait = false;
}

void ReadProjectInformation(FieldReader& reader, ProjectInformation& info) {
    // 1-11: name, title, frame size, welcome-window texts.
    info.ProjectName = reader.ReadString();
    reader.Skip();
    info.ProjectTitle = reader.ReadString();
    reader.ReadInteger();
    info.InitialFrame = reader.ReadString();
    info.versionText = reader.ReadString();
    info.ProjectWidth = reader.ReadInteger();
    info.ProjectHeight = reader.ReadInteger();
    info.author = reader.ReadString();
    info.authorEmail = reader.ReadString();
    info.webSite = reader.ReadString();
    if (reader.AtEnd()) return;

    // 12: the resolution offer.
    info.resolutionOffer = reader.ReadInteger();
    if (reader.AtEnd()) return;

    // 13-16: the welcome-window scheme.
    reader.Skip(3);
    info.SchemeName = reader.ReadString();
    if (reader.AtEnd()) return;

    // 17-22: loading and saving switches.
    reader.Skip(3);
    info.loadingDisabled = reader.ReadBoolean();
    info.savingDisabled = reader.ReadBoolean();
    reader.Skip();
    if (reader.AtEnd()) return;

    // 23-38: inventory layout, resolution, default cursor. Field 23 is compared with "'" by the
    // editor's own code; the player has no use for the result.
    reader.ReadString();
    reader.Skip();
    info.inventoryLayout1 = reader.ReadLong();
    info.inventoryLayout2 = reader.ReadLong();
    for (bool& option : info.inventoryOptions) option = reader.ReadBoolean();
    info.inventoryOption32 = reader.ReadBoolean();
    info.inventoryGraphic1 = reader.ReadString();
    info.inventoryGraphic2 = reader.ReadString();
    info.projectResolution = reader.ReadInteger();
    reader.Skip(2);
    info.defaultCursor = reader.ReadString();
    if (reader.AtEnd()) return;

    // 39-41: window or full screen.
    reader.Skip(2);
    info.windowed = reader.ReadBoolean();
    if (reader.AtEnd()) return;

    // 42-44.
    reader.Skip();
    info.skipWelcome = reader.ReadBoolean();
    info.unusedField44 = reader.ReadBoolean();
    if (reader.AtEnd()) return;

    // 45-46.
    reader.Skip();
    info.unusedField46 = reader.ReadBoolean();
    if (reader.AtEnd()) return;

    info.hideEffectsMenus = reader.ReadBoolean();  // 47
    if (reader.AtEnd()) return;

    info.neverShowMenus = reader.ReadBoolean();  // 48
    if (reader.AtEnd()) return;

    // 49-55: the start-up and frame scripts.
    reader.Skip(3);
    info.runStartupScript = reader.ReadBoolean();
    info.startupScript = ReplaceBarsWithQuotes(reader.ReadString());
    info.runFrameScript = reader.ReadBoolean();
    info.frameScript = ReplaceBarsWithQuotes(reader.ReadString());
    if (reader.AtEnd()) return;

    if (reader.ReadBoolean()) info.ProtectionLevel = 1;  // 56, the older form of 57
    if (reader.AtEnd()) return;

    info.ProtectionLevel = reader.ReadLong();  // 57
    if (reader.AtEnd()) return;

    info.menuInventoryBehaviour = reader.ReadBoolean();  // 58
    if (reader.AtEnd()) return;

    // 59-61: the menu script and the inventory graphic.
    info.runMenuScript = reader.ReadBoolean();
    info.menuScript = ReplaceBarsWithQuotes(reader.ReadString());
    info.inventoryGraphic = reader.ReadString();
    if (reader.AtEnd()) return;

    // 62-64.
    info.offerFullScreenToggle = reader.ReadBoolean();
    info.hidePointerWhileWaiting = reader.ReadBoolean();
    info.onlyEscSkipsWait = reader.ReadBoolean();
}

}  // namespace taviro::project
