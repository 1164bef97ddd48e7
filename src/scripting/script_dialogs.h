// MsgBox and InputBox of the game's scripts, shown through the player's own dialogs.
#pragma once

#include "project/project.h"
#include "vbscript/host_services.h"

namespace taviro::scripting {

class ScriptDialogs : public vbscript::DialogService {
public:
    // Boxes show in the game's dialogs, titled with the game's title when a script gives none.
    explicit ScriptDialogs(project::Project& project) : project_(project) {}

    // Abort/Retry/Ignore and Retry/Cancel have no boxes of their own: they show OK and Cancel.
    int32_t MessageBox(std::u16string_view prompt, int32_t buttons, std::u16string_view title) override;
    std::optional<std::u16string> InputBox(std::u16string_view prompt, std::u16string_view title,
                                           std::u16string_view defaultText) override;

private:
    std::string TitleOr(std::u16string_view title) const;

    project::Project& project_;
};

}  // namespace taviro::scripting
