#include "project/plugins.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "support/test_project.h"

namespace taviro::project {
namespace {

using std::string;
using std::vector;
using testing::FieldsLine;

// Scrambles a line the way the editor stores plugin code, so that the reader can be checked
// against text written in clear: header "#" (shift 0), body reversed and shifted.
string ScrambleQuoted(const string& line, int parameter) {
    constexpr std::string_view kKey = "qmzhwtxalkpvgbrnsyjcf";
    auto exchange = [](int c) { return c == 32 ? 34 : c == 34 ? 32 : c; };
    string body;
    for (size_t i = 0; i < line.size(); ++i) {
        int a = exchange(static_cast<unsigned char>(line[i]));
        if (a >= 33 && a <= 125) {
            int shift = static_cast<int>(i) * (kKey[i % 21] - 32) + parameter;
            a = ((a - 33 + shift) % 93 + 93) % 93 + 33;
        }
        body.insert(body.begin(), static_cast<char>(exchange(a)));
    }
    return "#" + body;
}

struct DefinitionFields {
    bool flagA = false;
    bool flagB = false;
    string before = "FrameBefore", after = "FrameAfter";
    string startup = "StartUp", second = "", script = "Sub DoorPlugin_Act(a)\r\nEnd Sub";
    vector<string> integers{"PluginCounter"}, variants{};
    string actionProcedure = "DoorPlugin_Act", frameProcedure = "DoorPlugin_Frame";
};

string DefinitionFile(const DefinitionFields& d) {
    string file = FieldsLine({2.0}) + FieldsLine({1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0});
    file += FieldsLine({d.flagA, d.flagB, string("DoorPluginInternal"), string("Door Plugin")});
    file += FieldsLine({d.before, d.after, d.startup, d.second, d.script});
    file += FieldsLine({static_cast<double>(d.integers.size())});
    for (const string& name : d.integers) file += FieldsLine({name});
    file += FieldsLine({static_cast<double>(d.variants.size())});
    for (const string& name : d.variants) file += FieldsLine({name});
    file += FieldsLine({0.0, 3.0, string("a"), string("b"), d.actionProcedure, string("c")});
    file += FieldsLine({d.frameProcedure});
    return file;
}

string ListFile(std::initializer_list<string> names) {
    string file;
    for (int i = 0; i < 10; ++i) file += FieldsLine({0.0});
    for (const string& name : names) file += FieldsLine({name});
    return file;
}

struct PluginsFixture : ::testing::Test {
    testing::TestProject test;
    Plugins plugins{*test.project};

