#include "project/game_folders.h"

#include <gtest/gtest.h>

#include "support/test_project.h"

namespace taviro::project {
namespace {

using std::string;
using Strings = std::vector<string>;

// A game folder with Saves\Old and Music, a folder beside it that must stay out of reach, and a CD
// folder offered as drive D.
struct Folders {
    testing::TemporaryFolder game, outside, cd;
    platform::FileSystem files;
    GameFolders folders{files, game.path().string(), {{'D', cd.path().string(), DriveType::CdRom}}};

    Folders() {
        game.Write("Saves/Old/first.sav", "1");
        game.Write("Saves/second.SAV", "2");
        game.Write("Saves/notes.txt", "n");
        game.Write("Music/theme.mid", "m");
        game.Write("General", "g");
        outside.Write("secret.txt", "s");
        cd.Write("Areas/door.bmp", "BM");
    }
};

TEST(GameFolders, DriveCIsTheGameFolderAndOtherLettersTheOfferedDrives) {
    Folders on;
    EXPECT_EQ(on.folders.Drives(), (Strings{"c:", "d:"}));
    EXPECT_EQ(on.folders.Folder("c:\\saves\\OLD", "C:\\"), "C:\\Saves\\Old");
    EXPECT_EQ(on.folders.Folder("d:", "C:\\"), "D:\\");
    EXPECT_EQ(on.folders.Subfolders("C:\\"), (Strings{"Music", "Saves"}));
    EXPECT_EQ(on.folders.Files("C:\\Saves"), (Strings{"notes.txt", "second.SAV"}));
    EXPECT_EQ(on.folders.Subfolders("D:\\"), Strings{"Areas"});
    // The game's own full path, as App.Path gives it, is drive C.
    EXPECT_EQ(on.folders.Folder(on.game.path().string() + "/Music", "C:\\"), "C:\\Music");
}

TEST(GameFolders, RelativePathsFollowTheBaseAndNeverClimbAboveARoot) {
    Folders on;
    EXPECT_EQ(on.folders.Folder("old", "C:\\Saves"), "C:\\Saves\\Old");
    EXPECT_EQ(on.folders.Folder("..", "C:\\Saves\\Old"), "C:\\Saves");
    EXPECT_EQ(on.folders.Folder("..\\..\\..\\..", "C:\\Saves"), "C:\\");
    EXPECT_EQ(on.folders.Folder("\\Music", "C:\\Saves"), "C:\\Music");
    EXPECT_EQ(on.folders.Folder("\\areas", "D:\\"), "D:\\Areas");
}

TEST(GameFolders, NothingOutsideTheGameAndItsDrivesIsAFolder) {
    Folders on;
    EXPECT_EQ(on.folders.Folder(on.outside.path().string(), "C:\\"), std::nullopt);
    EXPECT_EQ(
        on.folders.Folder(on.game.path().string() + "/../" + on.outside.path().filename().string(), "C:\\"),
        std::nullopt);
    EXPECT_EQ(on.folders.Folder("E:\\", "C:\\"), std::nullopt);
    EXPECT_EQ(on.folders.Folder("C:\\General", "C:\\"), std::nullopt) << "a file is not a folder";
    EXPECT_EQ(on.folders.Folder("C:\\Nowhere", "C:\\"), std::nullopt);
    EXPECT_TRUE(on.folders.Files("Q:\\").empty());
}

}  // namespace
}  // namespace taviro::project
