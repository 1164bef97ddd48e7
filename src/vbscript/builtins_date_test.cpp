// Date built-ins: parts of dates, building dates, date arithmetic and date formats.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

TEST(DateParts, ReadEachFieldOfADateAndTime) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("d = #3/15/2021 14:05:09#\nPrint Year(d), Month(d), Day(d), Hour(d), Minute(d), Second(d), "
                "TypeName(Year(d))"),
        "2021 3 15 14 5 9 Integer");
    EXPECT_EQ(run.Run("Print Year(\"July 4, 1976\"), Day(Empty), Month(0), Hour(0.75)"), "1976 30 12 18");
    EXPECT_EQ(run.Run("Print IsNull(Year(Null)), IsNull(Minute(Null))"), "True True");
    EXPECT_EQ(run.Run("Print Day(\"not a date\")"), "error 13 (1, 1): Type mismatch");
}

TEST(DateParts, WeekdayCountsFromTheChosenFirstDay) {
    ScriptRun run;
    // 1 January 2020 was a Wednesday.
    EXPECT_EQ(run.Run("Print Weekday(\"1/1/2020\"), Weekday(\"1/1/2020\", vbMonday), Weekday(\"1/1/2020\", "
                      "vbWednesday), Weekday(\"1/1/2020\", vbUseSystemDayOfWeek)"),
              "4 3 1 4");
    EXPECT_EQ(run.Run("Print Weekday(Date, 8)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print Weekday(-1), Weekday(-8)"), "6 6");
}

TEST(DateNames, MonthAndWeekdayNamesInFullOrShort) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print MonthName(1), MonthName(12, True), WeekdayName(1), WeekdayName(7, True), "
                      "WeekdayName(1, False, vbMonday)"),
              "January Dec Sunday Sat Monday");
    EXPECT_EQ(run.Run("Print MonthName(13)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print WeekdayName(0)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print MonthName(Null)"), "error 94 (1, 1): Invalid use of Null");
}

TEST(DateBuilding, DateSerialRollsOverMonthsAndDays) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print DateSerial(2020, 2, 30), DateSerial(2020, 13, 1), DateSerial(2020, 1, 0), "
                      "DateSerial(2021, -1, 1), TypeName(DateSerial(2020, 1, 1))"),
              "3/1/2020 1/1/2021 12/31/2019 11/1/2020 Date");
    EXPECT_EQ(
        run.Run("Print DateSerial(1999, 12, 31) + 1, CDbl(DateSerial(1899, 12, 30)), DateSerial(99, 1, 1)"),
        "1/1/2000 0 1/1/1999");
    EXPECT_EQ(run.Run("Print DateSerial(10000, 1, 1)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print DateSerial(2020, 40000, 1)"), "error 6 (1, 1): Overflow");
    EXPECT_EQ(run.Run("Print DateSerial(Null, 1, 1)"), "error 94 (1, 1): Invalid use of Null");
}

TEST(DateBuilding, TimeSerialCarriesSecondsAndMinutes) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print TimeSerial(14, 5, 9), TimeSerial(0, 90, 0), TimeSerial(12, 0, -1), "
                      "TimeSerial(0, 0, 0)"),
              "2:05:09 PM 1:30:00 AM 11:59:59 AM 12:00:00 AM");
    EXPECT_EQ(run.Run("Print TimeSerial(25, 0, 0)"), "12/31/1899 1:00:00 AM");
}

TEST(DateBuilding, DateValueAndTimeValueKeepOneHalf) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print DateValue(\"3/15/2021 2:05 PM\"), TimeValue(\"3/15/2021 2:05 PM\"), "
                      "DateValue(\"2021-03-15\"), TimeValue(\"14:05:09\")"),
              "3/15/2021 2:05:00 PM 3/15/2021 2:05:09 PM");
    EXPECT_EQ(run.Run("Print IsNull(DateValue(Null)), TypeName(TimeValue(\"1:00\"))"), "True Date");
    EXPECT_EQ(run.Run("Print DateValue(\"2/30/2021x\")"), "error 13 (1, 1): Type mismatch");
}

