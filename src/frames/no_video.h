// Video without a video decoder: nothing ever plays, so waits end at once. Stands in for the
// video players until they exist.
#pragma once

#include "frames/video_system.h"

namespace taviro::frames {

class NoVideo : public VideoSystem {
public:
    void PlayMovieWithStop(const std::string&, bool, int, int, int, int) override {}
    bool IsOneTimeVideoPlaying() override { return false; }
    bool IsVideoStarting() override { return false; }
    void StopOneTimeVideoPlayer() override {}
    void WaitForOneTimeVideo() override {}
    void RestartLoopingVideos() override {}
};

}  // namespace taviro::frames
