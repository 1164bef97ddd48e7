// Sound levels.
#include "frames/media_player.h"

#include <cmath>

namespace taviro::frames {

int VolumeToPlayerUnits(double level) { return static_cast<int>(std::nearbyint((level - 10) * 400)); }

}  // namespace taviro::frames
