// Assembly of the built-in table from its groups, and helpers shared by built-ins.
#include "vbscript/builtins.h"

#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

const BuiltinTable& Builtins() {
    static const BuiltinTable table = [] {
        BuiltinTable t;
        RegisterConversionBuiltins(t);
        RegisterStringBuiltins(t);
        RegisterMathBuiltins(t);
        RegisterArrayBuiltins(t);
        RegisterInformationBuiltins(t);
        RegisterDateBuiltins(t);
        RegisterFormatBuiltins(t);
        RegisterByteAndEscapeBuiltins(t);
        RegisterHostBuiltins(t);
        RegisterConstants(t);
        return t;
    }();
    return table;
}

const Variant& Arg(std::span<Variant> arguments, size_t i) { return arguments[i].Target(); }

OptionalStart ReadOptionalStart(std::span<Variant> arguments) {
    if (arguments.size() < 3) return {};
    if (Arg(arguments, 0).IsNull()) Throw(err::kInvalidUseOfNull);
    int32_t start = ToLong(Arg(arguments, 0));
    if (start < 1) Throw(err::kInvalidProcedureCall);
    return {start, 1};
}

bool HasArg(std::span<Variant> arguments, size_t i) {
    return i < arguments.size() && !arguments[i].IsMissing();
}

}  // namespace taviro::vbscript
