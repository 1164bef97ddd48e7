#include "platform/code_page.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace taviro::platform {
namespace {

TEST(CodePage, WindowsLatinRoundTrips) {
    CodePage cp1252(1252);
    EXPECT_EQ(cp1252.Decode("Caf\xe9 \x80 \x93quoted\x94"),
              "Caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x9cquoted\xe2\x80\x9d");
    EXPECT_EQ(cp1252.Encode("Caf\xc3\xa9 \xe2\x82\xac"), "Caf\xe9 \x80");
}

TEST(CodePage, UndefinedBytesBecomeTheCharacterOfTheSameNumber) {
    CodePage cp1252(1252);
    EXPECT_EQ(cp1252.Decode("a\x81z"), "a\xc2\x81z");
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks) {
    CodePage cp1252(1252);
    EXPECT_EQ(cp1252.Encode("a\xe4\xb8\xad"
                            "b\xf0\x9f\x98\x80"
                            "c"),
              "a?b?c");
    EXPECT_EQ(cp1252.Encode("bad\xff"), "bad?");
}

TEST(CodePage, OtherCodePagesAndUtf8) {
    EXPECT_EQ(CodePage(1251).Decode("\xc4\xe0"), "\xd0\x94\xd0\xb0");
    EXPECT_EQ(CodePage(65001).Decode("\xc3\xa9"), "\xc3\xa9");
    EXPECT_THROW(CodePage(99999), std::invalid_argument);
}

}  // namespace
}  // namespace taviro::platform
