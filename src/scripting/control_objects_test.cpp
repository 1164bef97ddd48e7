#include "scripting/control_objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ios>
#include <iterator>
#include <new>

#include "frames/sound_channels.h"
#include "platform/clock.h"
#include "platform/controls/control_kinds.h"
#include "platform/controls/list_controls.h"
#include "scripting/action_object.h"
#include "scripting/environment_objects.h"
#include "scripting/media_player_object.h"
#include "scripting/recording_action_host.h"
#include "scripting/script_host.h"
#include "support/test_project.h"

namespace taviro::scripting {
namespace {

using std::string;

// A window with three hotspots over a background, two texts, a list and a picture box, offered
// to scripts as the game offers them.
struct ControlObjectsFixture : ::testing::Test {
    ControlObjectsFixture() {
        test.Write("Config/General",
                   testing::GeneralFile().Set(1, string("Quest")).Set(3, string("The Quest")).Text());
        test.Write("Config/Variables", testing::FieldsLine({0.0, string("***"), string("Result")}));
        test.Write("Areas/door.bmp", "BM");
        EXPECT_TRUE(test.Initialize());
        variables.LoadVariables();
        auto& scene = form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        scene.Add(std::make_unique<platform::ImageControl>("Area", 0)).SetVisible(false);
        scene.Add(std::make_unique<platform::Label>("Text", 0)).SetVisible(false);
        scene.Add(std::make_unique<platform::ListBox>("ListBox"));
        for (int i = 1; i <= 3; ++i) form.Load("Area", i).SetBounds({10 * i, 20, 30, 40});
        static_cast<platform::Label&>(form.Load("Text", 1)).caption = "Hello";
        environment.screenSize = [] { return platform::Point{800, 600}; };
        environment.clipboardText = [this] { return clipboard; };
        environment.setClipboardText = [this](const string& text) { clipboard = text; };
        host.controlObjects = [this] {
            return std::vector<NamedObject>{
                {u"Hotspot", vbscript::MakeRef<ControlArrayObject>(form, "Area"), true},
                {u"Text", vbscript::MakeRef<ControlArrayObject>(form, "Text"), true},
                {u"ScreenObject", MakeScreenObject(environment), true},
                {u"AppObject", MakeAppObject(*test.project), true},
                {u"PrinterObject", MakePrinterObject(), true},
                {u"PrintersCollection", MakePrintersCollection(), true},
                {u"ClipboardObject", MakeClipboardObject(environment), true},
                {u"ListBoxObject", vbscript::MakeRef<ControlObject>(form, "ListBox", std::nullopt), false},
                {u"BackgroundObject", vbscript::MakeRef<ControlObject>(form, "PictureBox", std::nullopt),
                 false},
                {u"ExitMenuObject", vbscript::MakeRef<MenuObject>(exitMenu), false}};
        };
    }
    // Runs code and gives the text of the variant variable Result.
    string Run(const string& code) {
        EXPECT_FALSE(host.ExecuteVBScript(code, false)) << code << "\n" << LastReport();
        return logic::VariantText(variables.VariablesVariant.Item(1)->Value).value_or("?");
    }
    // Runs code that must fail; the text of its report.
    string Fail(const string& code) {
        EXPECT_TRUE(host.ExecuteVBScript(code, false)) << code;
        return LastReport();
    }
    string LastReport() {
        return test.dialogs.shown().empty() ? "" : test.dialogs.shown().back().request.text;
    }
    platform::Control& Area(int i) { return *form.Find("Area", i); }

