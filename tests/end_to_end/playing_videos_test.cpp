// Cut scenes, looping videos of hotspots and animated pictures of games played by the player itself,
// headless on the virtual clock: videos are made at test time with the ffmpeg program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
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

constexpr int kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kBlack = 0x000000;

class VideoGame : public testing::PlayerRun {
public:
    VideoGame() : PlayerRun(TAVIRO_PLAYER_PATH) {
        game().Write("Config/Texts", "1\r\n");
        General(testing::GeneralFile());
    }
    void General(testing::GeneralFile general) const { game().Write("Config/General", general.Text()); }
    void Write(const string& relative, const string& bytes) const { game().Write(relative, bytes); }
    // A video of `seconds` in the Frames folder, at 25 pictures a second: its first second red, the
    // rest blue.
    void Video(const string& name, int width, int height, double seconds) const {
        string path = (game().path() / "Frames" / name).string();
        std::filesystem::create_directories(game().path() / "Frames");
        string size = std::to_string(width) + "x" + std::to_string(height);
        string command = "ffmpeg -loglevel quiet -y -f lavfi -i color=c=red:size=" + size +
                         ":rate=25:duration=" + std::to_string(seconds) +
                         " -vf \"drawbox=c=blue:t=fill:enable='gte(t,1)'\" -c:v mpeg4 -q:v 2 '" + path + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    json Dump(const string& name) const { return Json(name + ".json"); }
    string Shot(const string& name) const { return "screenshot " + Path(name + ".png") + "\n"; }
    int Pixel(const string& name, int x, int y) const { return PixelOf(Path(name + ".png"), x, y); }
};

// A frame on a green background whose one-time video plays after the frame is drawn: at its own size
// at (left, top), or stretched to the rectangle.
string VideoFrame(const string& video, bool stretched, int left, int top, int width = 0, int height = 0) {
    return FieldsLine(
               {0.0, string("65280"), false, false, string(""), false, 0.0, string(""), video, string("")}) +
           FieldsLine({false, false, string("")}) +
           FieldsLine(
               {0.0, 0.0, 0.0, false, !stretched, double(left), double(top), double(width), double(height)});
}

string GreenFrame() {
    return FieldsLine(
        {0.0, string("65280"), false, false, string(""), false, 0.0, string(""), string(""), string("")});
}

// A hotspot whose action opens a frame; with a looping video and an animated picture when given.
string Hotspot(int left, int top, int width, int height, const string& animation = "", double speed = 0,
               const string& loopingVideo = "", bool sizedToHotspot = false, double rate = 0,
               double count = 0) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({left * 15.0, top * 15.0, width * 15.0, height * 15.0, animation.empty() ? 0.0 : 1.0,
                       !animation.empty(), animation, 0.0, string(""), 0.0, 0.0, 0.0}) +
           FieldsLine(
               {speed, !loopingVideo.empty(), loopingVideo, sizedToHotspot, 0.0, 0.0, 0.0, rate, count}) +
           FieldsLine({string(project::kRecordSeparator)});
}

TEST(OneTimeVideo, PlaysAtItsOwnSizeAtItsCornerOnTheGameClockAndTheFrameWaitsForItsEnd) {
    VideoGame game;
    game.Video("cut.avi", 64, 48, 2);
    game.Write("Frames/Start.fme", VideoFrame("Cut.AVI", false, 10, 20));
    ASSERT_EQ(game.Run("press Start New Game\nwait 500\n" + game.StateCommand("red") + game.Shot("red") +
                       "wait 1000\n" + game.Shot("blue") + "wait 1000\n" + game.StateCommand("ended")),
              0)
        << game.Read("stderr");
    json red = game.Dump("red");
    const string file = (game.game().path() / "Frames" / "Cut.AVI").string();
    EXPECT_EQ(red["video"]["one_time"], (json{{"file", file},
                                              {"state", 2},
                                              {"visible", true},
                                              {"x", 10},
                                              {"y", 20},
                                              {"width", 64},
                                              {"height", 48}}));
    EXPECT_TRUE(Near(game.Pixel("red", 40, 40), kRed));
    // Around it the frame's green shows: left of it, right of it, below it and past its far corner.
    EXPECT_TRUE(Near(game.Pixel("red", 9, 40), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 75, 40), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 40, 69), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 74, 68), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 72, 66), kRed));
    EXPECT_TRUE(Near(game.Pixel("blue", 40, 40), kBlue));
    // The video started after the start pause of 0.3 s; by 2.5 s it has ended, the frame has stopped waiting
    // and the container is hidden.
    json ended = game.Dump("ended")["video"]["one_time"];
    EXPECT_EQ(ended["state"], 0);
    EXPECT_EQ(ended["visible"], false);
}

