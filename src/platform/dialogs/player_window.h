// The frame of the player's own windows (the load and save windows, the insert-CD window): centred on
// the screen, of a fixed width (narrower on a small screen), the caption white on the title bar.
#pragma once

#include <string>

namespace taviro::platform {

// Begins such a window for this frame; the caller ends it with ImGui::End() whatever this returns,
// and builds its contents only when it returns true. id tells the window apart whatever its caption.
bool BeginPlayerWindow(const std::string& caption, const char* id, float width);

}  // namespace taviro::platform
