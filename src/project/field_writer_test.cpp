#include "project/field_writer.h"

#include <gtest/gtest.h>

namespace taviro::project {
namespace {

TEST(FieldWriter, WritesLikeWriteStatement) {
    FieldWriter writer;
    writer.WriteString("Door, left").WriteNumber(12).WriteBoolean(true).WriteBoolean(false).EndLine();
    writer.WriteNull().WriteEmpty().WriteNumber(-0.5).EndLine();
    EXPECT_EQ(writer.text(), "\"Door, left\",12,#TRUE#,#FALSE#\r\n#NULL#,,-.5\r\n");
}

TEST(FieldWriter, NumbersUseAtMostFifteenDigitsAndVbExponents) {
    EXPECT_EQ(FormatEditorNumber(0.5), ".5");
    EXPECT_EQ(FormatEditorNumber(1e20), "1E+20");
    EXPECT_EQ(FormatEditorNumber(0.00001), "1E-05");
    EXPECT_EQ(FormatEditorNumber(1.0 / 3.0), ".333333333333333");
    EXPECT_EQ(FormatEditorNumber(-32768), "-32768");
}

TEST(FieldWriter, WhatIsWrittenReadsBackTheSame) {
    FieldWriter writer;
    writer.WriteString("multi\r\nline, text").WriteNumber(3.25).WriteBoolean(true).EndLine();
    writer.WriteNumber(1e-7).WriteString("").EndLine();
    FieldReader reader(writer.text());
    EXPECT_EQ(reader.ReadString(), "multi\r\nline, text");
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 3.25);
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 1e-7);
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace taviro::project
