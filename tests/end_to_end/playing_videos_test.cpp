// Cut scenes, looping videos of hotspots and animated pictures of games played by the player itself,
// headless on the virtual clock: videos are made at test time with the ffmpeg program.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>

#include "support/player_run.h"

namespace taviro {
namespace {

using nlohmann::json;
using std::string;
using testing::FieldsLine;

// The colour of a pixel of a screenshot, 0xRRGGBB; -1 when it cannot be read.
int PixelOf(const string& png, int x, int y) {
    SDL_Surface* loaded = IMG_Load(png.c_str());
    if (!loaded) return -1;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    if (!surface) return -1;
    int colour = -1;
    if (x >= 0 && y >= 0 && x < surface->w && y < surface->h) {
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
        colour = static_cast<int>(row[x] & 0xFFFFFF);
    }
    SDL_FreeSurface(surface);
    return colour;
}

// Near enough to a colour for a picture that went through a video codec.
bool Near(int colour, int expected) {
    if (colour < 0) return false;
    for (int shift : {0, 8, 16})
        if (std::abs(((colour >> shift) & 0xFF) - ((expected >> shift) & 0xFF)) > 40) return false;
    return true;
}

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
    return FieldsLine({0.0, string("65280"), false, false, string(""), false, 0.0, string(""), video,
                       string("")}) +
           FieldsLine({false, false, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, false, !stretched, double(left), double(top), double(width),
                       double(height)});
}

string GreenFrame() {
    return FieldsLine({0.0, string("65280"), false, false, string(""), false, 0.0, string(""), string(""),
                       string("")});
}

// A hotspot whose action opens a frame; with a looping video and an animated picture when given.
string Hotspot(int left, int top, int width, int height, const string& animation = "", double speed = 0,
               const string& loopingVideo = "", bool sizedToHotspot = false, double rate = 0, double count = 0) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({left * 15.0, top * 15.0, width * 15.0, height * 15.0, animation.empty() ? 0.0 : 1.0,
                       !animation.empty(), animation, 0.0, string(""), 0.0, 0.0, 0.0}) +
           FieldsLine({speed, !loopingVideo.empty(), loopingVideo, sizedToHotspot, 0.0, 0.0, 0.0, rate, count}) +
           FieldsLine({string(project::kRecordSeparator)});
}

// An action record that opens a frame.
string OpenFrameAction(const string& frame) {
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({0.0, string(""), false, true, false, false, string(""), 0.0, string(""), false, false}) +
           FieldsLine({frame}) + FieldsLine({string(project::kRecordSeparator)});
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
    EXPECT_EQ(red["video"]["one_time"], (json{{"file", file}, {"state", 2}, {"visible", true}, {"x", 10},
                                               {"y", 20}, {"width", 64}, {"height", 48}}));
    EXPECT_TRUE(Near(game.Pixel("red", 40, 40), kRed));
    // Around it the frame's green shows: left of it, above it and past its far corner.
    EXPECT_TRUE(Near(game.Pixel("red", 9, 40), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 73, 19), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 74, 68), kGreen));
    EXPECT_TRUE(Near(game.Pixel("red", 73, 67), kRed));
    EXPECT_TRUE(Near(game.Pixel("blue", 40, 40), kBlue));
    // The video started after the start pause of 0.3 s; by 2.5 s it has ended, the frame has stopped waiting and the container is hidden.
    json ended = game.Dump("ended")["video"]["one_time"];
    EXPECT_EQ(ended["state"], 0);
    EXPECT_EQ(ended["visible"], false);
}

}  // namespace
}  // namespace taviro
