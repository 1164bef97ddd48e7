#include "dialogues/dialogue.h"

#include <gtest/gtest.h>

#include "messages/message_strip.h"
#include "platform/clock.h"
#include "support/test_project.h"

namespace taviro::dialogues {
namespace {

using std::string;
using testing::FieldsLine;

// One line of a ".dlg" file.
struct LineSpec {
    string question;
    string answer;
    std::array<string, 3> scripts;
    int id = 0;
    bool visible = true;
    bool ends = false;
    std::array<int, 3> hotspots{};
    std::vector<int> show;
    std::vector<int> hide;
    double seconds = 0;
    bool timed = false;
};

// A line with its question and identifier, visible at the start; `edit` changes the rest.
LineSpec Line(const string& question, int id, const std::function<void(LineSpec&)>& edit = nullptr) {
    LineSpec line;
    line.question = question;
    line.id = id;
    if (edit) edit(line);
    return line;
}

string IdList(const std::vector<int>& ids) {
    string text = FieldsLine({double(ids.size())});
    for (int id : ids) text += FieldsLine({double(id)});
    return text;
}

string DialogueFile(const std::vector<LineSpec>& lines) {
    string text = FieldsLine({0.0, 0.0, 0.0, string(""), string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                  FieldsLine({double(lines.size())});
    for (const LineSpec& l : lines) {
        text += FieldsLine({l.question, l.answer, l.scripts[0], l.scripts[1], l.scripts[2], double(l.id),
                            l.visible, l.ends, double(l.hotspots[0]), double(l.hotspots[1]),
                            double(l.hotspots[2])}) +
                IdList(l.show) + IdList(l.hide) + FieldsLine({l.seconds, 0.0, 0.0, 0.0, l.timed, 0.0});
    }
    return text;
}

// Records what a choice does; a message shows for its usual time on the game clock.
struct RecordingServices : DialogueServices {
    explicit RecordingServices(platform::Clock& gameClock) : clock(gameClock) {}
    bool ExecuteVBScriptAndConsequences(const string& code, bool) override {
        log.push_back("script " + code);
        if (during) during(code);
        return false;
    }
    void MakeActionAndConsequences(int areaIndex, int objectIndex, bool keepDialogue) override {
        log.push_back("action " + std::to_string(areaIndex) + " " + std::to_string(objectIndex) + " " +
                      (keepDialogue ? "keep" : "quit"));
    }
    void ShowTextMessage(const string& text, bool inWindow, bool keep) override {
        log.push_back("message " + text + (inWindow ? " in window" : "") + (keep ? " kept" : "") + " at " +
                      std::to_string(clock.NowMs()));
        hiddenAtMs = keep ? INT64_MAX : clock.NowMs() + messages::MessageDurationMs(text);
        if (text == "[hide]") hiddenAtMs = 0;
    }
    bool IsMessageVisible() override { return clock.NowMs() < hiddenAtMs; }

    platform::Clock& clock;
    std::vector<string> log;
    std::function<void(const string&)> during;
    int64_t hiddenAtMs = 0;
};

struct DialogueFixture : ::testing::Test {
    DialogueFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        EXPECT_TRUE(test.Initialize());
        scene = &form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        scene->SetBounds({0, 0, 640, 480});
        dialogue.AddControls(*scene);
        frame.name = "Shop";
        frame.linksNumber = 3;
    }
    void Start(const std::vector<LineSpec>& lines) {
        test.Write("FramesData/Shop.dlg", DialogueFile(lines));
        dialogue.LoadAndStartDialogue("Shop");
    }
    // The captions of the panel's labels, top to bottom.
    std::vector<string> Shown() {
        std::vector<string> captions;
        if (!form.Find("fmeDialogue")->visible()) return captions;
        for (platform::Control* label : form.Elements("lblDialogue")) {
            if (label->visible()) captions.push_back(static_cast<platform::Label*>(label)->caption);
        }
        return captions;
    }
    void Click(const string& question) {
        for (platform::Control* label : form.Elements("lblDialogue")) {
            if (label->visible() && static_cast<platform::Label*>(label)->caption == question)
                return label->events.click(*label);
        }
        FAIL() << "no line " << question;
    }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    platform::Form form{"Game", 640, 480};
    frames::CurrentFrame frame;
    RecordingServices services{clock};
    Dialogue dialogue{*test.project, test.flags, form, loop, frame, services};
    platform::Control* scene = nullptr;
};

TEST_F(DialogueFixture, StartShowsTheVisibleLinesInTableOrderAlongTheBottom) {
    Start({Line("Hello?", 1), Line("Secret", 2, [](LineSpec& l) { l.visible = false; }), Line("Bye", 3)});
    EXPECT_TRUE(dialogue.running());
    EXPECT_EQ(dialogue.name(), "Shop");
    EXPECT_EQ(Shown(), (std::vector<string>{"Hello?", "Bye"}));
    const platform::Rect& panel = form.Find("fmeDialogue")->bounds();
    EXPECT_EQ(panel.y + panel.height, 480);
    EXPECT_EQ(panel.width, 640);
    EXPECT_LT(form.Find("lblDialogue", 1)->bounds().y, form.Find("lblDialogue", 3)->bounds().y);
}

TEST_F(DialogueFixture, FrameWithoutFileHasNoDialogue) {
    dialogue.LoadAndStartDialogue("Shop");
    EXPECT_FALSE(dialogue.running());
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(DialogueFixture, LineShowsAnotherAndHidesItself) {
    Start({Line("Ask", 1,
                [](LineSpec& l) {
                    l.show = {5};
                    l.hide = {1};
                }),
           Line("Other", 2), Line("Follow-up", 5, [](LineSpec& l) { l.visible = false; })});
    Click("Ask");
    EXPECT_EQ(Shown(), (std::vector<string>{"Other", "Follow-up"}));
    EXPECT_TRUE(dialogue.lines()[0].chosen);
    EXPECT_FALSE(dialogue.lines()[1].chosen);
}

TEST_F(DialogueFixture, ChosenLinesAreShownInTheirOwnColour) {
    Start({Line("Ask", 1), Line("Other", 2)});
    Click("Ask");
    auto colour = [&](int i) {
        return static_cast<platform::Label*>(form.Find("lblDialogue", i))->foreColor;
    };
    EXPECT_NE(colour(1), colour(2));
}

TEST_F(DialogueFixture, LineThatEndsTheDialogueStillRunsItsThirdScript) {
    Start({Line("Bye", 1,
                [](LineSpec& l) {
                    l.scripts = {"", "", "Third"};
                    l.ends = true;
                    l.show = {2};
                }),
           Line("Hidden", 2, [](LineSpec& l) { l.visible = false; })});
    Click("Bye");
    EXPECT_FALSE(dialogue.running());
    EXPECT_EQ(dialogue.name(), "");
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(services.log, std::vector<string>{"script Third"});
    EXPECT_FALSE(dialogue.lines()[1].visible);
}

TEST_F(DialogueFixture, ChoiceRunsScriptsActionsAndAnswerInOrder) {
    Start({Line("Q", 1, [](LineSpec& l) {
        l.answer = "A!";
        l.scripts = {"One", "Two", "Three"};
        l.hotspots = {2, 0, 4};
    })});
    Click("Q");
    EXPECT_EQ(services.log, (std::vector<string>{"script One", "action 2 0 keep", "script Two",
                                                 "message A! in window at 0", "script Three"}));
    // The untimed answer stayed until its strip hid: 70 ms per character and a second.
    EXPECT_GE(clock.NowMs(), 1140);
    EXPECT_LT(clock.NowMs(), 1160);
    EXPECT_EQ(Shown(), std::vector<string>{"Q"});
}

TEST_F(DialogueFixture, TimedAnswerStaysForItsDurationThenHides) {
    Start({Line("Q", 1, [](LineSpec& l) {
        l.answer = "Wait for it";
        l.scripts = {"", "", "After"};
        l.seconds = 2.5;
        l.timed = true;
    })});
    Click("Q");
    EXPECT_EQ(services.log, (std::vector<string>{"message Wait for it in window kept at 0",
                                                 "message [hide] in window at 2500", "script After"}));
}

TEST_F(DialogueFixture, TimedLineWithoutAnswerStillWaits) {
    Start({Line("Q", 1, [](LineSpec& l) {
        l.scripts = {"", "", "After"};
        l.seconds = 1;
        l.timed = true;
    })});
    Click("Q");
    EXPECT_EQ(services.log, std::vector<string>{"script After"});
    EXPECT_EQ(clock.NowMs(), 1000);
}

TEST_F(DialogueFixture, StoppingTheGameDuringTheAnswerEndsTheChoice) {
    Start({Line("Q", 1, [](LineSpec& l) {
        l.answer = "A";
        l.scripts = {"", "", "After"};
        l.seconds = 5;
        l.timed = true;
    })});
    platform::Timer stop(timers, [this] { test.flags.GameStopping = true; });
    stop.SetIntervalMs(1000);
    Click("Q");
    EXPECT_EQ(services.log.size(), 1u);  // the answer only
    EXPECT_LT(clock.NowMs(), 1100);
}

TEST_F(DialogueFixture, ScriptThatQuitsTheDialogueKeepsThePanelAway) {
    Start({Line("Q", 1, [](LineSpec& l) { l.scripts = {"Quit", "", ""}; })});
    services.during = [this](const string&) { dialogue.QuitCurrentDialogue(); };
    Click("Q");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(DialogueFixture, DamagedFileIsReportedAndStartsNothing) {
    test.Write("FramesData/Shop.dlg", DialogueFile({Line("Q", 1)}).substr(0, 60));
    dialogue.LoadAndStartDialogue("Shop");
    EXPECT_FALSE(dialogue.running());
    EXPECT_EQ(test.dialogs.shown().size(), 1u);
}

// Counts from the file are never trusted: a million lines announced is an overflow, and thirty
// thousand lines or shown identifiers announced with one given end in a read error, each reported.
TEST_F(DialogueFixture, CountsLargerThanTheFileAreReportedAndStartNothing) {
    const string file = DialogueFile({Line("Q", 1, [](LineSpec& l) { l.show = {2}; })});
    const size_t lineCount = file.find("\r\n1\r\n") + 2;
    const size_t showCount = file.find("\r\n1\r\n2\r\n") + 2;
    struct Case {
        size_t at;
        const char* count;
        const char* error;
    } cases[] = {{lineCount, "1000000", "Overflow"},
                 {lineCount, "32767", "Input past end of file"},
                 {showCount, "32767", "Input past end of file"}};
    size_t reports = test.dialogs.shown().size();
    for (const Case& damage : cases) {
        SCOPED_TRACE(damage.count);
        test.Write("FramesData/Shop.dlg", string(file).replace(damage.at, 1, damage.count));
        dialogue.LoadAndStartDialogue("Shop");
        EXPECT_FALSE(dialogue.running());
        ASSERT_EQ(test.dialogs.shown().size(), ++reports);
        EXPECT_TRUE(test.dialogs.shown().back().request.text.ends_with(damage.error))
            << test.dialogs.shown().back().request.text;
    }
}

}  // namespace
}  // namespace taviro::dialogues
