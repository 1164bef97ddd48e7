// The one-time video follows the documented steps of PlayMovieWithStop; looping videos live from the
// loading of a frame's hotspots to the next frame.
#include "frames/video_players.h"

#include <algorithm>

#include "platform/game_error.h"
#include "platform/log.h"
#include "project/field_value.h"

namespace taviro::frames {
namespace {

constexpr char kOneTimeContainer[] = "fmeVideoContainer";
constexpr char kLoopingContainer[] = "LoopingVideoContainer";
// The start pause of a one-time video, and each turn of the waits for it.
constexpr int kStartPauseMs = 300;
constexpr int kWaitTurnMs = 10;

int Clamped(int side) { return std::clamp(side, 0, VideoPlayers::kLargestSide); }

platform::PictureBox& AddDisplay(platform::Control& container, const std::string& name) {
    auto& display =
        static_cast<platform::PictureBox&>(container.Add(std::make_unique<platform::PictureBox>(name)));
    display.backColor = platform::kBlack;
    return display;
}

}  // namespace

VideoPlayers::VideoPlayers(project::Project& project, GameFlags& flags, platform::Form& form,
                           platform::EventLoop& loop, platform::media::AudioEngine* audio, int voice)
    : project_(project),
      flags_(flags),
      form_(form),
      loop_(loop),
      audio_(audio),
      oneTime_(std::make_unique<VideoPlayer>(loop.timers(), project.files(), audio, voice)) {}

VideoPlayers::~VideoPlayers() = default;

void VideoPlayers::AddControls(platform::Control& scene) {
    oneTimeContainer_ = static_cast<platform::Container*>(
        &scene.Add(std::make_unique<platform::Container>(kOneTimeContainer)));
    oneTimeContainer_->SetVisible(false);
    oneTimeDisplay_ = &AddDisplay(*oneTimeContainer_, "OneTimeVideoPlayer");
    oneTimeDisplay_->events.mouseDown = [this](platform::Control&, const platform::MouseEvent&) {
        oneTime_->ClickOnPicture();
    };
    oneTime_->SetDisplay(oneTimeDisplay_);
    scene.Add(std::make_unique<platform::Container>(kLoopingContainer, 0)).SetVisible(false);
}

void VideoPlayers::PlayMovieWithStop(const std::string& file, bool stretched, int left, int top, int width,
                                     int height) {
    // Each step goes on after a failure; the first failure is reported at the end.
    std::optional<std::string> failure;
    auto attempt = [&failure](const std::function<void()>& step) {
        try {
            step();
        } catch (const GameError& error) {
            if (!failure) failure = error.description();
        }
    };
    VideoPlayer& player = *oneTime_;
    // 1. Started only by Play; a click on it pauses it unless only Esc may skip a wait.
    player.autoStart = false;
    player.autoRewind = false;
    player.clickToPlay = !project_.information.onlyEscSkipsWait;
    // 2. The file, in the frames folder.
    const std::string path = project_.LocateProjectFile(project_.paths.FramesPath + file);
    attempt([&] { player.SetFileName(path); });
    // 3. Placement: the video's own size unless stretched.
    if (!stretched) {
        width = player.ImageSourceWidth();
        height = player.ImageSourceHeight();
    }
    oneTimeContainer_->SetBounds({left, top, Clamped(width), Clamped(height)});
    oneTimeDisplay_->SetBounds({0, 0, Clamped(width), Clamped(height)});
    // 4. From the start.
    attempt([&] {
        player.SetFileName(path);
        player.SetCurrentPosition(0);
    });
    // 5. The start pause, with clicks on hotspots ignored.
    videoStarting_ = true;
    {
        auto awaiting = loop_.AwaitInput();
        loop_.WaitMs(kStartPauseMs);
    }
    videoStarting_ = false;
    // 6. Play, in front of the frame.
    attempt([&] { player.Play(); });
    oneTimeContainer_->SetVisible(true);
    oneTimeContainer_->BringToFront();
    loop_.DoEvents();
    flags_.StopMovie = false;
    // 7. One report for whatever failed.
    if (failure)
        project_.reports().ShowErrorReport(" Error while attempting to play the following video file: \"" +
                                           file + "\". " + *failure);
}

bool VideoPlayers::IsOneTimeVideoPlaying() { return oneTime_->GetPlayState() == PlayState::Playing; }

void VideoPlayers::StopOneTimeVideoPlayer() {
    if (oneTimeContainer_) oneTimeContainer_->SetVisible(false);
    oneTime_->Stop();
}

void VideoPlayers::WaitForOneTimeVideo() {
    auto awaiting = loop_.AwaitInput();
    while (IsOneTimeVideoPlaying() && !flags_.StopMovie && !loop_.quitRequested()) {
        loop_.WaitMs(kWaitTurnMs);
        if (hideMenus) hideMenus();
        loop_.WaitMs(kWaitTurnMs);
    }
}

void VideoPlayers::RestartLoopingVideos() {
    for (auto& [hotspot, player] : looping_) {
        platform::Control* container = LoopingContainer(hotspot);
        if (container && container->visible()) player->Play();
    }
}

void VideoPlayers::IfVideoIsPausedThenResumeIt() {
    if (oneTime_->GetPlayState() == PlayState::Paused) oneTime_->Play();
}

platform::Control* VideoPlayers::LoopingContainer(int hotspot) const {
    return form_.Find(kLoopingContainer, hotspot);
}

void VideoPlayers::CreateLoopingVideo(int hotspot, const HotspotRecord& record, const std::string& path) {
    if (hotspot <= 0) return;
    RemoveLoopingVideo(hotspot);
    platform::Control& container = form_.Load(kLoopingContainer, hotspot);
    platform::Control* area = form_.Find("Area", hotspot);
    platform::Rect bounds = area ? area->bounds() : platform::Rect{};
    container.SetVisible(area && area->visible());
    auto& display = AddDisplay(container, "LoopingVideoControl" + std::to_string(hotspot));
    display.events.mouseDown = [this, hotspot](platform::Control&, const platform::MouseEvent& event) {
        if (hotspotMouseDown) hotspotMouseDown(hotspot, event);
    };
    auto player = std::make_unique<VideoPlayer>(loop_.timers(), project_.files());
    player->SetDisplay(&display);
    player->autoStart = false;
    player->clickToPlay = false;
    double rate = project::NumericValue(record.videoRate);
    player->SetRate(rate == 0 ? 1 : rate);
    player->SetPlayCount(
        static_cast<int>(std::clamp(project::NumericValue(record.videoPlayCount), 0.0, 1e6)));
    try {
        player->SetFileName(path);
    } catch (const GameError& error) {
        // The hotspot stays usable; its video shows nothing.
        platform::log::Error("The looping video " + path + " cannot be played: " + error.description());
    }
    if (!record.videoSizedToHotspot) {
        bounds.width = player->ImageSourceWidth();
        bounds.height = player->ImageSourceHeight();
    }
    bounds = {bounds.x, bounds.y, Clamped(bounds.width), Clamped(bounds.height)};
    container.SetBounds(bounds);
    display.SetBounds({0, 0, bounds.width, bounds.height});
    looping_[hotspot] = std::move(player);
}

void VideoPlayers::ShowLoopingVideo(int hotspot, bool visible) {
    platform::Control* container = LoopingContainer(hotspot);
    auto it = looping_.find(hotspot);
    if (!container || it == looping_.end()) return;
    // Shown again, the video starts over; hidden, it plays on unseen.
    if (visible && !container->visible()) it->second->SetCurrentPosition(0);
    container->SetVisible(visible);
}

void VideoPlayers::RemoveLoopingVideo(int hotspot) {
    looping_.erase(hotspot);
    if (form_.Find(kLoopingContainer, hotspot)) form_.Unload(kLoopingContainer, hotspot);
}

void VideoPlayers::RemoveLoopingVideos() {
    while (!looping_.empty()) RemoveLoopingVideo(looping_.begin()->first);
}

}  // namespace taviro::frames
