// Screenshot file names.
#include "platform/files/screenshot_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace taviro::platform {
namespace {

namespace fs = std::filesystem;

// 7 December 2026, 00:31:05.250 local time.
constexpr int64_t kShotTimeMs = 1796603465250;

TEST(ScreenshotFile, NamedAfterTheGameAndTheTimeAndNeverOverwritten) {
    const fs::path folder = fs::temp_directory_path() / ("taviro-shots-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string first = NewScreenshotPath(folder.string(), "The Demo", kShotTimeMs);
    EXPECT_EQ(first, folder.string() + "/The Demo 2026-12-07 00-31-05.png");
    std::ofstream(first) << "png";
    EXPECT_EQ(NewScreenshotPath(folder.string(), "The Demo", kShotTimeMs),
              folder.string() + "/The Demo 2026-12-07 00-31-05 2.png");
    fs::remove_all(folder);
}

TEST(ScreenshotFile, TitlesThatAreNoFileNamesAreMadeSafe) {
    EXPECT_EQ(NewScreenshotPath("/x", "Either/Or\n", 0), "/x/Either_Or_ 1970-01-01 00-00-00.png");
    EXPECT_EQ(NewScreenshotPath("/x", "", 0), "/x/Taviro 1970-01-01 00-00-00.png");
    EXPECT_EQ(NewScreenshotPath("/x", "..", 0), "/x/Taviro 1970-01-01 00-00-00.png");
}

}  // namespace
}  // namespace taviro::platform
