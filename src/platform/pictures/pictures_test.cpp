#include <SDL.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/game_error.h"
#include "platform/log.h"
#include "platform/pictures/cursor_file.h"
#include "platform/pictures/gif_check.h"
#include "platform/pictures/picture_cache.h"
#include "platform/pictures/test_pictures.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

using namespace test_pictures;
constexpr uint32_t kOrange = 0xFFFF8000;

struct PictureFolder {
    testing::TemporaryFolder folder;
    FileSystem files;
    PictureCache cache{files};

    std::string Path(const std::string& name) const { return (folder.path() / name).string(); }
    void Write(const std::string& name, const std::string& bytes) const { folder.Write(name, bytes); }
};

int ErrorNumberOf(PictureFolder& pictures, const std::string& name) {
    try {
        pictures.cache.Load(pictures.Path(name));
    } catch (const GameError& error) {
        return error.number();
    }
    return 0;
}

TEST(Pictures, EveryStillFormatLoadsWithItsSizeAndColours) {
    PictureFolder pictures;
    auto orange = Filled(5, 4, kOrange);
    pictures.Write("a.bmp", BmpBytes(orange.get()));
    pictures.Write("a.png", PngBytes(orange.get()));
    pictures.Write("a.jpg", JpegBytes(orange.get()));
    pictures.Write("a.ico", IconBytes(16, 16, kOrange));
    pictures.Write("a.cur", IconBytes(32, 32, kOrange, Point{7, 19}));
    for (auto [name, width, height] : {std::tuple{"a.bmp", 5, 4},
                                       {"a.png", 5, 4},
                                       {"a.jpg", 5, 4},
                                       {"a.ico", 16, 16},
                                       {"a.cur", 32, 32}}) {
        SCOPED_TRACE(name);
        auto picture = pictures.cache.Load(pictures.Path(name));
        EXPECT_EQ(picture->width(), width);
        EXPECT_EQ(picture->height(), height);
        EXPECT_FALSE(picture->animated());
        EXPECT_TRUE(Near(PixelAt(picture->surface(), width - 1, height - 1), kOrange, 4));
    }
}

TEST(Pictures, CursorsKeepTheHotSpotOfTheirFileAndIconsHaveNone) {
    PictureFolder pictures;
    pictures.Write("hand.cur", IconBytes(32, 32, kOrange, Point{7, 19}));
    pictures.Write("hand.ico", IconBytes(32, 32, kOrange));
    EXPECT_EQ(pictures.cache.Load(pictures.Path("hand.cur"))->hotSpot(), (Point{7, 19}));
    EXPECT_EQ(pictures.cache.Load(pictures.Path("hand.ico"))->hotSpot(), std::nullopt);
    EXPECT_EQ(CursorHotSpot(IconBytes(16, 16, 0, Point{0, 15})), (Point{0, 15}));
    EXPECT_EQ(CursorHotSpot(std::string("\0\0\2\0\1\0", 6)), std::nullopt);  // cut short
    EXPECT_FALSE(IsIconOrCursor(PngBytes(Filled(1, 1, 0).get())));
}

TEST(Pictures, AnimatedGifsKeepEveryFrameAndItsDelay) {
    PictureFolder pictures;
    std::ifstream in("tests/pictures/three_frames.gif", std::ios::binary);
    ASSERT_TRUE(in) << "run the tests from the source folder";
    pictures.Write("walk.gif", std::string(std::istreambuf_iterator<char>(in), {}));
    auto picture = pictures.cache.Load(pictures.Path("walk.gif"));
    ASSERT_EQ(picture->frames().size(), 3u);
    EXPECT_EQ(picture->frames()[0].delayMs, 100);
    EXPECT_EQ(picture->frames()[1].delayMs, 200);
    EXPECT_EQ(picture->frames()[2].delayMs, 500);
    EXPECT_EQ(PixelAt(picture->surface(0), 0, 0), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(picture->surface(1), 3, 2), 0xFF00FF00u);
    EXPECT_EQ(PixelAt(picture->surface(2), 1, 1), 0xFF0000FFu);
}

// Two damaged copies of a GIF found by the game-corruption fuzzer: digits written into its compressed
// data made SDL_image write outside its tables and crash, and "_on_" written over a frame's position
// placed it 28,000 pixels away, which made SDL_image allocate gigabytes. Both are pictures the player
// cannot read, and the undamaged GIF still loads.
TEST(Pictures, DamagedGifsThatWouldCrashOrExhaustTheDecoderAreNotPictures) {
    PictureFolder pictures;
    log::SetQuiet(true);
    for (const char* name : {"damaged_lzw_data.gif", "frame_far_outside.gif", "three_frames.gif"}) {
        std::ifstream in(std::string("tests/pictures/") + name, std::ios::binary);
        ASSERT_TRUE(in) << "run the tests from the source folder";
        pictures.Write(name, std::string(std::istreambuf_iterator<char>(in), {}));
    }
    EXPECT_EQ(ErrorNumberOf(pictures, "damaged_lzw_data.gif"), 481);
    EXPECT_EQ(ErrorNumberOf(pictures, "frame_far_outside.gif"), 481);
    EXPECT_EQ(ErrorNumberOf(pictures, "three_frames.gif"), 0);
    log::SetQuiet(false);
}

