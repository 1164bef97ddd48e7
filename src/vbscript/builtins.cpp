// Assembly of the built-in table from its groups, and helpers shared by built-ins.
#include "vbscript/builtins.h"

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

bool HasArg(std::span<Variant> arguments, size_t i) {
    return i < arguments.size() && !arguments[i].IsMissing();
}

}  // namespace taviro::vbscript
