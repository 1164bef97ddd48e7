#include "project/project.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "project/scrambled_names.h"
#include "support/test_project.h"

namespace taviro::project {
namespace {

using platform::MessageIcon;

TEST(InitializeProject, PathsDeriveFromTheProjectFolder) {
    ProjectPaths paths;
    paths.SetProjectFolder("/games/quest");
    EXPECT_EQ(paths.ProjectPath, "/games/quest/");
    EXPECT_EQ(paths.FramesDataPath, "/games/quest/FramesData/");
    EXPECT_EQ(paths.CPDataPath, "/games/quest/CPData/");
    paths.SetProjectFolder("/");
    EXPECT_EQ(paths.ProjectPath, "/");
    EXPECT_EQ(paths.ConfigPath, "/Config/");
    // Schemes and inventory folders set before are kept.
    EXPECT_EQ(paths.SchemesPath, "/games/quest/Schemes/");
}

TEST(InitializeProject, LoadsTextsAndInformation) {
    testing::TestProject test;
    test.Write("Config/GENERAL", testing::GeneralFile().Text());
    test.Write("Config/texts", "1\r\n");
    test.Write("CPData/b.ocx", "");
    test.Write("CPData/A.OCX", "");
    test.Write("CPData/readme.txt", "");
    ASSERT_TRUE(test.Initialize());
    EXPECT_EQ(test.project->information.ProjectTitle, "Test Game");
    EXPECT_EQ(test.project->UITexts[1], "Start New Game");
    EXPECT_EQ(test.project->componentFiles, (std::vector<std::string>{"A.OCX", "b.ocx"}));
    for (const auto& shown : test.dialogs.shown()) ADD_FAILURE() << shown.request.text;
}

TEST(InitializeProject, MissingInformationFileEndsTheProgramWithOneMessage) {
    testing::TestProject test;
    EXPECT_FALSE(test.Initialize());
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    const auto& shown = test.dialogs.shown()[0].request;
    EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.text, "The following file is missing: " + test.project->paths.ConfigPath + "General");
}

TEST(InitializeProject, MissingTextsFileGivesTheProgramWording) {
    testing::TestProject test;
    test.Write("Config/General", testing::GeneralFile().Text());
    ASSERT_TRUE(test.Initialize());
    EXPECT_EQ(test.project->UITexts[1], "Start");
}

TEST(InitializeProject, BrokenFilesAreReportedAndStartUpGoesOn) {
    testing::TestProject test;
    test.Write("Config/General", testing::GeneralFile().Set(20, true).Text(25));
    test.Write("Config/Texts", "2\r\n1,2\r\n");
    ASSERT_TRUE(test.Initialize());
    ASSERT_EQ(test.dialogs.shown().size(), 2u);
    const auto& texts = test.dialogs.shown()[0].request;
    EXPECT_EQ(texts.icon, MessageIcon::Critical);
    EXPECT_EQ(texts.text,
              "An error has occurred. The program may not work properly. Click OK and then press Ctrl+Q to "
              "quit.\n\nError description: Unable to load text.");
    EXPECT_TRUE(test.dialogs.shown()[1].request.text.ends_with(
        "\n\nError description: Error loading project information."));
    EXPECT_TRUE(test.project->information.loadingDisabled);
}

TEST(InitializeProject, GarbageAndBinaryFilesNeverStopStartUp) {
    for (std::string garbage : {std::string("\x00\xff\xfe\"\x01,,#\r", 9), std::string(3000, '"'),
                                std::string("99999999999999999999,1e400,#TRUE#")}) {
        testing::TestProject test;
        test.Write("Config/General", garbage);
        test.Write("Config/Texts", garbage);
        test.Write("Config/More", garbage);
        EXPECT_TRUE(test.Initialize());
        EXPECT_EQ(test.project->ReadMoreSettings().scriptTimeOutSeconds, 0);
    }
}

// A damaged download may hold a data file grown to a hundred megabytes: it is a file that cannot be
// read, reported as such, and never read again and again by every operation that needs it.
TEST(InitializeProject, TextFilesFarLargerThanTheEditorWritesAreFilesThatCannotBeRead) {
    testing::TestProject test;
    auto general = test.folder.Write("Config/General", testing::GeneralFile().Text());
    auto more = test.folder.Write("Config/More", "[General]\r\nScriptTimeOut=15\r\n");
    std::filesystem::resize_file(general, kLargestTextFileBytes + 1);  // sparse: costs nothing
    std::filesystem::resize_file(more, 100 * 1024 * 1024);
    ASSERT_TRUE(test.Initialize());
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_TRUE(test.dialogs.shown()[0].request.text.ends_with(
        "Error description: Error loading project information."));
    EXPECT_EQ(test.project->ReadMoreSettings().scriptTimeOutSeconds, 0);
    std::filesystem::resize_file(general, kLargestTextFileBytes);
    EXPECT_TRUE(test.project->ReadTextFile(general.string()).has_value());
}

TEST(MoreSettings, KeysOfTheGeneralSection) {
    testing::TestProject test;
    test.Write("Config/General", testing::GeneralFile().Text());
    test.Write("Config/More", "[general]\r\nscripttimeout=15\r\nAllowCreateObject=1\r\nProcEncr=1\r\n");
    ASSERT_TRUE(test.Initialize());
    MoreSettings more = test.project->ReadMoreSettings();
    EXPECT_EQ(more.scriptTimeOutSeconds, 15);
    EXPECT_TRUE(more.allowCreateObject);
    EXPECT_EQ(more.procEncr, "1");
}

TEST(UserSettings, ValuesLiveInTheProjectSectionOfTheSoftwareFile) {
    testing::TestProject test;
    test.Write("Config/General", testing::GeneralFile().Set(1, std::string("Quest")).Text());
    ASSERT_TRUE(test.Initialize());
    EXPECT_EQ(test.project->GetSetting("DisableTransitions"), std::nullopt);
    EXPECT_TRUE(test.project->SaveSetting("DisableTransitions", "True"));
    EXPECT_EQ(test.project->GetSetting("disabletransitions"), "True");
    EXPECT_EQ(test.files.ReadFile((test.configFolder.path() / "Software.ini").string()),
              "[Quest]\r\nDisableTransitions=True\r\n");
}

struct LocateFixture : ::testing::Test {
    LocateFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        EXPECT_TRUE(test.Initialize());
    }
    std::string Frames(const std::string& name) { return test.project->paths.FramesPath + name; }
    testing::TestProject test;
};

