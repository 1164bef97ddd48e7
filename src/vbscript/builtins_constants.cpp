// Named constants: characters, comparison modes and VarType numbers.
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
}

}  // namespace taviro::vbscript
