// The one-time video that frames and actions play over the frame, and the looping videos of hotspots.
#pragma once

#include <string>

namespace taviro::frames {

class VideoSystem {
public:
    virtual ~VideoSystem() = default;

    // Plays the video on the frame: stretched to the rectangle, or at its own size at left, top.
    virtual void PlayMovieWithStop(const std::string& file, bool stretched, int left, int top, int width,
                                   int height) = 0;
    virtual bool IsOneTimeVideoPlaying() = 0;
    // True while a video is being started.
    virtual bool IsVideoStarting() = 0;
    virtual void StopOneTimeVideoPlayer() = 0;
    // Lets events run while the video plays and nothing skips it, with the wait's pointer. Pumps events.
    virtual void WaitForOneTimeVideo() = 0;
    // Starts again the looping videos of the visible hotspots.
    virtual void RestartLoopingVideos() = 0;
};

}  // namespace taviro::frames
