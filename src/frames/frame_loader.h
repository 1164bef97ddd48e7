// Opening a frame: the old frame is torn down, the new frame's settings are read, its music and
// sounds start, its background, texts and hotspots appear, its script runs, the transition plays,
// and its dialogue, video, frame timer and timed events start. Also the frame timer.
#pragma once

#include <functional>
#include <string>

#include "frames/current_frame.h"
#include "frames/frame_services.h"
#include "frames/frame_settings.h"
#include "frames/frame_texts.h"
#include "frames/frames_history.h"
#include "frames/hotspots.h"
#include "frames/sound_system.h"
#include "frames/video_system.h"
#include "platform/controls/form.h"
#include "platform/events/timer.h"

namespace taviro::frames {

class FrameLoader {
public:
    FrameLoader(project::Project& project, GameFlags& flags, platform::Form& form,
                platform::TimerQueue& timers, CurrentFrame& frame, FramesHistory& history, FrameTexts& texts,
                Hotspots& hotspots, SoundSystem& sounds, VideoSystem& video, FrameServices& services);

    // Opens a frame. A caller that wants a transition has captured the old frame with
    // TransitionStep1 first. Failures are reported; what was done before them stays. Pumps events.
    // The name is taken by value: callers often pass the current frame's own name, which changes here.
    void OpenFrame(std::string name, bool bWithTransition, int iTransNumber, double dTransitionDuration);

    // The frame header (fields 1-3 of the ".fme") and the links number of a frame.
    void LoadFrameHeader(const std::string& frameName);
    void ClearFrameHeader();
    int16_t ReadLinksNumber(const std::string& frameName);

    // The frame timer ("Timer1"): its destination and whether it runs.
    const std::string& timerDestination() const { return timerTag_; }
    platform::Timer& frameTimer() { return frameTimer_; }

    // Told the name of each frame OpenFrame has finished opening, e.g. to decode ahead what it leads to.
    std::function<void(const std::string& frame)> frameShown;

private:
    void ReadSettings(FrameSettings& settings);
    void StartMusic(const FrameSettings& settings);
    void DrawBackground();
    // True when the script asked to quit.
    bool RunFrameScript(const FrameSettings& settings);
    void PlayVideo(const FrameSettings& settings);
    void StartFrameTimer(const FrameSettings& settings);
    void FrameTimerTick();
    void OpenWithTimerTransition(const std::string& name);

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    CurrentFrame& frame_;
    FramesHistory& history_;
    FrameTexts& texts_;
    Hotspots& hotspots_;
    SoundSystem& sounds_;
    VideoSystem& video_;
    FrameServices& services_;
    platform::Timer frameTimer_;
    std::string timerTag_;
};

}  // namespace taviro::frames
