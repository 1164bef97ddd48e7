#include "platform/media/video_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/test_project.h"

namespace taviro::platform::media {
namespace {

using std::string;

// The red, green and blue parts of an ARGB pixel.
struct Rgb {
    int red, green, blue;
};
Rgb Parts(uint32_t pixel) {
    return {static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
            static_cast<int>(pixel & 0xFF)};
}

struct VideoFiles : ::testing::Test {
    // Encodes two seconds of a picture whose left half is red and right half blue, at 25 pictures a
    // second, with the ffmpeg program; "" when this ffmpeg cannot encode it.
    string Encode(const string& name, const string& options, const string& size = "160x120") {
        string path = (folder.path() / name).string();
        string command = "ffmpeg -loglevel quiet -y -f lavfi -i color=c=red:size=" + size +
                         ":rate=25:duration=2 -vf \"drawbox=x=iw/2:y=0:w=iw/2:h=ih:color=blue:t=fill\" " +
                         options + " '" + path + "'";
        return std::system(command.c_str()) == 0 ? path : "";
    }
    testing::TemporaryFolder folder;
};

struct Format {
    const char* file;
    const char* options;
};

// Every container and codec that games of that era carry and that this ffmpeg can write.
const Format kFormats[] = {
    {"mpeg4.avi", "-c:v mpeg4 -pix_fmt yuv420p"},
    {"xvid.avi", "-c:v libxvid -pix_fmt yuv420p"},
    {"msmpeg4v2.avi", "-c:v msmpeg4v2 -pix_fmt yuv420p"},
    {"msmpeg4v3.avi", "-c:v msmpeg4 -pix_fmt yuv420p"},
    {"cinepak.avi", "-c:v cinepak"},
    {"mjpeg.avi", "-c:v mjpeg -pix_fmt yuvj420p"},
    {"raw.avi", "-c:v rawvideo -pix_fmt bgr24"},
    {"msvideo1.avi", "-c:v msvideo1"},
    {"mpeg1.mpg", "-c:v mpeg1video -pix_fmt yuv420p"},
    {"mpeg2.mpg", "-c:v mpeg2video -pix_fmt yuv420p"},
    {"wmv1.wmv", "-c:v wmv1 -pix_fmt yuv420p"},
    {"wmv2.wmv", "-c:v wmv2 -pix_fmt yuv420p"},
    {"wmv2.asf", "-c:v wmv2 -pix_fmt yuv420p -f asf"},
    {"quicktime.mov", "-c:v mjpeg -pix_fmt yuvj420p"},
};

TEST_F(VideoFiles, EachContainerAndCodecDecodesWithItsSizeLengthAndColours) {
    int decoded = 0;
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.file);
        string path = Encode(format.file, format.options);
        if (path.empty()) continue;
        string error;
        auto decoder = VideoDecoder::Open(path, error);
        ASSERT_TRUE(decoder) << error;
        EXPECT_EQ(decoder->width(), 160);
        EXPECT_EQ(decoder->height(), 120);
        // MPEG program streams store no length; FFmpeg guesses one from the bit rate.
        if (!string(format.file).ends_with(".mpg")) {
            EXPECT_NEAR(decoder->durationMs(), 2000, 100);
        }
        decoder->Start(0, 0);
        auto picture = decoder->TakePictureAt(1000, true);
        ASSERT_TRUE(picture);
        EXPECT_LE(picture->timeMs, 1000);
        EXPECT_GT(picture->timeMs, 940);
        ASSERT_EQ(picture->pixels.size(), 160u * 120u);
        Rgb left = Parts(picture->pixels[60 * 160 + 20]);
        Rgb right = Parts(picture->pixels[60 * 160 + 140]);
        EXPECT_GT(left.red, 200);
        EXPECT_LT(left.blue, 60);
        EXPECT_GT(right.blue, 200);
        EXPECT_LT(right.red, 60);
        EXPECT_EQ(picture->pixels[0] >> 24, 0xFFu);
        // The last picture ends the video at its length.
        decoder->TakePictureAt(100000, true);
        ASSERT_TRUE(decoder->endMs());
        EXPECT_NEAR(*decoder->endMs(), 2000, 50);
        ++decoded;
    }
    EXPECT_GE(decoded, 10);
}

