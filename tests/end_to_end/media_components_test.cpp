// The media players and the animated-picture control that scripts add as components, played by the
// player itself, headless on the virtual clock; the video and the picture are made with ffmpeg.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "end_to_end/screenshot_pixels.h"
#include "support/player_run.h"

namespace taviro {
namespace {

using nlohmann::json;
using std::string;
using testing::FieldsLine;
using testing::Near;
using testing::PixelOf;

constexpr int kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00;

// A game of one green frame whose script adds the components; the handlers of their events are
// among the project procedures, and write into the project variables States and Ended.
class ComponentGame : public testing::PlayerRun {
public:
    explicit ComponentGame(const string& frameScript, const string& procedures)
        : PlayerRun(TAVIRO_PLAYER_PATH) {
        game().Write("Config/Texts", "1\r\n");
        game().Write("Config/General", testing::GeneralFile().Text());
        game().Write("Config/Variables", FieldsLine({0.0}) + FieldsLine({string("States")}) +
                                             FieldsLine({string("Ended")}) +
                                             FieldsLine({string("Installed")}));
        game().Write("Config/Procedures", "Procedures\r\n\r\n\r\n" + procedures);
        game().Write("Frames/Start.fme",
                     FieldsLine({0.0, string("65280"), false, false, string(""), false, 0.0, string(""),
                                 string(""), string("")}) +
                         FieldsLine({false, false, string("")}) +
                         FieldsLine({string(""), string(""), string(""), false, false, 0.0, 0.0, 0.0, 0.0}) +
                         FieldsLine({false}) + FieldsLine({false, 0.0}) + FieldsLine({0.0}) +
                         FieldsLine({true, frameScript}));
    }
    // Runs ffmpeg on a lavfi source into a file of the game.
    void Make(const string& relative, const string& arguments) const {
        std::filesystem::create_directories((game().path() / relative).parent_path());
        const string command =
            "ffmpeg -loglevel quiet -y " + arguments + " '" + (game().path() / relative).string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    json Dump(const string& name) const { return Json(name + ".json"); }
    string Shot(const string& name) const { return "screenshot " + Path(name + ".png") + "\n"; }
    int Pixel(const string& name, int x, int y) const { return PixelOf(Path(name + ".png"), x, y); }
};

// Quotes of stored scripts are bars.
constexpr char kAddScreen[] =
    "AddComponent |NSPlay.NSPlayCtl.1|, |Screen|, False, False\r\n"
    "With Component(|Screen|)\r\n"
    "  .Move 40 * 15, 30 * 15, 64 * 15, 48 * 15\r\n"
    "  .Visible = True\r\n"
    "  .FileName = |Frames\\clip.avi|\r\n"
    "End With\r\n";
constexpr char kScreenHandlers[] =
    "Sub Screen_PlayStateChange(p)\r\n  States = States * 10 + p(|NewState|)\r\nEnd Sub\r\n"
    "Sub Screen_EndOfStream(p)\r\n  Ended = Ended + 1\r\nEnd Sub\r\n";

string Quoted(string text) {
    for (char& c : text)
        if (c == '|') c = '"';
    return text;
}

TEST(VideoComponent, PlaysAtItsPlaceOnTheGameClockAndItsHandlersHearTheStatesAndTheEnd) {
    ComponentGame game(kAddScreen + string("Installed = -IsComponentInstalled(|MediaPlayer.MediaPlayer.1|)"),
                       Quoted(kScreenHandlers));
    // Two seconds: red, then blue from the first second on.
    game.Make("Frames/clip.avi",
              "-f lavfi -i color=c=red:size=64x48:rate=25:duration=2 -vf "
              "\"drawbox=c=blue:t=fill:enable='gte(t,1)'\" -c:v mpeg4 -q:v 2");
    ASSERT_EQ(game.Run("press Start New Game\nwait 500\n" + game.StateCommand("playing") + game.Shot("red") +
                       "wait 1000\n" + game.Shot("blue") + "wait 1000\n" + game.StateCommand("ended")),
              0)
        << game.Read("stderr");
    json playing = game.Dump("playing");
    EXPECT_EQ(playing["components"],
              json::parse(R"([{"name": "screen", "progid": "NSPlay.NSPlayCtl.1", "sink": 1}])"));
    EXPECT_EQ(playing["variables"]["integer"]["States"], 2);
    EXPECT_EQ(playing["variables"]["integer"]["Ended"], 0);
    EXPECT_EQ(playing["variables"]["integer"]["Installed"], 1);
    EXPECT_TRUE(Near(game.Pixel("red", 70, 60), kRed));
    EXPECT_TRUE(Near(game.Pixel("red", 38, 60), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 106, 60), kGreen));
    EXPECT_TRUE(Near(game.Pixel("blue", 70, 60), kBlue));
    json ended = game.Dump("ended");
    EXPECT_EQ(ended["variables"]["integer"]["States"], 20);
    EXPECT_EQ(ended["variables"]["integer"]["Ended"], 1);
    EXPECT_EQ(ended["messageboxes"], json::array());
}

// A click on the video pauses it (ClickToPlay) and its handler removes the player: no end is heard
// from it after that, and the frame shows where it was.
TEST(VideoComponent, AClickOnItReachesItsHandlerWhichMayRemoveIt) {
    ComponentGame game(kAddScreen, Quoted(kScreenHandlers) +
                                       "Sub Screen_Click(p)\r\n  Installed = "
                                       "States\r\n  RemoveComponent \"Screen\"\r\nEnd Sub\r\n");
    game.Make("Frames/clip.avi", "-f lavfi -i color=c=red:size=64x48:rate=25:duration=1 -c:v mpeg4");
    ASSERT_EQ(game.Run("press Start New Game\nwait 300\n" + game.StateCommand("added") +
                       "click 70 60\nwait 1500\n" + game.StateCommand("removed") + game.Shot("removed")),
              0)
        << game.Read("stderr");
    EXPECT_EQ(game.Dump("added")["components"].size(), 1u);
    json removed = game.Dump("removed");
    EXPECT_EQ(removed["components"], json::array());
    EXPECT_EQ(removed["variables"]["integer"]["Installed"], 21);
    EXPECT_EQ(removed["variables"]["integer"]["Ended"], 0);
    EXPECT_EQ(removed["messageboxes"], json::array());
    EXPECT_TRUE(Near(game.Pixel("removed", 70, 60), kGreen));
}

// A click on the picture stops it through its handler: it holds the frame it showed.
TEST(AnimatedPictureComponent, AnimatesAtItsPlaceAtItsOwnSizeAndStopsOnItsFrame) {
    ComponentGame game(
        "AddComponent |GIF89LibCtl.Gif89a|, |Flag|, False, False\r\n"
        "With Component(|Flag|)\r\n  .Move 200 * 15, 100 * 15\r\n  .Speed = 0\r\n"
        "  .FileName = |Areas\\flag.gif|\r\n  .Visible = True\r\n"
        "  States = .Width / 15 * 1000 + .Height / 15\r\nEnd With",
        "Sub Flag_Click(p)\r\n  Component(\"Flag\").Stop\r\nEnd Sub\r\n");
    // Two frames of half a second each: red, then blue.
    game.Make("Areas/flag.gif",
              "-f lavfi -i color=c=red:size=20x10:rate=2:duration=1 -vf "
              "\"drawbox=c=blue:t=fill:enable='gte(t,0.5)'\"");
    ASSERT_EQ(game.Run("press Start New Game\nwait 250\n" + game.StateCommand("shown") + game.Shot("red") +
                       "wait 500\n" + game.Shot("blue") + "click 210 105\nwait 500\n" + game.Shot("held")),
              0)
        << game.Read("stderr");
    EXPECT_EQ(game.Dump("shown")["variables"]["integer"]["States"], 20010);
    EXPECT_TRUE(Near(game.Pixel("red", 210, 105), kRed));
    EXPECT_TRUE(Near(game.Pixel("red", 221, 105), kGreen));
    EXPECT_TRUE(Near(game.Pixel("blue", 210, 105), kBlue));
    EXPECT_TRUE(Near(game.Pixel("held", 210, 105), kBlue));
}

}  // namespace
}  // namespace taviro
