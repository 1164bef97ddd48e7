// The plugin list and definition readers, the plugin table and the expansion of plugin commands.
#include "project/plugins.h"

#include <algorithm>

#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "project/field_reader.h"
#include "project/project.h"
#include "project/scrambled_names.h"

namespace taviro::project {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (size_t start = 0;;) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// Bytes 254 and "~" both stand for a double quote in the texts of a definition file.
std::string ConvertQuotes(std::string bytes) {
    for (char& c : bytes) {
        if (c == '~' || static_cast<unsigned char>(c) == 254) c = '"';
    }
    return bytes;
}

// A code section stored scrambled is unscrambled line by line: parameter 100 (mode 1) or 200 (mode 2).
std::string Unscramble(std::string_view stored, int32_t parameter) {
    if (parameter == 0) return std::string(stored);
    std::string text;
    bool first = true;
    for (std::string_view line : Split(stored, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!first) text += kCrLf;
        first = false;
        text += UnscrambleTextQuoted(line, parameter);
    }
    return text;
}

std::vector<std::string> ReadNames(FieldReader& reader, const platform::CodePage& codePage) {
    std::vector<std::string> names;
    for (int16_t count = reader.ReadInteger(); count > 0; --count) {
        names.push_back(codePage.Decode(reader.ReadString()));
    }
    return names;
}

}  // namespace

std::vector<std::string> ReadPluginList(std::string_view bytes, const platform::CodePage& codePage) {
    FieldReader reader{std::string(bytes)};
    reader.Skip(10);
    std::vector<std::string> names;
    std::vector<std::string> folded;
    while (!reader.AtEnd()) {
        std::string name = codePage.Decode(reader.ReadString());
        std::string key = platform::FoldCase(name);
        if (std::find(folded.begin(), folded.end(), key) != folded.end()) continue;
        folded.push_back(std::move(key));
        names.push_back(std::move(name));
    }
    return names;
}

void ReadPluginDefinition(std::string_view bytes, const platform::CodePage& codePage, Plugin& plugin) {
    FieldReader reader{std::string(bytes)};
    auto text = [&] { return codePage.Decode(ConvertQuotes(reader.ReadString())); };
    // 1-4. The format number, eight values of the editor's own, and the two storage flags.
    plugin.formatNumber = reader.ReadInteger();
    reader.Skip(8);
    plugin.compiled = reader.ReadBoolean();
    plugin.flagB = reader.ReadBoolean();
    const int32_t parameter = (!plugin.compiled && plugin.flagB)   ? 100
                              : (plugin.compiled && !plugin.flagB) ? 200
                                                                   : 0;
    // 5-6. The names.
    plugin.internalName = codePage.Decode(reader.ReadString());
    plugin.displayName = codePage.Decode(reader.ReadString());
    // 7. The two text sections.
    plugin.frameOpenCodeBefore = text();
    plugin.frameOpenCodeAfter = text();
    // 8. The three code sections, unscrambled first.
    auto code = [&] { return codePage.Decode(ConvertQuotes(Unscramble(reader.ReadString(), parameter))); };
    plugin.startupCode = code();
    plugin.secondCode = code();
    plugin.scriptCode = code();
    // 9. The global variables.
    plugin.integerVariables = ReadNames(reader, codePage);
    plugin.variantVariables = ReadNames(reader, codePage);
    // 10. The procedures that plugin commands call; what follows is of no use to the player.
    reader.Skip();
    reader.ReadInteger();
    reader.Skip(2);
    plugin.actionProcedure = codePage.Decode(reader.ReadString());
    reader.Skip();
    plugin.frameProcedure = codePage.Decode(reader.ReadString());
}

PluginCommandSyntax::PluginCommandSyntax(const platform::CodePage& codePage)
    : openMark_(codePage.Decode("\xA4")),
      closeMark_(codePage.Decode("\xA5")),
      quoteMark_(codePage.Decode("\xFE")) {}

std::string PluginCommandSyntax::CommandText(std::string_view stored) const {
    std::string text(stored);
    ReplaceAll(text, quoteMark_, "\"");
    ReplaceAll(text, "~", "\"");
    ReplaceAll(text, "\"", "\"\"");
    return text;
}