TEST(OneTimeVideo, AStretchedVideoFillsItsRectangle) {
    VideoGame game;
    game.Video("cut.avi", 64, 48, 2);
    game.Write("Frames/Start.fme", VideoFrame("cut.avi", true, 100, 50, 200, 100));
    ASSERT_EQ(
        game.Run("press Start New Game\nwait 400\n" + game.StateCommand("playing") + game.Shot("playing")), 0)
        << game.Read("stderr");
    json video = game.Dump("playing")["video"]["one_time"];
    EXPECT_EQ(video["x"], 100);
    EXPECT_EQ(video["y"], 50);
    EXPECT_EQ(video["width"], 200);
    EXPECT_EQ(video["height"], 100);
    EXPECT_TRUE(Near(game.Pixel("playing", 102, 52), kRed));
    EXPECT_TRUE(Near(game.Pixel("playing", 297, 147), kRed));
    EXPECT_TRUE(Near(game.Pixel("playing", 302, 100), kGreen));
    EXPECT_TRUE(Near(game.Pixel("playing", 200, 152), kGreen));
}

// Each run clicks once during the video, on the picture or beside it, or presses Esc; whether the
// frame stops waiting depends on field 64 of the project information.
struct SkipCase {
    bool onlyEscSkips;
    string input;
    bool ends;
};

TEST(OneTimeVideo, AClickEndsTheWaitUnlessOnlyEscMaySkipItAndEscAlwaysDoes) {
    const SkipCase cases[] = {
        {false, "click 40 40\n", true},    // on the picture: the player pauses, the wait ends
        {false, "click 300 300\n", true},  // beside it, on the frame
        {true, "click 40 40\n", false},   {true, "click 300 300\n", false},
        {true, "key Escape\n", true},     {false, "key Escape\n", true},
    };
    for (const SkipCase& skip : cases) {
        SCOPED_TRACE(skip.input + (skip.onlyEscSkips ? " with only Esc skipping" : ""));
        VideoGame game;
        game.General(testing::GeneralFile().Set(64, skip.onlyEscSkips));
        game.Video("cut.avi", 64, 48, 3);
        game.Write("Frames/Start.fme", VideoFrame("cut.avi", false, 10, 20));
        ASSERT_EQ(game.Run("press Start New Game\nwait 500\n" + skip.input + "wait 100\n" +
                           game.StateCommand("after")),
                  0)
            << game.Read("stderr");
        json video = game.Dump("after")["video"]["one_time"];
        EXPECT_EQ(video["visible"], !skip.ends);
        EXPECT_EQ(video["state"], skip.ends ? 0 : 2);
        EXPECT_EQ(game.Dump("after")["clock_ms"], 600);
    }
}

TEST(OneTimeVideo, AFileThatIsNoVideoIsReportedOnceAndTheFrameGoesOn) {
    VideoGame game;
    game.Write("Frames/broken.avi", "This was meant to be a video.");
    game.Write("Frames/Start.fme", VideoFrame("broken.avi", false, 0, 0));
    ASSERT_EQ(game.Run("press Start New Game\nwait 500\n" + game.StateCommand("after")), 0)
        << game.Read("stderr");
    json after = game.Dump("after");
    ASSERT_EQ(after["messageboxes"].size(), 1u) << after["messageboxes"];
    const string text = after["messageboxes"][0]["text"];
    EXPECT_NE(text.find("Error description: Error while attempting to play the following video file: "
                        "\"broken.avi\". Invalid file format: "),
              string::npos)
        << text;
    EXPECT_EQ(after["video"]["one_time"]["state"], 0);
    EXPECT_EQ(after["frame"]["name"], "Start");
    // Only the start pause went by: nothing waited for a video that never played.
    EXPECT_EQ(after["clock_ms"], 500);
}

TEST(LoopingVideos, StartAfterTheOneTimeVideoLoopAtTheirRateAndRewindWhenShownAgain) {
    VideoGame game;
    game.Video("cut.avi", 64, 48, 1);
    game.Video("loop.avi", 32, 16, 2);
    game.Write("Frames/Start.fme", VideoFrame("cut.avi", false, 0, 0));
    // Hotspot 1 shows its video at the video's own size, twice as fast, without end.
    game.Write("FramesData/Start.fm2", Hotspot(200, 100, 80, 60, "", 0, "Loop.avi", false, 2, 0));
    game.Write("Frames/Start.lks", FieldsLine({1.0}));
    ASSERT_EQ(game.Run("press Start New Game\nwait 200\n" + game.StateCommand("during") + "wait 1500\n" +
                       game.StateCommand("looping") + game.Shot("red") + "wait 400\n" + game.Shot("blue") +
                       "wait 3000\n" + game.StateCommand("later")),
              0)
        << game.Read("stderr");
    json during = game.Dump("during")["video"]["looping"];
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0]["hotspot"], 1);
    EXPECT_EQ(during[0]["state"], 0);  // waits for the one-time video to end
    EXPECT_EQ(during[0]["visible"], true);
    EXPECT_EQ(during[0]["width"], 32);
    EXPECT_EQ(during[0]["height"], 16);
    json looping = game.Dump("looping")["video"]["looping"][0];
    EXPECT_EQ(looping["state"], 2);
    EXPECT_EQ(looping["x"], 202);  // the hotspot's corner, inset by two pixels
    // The loop started at about 1.3 s: half a second of it at twice the speed is red, then blue.
    EXPECT_EQ(game.Dump("looping")["clock_ms"], 1700);
    EXPECT_TRUE(Near(game.Pixel("red", 210, 106), kRed));
    EXPECT_TRUE(Near(game.Pixel("blue", 210, 106), kBlue));
    // Four seconds of video later it still plays, from its start again.
    EXPECT_EQ(game.Dump("later")["video"]["looping"][0]["state"], 2);
}

