// Date built-ins: DateSerial, TimeSerial, DateValue, TimeValue, Year ... Second, Weekday, MonthName,
// WeekdayName, DateAdd, DateDiff, DatePart, FormatDateTime.
#include <cmath>

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/date_time.h"
#include "vbscript/locale.h"
#include "vbscript/number_text.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

namespace {
constexpr double kFirstSerial = -657434.0;  // 1 January 100
constexpr double kLastSerial = 2958465.0;   // 31 December 9999

// Serial dates store the time of day of days before 1899-12-30 as a fraction counting away from zero;
// a linear day number (days plus the fraction of the day) is what arithmetic needs.
double ToLinear(double serial) {
    double whole = std::trunc(serial);
    return whole + std::fabs(serial - whole);
}

double FromLinear(double linear) {
    double whole = std::floor(linear);
    double fraction = linear - whole;
    return whole < 0 && fraction > 0 ? whole - fraction : whole + fraction;
}

// A serial checked to lie between the years 100 and 9999; 5 otherwise.
Variant CheckedDate(double serial) {
    if (!(serial >= kFirstSerial && serial < kLastSerial + 1)) Throw(err::kInvalidProcedureCall);
    return Variant::Date(serial);
}

// Argument i as a date; a text without a year takes the year of the engine's local clock.
double DateArgument(Vm& vm, std::span<Variant> a, size_t i) {
    return ToDate(Arg(a, i), YearOfLocalTime(vm.LocalTimeMs()));
}

// The day of the week of a serial, 1 for Sunday.
int WeekdayOf(double serial) {
    auto days = static_cast<int64_t>(std::floor(ToLinear(serial)));
    // Day 0 (30 December 1899) was a Saturday.
    return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

// The first day of the week argument: 0 is the system's (Sunday in US English), 1..7 name a day.
int FirstDayArgument(std::span<Variant> a, size_t i) {
    if (!HasArg(a, i)) return 1;
    int32_t day = ToLong(Arg(a, i));
    if (day < 0 || day > 7) Throw(err::kInvalidProcedureCall);
    return day == 0 ? 1 : day;
}

int FirstWeekArgument(std::span<Variant> a, size_t i) {
    if (!HasArg(a, i)) return 1;
    int32_t week = ToLong(Arg(a, i));
    if (week < 0 || week > 3) Throw(err::kInvalidProcedureCall);
    return week == 0 ? 1 : week;
}

// The day in the week counted from the given first day: 1..7.
int DayInWeek(double serial, int firstDay) { return (WeekdayOf(serial) - firstDay + 7) % 7 + 1; }

int64_t DayNumber(double serial) { return static_cast<int64_t>(std::floor(ToLinear(serial))); }

// The week of the year: vbFirstJan1 starts week 1 with 1 January, vbFirstFourDays with the first week
// holding four days of the year, vbFirstFullWeek with the first whole week.
int WeekOfYear(double serial, int firstDay, int firstWeek) {
    CivilTime t = FromSerialDate(serial);
    for (int year = t.year; year >= t.year - 1; --year) {
        double january1 = ToSerialDate({year, 1, 1, 0, 0, 0});
        int offset = DayInWeek(january1, firstDay) - 1;  // days of the week before 1 January
        int64_t weekStart = DayNumber(january1) - offset;
        if (firstWeek == 2 && offset > 3) weekStart += 7;
        if (firstWeek == 3 && offset > 0) weekStart += 7;
        int64_t days = DayNumber(serial) - weekStart;
        if (days >= 0) return static_cast<int>(days / 7) + 1;
    }
    return 1;
}

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval IntervalArgument(const Variant& value) {
    std::u16string text = FoldCase(ToString(value));
    if (text == u"yyyy") return Interval::Year;
    if (text == u"q") return Interval::Quarter;
    if (text == u"m") return Interval::Month;
    if (text == u"y") return Interval::DayOfYear;
    if (text == u"d") return Interval::Day;
    if (text == u"w") return Interval::Weekday;
    if (text == u"ww") return Interval::Week;
    if (text == u"h") return Interval::Hour;
    if (text == u"n") return Interval::Minute;
    if (text == u"s") return Interval::Second;
    Throw(err::kInvalidProcedureCall);
}

// Two-digit years 0..29 are 2000..2029 and 30..99 are 1930..1999, as in dates read from text.
int FullYear(int year) {
    if (year >= 0 && year < 30) return year + 2000;
    if (year >= 30 && year < 100) return year + 1900;
    return year;
}

Variant Part(Vm& vm, std::span<Variant> a, int CivilTime::*field) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    CivilTime t = FromSerialDate(DateArgument(vm, a, 0));
    return Variant(static_cast<int16_t>(t.*field));
}

Variant Year(Vm& vm, std::span<Variant> a) { return Part(vm, a, &CivilTime::year); }
Variant Month(Vm& vm, std::span<Variant> a) { return Part(vm, a, &CivilTime::month); }
Variant Day(Vm& vm, std::span<Variant> a) { return Part(vm, a, &CivilTime::day); }
Variant Hour(Vm& vm, std::span<Variant> a) { return Part(vm, a, &CivilTime::hour); }
Variant Minute(Vm& vm, std::span<Variant> a) { return Part(vm, a, &CivilTime::minute); }
Variant Second(Vm& vm, std::span<Variant> a) { return Part(vm, a, &CivilTime::second); }

Variant Weekday(Vm& vm, std::span<Variant> a) {
    int firstDay = FirstDayArgument(a, 1);
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    return Variant(static_cast<int16_t>(DayInWeek(DateArgument(vm, a, 0), firstDay)));
}

Variant DateSerial(Vm&, std::span<Variant> a) {
    for (size_t i = 0; i < 3; ++i) {
        if (Arg(a, i).IsNull()) Throw(err::kInvalidUseOfNull);
    }
    int year = FullYear(ToInteger(Arg(a, 0)));
    int month = ToInteger(Arg(a, 1));
    int day = ToInteger(Arg(a, 2));
    return CheckedDate(ToSerialDate({year, month, day, 0, 0, 0}));
}

Variant TimeSerial(Vm&, std::span<Variant> a) {
    for (size_t i = 0; i < 3; ++i) {
        if (Arg(a, i).IsNull()) Throw(err::kInvalidUseOfNull);
    }
    int64_t seconds =
        int64_t{ToInteger(Arg(a, 0))} * 3600 + int64_t{ToInteger(Arg(a, 1))} * 60 + ToInteger(Arg(a, 2));
    return CheckedDate(FromLinear(static_cast<double>(seconds) / 86400.0));
}

// The date of a Date, a text or a number; Null stays Null.
Variant DateValue(Vm& vm, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    return Variant::Date(std::trunc(DateArgument(vm, a, 0)));
}

Variant TimeValue(Vm& vm, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    double serial = DateArgument(vm, a, 0);
    return Variant::Date(std::fabs(serial - std::trunc(serial)));
}

Variant MonthName(Vm&, std::span<Variant> a) {
    int32_t month = ToLong(Arg(a, 0));
    if (month < 1 || month > 12) Throw(err::kInvalidProcedureCall);
    const LocaleConventions& locale = CurrentLocale();
    bool abbreviate = HasArg(a, 1) && ToBoolean(Arg(a, 1));
    return Variant((abbreviate ? locale.shortMonths : locale.months)[static_cast<size_t>(month - 1)]);
}

Variant WeekdayName(Vm&, std::span<Variant> a) {
    int32_t day = ToLong(Arg(a, 0));
    int firstDay = FirstDayArgument(a, 2);
    if (day < 1 || day > 7) Throw(err::kInvalidProcedureCall);
    const LocaleConventions& locale = CurrentLocale();
    bool abbreviate = HasArg(a, 1) && ToBoolean(Arg(a, 1));
    return Variant(
        (abbreviate ? locale.shortDays : locale.days)[static_cast<size_t>((day - 1 + firstDay - 1) % 7)]);
}

Variant DateAdd(Vm& vm, std::span<Variant> a) {
    Interval interval = IntervalArgument(Arg(a, 0));
    if (Arg(a, 1).IsNull() || Arg(a, 2).IsNull()) return Variant::MakeNull();
    int64_t number = ToLong(Arg(a, 1));
    double serial = DateArgument(vm, a, 2);
    auto addMonths = [&](int64_t months) {
        CivilTime t = FromSerialDate(serial);
        int64_t total = int64_t{t.year} * 12 + (t.month - 1) + months;
        if (total < 100 * 12 || total > 9999 * 12 + 11) Throw(err::kInvalidProcedureCall);
        t.year = static_cast<int>(total / 12);
        t.month = static_cast<int>(total % 12) + 1;
        // The day is kept unless the month is shorter: 31 January plus a month is 28 February.
        int lastDay = FromSerialDate(ToSerialDate({t.year, t.month + 1, 0, 0, 0, 0})).day;
        if (t.day > lastDay) t.day = lastDay;
        return CheckedDate(ToSerialDate(t));
    };
    auto addDays = [&](double days) { return CheckedDate(FromLinear(ToLinear(serial) + days)); };
    switch (interval) {
        case Interval::Year: return addMonths(number * 12);
        case Interval::Quarter: return addMonths(number * 3);
        case Interval::Month: return addMonths(number);
        case Interval::DayOfYear:
        case Interval::Day:
        case Interval::Weekday: return addDays(static_cast<double>(number));
        case Interval::Week: return addDays(static_cast<double>(number) * 7);
        case Interval::Hour:
        case Interval::Minute:
        case Interval::Second: {
            // Whole seconds, so that adding an hour to 8:50 gives exactly 9:50.
            double unit = interval == Interval::Hour ? 3600 : interval == Interval::Minute ? 60 : 1;
            double seconds = std::round(ToLinear(serial) * 86400.0) + static_cast<double>(number) * unit;
            return CheckedDate(FromLinear(seconds / 86400.0));
        }
    }
    Throw(err::kInvalidProcedureCall);
}

// The number of interval boundaries between two dates, negative when the second comes first.
Variant DateDiff(Vm& vm, std::span<Variant> a) {
    Interval interval = IntervalArgument(Arg(a, 0));
    int firstDay = FirstDayArgument(a, 3);
    FirstWeekArgument(a, 4);
    if (Arg(a, 1).IsNull() || Arg(a, 2).IsNull()) return Variant::MakeNull();
    double first = DateArgument(vm, a, 1), second = DateArgument(vm, a, 2);
    CivilTime from = FromSerialDate(first), to = FromSerialDate(second);
    auto seconds = [](double serial) {
        return static_cast<int64_t>(std::llround(ToLinear(serial) * 86400.0));
    };
    auto floorDiv = [](int64_t value, int64_t unit) { return value / unit - (value % unit < 0 ? 1 : 0); };
    int64_t result = 0;
    switch (interval) {
        case Interval::Year: result = to.year - from.year; break;
        case Interval::Quarter:
            result = (to.year * 4 + (to.month - 1) / 3) - (from.year * 4 + (from.month - 1) / 3);
            break;
        case Interval::Month: result = (to.year * 12 + to.month) - (from.year * 12 + from.month); break;
        case Interval::DayOfYear:
        case Interval::Day: result = DayNumber(second) - DayNumber(first); break;
        case Interval::Weekday: result = (DayNumber(second) - DayNumber(first)) / 7; break;
        case Interval::Week: {
            // Counts the first days of the week passed.
            int64_t shift = firstDay % 7;  // a day number that falls on the first day: day 0 was a Saturday
            result = floorDiv(DayNumber(second) - shift, 7) - floorDiv(DayNumber(first) - shift, 7);
            break;
        }
        case Interval::Hour: result = floorDiv(seconds(second), 3600) - floorDiv(seconds(first), 3600); break;
        case Interval::Minute: result = floorDiv(seconds(second), 60) - floorDiv(seconds(first), 60); break;
        case Interval::Second: result = seconds(second) - seconds(first); break;
    }
    if (result < INT32_MIN || result > INT32_MAX) Throw(err::kOverflow);
    return Variant(static_cast<int32_t>(result));
}

Variant DatePart(Vm& vm, std::span<Variant> a) {
    Interval interval = IntervalArgument(Arg(a, 0));
    int firstDay = FirstDayArgument(a, 2);
    int firstWeek = FirstWeekArgument(a, 3);
    if (Arg(a, 1).IsNull()) return Variant::MakeNull();
    double serial = DateArgument(vm, a, 1);
    CivilTime t = FromSerialDate(serial);
    int result = 0;
    switch (interval) {
        case Interval::Year: result = t.year; break;
        case Interval::Quarter: result = (t.month - 1) / 3 + 1; break;
        case Interval::Month: result = t.month; break;
        case Interval::DayOfYear:
            result =
                static_cast<int>(DayNumber(serial) - DayNumber(ToSerialDate({t.year, 1, 1, 0, 0, 0}))) + 1;
            break;
        case Interval::Day: result = t.day; break;
        case Interval::Weekday: result = DayInWeek(serial, firstDay); break;
        case Interval::Week: result = WeekOfYear(serial, firstDay, firstWeek); break;
        case Interval::Hour: result = t.hour; break;
        case Interval::Minute: result = t.minute; break;
        case Interval::Second: result = t.second; break;
    }
    return Variant(static_cast<int32_t>(result));
}

Variant FormatDateTime(Vm& vm, std::span<Variant> a) {
    int32_t format = HasArg(a, 1) ? ToLong(Arg(a, 1)) : 0;
    if (format < 0 || format > 4) Throw(err::kInvalidProcedureCall);
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    double serial = DateArgument(vm, a, 0);
    CivilTime t = FromSerialDate(serial);
    switch (format) {
        case 1: return Variant(FormatLongDate(serial));
        case 2: return Variant(FormatShortDate(serial));
        case 3: return Variant(FormatLongTime(serial));
        case 4: {
            char16_t text[6] = {static_cast<char16_t>(u'0' + t.hour / 10),
                                static_cast<char16_t>(u'0' + t.hour % 10),
                                u':',
                                static_cast<char16_t>(u'0' + t.minute / 10),
                                static_cast<char16_t>(u'0' + t.minute % 10),
                                u'\0'};
            return Variant(std::u16string(text));
        }
        default: return Variant(FormatDate(serial));
    }
}
}  // namespace

void RegisterDateBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"Year", Year, 1, 1},
                                                      {u"Month", Month, 1, 1},
                                                      {u"Day", Day, 1, 1},
                                                      {u"Hour", Hour, 1, 1},
                                                      {u"Minute", Minute, 1, 1},
                                                      {u"Second", Second, 1, 1},
                                                      {u"Weekday", Weekday, 1, 2},
                                                      {u"DateSerial", DateSerial, 3, 3},
                                                      {u"TimeSerial", TimeSerial, 3, 3},
                                                      {u"DateValue", DateValue, 1, 1},
                                                      {u"TimeValue", TimeValue, 1, 1},
                                                      {u"MonthName", MonthName, 1, 2},
                                                      {u"WeekdayName", WeekdayName, 1, 3},
                                                      {u"DateAdd", DateAdd, 3, 3},
                                                      {u"DateDiff", DateDiff, 3, 5},
                                                      {u"DatePart", DatePart, 2, 4},
                                                      {u"FormatDateTime", FormatDateTime, 1, 2},
                                                  });
}

}  // namespace taviro::vbscript
