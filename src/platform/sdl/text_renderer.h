// Draws the texts of controls; the scene renderer asks it for labels and lists.
#pragma once

#include "platform/controls/control_kinds.h"

namespace taviro::platform {

class TextRenderer {
public:
    virtual ~TextRenderer() = default;
    // Draws the caption of a label inside its bounds (window pixels), in its font and colour.
    virtual void DrawLabel(const Label& label, const Rect& bounds) = 0;
    // Draws the items of a list box, one a line, the selected one highlighted.
    virtual void DrawList(const ListBox& list, const Rect& bounds) = 0;
};

}  // namespace taviro::platform
