// Operator result subtypes, overflow promotion, Null propagation and comparisons.
#include "vbscript/operators.h"

#include <gtest/gtest.h>

#include "vbscript/conversions.h"
#include "vbscript/script_error.h"
#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

std::string TypeAndValue(const Variant& v) {
    return std::string(v.IsNull() ? "Null" : "") + (v.IsNull() ? "" : [&] {
               std::u16string text = TypeNameOf(v) + u":" + ToString(v);
               return std::string(text.begin(), text.end());
           }());
}

int ErrorOf(auto&& action) {
    try {
        action();
    } catch (const ScriptError& error) {
        return error.number;
    }
    return 0;
}

TEST(Arithmetic, IntegerOverflowPromotesToLongThenDouble) {
    EXPECT_EQ(TypeAndValue(Add(Variant(int16_t{32767}), Variant(int16_t{1}))), "Long:32768");
    EXPECT_EQ(TypeAndValue(Add(Variant(int16_t{1}), Variant(int16_t{2}))), "Integer:3");
    EXPECT_EQ(TypeAndValue(Add(Variant(int32_t{2147483647}), Variant(int16_t{1}))), "Double:2147483648");
    EXPECT_EQ(TypeAndValue(Multiply(Variant(int16_t{300}), Variant(int16_t{300}))), "Long:90000");
    EXPECT_EQ(TypeAndValue(Subtract(Variant(int16_t{-32768}), Variant(int16_t{1}))), "Long:-32769");
    EXPECT_EQ(TypeAndValue(Add(Variant::Byte(200), Variant::Byte(100))), "Integer:300");
    EXPECT_EQ(TypeAndValue(Add(Variant::Byte(2), Variant::Byte(3))), "Byte:5");
}

TEST(Arithmetic, EmptyActsAsZeroAndBooleansAsIntegers) {
    EXPECT_EQ(TypeAndValue(Add(Variant(), Variant())), "Integer:0");
    EXPECT_EQ(TypeAndValue(Add(Variant(true), Variant(true))), "Integer:-2");
    EXPECT_EQ(TypeAndValue(Add(Variant(), Variant(2.5))), "Double:2.5");
}

TEST(Arithmetic, StringsConcatenateWithPlusButConvertBesideNumbers) {
    EXPECT_EQ(TypeAndValue(Add(Variant(u"1"), Variant(u"2"))), "String:12");
    EXPECT_EQ(TypeAndValue(Add(Variant(u"10"), Variant(int16_t{5}))), "Double:15");
    EXPECT_EQ(TypeAndValue(Add(Variant(u"ab"), Variant())), "String:ab");
    EXPECT_EQ(ErrorOf([] { Add(Variant(u"abc"), Variant(int16_t{1})); }), err::kTypeMismatch);
}

TEST(Arithmetic, NullPropagatesThroughArithmeticButNotConcatenation) {
    EXPECT_TRUE(Add(Variant::MakeNull(), Variant(int16_t{1})).IsNull());
    EXPECT_TRUE(Multiply(Variant(2.0), Variant::MakeNull()).IsNull());
    EXPECT_TRUE(Negate(Variant::MakeNull()).IsNull());
    EXPECT_EQ(TypeAndValue(Concat(Variant::MakeNull(), Variant(u"a"))), "String:a");
    EXPECT_TRUE(Concat(Variant::MakeNull(), Variant::MakeNull()).IsNull());
    EXPECT_TRUE(Compare(Variant::MakeNull(), Variant(int16_t{1}), Comparison::Equal).IsNull());
}

