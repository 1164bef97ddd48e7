#include "scripting/action_object.h"

#include <gtest/gtest.h>

#include "platform/controls/control_kinds.h"
#include "scripting/control_objects.h"
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
        auto& scene = form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        scene.Add(std::make_unique<platform::ImageControl>("Area", 0));
        form.Load("Area", 1);
        host.controlObjects = [this] {
            return std::vector<NamedObject>{
                {u"Hotspot", vbscript::MakeRef<ControlArrayObject>(form, "Area"), true},
                {u"BackgroundObject", vbscript::MakeRef<ControlObject>(form, "PictureBox", std::nullopt),
                 false}};
        };
    }
    // Runs code and gives the text of the variant variable Result.
    string Run(const string& code) {
        EXPECT_FALSE(host.ExecuteVBScript(code, false)) << code << "\n" << LastBox();
        return logic::VariantText(variables.VariablesVariant.Item(1)->Value).value_or("?");
    }
    string LastBox() { return test.dialogs.shown().empty() ? "" : test.dialogs.shown().back().request.text; }
    const string& Picture(int hotspot) {
        return static_cast<platform::ImageControl*>(form.Find("Area", hotspot))->picture;
    }

    testing::TestProject test;
    logic::ProjectVariables variables{*test.project};
    frames::CurrentFrame frame;
    int16_t referencesMode = 0;
    RecordingHost gameWindow;
    platform::Form form{"Game", 640, 480};
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

TEST_F(ActionObjectFixture, InventoryAndTimedEventMethods) {
    EXPECT_EQ(Run("RemoveItem \"Key\", 1 : RemoveAllItems : HideInventoryButton : ShowInventoryButton\r\n"
                  "Result = CreateTimedEvent(2.5, \"Beep\", True) : RemoveTimedEvent Result"),
              "7");
    EXPECT_EQ(gameWindow.log, (std::vector<string>{"remove Key all", "remove all items", "hide button",
                                                   "show button", "timed 2.5 Beep again", "remove timed 7"}));
    EXPECT_EQ(Run("Result = TypeName(CreateTimedEvent(1, \"\", False))"), "Integer");
}

TEST_F(ActionObjectFixture, UnknownMethodsRaiseAClearError) {
    EXPECT_TRUE(host.ExecuteVBScript("Action.Teleport \"Hall\"", false));
    EXPECT_NE(test.dialogs.shown().back().request.text.find("Object doesn't support this property or method"),
              string::npos);
}

TEST_F(ActionObjectFixture, DocumentsAddressesAndProgramsGoToTheDesktop) {
    test.Write("External/notes.txt", "notes");
    test.Write("Docs/manual.txt", "manual");
    string manual = test.project->paths.ProjectPath + "Docs/manual.txt";
    Run("OpenURL \"\" : SendEmail \"\" : OpenFile \"\" : OpenExeFileAndWait \"\"\r\n"
        "OpenURL \"http://example.com\" : SendEmail \"me@example.com\"\r\n"
        "OpenFile \"NOTES.TXT\" : OpenFile \"" +
        manual + "\" : OpenExeFileAndWait \"tool.exe\"");
    string external = test.project->paths.ExternalPath;
    EXPECT_EQ(gameWindow.log, (std::vector<string>{"open http://example.com", "open mailto:me@example.com",
                                                   "open " + external + "notes.txt", "open " + manual,
                                                   "run " + external + "tool.exe"}));
    EXPECT_TRUE(test.dialogs.shown().empty());

    Run("OpenFile \"missing.txt\"");
    EXPECT_NE(LastBox().find(" Error opening the file titled 'missing.txt'."), string::npos);
    gameWindow.desktop = false;
    Run("OpenURL \"http://example.com\" : Result = \"went on\"");
    EXPECT_NE(
        LastBox().find(" Error opening the following URL with the default browser:\n\nhttp://example.com"),
        string::npos);
    EXPECT_EQ(Run("SendEmail \"me@example.com\""), "went on");
    EXPECT_NE(LastBox().find(" Error opening the default mail client to send email to: me@example.com"),
              string::npos);
}

