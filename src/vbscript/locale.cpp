// The locale table, built once from ICU's data, and the current locale of the running engine.
#include "vbscript/locale.h"

#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <vector>

#include "vbscript/number_text.h"
#include "vbscript/object.h"

namespace taviro::vbscript {

namespace {
struct KnownLocale {
    int32_t lcid;
    const char* tag;
    // Windows' default short date, long date and long time patterns.
    const char16_t* shortDate;
    const char16_t* longDate;
    const char16_t* longTime;
    LocaleConventions::NegativeCurrency negativeCurrency = LocaleConventions::NegativeCurrency::MinusFirst;
};
constexpr auto kParentheses = LocaleConventions::NegativeCurrency::Parentheses;
constexpr auto kMinusAfterSymbol = LocaleConventions::NegativeCurrency::MinusAfterSymbol;
// The locales SetLocale accepts, by Windows LCID. ICU's date patterns differ from Windows' (en-GB's
// time, nl-NL's "d-M-yyyy", ru-RU's "г."), so the patterns are Windows', and so is the place of the
// minus in negative amounts of money (a leading minus unless the row says otherwise).
constexpr KnownLocale kKnownLocales[] = {
    {1033, "en-US", u"M/d/yyyy", u"dddd, MMMM d, yyyy", u"h:mm:ss tt", kParentheses},
    {2057, "en-GB", u"dd/MM/yyyy", u"dd MMMM yyyy", u"HH:mm:ss"},
    {1031, "de-DE", u"dd.MM.yyyy", u"dddd, d. MMMM yyyy", u"HH:mm:ss"},
    {1036, "fr-FR", u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss"},
    {3082, "es-ES", u"dd/MM/yyyy", u"dddd, d' de 'MMMM' de 'yyyy", u"H:mm:ss"},
    {1040, "it-IT", u"dd/MM/yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss"},
    {1043, "nl-NL", u"d-M-yyyy", u"dddd d MMMM yyyy", u"HH:mm:ss", kMinusAfterSymbol},
    {1046, "pt-BR", u"dd/MM/yyyy", u"dddd, d' de 'MMMM' de 'yyyy", u"HH:mm:ss"},
    {1045, "pl-PL", u"dd.MM.yyyy", u"d MMMM yyyy", u"HH:mm:ss"},
    {1049, "ru-RU", u"dd.MM.yyyy", u"d MMMM yyyy 'г.'", u"H:mm:ss"},
    {1053, "sv-SE", u"yyyy-MM-dd", u"'den 'd MMMM yyyy", u"HH:mm:ss"},
};

// The words quoted in a date pattern, lower case: "'den 'd MMMM yyyy" gives "den".
std::vector<std::u16string> QuotedWords(std::u16string_view pattern) {
    std::vector<std::u16string> words;
    bool quoted = false;
    std::u16string word;
    for (char16_t c : pattern) {
        bool letter = c != u'\'' && c != u' ' && c != u'.' && c != u',';
        if (quoted && letter) {
            word += FoldCharacter(c);
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
        if (c == u'\'') quoted = !quoted;
    }
    return words;
}

// The order of day, month and year in a short date pattern.
DateOrder OrderOf(std::u16string_view pattern) {
    size_t day = pattern.find(u'd'), month = pattern.find(u'M'), year = pattern.find(u'y');
    if (year < month && year < day) return DateOrder::YearMonthDay;
    return day < month ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
}

std::u16string FromIcu(const icu::UnicodeString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.getBuffer()),
                          static_cast<size_t>(text.length()));
}

// The first character of an ICU symbol, or the fallback when ICU has none.
char16_t FirstCharacter(const icu::UnicodeString& symbol, char16_t fallback) {
    return symbol.length() > 0 ? static_cast<char16_t>(symbol.charAt(0)) : fallback;
}

LocaleConventions Build(const KnownLocale& known) {
    LocaleConventions locale;
    locale.lcid = known.lcid;
    locale.tag = Widen(known.tag);
    locale.shortDate = known.shortDate;
    locale.longDate = known.longDate;
    locale.longTime = known.longTime;
    locale.dateOrder = OrderOf(locale.shortDate);
    locale.dateWords = QuotedWords(locale.longDate);
    locale.negativeCurrency = known.negativeCurrency;
    std::string icuName(known.tag);
    icuName[2] = '_';
    icu::Locale icuLocale(icuName.c_str());

    // 1. Separators and the currency symbol.
    UErrorCode status = U_ZERO_ERROR;
    icu::DecimalFormatSymbols symbols(icuLocale, status);
    if (U_SUCCESS(status)) {
        locale.decimal =
            FirstCharacter(symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol), u'.');
        locale.grouping =
            FirstCharacter(symbols.getSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol), u',');
        locale.currencySymbol = FromIcu(symbols.getSymbol(icu::DecimalFormatSymbols::kCurrencySymbol));
    }

