#include "platform/automation/automation_script.h"

#include <gtest/gtest.h>

namespace taviro::platform {
namespace {

using Kind = AutomationCommand::Kind;

AutomationCommand One(std::string_view line) {
    auto parsed = ParseAutomationLine(line, 1);
    if (auto* error = std::get_if<AutomationError>(&parsed)) ADD_FAILURE() << error->message;
    auto* command = std::get_if<std::optional<AutomationCommand>>(&parsed);
    if (!command || !*command) {
        ADD_FAILURE() << "no command in: " << line;
        return {};
    }
    return **command;
}

std::string ErrorOf(std::string_view text) {
    auto parsed = ParseAutomation(text);
    auto* error = std::get_if<AutomationError>(&parsed);
    return error ? error->message : "";
}

TEST(AutomationScript, ReadsMouseCommandsWithTheirPointsAndButtons) {
    auto click = One("click 10 20");
    EXPECT_EQ(click.kind, Kind::Click);
    EXPECT_EQ(click.at, (Point{10, 20}));
    EXPECT_EQ(click.button, 1);
    EXPECT_EQ(One("click 1 2 right").button, 2);
    EXPECT_EQ(One("down 3 4 left").kind, Kind::Down);
    EXPECT_EQ(One("up 3 4 right").button, 2);
    EXPECT_EQ(One("dblclick 5 6").kind, Kind::DoubleClick);
    EXPECT_EQ(One("move 7 8").at, (Point{7, 8}));
    auto wheel = One("wheel 9 10 -2");
    EXPECT_EQ(wheel.kind, Kind::Wheel);
    EXPECT_EQ(wheel.at, (Point{9, 10}));
    EXPECT_EQ(wheel.notches, -2);
    EXPECT_NE(ErrorOf("wheel 9 10 down\n").find("wheel X Y NOTCHES"), std::string::npos);
    EXPECT_NE(ErrorOf("wheel 9 10\n").find("wheel X Y NOTCHES"), std::string::npos);
    auto drag = One("drag 1 2 300 400");
    EXPECT_EQ(drag.kind, Kind::Drag);
    EXPECT_EQ(drag.at, (Point{1, 2}));
    EXPECT_EQ(drag.to, (Point{300, 400}));
}

TEST(AutomationScript, ReadsKeysAsVirtualKeyCodesWithModifiers) {
    auto key = One("key Escape");
    EXPECT_EQ(key.virtualKey, 27);
    EXPECT_EQ(key.shift, 0);
    EXPECT_EQ(One("key F1").virtualKey, 112);
    EXPECT_EQ(One("key F12").virtualKey, 123);
    EXPECT_EQ(One("key a").virtualKey, 65);
    EXPECT_EQ(One("key Z").virtualKey, 90);
    EXPECT_EQ(One("key 7").virtualKey, 55);
    EXPECT_EQ(One("key return").virtualKey, 13);
    EXPECT_EQ(One("key Backspace").virtualKey, 8);
    EXPECT_EQ(One("key Left").virtualKey, 37);
    EXPECT_EQ(One("key s ctrl shift").shift, 3);
    EXPECT_EQ(One("key x alt").shift, 4);
}

TEST(AutomationScript, KeepsTheWholeRestOfTheLineForTextsCaptionsAndFiles) {
    EXPECT_EQ(One("text  Hello,  world ").text, "Hello,  world");
    EXPECT_EQ(One("press Save game").text, "Save game");
    EXPECT_EQ(One("select The hall").kind, Kind::Select);
    EXPECT_EQ(One("input My name").text, "My name");
    EXPECT_EQ(One("screenshot out/first shot.png").text, "out/first shot.png");
    EXPECT_EQ(One("state -").text, "-");
    auto menu = One("menu Game / Save as...");
    EXPECT_EQ(menu.menuPath, (std::vector<std::string>{"Game", "Save as..."}));
    EXPECT_EQ(One("menu Options/Full-Screen \\/ Window").menuPath,
              (std::vector<std::string>{"Options", "Full-Screen / Window"}));
}

TEST(AutomationScript, ReadsWaitsAnswersAndTheCommandsWithoutArguments) {
    EXPECT_EQ(One("wait 1500").durationMs, 1500);
    EXPECT_EQ(One("answer Yes").answer, MessageAnswer::Yes);
    EXPECT_EQ(One("answer ok").answer, MessageAnswer::Ok);
    EXPECT_EQ(One("answer Cancel").answer, MessageAnswer::Cancel);
    EXPECT_EQ(One("answer No").answer, MessageAnswer::No);
    EXPECT_EQ(One("input-cancel").kind, Kind::InputCancel);
    EXPECT_EQ(One("quit").kind, Kind::Quit);
}

TEST(AutomationScript, SkipsBlankAndCommentLinesButCountsThemInLineNumbers) {
    auto parsed = ParseAutomation("# start\n\n   \nwait 10\r\n  # indented comment\nclick 1 1\n");
    auto& commands = std::get<std::vector<AutomationCommand>>(parsed);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].lineNumber, 4);
    EXPECT_EQ(commands[1].lineNumber, 6);
}

TEST(AutomationScript, ABadLineIsReportedWithItsNumber) {
    EXPECT_EQ(ErrorOf("wait 10\nclick 10\n").substr(0, 8), "line 2: ");
    EXPECT_NE(ErrorOf("wait 10\nclick 10\n").find("click X Y [left|right]"), std::string::npos);
    for (const char* bad : {"wait",
                            "wait -5",
                            "wait soon",
                            "wait 1 2",
                            "click 1 2 middle",
                            "click a b",
                            "click -1 5",
                            "dblclick 1 2 right",
                            "drag 1 2 3",
                            "key",
                            "key Enter",
                            "key F13",
                            "key F0",
                            "key ab",
                            "key a ctrl ctrl",
                            "key a meta",
                            "text",
                            "press",
                            "answer Maybe",
                            "answer",
                            "menu",
                            "menu Game//Save",
                            "input-cancel now",
                            "quit 0",
                            "screenshot",
                            "fly 1 2"}) {
        SCOPED_TRACE(bad);
        std::string error = ErrorOf(std::string("# first\n") + bad);
        EXPECT_EQ(error.substr(0, 8), "line 2: ");
    }
    EXPECT_EQ(ErrorOf("wait 10\nclick 1 2\n"), "");
}

}  // namespace
}  // namespace taviro::platform