TEST_F(LocateFixture, FileUnderItsOwnNameIsFoundWithoutRegardToCase) {
    test.Write("frames/Hall.BMP", "x");
    EXPECT_EQ(test.project->LocateProjectFile(Frames("hall.bmp")), Frames("hall.bmp"));
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(LocateFixture, ScrambledFormsAreTriedInOrder) {
    // A picture scrambled with its name, then a sound scrambled as media, then a cursor without name.
    test.Write("Frames/abc.199", "x");
    test.Write("Frames/hello.225", "x");
    test.Write("Frames/arrow.003", "x");
    test.files.Forget();
    EXPECT_EQ(test.project->LocateProjectFile(Frames("abc.bmp")), Frames("abc.199"));
    EXPECT_EQ(test.project->LocateProjectFile(Frames("hello.wav")), Frames("hello.225"));
    EXPECT_EQ(test.project->LocateProjectFile(Frames("arrow.cur")), Frames("arrow.003"));
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(LocateFixture, MissingFileIsReportedWithTheLastPathTried) {
    std::string path = Frames("gone.wav");
    EXPECT_EQ(test.project->LocateProjectFile(path), ScrambledFileName(path, true, false));
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_EQ(test.dialogs.shown()[0].request.icon, MessageIcon::Exclamation);
    EXPECT_EQ(
        test.dialogs.shown()[0].request.text,
        "The following file is missing:\n" + path +
            "\n\nThis file may have been moved or removed from its original location. The program may "
            "not work properly until the missing file is placed back in its original location. Click OK "
            "and then press Ctrl+Q to quit.");
}

TEST_F(LocateFixture, EmptyPathIsReportedAtOnceAndNothingIsReportedWhileStopping) {
    EXPECT_EQ(test.project->LocateProjectFile(""), "");
    EXPECT_EQ(test.dialogs.shown().size(), 1u);
    test.flags.GameStopping = true;
    test.project->LocateProjectFile(Frames("gone.bmp"));
    EXPECT_EQ(test.dialogs.shown().size(), 1u);
}

}  // namespace
}  // namespace taviro::project
