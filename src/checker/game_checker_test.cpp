// The game checker on fixture games with each kind of problem, and on the demo game.
#include "checker/game_checker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "project/scrambled_names.h"
#include "support/test_project.h"

namespace taviro::checker {
namespace {

using std::string;
using testing::FieldsLine;
namespace fs = std::filesystem;

const string kSeparator(project::kRecordSeparator);

// What an action record does; empty fields do nothing.
struct Action {
    string variable{};  // set to 1
    string frame{};
    string sound{};  // Frames folder
    string script{};
    string item{};          // added to the inventory
    string channelSound{};  // Areas folder, on channel 1
};

string ActionRecord(const Action& action) {
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({action.variable.empty() ? 0.0 : 1.0, action.variable, false, true, false, false,
                       string(""), 0.0, string(""), false, false}) +
           FieldsLine({action.frame.empty() ? 0.0 : 1.0, action.frame}) +
           FieldsLine({0.0, 0.0, 0.0, string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({false, false, string(""), !action.sound.empty(), action.sound}) +
           FieldsLine({0.0, 0.0, 0.0, false}) + FieldsLine({0.0, 0.0, 0.0, false}) +
           FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({true}) + FieldsLine({0.0, 0.0}) +
           FieldsLine({!action.script.empty(), action.script}) + FieldsLine({0.0}) +
           FieldsLine(
               {0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 5.0, action.channelSound.empty() ? 0.0 : 1.0}) +
           (action.channelSound.empty() ? "" : FieldsLine({1.0, false, false, 8.0, action.channelSound})) +
           FieldsLine({!action.item.empty(), action.item}) + FieldsLine({kSeparator});
}

// A hotspot record with a picture (Areas folder) and variables that must be 1 for it to show.
string HotspotRecord(const string& picture, std::initializer_list<string> mustBeOne = {}) {
    string text = FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                  FieldsLine({15.0, 15.0, 150.0, 150.0, 0.0, !picture.empty(), picture, 0.0, string(""),
                              mustBeOne.size() > 0 ? 1.0 : 0.0, 0.0, static_cast<double>(mustBeOne.size())});
    for (const string& name : mustBeOne) text += FieldsLine({name});
    return text + FieldsLine({kSeparator});
}

// The first group of a ".fme": a background picture, music and a frame timer.
string FrameSettings(const string& picture, const string& music = "", const string& timerTo = "") {
    return FieldsLine(
        {1.0, picture, false, false, music, !timerTo.empty(), 1000.0, timerTo, string(""), string("")});
}

// A ".dlg" with one line whose first script is given.
string Dialogue(const string& script) {
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({1.0}) +
           FieldsLine({string("Who?"), string("Me."), script, string(""), string(""), 1.0, true, false, 0.0,
                       0.0, 0.0, 0.0, 0.0, 2.0, 0.0, 0.0, 0.0, false, 0.0});
}

// A small game that checks clean: two frames, a hotspot with a picture, an action going from one to
// the other, a declared variable, an item and procedures.
class CheckerFixture : public ::testing::Test {
protected:
    CheckerFixture() {
        Write("Config/General", testing::GeneralFile().Text());
        Write("Config/Variables", FieldsLine({string("")}) + FieldsLine({string("Door")}));
        Write("Config/Procedures", "'\r\n'\r\n'\r\nSub Hello\r\nMsgBox \"hello\"\r\nEnd Sub\r\n");
        Write("Frames/Start.fme", FrameSettings("start.jpg", "theme.ogg"));
        Write("Frames/start.jpg", "x");
        Write("Frames/Cellar.fme", FrameSettings("cellar.jpg", "", "Start"));
        Write("Frames/cellar.jpg", "x");
        Write("Areas/theme.ogg", "x");
        Write("Areas/door.gif", "x");
        Write("Areas/Key.obj", FieldsLine({string("key.gif")}));
        Write("Areas/key.gif", "x");
        Write("FramesData/Start.fm2", HotspotRecord("door.gif", {"Door"}));
        Write("FramesData/Start.fm3", ActionRecord({.variable = "Door", .frame = "Cellar", .item = "Key"}));
    }

    void Write(const string& relative, const string& bytes) { folder.Write(relative, bytes); }

    CheckReport Check() { return CheckGame(folder.path().string(), codePage); }

    // The findings about a file, as "severity record: message" lines, for readable failures.
    static std::vector<string> About(const CheckReport& report, const string& file) {
        std::vector<string> lines;
        for (const Finding& finding : report.findings) {
            if (finding.file != file) continue;
            lines.push_back(string(finding.severity == Severity::Problem ? "problem" : "note") + " " +
                            std::to_string(finding.record) + ": " + finding.message);
        }
        return lines;
    }

    testing::TemporaryFolder folder;
    platform::CodePage codePage{1252};
};

TEST_F(CheckerFixture, AGameWithoutFaultsChecksClean) {
    CheckReport report = Check();
    EXPECT_TRUE(report.findings.empty()) << ReportText(report, "game");
    EXPECT_EQ(report.ExitStatus(), 0);
}

TEST(Checker, TheDemoGameChecksClean) {
    CheckReport report = CheckGame("examples/demo", platform::CodePage(1252));
    EXPECT_TRUE(report.isGame);
    EXPECT_TRUE(report.findings.empty()) << ReportText(report, "examples/demo");
}

TEST(Checker, AFolderWithoutGeneralIsNoGame) {
    testing::TemporaryFolder empty;
    empty.Write("Frames/Start.fme", "1");
    CheckReport report = CheckGame(empty.path().string(), platform::CodePage(1252));
    EXPECT_FALSE(report.isGame);
    EXPECT_EQ(report.ExitStatus(), 2);
    EXPECT_NE(ReportText(report, "x").find("x is not a game folder"), string::npos);
    EXPECT_EQ(CheckGame((empty.path() / "nowhere").string(), platform::CodePage(1252)).ExitStatus(), 2);
}

TEST_F(CheckerFixture, MissingFilesAreNamedWithTheRecordThatNamesThem) {
    fs::remove(folder.path() / "Areas/theme.ogg");
    fs::remove(folder.path() / "Areas/key.gif");
    Write("FramesData/Start.fm2", HotspotRecord("door.gif") + HotspotRecord("window.gif"));
    Write(
        "FramesData/Start.fm3",
        ActionRecord({}) + ActionRecord({.sound = "creak.wav", .item = "Lamp", .channelSound = "wind.ogg"}));
    Write("Frames/Cellar.rwe", FieldsLine({0.0}));
    CheckReport report = Check();
    EXPECT_EQ(report.ExitStatus(), 1);
    EXPECT_EQ(About(report, "Frames/Start.fme"),
              std::vector<string>{"problem 0: the music \"Areas/theme.ogg\" does not exist"});
    EXPECT_EQ(About(report, "FramesData/Start.fm2"),
              std::vector<string>{"problem 2: the hotspot picture \"Areas/window.gif\" does not exist"});
    EXPECT_EQ(About(report, "FramesData/Start.fm3"),
              (std::vector<string>{"problem 2: the sound \"Areas/wind.ogg\" does not exist",
                                   "problem 2: the sound \"Frames/creak.wav\" does not exist",
                                   "problem 2: the item description \"Areas/Lamp.obj\" does not exist"}));
    EXPECT_EQ(About(report, "Areas/Key.obj"),
              std::vector<string>{"problem 0: the item picture \"Areas/key.gif\" does not exist"});
    EXPECT_EQ(About(report, "Frames/Cellar.rwe"),
              std::vector<string>{"problem 0: the water mask \"Frames/Cellar.rwm\" does not exist"});
}

TEST_F(CheckerFixture, ItemsAndSoundCommandsNameWhatExists) {
    // Pick-ups, dropped items (keys compared without regard to case) and combinations name items by
    // their description files; the ".chn" commands name sounds.
    Write("FramesData/Start.fm4",
          FieldsLine({0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, string("Lamp")}) +
              FieldsLine({kSeparator}));
    const string droppedFields = FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0});
    string dropped = ActionRecord({});
    dropped = dropped.substr(dropped.find('\n') + 1);  // the common fields, without the ten leading ones
    Write("FramesData/Start.fm0", FieldsLine({0.0, string("1_key.drg")}) + droppedFields + dropped +
                                      FieldsLine({0.0, string("1_lamp.drg")}) + droppedFields + dropped);
    Write("Areas/Key_on_Lamp.drg", FieldsLine({1.0, 0.0, 1.0, string("Oil")}));
    string chn = FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
                             0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0});
    chn += FieldsLine({0.0, false, true, string("theme.ogg"), 1.0}) +
           FieldsLine({0.0, false, true, string("wind.ogg"), 0.0}) + FieldsLine({kSeparator});
    Write("Frames/Start.chn", chn);
    CheckReport report = Check();
    EXPECT_EQ(About(report, "FramesData/Start.fm4"),
              std::vector<string>{"problem 1: the item description \"Areas/Lamp.obj\" does not exist"});
    EXPECT_EQ(About(report, "FramesData/Start.fm0"),
              std::vector<string>{"problem 2: the item description \"Areas/lamp.obj\" does not exist"});
    EXPECT_EQ(About(report, "Areas/Key_on_Lamp.drg"),
              (std::vector<string>{"problem 0: the item description \"Areas/Lamp.obj\" does not exist",
                                   "problem 0: the item description \"Areas/Oil.obj\" does not exist"}));
    EXPECT_EQ(About(report, "Frames/Start.chn"),
              std::vector<string>{"problem 0: the sound \"Areas/wind.ogg\" does not exist"});
}

