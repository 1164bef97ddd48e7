// OpenFrame runs its steps in a fixed order; the numbered comments follow it. A step marked
// "unless stopping" is skipped while the game is being stopped.
#include "frames/frame_loader.h"

#include "platform/controls/control_kinds.h"
#include "platform/game_error.h"
#include "project/field_value.h"
#include "project/project_information.h"

namespace taviro::frames {
namespace {

const std::string kCrLf = "\r\n";
constexpr int kMaxTimerIntervalMs = 65535;

}  // namespace

FrameLoader::FrameLoader(project::Project& project, GameFlags& flags, platform::Form& form,
                         platform::TimerQueue& timers, CurrentFrame& frame, FramesHistory& history,
                         FrameTexts& texts, Hotspots& hotspots, SoundSystem& sounds, VideoSystem& video,
                         FrameServices& services)
    : project_(project),
      flags_(flags),
      form_(form),
      frame_(frame),
      history_(history),
      texts_(texts),
      hotspots_(hotspots),
      sounds_(sounds),
      video_(video),
      services_(services),
      frameTimer_(timers, [this] { FrameTimerTick(); }) {
    frameTimer_.SetEnabled(false);
}

void FrameLoader::ClearFrameHeader() {
    frame_.name.clear();
    frame_.header = FrameHeader{};
    frame_.linksNumber = 0;
}

void FrameLoader::LoadFrameHeader(const std::string& frameName) {
    frame_.name = frameName;
    std::optional<std::string> text = project_.ReadTextFile(project_.paths.FramesPath + frameName + ".fme");
    if (!text) throw errors::FileNotFound();
    project::FieldReader reader(std::move(*text));
    frame_.header = ReadFrameHeader(reader);
    frame_.linksNumber = ReadLinksNumber(frameName);
}

int16_t FrameLoader::ReadLinksNumber(const std::string& frameName) {
    std::optional<std::string> text = project_.ReadTextFile(project_.paths.FramesPath + frameName + ".lks");
    if (!text) return 0;
    project::FieldReader reader(std::move(*text));
    return project::ToInteger(reader.ReadVariant());
}

void FrameLoader::OpenFrame(std::string name, bool bWithTransition, int iTransNumber,
                            double dTransitionDuration) {
    // 1-3. A frame that does not exist leaves the current one on screen.
    if (name.empty()) return project_.reports().ShowErrorReport(" A program link is broken.");
    if (!project_.files().IsFile(project_.paths.FramesPath + name + ".fme")) {
        return project_.reports().ShowErrorReport(
            " A program link is broken. The frame named \"" + name +
            "\" could not be found. Verify that the 'Initial Frame' exists and that the 'Go to another "
            "frame' "
            "option in the Hotspot Properties is linked to an existing frame.");
    }
    auto stopping = [this] { return flags_.GameStopping; };
    try {
        // 4-7. The old frame's timer and timed events stop; the new frame's header is read.
        frameTimer_.SetEnabled(false);
        frameTimer_.SetIntervalMs(0);
        services_.ResetTimedEvents();
        frame_.MergedHotspotIndex = 1;
        frame_.MergedTextIndex = 1;
        services_.EndRunningTransition();
        services_.ClearTransitionDestination();
        ClearFrameHeader();
        LoadFrameHeader(name);

        // 8-12. Script references, the history, then the frame's settings.
        if (stopping()) return;
        services_.DecideControlsReferences();
        history_.FramesHistoryAdd(name);
        FrameSettings settings;
        if (stopping()) return;
        ReadSettings(settings);

        // 13. The old frame's rippling water ends.
        services_.StopRipplingWater();

        // 14. A video that plays before the frame is drawn.
        if (!stopping() && !settings.video.empty() && settings.videoBeforeFrame && !bWithTransition) {
            video_.StopOneTimeVideoPlayer();
            PlayVideo(settings);
        }

        // 15-17. Sounds and music.
        if (!stopping() && settings.stopAllSounds) sounds_.StopAnyWavOrMP3();
        if (!stopping() && settings.frameSound.empty() && settings.stopFrameSoundWhenNone) {
            sounds_.Player(kFrameSoundPlayer).Stop();
        }
        if (!stopping()) StartMusic(settings);

        // 18-22. The old texts and hotspots go; the background, the new texts and hotspots come.
        if (!stopping()) texts_.ResetFrameTexts();
        if (!stopping()) hotspots_.ResetFrameAreas();
        if (!stopping()) DrawBackground();
        if (!stopping()) {
            texts_.LoadTexts();
            frame_.linksNumber = ReadLinksNumber(frame_.name);
        }
        if (!stopping()) hotspots_.LoadAreas();

        // 23. The frame's script; it may ask to quit.
        if (!stopping() && RunFrameScript(settings)) return services_.StartUnloading();

        // 24. Which hotspots show; the inventory stays in front.
        if (!stopping()) {
            hotspots_.ShowOrNotShowAreas();
            services_.BringInventoryToFront();
        }

        // 25. The sound channels of the ".chn" file.
        if (!stopping() && !settings.stopAllSounds) {
            if (std::optional<std::string> chn =
                    project_.ReadTextFile(project_.paths.FramesPath + name + ".chn")) {
                project::FieldReader reader(std::move(*chn));
                sounds_.PlaySoundChannels(reader);
            }
        }

        // 26. The frame sound.
        if (!stopping() && !settings.frameSound.empty()) {
            MediaPlayer& player = sounds_.Player(kFrameSoundPlayer);
            player.Stop();
            player.SetFileName(project_.LocateProjectFile(project_.paths.FramesPath + settings.frameSound));
            player.SetPlayCount(1);
            player.SetVolume(VolumeToPlayerUnits(8));
            player.Play();
        }

        // 27. Video, effects, the transition and the dialogue.
        bool rippling = false;
        if (!stopping()) {
            bool videoAfter = !settings.video.empty() && (!settings.videoBeforeFrame || bWithTransition);
            if (videoAfter) video_.StopOneTimeVideoPlayer();
            if (!services_.EffectsDisabled() && frame_.header.backgroundKind == 1 && !frame_.header.tiled) {
                rippling = services_.LoadWaveEffectIfAny();
            }
            sounds_.StartChannels();
            if (bWithTransition) {
                services_.TransitionStep2(iTransNumber, dTransitionDuration);
            } else {
                sounds_.EnableFadeTimer();
            }
            if (project_.files().IsFile(project_.paths.FramesDataPath + name + ".dlg") &&
                !services_.IsDialogueRunning()) {
                services_.LoadAndStartDialogue(name);
            }
            if (videoAfter) PlayVideo(settings);
        }

        // 28. Wait for the one-time video, then the looping videos play again.
        if (!stopping()) {
            hotspots_.WaitWithScreenPointer([this] { video_.WaitForOneTimeVideo(); });
            video_.StopOneTimeVideoPlayer();
            video_.RestartLoopingVideos();
        }

        // 29-30. The rippling water of the new frame, and the frame timer.
        if (!stopping() && rippling && !services_.EffectsDisabled()) services_.StartRipplingWater();
        if (!stopping()) StartFrameTimer(settings);

        // 31. The timed events.
        services_.StartTimedEvents();
        if (!stopping() && frameShown) frameShown(name);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        if (flags_.GameStopping) return;
        project_.reports().ShowErrorReport(" Unable to load the frame called '" + name +
                                           "'. Verify that the 'Initial Frame' exists and that the 'Go to "
                                           "another frame' option in the Hotspot "
                                           "Properties is linked to an existing frame. " +
                                           error.description());
    }
}

void FrameLoader::ReadSettings(FrameSettings& settings) {
    std::optional<std::string> text = project_.ReadTextFile(project_.paths.FramesPath + frame_.name + ".fme");
    if (!text) throw errors::FileNotFound();
    project::FieldReader reader(std::move(*text));
    ReadFrameSettings(reader, settings);
    frame_.TimerTransitionEnabled = settings.TimerTransitionEnabled;
    frame_.TimerTransitionDuration = settings.TimerTransitionDuration;
    frame_.TimerTransitionType = settings.TimerTransitionType;

    // Channel records 1 to 7 go to the channel table; a fading one sets the frame's fade duration.
    bool anyFade = false;
    for (size_t i = 0; i < settings.channels.size() && i < 7; ++i) {
        const ChannelRecord& record = settings.channels[i];
        ChannelEntry entry;
        entry.command = project::ToInteger(record.mode);
        entry.fade = project::ToBoolean(record.fade);
        entry.loop = project::ToBoolean(record.third);
        entry.level = project::ToDouble(record.level);
        entry.file = project::ToText(record.file);
        if (sounds_.ApplyChannelRecord(static_cast<int>(i + 1), entry) && entry.fade) anyFade = true;
    }
    if (anyFade) sounds_.SetFadeDuration(project::NumericValue(settings.channelFadeDurationMs) / 1000);
}

void FrameLoader::StartMusic(const FrameSettings& settings) {
    MediaPlayer& music = sounds_.Player(kMusicPlayer);
    if (settings.restartMusic) music.Stop();
    if (settings.music.empty()) return;
    // The same music as the frame before plays on undisturbed, unless the frame restarts it.
    std::string path = project_.LocateProjectFile(project_.paths.AreasPath + settings.music);
    if (sounds_.IsFilePlaying(path) && !settings.restartMusic) return;
    music.Stop();
    music.SetFileName(path);
    music.SetPlayCount(settings.musicLoops ? 0 : 1);
    music.SetVolume(VolumeToPlayerUnits(7));
    music.Play();
}

void FrameLoader::DrawBackground() {
    auto* surface = dynamic_cast<platform::PictureBox*>(form_.Find("PictureBox"));
    if (!surface) return;
    const FrameHeader& header = frame_.header;
    if (header.backgroundKind == 1 && header.tiled) {
        surface->picture.clear();
        services_.TileBackground(surface->canvas(), project_.LocateProjectFile(project_.paths.FramesPath +
                                                                               header.backgroundValue));
    } else if (header.backgroundKind == 1) {
        surface->backColor = platform::kBlack;
        if (platform::Canvas* canvas = surface->canvasIfAny()) canvas->Clear();
        surface->picture = project_.LocateProjectFile(project_.paths.FramesPath + header.backgroundValue);
    } else if (header.backgroundKind == 0) {
        surface->picture.clear();
        if (platform::Canvas* canvas = surface->canvasIfAny()) canvas->Clear();
        surface->backColor = static_cast<platform::ColorBgr>(project::Val(header.backgroundValue)) & 0xFFFFFF;
    }
}

bool FrameLoader::RunFrameScript(const FrameSettings& settings) {
    const project::ProjectInformation& info = project_.information;
    std::string pluginData = project::ToText(settings.pluginData);
    PluginFrameCode plugins = services_.CollectPluginFrameCode(pluginData);
    bool frameScript = settings.runFrameScript && !settings.frameScript.empty();
    bool projectScript = info.runFrameScript && !info.frameScript.empty();
    if (!frameScript && !projectScript && plugins.empty() && pluginData.empty()) return false;
    std::string code = (info.runFrameScript ? info.frameScript : "") + kCrLf + plugins.beforeScript + kCrLf +
                       plugins.data + kCrLf + (settings.runFrameScript ? settings.frameScript : "") + kCrLf +
                       plugins.afterScript;
    return services_.RunFrameScript(code);
}

void FrameLoader::PlayVideo(const FrameSettings& settings) {
    services_.HideMenus();
    flags_.StopMovie = false;
    if (settings.videoByPositionOnly) {
        video_.PlayMovieWithStop(settings.video, false, settings.videoLeft, settings.videoTop, 0, 0);
    } else if (settings.videoWithoutRectangle) {
        video_.PlayMovieWithStop(settings.video, false, 0, 0, 0, 0);
    } else {
        video_.PlayMovieWithStop(settings.video, true, settings.videoLeft, settings.videoTop,
                                 settings.videoWidth, settings.videoHeight);
    }
}

void FrameLoader::StartFrameTimer(const FrameSettings& settings) {
    if (!settings.timerOn) return;
    try {
        timerTag_ = settings.timerDestination;
        double intervalMs = project::NumericValue(settings.timerDelayMs);
        if (intervalMs < 0 || intervalMs > kMaxTimerIntervalMs)
            throw GameError(380, "Invalid property value");
        frameTimer_.SetEnabled(true);
        frameTimer_.SetIntervalMs(static_cast<int64_t>(intervalMs));
    } catch (const std::exception&) {
        project_.reports().ShowErrorReport(" Unable to load timer duration.");
    }
}

void FrameLoader::OpenWithTimerTransition(const std::string& name) {
    if (frame_.TimerTransitionEnabled) {
        services_.TransitionStep1(frame_.TimerTransitionType);
        OpenFrame(name, true, frame_.TimerTransitionType, frame_.TimerTransitionDuration / 1000.0);
    } else {
        OpenFrame(name, false, 0, 0);
    }
}

void FrameLoader::FrameTimerTick() {
    // 1. The change of frame waits while the inventory moves.
    if (services_.IsInventoryBusy()) return frameTimer_.SetIntervalMs(1000);
    // 2. A stopping game stops the timer.
    if (flags_.GameStopping) return frameTimer_.SetEnabled(false);
    // 3. Fades complete, then the destination. The timer is not stopped here: the next frame does it.
    sounds_.FadeStep(1.0);
    std::string destination = platform::FoldCase(timerTag_);
    if (destination.empty()) return;
    if (destination == "[quit]") return services_.StartUnloading();
    if (destination == "[last visited frame]") {
        if (history_.size() >= 2) OpenWithTimerTransition(history_.StepBack());
        return;
    }
    OpenWithTimerTransition(timerTag_);
}

}  // namespace taviro::frames
