// Plugins: ready-made script commands that the authoring tool adds to a project. The project lists
// the plugins it uses in "Plugins"; each one is a definition file "<name>.cp" in the CPData folder.
// The table is loaded at every reset of the game and needs nothing of a running game, so a checker
// can load it too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page.h"

namespace taviro::project {

class Project;

// One loaded plugin. Texts are UTF-8, with the quote conversion and unscrambling already done.
struct Plugin {
    std::string listName;  // as the "Plugins" list writes it; plugin commands are called by it
    int16_t formatNumber = 0;
    bool compiled = false;  // flag A
    bool flagB = false;     // with flag A, how the code sections are stored
    std::string internalName;
    std::string displayName;
    // The two text sections, run when a frame opens: before the frame's own script and after it.
    std::string frameOpenCodeBefore;
    std::string frameOpenCodeAfter;
    std::string startupCode;  // run when a game starts
    std::string secondCode;
    std::string scriptCode;  // given to the script hosts
    std::vector<std::string> integerVariables;
    std::vector<std::string> variantVariables;
    std::string actionProcedure;  // called for plugin commands in actions
    std::string frameProcedure;   // called for plugin commands in frames
};

// The plugin names of a "Plugins" list (bytes of the project's code page, decoded), in the order of
// their first mention; a name listed again in any letter case is left out. Throws GameError when
// the file is damaged.
std::vector<std::string> ReadPluginList(std::string_view bytes, const platform::CodePage& codePage);

// Reads a definition file (bytes of the project's code page) into the plugin. A file that ends right
// after the frame procedure's name is complete. Throws GameError when the file is damaged; the
// fields read until then stay in the plugin.
void ReadPluginDefinition(std::string_view bytes, const platform::CodePage& codePage, Plugin& plugin);

// The character conversions of plugin command texts, worked out once for a code page.
class PluginCommandSyntax {
public:
    explicit PluginCommandSyntax(const platform::CodePage& codePage);

    // A command text as actions and frames store it, made ready for expansion: the two quote marks
    // become double quotes and every double quote is doubled.
    std::string CommandText(std::string_view stored) const;

    // Expands each "{command}argument}argument" call of the text into one statement calling the
    // plugin's procedure for actions (forAction) or frames; calls of unknown commands expand to
    // nothing. The statements are joined with line breaks.
    std::string ExpandPluginCommands(std::string_view text, bool forAction,
                                     const std::vector<Plugin>& plugins) const;

private:
    std::string openMark_;   // the code page's character 164, which stands for "{"
    std::string closeMark_;  // character 165, which stands for "}"
    std::string quoteMark_;  // character 254, which stands for a double quote
};

// The plugin table of a project.
class Plugins {
public:
    explicit Plugins(Project& project);

    // Reads the "Plugins" list and the definition of each listed plugin. A missing definition gives
    // the not-installed warning and the plugin is left out; a damaged list or definition gives the
    // error message and the table keeps what was loaded until then.
    void LoadPlugins();

    const std::vector<Plugin>& table() const { return table_; }
    // The names of the loaded plugins, as the list writes them, in loading order.
    std::vector<std::string> names() const;

    // Expands the plugin commands of a stored action or frame text (see PluginCommandSyntax).
    std::string ExpandStoredCommands(std::string_view stored, bool forAction) const;

    // Per plugin, in order: the script code, the start-up code, and the two frame-open codes.
    std::vector<std::string> ScriptCodes() const;
    std::vector<std::string> StartupCodes() const;
    // The global variables every plugin declares, in plugin order.
    std::vector<std::string> IntegerVariables() const;
    std::vector<std::string> VariantVariables() const;

private:
    Project& project_;
    PluginCommandSyntax syntax_;
    std::vector<Plugin> table_;
};

}  // namespace taviro::project
