#include "platform/pictures/gif_stream.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/controls/form.h"
#include "platform/pictures/picture_cache.h"
#include "platform/sdl/display.h"
#include "platform/sdl/scene_renderer.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

// Makes an animated GIF with ffmpeg: `source` is a lavfi source, ten frames a second.
std::string MakeGif(const testing::TemporaryFolder& folder, const std::string& name,
                    const std::string& source) {
    std::string path = (folder.path() / name).string();
    std::string command = "ffmpeg -loglevel quiet -y -f lavfi -i \"" + source + "\" -r 10 '" + path + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return path;
}

uint32_t PixelAt(SDL_Surface* surface, int x, int y) {
    return static_cast<const uint32_t*>(surface->pixels)[y * (surface->pitch / 4) + x];
}

// Same colour where both are drawn, and transparent in the same places.
bool SamePixels(SDL_Surface* whole, SDL_Surface* streamed) {
    for (int y = 0; y < whole->h; ++y)
        for (int x = 0; x < whole->w; ++x) {
            uint32_t a = PixelAt(whole, x, y), b = PixelAt(streamed, x, y);
            if ((a >> 24) != (b >> 24)) return false;
            if ((a >> 24) != 0 && a != b) return false;
        }
    return true;
}

// ffmpeg's fixed GIF palette gives pure blue as 0000AA.
bool IsRed(uint32_t argb) { return ((argb >> 16) & 0xFF) > 150 && (argb & 0xFF) < 60; }
bool IsBlue(uint32_t argb) { return (argb & 0xFF) > 150 && ((argb >> 16) & 0xFF) < 60; }

struct GifFiles {
    testing::TemporaryFolder folder;
    FileSystem files;
    PictureCache cache{files};
};

TEST(GifStream, FrameByFrameShowsWhatTheWholeDecodingShowsInOrderAndAfterGoingBack) {
    GifFiles gifs;
    // A moving test pattern: ffmpeg stores most frames as changed rectangles over the one before.
    std::string path = MakeGif(gifs.folder, "pattern.gif", "testsrc=size=64x48:rate=10:duration=1.2");
    auto bytes = gifs.files.ReadFile(path);
    ASSERT_TRUE(bytes);
    auto whole = PictureCache::Decode(*bytes, path);
    auto streamed = PictureCache::Decode(*bytes, path, true, 0);
    ASSERT_FALSE(whole->streamed());
    ASSERT_TRUE(streamed->streamed());
    EXPECT_EQ(streamed->width(), 64);
    EXPECT_EQ(streamed->height(), 48);
    ASSERT_EQ(streamed->frames().size(), whole->frames().size());
    ASSERT_GT(whole->frames().size(), 5u);
    for (size_t i = 0; i < whole->frames().size(); ++i) {
        EXPECT_EQ(streamed->frames()[i].delayMs, whole->frames()[i].delayMs) << "frame " << i;
        EXPECT_TRUE(SamePixels(whole->surface(i), streamed->surface(i))) << "frame " << i;
    }
    // The animation loops: back to an earlier frame, then on again.
    for (size_t i : {size_t{0}, size_t{3}, size_t{2}, whole->frames().size() - 1})
        EXPECT_TRUE(SamePixels(whole->surface(i), streamed->surface(i))) << "frame " << i;
}

TEST(GifStream, AnAnimationAboveTheBudgetIsDecodedAsShownAndOneBelowItWhole) {
    GifFiles gifs;
    // 1200 x 1200 pixels, twelve frames: 69 MB decoded whole. Red for half a second, then blue.
    std::string large = MakeGif(gifs.folder, "large.gif",
                                "color=c=red:size=1200x1200:rate=10:duration=1.2,"
                                "drawbox=c=blue:t=fill:enable='gte(t,0.5)'");
    auto picture = gifs.cache.Load(large);
    ASSERT_TRUE(picture->streamed());
    EXPECT_EQ(picture->width(), 1200);
    EXPECT_EQ(picture->height(), 1200);
    ASSERT_EQ(picture->frames().size(), 12u);
    EXPECT_TRUE(IsRed(PixelAt(picture->surface(0), 600, 600)));
    EXPECT_TRUE(IsBlue(PixelAt(picture->surface(11), 600, 600)));
    EXPECT_TRUE(IsRed(PixelAt(picture->surface(4), 10, 1190)));
    EXPECT_TRUE(IsBlue(PixelAt(picture->surface(5), 10, 1190)));
    // One surface serves every frame.
    EXPECT_EQ(picture->surface(0), picture->surface(11));

    std::string small = MakeGif(gifs.folder, "small.gif", "testsrc=size=64x48:rate=10:duration=1");
    EXPECT_FALSE(gifs.cache.Load(small)->streamed());
}

TEST(GifStream, TheSceneShowsTheFrameOfTheClockOfAnAnimationDecodedAsShown) {
    GifFiles gifs;
    std::string large = MakeGif(gifs.folder, "large.gif",
                                "color=c=red:size=1200x1200:rate=10:duration=1.2,"
                                "drawbox=c=blue:t=fill:enable='gte(t,0.5)'");
    VirtualClock clock;
    Display display{DisplaySettings{.clientWidth = 64, .clientHeight = 48, .headless = true}};
    SceneRenderer renderer{display.renderer(), gifs.cache, clock};
    Form form{"Main", 64, 48};
    auto& image = static_cast<ImageControl&>(form.Add(std::make_unique<ImageControl>("walk")));
    image.SetBounds({0, 0, 64, 48});
    image.picture = large;
    auto shown = [&](int64_t atMs) {
        clock.AdvanceTo(atMs);
        renderer.Draw(form);
        return PixelAt(display.target(), 32, 24);
    };
    EXPECT_TRUE(IsRed(shown(0)));
    EXPECT_TRUE(IsBlue(shown(650)));
    EXPECT_TRUE(IsBlue(shown(1150)));
    // The loop starts again at 1.2 s.
    EXPECT_TRUE(IsRed(shown(1250)));
    ASSERT_TRUE(gifs.cache.Load(large)->streamed());
}

TEST(GifStream, DamagedOrEmptyBytesOpenNothing) {
    EXPECT_EQ(GifStream::Open(""), nullptr);
    EXPECT_EQ(GifStream::Open("GIF89a"), nullptr);
    EXPECT_EQ(GifStream::Open(std::string("GIF89a\x10\x00\x10\x00\x00\x00\x00;", 13)), nullptr);
}

}  // namespace
}  // namespace taviro::platform
