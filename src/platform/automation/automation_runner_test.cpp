#include "platform/automation/automation_runner.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "platform/automation/state_dump.h"
#include "platform/game_error.h"
#include "platform/log.h"

namespace taviro::platform {
namespace {

// Records what automation asked for, as text.
struct FakeHost : AutomationHost {
    std::vector<std::string> calls;
    DialogHistory history;
    StateDump state;
    bool quit = false;
    int64_t clockMs = 0;

    static std::string At(Point p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    void Wait(int64_t ms) override { clockMs += ms; }
    void Pump() override {}
    void MouseMove(Point at) override { calls.push_back("move " + At(at)); }
    void MouseDown(Point at, int b) override { calls.push_back("down " + At(at) + " " + std::to_string(b)); }
    void MouseUp(Point at, int b) override { calls.push_back("up " + At(at) + " " + std::to_string(b)); }
    void DoubleClick(Point at) override { calls.push_back("dbl " + At(at)); }
    void Wheel(Point at, int notches) override {
        calls.push_back("wheel " + At(at) + " " + std::to_string(notches));
    }
    void Key(int key, int shift) override {
        calls.push_back("key " + std::to_string(key) + " " + std::to_string(shift));
    }
    void Text(const std::string& text) override { calls.push_back("text " + text); }
    std::optional<std::string> Press(const std::string& caption) override {
        if (caption == "OK") return std::nullopt;
        return "nothing to press with the caption " + caption;
    }
    std::optional<std::string> Select(const std::string&) override { return std::nullopt; }
    std::optional<std::string> Menu(const std::vector<std::string>& path) override {
        calls.push_back("menu " + path.front() + ">" + path.back());
        return std::nullopt;
    }
    DialogHistory& dialogHistory() override { return history; }
    void Screenshot(const std::string& file) override {
        if (file.empty() || file[0] != '/') throw errors::PathFileAccessError();
        calls.push_back("screenshot " + file);
    }
    nlohmann::ordered_json State() override { return state.Collect(); }
    void Quit() override { quit = true; }
    bool quitRequested() const override { return quit; }
};

AutomationRunner::Outcome RunText(FakeHost& host, const std::string& text, std::ostream& out) {
    auto parsed = ParseAutomation(text);
    if (auto* error = std::get_if<AutomationError>(&parsed)) return {2, error->message};
    return AutomationRunner(host, out).Run(std::get<std::vector<AutomationCommand>>(parsed));
}

TEST(AutomationRunner, ClicksAndDragsBecomeMouseInputAtTheGivenPoints) {
    FakeHost host;
    std::ostringstream out;
    auto outcome = RunText(host, "click 5 6 right\ndrag 0 0 80 16\nkey q ctrl\ntext hi\n", out);
    EXPECT_EQ(outcome.exitStatus, 0);
    std::vector<std::string> expected = {"move 5,6", "down 5,6 2", "up 5,6 2", "move 0,0", "down 0,0 1"};
    for (int step = 1; step <= 8; ++step)
        expected.push_back("move " + std::to_string(10 * step) + "," + std::to_string(2 * step));
    expected.insert(expected.end(), {"up 80,16 1", "key 81 2", "text hi"});
    EXPECT_EQ(host.calls, expected);
}

TEST(AutomationRunner, AnswersAreQueuedForTheNextDialogsInOrder) {
    FakeHost host;
    std::ostringstream out;
    RunText(host, "answer No\nanswer Cancel\ninput Alice\ninput-cancel\n", out);
    EXPECT_EQ(host.history.TakeAnswer(), MessageAnswer::No);
    EXPECT_EQ(host.history.TakeAnswer(), MessageAnswer::Cancel);
    EXPECT_EQ(host.history.TakeAnswer(), std::nullopt);
    EXPECT_EQ(host.history.TakeInput(), std::optional<std::optional<std::string>>("Alice"));
    EXPECT_EQ(host.history.TakeInput(), std::make_optional(std::optional<std::string>()));  // cancel
    EXPECT_EQ(host.history.TakeInput(), std::nullopt);
}

TEST(AutomationRunner, StateGoesToStandardOutputWithEveryContributedKey) {
    FakeHost host;
    host.state.Contribute("clock_ms", [&] { return nlohmann::ordered_json(host.clockMs); });
    host.state.Contribute("windows", [] { return nlohmann::ordered_json::array({"game"}); });
    std::ostringstream out;
    RunText(host, "wait 250\nstate -\n", out);
    auto state = nlohmann::json::parse(out.str());
    EXPECT_EQ(state["clock_ms"], 250);
    EXPECT_EQ(state["windows"][0], "game");
    EXPECT_EQ(host.state.Collect().begin().key(), "clock_ms");
}

TEST(AutomationRunner, TextThatIsNotUtf8IsDumpedWithReplacementCharacters) {
    FakeHost host;
    host.state.Contribute("caption", [] { return nlohmann::ordered_json("caf\xff"); });
    std::ostringstream out;
    EXPECT_EQ(RunText(host, "state -\n", out).exitStatus, 0);
    EXPECT_EQ(nlohmann::json::parse(out.str())["caption"], "caf\xef\xbf\xbd");
}

TEST(AutomationRunner, QuitStopsBeforeTheRemainingCommands) {
    FakeHost host;
    std::ostringstream out;
    EXPECT_EQ(RunText(host, "move 1 1\nquit\nmove 2 2\n", out).exitStatus, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"move 1,1"}));
}

TEST(AutomationRunner, ACommandThatCannotBeCarriedOutStopsWithItsLine) {
    FakeHost host;
    std::ostringstream out;
    auto outcome = RunText(host, "press OK\n\npress Fly away\nmove 1 1\n", out);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(outcome.message, "line 3: nothing to press with the caption Fly away");
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(RunText(host, "screenshot relative.png", out).message,
              "line 1: cannot write the screenshot relative.png");
}

TEST(AutomationRunner, AfterKeepGoingAFailedCommandIsSkippedAndTheRestRuns) {
    FakeHost host;
    std::ostringstream out;
    log::SetQuiet(true);
    auto outcome = RunText(host, "press Fly away\nkeep-going\npress Fly away\nmove 1 1\n", out);
    EXPECT_EQ(outcome.exitStatus, 1);  // before keep-going a failure still ends the run
    outcome = RunText(host, "keep-going\npress Fly away\nmenu Game/Exit\npress Swim\nmove 1 1\n", out);
    log::SetQuiet(false);
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"menu Game>Exit", "move 1,1"}));
    EXPECT_EQ(ParseAutomation("keep-going now").index(), 1u);
}