    testing::TestProject test;
    logic::ProjectVariables variables{*test.project};
    frames::CurrentFrame frame;
    int16_t referencesMode = 0;
    RecordingHost gameWindow;
    platform::Form form{"Game", 640, 480};
    platform::MenuItem exitMenu{"Exit", "mnuExit"};
    EnvironmentServices environment;
    string clipboard;
    vbscript::Ref<VBScriptActionModule> action = vbscript::MakeRef<VBScriptActionModule>(
        *test.project, test.flags, variables, frame, referencesMode, gameWindow);
    ScriptHost host{*test.project, test.flags,     variables,
                    action,        referencesMode, vbscript::Engine::SteadyClockMs()};
};

TEST_F(ControlObjectsFixture, HotspotsAreReadAndChangedByNameInTwips) {
    Run("Hotspot(3).Visible = False\r\nHotspot(2).Left = Hotspot(2).Left + 150\r\n"
        "Result = Hotspot(1).Width & \",\" & TypeName(Hotspot(1).Left)");
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "450,Long");
    EXPECT_FALSE(Area(3).visible());
    EXPECT_EQ(Area(2).bounds().x, 30);
    Run("Hotspot(1).Move 1500, 300\r\nHotspot(2).Move 0, 0, 150, 15");
    EXPECT_EQ(Area(1).bounds(), (platform::Rect{100, 20, 30, 40}));
    EXPECT_EQ(Area(2).bounds(), (platform::Rect{0, 0, 10, 1}));
}

TEST_F(ControlObjectsFixture, ControlArraysCountAndWalkTheirElements) {
    EXPECT_EQ(Run("Result = Text.Count & \"/\" & Text.LBound & \"/\" & Text.UBound"), "2/0/1");
    EXPECT_EQ(Run("Result = \"\"\r\nFor Each h In Hotspot\r\nResult = Result & h.Index\r\nNext"), "0123");
    EXPECT_EQ(Run("Result = Hotspot.Count"), "4");
    // The arrays' global members do not hide the built-in functions of the same names.
    EXPECT_EQ(Run("Dim a(6)\r\nResult = UBound(a) & LBound(a)"), "60");
    // A text's default property is its caption.
    Run("Text(1) = \"Goodbye\"\r\nText(1).FontBold = True\r\nResult = Text(1) & Text(1).Caption");
    auto& label = static_cast<platform::Label&>(*form.Find("Text", 1));
    EXPECT_EQ(label.caption, "Goodbye");
    EXPECT_TRUE(label.font.bold);
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "GoodbyeGoodbye");
}

TEST_F(ControlObjectsFixture, PicturesMoveBetweenControlsAsPictureObjects) {
    Run("Hotspot(1).Picture = LoadGraphicFile(\"door.bmp\")\r\nSet Hotspot(2).Picture = "
        "Hotspot(1).Picture\r\n"
        "Hotspot(3).Picture = LoadGraphicFile(\"\")\r\n"
        "Result = (Hotspot(1).Picture <> 0) & (Hotspot(3).Picture = 0) & Hotspot(1).Picture.Type");
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "TrueTrue1");
    auto picture = [&](int i) { return static_cast<platform::ImageControl&>(Area(i)).picture; };
    EXPECT_EQ(picture(1), test.project->paths.AreasPath + "door.bmp");
    EXPECT_EQ(picture(2), picture(1));
    EXPECT_EQ(picture(3), "");
    EXPECT_NE(Fail("Hotspot(1).Picture = \"door.bmp\""), "");
    EXPECT_EQ(picture(1), test.project->paths.AreasPath + "door.bmp");
}

TEST_F(ControlObjectsFixture, ANumberKeptWithAListItemMovesWithIt) {
    Run("ListBoxObject.Sorted = True\r\nListBoxObject.AddItem \"pear\"\r\n"
        "ListBoxObject.ItemData(ListBoxObject.NewIndex) = 42\r\nListBoxObject.AddItem \"apple\"\r\n"
        "Result = ListBoxObject.ItemData(0) & \",\" & ListBoxObject.ItemData(1)");
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "0,42");
    Run("ListBoxObject.RemoveItem 0\r\nResult = ListBoxObject.ItemData(0)");
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "42");
    EXPECT_NE(Fail("x = ListBoxObject.ItemData(1)").find("Invalid property array index"), string::npos);
}

