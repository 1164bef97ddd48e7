// The order of an action's effects is fixed; the numbered steps follow it.
#include "logic/actions.h"

#include "frames/frame_files.h"
#include "platform/game_error.h"

namespace taviro::logic {
namespace {

const std::string kLastVisitedFrame = "last visited frame";

// Effects that happen while the record is read.
class ReadingEffects : public ActionEffects {
public:
    ReadingEffects(ProjectVariables& variables, frames::SoundSystem& sounds, ActionServices& services,
                   const frames::CurrentFrame& frame, int areaIndex, int objectIndex)
        : variables_(variables),
          sounds_(sounds),
          services_(services),
          frame_(frame),
          areaIndex_(areaIndex),
          objectIndex_(objectIndex) {}

    void ChangeVariable(const std::string& name, int16_t value) override {
        variables_.ChangeVariableValue(name, value, false);
    }
    void RemoveAfterUse() override {
        if (objectIndex_ != 0) {
            services_.RemovePickedObject(objectIndex_);
        } else {
            variables_.Disappear.Add(frame_.name, static_cast<int16_t>(areaIndex_), "");
        }
    }
    void StopMusic() override { sounds_.ChannelPlayer(frames::kMusicPlayer).Stop(); }
    void StopAllSounds() override { sounds_.StopAnyWavOrMP3(); }
    void SetFadeDuration(double seconds) override { sounds_.SetFadeDuration(seconds); }
    void SetChannel(int entry, const ChannelEntry& channel) override {
        sounds_.SetChannelEntry(entry, channel);
    }

private:
    ProjectVariables& variables_;
    frames::SoundSystem& sounds_;
    ActionServices& services_;
    const frames::CurrentFrame& frame_;
    int areaIndex_;
    int objectIndex_;
};

void StartOnPlayer(frames::MediaPlayer& player, const std::string& path, int playCount,
                   int volumeHundredthsDb) {
    player.Stop();
    player.SetFileName(path);
    player.SetPlayCount(playCount);
    player.SetVolume(volumeHundredthsDb);
    player.Play();
}

}  // namespace

void StopEverything(GameFlags& flags) {
    flags.GameStopping = true;
    flags.StopMovie = true;
    flags.bInterruptTransition = true;
}

Actions::Actions(project::Project& project, GameFlags& flags, ProjectVariables& variables,
                 frames::FramesHistory& history, const frames::CurrentFrame& frame, ActionRequests& requests,
                 frames::SoundSystem& sounds, frames::VideoSystem& video, ActionServices& services)
    : project_(project),
      flags_(flags),
      variables_(variables),
      history_(history),
      frame_(frame),
      requests_(requests),
      sounds_(sounds),
      video_(video),
      services_(services) {}

ActionResult Actions::MakeAction(int areaIndex, int objectIndex, bool bDoNotQuitDialogue) {
    auto stopping = [this] { return flags_.GameStopping; };
    try {
        // 1. A new action skips any wait and transition, and the game is no longer stopping.
        flags_.StopMovie = true;
        flags_.bInterruptTransition = true;
        flags_.GameStopping = false;

        // 2. The record: by position for a click, by key for a dropped item.
        const std::string file = objectIndex == 0
                                     ? frames::MergedOrPlainFile(project_, frame_.name, ".mr3", ".fm3")
                                     : project_.paths.FramesDataPath + frame_.name + ".fm0";
        std::optional<std::string> text = project_.ReadTextFile(file);
        if (!text) return ActionResult::Nothing;
        project::FieldReader reader(std::move(*text));
        bool found =
            objectIndex == 0
                ? SeekHotspotAction(reader, areaIndex)
                : SeekDroppedItemAction(reader, areaIndex, services_.PickedObjectName(objectIndex), stopping);
        if (!found) return ActionResult::Nothing;

        // 3-10. Read the record; variables, removal, stopped sounds and channels change as it is read.
        ReadingEffects effects(variables_, sounds_, services_, frame_, areaIndex, objectIndex);
        ActionRecord action = ReadActionFields(reader, effects);
        if (action.quit) return ActionResult::Quit;

        // 11. The file is done with.
        if (stopping()) return ActionResult::Nothing;

        // 12. The action's script.
        requests_.ResetModule();
        std::string pluginScript = services_.ExpandPluginCalls(action.pluginText);
        if (!pluginScript.empty() || (action.appendScript && !action.script.empty())) {
            requests_.iHotspotNumber = static_cast<int16_t>(areaIndex);
            services_.ExecuteVBScript(pluginScript + "\r\n" + (action.appendScript ? action.script : ""),
                                      false);
            if (requests_.bStopGame) return ActionResult::Quit;
        }

        // 13. An item for the inventory.
        if (action.addItem) services_.AddPickedObject(action.itemName, false);
        if (stopping()) return ActionResult::Nothing;

        // 14. Music and sound. Music that still plays is replaced only when the action stopped it.
        if (action.playMusic && !action.musicFile.empty()) {
            frames::MediaPlayer& music = sounds_.ChannelPlayer(frames::kMusicPlayer);
            if (music.GetPlayState() != frames::PlayState::Playing || action.stopMusic) {
                StartOnPlayer(music, project_.LocateProjectFile(project_.paths.AreasPath + action.musicFile),
                              action.musicLoops ? 0 : 1, frames::VolumeToPlayerUnits(7));
            }
        }
        if (action.playSound) {
            StartOnPlayer(sounds_.ChannelPlayer(frames::kFrameSoundPlayer),
                          project_.LocateProjectFile(project_.paths.FramesPath + action.soundFile), 1,
                          frames::VolumeToPlayerUnits(8));
        } else if (action.stopFrameSound && !action.stopAllSounds) {
            sounds_.ChannelPlayer(frames::kFrameSoundPlayer).Stop();
        }
        if (stopping()) return ActionResult::Nothing;

        // 15. The hotspot's own sound channels.
        if (objectIndex == 0 && !action.stopAllSounds) PlaySoundChannelsOfHotspot(areaIndex);

        // 16. Channels fade now unless a new frame follows, which fades them itself.
        auto frameChangeFollows = [&] {
            return !requests_.sFrameToLoad.empty() || action.openFrame ||
                   (action.returnToLastFrame && history_.size() >= 2);
        };
        if (action.playVideo || !frameChangeFollows()) {
            sounds_.StartChannels();
            sounds_.EnableFadeTimer();
        }
        if (stopping()) return ActionResult::Nothing;

        // 17. The video.
        if (action.playVideo) {
            services_.HideMenus();
            if (!action.videoPlacement) {
                video_.PlayMovieWithStop(action.videoFile, false, action.videoLeft, action.videoTop, 0, 0);
            } else if (!action.videoStretched) {
                video_.PlayMovieWithStop(action.videoFile, false, 0, 0, 0, 0);
            } else {
                video_.PlayMovieWithStop(action.videoFile, true, action.videoLeft, action.videoTop,
                                         action.videoWidth, action.videoHeight);
            }
        }

        // 18. Variables and removed hotspots may have changed.
        services_.ShowOrNotShowAreas();
        if (stopping()) return ActionResult::Nothing;

        // 19. The message.
        if (action.showMessage) services_.ShowTextMessage(action.messageText, action.messageInWindow, false);
        if (stopping()) return ActionResult::Nothing;

        // 20. Wait for the video; a change of frame then completes the fade at once.
        if (action.playVideo) {
            services_.WaitForOneTimeVideo();
            flags_.StopMovie = false;
            if (frameChangeFollows()) sounds_.FadeStep(1.0);
        }
        if (stopping()) return ActionResult::Nothing;

        // 21. A script may ask for the last visited frame.
        ResolveLastVisitedFrame();

        // 22. The change of frame: the script's request wins over the action's frame, which wins over going
        // back.
        ActionResult result = ActionResult::Nothing;
        if (!requests_.sFrameToLoad.empty()) {
            if (!bDoNotQuitDialogue) services_.QuitCurrentDialogue();
            OpenRequestedFrame(requests_.sFrameToLoad, requests_.dTransDuration != 0,
                               requests_.iTransitionNumber, requests_.dTransDuration);
            result = ActionResult::FrameOpened;
        } else if (action.openFrame) {
            if (!bDoNotQuitDialogue) services_.QuitCurrentDialogue();
            OpenRequestedFrame(action.frameName, action.withTransition, action.transitionNumber,
                               action.transitionDurationMs / 1000);
            result = ActionResult::FrameOpened;
        } else if (action.returnToLastFrame && history_.size() >= 2) {
            if (!bDoNotQuitDialogue) services_.QuitCurrentDialogue();
            std::string previous = history_.StepBack();
            OpenRequestedFrame(previous, action.withTransition, action.transitionNumber,
                               action.transitionDurationMs / 1000);
            result = ActionResult::FrameOpened;
        }

        // 23. Without a new frame, the timed events go on and the requested dialogs open.
        if (result != ActionResult::FrameOpened) {
            services_.StartTimedEvents();
            if (requests_.bPopupLoadGame) {
                services_.ShowLoadGameWindow(false);
            } else if (requests_.bPopupSaveGame) {
                services_.ShowSaveGameWindow();
            }
        }
        return result;
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        if (!flags_.GameStopping) {
            project_.reports().ShowErrorReport(" Unable to make the action associated with the hotspot #" +
                                               std::to_string(areaIndex) + ". " + error.description());
        }
        return ActionResult::Nothing;
    }
}

void Actions::PlaySoundChannelsOfHotspot(int areaIndex) {
    std::optional<std::string> text =
        project_.ReadTextFile(project_.paths.FramesDataPath + frame_.name + ".fm5");
    if (!text) return;
    project::FieldReader reader(std::move(*text));
    while (!reader.AtEnd()) {
        reader.Skip();
        if (reader.ReadInteger() == areaIndex) {
            reader.Skip(8);
            sounds_.PlaySoundChannels(reader);
            return;
        }
        reader.SkipRecord();
    }
}

void Actions::OpenRequestedFrame(const std::string& name, bool withTransition, int transitionNumber,
                                 double durationSeconds) {
    if (withTransition) {
        services_.TransitionStep1(transitionNumber);
        services_.OpenFrame(name, true, transitionNumber, durationSeconds);
    } else {
        services_.OpenFrame(name, false, 0, 0);
    }
}

void Actions::ResolveLastVisitedFrame() {
    if (platform::FoldCase(requests_.sFrameToLoad) == kLastVisitedFrame)
        requests_.sFrameToLoad = history_.StepBack();
}

void Actions::MakeActionAndConsequences(int areaIndex, int objectIndex, bool bDoNotQuitDialogue) {
    ActionResult result = MakeAction(areaIndex, objectIndex, bDoNotQuitDialogue);
    video_.StopOneTimeVideoPlayer();
    if (result == ActionResult::Quit) services_.StartUnloading();
}

void Actions::ExecuteConsequences() {
    // 1. Hotspots follow what the script changed.
    services_.ShowOrNotShowAreas();
    // 2. Quitting.
    if (requests_.bStopGame) return services_.StartUnloading();
    // 3-4. The frame the script asked for, or the timed events go on.
    ResolveLastVisitedFrame();
    if (!requests_.sFrameToLoad.empty()) {
        OpenRequestedFrame(requests_.sFrameToLoad, requests_.dTransDuration != 0, requests_.iTransitionNumber,
                           requests_.dTransDuration);
    } else {
        services_.StartTimedEvents();
    }
    // 5. The dialogs it asked for.
    if (requests_.bPopupLoadGame) {
        services_.ShowLoadGameWindow(false);
    } else if (requests_.bPopupSaveGame) {
        services_.ShowSaveGameWindow();
    }
}

bool Actions::ExecuteVBScriptAndConsequences(const std::string& code, bool flag) {
    requests_.ResetModule();
    bool failed = services_.ExecuteVBScript(code, flag);
    if (!failed) ExecuteConsequences();
    return failed;
}

}  // namespace taviro::logic
