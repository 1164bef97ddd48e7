// Dates as VBScript keeps them: days since 30 December 1899, the time of day as the fraction.
#pragma once

#include <string>
#include <string_view>

namespace taviro::vbscript {

struct CivilTime {
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
};

// The serial date of a calendar date and time; months and days out of range roll over as DateSerial does.
double ToSerialDate(const CivilTime& time);
// The calendar date and time of a serial date (rounded to the second).
CivilTime FromSerialDate(double serial);
// The text CStr gives a date: "1/2/2020", "3:04:05 PM", or both; midnight of day 0 alone is "12:00:00 AM".
std::u16string FormatDate(double serial);
// Reads "1/2/2020", "2020-01-02", "1/2/2020 3:04 PM", "15:04:05", "January 2, 2020". False if not a date.
bool ParseDate(std::u16string_view text, double& serial);

}  // namespace taviro::vbscript
