// Games played from frame to frame by the player itself, headless, on the virtual clock; the state
// dumps tell what the player would see.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "support/player_run.h"

namespace taviro {
namespace {

using nlohmann::json;
using std::string;
using testing::FieldsLine;

// A copy of a game (a fixture project of tests/projects, or an empty folder) that the player plays
// headless through an automation text.
class HeadlessGame : public testing::PlayerRun {
public:
    HeadlessGame() : PlayerRun(TAVIRO_PLAYER_PATH) {}
    explicit HeadlessGame(const string& fixture) : HeadlessGame() {
        CopyGame(std::filesystem::path(TAVIRO_FIXTURE_PROJECTS) / fixture);
    }
    void Write(const string& relative, const string& bytes) const { game().Write(relative, bytes); }
    string State(const string& name) const { return StateCommand(name); }
    json Dump(const string& name) const { return Json(name + ".json"); }
};

std::vector<bool> Visibility(const json& state) {
    std::vector<bool> visible;
    for (const json& hotspot : state["hotspots"]) visible.push_back(hotspot["visible"]);
    return visible;
}

// Lever and Gate: on the gate frame a lever (hotspot 1) inverts "Lever", the door (2) shows only
// while Lever is 1 and leads to the yard, the sign (3) sets "Read" and is removed after use, the
// lamp (4) shows only while Lever is 0. The yard's merged files send the player back (1) or to the
// tower (2), whose frame timer goes back to the yard after two seconds.
TEST(PlayingFrames, VariablesHotspotsMergedFilesTimerAndHistoryAlongAWalk) {
    HeadlessGame game("lever_and_gate");
    ASSERT_EQ(game.Run("press Start New Game\n" + game.State("start") + "click 70 70\n" +
                       game.State("pulled") + "click 350 70\n" + game.State("read") + "click 70 70\n" +
                       game.State("pushed") + "click 70 70\nclick 210 70\n" + game.State("yard") +
                       "click 210 250\n" + game.State("tower") + "wait 2000\n" + game.State("yard_again") +
                       "click 70 250\n" + game.State("gate_again")),
              0)
        << game.Read("stderr");

    json start = game.Dump("start");
    EXPECT_EQ(start["frame"]["name"], "Gate");
    EXPECT_EQ(start["history"], json::array({"Gate"}));
    EXPECT_EQ(start["hotspots"][0], (json{{"index", 1},
                                          {"visible", true},
                                          {"x", 22},
                                          {"y", 22},
                                          {"width", 96},
                                          {"height", 96},
                                          {"picture", ""}}));
    // The lamp's missing variable does not hide it; the door waits for the lever.
    EXPECT_EQ(Visibility(start), (std::vector<bool>{true, false, true, true}));
    ASSERT_EQ(start["texts"].size(), 2u);
    EXPECT_EQ(start["texts"][0]["caption"], "");
    EXPECT_EQ(start["texts"][0]["font"], "Arial");
    EXPECT_EQ(start["texts"][1]["caption"], "Pull the lever");
    EXPECT_EQ(start["texts"][1]["font"], "Times New Roman");
    EXPECT_EQ(start["texts"][1]["x"], 100);
    EXPECT_EQ(start["texts"][1]["y"], 300);
    EXPECT_EQ(start["texts"][1]["colour"], 255);

    json pulled = game.Dump("pulled");
    EXPECT_EQ(pulled["variables"]["integer"]["Lever"], 1);
    EXPECT_EQ(Visibility(pulled), (std::vector<bool>{true, true, true, false}));

    json read = game.Dump("read");
    EXPECT_EQ(read["variables"]["integer"]["Read"], 1);
    EXPECT_EQ(read["removed_hotspots"], json::array({{{"frame", "Gate"}, {"hotspot", 3}}}));
    EXPECT_EQ(Visibility(read), (std::vector<bool>{true, true, false, false}));

    json pushed = game.Dump("pushed");
    EXPECT_EQ(pushed["variables"]["integer"]["Lever"], 0);
    EXPECT_EQ(Visibility(pushed), (std::vector<bool>{true, false, false, true}));

    // The yard's ".mr2" and ".mr3" win over its ".fm2" and ".fm3"; its settings are an old, short file.
    json yard = game.Dump("yard");
    EXPECT_EQ(yard["frame"]["name"], "Yard");
    EXPECT_EQ(yard["frame"]["background"], "32768");
    EXPECT_EQ(yard["history"], json::array({"Gate", "Yard"}));
    ASSERT_EQ(yard["hotspots"].size(), 2u);
    EXPECT_EQ(yard["hotspots"][0]["y"], 202);
    EXPECT_EQ(yard["frame"]["merged_hotspot_index"], 2);

    json tower = game.Dump("tower");
    EXPECT_EQ(tower["frame"]["name"], "Tower");
    EXPECT_EQ(tower["frame"]["timer_destination"], "[last visited frame]");
    EXPECT_EQ(tower["frame"]["timer_interval_ms"], 2000);

    // Going back removes the frame left from the history instead of adding the one returned to.
    json yardAgain = game.Dump("yard_again");
    EXPECT_EQ(yardAgain["frame"]["name"], "Yard");
    EXPECT_EQ(yardAgain["history"], json::array({"Gate", "Yard"}));

    json gateAgain = game.Dump("gate_again");
    EXPECT_EQ(gateAgain["frame"]["name"], "Gate");
    EXPECT_EQ(gateAgain["history"], json::array({"Gate"}));
    EXPECT_EQ(Visibility(gateAgain), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(gateAgain["messageboxes"], json::array());
}

string ColourFrame(const string& timerTo, double timerMs) {
    return FieldsLine({0.0, string("0"), false, false, string(""), !timerTo.empty(), timerMs, timerTo,
                       string(""), string("")});
}

TEST(PlayingFrames, HistoryKeepsTheTwentyLastFrames) {
    HeadlessGame game;
    game.Write("Config/General", testing::GeneralFile().Set(5, string("F1")).Text());
    game.Write("Config/Texts", "1\r\n");
    for (int i = 1; i <= 22; ++i) {
        game.Write("Frames/F" + std::to_string(i) + ".fme",
                   ColourFrame(i < 22 ? "F" + std::to_string(i + 1) : "", 100));
    }
    ASSERT_EQ(game.Run("press Start New Game\nwait 2500\n" + game.State("end")), 0) << game.Read("stderr");
    json end = game.Dump("end");
    EXPECT_EQ(end["frame"]["name"], "F22");
    ASSERT_EQ(end["history"].size(), 20u);
    EXPECT_EQ(end["history"].front(), "F3");
    EXPECT_EQ(end["history"].back(), "F22");
}

// A start frame whose files are damaged: each failure is reported and the game goes on.
TEST(PlayingFrames, DamagedFilesAreReportedAndTheGameGoesOn) {
    HeadlessGame game;
    game.Write("Config/General", testing::GeneralFile().Text());
    game.Write("Config/Texts", "1\r\n");
    game.Write("Config/Variables", FieldsLine({0.0, string("Door")}));
    game.Write("Frames/Start.fme", ColourFrame("Next", 3000));
    game.Write("Frames/Next.fme", ColourFrame("", 0));
    const string leading = FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0});
    const string separator = FieldsLine({string(project::kRecordSeparator)});
    // Hotspot 2 has a word where its left should be; the text file ends inside its only record.
    game.Write("FramesData/Start.fm2",
               testing::Record({string(""), 0.0, 0.0,        0.0,   0.0,    0.0,    0.0, 0.0,
                                0.0,        0.0, 300.0,      300.0, 1500.0, 1500.0, 0.0, false,
                                string(""), 0.0, string(""), 0.0,   0.0,    0.0}) +
                   leading + FieldsLine({string("left")}) + separator);
    game.Write("FramesData/Start.fm1", leading + FieldsLine({string("Half a text"), 150.0}));
    // Hotspot 1 sets Door, then its record breaks off with a word for a number.
    game.Write("FramesData/Start.fm3", leading +
                                           FieldsLine({1.0, string("Door"), false, true, false, false,
                                                       string(""), 0.0, string(""), false, false}) +
                                           FieldsLine({string("yes"), string("Next")}) + separator);
    ASSERT_EQ(game.Run("press Start New Game\n" + game.State("loaded") + "click 70 70\n" +
                       game.State("clicked") + "wait 3000\n" + game.State("next")),
              0)
        << game.Read("stderr");

    json loaded = game.Dump("loaded");
    ASSERT_EQ(loaded["messageboxes"].size(), 1u);
    EXPECT_TRUE(loaded["messageboxes"][0]["text"].get<string>().ends_with(
        "Error description: Unable to load hotspot #2. Type mismatch"));
    ASSERT_EQ(loaded["hotspots"].size(), 1u);
    EXPECT_EQ(loaded["hotspots"][0]["visible"], true);
    ASSERT_EQ(loaded["texts"].size(), 1u);
    EXPECT_EQ(loaded["texts"][0]["caption"], "Half a text");

    json clicked = game.Dump("clicked");
    ASSERT_EQ(clicked["messageboxes"].size(), 2u);
    EXPECT_TRUE(clicked["messageboxes"][1]["text"].get<string>().ends_with(
        "Error description: Unable to make the action associated with the hotspot #1. Type mismatch"));
    EXPECT_EQ(clicked["variables"]["integer"]["Door"], 1);
    EXPECT_EQ(clicked["frame"]["name"], "Start");

    EXPECT_EQ(game.Dump("next")["frame"]["name"], "Next");
}

}  // namespace
}  // namespace taviro
