#include "logic/actions.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/game_error.h"
#include "support/test_project.h"

namespace taviro::logic {
namespace {

using std::string;
using testing::FieldsLine;
using testing::Record;

// A media player that remembers what it was told.
struct FakePlayer : frames::MediaPlayer {
    void SetFileName(const string& path) override { file = path; }
    string FileName() const override { return file; }
    void SetPlayCount(int count) override { playCount = count; }
    void SetVolume(int volumeHundredthsDb) override { volume = volumeHundredthsDb; }
    int Volume() const override { return volume; }
    int PlayCount() const override { return playCount; }
    frames::PlayState GetPlayState() const override { return state; }
    void Play() override { state = frames::PlayState::Playing; }
    void Stop() override { state = frames::PlayState::Stopped; }
    double CurrentPosition() const override { return 0; }
    void SetCurrentPosition(double) override {}
    string file;
    int playCount = -1;
    int volume = 1;
    frames::PlayState state = frames::PlayState::Stopped;
};

// Records every call in order, in one log shared by the sound, video and other services.
struct FakeSounds : frames::SoundSystem {
    explicit FakeSounds(std::vector<string>& sharedLog) : log(sharedLog) {}
    frames::MediaPlayer& Player(int number) override { return number == 6 ? music : sound; }
    frames::MediaPlayer& ChannelPlayer(int entry) override { return Player(entry); }
    bool IsFilePlaying(const string&) override { return false; }
    void StopAnyWavOrMP3() override { log.push_back("stop all sounds"); }
    void SetChannelEntry(int entry, const ChannelEntry&) override {
        if (entry > 7) throw GameError(9, "Subscript out of range");
    }
    bool ApplyChannelRecord(int, const ChannelEntry&) override { return false; }
    void SetFadeDuration(double) override {}
    void PlaySoundChannels(project::FieldReader& file) override {
        log.push_back("channels " + file.ReadString());
    }
    void StartChannels() override { log.push_back("fade"); }
    void EnableFadeTimer() override {}
    void FadeStep(double) override { log.push_back("fade done"); }
    void ResetPlayers() override {}
    std::vector<string>& log;
    FakePlayer music, sound;
};

struct FakeVideo : frames::VideoSystem {
    explicit FakeVideo(std::vector<string>& sharedLog) : log(sharedLog) {}
    void PlayMovieWithStop(const string& file, bool stretched, int left, int, int width, int) override {
        log.push_back("video " + file + " " + std::to_string(stretched) + " " + std::to_string(left) + " " +
                      std::to_string(width));
    }
    bool IsOneTimeVideoPlaying() override { return false; }
    bool IsVideoStarting() override { return false; }
    void StopOneTimeVideoPlayer() override { log.push_back("stop video"); }
    void WaitForOneTimeVideo() override { log.push_back("wait video"); }
    void RestartLoopingVideos() override {}
    std::vector<string>& log;
};

struct FakeServices : ActionServices {
    string PickedObjectName(int objectIndex) override { return objectIndex == 1 ? "Key" : "Lamp"; }
    void RemovePickedObject(int objectIndex) override {
        log.push_back("remove item " + std::to_string(objectIndex));
    }
    void AddPickedObject(const string& name, bool) override { log.push_back("add item " + name); }
    void HideMenus() override { log.push_back("hide menus"); }
    void ShowOrNotShowAreas() override { log.push_back("areas"); }
    void WaitForOneTimeVideo() override { log.push_back("wait video"); }
    void ShowTextMessage(const string& text, bool, bool) override { log.push_back("message " + text); }
    bool ExecuteVBScript(const string& code, bool) override {
        log.push_back("script");
        scripts.push_back(code);
        if (onScript) onScript();
        return scriptFails;
    }
    string ExpandPluginCalls(const string&) override { return ""; }
    void QuitCurrentDialogue() override { log.push_back("quit dialogue"); }
    void TransitionStep1(int number) override { log.push_back("transition " + std::to_string(number)); }
    void OpenFrame(const string& name, bool withTransition, int, double seconds) override {
        log.push_back("open " + name + (withTransition ? " " + std::to_string(seconds) : ""));
    }
    void StartTimedEvents() override { log.push_back("timed events"); }
    void ShowLoadGameWindow(bool) override { log.push_back("load window"); }
    void ShowSaveGameWindow() override { log.push_back("save window"); }
    void StartUnloading() override { log.push_back("unload"); }

