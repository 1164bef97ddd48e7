#include "project/field_value.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"

namespace taviro::project {
namespace {

TEST(FieldValue, ValTakesTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(Val("1500"), 1500);
    EXPECT_DOUBLE_EQ(Val("  12abc"), 12);
    EXPECT_DOUBLE_EQ(Val("1 000"), 1000);
    EXPECT_DOUBLE_EQ(Val("-2.5e1x"), -25);
    EXPECT_DOUBLE_EQ(Val("3e"), 3);
    EXPECT_DOUBLE_EQ(Val("abc"), 0);
    EXPECT_DOUBLE_EQ(Val(""), 0);
    EXPECT_DOUBLE_EQ(Val("."), 0);
}

TEST(FieldValue, FlagsAreNonZeroValues) {
    EXPECT_TRUE(IsSet(FieldValue(true)));
    EXPECT_TRUE(IsSet(FieldValue(1.0)));
    EXPECT_TRUE(IsSet(FieldValue(std::string("1"))));
    EXPECT_FALSE(IsSet(FieldValue(std::string(""))));
    EXPECT_FALSE(IsSet(FieldValue(std::string("yes"))));
    EXPECT_FALSE(IsSet(FieldValue()));
    EXPECT_FALSE(IsSet(FieldValue(false)));
}

TEST(FieldValue, TypedConversionsFollowTheOriginal) {
    EXPECT_EQ(ToInteger(FieldValue(std::string("2.5"))), 2);
    EXPECT_EQ(ToInteger(FieldValue(true)), -1);
    EXPECT_EQ(ToInteger(FieldValue()), 0);
    EXPECT_THROW(ToInteger(FieldValue(40000.0)), GameError);
    EXPECT_THROW(ToDouble(FieldValue(std::string("x"))), GameError);
    EXPECT_THROW(ToDouble(FieldValue(NullField{})), GameError);
    EXPECT_TRUE(ToBoolean(FieldValue(std::string("TRUE"))));
    EXPECT_FALSE(ToBoolean(FieldValue(std::string("0"))));
    EXPECT_EQ(ToText(FieldValue(0.5)), ".5");
    EXPECT_EQ(ToText(FieldValue(true)), "True");
}

}  // namespace
}  // namespace taviro::project
