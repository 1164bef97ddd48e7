#include "app/welcome_window.h"

#include <gtest/gtest.h>

#include "app/welcome_texts.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

using std::string;
using testing::FieldsLine;

// A welcome window over a test project, with what it asked of the program recorded.
struct WelcomeRun {
    // Writes "General" with the fields given over the small valid project, then loads the window.
    void Load(testing::GeneralFile general = testing::GeneralFile()) {
        test.Write("Config/General", general.Text());
        ASSERT_TRUE(test.Initialize());
        WelcomeServices services;
        services.pictureSize = [this](const string& path) -> std::optional<platform::Point> {
            if (!test.files.IsFile(path)) return std::nullopt;
            return platform::Point{40, 20};
        };
        services.openAddress = [this](const string& address) { opened.push_back(address); };
        services.startGame = [this] { ++starts; };
        services.endProgram = [this] { ++ends; };
        welcome = std::make_unique<WelcomeWindow>(*test.project, windows, windows.Load("welcome", 320, 240),
                                                  modes, std::move(services));
        welcome->Load();
    }
    platform::Control& Control(const string& name, std::optional<int> index = std::nullopt) {
        platform::Form& form = welcome->window().form();
        platform::Control* control = index ? form.Find(name, *index) : form.Find(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }
    platform::Label& Label(const string& name, std::optional<int> index = std::nullopt) {
        return static_cast<platform::Label&>(Control(name, index));
    }
    int Pixels(int twips) { return twips / WelcomeWindow::kTwipsPerPixel; }

    testing::TestProject test;
    platform::TopWindows windows;
    DisplayModes modes{{1920, 1080}};
    std::unique_ptr<WelcomeWindow> welcome;
    std::vector<string> opened;
    int starts = 0;
    int ends = 0;
};

struct WelcomeFixture : ::testing::Test, WelcomeRun {};

TEST_F(WelcomeFixture, LinesStackFromTheTopLineAndTheWindowEndsBelowThem) {
    Load(testing::GeneralFile()
             .Set(3, string("Quest"))
             .Set(6, string("1.2"))
             .Set(9, string(""))
             .Set(10, string("me@example.org"))
             .Set(11, string(""))
             .Set(12, 0.0));
    EXPECT_TRUE(windows.Find("welcome")->visible());
    EXPECT_EQ(welcome->window().caption, "Quest");
    EXPECT_FALSE(welcome->window().border);
    EXPECT_EQ(Label("txtAdventureName").caption, "Quest");
    EXPECT_EQ(Control("txtVersion").bounds().y, Pixels(3000));
    EXPECT_FALSE(Control("txtAuthor").visible());
    EXPECT_FALSE(Control("lblAuthor").visible());
    EXPECT_EQ(Control("txtEmail").bounds().y, Pixels(3255));
    EXPECT_EQ(Control("lblEmail").bounds().y, Pixels(3255));
    EXPECT_EQ(Label("lblEmail").caption, test.project->UITexts[5]);
    EXPECT_FALSE(Control("chkResolution").visible());
    EXPECT_EQ(welcome->window().form().bounds().height, Pixels(3000 + 2 * 255 + 150));
}

TEST_F(WelcomeFixture, WithNothingToListTheWindowIsTheTopPartOnly) {
    Load(
        testing::GeneralFile().Set(6, string("")).Set(9, string("")).Set(10, string("")).Set(11, string("")));
    EXPECT_EQ(welcome->window().form().bounds().height, Pixels(3000 + 150));
}

TEST_F(WelcomeFixture, TheResolutionOfferShowsOnlyWhenTheDesktopDiffers) {
    modes = DisplayModes({1024, 768});
    Load(testing::GeneralFile()
             .Set(12, 1.0)
             .Set(35, 2.0)
             .Set(6, string(""))
             .Set(9, string(""))
             .Set(10, string(""))
             .Set(11, string("")));
    EXPECT_FALSE(Control("chkResolution").visible());
    welcome->ClickButton(0);
    EXPECT_EQ(modes.current(), (platform::Point{1024, 768}));

    WelcomeRun other;
    other.Load(testing::GeneralFile()
                   .Set(12, 1.0)
                   .Set(35, 0.0)
                   .Set(6, string(""))
                   .Set(9, string(""))
                   .Set(10, string(""))
                   .Set(11, string("")));
    EXPECT_TRUE(other.Control("chkResolution").visible());
    EXPECT_EQ(other.Control("lblResolution").bounds().y, other.Pixels(3000));
    EXPECT_EQ(other.Control("chkResolution").bounds().y, other.Pixels(3030));
    EXPECT_EQ(other.Label("lblResolution").caption, "Change display resolution to 640x480.");
    // Ticked by default: Start switches the game's display to the project's resolution.
    other.welcome->ClickButton(0);
    EXPECT_EQ(other.modes.current(), (platform::Point{640, 480}));
    EXPECT_EQ(other.starts, 1);
}

TEST_F(WelcomeFixture, WithoutLoadingExitMovesUpBelowStart) {
    Load(testing::GeneralFile().Set(20, true));
    EXPECT_TRUE(Control("lblButton", 0).visible());
    EXPECT_FALSE(Control("lblButton", 1).visible());
    EXPECT_TRUE(Control("lblButton", 2).visible());
    EXPECT_EQ(Control("lblButton", 2).bounds().y, Pixels(1560));
    EXPECT_EQ(Label("lblButton", 0).caption, test.project->UITexts[1]);
}

TEST_F(WelcomeFixture, ASchemeGivesPicturesToButtonsTilesTheBackgroundAndColoursTheTexts) {
    test.Write("Schemes/Stone/Scheme.txt",
               FieldsLine({0.0, 0.0, 0.0, 3.0, string("start.png"), string("[none]"), string("missing.png"),
                           4.0, string("tile.png"), 255.0, 65280.0, 16711680.0}));
    test.Write("Schemes/Stone/start.png", "x");
    test.Write("Schemes/Stone/tile.png", "x");
    Load(testing::GeneralFile().Set(16, string("Stone")));
    auto& start = static_cast<platform::ImageControl&>(Control("Img", 0));
    EXPECT_TRUE(start.visible());
    EXPECT_NE(start.picture.find("start.png"), string::npos);
    EXPECT_FALSE(Control("lblButton", 0).visible());
    // "[none]" and a picture that cannot be loaded keep the text buttons.
    EXPECT_FALSE(Control("Img", 1).visible());
    EXPECT_TRUE(Control("lblButton", 1).visible());
    EXPECT_TRUE(Control("lblButton", 2).visible());
    EXPECT_EQ(Label("txtAdventureName").foreColor, 255u);
    EXPECT_EQ(Label("txtAuthor").foreColor, 65280u);
    EXPECT_EQ(Label("lblButton", 2).foreColor, 16711680u);
    // 40 x 20 tiles cover the whole window, behind everything else.
    platform::Rect window = welcome->window().form().bounds();
    size_t tiles = static_cast<size_t>(((window.width + 39) / 40) * ((window.height + 19) / 20));
    auto images = welcome->window().form().Elements("Img");
    EXPECT_EQ(images.size(), 3 + tiles);
    EXPECT_EQ(welcome->window().form().children().front()->name(), "Img");
}

TEST_F(WelcomeFixture, ABrokenOrMissingSchemeKeepsThePlainLook) {
    test.Write("Schemes/Broken/Scheme.txt", FieldsLine({0.0, 0.0, 0.0, 0.0}));
    Load(testing::GeneralFile().Set(16, string("Broken")));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Control("lblButton", i).visible());
        EXPECT_FALSE(Control("Img", i).visible());
    }
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(WelcomeFixture, LinksAskFirstAndOpenOnlyOnYes) {
    Load(testing::GeneralFile().Set(10, string("me@example.org")).Set(11, string("https://example.org")));
    test.dialogs.QueueAnswer(platform::MessageAnswer::No);
    Control("txtEmail").events.click(Control("txtEmail"));
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(welcome->window().topmost);
    test.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
    Control("txtEmail").events.click(Control("txtEmail"));
    test.dialogs.QueueAnswer(platform::MessageAnswer::Yes);
    Control("txtHomepage").events.click(Control("txtHomepage"));
    EXPECT_EQ(opened, (std::vector<string>{"mailto:me@example.org", "https://example.org"}));
    ASSERT_EQ(test.dialogs.shown().size(), 3u);
    EXPECT_EQ(test.dialogs.shown()[0].request.text, EmailQuestion(test.project->UITexts, "me@example.org"));
    EXPECT_EQ(test.dialogs.shown()[0].request.icon, platform::MessageIcon::Question);
}

TEST_F(WelcomeFixture, SkippingTheWelcomeWindowStartsTheGameWithoutShowingIt) {
    Load(testing::GeneralFile().Set(43, true));
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(windows.Find("welcome")->visible());
}

TEST_F(WelcomeFixture, EscAndExitEndTheProgram) {
    Load();
    welcome->window().onKeyDown(27, 0);
    EXPECT_EQ(ends, 1);
    welcome->Show();
    Control("lblButton", 2).events.click(Control("lblButton", 2));
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(starts, 0);
}

}  // namespace
}  // namespace taviro::app
