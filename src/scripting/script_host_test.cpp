#include "scripting/script_host.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scripting/action_object.h"
#include "scripting/recording_action_host.h"
#include "support/test_project.h"

namespace taviro::scripting {
namespace {

using std::string;
using testing::FieldsLine;

struct ScriptHostFixture : ::testing::Test {
    ScriptHostFixture() {
        test.Write("Config/General", testing::GeneralFile().Set(1, string("Quest")).Text());
        test.Write("Config/Variables", FieldsLine({0.0, string("Door"), string("***"), string("Score")}));
    }
    // Loads the project; more: the content of the "More" file.
    void Start(const string& more = "") {
        if (!more.empty()) test.Write("Config/More", "[General]\r\n" + more);
        ASSERT_TRUE(test.Initialize());
        variables.LoadVariables();
        host.ProjectProcedures = host.LoadProjectProcedures();
        host.ApplyScriptTimeOut();
    }
    const std::vector<testing::RecordingDialogs::Shown>& shown() { return test.dialogs.shown(); }

    testing::TestProject test;
    logic::ProjectVariables variables{*test.project};
    frames::CurrentFrame frame;
    int64_t nowMs = 0;
    int16_t referencesMode = 0;
    RecordingHost gameWindow;
    vbscript::Ref<VBScriptActionModule> action = vbscript::MakeRef<VBScriptActionModule>(
        *test.project, test.flags, variables, frame, referencesMode, gameWindow);
    ScriptHost host{*test.project, test.flags,     variables,
                    action,        referencesMode, [this] { return nowMs += 50; }};
};

TEST_F(ScriptHostFixture, ScriptsReadAndWriteProjectVariablesByName) {
    Start();
    EXPECT_FALSE(
        host.ExecuteVBScript("Door = 1\r\nScore = Score + 10\r\nScore.Value = Score & Door.Name", false));
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "10Door");
    EXPECT_TRUE(shown().empty());
}

TEST_F(ScriptHostFixture, BlankCodeRunsNothing) {
    Start();
    EXPECT_FALSE(host.ExecuteVBScript("\r\n   \r\n", false));
    EXPECT_FALSE(host.ExecuteVBScript("Door = 1", false) && test.flags.GameStopping);
    test.flags.GameStopping = true;
    EXPECT_FALSE(host.ExecuteVBScript("Door = 0", false));
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
    EXPECT_TRUE(shown().empty());
}

TEST_F(ScriptHostFixture, MsgBoxAndInputBoxUseTheGamesDialogs) {
    Start();
    test.dialogs.QueueAnswer(platform::MessageAnswer::No);
    EXPECT_FALSE(
        host.ExecuteVBScript("If MsgBox(\"Open?\", vbYesNo + vbQuestion) = vbNo Then Door = 1", false));
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].request.title, test.project->information.ProjectTitle);
    EXPECT_EQ(shown()[0].request.icon, platform::MessageIcon::Question);
    EXPECT_EQ(shown()[0].request.buttons, platform::MessageButtons::YesNo);
    EXPECT_FALSE(host.ExecuteVBScript("MsgBox \"Done\", vbCritical, \"Door\"", false));
    EXPECT_EQ(shown()[1].request.title, "Door");
    EXPECT_EQ(shown()[1].request.icon, platform::MessageIcon::Critical);
}

TEST_F(ScriptHostFixture, CreateObjectIsBannedUnlessTheProjectAllowsIt) {
    test.Write("Config/Procedures",
               "h1\r\nh2\r\nh3\r\nSub Make()\r\n  Set x = CreateObject(\"A.B\")\r\nEnd Sub");
    Start();
    EXPECT_FALSE(host.ExecuteVBScript("Door = 1", false));
    EXPECT_EQ(variables.GetVariableValue("Door"), 0);
    ASSERT_FALSE(shown().empty());
    EXPECT_EQ(shown()[0].request.title, "VBScript Execution Aborted");
}

TEST_F(ScriptHostFixture, CreateObjectTextIsAcceptedWhenAllowed) {
    Start("AllowCreateObject=1\r\n");
    EXPECT_FALSE(host.ExecuteVBScript("Score = \"CreateObject(\"", false));
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "CreateObject(");
}

TEST_F(ScriptHostFixture, FilesOfTheGamesFoldersOnlyForProjectsThatAllowCreateObject) {
    Start("AllowCreateObject=1\r\n");
    EXPECT_FALSE(host.ExecuteVBScript(
        "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
        "Set f = fso.CreateTextFile(\"Saves\\notes.txt\", True)\r\nf.WriteLine \"first\"\r\nf.Write "
        "\"second\"\r\n"
        "f.Close\r\nSet f = fso.OpenTextFile(\"saves\\NOTES.txt\", 8)\r\nf.Write \"!\"\r\nf.Close\r\n"
        "Set f = fso.OpenTextFile(\"Saves\\notes.txt\")\r\n"
        "Score = f.ReadLine() & \"|\" & f.ReadLine() & \"|\" & f.AtEndOfStream & \"|\" & "
        "fso.FileExists(\"Saves\\notes.txt\") & fso.FileExists(\"/etc/hostname\") & "
        "fso.GetBaseName(\"a\\b.c.txt\")",
        false));
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value),
              "first|second!|True|TrueFalseb.c");
    EXPECT_EQ(test.files.ReadFile(test.project->paths.ProjectPath + "Saves/notes.txt"), "first\r\nsecond!");
    EXPECT_TRUE(shown().empty());

    for (const char* outside : {"/etc/hostname", "..\\escape.txt"}) {
        EXPECT_TRUE(host.ExecuteVBScript(
            string("Set f = CreateObject(\"Scripting.FileSystemObject\").CreateTextFile(\"") + outside +
                "\")",
            false));
        EXPECT_NE(shown().back().request.text.find("Permission denied"), string::npos) << outside;
    }
    EXPECT_FALSE(std::filesystem::exists(test.folder.path().parent_path() / "escape.txt"));
}

