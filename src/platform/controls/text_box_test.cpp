#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/mouse_router.h"
#include "platform/input/virtual_keys.h"

namespace taviro::platform {
namespace {

// A text box on a form that records its events as "press 65", "down 8", "up 8" and "change TEXT".
struct Typing {
    Form form{"Main", 640, 480};
    TextBox& box;
    std::vector<std::string> heard;

    Typing() : box(static_cast<TextBox&>(form.Add(std::make_unique<TextBox>("txtAnswer")))) {
        box.SetBounds({10, 10, 100, 21});
        box.events.keyPress = [this](Control&, int key) { heard.push_back("press " + std::to_string(key)); };
        box.events.keyDown = [this](Control&, int key, int) {
            heard.push_back("down " + std::to_string(key));
        };
        box.events.keyUp = [this](Control&, int key, int) { heard.push_back("up " + std::to_string(key)); };
        box.events.change = [this](Control& control) {
            heard.push_back("change " + static_cast<TextBox&>(control).text());
        };
    }
};

TEST(TextBoxTyping, MaxLengthAndLockedRefuseCharactersThatKeyPressStillHears) {
    Typing typing;
    typing.box.Set("MaxLength", int32_t{3});
    typing.box.Type("abcd");
    EXPECT_EQ(typing.box.text(), "abc");
    EXPECT_EQ(typing.heard, (std::vector<std::string>{"press 97", "change a", "press 98", "change ab",
                                                      "press 99", "change abc", "press 100"}));
    // A selection makes room: typing replaces it even in a full box.
    typing.box.Set("SelStart", int32_t{1});
    typing.box.Set("SelLength", int32_t{2});
    typing.box.Type("Z");
    EXPECT_EQ(typing.box.text(), "aZ");
    typing.heard.clear();
    typing.box.Set("Locked", true);
    typing.box.Type("q");
    typing.box.PressKey(vk::kBackspace, 0);
    typing.box.PressKey(vk::kDelete, 0);
    EXPECT_EQ(typing.box.text(), "aZ");
    EXPECT_EQ(typing.heard, (std::vector<std::string>{"press 113", "down 8", "press 8", "down 46"}));
}

TEST(TextBoxTyping, EditingKeysMoveTheCaretAndShiftSelects) {
    Typing typing;
    typing.box.Type("hello");
    typing.box.PressKey(vk::kHome, 0);
    typing.box.PressKey(vk::kRight, 0);
    typing.box.PressKey(vk::kRight, kShiftKey);
    typing.box.PressKey(vk::kRight, kShiftKey);
    EXPECT_EQ(typing.box.Get("SelStart"), PropertyValue(int32_t{1}));
    EXPECT_EQ(typing.box.Get("SelText"), PropertyValue(std::string("el")));
    // Shift+Left from the selection's end shrinks it back towards its start.
    typing.box.PressKey(vk::kLeft, kShiftKey);
    EXPECT_EQ(typing.box.SelectedText(), "e");
    typing.box.PressKey(vk::kBackspace, 0);
    EXPECT_EQ(typing.box.text(), "hllo");
    typing.box.PressKey(vk::kEnd, 0);
    typing.box.PressKey(vk::kBackspace, 0);
    typing.box.PressKey(vk::kHome, 0);
    typing.box.PressKey(vk::kDelete, 0);
    typing.box.PressKey(vk::kLeft, 0);  // stays at the start
    typing.box.PressKey(vk::kBackspace, 0);
    EXPECT_EQ(typing.box.text(), "ll");
    EXPECT_EQ(typing.box.caret(), 0);
    typing.heard.clear();
    typing.box.PressKey(vk::kReturn, 0);
    typing.box.ReleaseKey(vk::kReturn, 0);
    EXPECT_EQ(typing.heard, (std::vector<std::string>{"down 13", "press 13", "up 13"}));
    EXPECT_EQ(typing.box.text(), "ll");
}

TEST(TextBoxProperties, TextAndSelTextFromCodeRaiseChangeOnlyWhenTheTextDiffers) {
    Typing typing;
    typing.box.Set("Text", std::string("door"));
    typing.box.Set("text", std::string("door"));
    EXPECT_EQ(typing.heard, (std::vector<std::string>{"change door"}));
    EXPECT_EQ(typing.box.selStart(), 0);
    // Code is not bound by MaxLength or Locked, as the player is.
    typing.box.Set("MaxLength", int32_t{2});
    typing.box.Set("Locked", true);
    typing.box.Set("SelStart", int32_t{99});
    typing.box.Set("SelText", std::string("way"));
    EXPECT_EQ(typing.box.text(), "doorway");
    EXPECT_EQ(typing.box.Get("SelStart"), PropertyValue(int32_t{7}));
    typing.box.Set("SelStart", int32_t{2});
    typing.box.Set("SelLength", int32_t{99});
    EXPECT_EQ(typing.box.Get("SelLength"), PropertyValue(int32_t{5}));
    auto errorOf = [&](const char* name, int32_t value) {
        try {
            typing.box.Set(name, value);
        } catch (const GameError& error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf("SelStart", -1), 380);
    EXPECT_EQ(errorOf("SelLength", -1), 380);
    EXPECT_EQ(errorOf("MaxLength", -1), 380);
}

TEST(TextBoxProperties, CharactersBeyondAsciiCountAsOneAndPasswordsHideEach) {
    Typing typing;
    typing.box.Type("caf\xC3\xA9\xE2\x82\xAC");  // café€
    EXPECT_EQ(typing.heard[6], "press 233");
    EXPECT_EQ(typing.heard[8], "press 63");  // the euro sign is not Latin-1
    EXPECT_EQ(typing.box.caret(), 5);
    typing.box.PressKey(vk::kLeft, kShiftKey);
    EXPECT_EQ(typing.box.SelectedText(), "\xE2\x82\xAC");
    typing.box.Set("PasswordChar", std::string("*x"));
    EXPECT_EQ(typing.box.Get("PasswordChar"), PropertyValue(std::string("*")));
    EXPECT_EQ(typing.box.DisplayText(), "*****");
    typing.box.Set("PasswordChar", std::string(""));
    EXPECT_EQ(typing.box.DisplayText(), typing.box.text());
}

TEST(KeyboardFocus, OneShownEnabledTextBoxOfTheWindowTakesKeysAndText) {
    Form form("Main", 640, 480);
    auto& first = static_cast<TextBox&>(form.Add(std::make_unique<TextBox>("txtFirst")));
    auto& frame = form.Add(std::make_unique<Container>("fraBox"));
    auto& second = static_cast<TextBox&>(frame.Add(std::make_unique<TextBox>("txtSecond")));
    EXPECT_FALSE(KeyToFocus(form, 'A', 0, true));
    EXPECT_FALSE(TextToFocus(form, "a"));
    GiveFocus(first);
    GiveFocus(second);
    EXPECT_FALSE(first.hasFocus);
    EXPECT_TRUE(TextToFocus(form, "b"));
    EXPECT_EQ(second.text(), "b");
    EXPECT_EQ(first.text(), "");
    // A box hidden with its container, or disabled, takes nothing: the window's keys are its own.
    frame.SetVisible(false);
    EXPECT_EQ(FocusedTextBox(form), nullptr);
    frame.SetVisible(true);
    second.SetEnabled(false);
    EXPECT_FALSE(KeyToFocus(form, vk::kBackspace, 0, true));
    second.SetEnabled(true);
    EXPECT_TRUE(KeyToFocus(form, vk::kBackspace, 0, true));
    EXPECT_EQ(second.text(), "");
}

TEST(KeyboardFocus, PressingABoxTakesTheFocusAndPressingAnythingElseLetsItGo) {
    Form form("Main", 640, 480);
    auto& box = static_cast<TextBox&>(form.Add(std::make_unique<TextBox>("txtAnswer")));
    box.SetBounds({10, 10, 100, 21});
    auto& picture = static_cast<PictureBox&>(form.Add(std::make_unique<PictureBox>("picRoom")));
    picture.SetBounds({200, 10, 100, 100});
    box.SetText("lever");
    MouseRouter mouse(form);
    mouse.MouseDown({20, 20}, kLeftButton, 0);
    mouse.MouseUp({20, 20}, kLeftButton, 0);
    ASSERT_EQ(FocusedTextBox(form), &box);
    EXPECT_EQ(box.caret(), 5);
    mouse.MouseDown({250, 50}, kLeftButton, 0);
    EXPECT_EQ(FocusedTextBox(form), nullptr);
}

TEST(TextBoxTyping, AHandlerMayRemoveTheBoxItWasCalledFor) {
    for (const char* event : {"press", "change", "down"}) {
        Form form("Main", 640, 480);
        auto& box = static_cast<TextBox&>(form.Add(std::make_unique<TextBox>("txtAnswer")));
        int calls = 0;
        auto remove = [&](Control& control) {
            ++calls;
            form.Remove(control);
        };
        if (std::string(event) == "press")
            box.events.keyPress = [&](Control& control, int) { remove(control); };
        if (std::string(event) == "change") box.events.change = [&](Control& control) { remove(control); };
        if (std::string(event) == "down")
            box.events.keyDown = [&](Control& control, int, int) { remove(control); };
        GiveFocus(box);
        if (std::string(event) == "down")
            EXPECT_TRUE(KeyToFocus(form, vk::kBackspace, 0, true));
        else
            EXPECT_TRUE(TextToFocus(form, "abc"));
        EXPECT_EQ(calls, 1) << event;
        EXPECT_EQ(form.Find("txtAnswer"), nullptr);
    }
}

}  // namespace
}  // namespace taviro::platform
