// Named constants: characters, comparison modes, VarType numbers, MsgBox buttons and answers, colours,
// days of the week and date formats.
#include "vbscript/builtins.h"

namespace taviro::vbscript {

void RegisterConstants(BuiltinTable& table) {
    auto add = [&](std::u16string_view name, Variant value) {
        table.constants.push_back({name, std::move(value)});
    };
    add(u"vbCrLf", Variant(u"\r\n"));
    add(u"vbNewLine", Variant(u"\r\n"));
    add(u"vbCr", Variant(u"\r"));
    add(u"vbLf", Variant(u"\n"));
    add(u"vbTab", Variant(u"\t"));
    add(u"vbNullChar", Variant(std::u16string(1, u'\0')));
    add(u"vbNullString", Variant(u""));
    add(u"vbTrue", Variant(int16_t{-1}));
    add(u"vbFalse", Variant(int16_t{0}));
    add(u"vbUseDefault", Variant(int16_t{-2}));
    add(u"vbBinaryCompare", Variant(int16_t{0}));
    add(u"vbTextCompare", Variant(int16_t{1}));
    add(u"vbObjectError", Variant(int32_t{-2147221504}));
    const std::pair<std::u16string_view, int16_t> varTypes[] = {
        {u"vbEmpty", 0},  {u"vbNull", 1},     {u"vbInteger", 2},  {u"vbLong", 3},        {u"vbSingle", 4},
        {u"vbDouble", 5}, {u"vbCurrency", 6}, {u"vbDate", 7},     {u"vbString", 8},      {u"vbObject", 9},
        {u"vbError", 10}, {u"vbBoolean", 11}, {u"vbVariant", 12}, {u"vbDataObject", 13}, {u"vbDecimal", 14},
        {u"vbByte", 17},  {u"vbArray", 8192},
    };
    for (const auto& [name, number] : varTypes) add(name, Variant(number));
    add(u"vbFormFeed", Variant(u"\f"));
    add(u"vbVerticalTab", Variant(u"\v"));
    const std::pair<std::u16string_view, int16_t> small[] = {
        // MsgBox buttons, icons, default button and modality.
        {u"vbOKOnly", 0},
        {u"vbOKCancel", 1},
        {u"vbAbortRetryIgnore", 2},
        {u"vbYesNoCancel", 3},
        {u"vbYesNo", 4},
        {u"vbRetryCancel", 5},
        {u"vbCritical", 16},
        {u"vbQuestion", 32},
        {u"vbExclamation", 48},
        {u"vbInformation", 64},
        {u"vbDefaultButton1", 0},
        {u"vbDefaultButton2", 256},
        {u"vbDefaultButton3", 512},
        {u"vbDefaultButton4", 768},
        {u"vbApplicationModal", 0},
        {u"vbSystemModal", 4096},
        {u"vbMsgBoxHelpButton", 16384},
        // MsgBox answers.
        {u"vbOK", 1},
        {u"vbCancel", 2},
        {u"vbAbort", 3},
        {u"vbRetry", 4},
        {u"vbIgnore", 5},
        {u"vbYes", 6},
        {u"vbNo", 7},
        // Days of the week, the first week of the year, date formats.
        {u"vbUseSystemDayOfWeek", 0},
        {u"vbSunday", 1},
        {u"vbMonday", 2},
        {u"vbTuesday", 3},
        {u"vbWednesday", 4},
        {u"vbThursday", 5},
        {u"vbFriday", 6},
        {u"vbSaturday", 7},
        {u"vbUseSystem", 0},
        {u"vbFirstJan1", 1},
        {u"vbFirstFourDays", 2},
        {u"vbFirstFullWeek", 3},
        {u"vbGeneralDate", 0},
        {u"vbLongDate", 1},
        {u"vbShortDate", 2},
        {u"vbLongTime", 3},
        {u"vbShortTime", 4},
    };
    for (const auto& [name, number] : small) add(name, Variant(number));
    const std::pair<std::u16string_view, int32_t> large[] = {
        {u"vbMsgBoxSetForeground", 65536},
        {u"vbMsgBoxRight", 524288},
        {u"vbMsgBoxRtlReading", 1048576},
        {u"vbBlack", 0x000000},
        {u"vbRed", 0x0000FF},
        {u"vbGreen", 0x00FF00},
        {u"vbYellow", 0x00FFFF},
        {u"vbBlue", 0xFF0000},
        {u"vbMagenta", 0xFF00FF},
        {u"vbCyan", 0xFFFF00},
        {u"vbWhite", 0xFFFFFF},
    };
    for (const auto& [name, number] : large) add(name, Variant(number));
}

}  // namespace taviro::vbscript
