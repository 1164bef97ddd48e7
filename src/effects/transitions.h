// Transitions between frames: a stage that keeps the old frame on screen while the new one is built
// underneath, then the animation from the old image to the new one on the game clock.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/controls/canvas.h"
#include "platform/controls/control_kinds.h"
#include "platform/controls/form.h"
#include "platform/events/event_loop.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::effects {

// What a transition asks of the game window.
class TransitionServices {
public:
    virtual ~TransitionServices() = default;

    // The check mark of "Disable Transitions".
    virtual bool TransitionsDisabled() = 0;
    // What the game window shows of the frame, composed from the scene, black where the frame lies off
    // the desktop. The canvas has the frame's size.
    virtual void CaptureActualFrame(platform::Canvas& into) = 0;
    // The frame as it is built now, composed from its parts. The canvas has the frame's size.
    virtual void CaptureCurrentFrame(platform::Canvas& into) = 0;
    // The image of the picture box a script named with SetTransitionDestination, which is forgotten
    // then; false when none was named.
    virtual bool TakeTransitionDestination(platform::Canvas& into) = 0;
    // Components are paused from the start of a transition to its end. The components that stay
    // visible during a transition become children of the stage, which draws them above the animation,
    // and go back to the frame when it ends.
    virtual void PauseComponents(platform::PictureBox& stage, int transitionNumber) = 0;
    virtual void ResumeComponents(platform::PictureBox& stage) = 0;
    // A game message on screen ends at once.
    virtual void EndGameMessage() = 0;
    // The animated pictures of the new frame run again once the animation is over.
    virtual void RestoreAnimatedPictures() = 0;
    // The channel fade of the new frame at the transition's progress (0 to 1).
    virtual void FadeStep(double progress) = 0;
    // Removes the scratch file of a transition if there is one; errors are ignored.
    virtual void DeleteScratchFile() = 0;
};

class Transitions {
public:
    // How long the animation rests between two steps in real time, in milliseconds.
    static constexpr int64_t kStepRestMs = 10;

    // `frameTimer` is held while the animation runs.
    Transitions(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
                platform::Timer& frameTimer, TransitionServices& services);

    // Adds the stage `picWhere` to the window, hidden, above everything made so far.
    void AddControls();

    // Before the new frame is built: the old frame's image goes on the stage, which covers the frame.
    // A transition still running ends first, as a click ends it. Reports its own failures.
    void TransitionStep1(int iTransNumber);
    // After the new frame is built: animates from the old image to the new one, then uncovers the
    // frame. Pumps events. Reports its own failures.
    void TransitionStep2(int iTransNumber, double dTransitionDuration);
    // Ends a running transition at its next step, as a click or a key does; nothing when none runs.
    void InterruptTransition();
    // Ends a running transition at once, from under its animation, when another frame opens; the frame
    // shows uncovered and the timer and components come back. Nothing when none runs.
    void EndRunningTransition();

    // True while the animation runs.
    bool TransitionRunning() const { return running_; }
    int kind() const { return kind_; }
    // Elapsed time over duration, 0 to 1, while the animation runs.
    double progress() const;

    // The stage. Controls placed on it (the components that stay visible) are drawn above the animation.
    platform::PictureBox& stage() { return *picWhere_; }

private:
    // Animates on the stage until the duration has passed or the transition is interrupted; false when
    // a frame change during the animation took the stage over.
    bool RunTransition(int number, double seconds);
    // The end of a transition: the frame uncovered, the timer and components back, the fade complete.
    void Finish();

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    platform::EventLoop& loop_;
    platform::Timer& frameTimer_;
    TransitionServices& services_;
    platform::PictureBox* picWhere_ = nullptr;
    std::optional<platform::Canvas> picStart_;  // the old frame's image
    std::optional<platform::Canvas> picEnd_;    // the new frame's image
    bool prepared_ = false;                     // step 1 put the stage up
    bool frameTimerWasOn_ = false;
    bool running_ = false;
    int kind_ = 0;
    int64_t startMs_ = 0;
    double durationMs_ = 0;
    // Counts the transitions begun, so that an animation ended from under it knows it has been.
    uint64_t generation_ = 0;
};

}  // namespace taviro::effects
