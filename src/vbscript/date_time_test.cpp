// Serial dates: calendar arithmetic, text forms and parsing.
#include "vbscript/date_time.h"

#include <gtest/gtest.h>

namespace taviro::vbscript {
namespace {

TEST(SerialDate, DayZeroIsThirtiethOfDecember1899) {
    EXPECT_EQ(ToSerialDate({1899, 12, 30, 0, 0, 0}), 0);
    EXPECT_EQ(ToSerialDate({1900, 1, 1, 0, 0, 0}), 2);
    EXPECT_EQ(ToSerialDate({2000, 3, 1, 0, 0, 0}) - ToSerialDate({2000, 2, 28, 0, 0, 0}), 2);  // a leap year
    EXPECT_EQ(ToSerialDate({1900, 3, 1, 0, 0, 0}) - ToSerialDate({1900, 2, 28, 0, 0, 0}), 1);  // not one
    EXPECT_DOUBLE_EQ(ToSerialDate({1899, 12, 30, 18, 0, 0}), 0.75);
}

TEST(SerialDate, MonthsAndDaysOutOfRangeRollOver) {
    EXPECT_EQ(ToSerialDate({2020, 13, 1, 0, 0, 0}), ToSerialDate({2021, 1, 1, 0, 0, 0}));
    EXPECT_EQ(ToSerialDate({2020, 0, 1, 0, 0, 0}), ToSerialDate({2019, 12, 1, 0, 0, 0}));
    EXPECT_EQ(ToSerialDate({2020, 3, 0, 0, 0, 0}), ToSerialDate({2020, 2, 29, 0, 0, 0}));
}

TEST(SerialDate, DatesBeforeTheEpochCountTheTimeAwayFromZero) {
    CivilTime t = FromSerialDate(-1.25);
    EXPECT_EQ(t.year, 1899);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 29);
    EXPECT_EQ(t.hour, 6);
    EXPECT_DOUBLE_EQ(ToSerialDate(t), -1.25);
}

TEST(SerialDate, RoundTripsThroughCivilTime) {
    for (double serial : {0.0, 1.5, 36526.25, 43831.999988, 2958465.0, -657434.0}) {
        CivilTime t = FromSerialDate(serial);
        EXPECT_NEAR(ToSerialDate(t), serial, 1.0 / 86400) << serial;
    }
}

TEST(DateText, ShowsDateTimeOrBoth) {
    EXPECT_EQ(FormatDate(ToSerialDate({2020, 1, 2, 0, 0, 0})), u"1/2/2020");
    EXPECT_EQ(FormatDate(ToSerialDate({1899, 12, 30, 15, 4, 5})), u"3:04:05 PM");
    EXPECT_EQ(FormatDate(ToSerialDate({2020, 1, 2, 0, 30, 0})), u"1/2/2020 12:30:00 AM");
    EXPECT_EQ(FormatDate(0), u"12:00:00 AM");
}

TEST(DateText, ParsesUsFormsIsoFormsAndMonthNames) {
    double serial = 0;
    ASSERT_TRUE(ParseDate(u"1/2/2020", serial, 2000));
    EXPECT_EQ(serial, ToSerialDate({2020, 1, 2, 0, 0, 0}));
    ASSERT_TRUE(ParseDate(u"2020-01-02 13:30", serial, 2000));
    EXPECT_DOUBLE_EQ(serial, ToSerialDate({2020, 1, 2, 13, 30, 0}));
    ASSERT_TRUE(ParseDate(u"January 2, 2020", serial, 2000));
    EXPECT_EQ(serial, ToSerialDate({2020, 1, 2, 0, 0, 0}));
    ASSERT_TRUE(ParseDate(u"12:00 AM", serial, 2000));
    EXPECT_EQ(serial, 0);
    ASSERT_TRUE(ParseDate(u"3 PM", serial, 2000));
    EXPECT_DOUBLE_EQ(serial, 0.625);
    ASSERT_TRUE(ParseDate(u"1/2/30", serial, 2000));
    EXPECT_EQ(FromSerialDate(serial).year, 1930);
}

TEST(DateText, RefusesTextThatIsNotADate) {
    double serial = 0;
    EXPECT_FALSE(ParseDate(u"", serial, 2000));
    EXPECT_FALSE(ParseDate(u"hello", serial, 2000));
    EXPECT_FALSE(ParseDate(u"13/45/2020", serial, 2000));
    EXPECT_FALSE(ParseDate(u"25:00", serial, 2000));
    EXPECT_FALSE(ParseDate(u"1/2/3/4", serial, 2000));
}

}  // namespace
}  // namespace taviro::vbscript
