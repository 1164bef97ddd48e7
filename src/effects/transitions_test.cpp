#include "effects/transitions.h"

#include <gtest/gtest.h>

#include <functional>

#include "effects/transition_picture.h"
#include "platform/clock.h"
#include "support/test_project.h"

namespace taviro::effects {
namespace {

constexpr uint32_t kOldColor = 0xFF0000FF;
constexpr uint32_t kNewColor = 0xFFFF0000;
constexpr uint32_t kChosenColor = 0xFF00FF00;

struct FakeWindow : TransitionServices {
    bool TransitionsDisabled() override { return disabled; }
    void CaptureActualFrame(platform::Canvas& into) override {
        ++actualCaptures;
        if (failCapture) throw GameError(7, "Out of memory");
        std::fill(into.data(), into.data() + into.width() * into.height(), kOldColor);
    }
    void CaptureCurrentFrame(platform::Canvas& into) override {
        ++currentCaptures;
        std::fill(into.data(), into.data() + into.width() * into.height(), kNewColor);
    }
    bool TakeTransitionDestination(platform::Canvas& into) override {
        if (!destination) return false;
        destination = false;
        std::fill(into.data(), into.data() + into.width() * into.height(), kChosenColor);
        return true;
    }
    void PauseComponents(platform::PictureBox&, int) override { ++pauses; }
    void ResumeComponents(platform::PictureBox&) override { ++resumes; }
    void EndGameMessage() override { ++messagesEnded; }
    void RestoreAnimatedPictures() override {}
    void FadeStep(double progress) override { fades.push_back(progress); }
    void DeleteScratchFile() override {}

    bool disabled = false, failCapture = false, destination = false;
    int actualCaptures = 0, currentCaptures = 0, pauses = 0, resumes = 0, messagesEnded = 0;
    std::vector<double> fades;
};

class TransitionsFixture : public ::testing::Test {
protected:
    TransitionsFixture() {
        form.Add(std::make_unique<platform::PictureBox>("PictureBox")).SetBounds({0, 0, 40, 30});
        transitions.AddControls();
        frameTimer.SetIntervalMs(1000);
        loop.SetStandstillHandler([this] {
            ++standstills;
            return onStandstill ? onStandstill() : false;
        });
    }