    std::vector<string> log;
    std::vector<string> scripts;
    std::function<void()> onScript;
    bool scriptFails = false;
    FakeSounds sounds{log};
    FakeVideo video{log};
};

string Separator() { return FieldsLine({string(project::kRecordSeparator)}); }

// A hotspot record: 10 ignored fields, then the common fields up to 13 and whatever follows.
string HotspotRecord(const string& frame, bool remove = false, bool quit = false, const string& rest = "") {
    return FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine(
               {1.0, string("Door"), false, true, false, false, string(""), 0.0, string(""), remove, quit}) +
           FieldsLine({frame.empty() ? 0.0 : 1.0, frame}) + rest + Separator();
}

// Fields 14 to 63 of an action record; each test sets what it needs.
struct Rest {
    bool stopMusic = false;
    bool stopAllSounds = false;
    string video;
    bool videoPlacement = false, videoStretched = false;
    bool playMusic = false;
    bool goBack = false;
    double transitionMs = 0;  // with a transition when not 0
    double transitionNumber = 0;
    string script;
    int channels = 0;
    string item;

    string Text() const {
        string text = FieldsLine({stopMusic ? 1.0 : 0.0, stopAllSounds ? 1.0 : 0.0, video.empty() ? 0.0 : 1.0,
                                  video, videoStretched, videoPlacement, 10.0, 20.0, 300.0, 200.0}) +
                      FieldsLine({false, playMusic, string("theme.mid"), false, string("")}) +
                      FieldsLine({0.0, 0.0, 0.0, goBack}) + FieldsLine({0.0, 0.0, 0.0, false}) +
                      FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) + FieldsLine({true}) +
                      FieldsLine({transitionMs != 0 ? 1.0 : 0.0, transitionMs}) +
                      FieldsLine({!script.empty(), script}) + FieldsLine({transitionNumber}) +
                      FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, string("1000"), 0.0, 5.0,
                                  static_cast<double>(channels)});
        for (int channel = 1; channel <= channels; ++channel) {
            text += FieldsLine({2.0, false, false, 5.0, "c" + std::to_string(channel) + ".wav"});
        }
        return text + FieldsLine({!item.empty(), item}) + FieldsLine({string("")});
    }
};

// Stop music, music, going back and a script, the rest left as the editor leaves it.
string Middle(bool stopMusic, bool playMusic, bool goBack, const string& script = "") {
    Rest rest;
    rest.stopMusic = stopMusic;
    rest.playMusic = playMusic;
    rest.goBack = goBack;
    rest.script = script;
    return rest.Text();
}

struct ActionsFixture : ::testing::Test {
    ActionsFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        test.Write("Config/Variables", FieldsLine({0.0, string("Door")}));
        EXPECT_TRUE(test.Initialize());
        variables.LoadVariables();
        frame.name = "Hall";
        history.FramesHistoryAdd("Hall");
    }
    bool Logged(const string& entry) const {
        return std::find(services.log.begin(), services.log.end(), entry) != services.log.end();
    }
    const std::vector<testing::RecordingDialogs::Shown>& shown() { return test.dialogs.shown(); }
    void WriteActions(const string& extension, const string& records) {
        test.Write("FramesData/Hall" + extension, records);
        test.files.Forget();
    }

    testing::TestProject test;
    ProjectVariables variables{*test.project};
    frames::FramesHistory history;
    frames::CurrentFrame frame;
    ActionRequests requests;
    FakeServices services;
    Actions actions{*test.project, test.flags,      variables,      history, frame,
                    requests,      services.sounds, services.video, services};
};

