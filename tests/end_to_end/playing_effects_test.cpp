// Transitions and rippling water played by the player itself, headless on the virtual clock: the
// screenshots show them at the progress and phase the clock has reached.
#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>

#include "support/player_run.h"

namespace taviro {
namespace {

using nlohmann::json;
using std::string;
using testing::FieldsLine;

constexpr int kFrameHeight = 480;

// A frame with a background (0 a colour as 0x00BBGGRR, 1 a picture file) and a frame script ("|"
// stands for a double quote in stored scripts).
string Frame(int kind, const string& background, const string& script) {
    return FieldsLine({double(kind), background, false, false, string(""), false, 0.0, string(""), string(""),
                       string("")}) +
           FieldsLine({false, false, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({false}) +
           FieldsLine({false, 0.0}) + FieldsLine({0.0}) + FieldsLine({!script.empty(), script});
}

constexpr char kRed[] = "255";
constexpr char kBlue[] = "16711680";
// The same colours as screenshots show them, 0xRRGGBB.
constexpr uint32_t kRedPixel = 0xFF0000, kBluePixel = 0x0000FF, kGreenPixel = 0x00FF00;

// A 24-bit bitmap file whose pixels a function gives as 0xRRGGBB.
template <typename Pixel>
string Bitmap(int width, int height, Pixel pixel) {
    const int rowBytes = (width * 3 + 3) & ~3;
    const int size = 54 + rowBytes * height;
    string bytes(static_cast<size_t>(size), '\0');
    auto put = [&](int at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes[static_cast<size_t>(at + i)] = char((value >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, uint32_t(size), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put(54 + (height - 1 - y) * rowBytes + x * 3, pixel(x, y), 3);
    return bytes;
}

// The pixels of a screenshot, in frame pixels (below the menu bar, if one shows).
class Screenshot {
public:
    explicit Screenshot(const string& path) : surface_(IMG_Load(path.c_str()), SDL_FreeSurface) {
        if (surface_) surface_.reset(SDL_ConvertSurfaceFormat(surface_.get(), SDL_PIXELFORMAT_ARGB8888, 0));
    }
    bool loaded() const { return surface_ != nullptr; }
    uint32_t At(int x, int y) const {
        const int top = surface_->h - kFrameHeight;
        auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface_->pixels) +
                                                      (y + top) * surface_->pitch);
        return row[x] & 0xFFFFFF;
    }

private:
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface_;
};

int Red(uint32_t pixel) { return int(pixel >> 16); }
int Blue(uint32_t pixel) { return int(pixel & 0xFF); }

class EffectsGame : public testing::PlayerRun {
public:
    EffectsGame() : PlayerRun(TAVIRO_PLAYER_PATH) {
        Write("Config/General", testing::GeneralFile().Text());
        Write("Config/Texts", "1\r\n");
        Write("Frames/Next.fme", Frame(0, kBlue, ""));
    }
    void Write(const string& relative, const string& bytes) const { game().Write(relative, bytes); }
    // The start frame, red, runs a script when clicked anywhere.
    void StartWith(const string& script) const {
        Write("Frames/Start.fme", Frame(0, kRed, ""));
        Write("Config/Variables", FieldsLine({0.0, string("Door")}));
        Write("FramesData/Start.fm2", testing::HotspotRecord(0, 0, 640, 480));
        Write("FramesData/Start.fm3", testing::DoorActionRecord("", script));
    }
    string Shot(const string& name) const { return "screenshot " + Path(name + ".png") + "\n"; }
    Screenshot Picture(const string& name) const { return Screenshot(Path(name + ".png")); }
    json Dump(const string& name) const { return Json(name + ".json"); }
    int Play(const string& automation) const {
        // Each run has its own per-user settings.
        return Run("press Start New Game\nclick 320 240\n" + automation, "XDG_CONFIG_HOME=" + Path("config"));
    }
};

TEST(PlayingTransitions, AlphablendingShowsTheMixTheClockHasReachedAndEndsOnTheNewFrame) {
    EffectsGame game;
    game.StartWith("GoToFrame |Next|, 1, 1");
    ASSERT_EQ(
        game.Play("wait 250\n" + game.Shot("quarter") + game.StateCommand("quarter") + "wait 500\n" +
                  game.Shot("three_quarters") + "wait 300\n" + game.Shot("end") + game.StateCommand("end")),
        0)
        << game.Read("stderr");
    json quarter = game.Dump("quarter");
    EXPECT_EQ(quarter["transition"], (json{{"running", true}, {"kind", 1}, {"progress", 0.25}}));
    EXPECT_EQ(quarter["frame"]["name"], "Next") << "the new frame is built under the stage";
    // Opacity 63 of blue over red, then 191; ±1 for the renderer's rounding.
    for (auto [name, blue] : {std::pair{"quarter", 63}, {"three_quarters", 191}}) {
        Screenshot shot = game.Picture(name);
        ASSERT_TRUE(shot.loaded()) << name;
        for (auto [x, y] : {std::pair{320, 240}, {600, 100}, {639, 479}}) {
            EXPECT_NEAR(Blue(shot.At(x, y)), blue, 1) << name << " at " << x << "," << y;
            EXPECT_NEAR(Red(shot.At(x, y)), 255 - blue, 1) << name << " at " << x << "," << y;
        }
    }
    EXPECT_EQ(game.Picture("end").At(320, 240), kBluePixel);
    json end = game.Dump("end");
    EXPECT_EQ(end["transition"]["running"], false);
    EXPECT_EQ(end["messageboxes"], json::array());
}

TEST(PlayingTransitions, SlidesBringTheNewFrameInFromTheSideTheirNamesSay) {
    struct Slide {
        int kind;
        // At 25 %: a point that shows the new frame and one that still shows the old.
        int newX, newY, oldX, oldY;
    };
    for (const Slide& slide : {Slide{2, 639, 240, 479, 240}, Slide{3, 0, 240, 160, 240},
                               Slide{4, 320, 479, 320, 359}, Slide{5, 320, 0, 320, 120}}) {
        EffectsGame game;
        game.StartWith("GoToFrame |Next|, 2, " + std::to_string(slide.kind));
        ASSERT_EQ(game.Play("wait 500\n" + game.Shot("quarter")), 0) << game.Read("stderr");
        Screenshot shot = game.Picture("quarter");
        ASSERT_TRUE(shot.loaded());
        EXPECT_EQ(shot.At(slide.newX, slide.newY), kBluePixel) << "kind " << slide.kind;
        EXPECT_EQ(shot.At(slide.oldX, slide.oldY), kRedPixel) << "kind " << slide.kind;
    }
}

TEST(PlayingTransitions, AClickOrAKeyEndsEvenATenThousandSecondTransition) {
    for (const string& input : {string("click 320 240"), string("key A")}) {
        EffectsGame game;
        game.StartWith("GoToFrame |Next|, 10000, 1");
        ASSERT_EQ(game.Play("wait 100\n" + input + "\n" + game.StateCommand("after") + game.Shot("after")), 0)
            << game.Read("stderr");
        json after = game.Dump("after");
        EXPECT_EQ(after["transition"]["running"], false) << input;
        EXPECT_LT(after["clock_ms"].get<int>(), 1000) << input;
        EXPECT_EQ(game.Picture("after").At(320, 240), kBluePixel) << input;
    }
}

TEST(PlayingTransitions, SwitchedOffOrWithoutDurationTheFrameChangesAtOnce) {
    for (const string& script : {string("InvertTransitionsStatus : GoToFrame |Next|, 2, 1"),
                                 string("GoToFrame |Next|, 0, 1"), string("GoToFrame |Next|, 2, 6")}) {
        EffectsGame game;
        game.StartWith(script);
        ASSERT_EQ(game.Play(game.StateCommand("after") + game.Shot("after")), 0) << game.Read("stderr");
        json after = game.Dump("after");
        EXPECT_EQ(after["frame"]["name"], "Next") << script;
        EXPECT_EQ(after["transition"]["running"], false) << script;
        EXPECT_LT(after["clock_ms"].get<int>(), 1000) << script;
        EXPECT_EQ(game.Picture("after").At(320, 240), kBluePixel) << script;
    }
}

TEST(PlayingTransitions, AFrameChangeDuringATransitionEndsItAndGoesAhead) {
    EffectsGame game;
    // A script timer set before the blend fires during it and slides on to a third, green, frame.
    game.StartWith("TimerObject(0).Interval = 300 : TimerObject(0).Enabled = True : GoToFrame |Next|, 1, 1");
    game.Write("Config/Procedures",
               "Procedures\r\n\r\n\r\nSub TimerObject0\r\n"
               "  GoToFrame \"Third\", 1, 3\r\nEnd Sub\r\n");
    game.Write("Frames/Third.fme", Frame(0, "65280", ""));
    ASSERT_EQ(game.Play("wait 800\n" + game.Shot("sliding") + game.StateCommand("sliding") + "wait 600\n" +
                        game.Shot("end") + game.StateCommand("end")),
              0)
        << game.Read("stderr");
    json sliding = game.Dump("sliding");
    EXPECT_EQ(sliding["frame"]["name"], "Third");
    EXPECT_EQ(sliding["transition"], (json{{"running", true}, {"kind", 3}, {"progress", 0.5}}));
    Screenshot shot = game.Picture("sliding");
    EXPECT_EQ(shot.At(10, 240), kGreenPixel) << "the third frame comes in from the left";
    EXPECT_EQ(shot.At(630, 240), kBluePixel) << "over the next frame, shown whole when the blend ended";
    EXPECT_EQ(game.Picture("end").At(320, 240), kGreenPixel);
    json end = game.Dump("end");
    EXPECT_EQ(end["transition"]["running"], false);
    EXPECT_EQ(end["history"], json::array({"Start", "Next", "Third"}));
    EXPECT_EQ(end["messageboxes"], json::array());
}

TEST(PlayingTransitions, AFrameOpenedWithoutTransitionDuringOneShowsAtOnce) {
    EffectsGame game;
    game.StartWith("TimerObject(0).Interval = 300 : TimerObject(0).Enabled = True : GoToFrame |Next|, 5, 1");
    game.Write("Config/Procedures",
               "Procedures\r\n\r\n\r\nSub TimerObject0\r\n"
               "  GoToFrame \"Third\", 0, 1\r\nEnd Sub\r\n");
    game.Write("Frames/Third.fme", Frame(0, "65280", ""));
    ASSERT_EQ(game.Play("wait 400\n" + game.Shot("third") + game.StateCommand("third")), 0)
        << game.Read("stderr");
    json third = game.Dump("third");
    EXPECT_EQ(third["frame"]["name"], "Third");
    EXPECT_EQ(third["transition"]["running"], false);
    EXPECT_EQ(game.Picture("third").At(320, 240), kGreenPixel);
}

TEST(PlayingTransitions, ChosenDestinationIsTheEndImageOnceAndCapturesFillPictureBoxes) {
    EffectsGame game;
    // The next frame's script names a green picture box as the image its transition ends on.
    game.StartWith("GoToFrame |Next|, 1, 1");
    game.Write("Frames/Next.fme",
               Frame(0, kBlue,
                     "PictureBoxObject.BackColor = 65280 : PictureBoxObject.Width = 9600\r\n"
                     "PictureBoxObject.Height = 7200 : SetTransitionDestination PictureBoxObject"));
    game.Write("FramesData/Next.fm2", testing::HotspotRecord(0, 0, 640, 480));
    game.Write("FramesData/Next.fm3",
               testing::DoorActionRecord("",
                                         "CaptureFrame PictureBoxObject, True : PictureBoxObject.Width = 3000"
                                         " : PictureBoxObject.Visible = True : GoToFrame |Start|, 1, 1"));
    ASSERT_EQ(game.Play("wait 500\n" + game.Shot("half") + "wait 600\nclick 320 240\nwait 500\n" +
                        game.Shot("again") + "wait 600\n" + game.Shot("back")),
              0)
        << game.Read("stderr");
    const uint32_t halfway = game.Picture("half").At(320, 240);
    EXPECT_NEAR(int((halfway >> 8) & 0xFF), 127, 1) << "half green";
    EXPECT_NEAR(Red(halfway), 128, 1) << "half red";
    EXPECT_EQ(Blue(halfway), 0) << "the frame's own blue is not the end image";
    // The second transition captures the frame again: blue to red.
    const uint32_t again = game.Picture("again").At(400, 400);
    EXPECT_NEAR(Blue(again), 128, 1);
    EXPECT_NEAR(Red(again), 127, 1);
    // Back on the red frame, the box shows the blue frame it captured.
    Screenshot back = game.Picture("back");
    EXPECT_EQ(back.At(150, 150), kBluePixel);
    EXPECT_EQ(back.At(400, 400), kRedPixel);
}

// A pond: a striped picture background with water in (100, 200, 200 x 100) whose mask marks the
// right half of the area.
class PondGame : public EffectsGame {
public:
    PondGame() {
        Write("Frames/Start.fme", Frame(1, "pond.bmp", ""));
        Write("Frames/pond.bmp",
              Bitmap(640, 480, [](int x, int y) { return uint32_t((x * 37) & 0xFF) << 16 | uint32_t(y); }));
        Write("Frames/Start.rwm", Bitmap(200, 100, [](int x, int) { return x >= 100 ? 0xFFFFFFu : 0u; }));
        Write("Frames/Start.rwe", FieldsLine({string("Pond"), 0.0, 0.0, 0.0, 0.0, 0.0}) +
                                      FieldsLine({100.0, 200.0, 200.0, 100.0, 4.0, 5.0, true}));
    }
};

TEST(PlayingWater, TheWaterRipplesOnlyWhereTheMaskSays) {
    PondGame game;
    ASSERT_EQ(game.Play(game.StateCommand("start") + game.Shot("first") + "wait 60\n" + game.Shot("second")),
              0)
        << game.Read("stderr");
    EXPECT_EQ(game.Dump("start")["water"], (json{{"active", true},
                                                 {"x", 100},
                                                 {"y", 200},
                                                 {"width", 200},
                                                 {"height", 100},
                                                 {"amplitude", 4},
                                                 {"speed", 5},
                                                 {"direction", true}}));
    Screenshot first = game.Picture("first"), second = game.Picture("second");
    ASSERT_TRUE(first.loaded() && second.loaded());
    int changed = 0;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (first.At(x, y) == second.At(x, y)) continue;
            ASSERT_TRUE(x >= 200 && x < 300 && y >= 200 && y < 300)
                << "changed outside the water at " << x << "," << y;
            ++changed;
        }
    }
    EXPECT_GT(changed, 1000);
}

TEST(PlayingWater, EffectsSwitchedOffStillTheWaterAndOnBringItBack) {
    PondGame game;
    ASSERT_EQ(game.Play("menu Options/Disable Real-Time Effects\n" + game.StateCommand("off") +
                        game.Shot("off1") + "wait 90\n" + game.Shot("off2") +
                        "menu Options/Disable Real-Time Effects\n" + game.StateCommand("on")),
              0)
        << game.Read("stderr");
    EXPECT_EQ(game.Dump("off")["water"], (json{{"active", false}}));
    Screenshot off1 = game.Picture("off1"), off2 = game.Picture("off2");
    ASSERT_TRUE(off1.loaded() && off2.loaded());
    for (int y = 200; y < 300; y += 7)
        for (int x = 100; x < 300; x += 3) ASSERT_EQ(off1.At(x, y), off2.At(x, y)) << x << "," << y;
    EXPECT_EQ(game.Dump("on")["water"]["active"], true);
}

TEST(PlayingWater, DamagedWaterIsReportedAndTheFrameShows) {
    PondGame game;
    game.Write("Frames/Start.rwe", FieldsLine({string("Pond"), 0.0, 0.0, 0.0, 0.0, 0.0}) +
                                       FieldsLine({100.0, 200.0, 30000.0, 100.0, 4.0, 5.0}));
    ASSERT_EQ(game.Play(game.StateCommand("start")), 0) << game.Read("stderr");
    json start = game.Dump("start");
    EXPECT_EQ(start["water"], (json{{"active", false}}));
    ASSERT_EQ(start["messageboxes"].size(), 1u);
    EXPECT_NE(
        start["messageboxes"][0]["text"].get<string>().find("Error initializing the Rippling Water effect."),
        string::npos);
}

}  // namespace
}  // namespace taviro