TEST(AnimatedPictures, AnimateOnTheGameClockAtSpeedFiftyAndTakeClicksForTheirHotspot) {
    VideoGame game;
    // Two frames of half a second each: red, then blue.
    std::filesystem::create_directories(game.game().path() / "Areas");
    string gif = (game.game().path() / "Areas" / "flag.gif").string();
    string command =
        "ffmpeg -loglevel quiet -y -f lavfi -i color=c=red:size=20x10:rate=2:duration=1 -vf "
        "\"drawbox=c=blue:t=fill:enable='gte(t,0.5)'\" '" +
        gif + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    game.Write("Frames/Start.fme", GreenFrame());
    game.Write("Frames/Next.fme", GreenFrame());
    game.Write("FramesData/Start.fm2", Hotspot(100, 100, 80, 60, "flag.gif", 0));
    game.Write("FramesData/Start.fm3", testing::DoorActionRecord("Next", ""));
    game.Write("Frames/Start.lks", FieldsLine({1.0}));
    ASSERT_EQ(game.Run("press Start New Game\nwait 250\n" + game.StateCommand("start") + game.Shot("red") +
                       "wait 500\n" + game.Shot("blue") + "wait 500\n" + game.Shot("red_again") +
                       "click 110 105\nwait 200\n" + game.StateCommand("next")),
              0)
        << game.Read("stderr");
    json animations = game.Dump("start")["animations"];
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations[0], (json{{"hotspot", 1},
                                   {"file", (game.game().path() / "Areas" / "flag.gif").string()},
                                   {"speed", 50.0},
                                   {"visible", true},
                                   {"x", 102},
                                   {"y", 102},
                                   {"width", 20},
                                   {"height", 10}}));
    EXPECT_TRUE(Near(game.Pixel("red", 110, 105), kRed));
    EXPECT_TRUE(Near(game.Pixel("blue", 110, 105), kBlue));
    EXPECT_TRUE(Near(game.Pixel("red_again", 110, 105), kRed));
    // The click on the picture was the hotspot's: its action opened the next frame, and the
    // animation went with the old frame.
    json next = game.Dump("next");
    EXPECT_EQ(next["frame"]["name"], "Next");
    EXPECT_EQ(next["animations"], json::array());
}

TEST(VideoPlayerObject, ScriptsOpenPlayAndReadTheOneTimePlayerWithItsMembersGlobal) {
    VideoGame game;
    game.Video("cut.avi", 64, 48, 1);
    game.Write("Frames/Start.fme", GreenFrame());
    game.Write("Config/Variables", FieldsLine({0.0, string("Door")}));
    // Quotes of scripts are stored as bars.
    const string script =
        "VideoPlayerObject.AutoStart = False : FileName = |Frames\\cut.avi| : Rate = 2 : Play : "
        "Door = ImageSourceWidth * 100 + VideoPlayerObject.PlayState";
    game.Write("FramesData/Start.fm2", Hotspot(100, 100, 80, 60));
    game.Write("FramesData/Start.fm3", testing::DoorActionRecord("", script));
    game.Write("Frames/Start.lks", FieldsLine({1.0}));
    ASSERT_EQ(
        game.Run("press Start New Game\nwait 100\nclick 110 110\nwait 100\n" + game.StateCommand("playing")),
        0)
        << game.Read("stderr");
    json playing = game.Dump("playing");
    EXPECT_EQ(playing["variables"]["integer"]["Door"], 6402);
    // The script saw it play; the action's end stopped it, as every action's end stops the one-time
    // video, and it keeps the file it was given.
    json video = playing["video"]["one_time"];
    EXPECT_TRUE(video["file"].get<string>().ends_with("cut.avi")) << video;
    EXPECT_EQ(video["state"], 0);
    EXPECT_EQ(video["visible"], false);
    EXPECT_EQ(playing["messageboxes"], json::array());
}

}  // namespace
}  // namespace taviro