TEST(DateText, DaysAMonthDoesNotHaveMakeNoDate) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print IsDate(\"2/30/2021\"), IsDate(\"2/29/2020\"), IsDate(\"2/29/2021\"), "
                      "IsDate(\"4/31/2021\"), IsDate(\"2021-02-29\"), IsDate(\"February 30, 2021\")"),
              "False True False False False False");
    EXPECT_EQ(run.Run("x = CDate(\"2/30/2021\")"), "error 13 (1, 1): Type mismatch");
    EXPECT_EQ(run.Run("x = DateValue(\"4/31/2021\")"), "error 13 (1, 1): Type mismatch");
    EXPECT_EQ(run.Run("x = Year(\"2/29/2100\")"), "error 13 (1, 1): Type mismatch");
}

TEST(DateText, MonthAboveTwelveReadsAsTheDayWhenOnlyThatOrderMakesADate) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print CDate(\"13/1/2021\"), DateValue(\"31/12/2020\"), IsDate(\"13/13/2021\"), "
                      "IsDate(\"31/2/2021\")"),
              "1/13/2021 12/31/2020 False False");
}

TEST(DateText, DateWithoutAYearIsInTheYearOfTheLocalClock) {
    ScriptRun run;
    run.localTimeMs = 1686830400000;  // 15 June 2023, noon
    EXPECT_EQ(run.Run("Print CDate(\"2/3\"), DateValue(\"March 4\"), Year(\"12/25\"), IsDate(\"2/29\"), "
                      "CDate(\"2/3 10:30 PM\")"),
              "2/3/2023 3/4/2023 2023 False 2/3/2023 10:30:00 PM");
    run.localTimeMs = 1583020800000;  // 1 March 2020, midnight: a leap year
    EXPECT_EQ(run.Run("Print IsDate(\"2/29\"), CDate(\"2/29\")"), "True 2/29/2020");
}

TEST(DateArithmetic, DateAddKeepsTheDayWithinShorterMonths) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print DateAdd(\"m\", 1, \"31-Jan-95\"), DateAdd(\"m\", 1, \"31-Jan-96\"), "
                      "DateAdd(\"m\", -1, \"31-Jan-10\"), DateAdd(\"yyyy\", 1, \"2/29/2020\")"),
              "2/28/1995 2/29/1996 12/31/2009 2/28/2021");
    EXPECT_EQ(run.Run("Print DateAdd(\"q\", 1, \"31-Jan-10\"), DateAdd(\"y\", 1, \"31-Jan-10\"), "
                      "DateAdd(\"w\", 1, \"31-Jan-10\"), DateAdd(\"ww\", 1, \"31-Jan-10\")"),
              "4/30/2010 2/1/2010 2/1/2010 2/7/2010");
    EXPECT_EQ(run.Run("t = \"31-Jan-10 08:50:00\"\nPrint DateAdd(\"h\", 1, t), DateAdd(\"n\", 1, t), "
                      "DateAdd(\"s\", 1, t), DateAdd(\"h\", -9, t)"),
              "1/31/2010 9:50:00 AM 1/31/2010 8:51:00 AM 1/31/2010 8:50:01 AM 1/30/2010 11:50:00 PM");
    EXPECT_EQ(run.Run("Print DateAdd(\"D\", 1.5, \"1/1/2020\"), DateAdd(\"d\", 2.5, \"1/1/2020\")"),
              "1/3/2020 1/3/2020");
}

TEST(DateArithmetic, DateAddRefusesBadIntervalsAndDatesOutOfRange) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print DateAdd(\"x\", 1, Date)"), "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print DateAdd(\"yyyy\", -2000, \"1/1/2000\")"),
              "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print DateAdd(\"d\", 1, \"12/31/9999\")"),
              "error 5 (1, 1): Invalid procedure call or argument");
    EXPECT_EQ(run.Run("Print IsNull(DateAdd(\"d\", 1, Null))"), "True");
}

