#include "platform/files/optical_media.h"

#include <gtest/gtest.h>

namespace taviro::platform {
namespace {

TEST(OpticalMedia, OnlyCdAndDvdFileSystemsCountInTheirMountOrder) {
    const char* table =
        "/dev/sda1 / ext4 rw,relatime 0 0\n"
        "/dev/sr1 /media/user/GAME\\040DISC\\0402 iso9660 ro,nosuid 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sr0 /media/dvd udf ro 0 0\n"
        "broken-line\n"
        "/dev/sr2 /media/odd\\04 iso9660 ro 0 0\n";
    EXPECT_EQ(OpticalMountPoints(table),
              (std::vector<std::string>{"/media/user/GAME DISC 2", "/media/dvd", "/media/odd\\04"}));
    EXPECT_TRUE(OpticalMountPoints("").empty());
}

}  // namespace
}  // namespace taviro::platform