    // 2. Where the currency symbol goes, from the locale's currency pattern ("¤#,##0.00", "#,##0.00 ¤").
    status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> currency(icu::NumberFormat::createCurrencyInstance(icuLocale, status));
    if (U_SUCCESS(status)) {
        if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(currency.get())) {
            icu::UnicodeString pattern;
            std::u16string text = FromIcu(decimal->toPattern(pattern));
            text = text.substr(0, text.find(u';'));
            size_t sign = text.find(u'\u00A4');
            if (sign != std::u16string::npos) {
                locale.currencyFirst = sign == 0;
                char16_t neighbour = locale.currencyFirst ? (text.size() > 1 ? text[1] : u'#')
                                                          : (sign > 0 ? text[sign - 1] : u'#');
                locale.currencySpaced = neighbour == u' ' || neighbour == u'\u00A0' || neighbour == u'\u202F';
            }
        }
    }

    // 3. Month and day names as they stand alone (MonthName gives "styczeń", not "stycznia").
    status = U_ZERO_ERROR;
    icu::DateFormatSymbols dates(icuLocale, status);
    if (U_SUCCESS(status)) {
        int32_t count = 0;
        const icu::UnicodeString* months =
            dates.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::WIDE);
        for (int32_t i = 0; i < count && i < 12; ++i)
            locale.months[static_cast<size_t>(i)] = FromIcu(months[i]);
        months =
            dates.getMonths(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
        for (int32_t i = 0; i < count && i < 12; ++i)
            locale.shortMonths[static_cast<size_t>(i)] = FromIcu(months[i]);
        // ICU numbers the days from 1 (Sunday); place 0 is empty.
        const icu::UnicodeString* days =
            dates.getWeekdays(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::WIDE);
        for (int32_t i = 1; i < count && i <= 7; ++i)
            locale.days[static_cast<size_t>(i - 1)] = FromIcu(days[i]);
        days =
            dates.getWeekdays(count, icu::DateFormatSymbols::STANDALONE, icu::DateFormatSymbols::ABBREVIATED);
        for (int32_t i = 1; i < count && i <= 7; ++i)
            locale.shortDays[static_cast<size_t>(i - 1)] = FromIcu(days[i]);
        // 4. The names as they stand in a date ("2 stycznia 2020", "2 января 2020").
        months = dates.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
        for (int32_t i = 0; i < count && i < 12; ++i)
            locale.monthsInDate[static_cast<size_t>(i)] = FromIcu(months[i]);
        days = dates.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
        for (int32_t i = 1; i < count && i <= 7; ++i)
            locale.daysInDate[static_cast<size_t>(i - 1)] = FromIcu(days[i]);
    }
    return locale;
}

const std::vector<LocaleConventions>& Locales() {
    static const std::vector<LocaleConventions> locales = [] {
        std::vector<LocaleConventions> built;
        for (const KnownLocale& known : kKnownLocales) built.push_back(Build(known));
        return built;
    }();
    return locales;
}

thread_local const LocaleConventions* const* currentSlot = nullptr;
std::atomic<int32_t> defaultStartLocale{1033};

bool IsBlankSeparator(char16_t c) { return c == u' ' || c == u'\u00A0' || c == u'\u202F'; }
}  // namespace

const LocaleConventions* FindLocale(int32_t lcid) {
    for (const LocaleConventions& locale : Locales()) {
        if (locale.lcid == lcid) return &locale;
    }
    return nullptr;
}

const LocaleConventions* FindLocaleByTag(std::u16string_view tag) {
    std::u16string folded = FoldCase(tag);
    for (const LocaleConventions& locale : Locales()) {
        if (FoldCase(locale.tag) == folded) return &locale;
    }
    return nullptr;
}

const LocaleConventions& DefaultLocale() { return Locales().front(); }

const LocaleConventions& CurrentLocale() {
    if (currentSlot && *currentSlot) return **currentSlot;
    return DefaultLocale();
}

LocaleScope::LocaleScope(const LocaleConventions* const* slot) : previous_(currentSlot) {
    currentSlot = slot;
}

LocaleScope::~LocaleScope() { currentSlot = previous_; }

bool SetDefaultStartLocale(int32_t lcid) {
    if (!FindLocale(lcid)) return false;
    defaultStartLocale = lcid;
    return true;
}

int32_t DefaultStartLocale() { return defaultStartLocale; }

int32_t LcidFromPosixName(std::string_view name) {
    std::string language(name.substr(0, name.find_first_of(".@")));
    if (language.size() < 2) return 1033;
    std::string tag = language.substr(0, 2);
    std::string region = language.size() >= 5 ? language.substr(3, 2) : "";
    // 1. The exact language and region.
    for (const KnownLocale& known : kKnownLocales) {
        std::string knownTag(known.tag);
        if (knownTag.compare(0, 2, tag) == 0 && knownTag.compare(3, 2, region) == 0) return known.lcid;
    }
    // 2. The language alone: its first locale in the table.
    for (const KnownLocale& known : kKnownLocales) {
        if (std::string(known.tag).compare(0, 2, tag) == 0) return known.lcid;
    }
    return 1033;
}

int32_t LcidFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LcidFromPosixName(value);
    }
    return 1033;
}

bool ParseLocalNumber(std::u16string_view text, double& value) {
    const LocaleConventions& locale = CurrentLocale();
    if (locale.decimal == u'.' && locale.grouping == u',') return ParseNumber(text, value);
    std::u16string invariant;
    invariant.reserve(text.size());
    for (char16_t c : text) {
        if (c == locale.decimal) {
            invariant += u'.';
        } else if (c == locale.grouping || (IsBlankSeparator(locale.grouping) && c == u'\u00A0')) {
            invariant += u',';
        } else if (c == u'.' || c == u',') {
            return false;  // a separator this locale does not use
        } else {
            invariant += c;
        }
    }
    return ParseNumber(invariant, value);
}

std::u16string LocalizeSeparators(std::u16string text) {
    const LocaleConventions& locale = CurrentLocale();
    if (locale.decimal == u'.' && locale.grouping == u',') return text;
    for (char16_t& c : text) {
        if (c == u'.')
            c = locale.decimal;
        else if (c == u',')
            c = locale.grouping;
    }
    return text;
}

}  // namespace taviro::vbscript
