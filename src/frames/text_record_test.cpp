#include "frames/text_record.h"

#include <gtest/gtest.h>

#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;
using testing::FieldsLine;

string Leading(double merged = 0) {
    return FieldsLine({string(""), merged, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0});
}

TEST(TextRecord, FieldsInOrder) {
    project::FieldReader reader(
        Leading(1) + FieldsLine({string("Welcome!"), 300.0, 150.0, true, false, string("Times New Roman"),
                                 12.0, false, true, 255.0, string("")}));
    TextRecord record = ReadTextRecord(reader);
    EXPECT_EQ(record.mergedMarker, 1);
    EXPECT_EQ(record.caption, "Welcome!");
    EXPECT_DOUBLE_EQ(record.leftUnits, 300);
    EXPECT_TRUE(record.bold);
    EXPECT_FALSE(record.italic);
    EXPECT_EQ(record.fontName, "Times New Roman");
    EXPECT_TRUE(record.underline);
    EXPECT_EQ(record.colour, 255);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TextRecord, EmptyMarkerAndEmptyFontName) {
    project::FieldReader reader(Leading() + FieldsLine({string("[EMPTY]"), 0.0, 0.0, false, false, string(""),
                                                        10.0, false, false, 0.0, string("")}));
    TextRecord record = ReadTextRecord(reader);
    EXPECT_EQ(record.caption, "");
    EXPECT_EQ(record.fontName, "Arial");
}

TEST(TextRecord, BadFieldsKeepTheirDefaultsAndReadingGoesOn) {
    project::FieldReader reader(
        Leading() +
        FieldsLine({string("Hi"), string("left"), 30.0, string("maybe"), true, string("Arial"), string("big"),
                    false, false, 99999999999.0, string("")}) +
        Leading() + FieldsLine({string("Next")}));
    TextRecord record = ReadTextRecord(reader);
    EXPECT_EQ(record.caption, "Hi");
    EXPECT_DOUBLE_EQ(record.leftUnits, 0);
    EXPECT_DOUBLE_EQ(record.topUnits, 30);
    EXPECT_FALSE(record.bold);
    EXPECT_TRUE(record.italic);
    EXPECT_EQ(record.colour, 0);
}

TEST(TextRecord, RecordCutOffByTheEndOfTheFileKeepsWhatItHas) {
    project::FieldReader reader(Leading() + FieldsLine({string("Last words"), 300.0}));
    TextRecord record = ReadTextRecord(reader);
    EXPECT_EQ(record.caption, "Last words");
    EXPECT_DOUBLE_EQ(record.leftUnits, 300);
    EXPECT_EQ(record.fontName, "Arial");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(TextRecord, FontSizeKeepsItsPixelsOnLargeFontDisplays) {
    TextRecord record;
    record.fontSizeUnits = 10;
    EXPECT_DOUBLE_EQ(TextFontSizePoints(record, 15), 10);
    EXPECT_DOUBLE_EQ(TextFontSizePoints(record, 12), 8);
}

}  // namespace
}  // namespace taviro::frames
