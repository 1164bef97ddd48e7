#include "frames/frame_loader.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/controls/control_kinds.h"
#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;
using testing::FieldsLine;

struct FakePlayer : MediaPlayer {
    void SetFileName(const string& path) override { file = path; }
    string FileName() const override { return file; }
    void SetPlayCount(int count) override { playCount = count; }
    void SetVolume(int volumeHundredthsDb) override { volume = volumeHundredthsDb; }
    int Volume() const override { return volume; }
    int PlayCount() const override { return playCount; }
    PlayState GetPlayState() const override { return state; }
    void Play() override {
        state = PlayState::Playing;
        ++starts;
    }
    void Stop() override { state = PlayState::Stopped; }
    double CurrentPosition() const override { return 0; }
    void SetCurrentPosition(double) override {}
    string file;
    int playCount = -1, volume = 1, starts = 0;
    PlayState state = PlayState::Stopped;
};

// One log for every call the loader makes outside the frame.
struct Fakes : SoundSystem, VideoSystem, FrameServices, HotspotServices {
    // SoundSystem
    MediaPlayer& Player(int number) override { return players[number]; }
    MediaPlayer& ChannelPlayer(int entry) override { return players[entry]; }
    bool IsFilePlaying(const string& path) override {
        for (auto& player : players) {
            if (player.file == path && player.state == PlayState::Playing) return true;
        }
        return false;
    }
    void StopAnyWavOrMP3() override { log.push_back("stop sounds"); }
    void SetChannelEntry(int, const ChannelEntry&) override {}
    bool ApplyChannelRecord(int record, const ChannelEntry& entry) override {
        log.push_back("channel " + std::to_string(record) + " " + entry.file);
        return true;
    }
    void SetFadeDuration(double seconds) override {
        log.push_back("fade duration " + std::to_string(seconds));
    }
    void PlaySoundChannels(project::FieldReader&) override { log.push_back("chn"); }
    void StartChannels() override {}
    void EnableFadeTimer() override {}
    void FadeStep(double) override {}
    void ResetPlayers() override {}
    // VideoSystem
    void PlayMovieWithStop(const string& file, bool stretched, int left, int top, int width,
                           int height) override {
        log.push_back("video " + file + " " + std::to_string(stretched) + " " + std::to_string(left) + " " +
                      std::to_string(top) + " " + std::to_string(width) + " " + std::to_string(height));
    }
    bool IsOneTimeVideoPlaying() override { return false; }
    bool IsVideoStarting() override { return false; }
    void StopOneTimeVideoPlayer() override {}
    void WaitForOneTimeVideo() override {}
    void RestartLoopingVideos() override {}
    // FrameServices
    void ResetTimedEvents() override { log.push_back("reset timed events"); }
    void StartTimedEvents() override { log.push_back("timed events"); }
    void ClearTransitionDestination() override {}
    void EndRunningTransition() override {}
    void TransitionStep1(int number) override { log.push_back("transition " + std::to_string(number)); }
    void TransitionStep2(int number, double seconds) override {
        log.push_back("step2 " + std::to_string(number) + " " + std::to_string(seconds));
    }
    bool EffectsDisabled() override { return false; }
    void StopRipplingWater() override {}
    bool LoadWaveEffectIfAny() override { return false; }
    void StartRipplingWater() override {}
    void TileBackground(platform::Canvas& canvas, const string& path) override {
        log.push_back("tile " + path + " " + std::to_string(canvas.width()));
    }
    void DecideControlsReferences() override {}
    PluginFrameCode CollectPluginFrameCode(const string&) override { return {}; }
    bool RunFrameScript(const string& code) override {
        log.push_back("script " + code);
        return code.find("Quit") != string::npos;
    }
    void HideMenus() override {}
    void BringInventoryToFront() override {}
    bool IsInventoryBusy() override { return inventoryBusy; }
    bool IsDialogueRunning() override { return false; }
    void LoadAndStartDialogue(const string& frameName) override { log.push_back("dialogue " + frameName); }
    void StartUnloading() override { log.push_back("unload"); }
    // HotspotServices
    int16_t GetVariableValue(std::string_view) override { return -32000; }
    bool IsHotspotRemoved(std::string_view, int) override { return false; }
    int HandleShowHideMenus(int button) override { return button; }
    bool AreMenusShown() override { return false; }
    void PickOrNotPickObject(int) override {}
    void RequestHideInventory() override {}
    void HideInventoryIfItem() override {}
    std::optional<int> DraggedItemIndex(const platform::Control&) override { return std::nullopt; }
    void MakeActionAndConsequences(int, int) override {}
    void PauseWithEvents(int) override {}
    void SetScreenPointer(std::optional<platform::MousePointer>, const std::string&) override {}
    void HideScreenPointer(bool) override {}
    void CreateAnimatedPicture(int, const string&, double, int, int) override {}
    void CreateLoopingVideo(int, const HotspotRecord&, const string&) override {}
    void ShowHotspotMedia(int, bool) override {}
    void RemoveHotspotMedia() override {}

