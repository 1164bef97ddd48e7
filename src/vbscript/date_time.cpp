// Calendar arithmetic, and dates to and from text in the current locale's forms.
#include "vbscript/date_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "vbscript/locale.h"
#include "vbscript/number_text.h"
#include "vbscript/object.h"

namespace taviro::vbscript {

namespace {
// Days from 1 March of year 0 in the proleptic Gregorian calendar (Howard Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    int64_t yoe = y - era * 400;
    int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

const int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

int DaysInMonth(int64_t year, int month) {
    int64_t next = month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1);
    return static_cast<int>(next - DaysFromCivil(year, month, 1));
}

const char16_t* const kMonthNames[12] = {u"january",   u"february", u"march",    u"april",
                                         u"may",       u"june",     u"july",     u"august",
                                         u"september", u"october",  u"november", u"december"};
}  // namespace

int YearOfLocalTime(int64_t localTimeMs) {
    int64_t days = localTimeMs / 86400000 - (localTimeMs % 86400000 < 0 ? 1 : 0);
    int year, month, day;
    CivilFromDays(days, year, month, day);
    return year;
}

double ToSerialDate(const CivilTime& t) {
    int64_t month0 = static_cast<int64_t>(t.month) - 1;
    int64_t year = t.year + (month0 >= 0 ? month0 / 12 : (month0 - 11) / 12);
    month0 -= (year - t.year) * 12;
    int64_t days = DaysFromCivil(year, month0 + 1, 1) + (t.day - 1) - kEpochDays;
    double time = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    // Before the epoch the fraction counts away from zero: -1.25 is 29 Dec 1899, 06:00.
    return days >= 0 ? static_cast<double>(days) + time : static_cast<double>(days) - time;
}

CivilTime FromSerialDate(double serial) {
    CivilTime t;
    // Dates lie between the years 100 and 9999; anything else (a host's NaN) shows as day 0.
    if (!(serial > -700000.0 && serial < 3000000.0)) serial = 0;
    double whole = std::trunc(serial);
    int64_t seconds = std::llround(std::fabs(serial - whole) * 86400.0);
    auto days = static_cast<int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += serial < 0 ? -1 : 1;
    }
    CivilFromDays(days + kEpochDays, t.year, t.month, t.day);
    t.hour = static_cast<int>(seconds / 3600);
    t.minute = static_cast<int>(seconds / 60 % 60);
    t.second = static_cast<int>(seconds % 60);
    return t;
}

namespace {
std::u16string Padded(int value, size_t width) {
    std::u16string digits = FormatInteger(value);
    if (digits.size() < width) digits.insert(0, width - digits.size(), u'0');
    return digits;
}

// Writes a date in one of Windows' patterns: runs of d, M, y, h, H, m, s and t stand for the parts of
// the date, text between single quotes stands as it is, and so does any other character.
std::u16string FormatPattern(double serial, std::u16string_view pattern) {
    const LocaleConventions& locale = CurrentLocale();
    CivilTime t = FromSerialDate(serial);
    bool hasDay = pattern.find(u'd') != std::u16string_view::npos;
    std::u16string text;
    size_t i = 0;
    while (i < pattern.size()) {
        char16_t c = pattern[i];
        if (c == u'\'') {
            size_t close = pattern.find(u'\'', i + 1);
            if (close == std::u16string_view::npos) close = pattern.size();
            text.append(pattern.substr(i + 1, close - i - 1));
            i = close + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) ++run;
        int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        const std::u16string& designator = t.hour < 12 ? locale.amDesignator : locale.pmDesignator;
        switch (c) {
            case u'd':
                if (run >= 3) {
                    int64_t days = DaysFromCivil(t.year, t.month, t.day);
                    auto weekday = static_cast<size_t>(((days % 7) + 11) % 7);  // 1 January 1970: Thursday
                    text += run == 3 ? locale.shortDays[weekday] : locale.daysInDate[weekday];
                } else {
                    text += Padded(t.day, run);
                }
                break;
            case u'M': {
                auto month = static_cast<size_t>(t.month - 1);
                if (run >= 4)
                    text += hasDay ? locale.monthsInDate[month] : locale.months[month];
                else if (run == 3)
                    text += locale.shortMonths[month];
                else
                    text += Padded(t.month, run);
                break;
            }
            case u'y': text += run <= 2 ? Padded(t.year % 100, run) : FormatInteger(t.year); break;
            case u'h': text += Padded(hour12, std::min<size_t>(run, 2)); break;
            case u'H': text += Padded(t.hour, std::min<size_t>(run, 2)); break;
            case u'm': text += Padded(t.minute, std::min<size_t>(run, 2)); break;
            case u's': text += Padded(t.second, std::min<size_t>(run, 2)); break;
            case u't': text += run == 1 ? designator.substr(0, 1) : designator; break;
            default: text.append(run, c); break;
        }
        i += run;
    }
    return text;
}
}  // namespace