TEST_F(VideoFiles, PicturesAreScaledToTheSizeTheyAreShownAt) {
    string path = Encode("scaled.avi", "-c:v mpeg4");
    string error;
    auto decoder = VideoDecoder::Open(path, error);
    ASSERT_TRUE(decoder) << error;
    decoder->Start(40, 300);
    auto picture = decoder->TakePictureAt(0, true);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 40);
    EXPECT_EQ(picture->height, 300);
    EXPECT_GT(Parts(picture->pixels[150 * 40 + 2]).red, 200);
    EXPECT_GT(Parts(picture->pixels[150 * 40 + 37]).blue, 200);
}

TEST_F(VideoFiles, ThePictureDueAtAPositionIsTheNewestNotYetTaken) {
    string path = Encode("steps.avi", "-c:v mpeg4");
    string error;
    auto decoder = VideoDecoder::Open(path, error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_EQ(decoder->frameIntervalMs(), 40);
    decoder->Start(0, 0);
    EXPECT_EQ(decoder->TakePictureAt(0, true)->timeMs, 0);
    // Nothing new until the next picture is due; then the newest of those due, skipping the others.
    EXPECT_FALSE(decoder->TakePictureAt(39, true));
    EXPECT_EQ(decoder->TakePictureAt(40, true)->timeMs, 40);
    EXPECT_EQ(decoder->TakePictureAt(1750, true)->timeMs, 1720);
    EXPECT_FALSE(decoder->endMs());
}

TEST_F(VideoFiles, FilesWithoutAUsableVideoAreRefusedWithAReason) {
    string error;
    EXPECT_FALSE(VideoDecoder::Open((folder.path() / "missing.avi").string(), error));
    EXPECT_FALSE(error.empty());

    string sound = (folder.path() / "sound.wav").string();
    ASSERT_EQ(std::system(("ffmpeg -loglevel quiet -y -f lavfi -i sine=duration=1 '" + sound + "'").c_str()),
              0);
    EXPECT_FALSE(VideoDecoder::Open(sound, error));
    EXPECT_EQ(error, "no video in the file");

    string text = (folder.path() / "text.avi").string();
    std::ofstream(text) << "RIFF this is not a video at all";
    error.clear();
    EXPECT_FALSE(VideoDecoder::Open(text, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(VideoFiles, ATruncatedFilePlaysWhatItHoldsAndEnds) {
    string path = Encode("whole.mpg", "-c:v mpeg1video");
    string cut = (folder.path() / "cut.mpg").string();
    {
        std::ifstream in(path, std::ios::binary);
        string bytes((std::istreambuf_iterator<char>(in)), {});
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    string error;
    auto decoder = VideoDecoder::Open(cut, error);
    ASSERT_TRUE(decoder) << error;
    decoder->Start(0, 0);
    EXPECT_TRUE(decoder->TakePictureAt(0, true));
    decoder->TakePictureAt(100000, true);
    ASSERT_TRUE(decoder->endMs());
    EXPECT_LT(*decoder->endMs(), 2000);
}

TEST_F(VideoFiles, ATinyVideoDecodesAndADecoderStoppedEarlyLetsGo) {
    string path = Encode("tiny.avi", "-c:v rawvideo -pix_fmt bgr24", "2x2");
    string error;
    auto tiny = VideoDecoder::Open(path, error);
    ASSERT_TRUE(tiny) << error;
    tiny->Start(1, 1);
    auto picture = tiny->TakePictureAt(500, true);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->pixels.size(), 1u);
    // Destroyed with a full queue and the thread waiting for room: must not hang.
    auto busy = VideoDecoder::Open(path, error);
    busy->Start(0, 0);
    busy.reset();
}

}  // namespace
}  // namespace taviro::platform::media
