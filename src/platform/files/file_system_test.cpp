#include "platform/files/file_system.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_project.h"

namespace taviro::platform {
namespace {

TEST(FileSystem, BackslashPathsResolveWithoutRegardToCase) {
    testing::TemporaryFolder folder;
    folder.Write("Frames/Hall.fme", "1");
    folder.Write("FramesData/hall.FM2", "2");
    FileSystem files;
    std::string root = folder.path().string();
    EXPECT_EQ(files.Resolve(root + "\\frames\\HALL.FME"), folder.path() / "Frames" / "Hall.fme");
    EXPECT_EQ(files.ReadFile(root + "\\FRAMESDATA\\Hall.fm2"), "2");
    EXPECT_TRUE(files.IsFile(root + "/FRAMES/hall.fme"));
    EXPECT_TRUE(files.Exists(root + "/frames"));
    EXPECT_FALSE(files.IsFile(root + "/frames"));
}

TEST(FileSystem, ExactSpellingWinsOverOtherCases) {
    testing::TemporaryFolder folder;
    folder.Write("a.txt", "lower");
    folder.Write("A.txt", "upper");
    FileSystem files;
    EXPECT_EQ(files.ReadFile((folder.path() / "A.txt").string()), "upper");
    EXPECT_EQ(files.ReadFile((folder.path() / "a.txt").string()), "lower");
}

TEST(FileSystem, MissingPathsKeepTheirSpellingAndNeverThrow) {
    testing::TemporaryFolder folder;
    FileSystem files;
    std::string root = folder.path().string();
    EXPECT_EQ(files.Resolve(root + "\\No\\Such.File"), folder.path() / "No" / "Such.File");
    EXPECT_FALSE(files.Exists(root + "/No/Such.File"));
    EXPECT_FALSE(files.Exists(""));
    EXPECT_FALSE(files.Exists(std::string("bad\0name", 8)));
    EXPECT_FALSE(files.Exists(root + "/" + std::string(5000, 'x')));
    EXPECT_EQ(files.ReadFile(root + "/missing"), std::nullopt);
}

// What a damaged download holds in place of a file: each reads as a file that cannot be read,
// never as an exception, and none is listed as a file.
TEST(FileSystem, FoldersLinksAndUnreadableFilesAreFilesThatCannotBeRead) {
    testing::TemporaryFolder folder;
    folder.Write("Areas/Key.obj", "\"key.gif\"");
    folder.Write("Areas/Folder.obj/inside", "x");
    std::filesystem::create_symlink("Loop.obj", folder.path() / "Areas" / "Loop.obj");
    std::filesystem::create_symlink("Gone.obj", folder.path() / "Areas" / "Broken.obj");
    std::filesystem::create_symlink("/proc/self/mem", folder.path() / "Areas" / "Memory.obj");
    FileSystem files;
    std::string areas = folder.path().string() + "/Areas/";
    EXPECT_EQ(files.ReadFile(areas), std::nullopt);
    EXPECT_EQ(files.ReadFile(areas + "folder.obj"), std::nullopt);
    EXPECT_EQ(files.ReadFile(areas + "Loop.obj"), std::nullopt);
    EXPECT_EQ(files.ReadFile(areas + "Broken.obj"), std::nullopt);
    // Opens, but its first page cannot be read.
    if (std::filesystem::exists("/proc/self/mem")) {
        EXPECT_EQ(files.ReadFile(areas + "memory.obj"), std::nullopt);
    }
    EXPECT_FALSE(files.IsFile(areas + "Loop.obj"));
    EXPECT_EQ(files.List(areas, "*.obj"), (std::vector<std::string>{"Key.obj", "Memory.obj"}));
    EXPECT_EQ(files.ReadFile(areas + "KEY.OBJ"), "\"key.gif\"");
}

TEST(FileSystem, AFileLargerThanTheCallerTakesCannotBeRead) {
    testing::TemporaryFolder folder;
    std::string path = folder.Write("Frames/Hall.fme", "0123456789").string();
    FileSystem files;
    EXPECT_EQ(files.ReadFile(path, 9), std::nullopt);
    EXPECT_EQ(files.ReadFile(path, 10), "0123456789");
    EXPECT_EQ(files.ReadFile(path), "0123456789");
}

TEST(FileSystem, AFileWithoutReadPermissionCannotBeRead) {
    testing::TemporaryFolder folder;
    folder.Write("Config/General", "\"Game\"");
    std::filesystem::path general = folder.path() / "Config" / "General";
    std::filesystem::permissions(general, std::filesystem::perms::none);
    std::ifstream probe(general);
    if (probe.is_open()) GTEST_SKIP() << "the superuser reads files whatever their permissions";
    FileSystem files;
    EXPECT_TRUE(files.IsFile(general.string()));
    EXPECT_EQ(files.ReadFile(general.string()), std::nullopt);
}

TEST(FileSystem, ListingMatchesPatternsWithoutRegardToCase) {
    testing::TemporaryFolder folder;
    folder.Write("Frames/b.FME", "");
    folder.Write("Frames/A.fme", "");
    folder.Write("Frames/c.fm2", "");
    folder.Write("Frames/sub.fme/x", "");
    FileSystem files;
    EXPECT_EQ(files.List(folder.path().string() + "\\frames\\", "*.fme"),
              (std::vector<std::string>{"A.fme", "b.FME"}));
    EXPECT_EQ(files.List(folder.path().string() + "/none", "*.ocx"), std::vector<std::string>{});
}

TEST(FileSystem, WritingCreatesFoldersAndRefreshesListings) {
    testing::TemporaryFolder folder;
    FileSystem files;
    std::string root = folder.path().string();
    EXPECT_FALSE(files.IsFile(root + "/Saves/one.sav"));
    EXPECT_TRUE(files.WriteFile(root + "/Saves/one.sav", "data"));
    EXPECT_TRUE(files.IsFile(root + "\\SAVES\\ONE.SAV"));
    EXPECT_EQ(files.List(root + "/saves", "*.SAV"), std::vector<std::string>{"one.sav"});
}

TEST(FileNames, PatternsAndCaseFolding) {
    EXPECT_TRUE(MatchesPattern("Hall.FME", "*.fme"));
    EXPECT_TRUE(MatchesPattern("a1.gif", "a?.GIF"));
    EXPECT_FALSE(MatchesPattern("hall.fme.bak", "*.fme"));
    EXPECT_TRUE(MatchesPattern("x", "*"));
    EXPECT_EQ(FoldCase("\xc3\x89t\xc3\xa9 ABC"), "\xc3\xa9t\xc3\xa9 abc");
}

}  // namespace
}  // namespace taviro::platform