TEST(AutomationRunner, LinesFromAStreamRunUntilAMalformedOne) {
    FakeHost host;
    std::ostringstream out;
    std::istringstream in("move 1 2\n# note\nclick nowhere\nmove 3 4\n");
    auto outcome = AutomationRunner(host, out).RunLines(in);
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_EQ(outcome.message.substr(0, 8), "line 3: ");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"move 1,2"}));
}

TEST(DialogHistory, RecordsEveryBoxWithItsAnswerForTheStateDump) {
    DialogHistory history;
    history.RecordMessageBox(
        {"Door", "It is locked.\nFind a key.", MessageIcon::Exclamation, MessageButtons::YesNo},
        MessageAnswer::No);
    history.RecordInputBox("Name", "Who are you?", std::nullopt);
    auto json = history.Json();
    ASSERT_EQ(json.size(), 2u);
    EXPECT_EQ(json[0]["title"], "Door");
    EXPECT_EQ(json[0]["text"], "It is locked.\nFind a key.");
    EXPECT_EQ(json[0]["icon"], "exclamation");
    EXPECT_EQ(json[0]["buttons"], "YesNo");
    EXPECT_EQ(json[0]["answer"], "No");
    EXPECT_EQ(json[1]["kind"], "input");
    EXPECT_EQ(json[1]["cancelled"], true);
}

