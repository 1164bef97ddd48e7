// The game's side of plugins and components: the code plugins add to frames.
#include "app/game.h"

namespace taviro::app {

frames::PluginFrameCode Game::CollectPluginFrameCode(const std::string& pluginData) {
    frames::PluginFrameCode code;
    for (const project::Plugin& plugin : plugins_.table()) {
        if (!plugin.frameOpenCodeBefore.empty()) code.beforeScript += plugin.frameOpenCodeBefore + "\r\n";
        if (!plugin.frameOpenCodeAfter.empty()) code.afterScript += plugin.frameOpenCodeAfter + "\r\n";
    }
    code.data = plugins_.ExpandStoredCommands(pluginData, false);
    return code;
}

}  // namespace taviro::app
