#include "project/project_information.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "support/test_project.h"

namespace taviro::project {
namespace {

ProjectInformation Read(const std::string& text) {
    ProjectInformation info;
    SetProjectInformationDefaults(info);
    FieldReader reader(text);
    ReadProjectInformation(reader, info);
    return info;
}

TEST(ProjectInformation, EveryFieldLandsInItsPlace) {
    testing::GeneralFile general;
    general.Set(1, std::string("Name")).Set(3, std::string("Title")).Set(5, std::string("Hall"));
    general.Set(7, 800.0).Set(8, 600.0).Set(12, 1.0).Set(16, std::string("Blue")).Set(20, true).Set(21, true);
    general.Set(25, 4.0).Set(26, 5.0).Set(29, false).Set(32, true).Set(33, std::string("Bar"));
    general.Set(35, 2.0).Set(38, std::string("hand.cur")).Set(41, false).Set(43, true).Set(47, true);
    general.Set(48, true).Set(52, true).Set(53, std::string("MsgBox |Hi|")).Set(54, true);
    general.Set(55, std::string("x = |a|")).Set(57, 3.0).Set(58, true).Set(59, true);
    general.Set(60, std::string("Menu |m|"))
        .Set(61, std::string("Wood"))
        .Set(62, true)
        .Set(63, true)
        .Set(64, true);
    ProjectInformation info = Read(general.Text());
    EXPECT_EQ(info.ProjectName, "Name");
    EXPECT_EQ(info.ProjectTitle, "Title");
    EXPECT_EQ(info.InitialFrame, "Hall");
    EXPECT_EQ(info.ProjectWidth, 800);
    EXPECT_EQ(info.ProjectHeight, 600);
    EXPECT_EQ(info.resolutionOffer, 1);
    EXPECT_EQ(info.SchemeName, "Blue");
    EXPECT_TRUE(info.loadingDisabled);
    EXPECT_TRUE(info.savingDisabled);
    EXPECT_EQ(info.inventoryLayout1, 4);
    EXPECT_EQ(info.inventoryLayout2, 5);
    EXPECT_FALSE(info.inventoryOptions[2]);
    EXPECT_TRUE(info.inventoryOption32);
    EXPECT_EQ(info.inventoryGraphic1, "Bar");
    EXPECT_EQ(info.projectResolution, 2);
    EXPECT_EQ(info.defaultCursor, "hand.cur");
    EXPECT_FALSE(info.windowed);
    EXPECT_TRUE(info.skipWelcome);
    EXPECT_TRUE(info.hideEffectsMenus);
    EXPECT_TRUE(info.neverShowMenus);
    EXPECT_TRUE(info.runStartupScript);
    EXPECT_EQ(info.startupScript, "MsgBox \"Hi\"");
    EXPECT_EQ(info.frameScript, "x = \"a\"");
    EXPECT_EQ(info.ProtectionLevel, 3);
    EXPECT_TRUE(info.menuInventoryBehaviour);
    EXPECT_EQ(info.menuScript, "Menu \"m\"");
    EXPECT_EQ(info.inventoryGraphic, "Wood");
    EXPECT_TRUE(info.offerFullScreenToggle);
    EXPECT_TRUE(info.hidePointerWhileWaiting);
    EXPECT_TRUE(info.onlyEscSkipsWait);
}

TEST(ProjectInformation, FileEndingAtAnEndCheckKeepsTheDefaults) {
    ProjectInformation info = Read(testing::GeneralFile().Set(12, 1.0).Set(16, std::string("x")).Text(11));
    EXPECT_EQ(info.ProjectTitle, "Test Game");
    EXPECT_EQ(info.resolutionOffer, 0);
    EXPECT_EQ(info.SchemeName, "");
    EXPECT_EQ(info.inventoryLayout1, 10);
    EXPECT_TRUE(info.inventoryOptions[4]);
    EXPECT_EQ(info.inventoryGraphic1, "DEFAULT");
    EXPECT_EQ(info.defaultCursor, "DEFAULT");
}

TEST(ProjectInformation, EachEndCheckIsAValidEnd) {
    for (int last : {11, 12, 16, 22, 38, 41, 44, 46, 47, 48, 55, 56, 57, 58, 61, 64}) {
        SCOPED_TRACE(last);
        EXPECT_NO_THROW(Read(testing::GeneralFile().Text(last)));
    }
}

TEST(ProjectInformation, FieldFiftySixIsAnOlderProtectionLevel) {
    EXPECT_EQ(Read(testing::GeneralFile().Set(56, true).Text(56)).ProtectionLevel, 1);
    EXPECT_EQ(Read(testing::GeneralFile().Set(56, true).Set(57, 0.0).Text(57)).ProtectionLevel, 0);
}

TEST(ProjectInformation, FileEndingInsideAGroupIsAReadErrorThatKeepsWhatWasRead) {
    ProjectInformation info;
    SetProjectInformationDefaults(info);
    FieldReader reader(testing::GeneralFile().Set(25, 3.0).Set(20, true).Text(25));
    EXPECT_THROW(ReadProjectInformation(reader, info), GameError);
    EXPECT_TRUE(info.loadingDisabled);
    EXPECT_EQ(info.inventoryLayout1, 3);
    EXPECT_EQ(info.inventoryLayout2, 10);
}

}  // namespace
}  // namespace taviro::project