TEST_F(CheckerFixture, FilesUnderTheirScrambledNamesArePresent) {
    // The player finds a media file under its scrambled name; the checker looks the same way.
    fs::remove(folder.path() / "Areas/theme.ogg");
    const string scrambled =
        project::ScrambledFileName((folder.path() / "Areas/theme.ogg").string(), false, true);
    ASSERT_NE(scrambled, (folder.path() / "Areas/theme.ogg").string());
    std::ofstream(scrambled) << "x";
    CheckReport report = Check();
    EXPECT_TRUE(report.findings.empty()) << ReportText(report, "game");
}

TEST_F(CheckerFixture, EveryDestinationMustBeAFrameOrQuitOrTheLastVisitedFrame) {
    Write("Frames/Cellar.fme", FrameSettings("cellar.jpg", "", "Attic"));
    Write("FramesData/Start.fm3",
          ActionRecord({.frame = "Garden"}) + ActionRecord({.frame = "[quit]"}) +
              ActionRecord({.frame = "[Last Visited Frame]"}) +
              ActionRecord({.script = "GoToFrame |Tower|, 0, 0\r\n' GoToFrame |Old|"}));
    Write("FramesData/Cellar.dlg", Dialogue("Action.GoToFrame(|Start|)"));
    CheckReport report = Check();
    EXPECT_EQ(About(report, "Frames/Cellar.fme"),
              std::vector<string>{"problem 0: the frame of the frame timer \"Attic\" has no settings file "
                                  "Frames/Attic.fme"});
    EXPECT_EQ(About(report, "FramesData/Start.fm3"),
              (std::vector<string>{"problem 1: the frame \"Garden\" has no settings file Frames/Garden.fme",
                                   "problem 4: the frame of GoToFrame \"Tower\" has no settings file "
                                   "Frames/Tower.fme"}));
    EXPECT_TRUE(About(report, "FramesData/Cellar.dlg").empty());
    EXPECT_EQ(report.Problems(), 3);
}

