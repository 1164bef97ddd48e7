#include "platform/files/file_system.h"

#include <gtest/gtest.h>

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
