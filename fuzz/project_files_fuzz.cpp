// Fuzz target: the readers of the project's own files ("General", "Texts", "More") on any bytes,
// decoded from the default code page as the player does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/code_page.h"
#include "platform/game_error.h"
#include "project/interface_texts.h"
#include "project/profile_files.h"
#include "project/project_information.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const taviro::platform::CodePage codePage(1252);
    const std::string text = codePage.Decode(std::string(reinterpret_cast<const char*>(data), size));

    taviro::project::ProjectInformation information;
    taviro::project::SetProjectInformationDefaults(information);
    try {
        taviro::project::FieldReader reader(text);
        taviro::project::ReadProjectInformation(reader, information);
    } catch (const taviro::GameError&) {
    }

    taviro::project::InterfaceTexts texts;
    try {
        taviro::project::FieldReader reader(text);
        texts.ReadInterfaceTexts(reader);
    } catch (const taviro::GameError&) {
    }

    taviro::project::ReadProfileValue(text, "General", "ScriptTimeOut");
    std::string written = taviro::project::WriteProfileValue(text, "General", "ScriptTimeOut", "30");
    if (taviro::project::ReadProfileValue(written, "General", "ScriptTimeOut") != "30") __builtin_trap();
    return 0;
}