TEST_F(ControlObjectsFixture, ListsAndOtherControlsTakeTheirMethods) {
    Run("ListBoxObject.AddItem \"b\"\r\nListBoxObject.AddItem \"a\", 0\r\nListBoxObject.AddItem \"c\"\r\n"
        "ListBoxObject.RemoveItem 1\r\nResult = ListBoxObject.ListCount & ListBoxObject.List(1)");
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "2c");
    Run("ListBoxObject.Clear\r\nBackgroundObject.Cls\r\nBackgroundObject.Refresh\r\nHotspot(1).SetFocus\r\n"
        "Hotspot(1).ZOrder 1\r\nHotspot(2).ZOrder\r\nResult = ListBoxObject.ListCount");
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "0");
    // ZOrder moves a hotspot to the back or the front of the frame's pictures and texts, which lie
    // under every other control of the frame.
    const auto& siblings = form.Find("PictureBox")->children();
    EXPECT_EQ(siblings.front().get(), &Area(1));
    auto windowed = std::find_if(siblings.begin(), siblings.end(), [](const auto& child) {
        return child->kind() != platform::ControlKind::Image &&
               child->kind() != platform::ControlKind::Label &&
               child->kind() != platform::ControlKind::Shape && child->kind() != platform::ControlKind::Line;
    });
    ASSERT_NE(windowed, siblings.begin());
    EXPECT_EQ(std::prev(windowed)->get(), &Area(2));
    EXPECT_NE(Fail("Hotspot(1).AddItem \"x\"").find("Object doesn't support this property or method"),
              string::npos);
}

TEST_F(ControlObjectsFixture, ScriptsRewriteSortAndScrollTheWindowsList) {
    EXPECT_EQ(Run("ListBoxObject.Sorted = True\r\nFor Each w In Array(\"pear\", \"Apple\", \"fig\") : "
                  "ListBoxObject.AddItem w : Next\r\nListBoxObject.List(2) = \"plum\"\r\n"
                  "Result = ListBoxObject.List(0) & ListBoxObject.NewIndex & ListBoxObject.List(2) & "
                  "TypeName(ListBoxObject)"),
              "Apple1plumListBox");
    EXPECT_NE(Fail("ListBoxObject.List(3) = \"x\"").find("Invalid property array index"), string::npos);
    EXPECT_NE(Fail("ListBoxObject.NewIndex = 1").find("read-only"), string::npos);
}

TEST_F(ControlObjectsFixture, MissingElementsAndMembersGiveTheOriginalsErrors) {
    EXPECT_NE(Fail("Hotspot(9).Visible = True").find("Control array element '9' doesn't exist"),
              string::npos);
    EXPECT_NE(Fail("x = Hotspot(1).Colour").find("Object doesn't support this property or method"),
              string::npos);
    EXPECT_NE(Fail("Hotspot(1).Width = -15").find("Invalid property value"), string::npos);
    EXPECT_NE(Fail("ListBoxObject.ListCount = 3").find("read-only"), string::npos);
    // An object kept past the unloading of its element reaches nothing.
    EXPECT_NE(Fail("Set h = Hotspot(3)\r\nIf UnloadControl(h) Then h.Visible = True")
                  .find("Control array element '3' doesn't exist"),
              string::npos);
    EXPECT_EQ(form.Find("Area", 3), nullptr);
}

TEST_F(ControlObjectsFixture, EveryPropertyOfEveryKindOfControlIsReachable) {
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    std::vector<std::unique_ptr<platform::Control>> controls;
    controls.push_back(std::make_unique<platform::PictureBox>("a"));
    controls.push_back(std::make_unique<platform::ImageControl>("a", 1));
    controls.push_back(std::make_unique<platform::Label>("a"));
    controls.push_back(std::make_unique<platform::Container>("a"));
    controls.push_back(std::make_unique<platform::ListBox>("a"));
    controls.push_back(std::make_unique<platform::CheckBox>("a"));
    controls.push_back(std::make_unique<platform::TimerControl>(timers, "a"));
    controls.push_back(std::make_unique<platform::ComboBox>("a"));
    controls.push_back(std::make_unique<platform::FileListBox>("a"));
    controls.push_back(std::make_unique<platform::DirListBox>("a"));
    controls.push_back(std::make_unique<platform::DriveListBox>("a"));
    platform::Form probe{"Probe", 1, 1};
    ControlObject object(probe, "Probe", std::nullopt);
    for (auto& control : controls) {
        for (const string& name : control->PropertyNames())
            EXPECT_NE(object.MemberId(vbscript::FromUtf8OrWindows1252(name)), vbscript::kUnknownMember)
                << name;
    }
    for (const string& name : probe.PropertyNames())
        EXPECT_NE(object.MemberId(vbscript::FromUtf8OrWindows1252(name)), vbscript::kUnknownMember) << name;
}