TEST_F(ActionsFixture, ClickChangesTheVariableHidesTheHotspotAndOpensTheFrame) {
    WriteActions(".fm3", HotspotRecord("") + HotspotRecord("Library", true));
    EXPECT_EQ(actions.MakeAction(2, 0, false), ActionResult::FrameOpened);
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
    ASSERT_EQ(variables.Disappear.Count(), 1u);
    EXPECT_EQ(variables.Disappear.Item(1)->Name, "Hall");
    EXPECT_EQ(variables.Disappear.Item(1)->Value, 2);
    EXPECT_EQ(services.log, (std::vector<string>{"areas", "quit dialogue", "open Library"}));
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(ActionsFixture, HotspotWithoutARecordDoesNothing) {
    WriteActions(".fm3", HotspotRecord("") + HotspotRecord("Library"));
    EXPECT_EQ(actions.MakeAction(3, 0, false), ActionResult::Nothing);
    EXPECT_TRUE(services.log.empty());
    EXPECT_EQ(variables.GetVariableValue("Door"), 0);
}

TEST_F(ActionsFixture, MergedFileWinsOverThePlainOne) {
    WriteActions(".fm3", HotspotRecord("Library"));
    WriteActions(".mr3", HotspotRecord("Garden"));
    actions.MakeAction(1, 0, false);
    EXPECT_EQ(services.log.back(), "open Garden");
}

TEST_F(ActionsFixture, DroppedItemUsesTheRecordOfItsKey) {
    string fm0 = FieldsLine({0.0, string("2_lamp.drg")}) + Separator() +
                 FieldsLine({0.0, string("2_KEY.DRG"), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                 FieldsLine({1.0, string("Door"), false, true, false, false, string(""), 0.0, string(""),
                             true, false}) +
                 FieldsLine({1.0, string("Garden")}) + Separator();
    WriteActions(".fm0", fm0);
    EXPECT_EQ(actions.MakeAction(2, 1, false), ActionResult::FrameOpened);
    EXPECT_EQ(services.log.front(), "remove item 1");
    EXPECT_EQ(services.log.back(), "open Garden");
    EXPECT_EQ(variables.Disappear.Count(), 0u);
}

TEST_F(ActionsFixture, QuitWinsOverEverythingAfterIt) {
    WriteActions(".fm3", HotspotRecord("Library", false, true, Middle(false, false, false, "MsgBox 1")));
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::Quit);
    EXPECT_TRUE(services.log.empty());
    actions.MakeActionAndConsequences(1, 0, false);
    EXPECT_EQ(services.log, (std::vector<string>{"stop video", "unload"}));
}

TEST_F(ActionsFixture, GoingBackNeedsTwoFramesInTheHistory) {
    WriteActions(".fm3", HotspotRecord("", false, false, Middle(false, false, true)));
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::Nothing);
    EXPECT_EQ(services.log.back(), "timed events");
    history.FramesHistoryAdd("Library");
    frame.name = "Hall";
    services.log.clear();
    EXPECT_EQ(actions.MakeAction(1, 0, true), ActionResult::FrameOpened);
    EXPECT_EQ(services.log.back(), "open Hall");
    EXPECT_EQ(history.names(), std::vector<string>{"Hall"});
}

TEST_F(ActionsFixture, ScriptRequestForTheLastVisitedFrameWins) {
    history.FramesHistoryAdd("Library");
    WriteActions(".fm3", HotspotRecord("Garden", false, false, Middle(false, false, false, "GoToFrame |x|")));
    services.onScript = [&] { requests.sFrameToLoad = "Last Visited Frame"; };
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::FrameOpened);
    EXPECT_EQ(services.scripts, std::vector<string>{"\r\nGoToFrame \"x\""});
    EXPECT_EQ(requests.iHotspotNumber, 1);
    EXPECT_EQ(services.log.back(), "open Hall");
    EXPECT_EQ(history.names(), std::vector<string>{"Hall"});
}