TEST_F(CheckerFixture, NamesInAnotherLetterCaseAreNotesThatLeaveTheStatusAlone) {
    Write("Frames/Start.fme", FrameSettings("START.JPG", "Theme.OGG"));
    Write("FramesData/Start.fm3", ActionRecord({.variable = "door", .frame = "cellar"}));
    CheckReport report = Check();
    EXPECT_EQ(report.ExitStatus(), 0) << ReportText(report, "game");
    EXPECT_EQ(report.Notes(), 4);
    EXPECT_EQ(
        About(report, "Frames/Start.fme")[0],
        "note 0: the background picture \"Frames/START.JPG\" exists only as \"Frames/start.jpg\" (another "
        "letter case)");
    EXPECT_EQ(About(report, "FramesData/Start.fm3")[1],
              "note 1: the frame \"cellar\" exists only as \"Cellar\" (another letter case)");
}

TEST_F(CheckerFixture, VariablesMustBeDeclaredAndConditionsMustMatchTheirLetterCase) {
    Write("FramesData/Start.fm2", HotspotRecord("door.gif", {"door"}) + HotspotRecord("", {"Lever"}));
    Write("FramesData/Start.fm3", ActionRecord({.variable = "Window"}));
    CheckReport report = Check();
    EXPECT_EQ(
        About(report, "FramesData/Start.fm2"),
        (std::vector<string>{"problem 1: the variable \"door\" is declared only as \"Door\"; visibility "
                             "conditions compare names in their exact letter case",
                             "problem 2: the variable \"Lever\" is declared neither in Config/Variables "
                             "nor by a plugin"}));
    EXPECT_EQ(
        About(report, "FramesData/Start.fm3"),
        std::vector<string>{"problem 1: the variable \"Window\" is declared neither in Config/Variables "
                            "nor by a plugin"});
}

