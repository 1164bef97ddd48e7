// Hotspot actions and their consequences: what a click on a hotspot, an item dropped on it, or a
// script run outside an action makes the game do.
#pragma once

#include <string>

#include "frames/current_frame.h"
#include "frames/frames_history.h"
#include "frames/sound_system.h"
#include "frames/video_system.h"
#include "logic/action_record.h"
#include "logic/action_requests.h"
#include "logic/action_services.h"
#include "logic/variables.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::logic {

enum class ActionResult { Nothing = 0, Quit = 1, FrameOpened = 2 };

// Stops the game at once: every later checkpoint of a running action returns, waits end, and no
// script runs until a new action starts.
void StopEverything(GameFlags& flags);

class Actions {
public:
    Actions(project::Project& project, GameFlags& flags, ProjectVariables& variables,
            frames::FramesHistory& history, const frames::CurrentFrame& frame, ActionRequests& requests,
            frames::SoundSystem& sounds, frames::VideoSystem& video, ActionServices& services);

    // Carries out the action of hotspot areaIndex, or of item objectIndex (not 0) dropped on it.
    // Failures are reported; effects done before them stay. May pump events.
    ActionResult MakeAction(int areaIndex, int objectIndex, bool bDoNotQuitDialogue);

    // MakeAction, then the one-time video stops and a requested quit starts.
    void MakeActionAndConsequences(int areaIndex, int objectIndex, bool bDoNotQuitDialogue);

    // Carries out what a script run outside an action left on the Action object.
    void ExecuteConsequences();

    // Resets the requests, runs the code and carries out its consequences; true when it failed.
    bool ExecuteVBScriptAndConsequences(const std::string& code, bool flag);

private:
    // The frame change that follows a script's request, the action's frame or going back.
    void OpenRequestedFrame(const std::string& name, bool withTransition, int transitionNumber,
                            double durationSeconds);
    // A script may name "last visited frame": it becomes the frame before the current one.
    void ResolveLastVisitedFrame();
    void PlaySoundChannelsOfHotspot(int areaIndex);

    project::Project& project_;
    GameFlags& flags_;
    ProjectVariables& variables_;
    frames::FramesHistory& history_;
    const frames::CurrentFrame& frame_;
    ActionRequests& requests_;
    frames::SoundSystem& sounds_;
    frames::VideoSystem& video_;
    ActionServices& services_;
};

}  // namespace taviro::logic
