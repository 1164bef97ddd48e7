// Field names of the --info output.
#include "app/project_info_json.h"

namespace taviro::app {

nlohmann::ordered_json ProjectInfoJson(const project::Project& project) {
    const project::ProjectInformation& info = project.information;
    nlohmann::ordered_json texts = nlohmann::ordered_json::array();
    for (const std::string& text : project.UITexts.all()) texts.push_back(text);
    return {
        {"path", project.paths.ProjectPath},
        {"name", info.ProjectName},
        {"title", info.ProjectTitle},
        {"initial_frame", info.InitialFrame},
        {"version", info.versionText},
        {"author", info.author},
        {"email", info.authorEmail},
        {"web_site", info.webSite},
        {"width", info.ProjectWidth},
        {"height", info.ProjectHeight},
        {"resolution", info.projectResolution},
        {"resolution_offer", info.resolutionOffer == 1},
        {"windowed", info.windowed},
        {"skip_welcome", info.skipWelcome},
        {"loading_disabled", info.loadingDisabled},
        {"saving_disabled", info.savingDisabled},
        {"protection_level", info.ProtectionLevel},
        {"scheme", info.SchemeName},
        {"default_cursor", info.defaultCursor},
        {"never_show_menus", info.neverShowMenus},
        {"offer_full_screen_toggle", info.offerFullScreenToggle},
        {"run_startup_script", info.runStartupScript},
        {"run_frame_script", info.runFrameScript},
        {"components", project.componentFiles},
        {"interface_texts", texts},
    };
}

}  // namespace taviro::app