TEST_F(ScriptHostFixture, FilesStayOutOfReachWithoutThePermissionHoweverTheCallIsSpelt) {
    Start();
    EXPECT_TRUE(host.ExecuteVBScript("Set fso = CreateObject (\"Scripting.FileSystemObject\")", false));
    EXPECT_NE(shown().back().request.text.find("can't create object"), string::npos);
}

TEST_F(ScriptHostFixture, VariablesAreKnownInsideProceduresButNotToGlobalStatements) {
    test.Write("Config/Procedures", "h1\r\nh2\r\nh3\r\nSub OpenDoor()\r\n  Door = 1\r\nEnd Sub");
    Start();
    EXPECT_FALSE(host.ExecuteVBScript("OpenDoor", false));
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);

    test.Write("Config/Procedures", "h1\r\nh2\r\nh3\r\nx = Door.Value + 1");
    host.ProjectProcedures = host.LoadProjectProcedures();
    host.ExecuteVBScript("Door = 0", false);
    ASSERT_GE(shown().size(), 1u);
    EXPECT_NE(shown()[0].request.text.find("Error executing script.\n\nThe Scripting Engine returned"),
              string::npos);
    // The load stopped before the variables were registered, so the script could not reach Door.
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
}

TEST_F(ScriptHostFixture, RunErrorOffersCancelWhichStopsTheGame) {
    Start();
    test.dialogs.QueueAnswer(platform::MessageAnswer::Cancel);
    EXPECT_TRUE(host.ExecuteVBScript("x = 1 / 0", false));
    ASSERT_EQ(shown().size(), 1u);
    const auto& report = shown()[0].request;
    EXPECT_EQ(report.buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(
        report.text,
        "An error has occurred. The program may not work properly. Click OK and then press Ctrl+Q to quit. "
        "Error description:\n\nError executing script. The Scripting Engine returned the following error "
        "message:\n\nDivision by zero\n\nPlease click OK to continue or Cancel to stop the application.");
    EXPECT_TRUE(test.flags.GameStopping);
}

TEST_F(ScriptHostFixture, ScriptTimeOutStopsAnEndlessLoop) {
    Start("ScriptTimeOut=2\r\n");
    EXPECT_TRUE(host.ExecuteVBScript("Do\r\nLoop", false));
    EXPECT_FALSE(test.flags.GameStopping);
}

TEST_F(ScriptHostFixture, ShortProceduresFileIsAReadingError) {
    test.Write("Config/Procedures", "h1\r\nh2\r\nh3\r\n");
    Start();
    EXPECT_EQ(host.ProjectProcedures, "");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].request.text, "Error loading projet procedures. Input past end of file");
}

// The inverse of the scrambling of procedure lines, for building test files.
string Scramble(const string& plain, int32_t parameter) {
    const string key = "qmzhwtxalkpvgbrnsyjcf";
    const int header = 5;
    string body;
    for (size_t i = 0; i < plain.size(); ++i) {
        int64_t shift = (static_cast<int64_t>(i) + header) * (key[i % 21] - 32) + parameter;
        int64_t code = ((plain[i] - 32 + shift) % 94 + 94) % 94 + 32;
        body.insert(body.begin(), static_cast<char>(code));
    }
    return string(1, static_cast<char>(32 + header)) + body;
}

TEST_F(ScriptHostFixture, ScrambledProceduresAreReadLineByLine) {
    int32_t key = 'Q' + 'u' + 'e' + 's' + 't';
    test.Write("Config/Procedures", "h1\r\nh2\r\nh3\r\n" + Scramble("Sub SetScore()", key) + "\r\n" +
                                        Scramble("  Score = \"scrambled\"", key) + "\r\n" +
                                        Scramble("End Sub", key));
    Start("ProcEncr=1\r\n");
    EXPECT_EQ(host.ProjectProcedures, "Sub SetScore()\r\n  Score = \"scrambled\"\r\nEnd Sub");
    EXPECT_FALSE(host.ExecuteVBScript("SetScore", false));
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "scrambled");
}

TEST_F(ScriptHostFixture, StartUpScriptRunsOnlyWhenSwitchedOn) {
    test.Write("Config/General", testing::GeneralFile().Set(52, true).Set(53, string("Door = 1")).Text());
    Start();
    host.ExecuteOnLoadVBScript(action->requests);
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
}

TEST_F(ScriptHostFixture, SoftwareObjectsOnlyWhenReferencesAreAllowed) {
    Start();
    host.softwareObjects = [&] { return vbscript::Ref<vbscript::Object>(action); };
    EXPECT_TRUE(host.ExecuteVBScript("x = SoftwareObjects.GetProjectName()", false));
    host.ControlsReferencesMode = 2;
    EXPECT_FALSE(host.ExecuteVBScript("Score = SoftwareObjects.GetProjectName()", false));
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "Quest");
}

}  // namespace
}  // namespace taviro::scripting