    FakePlayer players[8];
    bool inventoryBusy = false;
    std::vector<string> log;
};

// A ".fme" whose first group shows a picture and plays music, with an optional timer and script.
string Fme(const string& picture, const string& music = "", const string& timerTo = "", double timerMs = 0,
           const string& script = "") {
    string text = FieldsLine(
        {1.0, picture, false, false, music, !timerTo.empty(), timerMs, timerTo, string(""), string("")});
    if (script.empty()) return text;
    return text + FieldsLine({false, false, string("")}) +
           FieldsLine({0.0, 0.0, 0.0, false, false, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({true}) +
           FieldsLine({false, 0.0}) + FieldsLine({0.0}) + FieldsLine({true, script});
}

// Every group of a ".fme" as the editor writes it; tests set what they need.
struct FullFme {
    string picture = "hall.jpg";
    string timerTo;
    double timerMs = 0;
    string video;
    bool stopAllSounds = false;
    bool stopFrameSoundWhenNone = false;
    string frameSound;
    bool videoWithoutRectangle = false;
    bool videoByPositionOnly = false;
    bool timerTransition = false;
    double timerTransitionMs = 0;
    double timerTransitionType = 0;
    double channelFadeMs = 0;
    std::vector<std::pair<bool, string>> channels;  // fade flag and file of each record
    bool videoBeforeFrame = false;

    string Text() const {
        string text = FieldsLine({1.0, picture, false, false, string(""), !timerTo.empty(), timerMs, timerTo,
                                  video, string("")}) +
                      FieldsLine({stopAllSounds, stopFrameSoundWhenNone, frameSound}) +
                      FieldsLine({0.0, 0.0, 0.0, videoWithoutRectangle, videoByPositionOnly, 10.0, 20.0,
                                  300.0, 200.0}) +
                      FieldsLine({true}) + FieldsLine({timerTransition, timerTransitionMs}) +
                      FieldsLine({timerTransitionType}) + FieldsLine({false, string("")}) +
                      FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, channelFadeMs, 0.0, 5.0,
                                  static_cast<double>(channels.size())});
        for (const auto& [fade, file] : channels) text += FieldsLine({2.0, fade, false, 5.0, file});
        return text + FieldsLine({videoBeforeFrame}) + FieldsLine({string("")});
    }
};

