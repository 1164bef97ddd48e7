// The game decoding ahead the pictures of the frames the shown frame leads to: a click then opens
// the next frame with pictures already decoded, and the reports are those of a frame never seen.
#include <gtest/gtest.h>

#include "app/game_window.h"
#include "checker/reachable_frames.h"
#include "platform/clock.h"
#include "platform/pictures/test_pictures.h"
#include "platform/sdl/player_screen.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

using std::string;
using testing::FieldsLine;

// A 100x100 hotspot at the top left showing a picture (Areas folder).
string PictureHotspot(const string& picture) {
    return FieldsLine({string(""), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({0.0, 0.0, 1500.0, 1500.0, 0.0, true, picture, 0.0, string(""), 0.0, 0.0, 0.0}) +
           FieldsLine({string(project::kRecordSeparator)});
}

string Background(const string& picture) {
    return FieldsLine(
        {1.0, picture, false, false, string(""), false, 0.0, string(""), string(""), string("")});
}

string Bmp(int side) {
    return platform::test_pictures::BmpBytes(platform::test_pictures::Filled(side, side, 0xFF336699).get());
}

// Start leads to Hall by its hotspot; Cellar is reached from nowhere. The game decodes ahead as the
// program wires it.
struct DecodingGame {
    explicit DecodingGame(string first = "Start") : firstFrame(std::move(first)) {
        test.Write("Config/General", testing::GeneralFile().Text());
        test.Write("Config/Texts", "1\r\n");
        test.Write("Config/Variables", FieldsLine({string("")}) + FieldsLine({string("Door")}));
        for (const char* frame : {"Start", "Hall", "Cellar"}) {
            const string name = frame;
            test.Write("Frames/" + name + ".fme", Background(name + ".bmp"));
            test.Write("Frames/" + name + ".bmp", Bmp(40));
            test.Write("Areas/" + name + "-door.bmp", Bmp(20));
            test.Write("FramesData/" + name + ".fm2", PictureHotspot(name + "-door.bmp"));
        }
        test.Write("FramesData/Start.fm3", testing::DoorActionRecord("Hall", ""));
        test.Write("FramesData/Hall.fm1", FieldsLine({string(""),
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      0.0,
                                                      string("Welcome to the hall"),
                                                      150.0,
                                                      150.0,
                                                      false,
                                                      false,
                                                      string("Arial"),
                                                      12.0,
                                                      false,
                                                      false,
                                                      0.0,
                                                      string("")}));
    }
    void Play() {
        ASSERT_TRUE(test.Initialize());
        screen = std::make_unique<platform::PlayerScreen>(platform::DisplaySettings{.headless = true}, clock,
                                                          test.files, true);
        platform::TopWindow& top = screen->LoadWindow("game", 640, 480);
        window = std::make_unique<GameWindow>(*test.project, test.flags, screen->windows(), top,
                                              screen->loop(), modes, [] {});
        Game& game = window->game();
        game.frames().frameShown = [this](const string& frame) {
            screen->AtNextIdle([this, frame] {
                checker::ShownAhead ahead = checker::ReachableContent(*test.project, frame);
                screen->PrepareAhead(std::move(ahead.pictureFiles), std::move(ahead.texts));
            });
        };
        game.ResetAll(false);
        screen->windows().Show(top);
        game.frames().OpenFrame(firstFrame, false, 0, 0);
        screen->Draw();
    }
    // The reachable frames are found at the first idle turn, then decoded by the worker.
    void WaitForDecoding() {
        screen->loop().DoEvents();
        if (screen->pictures().preloader()) screen->pictures().preloader()->WaitUntilIdle();
    }
    void ClickTheHotspot() {
        screen->MouseDown({50, 50}, platform::kLeftButton);
        screen->MouseUp({50, 50}, platform::kLeftButton);
        screen->Draw();
    }
    string Real(const string& relative) {
        return test.files.Resolve((test.folder.path() / relative).string()).string();
    }
    std::vector<string> Reports() const {
        std::vector<string> texts;
        // With the game's folder left out, to compare the reports of two games.
        const string folder = test.folder.path().string();
        for (const auto& shown : test.dialogs.shown()) {
            string text = shown.request.text;
            for (size_t at = text.find(folder); at != string::npos; at = text.find(folder))
                text.replace(at, folder.size(), "GAME");
            texts.push_back(text);
        }
        return texts;
    }

    string firstFrame;
    testing::TestProject test;
    platform::VirtualClock clock;
    DisplayModes modes{{1920, 1080}};
    std::unique_ptr<platform::PlayerScreen> screen;
    std::unique_ptr<GameWindow> window;
};

TEST(DecodingAhead, AClickOpensAReachableFrameWithItsPicturesDecodedAndTextsMeasuredAhead) {
    DecodingGame game;
    game.Play();
    const size_t renderedBeforeIdle = game.screen->text().renderedCount();
    game.WaitForDecoding();
    ASSERT_NE(game.screen->pictures().preloader(), nullptr);
    EXPECT_EQ(game.screen->pictures().preloader()->heldPaths(),
              (std::vector<string>{game.Real("Frames/Hall.bmp"), game.Real("Areas/Hall-door.bmp")}));
    const size_t decoded = game.screen->pictures().decodeCount();
    const size_t rendered = game.screen->text().renderedCount();
    EXPECT_EQ(rendered, renderedBeforeIdle + 1);  // the text of Hall, at idle
    game.ClickTheHotspot();
    EXPECT_EQ(game.window->game().currentFrame().name, "Hall");
    EXPECT_EQ(game.screen->pictures().decodedAheadCount(), 2u);
    EXPECT_EQ(game.screen->pictures().decodeCount(), decoded);
    // Hall's text was measured at idle: the click neither measures nor draws it anew.
    EXPECT_EQ(game.screen->text().renderedCount(), rendered);
    EXPECT_TRUE(game.Reports().empty());
}

TEST(DecodingAhead, AFrameReachedThroughDamagedPicturesReportsAsAFrameNeverDecodedAhead) {
    auto damage = [](DecodingGame& game) {
        game.test.Write("Frames/Hall.bmp", Bmp(40).substr(0, 30));
        std::filesystem::remove(game.test.folder.path() / "Areas/Hall-door.bmp");
    };
    DecodingGame clicked;
    damage(clicked);
    clicked.Play();
    clicked.WaitForDecoding();
    EXPECT_TRUE(clicked.Reports().empty());  // the worker reports nothing
    clicked.ClickTheHotspot();
    ASSERT_EQ(clicked.window->game().currentFrame().name, "Hall");

    DecodingGame direct("Hall");
    damage(direct);
    direct.Play();
    EXPECT_FALSE(direct.Reports().empty());
    EXPECT_EQ(clicked.Reports(), direct.Reports());
}

}  // namespace
}  // namespace taviro::app
