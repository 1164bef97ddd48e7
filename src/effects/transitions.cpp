// The two steps of a transition around frame loading, and the animation between them.
#include "effects/transitions.h"

#include <algorithm>
#include <cstring>

#include "effects/transition_picture.h"

namespace taviro::effects {

Transitions::Transitions(project::Project& project, GameFlags& flags, platform::Form& form,
                         platform::EventLoop& loop, platform::Timer& frameTimer, TransitionServices& services)
    : project_(project),
      flags_(flags),
      form_(form),
      loop_(loop),
      frameTimer_(frameTimer),
      services_(services) {}

void Transitions::AddControls() {
    picWhere_ =
        static_cast<platform::PictureBox*>(&form_.Add(std::make_unique<platform::PictureBox>("picWhere")));
    picWhere_->backColor = platform::kBlack;
    picWhere_->SetVisible(false);
    // The stage covers the frame, so the clicks that end a transition land on it.
    picWhere_->events.mouseDown = [this](platform::Control&, const platform::MouseEvent&) {
        flags_.StopMovie = true;
        InterruptTransition();
    };
}

double Transitions::progress() const {
    if (!running_ || durationMs_ <= 0) return 0;
    return std::clamp(static_cast<double>(loop_.clock().NowMs() - startMs_) / durationMs_, 0.0, 1.0);
}

void Transitions::InterruptTransition() {
    if (running_) flags_.bInterruptTransition = true;
}

void Transitions::EndRunningTransition() {
    if (!running_) return;
    flags_.bInterruptTransition = true;
    ++generation_;
    running_ = false;
    Finish();
}

void Transitions::TransitionStep1(int iTransNumber) {
    if (running_) EndRunningTransition();
    prepared_ = false;
    try {
        // 1. Nothing while the game stops, with transitions off, or for a number that does not animate.
        if (flags_.GameStopping || services_.TransitionsDisabled() || !IsTransitionKind(iTransNumber)) return;
        // 2. The stage and the old image take the frame's place and size.
        platform::Control* scene = form_.Find("PictureBox");
        if (!scene || !picWhere_) return;
        const platform::Rect frame = scene->bounds();
        picWhere_->SetBounds(frame);
        picStart_.emplace(frame.width, frame.height);
        // 3. Components pause; those that stay visible go on the stage.
        services_.PauseComponents(*picWhere_, iTransNumber);
        // 4. What the window shows now.
        services_.CaptureActualFrame(*picStart_);
        // 5. The stage shows the old image in front while the new frame is built underneath.
        platform::Canvas& stage = picWhere_->canvas();
        std::memcpy(stage.data(), picStart_->data(),
                    static_cast<size_t>(frame.width) * static_cast<size_t>(frame.height) * sizeof(uint32_t));
        stage.Painted(true);
        picWhere_->SetVisible(true);
        picWhere_->BringToFront();
        prepared_ = true;
    } catch (const std::exception&) {
        if (picWhere_) picWhere_->SetVisible(false);
        project_.reports().ShowErrorReport(" Error in \"TransitionStep1\". ");
    }
}

void Transitions::TransitionStep2(int iTransNumber, double dTransitionDuration) {
    // 1. Nothing while the game stops; without a stage the frame is simply shown.
    if (flags_.GameStopping || !prepared_) {
        if (picWhere_) picWhere_->SetVisible(false);
        prepared_ = false;
        return services_.FadeStep(1.0);
    }
    prepared_ = false;
    try {
        frameTimerWasOn_ = frameTimer_.enabled();
        frameTimer_.SetEnabled(false);
        services_.EndGameMessage();
        // 2. The stage lies exactly over the frame, so components on it keep their place.
        // 3. The new frame's image: a picture box a script chose, or the frame as built.
        const platform::Rect frame = picWhere_->bounds();
        picEnd_.emplace(frame.width, frame.height);
        if (!services_.TakeTransitionDestination(*picEnd_)) services_.CaptureCurrentFrame(*picEnd_);
        // 4-5. The animation, then the frame uncovered; a frame change during it has done that already.
        if (RunTransition(iTransNumber, dTransitionDuration)) Finish();
    } catch (const std::exception&) {
        running_ = false;
        Finish();
        project_.reports().ShowErrorReport(" Error in \"TransitionStep2\". ");
    }
}

bool Transitions::RunTransition(int number, double seconds) {
    // 1. Numbers outside 1 to 5 and durations of 0 or less give no animation.
    if (!IsTransitionKind(number) || !(seconds > 0)) return true;
    // 2-3.
    running_ = true;
    flags_.bInterruptTransition = false;
    kind_ = number;
    const uint64_t generation = ++generation_;
    platform::Clock& clock = loop_.clock();
    startMs_ = clock.NowMs();
    durationMs_ = seconds * 1000.0;
    platform::Canvas& stage = picWhere_->canvas();
    int64_t drawnMs = -1;
    // 4. Each step shows the progress the clock has reached, however many steps a machine manages.
    while (true) {
        const int64_t nowMs = clock.NowMs();
        const double elapsedMs = static_cast<double>(nowMs - startMs_);
        if (elapsedMs >= durationMs_) break;
        const double p = std::min(1.0, elapsedMs / durationMs_);
        if (nowMs != drawnMs) {
            ComposeTransitionStep(kind_, p, picStart_->view(), picEnd_->view(), stage);
            drawnMs = nowMs;
        }
        loop_.DoEvents();
        if (generation != generation_) return false;
        services_.FadeStep(p);
        if (flags_.bInterruptTransition || flags_.GameStopping || loop_.quitRequested()) break;
        if (!clock.IsVirtual()) {
            clock.SleepMs(kStepRestMs);
        } else if (clock.NowMs() == nowMs) {
            // Virtual time moves only when automation says so: its next command runs here, and
            // when it has none left the animation ends as if clicked.
            const bool more = loop_.PassStandstill();
            if (generation != generation_) return false;
            if (!more) break;
        }
    }
    flags_.bInterruptTransition = false;
    running_ = false;
    return true;
}

void Transitions::Finish() {
    // 5. The new frame itself shows as the stage goes; the timer, pictures and components come back.
    services_.RestoreAnimatedPictures();
    frameTimer_.SetEnabled(frameTimerWasOn_);
    frameTimerWasOn_ = false;
    if (picWhere_) {
        picWhere_->SetVisible(false);
        services_.ResumeComponents(*picWhere_);
        if (platform::Canvas* canvas = picWhere_->canvasIfAny()) canvas->Clear();
    }
    picStart_.reset();
    picEnd_.reset();
    services_.DeleteScratchFile();
    services_.FadeStep(1.0);
}

}  // namespace taviro::effects
