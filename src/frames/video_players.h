// The video players of the game window: the one-time player in `fmeVideoContainer`, which plays cut
// scenes over the frame, and the looping players of hotspots, each in its element of
// `LoopingVideoContainer`. Their pictures are ordinary controls of the scene.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "frames/hotspot_record.h"
#include "frames/video_player.h"
#include "frames/video_system.h"
#include "platform/controls/form.h"
#include "platform/events/event_loop.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::frames {

class VideoPlayers : public VideoSystem {
public:
    // The sound of the one-time video plays on `voice` of `audio` (none when null).
    VideoPlayers(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
                 platform::media::AudioEngine* audio, int voice);
    ~VideoPlayers() override;

    // Makes the containers on the frame surface, over what it holds so far.
    void AddControls(platform::Control& scene);
    // Hides the menus during the wait for the one-time video; set by the game.
    std::function<void()> hideMenus;
    // A mouse press on the looping video of a hotspot, passed on as a press on the hotspot.
    std::function<void(int hotspot, const platform::MouseEvent& event)> hotspotMouseDown;

    // VideoSystem. Each may pump events where its steps say so.
    void PlayMovieWithStop(const std::string& file, bool stretched, int left, int top, int width,
                           int height) override;
    bool IsOneTimeVideoPlaying() override;
    bool IsVideoStarting() override { return videoStarting_; }
    void StopOneTimeVideoPlayer() override;
    void WaitForOneTimeVideo() override;
    void RestartLoopingVideos() override;
    // Resumes the one-time video when it is paused.
    void IfVideoIsPausedThenResumeIt();
    VideoPlayer& GetOneTimeVideoPlayerRef() { return *oneTime_; }
    platform::Container& oneTimeContainer() { return *oneTimeContainer_; }

    // Looping videos of hotspots: made by the loading of hotspots at the hotspot's position (sized to
    // it or to the video), shown and hidden with it, and all removed when the frame is left.
    void CreateLoopingVideo(int hotspot, const HotspotRecord& record, const std::string& path);
    void ShowLoopingVideo(int hotspot, bool visible);
    void RemoveLoopingVideos();
    // The looping players by hotspot number, and the container of one.
    const std::map<int, std::unique_ptr<VideoPlayer>>& loopingPlayers() const { return looping_; }
    platform::Control* LoopingContainer(int hotspot) const;

    // Longest side of a picture box made for a video: larger rectangles from damaged data are cut.
    static constexpr int kLargestSide = 4096;

private:
    void RemoveLoopingVideo(int hotspot);

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    platform::EventLoop& loop_;
    platform::media::AudioEngine* audio_;
    bool videoStarting_ = false;
    platform::Container* oneTimeContainer_ = nullptr;
    platform::PictureBox* oneTimeDisplay_ = nullptr;
    std::unique_ptr<VideoPlayer> oneTime_;
    std::map<int, std::unique_ptr<VideoPlayer>> looping_;
};

}  // namespace taviro::frames
