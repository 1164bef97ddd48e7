// Fuzz target: the readers of the "Plugins" list and of plugin definition files on any bytes, and
// the expansion of plugin commands with what was read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/game_error.h"
#include "project/plugins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static const taviro::platform::CodePage codePage(1252);
    static const taviro::project::PluginCommandSyntax syntax(codePage);
    // The first byte chooses the reader; the rest is the file.
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        if (data[0] % 2 == 0) {
            taviro::project::ReadPluginList(bytes, codePage);
        } else {
            std::vector<taviro::project::Plugin> plugins(1);
            plugins[0].listName = "p";
            try {
                taviro::project::ReadPluginDefinition(bytes, codePage, plugins[0]);
            } catch (const taviro::GameError&) {
                // What was read before the damage is kept, as the player keeps it.
            }
            syntax.ExpandPluginCommands(syntax.CommandText(bytes), data[0] % 4 == 1, plugins);
        }
    } catch (const taviro::GameError&) {
        // Read errors are the expected outcome of damaged files.
    }
    return 0;
}