TEST_F(ActionsFixture, PlayingMusicIsReplacedOnlyWhenTheActionStopsIt) {
    services.sounds.music.file = "old.mid";
    services.sounds.music.state = frames::PlayState::Playing;
    test.Write("Areas/theme.mid", "");
    WriteActions(".fm3", HotspotRecord("", false, false, Middle(false, true, false)));
    actions.MakeAction(1, 0, false);
    EXPECT_EQ(services.sounds.music.file, "old.mid");
    WriteActions(".fm3", HotspotRecord("", false, false, Middle(true, true, false)));
    actions.MakeAction(1, 0, false);
    EXPECT_EQ(services.sounds.music.file, test.project->paths.AreasPath + "theme.mid");
    EXPECT_EQ(services.sounds.music.playCount, 0);
    EXPECT_EQ(services.sounds.music.volume, -1200);
    EXPECT_EQ(services.sounds.music.state, frames::PlayState::Playing);
}

TEST_F(ActionsFixture, StoppingTheGameFromTheScriptEndsTheActionSilently) {
    WriteActions(".fm3",
                 HotspotRecord("Library", false, false, Middle(false, false, false, "StopEverything")));
    services.onScript = [&] { test.flags.GameStopping = true; };
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::Nothing);
    EXPECT_EQ(services.log, std::vector<string>{"script"});
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(ActionsFixture, BadRecordIsReportedWithTheHotspotNumber) {
    WriteActions(".fm3", FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                             FieldsLine({string("one"), string("Door")}) + Separator());
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::Nothing);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_TRUE(test.dialogs.shown()[0].request.text.ends_with(
        "Error description: Unable to make the action associated with the hotspot #1. Type mismatch"));
}

TEST_F(ActionsFixture, AllThreeFlagsSetTheVariableToZeroThenOneThenInvertIt) {
    WriteActions(".fm3", FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                             FieldsLine({1.0, string("Door"), true, true, true, false, string(""), 0.0,
                                         string(""), false, false}) +
                             FieldsLine({0.0, string("")}) + Separator());
    variables.ChangeVariableValue("Door", 1, false);
    actions.MakeAction(1, 0, false);
    EXPECT_EQ(variables.GetVariableValue("Door"), 0);
}

TEST_F(ActionsFixture, MissingVariableIsReportedAndTheActionGoesOn) {
    WriteActions(".fm3", FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                             FieldsLine({1.0, string("Window"), false, true, false, false, string(""), 0.0,
                                         string(""), false, false}) +
                             FieldsLine({1.0, string("Library")}) + Separator());
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::FrameOpened);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_TRUE(shown()[0].request.text.ends_with(
        "Unable to change the value of the following variable: 'Window'. The variable may have been removed "
        "during the project creation."));
    EXPECT_EQ(services.log.back(), "open Library");
}

TEST_F(ActionsFixture, MoreThanSevenChannelEntriesStopTheActionWithTheReport) {
    Rest rest;
    rest.channels = 8;
    rest.item = "Lamp";
    WriteActions(".fm3", HotspotRecord("Library", false, false, rest.Text()));
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::Nothing);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_TRUE(shown()[0].request.text.ends_with(
        "Unable to make the action associated with the hotspot #1. Subscript out of range"));
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);  // done before the failure
    EXPECT_FALSE(Logged("open Library"));
    EXPECT_FALSE(Logged("add item Lamp"));
    rest.channels = 7;
    WriteActions(".fm3", HotspotRecord("Library", false, false, rest.Text()));
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::FrameOpened);
    EXPECT_TRUE(Logged("add item Lamp"));
}

