// The optical discs (CDs, DVDs) mounted on the machine, which the player offers to games played
// from CD as their CD-ROM drives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace taviro::platform {

// The mount points of the iso9660 and udf file systems of a mounts table in the format of
// /proc/mounts, in its order; "\040" and the other octal escapes are decoded.
std::vector<std::string> OpticalMountPoints(std::string_view mountsTable);

// The mount points of the optical discs mounted now; empty where the system keeps no such table.
std::vector<std::string> MountedOpticalMedia();

}  // namespace taviro::platform
