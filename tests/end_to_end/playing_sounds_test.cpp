// Music, frame sounds and sound channels of games played by the player itself, headless: sounds
// play into no device on the virtual clock and end when their length is over.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/player_run.h"
#include "support/sound_files.h"

namespace taviro {
namespace {

using nlohmann::json;
using std::string;
using testing::FieldsLine;

class HeadlessGame : public testing::PlayerRun {
public:
    // A game of the test's own, or a copy of the demo game.
    explicit HeadlessGame(bool demo = false) : PlayerRun(TAVIRO_PLAYER_PATH) {
        if (demo) {
            CopyGame(TAVIRO_DEMO_GAME);
            return;
        }
        game().Write("Config/General", testing::GeneralFile().Text());
        game().Write("Config/Texts", "1\r\n");
    }
    void Write(const string& relative, const string& bytes) const { game().Write(relative, bytes); }
    json Player(const string& dump, int number) const {
        const json state = Json(dump + ".json");
        for (const json& player : state["players"])
            if (player["number"] == number) return player;
        return nullptr;
    }
};

// A frame with a colour background, music (played once or looping) and a frame sound.
string SoundFrame(const string& music, bool musicLoops, const string& frameSound) {
    return FieldsLine(
               {0.0, string("0"), false, false, music, false, 0.0, string(""), string(""), string("")}) +
           FieldsLine({false, false, frameSound}) +
           FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({musicLoops});
}

// A ".chn" that plays a file on channel 1, repeating.
string ChannelOnePlays(const string& file) {
    string text;
    for (int field = 0; field < 21; ++field) text += FieldsLine({0.0});
    return text + FieldsLine({0.0, false, true, file, 1.0});
}

TEST(PlayingSounds, MusicFrameSoundAndChannelsPlayForTheirLengthOnTheVirtualClock) {
    HeadlessGame game;
    game.Write("Areas/tone.wav", testing::ToneWav(1.0));
    game.Write("Areas/tune.mid", testing::OneNoteMidi(0.5));
    game.Write("Frames/beep.wav", testing::ToneWav(0.3));
    game.Write("Frames/Start.fme", SoundFrame("Tone.WAV", false, "beep.wav"));
    game.Write("Frames/Start.chn", ChannelOnePlays("Tune.MID"));
    ASSERT_EQ(game.Run("press Start New Game\n" + game.StateCommand("start") + "wait 900\n" +
                       game.StateCommand("later") + "wait 300\n" + game.StateCommand("ended")),
              0)
        << game.Read("stderr");

    json start = game.Json("start.json");
    ASSERT_EQ(start["players"].size(), 7u);
    const string areas = game.game().path().string() + "/Areas/";
    EXPECT_EQ(game.Player("start", 6), (json{{"number", 6},
                                             {"file", areas + "Tone.WAV"},
                                             {"state", 2},
                                             {"volume", -1200},
                                             {"play_count", 1}}));
    EXPECT_EQ(game.Player("start", 7)["state"], 2);
    EXPECT_EQ(game.Player("start", 7)["volume"], -800);
    EXPECT_EQ(game.Player("start", 1)["file"], areas + "Tune.MID");
    EXPECT_EQ(game.Player("start", 1)["play_count"], 0);
    EXPECT_EQ(game.Player("start", 2),
              (json{{"number", 2}, {"file", ""}, {"state", 0}, {"volume", 0}, {"play_count", 1}}));

    // The frame sound of 0.3 s is over; the music of a second plays on.
    EXPECT_EQ(game.Player("later", 7)["state"], 0);
    EXPECT_EQ(game.Player("later", 6)["state"], 2);
    // At 1.2 s the music has ended and keeps its name; the repeating tune plays on.
    json music = game.Player("ended", 6);
    EXPECT_EQ(music["state"], 0);
    EXPECT_EQ(music["file"], areas + "Tone.WAV");
    EXPECT_EQ(game.Player("ended", 1)["state"], 2);
}

bool EndsWith(const json& text, const string& end) { return text.get<string>().ends_with(end); }

// The demo game's sounds: each frame's music on channel 1, faded in over two seconds; the library
// fades the music out and plays its MIDI tune on channel 2, which the hall fades out again; the
// garden's music replaces the hall's over the 1.5-second slide to it, and the hall's cross-fades with it
// when the garden's timer goes back; the flowerpot rustles.
TEST(PlayingSounds, DemoGameMusicCrossFadesBetweenFramesWithAMidiTuneAndEffects) {
    HeadlessGame game(true);
    string steps = "press Start New Game\n" + game.StateCommand("hall") + "wait 2500\n" +
                   game.StateCommand("hall_faded") + "click 100 250\nwait 200\n" +
                   game.StateCommand("library") + "wait 2500\n" + game.StateCommand("library_later") +
                   "click 500 250\nwait 2500\n" + game.StateCommand("hall_again") +
                   "click 500 240\nwait 1500\n" + game.StateCommand("garden") + "click 430 360\nwait 100\n" +
                   game.StateCommand("rustle") + "wait 4200\n" + game.StateCommand("cross_fade") +
                   "wait 2500\n" + game.StateCommand("hall_last");
    ASSERT_EQ(game.Run(steps), 0) << game.Read("stderr");

    json hall = game.Player("hall", 1);
    EXPECT_TRUE(EndsWith(hall["file"], "hall-theme.ogg")) << hall;
    EXPECT_EQ(hall["state"], 2);
    EXPECT_EQ(hall["play_count"], 0);
    EXPECT_EQ(hall["volume"], -4000);
    EXPECT_EQ(game.Player("hall_faded", 1)["volume"], -800);

    json tune = game.Player("library", 2);
    EXPECT_TRUE(EndsWith(tune["file"], "library.mid")) << tune;
    EXPECT_EQ(tune["state"], 2);
    EXPECT_EQ(tune["volume"], -1200);
    EXPECT_EQ(game.Player("library", 1)["state"], 2);
    EXPECT_EQ(game.Player("library_later", 1)["state"], 0);

    EXPECT_EQ(game.Player("hall_again", 1)["state"], 2);
    EXPECT_EQ(game.Player("hall_again", 1)["volume"], -800);
    EXPECT_EQ(game.Player("hall_again", 2)["state"], 0);

    json garden = game.Player("garden", 2);
    EXPECT_TRUE(EndsWith(garden["file"], "garden-theme.ogg")) << garden;
    EXPECT_EQ(garden["state"], 2);
    EXPECT_EQ(garden["volume"], -800);
    EXPECT_EQ(game.Player("garden", 1)["state"], 0);

    json rustle = game.Player("rustle", 7);
    EXPECT_TRUE(EndsWith(rustle["file"], "rustle.wav")) << rustle;
    EXPECT_EQ(rustle["state"], 2);
    EXPECT_EQ(rustle["play_count"], 1);

    // Three tenths of a second into the hall's cross-fade both tunes sound, neither at its level.
    json rising = game.Player("cross_fade", 1), falling = game.Player("cross_fade", 2);
    EXPECT_TRUE(EndsWith(rising["file"], "hall-theme.ogg")) << rising;
    EXPECT_EQ(rising["state"], 2);
    EXPECT_EQ(falling["state"], 2);
    EXPECT_GT(rising["volume"], -4000);
    EXPECT_LT(rising["volume"], -800);
    EXPECT_LT(falling["volume"], -800);
    EXPECT_EQ(game.Player("hall_last", 1)["volume"], -800);
    EXPECT_EQ(game.Player("hall_last", 2)["state"], 0);
}

}  // namespace
}  // namespace taviro