    void SetUp() override {
        test.Write("Config/General", testing::GeneralFile().Text());
        ASSERT_TRUE(test.Initialize());
    }
};

TEST_F(PluginsFixture, EachListedPluginIsLoadedOnceInTheOrderOfItsFirstMention) {
    test.Write("Config/Plugins", ListFile({"DoorPlugin", "Lamp", "DOORPLUGIN", "lamp"}));
    test.Write("CPData/DoorPlugin.cp", DefinitionFile({}));
    test.Write("CPData/lamp.cp", DefinitionFile({.integers = {"LampOn"}, .variants = {"LampName"}}));
    plugins.LoadPlugins();
    EXPECT_EQ(plugins.names(), (vector<string>{"DoorPlugin", "Lamp"}));
    EXPECT_TRUE(test.dialogs.shown().empty());
    const Plugin& door = plugins.table()[0];
    EXPECT_EQ(door.displayName, "Door Plugin");
    EXPECT_EQ(door.startupCode, "StartUp");
    EXPECT_EQ(door.scriptCode, "Sub DoorPlugin_Act(a)\r\nEnd Sub");
    EXPECT_EQ(door.actionProcedure, "DoorPlugin_Act");
    EXPECT_EQ(door.frameProcedure, "DoorPlugin_Frame");
    EXPECT_EQ(plugins.IntegerVariables(), (vector<string>{"PluginCounter", "LampOn"}));
    EXPECT_EQ(plugins.VariantVariables(), (vector<string>{"LampName"}));
}

TEST_F(PluginsFixture, CodeIsUnscrambledByItsStorageModeAndQuoteMarksBecomeDoubleQuotes) {
    const string line1 = "MsgBox ~Hello there~";
    const string line2 = "x = \xFEwide\xFE & 1";
    const string clear = "MsgBox \"Hello there\"\r\nx = \"wide\" & 1";
    test.Write("Config/Plugins", ListFile({"Plain", "Mode1", "Mode2"}));
    test.Write("CPData/Plain.cp", DefinitionFile({.script = line1 + "\r\n" + line2}));
    for (auto [name, a, b, parameter] :
         {std::tuple{"Mode1", false, true, 100}, {"Mode2", true, false, 200}}) {
        test.Write(string("CPData/") + name + ".cp",
                   DefinitionFile({.flagA = a,
                                   .flagB = b,
                                   .script = ScrambleQuoted(line1, parameter) + "\r\n" +
                                             ScrambleQuoted(line2, parameter)}));
    }
    plugins.LoadPlugins();
    ASSERT_EQ(plugins.table().size(), 3u);
    EXPECT_EQ(plugins.table()[0].scriptCode, clear);
    EXPECT_EQ(plugins.table()[1].scriptCode, clear);
    EXPECT_EQ(plugins.table()[2].scriptCode, clear);
}

TEST_F(PluginsFixture, AMissingDefinitionWarnsAndLeavesThePluginOut) {
    test.Write("Config/Plugins", ListFile({"Gone", "DoorPlugin"}));
    test.Write("CPData/DoorPlugin.cp", DefinitionFile({}));
    plugins.LoadPlugins();
    EXPECT_EQ(plugins.names(), vector<string>{"DoorPlugin"});
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    const auto& box = test.dialogs.shown()[0].request;
    EXPECT_EQ(box.title, "Plugin Not Installed");
    EXPECT_EQ(box.icon, platform::MessageIcon::Exclamation);
    EXPECT_EQ(box.text.rfind("WARNING! The plugin which internal name is \"Gone\" is required by the project "
                             "but is currently not installed.\r\n\r\n",
                             0),
              0u);
    EXPECT_NE(box.text.find("\r\n\r\nNote: To prevent this message from appearing again, open the Project "
                            "Properties window and then close it by clicking the OK button."),
              string::npos);
}

TEST_F(PluginsFixture, DamagedFilesGiveTheErrorMessageAndKeepWhatWasLoaded) {
    test.Write("Config/Plugins", ListFile({"DoorPlugin", "Broken", "Never"}));
    test.Write("CPData/DoorPlugin.cp", DefinitionFile({}));
    test.Write("CPData/Never.cp", DefinitionFile({}));
    // A count of names far beyond the end of the file.
    string broken = DefinitionFile({});
    broken.replace(broken.find("1\r\n\"PluginCounter\""), 1, "30000");
    test.Write("CPData/Broken.cp", broken);
    plugins.LoadPlugins();
    EXPECT_EQ(plugins.names().front(), "DoorPlugin");
    EXPECT_EQ(plugins.names().size(), 2u);  // the broken one keeps what it read
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_EQ(test.dialogs.shown()[0].request.title, "Error");
    EXPECT_EQ(test.dialogs.shown()[0].request.text, "Error loading plugins.");

    // A list shorter than its ten leading values loads nothing.
    test.Write("Config/Plugins", FieldsLine({0.0, 0.0}));
    plugins.LoadPlugins();
    EXPECT_TRUE(plugins.table().empty());
    EXPECT_EQ(test.dialogs.shown().size(), 2u);
}

TEST_F(PluginsFixture, ADefinitionMayEndAfterTheFrameProcedureName) {
    test.Write("Config/Plugins", ListFile({"DoorPlugin"}));
    test.Write("CPData/DoorPlugin.cp", DefinitionFile({}) + FieldsLine({string("more"), 1.0, 2.0}));
    plugins.LoadPlugins();
    EXPECT_EQ(plugins.names(), vector<string>{"DoorPlugin"});
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(PluginsFixture, CommandsExpandToCallsOfTheCallersProcedure) {
    test.Write("Config/Plugins", ListFile({"DoorPlugin"}));
    test.Write("CPData/DoorPlugin.cp", DefinitionFile({}));
    plugins.LoadPlugins();
    // Two arguments, in an action and in a frame; the command's letter case does not matter.
    EXPECT_EQ(plugins.ExpandStoredCommands("{doorplugin}a}b", true), "DoorPlugin_Act \"a\",\"b\"");
    EXPECT_EQ(plugins.ExpandStoredCommands("{DoorPlugin}a}b", false), "DoorPlugin_Frame \"a\",\"b\"");
    // Text that names no command, and an unknown command, expand to nothing.
    EXPECT_EQ(plugins.ExpandStoredCommands("Walk to the door}a", true), "");
    EXPECT_EQ(plugins.ExpandStoredCommands("{Other}a", true), "");
    // The stand-in characters for the braces and the quote marks; quotes inside arguments are doubled.
    EXPECT_EQ(plugins.ExpandStoredCommands("\xC2\xA4"
                                           "DoorPlugin\xC2\xA5say ~hi~\xC2\xA4"
                                           "DoorPlugin",
                                           true),
              "DoorPlugin_Act \"say \"\"hi\"\"\"\r\nDoorPlugin_Act ");
    // An unknown command after a known one still leaves its line break.
    EXPECT_EQ(plugins.ExpandStoredCommands("{Other}x{DoorPlugin}1{Other}y", true),
              "DoorPlugin_Act \"1\"\r\n");
}

TEST(PluginList, DamagedListsThrowInsteadOfReadingPastTheEnd) {
    platform::CodePage codePage;
    EXPECT_THROW(ReadPluginList("1,2,3", codePage), taviro::GameError);
    EXPECT_EQ(ReadPluginList(ListFile({}), codePage), vector<string>{});
    Plugin plugin;
    EXPECT_THROW(ReadPluginDefinition(std::string_view("\0\xFF garbage", 11), codePage, plugin),
                 taviro::GameError);
}

}  // namespace
}  // namespace taviro::project
