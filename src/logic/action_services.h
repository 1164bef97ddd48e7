// What carrying out an action asks of the rest of the game, one call per mechanism: inventory,
// sounds, video, hotspots, messages, scripts, dialogues, transitions, frames, timed events, saved
// games and quitting. The game window implements it with the subsystems it owns.
#pragma once

#include <string>

#include "frames/media_player.h"
#include "logic/action_record.h"
#include "project/field_reader.h"

namespace taviro::logic {

class ActionServices {
public:
    virtual ~ActionServices() = default;

    // Inventory.
    virtual std::string PickedObjectName(int objectIndex) = 0;
    virtual void RemovePickedObject(int objectIndex) = 0;
    virtual void AddPickedObject(const std::string& name, bool doNotPopup) = 0;
    virtual void HideMenus() = 0;

    // Sounds: the media player of a sound-channel entry (6 = music, 7 = sound), the channel table.
    virtual frames::MediaPlayer& ChannelPlayer(int entry) = 0;
    virtual void StopAnyWavOrMP3() = 0;
    // Throws GameError for an entry the table does not have.
    virtual void SetChannelEntry(int entry, const ChannelEntry& channel) = 0;
    virtual void SetFadeDuration(double seconds) = 0;
    // Reads a sound-channel block from a file positioned at it, and plays it.
    virtual void PlaySoundChannels(project::FieldReader& file) = 0;
    virtual void StartChannelFade() = 0;
    // Applies the running fade at a progress of 0..1; 1 completes it.
    virtual void FadeStep(double progress) = 0;

    // The one-time video, played over the frame.
    virtual void PlayMovieWithStop(const std::string& file, bool stretched, int left, int top, int width,
                                   int height) = 0;
    // Lets events run while the one-time video plays and nobody skips it. Pumps events.
    virtual void WaitForOneTimeVideo() = 0;
    virtual void StopOneTimeVideoPlayer() = 0;

    // Hotspots and messages.
    virtual void ShowOrNotShowAreas() = 0;
    virtual void ShowTextMessage(const std::string& text, bool inWindow, bool fromScript) = 0;

    // Scripts: runs author code; true when it failed and the failure was reported. Pumps events.
    virtual bool ExecuteVBScript(const std::string& code, bool resetLastClickPosition) = 0;
    // The script text that a plugin-action text stands for; "" when there is none.
    virtual std::string ExpandPluginCalls(const std::string& pluginText) = 0;

    // Frames and what goes with a change of frame.
    virtual void QuitCurrentDialogue() = 0;
    virtual void TransitionStep1(int transitionNumber) = 0;
    virtual void OpenFrame(const std::string& name, bool withTransition, int transitionNumber,
                           double durationSeconds) = 0;
    virtual void StartTimedEvents() = 0;

    // Saved games and quitting.
    virtual void ShowLoadGameWindow(bool fromMenu) = 0;
    virtual void ShowSaveGameWindow() = 0;
    virtual void StartUnloading() = 0;
};

}  // namespace taviro::logic
