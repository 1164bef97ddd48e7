// Reading the player's screenshots back in the end-to-end tests.
#pragma once

#include <string>

namespace taviro::testing {

// The colour of a pixel of a screenshot, 0xRRGGBB; -1 when it cannot be read.
int PixelOf(const std::string& png, int x, int y);

// Near enough to a colour for a picture that went through a video codec.
bool Near(int colour, int expected);

}  // namespace taviro::testing