TEST_F(CheckerFixture, ScriptsThatDoNotCompileAreFoundWithTheirLineAndColumn) {
    Write("FramesData/Start.fm3", ActionRecord({.script = "x = 1\r\ny = (2 +"}) +
                                      ActionRecord({.script = "CreateTimedEvent 2, |x = (1 +|, False"}));
    Write("FramesData/Cellar.dlg", Dialogue("If a Then"));
    Write("Config/Procedures", "'\r\n'\r\n'\r\nSub Hello\r\nMsgBox \"hello\r\nEnd Sub\r\n");
    CheckReport report = Check();
    ASSERT_EQ(report.Problems(), 4) << ReportText(report, "game");
    // The code of a timed event the script creates, with the record of the script that creates it.
    EXPECT_EQ(About(report, "FramesData/Start.fm3")[1],
              "problem 2: the timed event's code does not compile: Expected expression");
    std::map<string, Finding> byFile;
    for (const Finding& finding : report.findings) byFile.emplace(finding.file, finding);
    EXPECT_EQ(byFile["FramesData/Start.fm3"].record, 1);
    EXPECT_EQ(byFile["FramesData/Start.fm3"].line, 2);
    EXPECT_EQ(byFile["FramesData/Cellar.dlg"].part, "dialogue line 1, script 1");
    EXPECT_EQ(byFile["Config/Procedures"].line, 5);  // the line of the file, below its three header lines
    EXPECT_GE(byFile["Config/Procedures"].column, 8);
}

TEST_F(CheckerFixture, ComponentClassesMustBeOfferedOrWrittenInVBScriptAndCompile) {
    Write("FramesData/Start.fm3",
          ActionRecord({.script = "AddComponent |VB.ComboBox|, |a|, False, False\r\n"
                                  "AddComponent |NSPlay.NSPlayCtl.1|, |b|, False, False\r\n"
                                  "AddComponent |Acme.Viewer|, |c|, False, False\r\n"
                                  "AddComponent |Acme.Gauge|, |d|, False, False"}));
    Write("CPData/Acme.Viewer.vbs", "Class Component\r\nSub Draw()\r\nEnd Sub\r\nEnd Class\r\n");
    Write("CPData/Acme.Gauge.ocx", "MZ");
    Write("CPData/Acme.Broken.vbs", "Class Component\r\nSub Draw(\r\nEnd Class\r\n");
    CheckReport report = Check();
    EXPECT_EQ(
        About(report, "FramesData/Start.fm3"),
        std::vector<string>{"problem 1: the component class \"Acme.Gauge\" is neither built into the player "
                            "nor written in VBScript as CPData/Acme.Gauge.vbs"});
    ASSERT_EQ(About(report, "CPData/Acme.Broken.vbs").size(), 1u) << ReportText(report, "game");
    EXPECT_TRUE(About(report, "CPData/Acme.Broken.vbs")[0].starts_with(
        "problem 0: the component's code does not compile: "));
    EXPECT_EQ(report.Problems(), 2);
}

TEST_F(CheckerFixture, OnlyScriptsThePlayerRunsAreCompiled) {
    // The start-up script is switched off, the menu script on; a frame script is never switched on.
    Write("Config/General", testing::GeneralFile()
                                .Set(52, false)
                                .Set(53, string("If"))
                                .Set(59, true)
                                .Set(60, string("Else"))
                                .Text());
    Write("Frames/Cellar.fme", FieldsLine({1.0, string("cellar.jpg"), false, false, string(""), false, 0.0,
                                           string(""), string(""), string("")}) +
                                   FieldsLine({false, false, string("")}) +
                                   FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) +
                                   FieldsLine({true}) + FieldsLine({false, 0.0}) + FieldsLine({0.0}) +
                                   FieldsLine({false, string("End If")}));
    CheckReport report = Check();
    ASSERT_EQ(report.Problems(), 1) << ReportText(report, "game");
    EXPECT_EQ(report.findings[0].part, "menu script");
}