struct FrameLoaderFixture : ::testing::Test {
    FrameLoaderFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        test.Write("Frames/Hall.fme", Fme("hall.jpg", "theme.mid", "Garden", 1000));
        test.Write("Frames/hall.jpg", "x");
        test.Write("Frames/Garden.fme", Fme("garden.jpg", "theme.mid"));
        test.Write("Frames/garden.jpg", "x");
        test.Write("Areas/theme.mid", "x");
        EXPECT_TRUE(test.Initialize());
        auto& scene = form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        scene.Add(std::make_unique<platform::ImageControl>("Area", 0)).SetVisible(false);
        scene.Add(std::make_unique<platform::Label>("Text", 0)).SetVisible(false);
    }
    bool Logged(const string& entry) const {
        return std::find(fakes.log.begin(), fakes.log.end(), entry) != fakes.log.end();
    }
    // Where an entry is in the log; the log's size when it is not there.
    size_t Position(const string& entry) const {
        return static_cast<size_t>(std::find(fakes.log.begin(), fakes.log.end(), entry) - fakes.log.begin());
    }
    platform::PictureBox& Scene() { return *static_cast<platform::PictureBox*>(form.Find("PictureBox")); }
    void Advance(int64_t ms) {
        clock.AdvanceTo(clock.NowMs() + ms);
        timers.FireDue();
    }

    testing::TestProject test;
    platform::Form form{"Game", 640, 480};
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    CurrentFrame frame;
    FramesHistory history;
    Fakes fakes;
    Hotspots hotspots{*test.project, test.flags, form, frame, fakes};
    FrameTexts texts{*test.project, test.flags, form, frame, fakes};
    FrameLoader loader{*test.project, test.flags, form,  timers, frame, history,
                       texts,         hotspots,   fakes, fakes,  fakes};
};

