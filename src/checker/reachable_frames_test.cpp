// Which frames a frame leads to, and which pictures are decoded ahead for it.
#include "checker/reachable_frames.h"

#include <gtest/gtest.h>

#include "support/test_project.h"

namespace taviro::checker {
namespace {

using std::string;
using testing::FieldsLine;
using Names = std::vector<string>;

const string kSeparator(project::kRecordSeparator);

// An action record that opens a frame (when given) and runs a script (when given).
string ActionRecord(const string& frame, const string& script = "") {
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine(
               {0.0, string(""), false, true, false, false, string(""), 0.0, string(""), false, false}) +
           FieldsLine({frame.empty() ? 0.0 : 1.0, frame}) +
           FieldsLine({0.0, 0.0, 0.0, string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({false, false, string(""), false, string("")}) + FieldsLine({0.0, 0.0, 0.0, false}) +
           FieldsLine({0.0, 0.0, 0.0, false}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({true}) + FieldsLine({0.0, 0.0}) + FieldsLine({!script.empty(), script}) +
           FieldsLine({0.0}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 5.0, 0.0}) +
           FieldsLine({false, string("")}) + FieldsLine({kSeparator});
}

string HotspotRecord(const string& picture) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine(
               {15.0, 15.0, 150.0, 150.0, 0.0, !picture.empty(), picture, 0.0, string(""), 0.0, 0.0, 0.0}) +
           FieldsLine({kSeparator});
}

// A frame's settings: a background picture, a frame timer and a frame script.
string FrameSettings(const string& picture, const string& timerTo = "", const string& script = "") {
    return FieldsLine({1.0, picture, false, false, string(""), !timerTo.empty(), 1000.0, timerTo, string(""),
                       string("")}) +
           (script.empty() ? ""
                           : FieldsLine({false, false, string(""), 0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0,
                                         0.0, false, false, 0.0, 0.0, true, script}));
}

// Frames Start, Hall, Garden, Tower and Cellar; Cellar is reached from nowhere.
struct Game : testing::TestProject {
    Game() {
        Write("Config/General", testing::GeneralFile().Text());
        for (const char* frame : {"Hall", "Garden", "Tower", "Cellar"}) {
            const string name = frame;
            Write("Frames/" + name + ".fme", FrameSettings(name + ".jpg"));
            Write("FramesData/" + name + ".fm2", HotspotRecord(name + "-door.gif") + HotspotRecord(""));
        }
        Write("Frames/Start.fme", FrameSettings("start.jpg", "Tower"));
        Write("FramesData/Start.fm3", ActionRecord("Hall") +
                                          ActionRecord("",
                                                       "If x Then GoToFrame |Garden|\r\n"
                                                       "' GoToFrame |Cellar|") +
                                          ActionRecord("[quit]") + ActionRecord("hall"));
        EXPECT_TRUE(Initialize());
    }
    Names Frames(const string& frame) { return ReachableFrames(*project, frame); }
    Names Pictures(const string& frame) { return ReachablePictures(*project, frame); }
};

TEST(ReachableFrames, ActionsScriptsAndTheFrameTimerEachNameAFrameOnce) {
    Game game;
    EXPECT_EQ(game.Frames("Start"), (Names{"Hall", "Garden", "Tower"}));
    EXPECT_TRUE(game.Frames("Cellar").empty());
}

TEST(ReachableFrames, ThePicturesOfReachableFramesBackgroundsFirst) {
    Game game;
    const string frames = game.project->paths.FramesPath, areas = game.project->paths.AreasPath;
    EXPECT_EQ(game.Pictures("Start"),
              (Names{frames + "Hall.jpg", frames + "Garden.jpg", frames + "Tower.jpg",
                     areas + "Hall-door.gif", areas + "Garden-door.gif", areas + "Tower-door.gif"}));
}

TEST(ReachableFrames, TheFrameScriptsAndDamagedRecordsGiveWhatCanBeRead) {
    Game game;
    game.Write("Frames/Hall.fme", FrameSettings("Hall.jpg", "", "GoToFrame |Cellar|, 0, 0"));
    game.project->information.runFrameScript = true;
    game.project->information.frameScript = "Action.GoToFrame(\"Garden\")";
    // The first action leads to Tower; the second is cut off in the middle.
    const string damaged = ActionRecord("Tower") + ActionRecord("Start").substr(0, 40);
    game.Write("FramesData/Hall.fm3", damaged);
    EXPECT_EQ(game.Frames("Hall"), (Names{"Tower", "Cellar", "Garden"}));
    EXPECT_TRUE(game.dialogs.shown().empty());
}

// A text record: the caption at the top-left corner in a font of the editor's size.
string TextRecord(const string& caption, const string& font, double sizeUnits, bool bold) {
    return FieldsLine({string(""), 0.0, 0.0,  0.0,   0.0,  0.0,       0.0,   0.0,   0.0, 0.0,       caption,
                       0.0,        0.0, bold, false, font, sizeUnits, false, false, 0.0, string("")});
}

TEST(ReachableFrames, TheTextsOfReachableFramesEachOnceInTheirLabelsFonts) {
    Game game;
    game.Write("FramesData/Hall.fm1", TextRecord("Exit", "Arial", 12, false) +
                                          TextRecord("[empty]", "Arial", 12, false) +
                                          TextRecord("Exit", "Arial", 12, true));
    game.Write("FramesData/Garden.fm1", TextRecord("Exit", "Arial", 12, false) + "\"cut off");
    game.Write("FramesData/Cellar.fm1", TextRecord("Never reached", "Arial", 12, false));
    const ShownAhead ahead = ReachableContent(*game.project, "Start");
    std::vector<std::pair<string, bool>> texts;
    for (const platform::ShownText& shown : ahead.texts) {
        EXPECT_EQ(shown.font.name, "Arial");
        EXPECT_DOUBLE_EQ(shown.font.sizePoints, 12);
        texts.emplace_back(shown.text, shown.font.bold);
    }
    // Garden's damaged second record reads as a text of its own.
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], std::make_pair(string("Exit"), false));
    EXPECT_EQ(texts[1], std::make_pair(string("Exit"), true));
    for (size_t i = 2; i < texts.size(); ++i) EXPECT_NE(texts[i].first, "Never reached");
    EXPECT_EQ(ahead.pictureFiles.size(), game.Pictures("Start").size());
    EXPECT_TRUE(game.dialogs.shown().empty());
}

}  // namespace
}  // namespace taviro::checker
