#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/log.h"
#include "platform/pictures/test_pictures.h"
#include "platform/sdl/display.h"
#include "platform/sdl/scene_renderer.h"
#include "platform/sdl/ttf_text_renderer.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

using test_pictures::PixelAt;

std::string FileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

TEST(FontMapping, WindowsFontsResolveToMetricCompatibleInstalledFonts) {
    FontResolver fonts;
    EXPECT_EQ(FileName(fonts.Resolve("Arial", false, false).file), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileName(fonts.Resolve("arial", true, false).file), "LiberationSans-Bold.ttf");
    EXPECT_EQ(FileName(fonts.Resolve("Arial", true, true).file), "LiberationSans-BoldItalic.ttf");
    EXPECT_EQ(FileName(fonts.Resolve("Times New Roman", false, true).file), "LiberationSerif-Italic.ttf");
    EXPECT_EQ(FileName(fonts.Resolve("Courier New", false, false).file), "LiberationMono-Regular.ttf");
    const ResolvedFont& sansSerif = fonts.Resolve("MS Sans Serif", false, false);
    EXPECT_EQ(sansSerif.family, "Liberation Sans");
    EXPECT_TRUE(sansSerif.substitute);
    EXPECT_TRUE(fonts.Resolve("Arial", true, false).boldFace);
    EXPECT_FALSE(fonts.Resolve("Arial", false, false).boldFace);
}

TEST(FontMapping, AFontThatIsNotInstalledFallsBackAndIsLogged) {
    testing::TemporaryFolder folder;
    std::string logPath = (folder.path() / "log.txt").string();
    log::Configure(logPath.c_str(), false);
    log::SetQuiet(true);
    FontResolver fonts;
    const ResolvedFont& font = fonts.Resolve("Zapfino Imaginary", false, false);
    log::Configure(nullptr, false);
    log::SetQuiet(false);
    EXPECT_TRUE(font.substitute);
    EXPECT_TRUE(std::filesystem::exists(font.file));
    std::ifstream in(logPath);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(text.find("font Zapfino Imaginary is not installed; using"), std::string::npos);
}

struct TextScene {
    FileSystem files;
    PictureCache pictures{files};
    VirtualClock clock;
    Display display{DisplaySettings{.clientWidth = 200, .clientHeight = 60, .headless = true}};
    TtfTextRenderer text{display.renderer()};
    SceneRenderer renderer{display.renderer(), pictures, clock, &text};
    Form form{"Main", 200, 60};
    Label& label = static_cast<Label&>(form.Add(std::make_unique<Label>("lbl")));

    TextScene() {
        form.backColor = 0x00FF00;
        label.SetBounds({10, 10, 180, 40});
        label.backColor = kWhite;
        label.caption = "Hello";
        label.font = {"Arial", 12};
    }
    struct Counts {
        int ink = 0;      // pixels that are neither the label's background nor the form's
        int outside = 0;  // ink outside the label
        int red = 0;
        int lowestInkRow = -1;
    };
    Counts Draw() {
        renderer.Draw(form);
        Counts counts;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x) {
                uint32_t p = PixelAt(display.target(), x, y);
                if (p == 0xFFFFFFFFu || p == 0xFF00FF00u) continue;
                bool inside = label.WindowBounds().Contains({x, y});
                if (!inside)
                    ++counts.outside;
                else
                    ++counts.ink;
                if ((p & 0xFF0000) > 0x800000 && (p & 0xFF00) < 0x4000) ++counts.red;
                counts.lowestInkRow = std::max(counts.lowestInkRow, y);
            }
        return counts;
    }
};

TEST(LabelText, IsDrawnInsideTheLabelInItsColour) {
    TextScene scene;
    auto plain = scene.Draw();
    EXPECT_GT(plain.ink, 40);
    EXPECT_EQ(plain.outside, 0);
    EXPECT_EQ(plain.red, 0);
    scene.label.foreColor = 0x0000FF;  // red
    EXPECT_GT(scene.Draw().red, 20);
}

TEST(LabelText, StyleFlagsChangeThePixels) {
    TextScene scene;
    int regular = scene.Draw().ink;
    scene.label.font.bold = true;
    int bold = scene.Draw().ink;
    EXPECT_GT(bold, regular * 6 / 5);
    scene.label.font.bold = false;
    int regularLowest = scene.Draw().lowestInkRow;
    scene.label.font.underline = true;
    auto underlined = scene.Draw();
    EXPECT_GT(underlined.ink, regular);
    EXPECT_GE(underlined.lowestInkRow, regularLowest);
    scene.label.font.underline = false;
    scene.label.font.strikeout = true;
    EXPECT_GT(scene.Draw().ink, regular);
    scene.label.font.strikeout = false;
    scene.label.font.italic = true;
    EXPECT_NE(scene.Draw().ink, regular);
}

