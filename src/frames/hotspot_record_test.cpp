#include "frames/hotspot_record.h"

#include <gtest/gtest.h>

#include "project/field_value.h"
#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;
using testing::FieldsLine;

// The fields up to list B, for a hotspot at (left, top) with the given size in editor units.
string Required(double left, double top, double width, double height, double merged = 0) {
    return FieldsLine({string(""), merged}) + FieldsLine({0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine(
               {left, top, width, height, 0.0, true, string("door.bmp"), 1.0, string("hand.cur"), 1.0}) +
           FieldsLine({2.0, string("DoorOpen"), string("Dark")}) + FieldsLine({1.0, string("HasKey")});
}

string Separator() { return FieldsLine({string(project::kRecordSeparator)}); }

TEST(HotspotRecord, RequiredFieldsAndConditions) {
    project::FieldReader reader(Required(150, 300, 1500, 975, 1) + Separator());
    HotspotRecord record = ReadHotspotRecord(reader);
    EXPECT_EQ(record.mergedMarker, 1);
    EXPECT_DOUBLE_EQ(record.leftUnits, 150);
    EXPECT_TRUE(record.showsPicture);
    EXPECT_EQ(record.picture, "door.bmp");
    EXPECT_EQ(record.pointer, "hand.cur");
    EXPECT_EQ(record.mustBeZero, (std::vector<string>{"DoorOpen", "Dark"}));
    EXPECT_EQ(record.mustBeOne, std::vector<string>{"HasKey"});
    EXPECT_FALSE(record.hasLoopingVideo);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(HotspotRecord, OptionalFieldsAreReadWhenPresent) {
    project::FieldReader reader(Required(0, 0, 300, 300) + FieldsLine({string("5")}) +
                                FieldsLine({true, string("loop.avi"), true, 0.0, 0.0, 0.0, 2.0, 3.0}) +
                                FieldsLine({0.0, 0.0}) + Separator() + Required(0, 0, 60, 60) + Separator());
    HotspotRecord first = ReadHotspotRecord(reader);
    EXPECT_DOUBLE_EQ(project::NumericValue(first.animationSpeed), 5);
    EXPECT_TRUE(first.hasLoopingVideo);
    EXPECT_EQ(first.loopingVideo, "loop.avi");
    EXPECT_TRUE(first.videoSizedToHotspot);
    EXPECT_DOUBLE_EQ(project::NumericValue(first.videoPlayCount), 3);
    HotspotRecord second = ReadHotspotRecord(reader);
    EXPECT_DOUBLE_EQ(second.widthUnits, 60);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(HotspotRecord, ShortOptionalPartNeverSwallowsTheNextRecord) {
    project::FieldReader reader(Required(0, 0, 300, 300) + FieldsLine({string("5"), true}) + Separator() +
                                Required(15, 0, 300, 300) + Separator());
    ReadHotspotRecord(reader);
    EXPECT_DOUBLE_EQ(ReadHotspotRecord(reader).leftUnits, 15);
}

TEST(HotspotRecord, RectangleIsInsetByTwoPixelsAndAtLeastOnePixel) {
    HotspotRecord record;
    record.leftUnits = 150;
    record.topUnits = 300;
    record.widthUnits = 1500;
    record.heightUnits = 60;
    TwipsRectangle rectangle = HotspotRectangle(record, 15);
    EXPECT_EQ(rectangle.left, 150 + 30);
    EXPECT_EQ(rectangle.top, 300 + 30);
    EXPECT_EQ(rectangle.width, 1500 - 60);
    EXPECT_EQ(rectangle.height, 15);
    // On a display of 12 twips per pixel, 15 editor units are still one pixel.
    EXPECT_EQ(HotspotRectangle(record, 12).left, 120 + 24);
}

}  // namespace
}  // namespace taviro::frames
