// Reading the lines of a dialogue in the file's order.
#include "dialogues/dialogue_file.h"

#include "project/project_information.h"

namespace taviro::dialogues {
namespace {

std::vector<int16_t> ReadIdList(project::FieldReader& reader) {
    std::vector<int16_t> ids;
    for (int16_t count = reader.ReadInteger(); count > 0; --count) ids.push_back(reader.ReadInteger());
    return ids;
}

}  // namespace

std::vector<DialogueLine> ReadDialogueFile(project::FieldReader& reader) {
    // 1-11. The editor's own fields.
    reader.Skip(11);
    // 12-13. The lines; a count larger than the file ends in a read error.
    std::vector<DialogueLine> lines;
    for (int16_t count = reader.ReadInteger(); count > 0; --count) {
        DialogueLine line;
        line.question = reader.ReadString();
        line.answer = reader.ReadString();
        for (std::string& script : line.scripts) script = project::ReplaceBarsWithQuotes(reader.ReadString());
        line.id = reader.ReadInteger();
        line.visibleAtStart = reader.ReadBoolean();
        line.endsDialogue = reader.ReadBoolean();
        for (int16_t& hotspot : line.hotspots) hotspot = reader.ReadInteger();
        line.showIds = ReadIdList(reader);
        line.hideIds = ReadIdList(reader);
        line.answerSeconds = reader.ReadDouble();
        reader.Skip(3);
        line.answerTimed = reader.ReadBoolean();
        reader.Skip();
        line.visible = line.visibleAtStart;
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace taviro::dialogues