TEST(DateArithmetic, DateDiffCountsBoundariesCrossed) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Print DateDiff(\"yyyy\", \"12/31/2019\", \"1/1/2020\"), DateDiff(\"m\", \"1/31/2020\", "
                "\"2/1/2020\"), DateDiff(\"q\", \"3/31/2020\", \"4/1/2020\"), DateDiff(\"d\", \"1/1/2020 "
                "23:00\", \"1/2/2020 01:00\")"),
        "1 1 1 1");
    EXPECT_EQ(run.Run("Print DateDiff(\"h\", \"1:59\", \"2:00\"), DateDiff(\"n\", \"1:00:59\", \"1:01:00\"), "
                      "DateDiff(\"s\", \"1:00\", \"1:01\"), DateDiff(\"d\", \"1/10/2020\", \"1/1/2020\")"),
              "1 1 60 -9");
    // 5 January 2020 was a Sunday; "ww" counts Sundays after the first date up to the second.
    EXPECT_EQ(run.Run("Print DateDiff(\"ww\", \"1/4/2020\", \"1/5/2020\"), DateDiff(\"ww\", \"1/5/2020\", "
                      "\"1/11/2020\"), DateDiff(\"w\", \"1/1/2020\", \"1/14/2020\"), DateDiff(\"ww\", "
                      "\"1/4/2020\", \"1/5/2020\", vbMonday)"),
              "1 0 1 0");
    EXPECT_EQ(run.Run("Print TypeName(DateDiff(\"d\", 0, 1)), IsNull(DateDiff(\"d\", Null, 1))"),
              "Long True");
}

TEST(DateArithmetic, DatePartAndWeeksOfTheYear) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("d = #3/1/2020 14:05:09#\nPrint DatePart(\"yyyy\", d), DatePart(\"q\", d), DatePart(\"y\", "
                "d), DatePart(\"w\", d), DatePart(\"h\", d), DatePart(\"n\", d), DatePart(\"s\", d)"),
        "2020 1 61 1 14 5 9");
    // 1 January 2021 was a Friday: week 1 by default, week 53 of 2020 when the first week must hold four
    // days or be whole.
    EXPECT_EQ(
        run.Run(
            "Print DatePart(\"ww\", \"1/1/2021\"), DatePart(\"ww\", \"1/1/2021\", vbSunday, "
            "vbFirstFourDays), DatePart(\"ww\", \"1/3/2021\", vbSunday, vbFirstFourDays), "
            "DatePart(\"ww\", \"12/31/2020\"), DatePart(\"ww\", \"1/1/2021\", vbSunday, vbFirstFullWeek)"),
        "1 53 1 53 52");
    EXPECT_EQ(run.Run("Print DatePart(\"ww\", Date, 1, 4)"),
              "error 5 (1, 1): Invalid procedure call or argument");
}

TEST(DateFormats, FormatDateTimeNamedFormats) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("d = #1/1/2020 15:04:05#\nPrint FormatDateTime(d), \"|\" & FormatDateTime(d, vbLongDate), "
                "\"|\" & FormatDateTime(d, vbShortDate), FormatDateTime(d, vbLongTime), "
                "FormatDateTime(d, vbShortTime)"),
        "1/1/2020 3:04:05 PM |Wednesday, January 1, 2020 |1/1/2020 3:04:05 PM 15:04");
    EXPECT_EQ(run.Run("Print FormatDateTime(#9:05:00 AM#, 4), FormatDateTime(\"7/4/1976\", 0)"),
              "09:05 7/4/1976");
    EXPECT_EQ(run.Run("Print FormatDateTime(Date, 5)"), "error 5 (1, 1): Invalid procedure call or argument");
}

}  // namespace
}  // namespace taviro::vbscript
