#include "project/field_reader.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/game_error.h"

namespace taviro::project {
namespace {

int ErrorNumberOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const GameError& error) {
        return error.number();
    }
    return 0;
}

TEST(FieldReader, QuotedStringsKeepCommasAndLineBreaks) {
    FieldReader reader("\"a, b\",\"line one\r\nline two\",\"\"\r\n\"after\"\r\n");
    EXPECT_EQ(reader.ReadString(), "a, b");
    EXPECT_EQ(reader.ReadString(), "line one\r\nline two");
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_EQ(reader.ReadString(), "after");
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FieldReader, BareFieldsAreTrimmedAndEndAtCommaOrLineEnd) {
    FieldReader reader("  12 ,  hello world  \n3.5\r\n");
    EXPECT_EQ(reader.ReadInteger(), 12);
    EXPECT_EQ(reader.ReadString(), "hello world");
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 3.5);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(FieldReader, TextBetweenClosingQuoteAndDelimiterIsDropped) {
    FieldReader reader("\"kept\" dropped,2");
    EXPECT_EQ(reader.ReadString(), "kept");
    EXPECT_EQ(reader.ReadInteger(), 2);
}

TEST(FieldReader, EmptyFieldsReadAsEmptyZeroAndFalse) {
    FieldReader reader(",,,\r\n");
    EXPECT_EQ(reader.ReadString(), "");
    EXPECT_EQ(reader.ReadInteger(), 0);
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_TRUE(std::holds_alternative<std::monostate>(reader.ReadVariant()));
}

TEST(FieldReader, LfAndCrLfLineEndsBothSeparateFields) {
    FieldReader unix("1\n2\n");
    FieldReader windows("1\r\n2\r\n");
    for (FieldReader* reader : {&unix, &windows}) {
        EXPECT_EQ(reader->ReadInteger(), 1);
        EXPECT_EQ(reader->ReadInteger(), 2);
        EXPECT_TRUE(reader->AtEnd());
    }
}

TEST(FieldReader, BooleansComeFromMarkersNumbersAndWords) {
    FieldReader reader("#TRUE#,#FALSE#,#true#,-1,0,7,\"True\",false");
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_TRUE(reader.ReadBoolean());
    EXPECT_FALSE(reader.ReadBoolean());
}

TEST(FieldReader, BooleanMarkersReadAsNumbersAndText) {
    FieldReader reader("#TRUE#,#FALSE#,#TRUE#");
    EXPECT_EQ(reader.ReadInteger(), -1);
    EXPECT_EQ(reader.ReadLong(), 0);
    EXPECT_EQ(reader.ReadString(), "True");
}

TEST(FieldReader, NumbersWithExponentsAndSigns) {
    FieldReader reader("1E+20,-2.5e-3,+7,.5,1D2");
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 1e20);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), -0.0025);
    EXPECT_EQ(reader.ReadLong(), 7);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 0.5);
    EXPECT_DOUBLE_EQ(reader.ReadDouble(), 100);
}

TEST(FieldReader, IntegersRoundHalfToEven) {
    FieldReader reader("2.5,3.5,-2.5,2.4");
    EXPECT_EQ(reader.ReadInteger(), 2);
    EXPECT_EQ(reader.ReadInteger(), 4);
    EXPECT_EQ(reader.ReadLong(), -2);
    EXPECT_EQ(reader.ReadLong(), 2);
}

TEST(FieldReader, OutOfRangeIntegersOverflow) {
    FieldReader reader("32767,32768,-32768,-32769,2147483647,2147483648");
    EXPECT_EQ(reader.ReadInteger(), 32767);
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadInteger(); }), 6);
    EXPECT_EQ(reader.ReadInteger(), -32768);
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadInteger(); }), 6);
    EXPECT_EQ(reader.ReadLong(), 2147483647);
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadLong(); }), 6);
    FieldReader huge("1E+400,1E-400");
    EXPECT_EQ(ErrorNumberOf([&] { huge.ReadDouble(); }), 6);
    EXPECT_EQ(huge.ReadDouble(), 0);
}

TEST(FieldReader, TextWhereANumberIsNeededIsATypeMismatch) {
    FieldReader reader("abc,\"12\",\"x\",12abc");
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadInteger(); }), 13);
    EXPECT_EQ(reader.ReadInteger(), 12);
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadBoolean(); }), 13);
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadDouble(); }), 13);
}

TEST(FieldReader, ReadingPastTheEndIsError62) {
    FieldReader reader("1\r\n\r\n");
    reader.ReadInteger();
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadString(); }), 62);
    FieldReader empty("");
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(ErrorNumberOf([&] { empty.ReadBoolean(); }), 62);
}

TEST(FieldReader, VariantKeepsWhatTheFieldHolds) {
    FieldReader reader("\"12\",12,#TRUE#,#NULL#,,word");
    EXPECT_EQ(std::get<std::string>(reader.ReadVariant()), "12");
    EXPECT_DOUBLE_EQ(std::get<double>(reader.ReadVariant()), 12);
    EXPECT_TRUE(std::get<bool>(reader.ReadVariant()));
    EXPECT_TRUE(std::holds_alternative<NullField>(reader.ReadVariant()));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(reader.ReadVariant()));
    EXPECT_EQ(std::get<std::string>(reader.ReadVariant()), "word");
}

TEST(FieldReader, NullIsNotAStringOrNumber) {
    FieldReader reader("#NULL#,#NULL#");
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadString(); }), 94);
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadInteger(); }), 94);
}

TEST(FieldReader, PeekDoesNotConsume) {
    FieldReader reader("\"----- SEPARATOR -----\",5");
    EXPECT_EQ(reader.PeekString(), "----- SEPARATOR -----");
    EXPECT_EQ(reader.PeekString(), "----- SEPARATOR -----");
    reader.Skip();
    EXPECT_EQ(reader.ReadInteger(), 5);
    EXPECT_EQ(reader.PeekString(), std::nullopt);
}

TEST(FieldReader, SkipRecordStopsAfterTheSeparator) {
    FieldReader reader("1,\"a\",#TRUE#\r\n\"----- SEPARATOR -----\"\r\n2\r\n\"----- SEPARATOR -----\"\r\n");
    reader.SkipRecord();
    EXPECT_EQ(reader.ReadInteger(), 2);
    reader.SkipRecord();
    EXPECT_TRUE(reader.AtEnd());
    FieldReader unterminated("1,2");
    EXPECT_EQ(ErrorNumberOf([&] { unterminated.SkipRecord(); }), 62);
}

TEST(FieldReader, LinesAreReadWhole) {
    FieldReader reader("Sub A()\r\n  x = \"a, b\"\nEnd Sub\r\n\r\nlast");
    EXPECT_EQ(reader.ReadLine(), "Sub A()");
    EXPECT_EQ(reader.ReadLine(), "  x = \"a, b\"");
    EXPECT_EQ(reader.ReadLine(), "End Sub");
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.ReadLine(), "last");
    EXPECT_EQ(ErrorNumberOf([&] { reader.ReadLine(); }), 62);
}

TEST(FieldReader, UnterminatedQuoteRunsToTheEnd) {
    FieldReader reader("\"never closed, 1\r\n2");
    EXPECT_EQ(reader.ReadString(), "never closed, 1\r\n2");
    EXPECT_TRUE(reader.AtEnd());
}

}  // namespace
}  // namespace taviro::project