TEST_F(ControlObjectsFixture, MenuCommandsShowTheirState) {
    Run("ExitMenuObject.Caption = \"Leave\"\r\nExitMenuObject.Checked = True\r\n"
        "Result = ExitMenuObject.Name & ExitMenuObject.Enabled");
    EXPECT_EQ(exitMenu.caption(), "Leave");
    EXPECT_TRUE(exitMenu.checked);
    EXPECT_EQ(logic::VariantText(variables.VariablesVariant.Item(1)->Value), "mnuExitTrue");
}

TEST_F(ControlObjectsFixture, TheEnvironmentOffersScreenAppAndClipboard) {
    EXPECT_EQ(Run("Result = ScreenObject.Width & \"x\" & Height & \"/\" & TwipsPerPixelX"), "12000x9000/15");
    string path = test.project->paths.ProjectPath;
    EXPECT_EQ(Run("Result = AppObject.Path"), path.substr(0, path.size() - 1));
    EXPECT_EQ(Run("AppObject.Title = \"Quest II\"\r\nResult = Title & \" \" & AppObject.Major"),
              "Quest II 4");
    Run("ClipboardObject.SetText \"copied\"");
    EXPECT_EQ(clipboard, "copied");
    EXPECT_EQ(Run("Result = GetText() & GetFormat(1) & PrintersCollection.Count"), "copiedTrue0");
    EXPECT_EQ(Run("ClipboardObject.Clear\r\nResult = GetFormat(1)\r\nFor Each p In PrintersCollection\r\n"
                  "Result = 1\r\nNext"),
              "False");
    EXPECT_NE(Fail("PrinterObject.Print \"page\"").find("Object doesn't support this property or method"),
              string::npos);
}

// A sound player that keeps what it was told; setting a file starts it.
struct FakePlayer : frames::MediaPlayer {
    void SetFileName(const string& path) override {
        file = path;
        state = path.empty() ? frames::PlayState::Stopped : frames::PlayState::Playing;
    }
    string FileName() const override { return file; }
    void SetPlayCount(int count) override { playCount = count; }
    int PlayCount() const override { return playCount; }
    void SetVolume(int volumeHundredthsDb) override { volume = volumeHundredthsDb; }
    int Volume() const override { return volume; }
    frames::PlayState GetPlayState() const override { return state; }
    void Play() override { state = file.empty() ? state : frames::PlayState::Playing; }
    void Stop() override { state = frames::PlayState::Stopped; }
    double CurrentPosition() const override { return 0; }
    void SetCurrentPosition(double seconds) override { positions.push_back(seconds); }
    string file;
    int playCount = 1, volume = 0;
    frames::PlayState state = frames::PlayState::Stopped;
    std::vector<double> positions;
};

// The window as "SoftwareObjects", with the sound players of the channels among its controls.
struct WindowControlsFixture : ControlObjectsFixture {
    WindowControlsFixture() {
        referencesMode = 2;
        host.softwareObjects = [this] {
            return vbscript::MakeRef<FormObject>(
                form, MediaPlayerControls(sounds, test.project->paths.ProjectPath));
        };
    }
    FakePlayer& Player(int number) { return static_cast<FakePlayer&>(sounds.Player(number)); }

    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    frames::SoundChannels sounds{*test.project, timers, [](int) -> std::unique_ptr<frames::MediaPlayer> {
                                     return std::make_unique<FakePlayer>();
                                 }};
};