TEST_F(FrameLoaderFixture, OpeningAFrameDrawsItAndStartsItsMusic) {
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_EQ(frame.name, "Hall");
    EXPECT_EQ(Scene().picture, test.project->paths.FramesPath + "hall.jpg");
    EXPECT_EQ(history.names(), std::vector<string>{"Hall"});
    const FakePlayer& music = fakes.players[kMusicPlayer];
    EXPECT_EQ(music.file, test.project->paths.AreasPath + "theme.mid");
    EXPECT_EQ(music.playCount, 0);
    EXPECT_EQ(music.volume, -1200);
    EXPECT_EQ(fakes.log.front(), "reset timed events");
    EXPECT_EQ(fakes.log.back(), "timed events");
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(FrameLoaderFixture, SameMusicPlaysOnUnlessTheFrameRestartsIt) {
    loader.OpenFrame("Hall", false, 0, 0);
    loader.OpenFrame("Garden", false, 0, 0);
    EXPECT_EQ(fakes.players[kMusicPlayer].starts, 1);
    test.Write("Frames/Garden.fme", FieldsLine({1.0, string("garden.jpg"), false, true, string("theme.mid"),
                                                false, 0.0, string(""), string(""), string("")}));
    loader.OpenFrame("Garden", false, 0, 0);
    EXPECT_EQ(fakes.players[kMusicPlayer].starts, 2);
}

TEST_F(FrameLoaderFixture, BrokenLinksLeaveTheFrameOnScreen) {
    loader.OpenFrame("Hall", false, 0, 0);
    loader.OpenFrame("", false, 0, 0);
    loader.OpenFrame("Cellar", false, 0, 0);
    EXPECT_EQ(frame.name, "Hall");
    ASSERT_EQ(test.dialogs.shown().size(), 2u);
    EXPECT_TRUE(
        test.dialogs.shown()[0].request.text.ends_with("Error description: A program link is broken."));
    EXPECT_TRUE(test.dialogs.shown()[1].request.text.ends_with(
        "A program link is broken. The frame named \"Cellar\" could not be found. Verify that the 'Initial "
        "Frame' exists and that the 'Go to another frame' option in the Hotspot Properties is linked to an "
        "existing frame."));
}

TEST_F(FrameLoaderFixture, DamagedSettingsAreReportedWithTheFrameNameAndWhatWasDoneStays) {
    loader.OpenFrame("Hall", false, 0, 0);
    test.Write("Frames/Cellar.fme", FieldsLine({1.0, string("x.jpg"), false, false}));
    loader.OpenFrame("Cellar", false, 0, 0);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_EQ(test.dialogs.shown()[0].request.title, "Error");
    EXPECT_TRUE(test.dialogs.shown()[0].request.text.ends_with(
        "Error description: Unable to load the frame called 'Cellar'. Verify that the 'Initial Frame' exists "
        "and that the 'Go to another frame' option in the Hotspot Properties is linked to an existing frame. "
        "Input past end of file"));
    EXPECT_EQ(frame.name, "Cellar");
    EXPECT_EQ(history.names(), (std::vector<string>{"Hall", "Cellar"}));
    EXPECT_FALSE(loader.frameTimer().enabled());
    EXPECT_EQ(fakes.log.back(), "reset timed events");
}

TEST_F(FrameLoaderFixture, LinksNumberComesFromTheLinksFile) {
    test.Write("Frames/Hall.lks", "3\r\n");
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_EQ(frame.linksNumber, 3);
    loader.OpenFrame("Garden", false, 0, 0);
    EXPECT_EQ(frame.linksNumber, 0);
}

TEST_F(FrameLoaderFixture, ColourBackgroundPaintsTheSurface) {
    test.Write("Frames/Red.fme", FieldsLine({0.0, string("255"), false, false, string(""), false, 0.0,
                                             string(""), string(""), string("")}));
    loader.OpenFrame("Red", false, 0, 0);
    EXPECT_EQ(Scene().picture, "");
    EXPECT_EQ(Scene().backColor, 255u);
}

TEST_F(FrameLoaderFixture, BackgroundOfAnotherKindDrawsNothing) {
    loader.OpenFrame("Hall", false, 0, 0);
    test.Write("Frames/Void.fme", FieldsLine({2.0, string("255"), false, false, string(""), false, 0.0,
                                              string(""), string(""), string("")}));
    loader.OpenFrame("Void", false, 0, 0);
    EXPECT_EQ(frame.name, "Void");
    EXPECT_EQ(Scene().picture, test.project->paths.FramesPath + "hall.jpg");
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(FrameLoaderFixture, TiledBackgroundIsPaintedOverTheSurface) {
    Scene().SetBounds({0, 0, 640, 480});
    test.Write("Frames/Tiles.fme", FieldsLine({1.0, string("hall.jpg"), true, false, string(""), false, 0.0,
                                               string(""), string(""), string("")}));
    loader.OpenFrame("Tiles", false, 0, 0);
    EXPECT_EQ(Scene().picture, "");
    EXPECT_NE(std::find(fakes.log.begin(), fakes.log.end(),
                        "tile " + test.project->paths.FramesPath + "hall.jpg 640"),
              fakes.log.end());
}

TEST_F(FrameLoaderFixture, FrameTimerOpensItsDestination) {
    loader.OpenFrame("Hall", false, 0, 0);
    Advance(999);
    EXPECT_EQ(frame.name, "Hall");
    Advance(1);
    EXPECT_EQ(frame.name, "Garden");
    EXPECT_EQ(history.names(), (std::vector<string>{"Hall", "Garden"}));
    Advance(5000);
    EXPECT_EQ(frame.name, "Garden");
}

TEST_F(FrameLoaderFixture, FrameTimerWaitsForTheInventory) {
    loader.OpenFrame("Hall", false, 0, 0);
    fakes.inventoryBusy = true;
    Advance(1000);
    fakes.inventoryBusy = false;
    Advance(999);
    EXPECT_EQ(frame.name, "Hall");
    Advance(1);
    EXPECT_EQ(frame.name, "Garden");
}

TEST_F(FrameLoaderFixture, FrameTimerCanGoBackOrQuit) {
    test.Write("Frames/Garden.fme", Fme("garden.jpg", "", "[Last Visited Frame]", 500));
    test.Write("Frames/Hall.fme", Fme("hall.jpg", "", "[quit]", 500));
    loader.OpenFrame("Hall", false, 0, 0);
    loader.OpenFrame("Garden", false, 0, 0);
    Advance(500);
    EXPECT_EQ(frame.name, "Hall");
    EXPECT_EQ(history.names(), std::vector<string>{"Hall"});
    Advance(500);
    EXPECT_EQ(fakes.log.back(), "unload");
}

TEST_F(FrameLoaderFixture, FrameTimerGoingBackWithoutAFrameToGoBackToDoesNothing) {
    test.Write("Frames/Garden.fme", Fme("garden.jpg", "", "[last visited frame]", 500));
    loader.OpenFrame("Garden", false, 0, 0);
    Advance(1500);
    EXPECT_EQ(frame.name, "Garden");
    EXPECT_EQ(history.names(), std::vector<string>{"Garden"});
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(FrameLoaderFixture, FrameTimerChangesFrameWithItsOwnTransition) {
    FullFme hall;
    hall.timerTo = "Garden";
    hall.timerMs = 500;
    hall.timerTransition = true;
    hall.timerTransitionMs = 2500;
    hall.timerTransitionType = 7;
    test.Write("Frames/Hall.fme", hall.Text());
    loader.OpenFrame("Hall", false, 0, 0);
    fakes.log.clear();
    Advance(500);
    EXPECT_EQ(frame.name, "Garden");
    EXPECT_EQ(fakes.log.front(), "transition 7");
    EXPECT_TRUE(Logged("step2 7 2.500000"));
}

TEST_F(FrameLoaderFixture, TimerDurationThatCannotBeUsedIsReportedAndTheFrameStillOpens) {
    test.Write("Frames/Hall.fme", Fme("hall.jpg", "", "Garden", 70000));
    loader.OpenFrame("Hall", false, 0, 0);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_TRUE(
        test.dialogs.shown()[0].request.text.ends_with("Error description: Unable to load timer duration."));
    EXPECT_EQ(fakes.log.back(), "timed events");
    Advance(70000);
    EXPECT_EQ(frame.name, "Hall");
}

TEST_F(FrameLoaderFixture, ChannelRecordsBeyondTheSeventhAreIgnoredAndAFadingOneSetsTheFade) {
    FullFme hall;
    hall.channelFadeMs = 2000;
    for (int i = 1; i <= 8; ++i) hall.channels.push_back({i == 3, "c" + std::to_string(i) + ".wav"});
    test.Write("Frames/Hall.fme", hall.Text());
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("channel 7 c7.wav"));
    EXPECT_FALSE(Logged("channel 8 c8.wav"));
    EXPECT_TRUE(Logged("fade duration 2.000000"));
    hall.channels = {{false, "rain.wav"}};
    test.Write("Frames/Hall.fme", hall.Text());
    fakes.log.clear();
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("channel 1 rain.wav"));
    EXPECT_FALSE(Logged("fade duration 2.000000"));
}

TEST_F(FrameLoaderFixture, StoppingAllSoundsAlsoSilencesTheChannelFile) {
    test.Write("Frames/Hall.chn", "0\r\n");
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("chn"));
    EXPECT_FALSE(Logged("stop sounds"));
    FullFme hall;
    hall.stopAllSounds = true;
    test.Write("Frames/Hall.fme", hall.Text());
    fakes.log.clear();
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("stop sounds"));
    EXPECT_FALSE(Logged("chn"));
}