    // Each time the animation waits for time, `stepMs` pass; the stage's corner pixel is noted first.
    void AdvanceBy(int64_t stepMs, int maxSteps) {
        onStandstill = [this, stepMs, maxSteps] {
            seen.push_back(transitions.stage().canvas().PixelAt(0, 0));
            progressSeen.push_back(transitions.progress());
            if (static_cast<int>(seen.size()) > maxSteps) return false;
            clock.SleepMs(stepMs);
            return true;
        };
    }
    void Run(int number, double seconds) {
        transitions.TransitionStep1(number);
        transitions.TransitionStep2(number, seconds);
    }
    platform::Control& stage() { return transitions.stage(); }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    platform::Form form{"Game", 40, 30};
    platform::Timer frameTimer{timers};
    FakeWindow window;
    Transitions transitions{*test.project, test.flags, form, loop, frameTimer, window};
    std::function<bool()> onStandstill;
    int standstills = 0;
    std::vector<uint32_t> seen;
    std::vector<double> progressSeen;
};

TEST_F(TransitionsFixture, StageCoversTheFrameWithTheOldImageUntilTheAnimationStarts) {
    transitions.TransitionStep1(kAlphablending);
    EXPECT_TRUE(stage().visible());
    EXPECT_EQ(stage().bounds(), (platform::Rect{0, 0, 40, 30}));
    EXPECT_EQ(form.children().back().get(), &stage()) << "the stage is in front of the frame";
    EXPECT_EQ(transitions.stage().canvas().PixelAt(39, 29), kOldColor);
    EXPECT_FALSE(transitions.TransitionRunning());
    EXPECT_EQ(window.pauses, 1);
}

TEST_F(TransitionsFixture, AlphablendingFollowsTheClockAndEndsOnTheNewFrame) {
    frameTimer.SetEnabled(true);
    AdvanceBy(250, 10);
    Run(kAlphablending, 1.0);
    // Opacities 0, 63, 127 and 191 of red over blue; the fourth quarter ends the animation.
    EXPECT_EQ(seen, (std::vector<uint32_t>{0xFF0000FF, 0xFF3F00C0, 0xFF7F0080, 0xFFBF0040}));
    EXPECT_EQ(progressSeen, (std::vector<double>{0, 0.25, 0.5, 0.75}));
    EXPECT_EQ(clock.NowMs(), 1000);
    EXPECT_FALSE(stage().visible()) << "the last image is the new frame itself";
    EXPECT_FALSE(transitions.TransitionRunning());
    EXPECT_TRUE(frameTimer.enabled()) << "the frame timer comes back as it was";
    EXPECT_EQ(window.fades.back(), 1.0);
    EXPECT_EQ(window.fades[1], 0.25) << "the channel fade follows the progress";
    EXPECT_EQ(window.messagesEnded, 1);
    EXPECT_EQ(window.resumes, 1);
}

TEST_F(TransitionsFixture, FrameTimerIsHeldWhileTheAnimationRuns) {
    frameTimer.SetEnabled(true);
    bool timerDuringAnimation = true;
    onStandstill = [&] {
        timerDuringAnimation = frameTimer.enabled();
        clock.SleepMs(600);
        return true;
    };
    Run(kSlideLeft, 1.0);
    EXPECT_FALSE(timerDuringAnimation);
    EXPECT_TRUE(frameTimer.enabled());
}

TEST_F(TransitionsFixture, AClickEndsEvenAVeryLongTransitionAtTheNextStep) {
    onStandstill = [&] {
        clock.SleepMs(100);
        if (standstills == 2) test.flags.bInterruptTransition = true;  // as a click does
        return true;
    };
    Run(kAlphablending, 10000.0);
    EXPECT_EQ(standstills, 2);
    EXPECT_EQ(clock.NowMs(), 200);
    EXPECT_FALSE(stage().visible());
    EXPECT_FALSE(transitions.TransitionRunning());
    EXPECT_FALSE(test.flags.bInterruptTransition) << "the flag is cleared for the next transition";
}

TEST_F(TransitionsFixture, InterruptOnlyActsWhileAnAnimationRuns) {
    transitions.InterruptTransition();
    EXPECT_FALSE(test.flags.bInterruptTransition);
    onStandstill = [&] {
        transitions.InterruptTransition();  // a key
        return true;
    };
    Run(kSlideUp, 5.0);
    EXPECT_EQ(standstills, 1);
    EXPECT_EQ(clock.NowMs(), 0);
}

TEST_F(TransitionsFixture, NumbersOutsideOneToFiveAndEmptyDurationsGiveNoAnimation) {
    for (auto [number, seconds] : {std::pair{0, 1.0}, {6, 1.0}, {-1, 1.0}, {1, 0.0}, {4, -2.0}}) {
        window.fades.clear();
        Run(number, seconds);
        EXPECT_FALSE(stage().visible()) << number << " " << seconds;
        EXPECT_EQ(window.fades, (std::vector<double>{1.0})) << number << " " << seconds;
    }
    EXPECT_EQ(standstills, 0) << "nothing waited";
    EXPECT_EQ(window.actualCaptures, 2) << "only the valid numbers put a stage up";
}

TEST_F(TransitionsFixture, TransitionsSwitchedOffShowTheFrameWithoutAStage) {
    window.disabled = true;
    Run(kAlphablending, 2.0);
    EXPECT_EQ(window.actualCaptures, 0);
    EXPECT_EQ(window.currentCaptures, 0);
    EXPECT_EQ(standstills, 0);
    EXPECT_EQ(window.fades, (std::vector<double>{1.0}));
}

TEST_F(TransitionsFixture, ChosenDestinationIsTheEndImageOnceThenTheFrameIsCapturedAgain) {
    window.destination = true;
    AdvanceBy(900, 5);
    Run(kAlphablending, 1.0);
    EXPECT_EQ(seen.back(), 0xFF00E51A) << "opacity 229 of the chosen green over blue";
    EXPECT_EQ(window.currentCaptures, 0);
    seen.clear();
    Run(kAlphablending, 1.0);
    EXPECT_EQ(seen.back(), 0xFFE5001A);
    EXPECT_EQ(window.currentCaptures, 1);
}

TEST_F(TransitionsFixture, FrameChangeDuringATransitionEndsItAndGoesAhead) {
    frameTimer.SetEnabled(true);
    int nestedSteps = 0;
    onStandstill = [&] {
        if (standstills == 1) {
            // A hotspot clicked during the animation opens another frame with a transition.
            frameTimer.SetEnabled(false);
            transitions.TransitionStep1(kSlideDown);
            EXPECT_FALSE(transitions.TransitionRunning()) << "the first animation ended";
            EXPECT_TRUE(frameTimer.enabled()) << "and gave the timer back";
            frameTimer.SetEnabled(false);
            transitions.TransitionStep2(kSlideDown, 0.5);
            return true;
        }
        ++nestedSteps;
        clock.SleepMs(100);
        return true;
    };
    Run(kAlphablending, 3.0);
    EXPECT_EQ(nestedSteps, 5) << "the second animation ran its own half second";
    EXPECT_EQ(standstills, 6) << "the first one did not go on afterwards";
    EXPECT_EQ(window.actualCaptures, 2);
    EXPECT_FALSE(stage().visible());
    EXPECT_FALSE(frameTimer.enabled()) << "the timer as the second frame left it";
    EXPECT_EQ(window.resumes, 2);
}

TEST_F(TransitionsFixture, AFailedCaptureIsReportedAndTheFrameChangesWithoutAnimation) {
    window.failCapture = true;
    Run(kAlphablending, 1.0);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find(" Error in \"TransitionStep1\". "),
              std::string::npos);
    EXPECT_FALSE(stage().visible());
    EXPECT_EQ(standstills, 0);
    EXPECT_EQ(window.fades, (std::vector<double>{1.0}));
}

TEST_F(TransitionsFixture, WithoutAutomationTheVirtualClockEndsTheAnimationAtOnce) {
    loop.SetStandstillHandler({});
    Run(kSlideDown, 30.0);
    EXPECT_FALSE(transitions.TransitionRunning());
    EXPECT_FALSE(stage().visible());
}

}  // namespace
}  // namespace taviro::effects