TEST(Arithmetic, DivisionGivesDoublesAndFailsOnZero) {
    EXPECT_EQ(TypeAndValue(Divide(Variant(int16_t{7}), Variant(int16_t{2}))), "Double:3.5");
    EXPECT_EQ(ErrorOf([] { Divide(Variant(int16_t{1}), Variant(int16_t{0})); }), err::kDivisionByZero);
    EXPECT_EQ(ErrorOf([] { Divide(Variant(int16_t{0}), Variant(int16_t{0})); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { IntDivide(Variant(int16_t{1}), Variant(int16_t{0})); }), err::kDivisionByZero);
    EXPECT_EQ(ErrorOf([] { Modulo(Variant(int16_t{1}), Variant()); }), err::kDivisionByZero);
}

TEST(Arithmetic, IntegerDivisionAndModRoundOperandsToEvenFirst) {
    EXPECT_EQ(TypeAndValue(IntDivide(Variant(7.5), Variant(int16_t{2}))), "Long:4");
    EXPECT_EQ(TypeAndValue(IntDivide(Variant(int16_t{-7}), Variant(int16_t{2}))), "Integer:-3");
    EXPECT_EQ(TypeAndValue(Modulo(Variant(int16_t{-7}), Variant(int16_t{3}))), "Integer:-1");
    EXPECT_EQ(TypeAndValue(Modulo(Variant(6.5), Variant(int16_t{4}))), "Long:2");
}

TEST(Arithmetic, DoubleOverflowIsAnError) {
    EXPECT_EQ(ErrorOf([] { Multiply(Variant(1e308), Variant(10.0)); }), err::kOverflow);
    EXPECT_EQ(ErrorOf([] { Power(Variant(10.0), Variant(400.0)); }), err::kOverflow);
}

TEST(Arithmetic, CurrencyKeepsFourDecimalsAndDatesShiftByDays) {
    EXPECT_EQ(TypeAndValue(Add(Variant::Currency(15000), Variant(int16_t{1}))), "Currency:2.5");
    EXPECT_EQ(TypeAndValue(Multiply(Variant::Currency(15000), Variant::Currency(20000))), "Currency:3");
    EXPECT_EQ(TypeAndValue(Add(Variant::Date(1.0), Variant(int16_t{1}))), "Date:1/1/1900");
    EXPECT_EQ(TypeAndValue(Subtract(Variant::Date(3.0), Variant::Date(1.0))), "Double:2");
}

TEST(Comparison, NumbersCompareNumericallyAndStringsBinary) {
    EXPECT_TRUE(Compare(Variant(int16_t{2}), Variant(10.0), Comparison::Less).boolean());
    EXPECT_TRUE(Compare(Variant(u"B"), Variant(u"a"), Comparison::Less).boolean());
    EXPECT_TRUE(Compare(Variant(), Variant(u""), Comparison::Equal).boolean());
    EXPECT_TRUE(Compare(Variant(), Variant(int16_t{0}), Comparison::Equal).boolean());
}

TEST(Comparison, StringVariablesAreGreaterThanNumbersUnlessComparedWithALiteral) {
    EXPECT_TRUE(Compare(Variant(u"10"), Variant(int16_t{9}), Comparison::Greater).boolean());
    EXPECT_FALSE(Compare(Variant(u"10"), Variant(int16_t{10}), Comparison::Equal).boolean());
    EXPECT_TRUE(Compare(Variant(u"10"), Variant(int16_t{10}), Comparison::Equal, LiteralSide::RightIsLiteral)
                    .boolean());
    ScriptRun run;
    EXPECT_EQ(run.Run("Dim s, n: s = \"100\": n = 1000\nPrint s > n, s = 100, s < 1000"), "True True True");
}

TEST(Logic, BooleansGiveBooleansAndNumbersGiveBitwiseResults) {
    EXPECT_EQ(TypeAndValue(And(Variant(true), Variant(false))), "Boolean:False");
    EXPECT_EQ(TypeAndValue(Or(Variant(int16_t{12}), Variant(int16_t{3}))), "Integer:15");
    EXPECT_EQ(TypeAndValue(Xor(Variant(int32_t{6}), Variant(int16_t{3}))), "Long:5");
    EXPECT_EQ(TypeAndValue(Not(Variant(int16_t{0}))), "Integer:-1");
    EXPECT_EQ(TypeAndValue(Imp(Variant(true), Variant(false))), "Boolean:False");
    EXPECT_EQ(TypeAndValue(Eqv(Variant(false), Variant(false))), "Boolean:True");
}

TEST(Logic, NullMeetsFalseInAndAndTrueInOr) {
    EXPECT_EQ(TypeAndValue(And(Variant::MakeNull(), Variant(false))), "Boolean:False");
    EXPECT_EQ(TypeAndValue(Or(Variant::MakeNull(), Variant(true))), "Boolean:True");
    EXPECT_TRUE(And(Variant::MakeNull(), Variant(true)).IsNull());
    EXPECT_TRUE(Not(Variant::MakeNull()).IsNull());
}

TEST(Precedence, OperatorsBindAsVBScriptOrdersThem) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print -2 ^ 2, 2 + 3 * 4, 7 \\ 2 * 3, 10 Mod 4 + 1, 1 + 2 & 3 + 4, 2 ^ -1"),
              "-4 14 1 3 37 0.5");
    EXPECT_EQ(run.Run("Print Not 1 = 2, True Or False And False, 5 > 3 = True"), "True True True");
    EXPECT_EQ(run.Run("Print 2 ^ 3 ^ 2, -3 Mod 2, &HFF, &H8000, &HFFFF&, &O17"), "64 -1 255 -32768 65535 15");
}

}  // namespace
}  // namespace taviro::vbscript