TEST_F(CheckerFixture, DamagedRecordsAreReportedWhereTheyBreak) {
    // A settings file cut inside its first group, a hotspot with text where a number belongs, and a
    // dialogue that promises more lines than it holds.
    Write("Frames/Cellar.fme", FieldsLine({1.0, string("cellar.jpg"), false, false}));
    Write("FramesData/Start.fm2", HotspotRecord("door.gif", {"Door"}) +
                                      FieldsLine({string(""), string("many")}) + FieldsLine({kSeparator}));
    Write("FramesData/Cellar.dlg", FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 3.0}));
    CheckReport report = Check();
    EXPECT_EQ(
        About(report, "Frames/Cellar.fme"),
        std::vector<string>{"problem 0: the record ends inside a group of fields or holds a field of the "
                            "wrong type (Input past end of file)"});
    ASSERT_EQ(About(report, "FramesData/Start.fm2").size(), 1u);
    EXPECT_TRUE(About(report, "FramesData/Start.fm2")[0].starts_with("problem 2: the record ends inside"));
    EXPECT_EQ(About(report, "FramesData/Cellar.dlg").size(), 1u);
}

TEST_F(CheckerFixture, BinaryEnormousAndLinkedFilesAreReportedNotFollowed) {
    string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
    Write("FramesData/Start.fm3", binary);
    Write("FramesData/Start.fm2", string(project::kLargestTextFileBytes + 1, ' '));
    testing::TemporaryFolder outside;
    outside.Write("secret.jpg", "x");
    fs::remove(folder.path() / "Frames/cellar.jpg");
    fs::create_symlink(outside.path() / "secret.jpg", folder.path() / "Frames/cellar.jpg");
    fs::create_symlink(folder.path() / "Frames/loop.fme", folder.path() / "Frames/loop.fme");
    CheckReport report = Check();
    EXPECT_EQ(report.ExitStatus(), 1);
    EXPECT_FALSE(About(report, "FramesData/Start.fm3").empty());
    EXPECT_EQ(About(report, "FramesData/Start.fm2"),
              std::vector<string>{"problem 0: the file cannot be read (unreadable, or larger than 16 MB)"});
    EXPECT_EQ(About(report, "Frames/Cellar.fme"),
              std::vector<string>{
                  "problem 0: the background picture \"Frames/cellar.jpg\" leads outside the game folder"});
}

TEST_F(CheckerFixture, TheGameFolderIsLeftAsItWas) {
    Write("FramesData/Start.fm3", ActionRecord({.script = "If"}));
    auto listing = [&] {
        std::map<string, fs::file_time_type> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder.path()))
            files[entry.path().string()] = entry.last_write_time();
        return files;
    };
    auto before = listing();
    Check();
    EXPECT_EQ(listing(), before);
}

TEST(CheckerOutput, TextAndJsonNameEveryPlace) {
    CheckReport report;
    report.findings.push_back({Severity::Problem, "FramesData/Hall.fm3", 2, "script", 3, 7, "bad"});
    report.findings.push_back({Severity::Note, "Frames/Hall.fme", 0, "", 0, 0, "case"});
    EXPECT_EQ(ReportText(report, "game"),
              "problem: FramesData/Hall.fm3, record 2, script, line 3, column 7: bad\n"
              "note: Frames/Hall.fme: case\n"
              "game: 1 problem, 1 note.\n");
    nlohmann::ordered_json json = ReportJson(report, "game");
    EXPECT_EQ(json["problems"], 1);
    EXPECT_EQ(json["notes"], 1);
    EXPECT_EQ(json["findings"][0]["record"], 2);
    EXPECT_EQ(json["findings"][0]["column"], 7);
    EXPECT_FALSE(json["findings"][1].contains("record"));
    EXPECT_EQ(json["findings"][1]["severity"], "note");
    EXPECT_EQ(report.ExitStatus(), 1);
    report.findings.erase(report.findings.begin());
    EXPECT_EQ(report.ExitStatus(), 0);
}

}  // namespace
}  // namespace taviro::checker