std::u16string FormatShortDate(double serial) { return FormatPattern(serial, CurrentLocale().shortDate); }

std::u16string FormatLongDate(double serial) { return FormatPattern(serial, CurrentLocale().longDate); }

std::u16string FormatLongTime(double serial) { return FormatPattern(serial, CurrentLocale().longTime); }

std::u16string FormatDate(double serial) {
    CivilTime t = FromSerialDate(serial);
    bool hasDate = std::trunc(serial) != 0;
    bool hasTime = t.hour != 0 || t.minute != 0 || t.second != 0;
    std::u16string text;
    if (hasDate) text = FormatShortDate(serial);
    if (hasTime || !hasDate) {
        if (!text.empty()) text += u' ';
        text += FormatLongTime(serial);
    }
    return text;
}

namespace {
// The month a word names (1 to 12): an English name or the current locale's, in full, as in a date,
// or shortened to three letters or more; 0 for none.
int MonthNamed(std::u16string_view word) {
    for (int m = 0; m < 12; ++m) {
        std::u16string_view name = kMonthNames[m];
        if (word.size() >= 3 && word.size() <= name.size() && name.substr(0, word.size()) == word)
            return m + 1;
    }
    const LocaleConventions& locale = CurrentLocale();
    for (size_t m = 0; m < 12; ++m) {
        for (const std::u16string* name :
             {&locale.months[m], &locale.monthsInDate[m], &locale.shortMonths[m]}) {
            std::u16string folded = FoldCase(*name);
            while (!folded.empty() && folded.back() == u'.') folded.pop_back();
            if (!folded.empty() && folded == word) return static_cast<int>(m) + 1;
        }
    }
    return 0;
}

bool IsWordCharacter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7); }
}  // namespace