TEST(LabelText, SizesArePointsAtNinetySixDotsPerInch) {
    EXPECT_EQ(TtfTextRenderer::PixelSize(12), 16);
    EXPECT_EQ(TtfTextRenderer::PixelSize(8.25), 11);
    TextScene scene;
    Point small = scene.text.Measure("Hello", {"Arial", 12});
    Point large = scene.text.Measure("Hello", {"Arial", 24});
    EXPECT_NEAR(large.x, 2 * small.x, 3);
    // Arial's line is about 1.15 em.
    EXPECT_NEAR(small.y, 18, 2);
    // A damaged size of thousands of points draws letters no taller than 512 pixels, not pictures
    // of gigabytes.
    Point huge = scene.text.Measure("Hello", {"Arial", 30000});
    EXPECT_GT(huge.y, 400);
    EXPECT_LT(huge.y, 700);
}

TEST(LabelText, TransparentLabelsLeaveWhatIsBehindThem) {
    TextScene scene;
    scene.label.caption = "";
    scene.label.transparent = true;
    scene.renderer.Draw(scene.form);
    EXPECT_EQ(PixelAt(scene.display.target(), 15, 15), 0xFF00FF00u);
    scene.label.transparent = false;
    scene.renderer.Draw(scene.form);
    EXPECT_EQ(PixelAt(scene.display.target(), 15, 15), 0xFFFFFFFFu);
}

TEST(LabelText, AutoSizeLabelsTakeTheSizeOfTheirCaption) {
    TextScene scene;
    scene.form.SetTextMeasurer(&scene.text);
    scene.label.Set("AutoSize", true);
    Point hello = scene.text.Measure("Hello", scene.label.font);
    EXPECT_EQ(scene.label.bounds(), (Rect{10, 10, hello.x, hello.y}));
    scene.label.Set("Caption", std::string("Hello, and welcome"));
    EXPECT_GT(scene.label.bounds().width, hello.x);
    scene.label.Set("WordWrap", true);
    scene.label.Set("Width", 40 * kTwipsPerPixel);
    scene.label.Set("Caption", std::string("one two three four"));
    EXPECT_EQ(scene.label.bounds().width, 40);
    EXPECT_GE(scene.label.bounds().height, 2 * hello.y);
}

TEST(LabelText, LongCaptionsWrapAtTheLabelWidthAndLinesBreakAtLineEnds) {
    TextScene scene;
    Point one = scene.text.Measure("word", scene.label.font);
    Point wrapped = scene.text.Measure("word word word word word word", scene.label.font, 60);
    EXPECT_LE(wrapped.x, 60);
    EXPECT_GE(wrapped.y, 3 * one.y);
    EXPECT_GE(scene.text.Measure("one\r\ntwo", scene.label.font, 0).y, 2 * one.y);
}

TEST(LabelText, ATextIsRenderedOnceForMeasuringAndDrawingInEveryColour) {
    TextScene scene;
    scene.form.SetTextMeasurer(&scene.text);
    scene.label.Set("AutoSize", true);
    EXPECT_EQ(scene.text.renderedCount(), 1u);
    scene.Draw();
    scene.label.foreColor = 0x336699;
    scene.Draw();
    EXPECT_EQ(scene.text.renderedCount(), 1u);
    // The letters' solid pixels are exactly the colour asked for.
    bool exact = false;
    for (int y = 10; y < 30 && !exact; ++y)
        for (int x = 10; x < 60 && !exact; ++x) exact = PixelAt(scene.display.target(), x, y) == 0xFF996633u;
    EXPECT_TRUE(exact);
}

TEST(LabelText, TextsMeasuredAheadAreMeasuredAtIdleWithoutRenderingAgainLater) {
    TextScene scene;
    scene.text.MeasureAhead({{"Next frame", {"Arial", 12}}, {"Another", {"Arial", 12, true}}});
    EXPECT_EQ(scene.text.renderedCount(), 0u);
    // No time left: one text still gets measured, so that busy turns make progress.
    EXPECT_TRUE(scene.text.MeasureSomeAhead(std::chrono::steady_clock::now() - std::chrono::seconds(1)));
    EXPECT_EQ(scene.text.renderedCount(), 1u);
    EXPECT_FALSE(scene.text.MeasureSomeAhead(std::chrono::steady_clock::now() + std::chrono::seconds(10)));
    EXPECT_EQ(scene.text.renderedCount(), 2u);
    const Point measured = scene.text.Measure("Another", {"Arial", 12, true});
    EXPECT_GT(measured.x, 0);
    EXPECT_EQ(scene.text.renderedCount(), 2u);
    // A new list replaces the texts not measured yet.
    scene.text.MeasureAhead({{"First", {"Arial", 12}}});
    scene.text.MeasureAhead({{"Second", {"Arial", 12}}});
    EXPECT_FALSE(scene.text.MeasureSomeAhead(std::chrono::steady_clock::now() + std::chrono::seconds(10)));
    EXPECT_EQ(scene.text.renderedCount(), 3u);
}

}  // namespace
}  // namespace taviro::platform