// A damaged header that declares a picture of gigapixels is refused before any decoder allocates
// for it; the same pictures with their own sizes load.
TEST(Pictures, PicturesDeclaringSizesFarBeyondAnyGameAreNotPictures) {
    PictureFolder pictures;
    auto surface = Filled(8, 8, kOrange);
    std::string bmp = BmpBytes(surface.get()), png = PngBytes(surface.get()), jpeg = JpegBytes(surface.get());
    EXPECT_EQ(DeclaredPicturePixels(bmp), 64);
    EXPECT_EQ(DeclaredPicturePixels(png), 64);
    EXPECT_EQ(DeclaredPicturePixels(jpeg), 64);
    bmp.replace(18, 8, std::string("\x30\x75\0\0\x30\x75\0\0", 8));  // 30,000 x 30,000
    png.replace(16, 8, std::string("\0\x01\0\0\0\x01\0\0", 8));      // 65,536 x 65,536
    size_t frame = jpeg.find("\xff\xc0");
    ASSERT_NE(frame, std::string::npos);
    jpeg.replace(frame + 5, 4, "\xff\xff\xff\xff");  // 65,535 x 65,535
    pictures.Write("huge.bmp", bmp);
    pictures.Write("huge.png", png);
    pictures.Write("huge.jpg", jpeg);
    log::SetQuiet(true);
    for (const char* name : {"huge.bmp", "huge.png", "huge.jpg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ErrorNumberOf(pictures, name), 481);
    }
    EXPECT_EQ(DeclaredPicturePixels(bmp), 900'000'000);
    log::SetQuiet(false);
}

// What the dry run of GIF reading refuses, on GIFs small enough to write here: a frame of no pixels,
// a screen too large, and compressed data that goes on past the end of the file.
TEST(Pictures, GifCheckRefusesEmptyFramesHugeScreensAndCutData) {
    const std::string header("GIF89a\2\0\2\0\0\0\0", 13);
    const std::string frame(",\0\0\0\0\2\0\2\0\0", 10);
    const std::string data("\2\2\x44\x01\0;", 6);  // clear, a pixel of colour 0, end
    EXPECT_TRUE(IsSoundGif(header + frame + data));
    std::string empty = frame;
    empty[5] = '\0';  // width 0
    EXPECT_FALSE(IsSoundGif(header + empty + data));
    std::string huge = header;
    huge[6] = huge[7] = huge[8] = huge[9] = '\xff';  // 65535 x 65535
    EXPECT_FALSE(IsSoundGif(huge + frame + data));
    EXPECT_FALSE(IsSoundGif(header + frame + "\2\x09\x44"));  // a block of nine bytes, three given
}

TEST(Pictures, APictureUsedAgainIsNotDecodedAgainWhateverTheLetterCase) {
    PictureFolder pictures;
    pictures.Write("Rooms/Hall.PNG", PngBytes(Filled(8, 8, kOrange).get()));
    auto first = pictures.cache.Load(pictures.Path("Rooms/Hall.PNG"));
    auto second = pictures.cache.Load(pictures.Path("rooms\\hall.png"));
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(pictures.cache.decodeCount(), 1u);
    first.reset();
    second.reset();
    pictures.cache.Trim();
    EXPECT_EQ(pictures.cache.size(), 0u);
}

TEST(Pictures, BadFilesGiveTheirCallerAClearErrorAndTheLogALine) {
    PictureFolder pictures;
    std::string png = PngBytes(Filled(64, 64, kOrange).get());
    pictures.Write("empty.bmp", "");
    pictures.Write("cut.png", png.substr(0, png.size() / 2));
    pictures.Write("notes.jpg", "These are not the pictures you are looking for.");
    pictures.Write("plan.wmf", std::string("\xD7\xCD\xC6\x9A\0\0", 6) + std::string(40, '\0'));
    pictures.Write("cut.gif", std::string("GIF89a\4\0", 8));
    pictures.Write("cut.cur", IconBytes(32, 32, kOrange, Point{1, 1}).substr(0, 60));
    testing::TemporaryFolder logFolder;
    std::string logPath = (logFolder.path() / "player.log").string();
    ASSERT_TRUE(log::Configure(logPath.c_str(), false));
    log::SetQuiet(true);
    EXPECT_EQ(ErrorNumberOf(pictures, "missing.bmp"), 53);
    // A damaged item description whose picture name is empty names the Areas folder itself.
    pictures.Write("Areas/key.gif", "x");
    EXPECT_EQ(ErrorNumberOf(pictures, "Areas/"), 53);
    EXPECT_EQ(ErrorNumberOf(pictures, "Areas"), 53);
    for (const char* name : {"empty.bmp", "cut.png", "notes.jpg", "plan.wmf", "cut.gif", "cut.cur"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ErrorNumberOf(pictures, name), 481);
    }
    log::Configure(nullptr, false);
    log::SetQuiet(false);
    std::ifstream in(logPath);
    std::string logText((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(logText.find("missing file: "), std::string::npos);
    EXPECT_NE(logText.find("missing.bmp"), std::string::npos);
    EXPECT_NE(logText.find("plan.wmf: WMF and EMF pictures are not supported"), std::string::npos);
    EXPECT_NE(logText.find("cut.png"), std::string::npos);
}

}  // namespace
}  // namespace taviro::platform