TEST_F(ActionObjectFixture, DDirWalksTheNamesOfOneSearchAtATime) {
    EXPECT_TRUE(host.ExecuteVBScript("x = DDir(\"\", 0)", false));
    test.Write("Areas/b.BMP", "");
    test.Write("Areas/a.bmp", "");
    test.Write("Areas/.hidden.bmp", "");
    test.Write("Areas/c.txt", "");
    test.Write("Areas/Sub.bmp/inner.txt", "");
    EXPECT_EQ(
        Run("Result = DDir(\"Areas\\*.bmp\", 0) & \",\" & DDir(\"\", 0) & \",\" & DDir(\"\", 0) & \",\" & "
            "DDir(\"\", 0)"),
        "a.bmp,b.BMP,,");
    EXPECT_EQ(Run("Result = DDir(\"areas\\*.bmp\", 16 + 2) & DDir(\"\", 0) & DDir(\"\", 0) & DDir(\"\", 0)"),
              ".hidden.bmpa.bmpb.BMPSub.bmp");
    EXPECT_EQ(Run("Result = DDir(\"" + test.project->paths.ProjectPath + "Areas/c.*\", 0)"), "c.txt");
}

TEST_F(ActionObjectFixture, PicturesComeFromTheAreasFolder) {
    test.Write("Areas/door.bmp", "BM");
    string door = test.project->paths.AreasPath + "door.bmp";
    Run("LoadAPicture Hotspot(1), \"door.bmp\"");
    EXPECT_EQ(Picture(1), door);
    // A missing file shows the missing-file message and changes nothing.
    Run("LoadAPicture Hotspot(1), \"gone.bmp\"\r\nResult = LoadGraphicFile(\"gone.bmp\") Is Nothing");
    EXPECT_EQ(Picture(1), door);
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "True");
    EXPECT_EQ(test.dialogs.shown().size(), 2u);
    Run("LoadAPicture Hotspot(1), \"\"");
    EXPECT_EQ(Picture(1), "");
    // Something that is no control gets the standard report.
    Run("LoadAPicture Nothing, \"door.bmp\"");
    EXPECT_NE(LastBox().find(" Error loading the following picture:'" + door + "'."), string::npos);

    Run("SaveAPicture LoadGraphicFile(\"door.bmp\"), \"copy.bmp\"");
    EXPECT_EQ(gameWindow.log.back(), "save " + door + " as " + test.project->paths.ProjectPath + "copy.bmp");
    EXPECT_TRUE(host.ExecuteVBScript("SaveAPicture LoadGraphicFile(\"\"), \"copy.bmp\"", false));
    EXPECT_NE(LastBox().find("Invalid property value"), string::npos);
}

TEST_F(ActionObjectFixture, TheDefaultCursorChangesOnlyToAFileThatExists) {
    test.Write("Icons/hand.cur", "cursor");
    Run("ChangeDefaultCursor \"hand.cur\"");
    EXPECT_EQ(test.project->information.defaultCursor, "hand.cur");
    EXPECT_EQ(gameWindow.log, std::vector<string>{"pointer"});
    Run("ChangeDefaultCursor \"arrow.cur\"");
    EXPECT_EQ(test.project->information.defaultCursor, "hand.cur");
    EXPECT_EQ(test.dialogs.shown().size(), 1u);  // the missing-file message
    Run("ChangeDefaultCursor \"Default\"");
    EXPECT_EQ(test.project->information.defaultCursor, "Default");
    EXPECT_EQ(gameWindow.log, (std::vector<string>{"pointer", "pointer"}));
}