TEST(DialogHistory, KeepsOnlyTheLatestThousandBoxes) {
    DialogHistory history;
    for (int i = 1; i <= 1500; ++i)
        history.RecordMessageBox({"Box", std::to_string(i), MessageIcon::None, MessageButtons::Ok},
                                 MessageAnswer::Ok);
    auto json = history.Json();
    ASSERT_EQ(json.size(), 1000u);
    EXPECT_EQ(json.front()["text"], "501");
    EXPECT_EQ(json.back()["text"], "1500");
}

TEST(AutomationRunner, AWaitOfTheGameRunsTheNextCommandsAndTheRunGoesOnAfterThem) {
    std::ostringstream out;
    auto parsed = std::get<std::vector<AutomationCommand>>(
        ParseAutomation("key A\nwait 100\nscreenshot /a.png\nkey B\nscreenshot /b.png\n"));
    struct KeyHost : FakeHost {
        AutomationRunner* runner = nullptr;
        std::vector<bool> more;
        void Key(int key, int shift) override {
            FakeHost::Key(key, shift);
            // The first key starts something that waits for two more commands.
            if (key == 'A') {
                more.push_back(runner->RunNext());
                more.push_back(runner->RunNext());
            }
        }
    } keyHost;
    AutomationRunner keyRunner(keyHost, out);
    keyHost.runner = &keyRunner;
    EXPECT_EQ(keyRunner.Run(parsed).exitStatus, 0);
    EXPECT_EQ(keyHost.more, (std::vector<bool>{true, true}));
    EXPECT_EQ(keyHost.clockMs, 100);
    EXPECT_EQ(keyHost.calls,
              (std::vector<std::string>{"key 65 0", "screenshot /a.png", "key 66 0", "screenshot /b.png"}));
    EXPECT_FALSE(keyRunner.RunNext()) << "nothing is left once the run is over";
}

TEST(AutomationRunner, AClickWhosePressWaitsForInputIsReleasedBeforeTheCommandsAfterIt) {
    struct WaitingHost : FakeHost {
        std::function<void()> nested;
        void ScheduleNestedCommands(int64_t, std::function<void()> next) override {
            nested = std::move(next);
        }
        void MouseDown(Point at, int button) override {
            FakeHost::MouseDown(at, button);
            // The first press starts a wait for input, as a cut scene does: the commands due run there.
            if (at.x == 1 && nested) std::exchange(nested, nullptr)();
        }
    } host;
    std::ostringstream out;
    auto parsed = std::get<std::vector<AutomationCommand>>(ParseAutomation("click 1 1\nclick 2 2\n"));
    EXPECT_EQ(AutomationRunner(host, out).Run(parsed).exitStatus, 0);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"move 1,1", "down 1,1 1", "up 1,1 1", "move 2,2",
                                                    "down 2,2 1", "up 2,2 1"}));
}

TEST(AutomationRunner, ACommandFailingInsideAWaitEndsTheRunAndAsksTheGameToQuit) {
    struct KeyHost : FakeHost {
        AutomationRunner* runner = nullptr;
        void Key(int, int) override {
            while (runner->RunNext()) {
            }
        }
    } host;
    std::ostringstream out;
    AutomationRunner runner(host, out);
    host.runner = &runner;
    auto parsed = std::get<std::vector<AutomationCommand>>(
        ParseAutomation("key A\npress Nothing\nscreenshot /never.png\n"));
    AutomationRunner::Outcome outcome = runner.Run(parsed);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_NE(outcome.message.find("line 2"), std::string::npos);
    EXPECT_TRUE(host.quit);
    EXPECT_TRUE(host.calls.empty());
}

}  // namespace
}  // namespace taviro::platform