bool ParseDate(std::u16string_view text, double& serial, int yearWhenMissing, DateOrder order) {
    // Split into numbers, words and separators.
    std::vector<int> numbers;
    std::vector<char16_t> separators;
    int monthByName = 0;
    bool pm = false, am = false, sawColon = false;
    std::u16string lower = FoldCase(text);
    size_t i = 0;
    while (i < lower.size()) {
        char16_t c = lower[i];
        if (c >= u'0' && c <= u'9') {
            int64_t value = 0;
            while (i < lower.size() && lower[i] >= u'0' && lower[i] <= u'9') {
                value = value * 10 + (lower[i++] - u'0');
                if (value > 1000000) return false;
            }
            numbers.push_back(static_cast<int>(value));
        } else if (IsWordCharacter(c)) {
            size_t start = i;
            while (i < lower.size() && IsWordCharacter(lower[i])) ++i;
            std::u16string_view word(lower.data() + start, i - start);
            const LocaleConventions& locale = CurrentLocale();
            if (word == u"am" || word == u"a" || word == FoldCase(locale.amDesignator)) {
                am = true;
            } else if (word == u"pm" || word == u"p" || word == FoldCase(locale.pmDesignator)) {
                pm = true;
            } else if (std::find(locale.dateWords.begin(), locale.dateWords.end(), word) ==
                       locale.dateWords.end()) {
                monthByName = MonthNamed(word);
                if (monthByName == 0) return false;
            }
        } else if (c == u'/' || c == u'-' || c == u'.' || c == u',' || c == u' ' || c == u'\t') {
            if (c == u'/' || c == u'-' || c == u'.') separators.push_back(c);
            ++i;
        } else if (c == u':') {
            sawColon = true;
            separators.push_back(c);
            ++i;
        } else {
            return false;
        }
    }
    // The time is the group of numbers joined by colons; the date is what precedes it.
    CivilTime t{1899, 12, 30, 0, 0, 0};
    std::vector<int> dateParts;
    std::vector<int> timeParts;
    if (sawColon) {
        // Count the numbers that belong to the time: the colon-joined tail.
        size_t colons = 0;
        for (char16_t s : separators) colons += s == u':';
        size_t timeCount = colons + 1;
        if (timeCount > numbers.size() || timeCount > 3) return false;
        dateParts.assign(numbers.begin(), numbers.end() - static_cast<ptrdiff_t>(timeCount));
        timeParts.assign(numbers.end() - static_cast<ptrdiff_t>(timeCount), numbers.end());
    } else if ((am || pm) && !numbers.empty()) {
        dateParts.assign(numbers.begin(), numbers.end() - 1);
        timeParts.push_back(numbers.back());
    } else {
        dateParts = numbers;
    }
    if (monthByName != 0) {
        if (dateParts.empty() || dateParts.size() > 2) return false;
        t.month = monthByName;
        t.day = dateParts[0];
        t.year = dateParts.size() == 2 ? dateParts[1] : yearWhenMissing;
    } else if (dateParts.size() == 3) {
        // The year comes first when written so (2020-01-02) or when the locale puts it there, unless
        // only the last number can be the year; then a year-first locale reads day and month.
        bool yearLast = dateParts[2] > 31 && dateParts[0] <= 31;
        if (dateParts[0] > 31 || (order == DateOrder::YearMonthDay && !yearLast)) {
            t.year = dateParts[0], t.month = dateParts[1], t.day = dateParts[2];
        } else if (order != DateOrder::MonthDayYear) {
            t.day = dateParts[0], t.month = dateParts[1], t.year = dateParts[2];
        } else {
            t.month = dateParts[0], t.day = dateParts[1], t.year = dateParts[2];
        }
    } else if (dateParts.size() == 2) {
        // Two numbers are a day and a month in the locale's order, in the year given.
        if (order == DateOrder::DayMonthYear)
            t.day = dateParts[0], t.month = dateParts[1];
        else
            t.month = dateParts[0], t.day = dateParts[1];
        t.year = yearWhenMissing;
    } else if (!dateParts.empty()) {
        return false;
    }
    if (!dateParts.empty()) {
        if (t.year < 100) t.year += t.year < 30 ? 2000 : 1900;
        // Month and day written the other way round read as such when only that order makes sense.
        if (monthByName == 0 && t.month > 12 && t.day >= 1 && t.day <= 12) std::swap(t.month, t.day);
        if (t.month < 1 || t.month > 12 || t.year > 9999) return false;
        if (t.day < 1 || t.day > DaysInMonth(t.year, t.month)) return false;
    }
    if (!timeParts.empty()) {
        t.hour = timeParts[0];
        t.minute = timeParts.size() > 1 ? timeParts[1] : 0;
        t.second = timeParts.size() > 2 ? timeParts[2] : 0;
        if (pm && t.hour < 12) t.hour += 12;
        if (am && t.hour == 12) t.hour = 0;
        if (t.hour > 23 || t.minute > 59 || t.second > 59) return false;
    }
    if (dateParts.empty() && timeParts.empty()) return false;
    serial = ToSerialDate(t);
    return true;
}

}  // namespace taviro::vbscript