TEST_F(FrameLoaderFixture, FrameSoundPlaysOnceOrTheFrameSilencesTheLastOne) {
    test.Write("Frames/bird.wav", "x");
    FullFme hall;
    hall.frameSound = "bird.wav";
    test.Write("Frames/Hall.fme", hall.Text());
    loader.OpenFrame("Hall", false, 0, 0);
    const FakePlayer& sound = fakes.players[kFrameSoundPlayer];
    EXPECT_EQ(sound.file, test.project->paths.FramesPath + "bird.wav");
    EXPECT_EQ(sound.playCount, 1);
    EXPECT_EQ(sound.volume, -800);
    EXPECT_EQ(sound.state, PlayState::Playing);
    loader.OpenFrame("Garden", false, 0, 0);
    EXPECT_EQ(sound.state, PlayState::Playing);
    FullFme quiet;
    quiet.stopFrameSoundWhenNone = true;
    test.Write("Frames/Garden.fme", quiet.Text());
    loader.OpenFrame("Garden", false, 0, 0);
    EXPECT_EQ(sound.state, PlayState::Stopped);
}

TEST_F(FrameLoaderFixture, VideoBeforeTheFramePlaysFirstUnlessATransitionComes) {
    test.Write("Frames/Hall.chn", "0\r\n");
    FullFme hall;
    hall.video = "intro.avi";
    hall.videoBeforeFrame = true;
    test.Write("Frames/Hall.fme", hall.Text());
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_LT(Position("video intro.avi 1 10 20 300 200"), Position("chn"));
    fakes.log.clear();
    loader.OpenFrame("Hall", true, 2, 1);
    EXPECT_LT(Position("step2 2 1.000000"), Position("video intro.avi 1 10 20 300 200"));
    EXPECT_TRUE(Logged("video intro.avi 1 10 20 300 200"));
}

