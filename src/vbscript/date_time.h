// Dates as VBScript keeps them: days since 30 December 1899, the time of day as the fraction.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace taviro::vbscript {

// The order of day, month and year in a date written as numbers.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

struct CivilTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// The serial date of a calendar date and time; months and days out of range roll over as DateSerial does.
double ToSerialDate(const CivilTime& time);
// The calendar date and time of a serial date (rounded to the second).
CivilTime FromSerialDate(double serial);
// The text CStr gives a date in the current locale: its short date ("1/2/2020"), its long time
// ("3:04:05 PM"), or both; midnight of day 0 alone is the time of midnight ("12:00:00 AM").
std::u16string FormatDate(double serial);
// The short date alone, the long date alone, the long time alone, in the current locale.
std::u16string FormatShortDate(double serial);
std::u16string FormatLongDate(double serial);
std::u16string FormatLongTime(double serial);
// Reads "1/2/2020", "2020-01-02", "1/2/2020 3:04 PM", "15:04:05", "January 2, 2020". A day that its
// month does not have makes the text no date; a month above 12 with a day up to 12 reads as day and
// month ("13/1/2020"); a date without a year ("1/2", "January 2") is in yearWhenMissing. Numbers
// read in the given order; month names are English ones or the current locale's.
bool ParseDate(std::u16string_view text, double& serial, int yearWhenMissing,
               DateOrder order = DateOrder::MonthDayYear);
// The calendar year of a time in milliseconds since 1 January 1970, as Vm::LocalTimeMs gives it.
int YearOfLocalTime(int64_t localTimeMs);

}  // namespace taviro::vbscript
