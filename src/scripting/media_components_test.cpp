#include "scripting/media_components.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/clock.h"
#include "platform/controls/control_kinds.h"
#include "platform/media/audio_engine.h"
#include "scripting/component_classes.h"
#include "scripting/components.h"
#include "support/sound_files.h"
#include "support/test_project.h"
#include "vbscript/conversions.h"
#include "vbscript/engine.h"
#include "vbscript/number_text.h"

namespace taviro::scripting {
namespace {

using std::string;

// The media component classes in a game window whose component handlers run on an engine of their
// own and write what they hear into the script variable Heard. Videos and sounds lie in the game's
// Frames folder, made with the ffmpeg program.
struct MediaComponentsFixture : ::testing::Test {
    MediaComponentsFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        EXPECT_TRUE(test.Initialize());
        form.Add(std::make_unique<platform::PictureBox>("PictureBox")).SetBounds({0, 0, 640, 480});
        classes.UseMediaClasses(std::make_unique<MediaComponents>(
            MediaComponents::Services{form, timers, test.files, &audio, 9, 4, test.project->paths.ProjectPath,
                                      nullptr, [](const string& path) -> std::optional<platform::Point> {
                                          if (path.ends_with(".gif")) return platform::Point{20, 10};
                                          return std::nullopt;
                                      }}));
        components.UseHost(&classes);
        EXPECT_TRUE(engine.AddCode("Dim Heard"));
        components.runEventProcedure = [this](const string& procedure,
                                              vbscript::Ref<vbscript::Object> parameters) {
            vbscript::Variant argument(std::move(parameters));
            if (!engine.Run(vbscript::FromUtf8OrWindows1252(procedure), {&argument, 1}))
                throw GameError(engine.Error().number, vbscript::ToUtf8(engine.Error().description));
        };
    }
    // A video of `seconds` at 25 pictures a second, red, in the Frames folder; with a tone when asked.
    void Video(const string& name, double seconds, bool withSound = false) {
        std::filesystem::create_directories(test.folder.path() / "Frames");
        const string path = (test.folder.path() / "Frames" / name).string();
        const string command =
            "ffmpeg -loglevel quiet -y -f lavfi -i color=c=red:size=32x24:rate=25:duration=" +
            std::to_string(seconds) +
            (withSound ? " -f lavfi -i sine=frequency=440:duration=" + std::to_string(seconds) : "") +
            " -c:v mpeg4 -c:a pcm_s16le '" + path + "'";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }
    // Adds the component, hands it to scripts under its name, and loads the handlers.
    void Add(const string& progId, const string& name, const string& procedures = "") {
        if (!procedures.empty()) {
            ASSERT_TRUE(engine.AddCode(procedures)) << vbscript::ToUtf8(engine.Error().description);
        }
        components.BuildAllEventsList(engine.Procedures());
        components.AddAdditionalComponent(progId, name, false, false);
        vbscript::Ref<vbscript::Object> extender = components.GetComponentRef(name);
        ASSERT_TRUE(extender) << progId;
        engine.AddObject(vbscript::FromUtf8OrWindows1252(name), extender, false);
    }
    void Run(const string& code) {
        ASSERT_TRUE(engine.AddCode(code)) << vbscript::ToUtf8(engine.Error().description);
    }
    string Eval(const string& expression) {
        vbscript::Variant result;
        EXPECT_TRUE(engine.AddCode("Function Probe_() : Probe_ = " + expression + " : End Function"));
        EXPECT_TRUE(engine.Run(u"Probe_", {}, &result)) << vbscript::ToUtf8(engine.Error().description);
        return vbscript::ToUtf8(vbscript::ToString(result));
    }
    // Moves the game clock on, with the sound rendered and the timers fired as the game loop does.
    void Wait(int64_t ms) {
        const int64_t end = clock.NowMs() + ms;
        while (clock.NowMs() < end) {
            clock.AdvanceTo(std::min(end, clock.NowMs() + 10));
            audio.Pump();
            timers.FireDue();
        }
    }
    platform::Control* Scene(const string& name) { return form.Find(name); }
    std::vector<string> Reports() const {
        std::vector<string> texts;
        for (const auto& shown : test.dialogs.shown()) texts.push_back(shown.request.text);
        return texts;
    }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::media::AudioEngine audio{clock, false};
    platform::Form form{"Game", 640, 480};
    ComponentClasses classes{form, timers};
    Components components{*test.project};
    vbscript::Engine engine;
};

constexpr char kStateHandlers[] =
    "Sub screen_PlayStateChange(p) : Heard = Heard & p(\"OldState\") & \">\" & p(1) & \";\" : End Sub\r\n"
    "Sub screen_EndOfStream(p) : Heard = Heard & \"end\" & p(\"Result\") & \";\" : End Sub\r\n";

TEST_F(MediaComponentsFixture, EveryClassIsInstalledInAnyLetterCase) {
    for (const char* progId : {"NSPlay.NSPlayCtl.1", "MediaPlayer.MediaPlayer.1", "GIF89LibCtl.Gif89a",
                               "nsplay.nsplayctl.1", "gif89libctl.GIF89A"})
        EXPECT_TRUE(components.DoesProgIDExist(progId)) << progId;
    EXPECT_FALSE(components.DoesProgIDExist("NSPlay.NSPlayCtl.2"));
    EXPECT_EQ(Scene("ProgIDTestComponent"), nullptr);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(MediaComponentsFixture, AVideoPlaysInItsAreaOnTheGameClockAndTellsItsStatesAndItsEnd) {
    Video("clip.avi", 1);
    Add("NSPlay.NSPlayCtl.1", "Screen", kStateHandlers);
    Run("Screen.Move 600, 300, 480, 360 : Screen.Visible = True : Screen.FileName = \"Frames\\clip.avi\"");
    auto* area = dynamic_cast<platform::PictureBox*>(Scene("screen"));
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->parent(), Scene("PictureBox"));
    EXPECT_EQ(area->bounds(), (platform::Rect{40, 20, 32, 24}));
    EXPECT_EQ(Eval("Screen.PlayState & \" \" & Screen.ImageSourceWidth & \"x\" & Screen.ImageSourceHeight"),
              "2 32x24");
    EXPECT_EQ(Eval("Heard"), "0>2;");
    Wait(500);
    EXPECT_EQ(Eval("Screen.CurrentPosition"), "0.5");
    // The picture is drawn into the area.
    ASSERT_NE(area->canvasIfAny(), nullptr);
    EXPECT_FALSE(area->canvasIfAny()->blank());
    Wait(450);
    EXPECT_EQ(Eval("Heard"), "0>2;");
    Wait(100);
    EXPECT_EQ(Eval("Heard"), "0>2;2>0;end0;");
    EXPECT_EQ(Eval("Screen.PlayState"), "0");
    // A stop that a script asks for is a change of state but no end of the file.
    Run("Heard = \"\" : Screen.Play : Screen.Pause : Screen.Stop");
    EXPECT_EQ(Eval("Heard"), "0>2;2>1;1>0;");
    EXPECT_TRUE(Reports().empty());
}

TEST_F(MediaComponentsFixture, AnEndIsToldAsAnEndEvenWhenAScriptLooksOrStopsFirst) {
    Video("clip.avi", 0.4);
    Add("NSPlay.NSPlayCtl.1", "Screen", kStateHandlers);
    Run("Screen.FileName = \"Frames/clip.avi\"");
    // Past the end before the watch has looked: reading the state tells nothing by itself.
    clock.AdvanceTo(500);
    EXPECT_EQ(Eval("Screen.PlayState"), "0");
    EXPECT_EQ(Eval("Heard"), "0>2;");
    Wait(30);
    EXPECT_EQ(Eval("Heard"), "0>2;2>0;end0;");
    // A stop asked for after an end not yet told: the end comes first.
    Run("Heard = \"\" : Screen.Play");
    clock.AdvanceTo(clock.NowMs() + 500);
    Run("Screen.Stop : Screen.Play");
    EXPECT_EQ(Eval("Heard"), "0>2;2>0;end0;0>2;");
}

TEST_F(MediaComponentsFixture, PauseComponentHoldsTheVideoWithoutEventsAndResumeGoesOn) {
    Video("clip.avi", 2);
    Add("NSPlay.NSPlayCtl.1", "Screen", kStateHandlers);
    Run("Screen.FileName = \"Frames/clip.avi\"");
    Wait(300);
    components.PauseComponents();
    Wait(1000);
    EXPECT_EQ(Eval("Screen.PlayState & \" \" & Screen.CurrentPosition"), "1 0.3");
    components.ResumeComponents();
    Wait(200);
    EXPECT_EQ(Eval("Screen.PlayState & \" \" & Screen.CurrentPosition"), "2 0.5");
    EXPECT_EQ(Eval("Heard"), "0>2;");
    // Its end comes a second later than it would have.
    Wait(1400);
    EXPECT_EQ(Eval("Heard"), "0>2;");
    Wait(200);
    EXPECT_EQ(Eval("Heard"), "0>2;2>0;end0;");
    // A video paused by the script stays paused through a transition.
    Run("Screen.Play : Screen.Pause");
    components.PauseComponents();
    components.ResumeComponents();
    EXPECT_EQ(Eval("Screen.PlayState"), "1");
}

TEST_F(MediaComponentsFixture, ARemovedPlayerStopsAndIsHeardNoMore) {
    Video("clip.avi", 1, true);
    Add("NSPlay.NSPlayCtl.1", "Screen", kStateHandlers);
    Run("Screen.FileName = \"Frames/clip.avi\"");
    // Its sound plays on the first of the components' voices, and stops with it.
    Wait(100);
    const int64_t playing = audio.mixer().PlayedFrames(9);
    Wait(100);
    EXPECT_GT(audio.mixer().PlayedFrames(9), playing);
    components.RemoveAdditionalComponent("screen");
    Wait(50);
    const int64_t removed = audio.mixer().PlayedFrames(9);
    Wait(200);
    EXPECT_EQ(audio.mixer().PlayedFrames(9), removed);
    EXPECT_EQ(Scene("screen"), nullptr);
    Wait(1500);
    EXPECT_EQ(Eval("Heard"), "0>2;");
    // A script that kept the object hears that the player is gone.
    EXPECT_FALSE(engine.AddCode("Screen.Play"));
    EXPECT_EQ(engine.Error().number, 91);
}

TEST_F(MediaComponentsFixture, AHandlerMayRemoveThePlayerThatRaisedTheEnd) {
    Video("clip.avi", 0.4);
    Add("NSPlay.NSPlayCtl.1", "Screen", "Sub screen_EndOfStream(p) : End Sub");
    components.runEventProcedure = [this](const string& procedure, vbscript::Ref<vbscript::Object>) {
        if (procedure == "screen_endofstream") components.RemoveAdditionalComponent("Screen");
    };
    Run("Screen.FileName = \"Frames/clip.avi\"");
    Wait(600);
    EXPECT_EQ(Scene("screen"), nullptr);
    EXPECT_TRUE(components.ComponentsList().empty());
    // The same name takes a new player at once.
    Add("NSPlay.NSPlayCtl.1", "Screen");
    EXPECT_NE(Scene("screen"), nullptr);
}

TEST_F(MediaComponentsFixture, TheMediaPlayerPlaysASoundOnTheMixerAndAVideoInItsArea) {
    test.Write("Frames/tone.wav", testing::ToneWav(0.5));
    Video("clip.avi", 1);
    Add("MediaPlayer.MediaPlayer.1", "Screen", kStateHandlers);
    Run("Screen.Volume = -600 : Screen.FileName = \"Frames\\tone.wav\"");
    EXPECT_EQ(Eval("Screen.PlayState & \" \" & Screen.ImageSourceWidth & \" \" & Screen.Volume"), "2 0 -600");
    Wait(400);
    EXPECT_EQ(Eval("Heard"), "0>2;");
    Wait(300);
    EXPECT_EQ(Eval("Heard"), "0>2;2>0;end0;");
    // The sound is gone from the mixer once its player is removed.
    Run("Heard = \"\" : Screen.PlayCount = 0 : Screen.Play");
    Wait(700);
    EXPECT_EQ(Eval("Screen.PlayState"), "2");
    const int64_t playing = audio.mixer().PlayedFrames(9);
    Wait(100);
    EXPECT_GT(audio.mixer().PlayedFrames(9), playing);
    components.RemoveAdditionalComponent("Screen");
    Wait(50);
    const int64_t removed = audio.mixer().PlayedFrames(9);
    Wait(300);
    EXPECT_EQ(audio.mixer().PlayedFrames(9), removed);

    Add("MediaPlayer.MediaPlayer.1", "Film");
    Run("Film.AutoStart = False : Film.FileName = \"Frames\\clip.avi\"");
    EXPECT_EQ(Eval("Film.PlayState & \" \" & Film.ImageSourceWidth & \" \" & Film.Duration"), "0 32 1");
    // A sound is an error of the script for the player of videos.
    Add("NSPlay.NSPlayCtl.1", "Other");
    EXPECT_FALSE(engine.AddCode("Other.FileName = \"Frames\\tone.wav\""));
}

TEST_F(MediaComponentsFixture, TheAnimatedPictureTakesItsSizeAndHoldsItsFrameWhenStopped) {
    test.Write("Areas/flag.gif", "GIF89a");
    Add("GIF89LibCtl.Gif89a", "Flag");
    Run("Flag.Move 150, 300 : Flag.Speed = 0 : Flag.FileName = \"Areas\\flag.gif\" : Flag.Visible = True");
    auto* image = dynamic_cast<platform::ImageControl*>(Scene("flag"));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->picture, (test.folder.path() / "Areas" / "flag.gif").string());
    EXPECT_EQ(image->bounds(), (platform::Rect{10, 20, 20, 10}));
    EXPECT_EQ(Eval("Flag.Speed"), "50");
    EXPECT_DOUBLE_EQ(image->animationRate, 1);
    Wait(300);
    Run("Flag.Stop");
    EXPECT_EQ(image->animationHeldMs, 300);
    Wait(500);
    Run("Flag.Play");
    EXPECT_EQ(image->animationHeldMs, -1);
    Wait(100);
    // Going on from the frame it held, at double speed after a change of speed.
    Run("Flag.Speed = 100");
    Wait(100);
    components.PauseComponents();
    EXPECT_EQ(image->animationHeldMs, 600);
    Wait(1000);
    components.ResumeComponents();
    Wait(50);
    Run("Flag.Stop");
    EXPECT_EQ(image->animationHeldMs, 700);
    // A picture that is missing is an error of the script, and the old one stays.
    EXPECT_FALSE(engine.AddCode("Flag.FileName = \"Areas\\none.gif\""));
    EXPECT_EQ(image->picture, (test.folder.path() / "Areas" / "flag.gif").string());
}

}  // namespace
}  // namespace taviro::scripting
