// The dialogue of a frame: its lines in a panel over the scene (fmeDialogue, one label lblDialogue(i)
// per visible line, element i for line i), and what choosing a line does: scripts, hotspot actions, the
// answer, the lines it shows and hides, and the end of the dialogue.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialogues/dialogue_file.h"
#include "frames/current_frame.h"
#include "platform/controls/form.h"
#include "platform/events/event_loop.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::dialogues {

// What choosing a line asks of the rest of the game.
class DialogueServices {
public:
    virtual ~DialogueServices() = default;
    // Runs author code with fresh Action requests and carries out its consequences; true when it failed.
    virtual bool ExecuteVBScriptAndConsequences(const std::string& code, bool flag) = 0;
    // A hotspot's action on behalf of the dialogue: a frame change does not end it.
    virtual void MakeActionAndConsequences(int areaIndex, int objectIndex, bool bDoNotQuitDialogue) = 0;
    virtual void ShowTextMessage(const std::string& text, bool bInsideWindow, bool bKeep) = 0;
    virtual bool IsMessageVisible() = 0;
};

class Dialogue {
public:
    Dialogue(project::Project& project, GameFlags& flags, platform::Form& form, platform::EventLoop& loop,
             const frames::CurrentFrame& frame, DialogueServices& services);

    // Creates the panel and its label template over the scene; the scene must stay as long as the panel.
    void AddControls(platform::Control& scene);

    // Reads the frame's ".dlg" and shows its visible lines; without the file the table is empty and
    // nothing shows. Failures are reported.
    void LoadAndStartDialogue(const std::string& frameName);
    // Shows one label per visible line, chosen lines in their own colour. Failures are reported.
    void RuntimeDisplayQuestions();
    // What a click on line `number` (1-based) does. Pumps events while the answer shows.
    void ChooseLine(int number);
    // Ends the dialogue: the panel goes, the flag and the name are cleared.
    void QuitCurrentDialogue();

    bool running() const { return running_; }
    // The running dialogue's name: the frame that owns it.
    const std::string& name() const { return name_; }
    const std::vector<DialogueLine>& lines() const { return lines_; }

private:
    // Runs script k and hotspot action k of a line (0-based k).
    void RunScriptAndAction(const DialogueLine& line, int k);
    // Waits while events run; false when the game stops (or quits) first.
    bool WaitWithEvents(int64_t durationMs);

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    platform::EventLoop& loop_;
    const frames::CurrentFrame& frame_;
    DialogueServices& services_;
    platform::Control* scene_ = nullptr;
    platform::Container* panel_ = nullptr;
    std::vector<DialogueLine> lines_;
    bool running_ = false;
    std::string name_;
    // Counts loaded tables, so that a choice whose actions started another dialogue leaves it alone.
    uint64_t loads_ = 0;
};

}  // namespace taviro::dialogues
