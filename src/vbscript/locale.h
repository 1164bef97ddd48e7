// The locales SetLocale accepts: how numbers read and write, and the names of months and days.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/date_time.h"

namespace taviro::vbscript {

// The conventions of one locale. Separators and names come from ICU's data for the locale, with
// Windows' choices where they differ.
struct LocaleConventions {
    int32_t lcid = 1033;
    std::u16string tag;  // "de-DE"
    char16_t decimal = u'.';
    char16_t grouping = u',';
    std::u16string currencySymbol;
    bool currencyFirst = true;    // "$1.00" rather than "1,00 €"
    bool currencySpaced = false;  // a blank between the amount and the symbol
    // Where Windows writes a negative amount of money: "($1.00)", "-1,00 €", or "€ -1,00".
    enum class NegativeCurrency { Parentheses, MinusFirst, MinusAfterSymbol };
    NegativeCurrency negativeCurrency = NegativeCurrency::Parentheses;
    std::array<std::u16string, 12> months, shortMonths;
    std::array<std::u16string, 7> days, shortDays;  // Sunday first
    // Windows' regional date and time formats, in its pattern letters (d, M, y, h, H, m, s, tt,
    // 'quoted text'). A general date is the short date and the long time.
    std::u16string shortDate = u"M/d/yyyy";
    std::u16string longDate = u"dddd, MMMM d, yyyy";
    std::u16string longTime = u"h:mm:ss tt";
    std::u16string amDesignator = u"AM", pmDesignator = u"PM";
    DateOrder dateOrder = DateOrder::MonthDayYear;  // how "1/2/2020" reads, from the short date
    // Month names in a date ("2 stycznia"), which differ from the names alone in some languages,
    // and day names in a date.
    std::array<std::u16string, 12> monthsInDate;
    std::array<std::u16string, 7> daysInDate;
    // The words the long date writes between its parts ("de", "den", "г"), lower case, which reading
    // a date passes over.
    std::vector<std::u16string> dateWords;
};

// The locale with this LCID, or null when SetLocale does not know it.
const LocaleConventions* FindLocale(int32_t lcid);
// The locale with this tag ("de-DE", any letter case), or null.
const LocaleConventions* FindLocaleByTag(std::u16string_view tag);
// US English, the locale of an engine nobody set.
const LocaleConventions& DefaultLocale();

// The locale of the engine running on this thread; US English when none runs.
const LocaleConventions& CurrentLocale();
// While it lives, CurrentLocale() reads the locale held at slot (an engine's own setting, which
// SetLocale may change meanwhile); the one before comes back when it ends.
class LocaleScope {
public:
    explicit LocaleScope(const LocaleConventions* const* slot);
    ~LocaleScope();
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    const LocaleConventions* const* previous_;
};

// The locale engines created from now on start in, for the whole process (US English until set);
// false, changing nothing, for an LCID SetLocale does not know.
bool SetDefaultStartLocale(int32_t lcid);
int32_t DefaultStartLocale();

// The LCID nearest to a POSIX locale name: "de_DE.UTF-8" is 1031, "fr_CA" falls back to the language
// (1036); "C", "POSIX", "C.UTF-8", empty or unknown names are US English (1033).
int32_t LcidFromPosixName(std::string_view name);
// The LCID of the user's environment: LC_ALL, else LC_NUMERIC, else LANG.
int32_t LcidFromEnvironment();

// Reads text as a number in the current locale: its decimal and grouping separators in place of
// "." and ",". False when the text is not a number.
bool ParseLocalNumber(std::u16string_view text, double& value);
// Text written with "." and "," (as the number formatters write it) in the current locale's separators.
std::u16string LocalizeSeparators(std::u16string text);

}  // namespace taviro::vbscript