std::string PluginCommandSyntax::ExpandPluginCommands(std::string_view text, bool forAction,
                                                      const std::vector<Plugin>& plugins) const {
    if (plugins.empty()) return "";
    // 1. Calls begin at "{" (or the character that stands for it).
    std::string calls(text);
    ReplaceAll(calls, openMark_, "{");
    ReplaceAll(calls, closeMark_, "}");
    std::vector<std::string> names;
    for (const Plugin& plugin : plugins) names.push_back(platform::FoldCase(plugin.listName));
    std::string result;
    for (std::string_view piece : Split(calls, '{')) {
        // 3. The command, then its arguments, separated by "}".
        std::vector<std::string_view> parts = Split(piece, '}');
        // 4. The plugin whose list name the command is.
        std::string command = platform::FoldCase(parts.front());
        const Plugin* plugin = nullptr;
        for (size_t i = 0; i < plugins.size(); ++i) {
            if (names[i] == command) {
                plugin = &plugins[i];
                break;
            }
        }
        // 5. One statement calling the plugin's procedure with the arguments as strings.
        std::string statement;
        if (plugin) {
            statement = (forAction ? plugin->actionProcedure : plugin->frameProcedure) + " ";
            for (size_t i = 1; i < parts.size(); ++i) {
                if (i > 1) statement += ',';
                statement += '"';
                statement += parts[i];
                statement += '"';
            }
        }
        // 2. Line breaks between the statements, none before the first text.
        if (!result.empty()) result += kCrLf;
        result += statement;
    }
    return result;
}

Plugins::Plugins(Project& project) : project_(project), syntax_(project.codePage()) {}

void Plugins::LoadPlugins() {
    const platform::CodePage& codePage = project_.codePage();
    platform::FileSystem& files = project_.files();
    // 2. The table is emptied first, so a damaged list leaves no plugin.
    table_.clear();
    try {
        // 1. The list, when the project has one.
        std::vector<std::string> names;
        const std::string listPath = project_.paths.ConfigPath + "Plugins";
        if (files.IsFile(listPath)) {
            std::optional<std::string> bytes = files.ReadFile(listPath, kLargestTextFileBytes);
            if (!bytes) throw errors::FileNotFound();
            names = ReadPluginList(*bytes, codePage);
        }
        // 3. Each listed plugin whose definition file is there.
        for (const std::string& name : names) {
            const std::string path = project_.paths.CPDataPath + name + ".cp";
            if (!files.IsFile(path)) {
                project_.reports().dialogs().MessageBox(
                    {"Plugin Not Installed",
                     "WARNING! The plugin which internal name is \"" + name +
                         "\" is required by the project but is currently not installed.\r\n\r\n"
                         "To install it, copy its definition file \"" +
                         name +
                         ".cp\" into the CPData folder of the game, then start the game again.\r\n\r\n"
                         "Note: To prevent this message from appearing again, open the Project Properties "
                         "window and then close it by clicking the OK button.",
                     platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
                continue;
            }
            std::optional<std::string> bytes = files.ReadFile(path, kLargestTextFileBytes);
            if (!bytes) throw errors::FileNotFound();
            table_.emplace_back();
            table_.back().listName = name;
            ReadPluginDefinition(*bytes, codePage, table_.back());
        }
    } catch (const std::exception&) {
        // 4. The plugins read so far stay.
        project_.reports().dialogs().MessageBox({"Error", "Error loading plugins.",
                                                 platform::MessageIcon::Critical,
                                                 platform::MessageButtons::Ok});
    }
}

std::vector<std::string> Plugins::names() const {
    std::vector<std::string> names;
    for (const Plugin& plugin : table_) names.push_back(plugin.listName);
    return names;
}

std::string Plugins::ExpandStoredCommands(std::string_view stored, bool forAction) const {
    if (table_.empty() || stored.empty()) return "";
    return syntax_.ExpandPluginCommands(syntax_.CommandText(stored), forAction, table_);
}

std::vector<std::string> Plugins::ScriptCodes() const {
    std::vector<std::string> codes;
    for (const Plugin& plugin : table_) codes.push_back(plugin.scriptCode);
    return codes;
}

std::vector<std::string> Plugins::StartupCodes() const {
    std::vector<std::string> codes;
    for (const Plugin& plugin : table_) codes.push_back(plugin.startupCode);
    return codes;
}

std::vector<std::string> Plugins::IntegerVariables() const {
    std::vector<std::string> names;
    for (const Plugin& plugin : table_)
        names.insert(names.end(), plugin.integerVariables.begin(), plugin.integerVariables.end());
    return names;
}

std::vector<std::string> Plugins::VariantVariables() const {
    std::vector<std::string> names;
    for (const Plugin& plugin : table_)
        names.insert(names.end(), plugin.variantVariables.begin(), plugin.variantVariables.end());
    return names;
}

}  // namespace taviro::project
