#include "scripting/action_object.h"

#include <gtest/gtest.h>

#include "scripting/recording_action_host.h"
#include "scripting/script_host.h"
#include "support/test_project.h"

namespace taviro::scripting {
namespace {

using std::string;

struct ActionObjectFixture : ::testing::Test {
    ActionObjectFixture() {
        test.Write("Config/General", testing::GeneralFile().Set(1, string("Quest")).Text());
        test.Write("Config/Variables",
                   testing::FieldsLine({0.0, string("Door"), string("***"), string("Result")}));
        EXPECT_TRUE(test.Initialize());
        variables.LoadVariables();
        frame.name = "Hall";
    }
    // Runs code and gives the text of the variant variable Result.
    string Run(const string& code) {
        EXPECT_FALSE(host.ExecuteVBScript(code, false)) << code;
        return logic::VariantText(variables.VariablesVariant.Item(1)->Value).value_or("?");
    }

    testing::TestProject test;
    logic::ProjectVariables variables{*test.project};
    frames::CurrentFrame frame;
    int16_t referencesMode = 0;
    RecordingHost gameWindow;
    vbscript::Ref<VBScriptActionModule> action = vbscript::MakeRef<VBScriptActionModule>(
        *test.project, test.flags, variables, frame, referencesMode, gameWindow);
    ScriptHost host{*test.project, test.flags,     variables,
                    action,        referencesMode, vbscript::Engine::SteadyClockMs()};
};

TEST_F(ActionObjectFixture, GoToFrameLeavesARequestForAfterTheScript) {
    action->requests.iHotspotNumber = 4;
    Run("GoToFrame \"Library\", 1.5, 2\r\nAction.GoToFrame \"Garden\", 0, 7");
    EXPECT_EQ(action->requests.sFrameToLoad, "Garden");
    EXPECT_EQ(action->requests.dTransDuration, 0);
    EXPECT_EQ(action->requests.iTransitionNumber, 7);
    EXPECT_EQ(action->requests.iHotspotNumber, 0);
    Run("ResetModule : Quit : PopupSaveGame");
    EXPECT_EQ(action->requests.sFrameToLoad, "");
    EXPECT_EQ(action->requests.iTransitionNumber, 1);
    EXPECT_TRUE(action->requests.bStopGame);
    EXPECT_TRUE(action->requests.bPopupSaveGame);
}

TEST_F(ActionObjectFixture, ProjectAndFrameInformation) {
    EXPECT_EQ(Run("Result = GetProjectName() & \"/\" & GetCurrentFrameName() & \"/\" & GetProjectWidth()"),
              "Quest/Hall/640");
    EXPECT_EQ(Run("Result = TypeName(GetProjectWidth())"), "Integer");
    EXPECT_EQ(Run("Result = GetTaviroVersion()"), "Version 4.7.1");
    EXPECT_EQ(Run("Result = (GetPath(2) = GetPath(9))"), "True");
    EXPECT_EQ(Run("Result = GetPath(3)"), test.project->paths.ConfigPath);
}

TEST_F(ActionObjectFixture, TextHelpers) {
    EXPECT_EQ(Run("Result = ConvertToNumber(\"12abc\") + ConvertToNumber(\"abc\")"), "12");
    EXPECT_EQ(Run("Result = ConvertQuotesIntoDoubleQuotes(\"say \" & DOUBLEQUOTES & \"hi\" & DOUBLEQUOTES)"),
              "say \"\"hi\"\"");
    EXPECT_EQ(Run("Result = Len(NEWLINE) & NO_FILE_SELECTED"), "2");
}

TEST_F(ActionObjectFixture, ParametersOutliveTheGame) {
    EXPECT_EQ(Run("Result = LoadParameter(\"Level\", 0)"), "0");
    Run("SaveParameter \"Level\", 3");
    EXPECT_EQ(Run("Result = LoadParameter(\"level\", 0)"), "3");
    EXPECT_EQ(test.project->GetSetting("_Level"), "3");
}

TEST_F(ActionObjectFixture, IniFilesOfTheExternalFolder) {
    Run("Result = WriteINI(\"game.ini\", \"Scores\", \"Best\", 42)");
    EXPECT_EQ(Run("Result = ReadINI(\"game.ini\", \"scores\", \"best\") & \"|\" & ReadINI(\"none.ini\", "
                  "\"a\", \"b\")"),
              "42|");
    EXPECT_TRUE(test.files.IsFile(test.project->paths.ExternalPath + "game.ini"));
}

TEST_F(ActionObjectFixture, VariableReferencesByName) {
    Run("Set v = GetVariableReferenceFromName(\"DOOR\")\r\nv.Value = 1\r\nResult = v.Name");
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "Door");
    EXPECT_TRUE(host.ExecuteVBScript("Set v = GetVariableReferenceFromName(\"Window\")", false));
}

TEST_F(ActionObjectFixture, RemovedHotspotsCanBeReset) {
    variables.Disappear.Add("Hall", 2, "");
    variables.Disappear.Add("Hall", 3, "");
    Run("ResetRemovedHotspots");
    EXPECT_EQ(variables.Disappear.Count(), 0u);
}

TEST_F(ActionObjectFixture, StopEverythingStopsTheGame) {
    Run("StopEverything");
    EXPECT_TRUE(test.flags.GameStopping);
}

TEST_F(ActionObjectFixture, MethodsThatReachTheGameWindow) {
    Run("Message \"Hello\" : AddItem \"Key\", True : UpdateHotspotsState : QuitDialogue\r\n"
        "ShowMenu : HideMenu : RefreshWindow\r\nResult = GetClickPositionX() & \",\" & GetClickPositionY()");
    EXPECT_EQ(gameWindow.log, (std::vector<string>{"message Hello in window", "item Key quietly", "areas",
                                                   "quit dialogue", "show menus", "hide menus", "refresh"}));
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "12,34");
}

TEST_F(ActionObjectFixture, MethodsNotOfferedYetRaiseAClearError) {
    EXPECT_TRUE(host.ExecuteVBScript("x = IsComponentInstalled(\"A.B\")", false));
    EXPECT_NE(test.dialogs.shown().back().request.text.find("Object doesn't support this property or method"),
              string::npos);
}

}  // namespace
}  // namespace taviro::scripting
