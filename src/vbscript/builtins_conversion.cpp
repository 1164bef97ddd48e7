// Conversion built-ins: CStr, CInt, CLng, CDbl, CBool, CByte, CSng, CCur, CDate, Hex, Oct.
#include <cmath>

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/date_time.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

namespace {
template <VarType type>
Variant ConvertBuiltin(Vm&, std::span<Variant> arguments) {
    const Variant& value = Arg(arguments, 0);
    if (value.IsNull()) Throw(err::kInvalidUseOfNull);
    // True becomes a Byte by its low bits, as the system's conversion does: CByte(True) is 255.
    if (type == VarType::Byte && value.Target().type() == VarType::Boolean)
        return Variant::Byte(value.Target().boolean() ? 255 : 0);
    return ConvertTo(value, type);
}

Variant CDate(Vm& vm, std::span<Variant> arguments) {
    const Variant& value = Arg(arguments, 0);
    if (value.IsNull()) Throw(err::kInvalidUseOfNull);
    return Variant::Date(ToDate(value, YearOfLocalTime(vm.LocalTimeMs())));
}

std::u16string InRadix(const Variant& value, int bitsPerDigit) {
    int64_t number;
    const Variant& v = value.Target();
    if (v.type() == VarType::Integer) {
        number = static_cast<uint16_t>(v.integer());
    } else if (v.type() == VarType::Byte) {
        number = v.byte();
    } else {
        number = static_cast<uint32_t>(ToLong(v));
    }
    const char16_t* digits = u"0123456789ABCDEF";
    std::u16string text;
    auto bits = static_cast<uint64_t>(number);
    do {
        text.insert(text.begin(), digits[bits & ((1u << bitsPerDigit) - 1)]);
        bits >>= bitsPerDigit;
    } while (bits != 0);
    return text;
}

Variant HexBuiltin(Vm&, std::span<Variant> arguments) {
    const Variant& value = Arg(arguments, 0);
    if (value.IsNull()) return Variant::MakeNull();
    if (value.IsEmpty()) return Variant(u"0");
    return Variant(InRadix(value, 4));
}

Variant OctBuiltin(Vm&, std::span<Variant> arguments) {
    const Variant& value = Arg(arguments, 0);
    if (value.IsNull()) return Variant::MakeNull();
    if (value.IsEmpty()) return Variant(u"0");
    return Variant(InRadix(value, 3));
}
}  // namespace

void RegisterConversionBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"CStr", ConvertBuiltin<VarType::String>, 1, 1},
                                                      {u"CInt", ConvertBuiltin<VarType::Integer>, 1, 1},
                                                      {u"CLng", ConvertBuiltin<VarType::Long>, 1, 1},
                                                      {u"CDbl", ConvertBuiltin<VarType::Double>, 1, 1},
                                                      {u"CSng", ConvertBuiltin<VarType::Single>, 1, 1},
                                                      {u"CBool", ConvertBuiltin<VarType::Boolean>, 1, 1},
                                                      {u"CByte", ConvertBuiltin<VarType::Byte>, 1, 1},
                                                      {u"CCur", ConvertBuiltin<VarType::Currency>, 1, 1},
                                                      {u"CDate", CDate, 1, 1},
                                                      {u"Hex", HexBuiltin, 1, 1},
                                                      {u"Oct", OctBuiltin, 1, 1},
                                                  });
}

}  // namespace taviro::vbscript