TEST_F(ActionsFixture, FrameChangeWithATransitionCapturesTheOldFrameFirst) {
    Rest rest;
    rest.transitionMs = 1500;
    rest.transitionNumber = 4;
    WriteActions(".fm3", HotspotRecord("Library", false, false, rest.Text()));
    actions.MakeAction(1, 0, false);
    ASSERT_GE(services.log.size(), 2u);
    EXPECT_EQ(services.log[services.log.size() - 2], "transition 4");
    EXPECT_EQ(services.log.back(), "open Library 1.500000");
}

TEST_F(ActionsFixture, ChannelsFadeAtOnceOnlyWhenNoFrameFollows) {
    WriteActions(".fm3", HotspotRecord("") + HotspotRecord("Library"));
    actions.MakeAction(1, 0, false);
    EXPECT_TRUE(Logged("fade"));
    services.log.clear();
    actions.MakeAction(2, 0, false);
    EXPECT_FALSE(Logged("fade"));
}

TEST_F(ActionsFixture, VideoIsPlacedAsTheRecordSaysAndWaitedForBeforeTheFrameChanges) {
    Rest rest;
    rest.video = "intro.avi";
    WriteActions(".fm3", HotspotRecord("Library", false, false, rest.Text()));
    actions.MakeAction(1, 0, false);
    EXPECT_EQ(services.log,
              (std::vector<string>{"fade", "hide menus", "video intro.avi 0 10 0", "areas", "wait video",
                                   "fade done", "quit dialogue", "open Library"}));
    rest.videoPlacement = true;
    WriteActions(".fm3", HotspotRecord("", false, false, rest.Text()));
    services.log.clear();
    actions.MakeAction(1, 0, false);
    EXPECT_TRUE(Logged("video intro.avi 0 0 0"));
    rest.videoStretched = true;
    WriteActions(".fm3", HotspotRecord("", false, false, rest.Text()));
    services.log.clear();
    actions.MakeAction(1, 0, false);
    EXPECT_TRUE(Logged("video intro.avi 1 10 300"));
}

TEST_F(ActionsFixture, HotspotSoundChannelsComeFromItsRecordOfTheSoundFile) {
    WriteActions(".fm5", Record({0.0, 2.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, string("for two")}) +
                             Record({0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, string("for one")}));
    WriteActions(".fm3", HotspotRecord("") + HotspotRecord(""));
    actions.MakeAction(1, 0, false);
    EXPECT_TRUE(Logged("channels for one"));
    Rest silent;
    silent.stopAllSounds = true;
    WriteActions(".fm3", HotspotRecord("") + HotspotRecord("", false, false, silent.Text()));
    services.log.clear();
    actions.MakeAction(2, 0, false);
    EXPECT_TRUE(Logged("stop all sounds"));
    EXPECT_FALSE(Logged("channels for two"));
}

TEST_F(ActionsFixture, FailingScriptDoesNotStopTheAction) {
    Rest rest;
    rest.script = "Oops(";
    rest.item = "Lamp";
    WriteActions(".fm3", HotspotRecord("Library", false, false, rest.Text()));
    services.scriptFails = true;
    EXPECT_EQ(actions.MakeAction(1, 0, false), ActionResult::FrameOpened);
    EXPECT_TRUE(Logged("add item Lamp"));
    EXPECT_EQ(services.log.back(), "open Library");
}

TEST_F(ActionsFixture, ConsequencesOfAScriptOutsideAnAction) {
    services.onScript = [&] {
        requests.sFrameToLoad = "Garden";
        requests.dTransDuration = 1.5;
    };
    EXPECT_FALSE(actions.ExecuteVBScriptAndConsequences("GoToFrame", false));
    EXPECT_EQ(services.log, (std::vector<string>{"script", "areas", "transition 1", "open Garden 1.500000"}));
    services.log.clear();
    services.onScript = [&] { requests.bPopupSaveGame = true; };
    actions.ExecuteVBScriptAndConsequences("ShowSaveWindow", false);
    EXPECT_EQ(services.log, (std::vector<string>{"script", "areas", "timed events", "save window"}));
}

}  // namespace
}  // namespace taviro::logic
