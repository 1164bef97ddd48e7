#include "project/cd_locator.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "project/project.h"
#include "support/test_project.h"

namespace taviro::project {
namespace {

using std::string;
using testing::FieldsLine;

string IndexFile(int cds, std::initializer_list<std::tuple<string, int, int>> records) {
    string file =
        FieldsLine({0.0, 0.0, 0.0}) + FieldsLine({static_cast<double>(cds)}) + FieldsLine({0.0, 0.0});
    for (const auto& [name, folder, cd] : records)
        file += FieldsLine({name, static_cast<double>(folder), static_cast<double>(cd)});
    return file;
}

TEST(CdIndex, RecordsOutsideTheCdsOrWithoutNameOrFolderAreLeftOut) {
    CdIndex index = ReadCdIndex(IndexFile(2, {{"hall.jpg", 1, 1},
                                              {"zero.jpg", 1, 0},
                                              {"three.jpg", 1, 3},
                                              {"", 1, 1},
                                              {"none.wav", 0, 1},
                                              {"Theme.OGG", 2, 2}}));
    EXPECT_EQ(index.cdCount, 2);
    ASSERT_EQ(index.records.size(), 2u);
    ASSERT_NE(index.Find("theme.ogg"), nullptr);
    EXPECT_EQ(index.Find("THEME.ogg")->folderCode, 2);
    EXPECT_EQ(index.Find("zero.jpg"), nullptr);
    EXPECT_THROW(ReadCdIndex(FieldsLine({0.0, 0.0})), GameError);
    EXPECT_THROW(ReadCdIndex(IndexFile(1, {}) + FieldsLine({string("cut.jpg"), 1.0})), GameError);
}

TEST(DriveLetters, MappedFoldersAndOpticalMediaBecomeCdRomDrives) {
    DriveLetters drives;
    EXPECT_EQ(drives.DefaultCdDrive(), "d");
    EXPECT_TRUE(drives.Map('e', "/cd/one"));
    EXPECT_FALSE(drives.Map('W', "/cd/two"));
    drives.AddOpticalMedia({"/media/a", "/media/b"});
    ASSERT_EQ(drives.drives().size(), 3u);
    EXPECT_EQ(drives.Find('D')->folder, "/media/a");
    EXPECT_EQ(drives.Find('f')->folder, "/media/b");
    EXPECT_EQ(drives.DefaultCdDrive(), "F");
    EXPECT_EQ(DriveLetters::ListEntry(*drives.Find('E')), "E:\\ (CD-Rom Drive)");
    EXPECT_EQ(ParseDriveMapping("d=/mnt/cd"), (std::pair<char, string>{'D', "/mnt/cd"}));
    EXPECT_FALSE(ParseDriveMapping("D:/mnt/cd"));
    EXPECT_FALSE(ParseDriveMapping("X=/mnt/cd"));
    EXPECT_FALSE(ParseDriveMapping("D="));
}

// Answers the insert-CD window with the next of its scripted moves.
struct ScriptedCdWindows : platform::RunFromCdWindows {
    std::vector<std::function<void(platform::RunFromCdWindow&)>> moves;
    std::vector<string> messages;
    void ShowModal(platform::RunFromCdWindow& window) override {
        messages.push_back(window.message);
        for (size_t next = 0; window.open && next < moves.size();) moves[next++](window);
        moves.clear();
        if (window.open) window.onButton(false);
    }
};

struct CdLocatorFixture : ::testing::Test {
    CdLocatorFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        test.Write("RunFromCD.dat", "");
        test.Write("Config/CDContents", IndexFile(2, {{"hall.jpg", 1, 1}, {"Theme.ogg", 2, 2}}));
        EXPECT_TRUE(test.Initialize());
        locator.windows = &windows;
        locator.stopPlaying = [this] { log.push_back("stop playing"); };
        locator.stopGame = [this] { log.push_back("stop game"); };
        locator.restartTimedEvents = [this] { log.push_back("timed events"); };
        locator.LoadCdIndex(*test.project);
    }
    void Insert(const string& relative) { cd.Write("Test Game/" + relative, "x"); }
    std::vector<string> Boxes() const {
        std::vector<string> texts;
        for (const auto& shown : test.dialogs.shown()) texts.push_back(shown.request.text);
        return texts;
    }

    testing::TestProject test;
    testing::TemporaryFolder cd;
    DriveLetters drives;
    GameFlags flags;
    CdLocator locator{drives, flags};
    ScriptedCdWindows windows;
    std::vector<string> log;
};

TEST_F(CdLocatorFixture, FilesOnTheMappedCdAreFoundWithoutAQuestion) {
    drives.Map('E', cd.path().string());
    Insert("frames/hall.jpg");
    Insert("Areas/theme.ogg");
    EXPECT_EQ(locator.LocateOnCd(*test.project, "/game/Frames/hall.jpg"),
              cd.path().string() + "/Test Game/Frames/hall.jpg");
    EXPECT_EQ(test.files.Resolve(*locator.LocateOnCd(*test.project, "/game/Areas/Theme.ogg")),
              cd.path() / "Test Game/Areas/theme.ogg");
    EXPECT_TRUE(windows.messages.empty());
    EXPECT_EQ(test.project->GetSetting("DriveLetter"), "E");
    // Files the index does not name are not looked for further.
    EXPECT_EQ(locator.LocateOnCd(*test.project, "/game/Frames/other.jpg"), std::nullopt);
}

TEST_F(CdLocatorFixture, AMissingCdIsAskedForUntilItIsInserted) {
    drives.Map('D', (cd.path() / "drive").string());
    windows.moves = {// OK on a drive that cannot be read keeps the window.
                     [](platform::RunFromCdWindow& window) { window.onButton(true); },
                     [this](platform::RunFromCdWindow& window) {
                         cd.Write("drive/Test Game/Areas/Theme.ogg", "x");
                         EXPECT_TRUE(window.SelectEntry("d:"));
                         window.onButton(true);
                     }};
    std::optional<string> found = locator.LocateOnCd(*test.project, "/game/Areas/Theme.ogg");
    EXPECT_EQ(found, (cd.path() / "drive").string() + "/Test Game/Areas/Theme.ogg");
    EXPECT_EQ(windows.messages,
              std::vector<string>{"Please insert the CD# 2 in the CD-Rom drive and click OK to continue..."});
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(log, (std::vector<string>{"stop playing", "timed events"}));
    EXPECT_FALSE(flags.GameStopping);
}

TEST_F(CdLocatorFixture, CancelStopsTheGameAndTellsWhichFileIsMissing) {
    std::optional<string> found = locator.LocateOnCd(*test.project, "/game/Frames/hall.jpg");
    EXPECT_TRUE(flags.GameStopping);
    EXPECT_EQ(log, (std::vector<string>{"stop playing", "stop game"}));
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].rfind("File Not Found:", 0), 0u);
    // The default drive d has no folder: the last path tried is empty.
    EXPECT_EQ(found, "");
    EXPECT_EQ(test.project->GetSetting("DriveLetter"), "d");
}

TEST_F(CdLocatorFixture, WithoutTheMarkerOrADamagedIndexTheGameIsNotPlayedFromCd) {
    test.Write("Config/CDContents", "1,2");
    locator.LoadCdIndex(*test.project);
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(locator.index().records.empty());
    std::filesystem::remove(test.folder.path() / "RunFromCD.dat");
    test.files.Forget();
    EXPECT_EQ(locator.LocateOnCd(*test.project, "/game/Frames/hall.jpg"), std::nullopt);
    EXPECT_TRUE(windows.messages.empty());
}

}  // namespace
}  // namespace taviro::project
