// Pictures decoded ahead: used only when complete, for the same real path and an unchanged file,
// within a budget that drops the oldest first, and silent about damaged files.
#include "platform/pictures/picture_preloader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/game_error.h"
#include "platform/pictures/picture_cache.h"
#include "platform/pictures/test_pictures.h"
#include "support/test_project.h"

namespace taviro::platform {
namespace {

using namespace test_pictures;
using Paths = std::vector<std::string>;

struct Folder {
    testing::TemporaryFolder folder;
    FileSystem files;
    PictureCache cache{files};

    std::string Path(const std::string& name) const { return (folder.path() / name).string(); }
    void WritePicture(const std::string& name, uint32_t argb, int side = 8) const {
        folder.Write(name, BmpBytes(Filled(side, side, argb).get()));
    }
    void DecodeAhead(const std::vector<Paths>& pictures) {
        cache.DecodeAhead(pictures);
        cache.preloader()->WaitUntilIdle();
    }
};

TEST(DecodingAhead, ALoadOfAPictureDecodedAheadDecodesNothing) {
    Folder pictures;
    pictures.WritePicture("hall.bmp", 0xFF102030);
    pictures.WritePicture("garden.bmp", 0xFF405060);
    pictures.DecodeAhead({{pictures.Path("HALL.BMP")}});
    auto hall = pictures.cache.Load(pictures.Path("hall.bmp"));
    EXPECT_EQ(pictures.cache.decodeCount(), 0u);
    EXPECT_EQ(pictures.cache.decodedAheadCount(), 1u);
    EXPECT_EQ(PixelAt(hall->surface(), 0, 0), 0xFF102030u);
    // A picture nobody asked for is decoded when it is loaded.
    pictures.cache.Load(pictures.Path("garden.bmp"));
    EXPECT_EQ(pictures.cache.decodeCount(), 1u);
    EXPECT_TRUE(pictures.cache.preloader()->heldPaths().empty());
}

TEST(DecodingAhead, TheFirstStoredNameThatExistsIsDecodedAndOnlyThatPathUsesIt) {
    Folder pictures;
    pictures.WritePicture("hall.b01", 0xFF102030);
    pictures.WritePicture("hall.bmp2", 0xFF405060);
    pictures.DecodeAhead(
        {{pictures.Path("hall.bmp"), pictures.Path("hall.b01"), pictures.Path("hall.bmp2")}});
    EXPECT_EQ(pictures.cache.preloader()->heldPaths(), Paths{pictures.Path("hall.b01")});
    // The game thread located another file: that one is decoded afresh.
    auto other = pictures.cache.Load(pictures.Path("hall.bmp2"));
    EXPECT_EQ(PixelAt(other->surface(), 0, 0), 0xFF405060u);
    EXPECT_EQ(pictures.cache.decodedAheadCount(), 0u);
}

TEST(DecodingAhead, AFileChangedOnDiskIsDecodedAgain) {
    Folder pictures;
    pictures.WritePicture("hall.bmp", 0xFF102030);
    pictures.DecodeAhead({{pictures.Path("hall.bmp")}});
    pictures.WritePicture("hall.bmp", 0xFF405060, 9);
    auto hall = pictures.cache.Load(pictures.Path("hall.bmp"));
    EXPECT_EQ(PixelAt(hall->surface(), 0, 0), 0xFF405060u);
    EXPECT_EQ(pictures.cache.decodedAheadCount(), 0u);
}

TEST(DecodingAhead, TheBudgetDropsTheOldestPicturesFirst) {
    testing::TemporaryFolder folder;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "huge.bmp"})
        folder.Write(name, BmpBytes(Filled(name[0] == 'h' ? 64 : 16, 16, 0xFF000000).get()));
    auto path = [&](const char* name) { return (folder.path() / name).string(); };
    // Room for two 16x16 pictures of 1 KB each; the 4 KB one never fits.
    PicturePreloader preloader(2 * 16 * 16 * 4);
    preloader.DecodeAhead({{path("a.bmp")}, {path("b.bmp")}, {path("huge.bmp")}, {path("c.bmp")}});
    preloader.WaitUntilIdle();
    EXPECT_EQ(preloader.heldPaths(), (Paths{path("b.bmp"), path("c.bmp")}));
    EXPECT_EQ(preloader.heldBytes(), 2u * 16 * 16 * 4);
    EXPECT_EQ(preloader.Take(path("a.bmp")), nullptr);
    ASSERT_NE(preloader.Take(path("b.bmp")), nullptr);
    EXPECT_EQ(preloader.heldPaths(), Paths{path("c.bmp")});
}

