// The running dialogue and the choice of a line, in the order its steps are numbered.
#include "dialogues/dialogue.h"

#include <algorithm>

#include "frames/frame_files.h"
#include "platform/game_error.h"

namespace taviro::dialogues {
namespace {

constexpr char kPanel[] = "fmeDialogue";
constexpr char kLine[] = "lblDialogue";
constexpr int kPanelPadding = 8;
constexpr int kLineMargin = 16;
constexpr int kLineHeight = 22;
constexpr int64_t kPollMs = 10;                            // how often a wait looks at what it waits for
constexpr platform::ColorBgr kPanelColor = 0x301C10;       // a deep blue
constexpr platform::ColorBgr kLineColor = 0x9CF0FF;        // a light gold
constexpr platform::ColorBgr kChosenLineColor = 0xB0A8A0;  // a quiet grey

}  // namespace

Dialogue::Dialogue(project::Project& project, GameFlags& flags, platform::Form& form,
                   platform::EventLoop& loop, const frames::CurrentFrame& frame, DialogueServices& services)
    : project_(project), flags_(flags), form_(form), loop_(loop), frame_(frame), services_(services) {}

void Dialogue::AddControls(platform::Control& scene) {
    scene_ = &scene;
    auto panel = std::make_unique<platform::Container>(kPanel);
    panel->transparent = false;
    panel->backColor = kPanelColor;
    panel->SetVisible(false);
    panel_ = static_cast<platform::Container*>(&form_.Add(std::move(panel)));

    auto line = std::make_unique<platform::Label>(kLine, 0);
    line->font = {.name = "Arial", .sizePoints = 11, .bold = true};
    line->transparent = true;
    line->wordWrap = true;
    line->SetVisible(false);
    line->events.click = [this](platform::Control& label) {
        // Choosing redraws the panel, which unloads this label and its handler: only locals from here.
        Dialogue& dialogue = *this;
        int number = label.index().value_or(0);
        dialogue.ChooseLine(number);
    };
    panel_->Add(std::move(line));
}

void Dialogue::LoadAndStartDialogue(const std::string& frameName) {
    ++loads_;
    lines_.clear();
    try {
        std::optional<std::string> text =
            project_.ReadTextFile(project_.paths.FramesDataPath + frameName + ".dlg");
        if (!text) return;
        project::FieldReader reader(std::move(*text));
        lines_ = ReadDialogueFile(reader);
        running_ = true;
        name_ = frameName;
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        lines_.clear();
        project_.reports().ShowErrorReport(" Unable to load the dialogue of the frame '" + frameName + "'. " +
                                           error.description());
        return;
    }
    RuntimeDisplayQuestions();
}

void Dialogue::RuntimeDisplayQuestions() {
    try {
        frames::UnloadRunTimeElements(form_, kLine);
        const platform::Rect& scene = scene_->bounds();
        const int width = scene.width - 2 * kLineMargin;
        int y = kPanelPadding;
        for (size_t i = 0; i < lines_.size(); ++i) {
            const DialogueLine& line = lines_[i];
            if (!line.visible) continue;
            auto& label = static_cast<platform::Label&>(form_.Load(kLine, static_cast<int>(i + 1)));
            label.foreColor = line.chosen ? kChosenLineColor : kLineColor;
            label.SetBounds({kLineMargin, y, width, kLineHeight});
            label.autoSize = true;
            label.Set("Caption", line.question);
            label.SetBounds({kLineMargin, y, width, std::max(label.bounds().height, kLineHeight)});
            label.SetVisible(true);
            y += label.bounds().height;
        }
        const int height = std::min(y + kPanelPadding, scene.height);
        panel_->SetBounds({scene.x, scene.y + scene.height - height, scene.width, height});
        panel_->SetVisible(running_ && y > kPanelPadding);
        if (panel_->visible()) panel_->BringToFront();
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        project_.reports().ShowErrorReport(" Error in RuntimeDisplayQuestions. " + error.description());
    }
}

void Dialogue::QuitCurrentDialogue() {
    if (panel_) panel_->SetVisible(false);
    running_ = false;
    name_.clear();
}

bool Dialogue::WaitWithEvents(int64_t durationMs) {
    const int64_t endMs = loop_.clock().NowMs() + durationMs;
    for (int64_t nowMs = loop_.clock().NowMs(); nowMs < endMs; nowMs = loop_.clock().NowMs()) {
        if (flags_.GameStopping || loop_.quitRequested()) return false;
        loop_.WaitMs(std::min(kPollMs, endMs - nowMs));
    }
    return !flags_.GameStopping;
}

void Dialogue::RunScriptAndAction(const DialogueLine& line, int k) {
    if (!line.scripts[static_cast<size_t>(k)].empty())
        services_.ExecuteVBScriptAndConsequences(line.scripts[static_cast<size_t>(k)], true);
    const int hotspot = line.hotspots[static_cast<size_t>(k)];
    if (hotspot >= 1 && hotspot <= frame_.linksNumber) services_.MakeActionAndConsequences(hotspot, 0, true);
}

void Dialogue::ChooseLine(int number) {
    if (number < 1 || static_cast<size_t>(number) > lines_.size()) return;
    // The line as it was chosen: what it runs may load another frame's dialogue into the table.
    const uint64_t table = loads_;
    lines_[static_cast<size_t>(number - 1)].chosen = true;
    const DialogueLine line = lines_[static_cast<size_t>(number - 1)];
    // 1.
    panel_->SetVisible(false);
    // 2-4. The first and second scripts and actions.
    RunScriptAndAction(line, 0);
    RunScriptAndAction(line, 1);
    // 5. The answer, for its time or until its strip hides.
    if (line.answerTimed) {
        if (!line.answer.empty()) services_.ShowTextMessage(line.answer, true, true);
        if (!WaitWithEvents(static_cast<int64_t>(line.answerSeconds * 1000))) return;
        if (!line.answer.empty()) services_.ShowTextMessage("[hide]", true, false);
    } else if (!line.answer.empty()) {
        services_.ShowTextMessage(line.answer, true, false);
        while (services_.IsMessageVisible() && !flags_.GameStopping && !loop_.quitRequested())
            loop_.WaitMs(kPollMs);
    }
    // 6. A line may end the dialogue.
    if (!flags_.GameStopping && line.endsDialogue) QuitCurrentDialogue();
    // 7. The third script and action, even after the end.
    if (!flags_.GameStopping) RunScriptAndAction(line, 2);
    if (flags_.GameStopping || line.endsDialogue || !running_ || table != loads_) return;
    // 8. Lines shown and hidden by this one.
    for (DialogueLine& other : lines_) {
        if (std::find(line.showIds.begin(), line.showIds.end(), other.id) != line.showIds.end())
            other.visible = true;
    }
    for (DialogueLine& other : lines_) {
        if (std::find(line.hideIds.begin(), line.hideIds.end(), other.id) != line.hideIds.end())
            other.visible = false;
    }
    // 9.
    RuntimeDisplayQuestions();
}

}  // namespace taviro::dialogues