TEST_F(ActionObjectFixture, TheCreateObjectMethodNeverCreatesAndSaysSoUnlessAllowed) {
    EXPECT_EQ(Run("Action.CreateObject 1 : Result = \"went on\""), "went on");
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_EQ(test.dialogs.shown()[0].request.title, "Unavailable Function");
    test.Write("Config/More", "[General]\r\nAllowCreateObject=1\r\n");
    Run("Action.CreateObject 1");
    EXPECT_EQ(test.dialogs.shown().size(), 1u);
}

TEST_F(ActionObjectFixture, ControlArrayElementsAreLoadedAndUnloadedByReference) {
    EXPECT_EQ(Run("Result = LoadControl(Hotspot(5)) & LoadControl(Hotspot(5)) & Hotspot(5).Visible"),
              "TrueFalseFalse");
    ASSERT_NE(form.Find("Area", 5), nullptr);
    EXPECT_EQ(
        Run("Result = UnloadControl(Hotspot(5)) & UnloadControl(Hotspot(5)) & UnloadControl(Hotspot(0)) & "
            "LoadControl(BackgroundObject) & LoadControl(Nothing)"),
        "TrueFalseFalseFalseFalse");
    EXPECT_EQ(form.Find("Area", 5), nullptr);
    EXPECT_NE(form.Find("Area", 0), nullptr);
}

TEST_F(ActionObjectFixture, DisplayTransitionsAndClicksReachTheGameWindow) {
    EXPECT_EQ(Run("ChangeDisplayResolution 2 : ChangeDisplayResolutionOnLoadGame 3\r\n"
                  "Result = GetDisplayResolutionX() & \"x\" & GetDisplayResolutionY() & "
                  "TypeName(GetDisplayResolutionX())"),
              "800x600Long");
    EXPECT_EQ(Run("InvertTransitionsStatus : InvertEffectsStatus\r\n"
                  "Result = GetTransitionsStatus() & GetEffectsStatus()"),
              "FalseTrue");
    Run("CaptureFrame BackgroundObject, True : SetTransitionDestination BackgroundObject\r\n"
        "SimulateHotspotClick 3 : SimulateHotspotClick 0 : DoComponentsEvents");
    EXPECT_EQ(gameWindow.log,
              (std::vector<string>{"mode 2", "mode on load 3", "capture into PictureBox composed", "click 3",
                                   "click 0", "events"}));
    ASSERT_TRUE(gameWindow.destination);
    EXPECT_EQ(gameWindow.destination->TypeName(), u"PictureBox");
    EXPECT_TRUE(host.ExecuteVBScript("SetTransitionDestination 5", false));
}

TEST_F(ActionObjectFixture, ComponentsCannotBeCreatedButTheirNamesAreKept) {
    EXPECT_EQ(Run("Result = IsComponentInstalled(\"Viewer.Control\")"), "False");
    EXPECT_TRUE(test.dialogs.shown().empty());
    Run("AddComponent \"Viewer.Control\", \"viewer\", True, False");
    EXPECT_NE(LastBox().find("The component is probably not installed properly."), string::npos);
    Run("AddComponent \"Other.Control\", \"VIEWER\", False, False");
    EXPECT_NE(LastBox().find(" A component named \"VIEWER\" already exists."), string::npos);
    Run("AddComponent \"Other.Control\", \"my viewer\", False, False");
    EXPECT_NE(LastBox().find("must not contain spaces"), string::npos);
    EXPECT_EQ(Run("Result = DoesComponentExist(\"Viewer\") & (Component(\"viewer\") Is Nothing)"),
              "TrueTrue");
    size_t reports = test.dialogs.shown().size();
    Run("RemoveComponent \"viewer\"\r\nResult = DoesComponentExist(\"viewer\")");
    EXPECT_EQ(test.dialogs.shown().size(), reports);
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "False");
    Run("RemoveComponent \"viewer\"");
    EXPECT_NE(
        LastBox().find(" The component named \"viewer\" could not be removed because it could not be found."),
        string::npos);
}

}  // namespace
}  // namespace taviro::scripting