TEST(DecodingAhead, ANewFrameReplacesThePicturesStillWaiting) {
    testing::TemporaryFolder folder;
    folder.Write("a.bmp", BmpBytes(Filled(8, 8, 0xFF000000).get()));
    folder.Write("b.bmp", BmpBytes(Filled(8, 8, 0xFF000000).get()));
    PicturePreloader preloader;
    preloader.DecodeAhead({{(folder.path() / "a.bmp").string()}});
    preloader.DecodeAhead({{(folder.path() / "b.bmp").string()}});
    preloader.WaitUntilIdle();
    // a.bmp may have started before it was replaced; b.bmp is always there, and nothing else.
    Paths held = preloader.heldPaths();
    EXPECT_EQ(held.back(), (folder.path() / "b.bmp").string());
    EXPECT_LE(held.size(), 2u);
}

TEST(DecodingAhead, ADamagedPictureIsReportedOnlyWhenLoadedAndAsWithoutDecodingAhead) {
    Folder pictures;
    pictures.folder.Write("torn.bmp", BmpBytes(Filled(8, 8, 0xFF000000).get()).substr(0, 20));
    pictures.DecodeAhead({{pictures.Path("torn.bmp")}, {pictures.Path("missing.bmp")}});
    EXPECT_TRUE(pictures.cache.preloader()->heldPaths().empty());
    for (const char* name : {"torn.bmp", "missing.bmp"}) {
        SCOPED_TRACE(name);
        int number = 0;
        try {
            pictures.cache.Load(pictures.Path(name));
        } catch (const GameError& error) {
            number = error.number();
        }
        EXPECT_EQ(number, name[0] == 't' ? 481 : 53);
    }
}

TEST(PictureCacheBudget, DropsThePicturesLeastRecentlyLoadedThatNobodyUsesFirst) {
    testing::TemporaryFolder folder;
    FileSystem files;
    constexpr size_t kPicture = 8 * 8 * 4;
    PictureCache cache(files, 3 * kPicture);
    auto path = [&](const std::string& name) { return (folder.path() / name).string(); };
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
        folder.Write(name, BmpBytes(Filled(8, 8, 0xFF102030).get()));
    cache.Load(path("a.bmp"));
    auto held = cache.Load(path("b.bmp"));  // in use by someone: kept whatever its age
    cache.Load(path("c.bmp"));
    EXPECT_FALSE(cache.KeepWithinBudget());
    cache.Load(path("d.bmp"));
    cache.Load(path("a.bmp"));  // loaded again: now the most recent
    EXPECT_EQ(cache.heldBytes(), 4 * kPicture);

    EXPECT_TRUE(cache.KeepWithinBudget());
    EXPECT_EQ(cache.heldBytes(), 3 * kPicture);
    // c.bmp was the least recently loaded of those nobody holds; the others stay.
    const size_t decoded = cache.decodeCount();
    for (const char* name : {"a.bmp", "b.bmp", "d.bmp"}) cache.Load(path(name));
    EXPECT_EQ(cache.decodeCount(), decoded);
    cache.Load(path("c.bmp"));
    EXPECT_EQ(cache.decodeCount(), decoded + 1);
}

TEST(PictureCacheBudget, PicturesInUseStayEvenBeyondTheBudget) {
    testing::TemporaryFolder folder;
    FileSystem files;
    PictureCache cache(files, 1);
    folder.Write("a.bmp", BmpBytes(Filled(8, 8, 0xFF102030).get()));
    auto shown = cache.Load((folder.path() / "a.bmp").string());
    EXPECT_FALSE(cache.KeepWithinBudget());
    EXPECT_EQ(cache.size(), 1u);
    shown.reset();
    EXPECT_TRUE(cache.KeepWithinBudget());
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.heldBytes(), 0u);
}

}  // namespace
}  // namespace taviro::platform
