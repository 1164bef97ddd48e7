#include "app/game_menus.h"

#include <gtest/gtest.h>

#include "app/display_modes.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

using std::string;

// The menus over a test project, with the commands they ran recorded.
struct MenusRun {
    void Make(testing::GeneralFile general = testing::GeneralFile(), const string& texts = "1\r\n") {
        test.Write("Config/General", general.Text());
        test.Write("Config/Texts", texts);
        ASSERT_TRUE(test.Initialize());
        MenuCommands commands;
        commands.quit = [this] { ran.push_back("quit"); };
        commands.openFrame = [this](const string& frame) { ran.push_back("open " + frame); };
        menus = std::make_unique<GameMenus>(*test.project, std::move(commands));
    }
    std::vector<string> Captions(platform::MenuItem& menu) {
        std::vector<string> captions;
        for (const auto& item : menu.items()) captions.push_back(item->caption());
        return captions;
    }

    testing::TestProject test;
    std::unique_ptr<GameMenus> menus;
    std::vector<string> ran;
};

struct MenusFixture : ::testing::Test, MenusRun {};

TEST_F(MenusFixture, CaptionsComeFromTheInterfaceTextsAndBothTwinsRunTheSameCommand) {
    Make();
    EXPECT_EQ(Captions(menus->bar()),
              (std::vector<string>{"Exit", "Options", "Load Game...", "Save Game...", "Debug"}));
    EXPECT_EQ(Captions(menus->popup()),
              (std::vector<string>{"Load Game...", "Save Game...", "Options", "Debug", "Exit"}));
    EXPECT_FALSE(menus->Item("mnuDebug").visible);
    EXPECT_EQ(platform::ChooseMenuCommand(menus->bar(), {"Exit"}), "");
    EXPECT_EQ(platform::ChooseMenuCommand(menus->popup(), {"Exit"}), "");
    EXPECT_EQ(ran, (std::vector<string>{"quit", "quit"}));
}

TEST_F(MenusFixture, EmptyInterfaceTextsKeepTheBuiltInCaptions) {
    // A custom table whose entry 12 is empty.
    string texts = "2\r\n0\r\n0\r\n0\r\n0\r\n0\r\n52\r\n";
    for (int i = 1; i <= 52; ++i) texts += "\"" + (i == 12 ? string() : "T" + std::to_string(i)) + "\"\r\n";
    Make(testing::GeneralFile(), texts);
    EXPECT_EQ(menus->Item("mnuExit").caption(), "Exit");
    EXPECT_EQ(menus->Item("mnuLoadGame").caption(), "T2");
    EXPECT_EQ(menus->PopupItem("mnuOptions").caption(), "T49");
}

TEST_F(MenusFixture, FrameListsNameEveryFrameFileWithAName) {
    Make();
    test.Write("Frames/Hall.fme", "");
    test.Write("Frames/a.FME", "");
    test.Write("Frames/.fme", "");
    test.Write("Frames/notes.txt", "");
    menus->RebuildFrameLists();
    menus->RebuildFrameLists();  // again: the old items go first
    for (auto* goTo : {&menus->Item("mnuGoToFrame"), &menus->PopupItem("mnuGoToFrame")}) {
        EXPECT_EQ(Captions(*goTo), (std::vector<string>{"Cancel", "-", "a", "Hall"}));
    }
    menus->ShowDebugMenu();
    EXPECT_EQ(platform::ChooseMenuCommand(menus->popup(), {"Debug", "Go to another frame", "Hall"}), "");
    EXPECT_EQ(ran, (std::vector<string>{"open Hall"}));
}

TEST_F(MenusFixture, ProtectionLevelsOneToThreeDisableOptionsAndScriptCommands) {
    for (int level : {0, 2, 4}) {
        MenusRun run;
        run.Make(testing::GeneralFile().Set(57, static_cast<double>(level)));
        run.menus->ApplyProtectionLevel();
        bool enabled = level != 2;
        for (const char* name :
             {"mnuOptions", "mnuExecuteVBScript", "mnuEditProcedures", "mnuInterceptCode"}) {
            EXPECT_EQ(run.menus->Item(name).enabled, enabled) << name << " at level " << level;
            EXPECT_EQ(run.menus->PopupItem(name).enabled, enabled) << name << " at level " << level;
        }
        for (const char* name : {"mnuExit", "mnuLoadGame", "mnuSaveGame"})
            EXPECT_TRUE(run.menus->Item(name).enabled) << name;
    }
}

TEST_F(MenusFixture, TogglesCheckBothTwinsAndAreRememberedPerUser) {
    Make();
    EXPECT_EQ(platform::ChooseMenuCommand(menus->popup(), {"Options", "Disable Transitions"}), "");
    EXPECT_TRUE(menus->Item("mnuDisableTransitions").checked);
    EXPECT_TRUE(menus->PopupItem("mnuDisableTransitions").checked);
    EXPECT_EQ(test.project->GetSetting("DisableTransitions"), "True");
    EXPECT_EQ(platform::ChooseMenuCommand(menus->bar(), {"Options", "Disable Transitions"}), "");
    EXPECT_EQ(test.project->GetSetting("DisableTransitions"), "False");

    test.project->SaveSetting("DisableEffects", "TRUE");
    menus->LoadCheckMarks();
    EXPECT_TRUE(menus->PopupItem("mnuDisableEffects").checked);
    EXPECT_FALSE(menus->Item("mnuDisableTransitions").checked);
}

TEST(DisplayModes, OnlyTheWidthDecidesWhetherTheModeChanges) {
    DisplayModes modes({640, 400});
    EXPECT_FALSE(modes.SwitchToMode(1));
    EXPECT_EQ(modes.current(), (platform::Point{640, 400}));
    EXPECT_FALSE(modes.DisplayMatchesProject(0));
    EXPECT_FALSE(modes.SwitchToMode(7));

    EXPECT_TRUE(modes.SwitchToMode(3));
    EXPECT_EQ(modes.current(), (platform::Point{1024, 768}));
    EXPECT_EQ(modes.lastRequested(), (platform::Point{1024, 768}));
    EXPECT_TRUE(modes.RestoreStartupMode());
    EXPECT_EQ(modes.current(), (platform::Point{640, 400}));
    EXPECT_FALSE(modes.RestoreStartupMode());
    // The start-up mode is never the last requested one.
    EXPECT_EQ(modes.lastRequested(), (platform::Point{1024, 768}));
}

TEST(DisplayModes, ProjectsWithoutASizeTakeTheirResolutionsSize) {
    project::ProjectInformation info;
    info.projectResolution = 1;
    EXPECT_EQ(ProjectFrameSize(info), (platform::Point{800, 600}));
    info.ProjectWidth = 700;
    info.ProjectHeight = 500;
    EXPECT_EQ(ProjectFrameSize(info), (platform::Point{700, 500}));
}

}  // namespace
}  // namespace taviro::app