TEST_F(FrameLoaderFixture, VideoIsPlacedByPositionAtItsOwnSizeOrStretched) {
    FullFme hall;
    hall.video = "intro.avi";
    hall.videoByPositionOnly = true;
    hall.videoWithoutRectangle = true;
    test.Write("Frames/Hall.fme", hall.Text());
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("video intro.avi 0 10 20 0 0"));
    hall.videoByPositionOnly = false;
    test.Write("Frames/Hall.fme", hall.Text());
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("video intro.avi 0 0 0 0 0"));
}

TEST_F(FrameLoaderFixture, ProjectFrameScriptRunsBeforeTheFramesOwn) {
    test.project->information.runFrameScript = true;
    test.project->information.frameScript = "p = 1";
    loader.OpenFrame("Hall", false, 0, 0);
    EXPECT_TRUE(Logged("script p = 1\r\n\r\n\r\n\r\n"));
    test.Write("Frames/Lab.fme", Fme("hall.jpg", "", "", 0, "x = 2"));
    loader.OpenFrame("Lab", false, 0, 0);
    EXPECT_TRUE(Logged("script p = 1\r\n\r\n\r\nx = 2\r\n"));
}

TEST_F(FrameLoaderFixture, FrameScriptRunsAndMayQuit) {
    test.Write("Frames/Lab.fme", Fme("hall.jpg", "", "", 0, "x = |a|"));
    loader.OpenFrame("Lab", false, 0, 0);
    EXPECT_NE(std::find(fakes.log.begin(), fakes.log.end(), "script \r\n\r\n\r\nx = \"a\"\r\n"),
              fakes.log.end());
    test.Write("Frames/Lab.fme", Fme("hall.jpg", "", "", 0, "Quit"));
    fakes.log.clear();
    loader.OpenFrame("Lab", false, 0, 0);
    EXPECT_EQ(fakes.log.back(), "unload");
}

TEST_F(FrameLoaderFixture, TransitionAndDialogueStartAfterLoading) {
    test.Write("FramesData/Garden.dlg", "x");
    loader.OpenFrame("Garden", true, 3, 1.5);
    auto step2 = std::find(fakes.log.begin(), fakes.log.end(), "step2 3 1.500000");
    auto dialogue = std::find(fakes.log.begin(), fakes.log.end(), "dialogue Garden");
    ASSERT_NE(step2, fakes.log.end());
    EXPECT_LT(step2, dialogue);
}

TEST_F(FrameLoaderFixture, StoppingGameEndsLoadingAfterTheHeader) {
    test.flags.GameStopping = true;
    loader.OpenFrame("Garden", false, 0, 0);
    EXPECT_TRUE(history.names().empty());
    EXPECT_EQ(frame.name, "Garden");
}

}  // namespace
}  // namespace taviro::frames