TEST_F(WindowControlsFixture, ScriptsSetAndReadTheSoundPlayersThroughTheControlsCollection) {
    EXPECT_EQ(Run("Set p = SoftwareObjects.Controls(\"7mediaplayercontrol\")\r\n"
                  "p.PlayCount = 0 : p.Volume = -800 : p.FileName = \"Areas\\rain.wav\"\r\n"
                  "Result = p.Name & \" \" & p.PlayState & \" \" & p.Volume & \" \" & p.PlayCount\r\n"
                  "p.CurrentPosition = 0"),
              "7MediaPlayerControl 2 -800 0");
    // The player the channels use: a relative name is taken from the project folder.
    EXPECT_EQ(Player(7).file, test.project->paths.AreasPath + "rain.wav");
    EXPECT_EQ(Player(7).volume, -800);
    EXPECT_EQ(Player(7).playCount, 0);
    EXPECT_EQ(Player(7).positions, std::vector<double>{0.0});
    EXPECT_EQ(
        Run("Set p = Controls(\"7MediaPlayerControl\")\r\np.Stop\r\nResult = p.PlayState\r\n"
            "p.Play\r\nResult = Result & p.PlayState & (p.FileName = AppObject.Path & \"/Areas/rain.wav\")"),
        "02True");
    // An absolute name is kept; an empty one stops the player.
    Run("Controls(\"6MediaPlayerControl\").FileName = \"/music/theme.mp3\"");
    EXPECT_EQ(Player(6).file, "/music/theme.mp3");
    Run("Controls(\"6MediaPlayerControl\").FileName = \"\"");
    EXPECT_EQ(Player(6).state, frames::PlayState::Stopped);
}

TEST_F(WindowControlsFixture, TheControlsCollectionCountsWalksAndFindsEveryControl) {
    // The tree's eight controls, back to front, then the eight players.
    EXPECT_EQ(Run("Result = Controls.Count & \" \" & Controls(0).Name & \" \" & Controls(15).Name"),
              "16 PictureBox 7MediaPlayerControl");
    EXPECT_EQ(Run("Result = \"\"\r\nFor Each c In SoftwareObjects.Controls\r\n"
                  "If TypeName(c) = \"MediaPlayer\" Then Result = Result & Left(c.Name, 1)\r\nNext"),
              "01234567");
    // A control array by its name, a single control by its name in any case.
    EXPECT_EQ(Run("Controls(\"area\")(2).Visible = False\r\nResult = Controls(\"LISTBOX\").ListCount"), "0");
    EXPECT_FALSE(Area(2).visible());
    // Enumerating makes no player: player 0 exists once a script uses it.
    EXPECT_EQ(sounds.ExistingPlayer(0), nullptr);
    Run("Controls(\"0MediaPlayerControl\").Volume = -100");
    EXPECT_EQ(Player(0).volume, -100);
}

TEST_F(WindowControlsFixture, WrongNamesAndMembersOfTheSoundPlayersGiveTheOriginalsErrors) {
    EXPECT_NE(
        Fail("Set p = Controls(\"8MediaPlayerControl\")").find("Control '8MediaPlayerControl' not found"),
        string::npos);
    EXPECT_NE(Fail("Set p = Controls(16)").find("Subscript out of range"), string::npos);
    const string player = "Set p = Controls(\"7MediaPlayerControl\")\r\n";
    EXPECT_NE(Fail(player + "p.Rewind").find("Object doesn't support this property or method"), string::npos);
    EXPECT_NE(Fail(player + "p.PlayState = 2").find("read-only"), string::npos);
    EXPECT_NE(Fail(player + "p.Volume = 100").find("Invalid property value"), string::npos);
    EXPECT_EQ(Player(7).volume, 0);
    EXPECT_TRUE(Player(7).file.empty());
}

// A failure of the player inside a script's call reaches the script as an error it may trap, never as
// an exception that would leave the engine half way through the script.
TEST(AsScriptError, EveryFailureOfThePlayerBecomesAScriptErrorWithItsNumber) {
    auto numberOf = [](auto failing) {
        try {
            AsScriptError([&]() -> int {
                failing();
                return 0;
            });
        } catch (const vbscript::ScriptError& error) {
            return error.number;
        }
        return 0;
    };
    EXPECT_EQ(numberOf([] { throw errors::FileNotFound(); }), 53);
    EXPECT_EQ(numberOf([] { throw std::bad_alloc(); }), 7);
    EXPECT_EQ(
        numberOf([] { throw std::ios_base::failure("basic_filebuf::underflow error reading the file"); }),
        51);
}

}  // namespace
}  // namespace taviro::scripting
