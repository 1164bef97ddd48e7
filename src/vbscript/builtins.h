// The registration table of built-in functions and constants. Each builtins_*.cpp file registers
// its group; the virtual machine binds every entry as a global name of every engine.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/variant.h"

namespace taviro::vbscript {

class Vm;

// Arguments arrive as they were pushed: possibly by-reference Variants (read them with Arg) or
// Missing for omitted ones. A function reports failure by throwing ScriptError.
using BuiltinFunction = Variant (*)(Vm& vm, std::span<Variant> arguments);

struct Builtin {
    std::u16string_view name;  // as written in documentation, e.g. u"UBound"
    BuiltinFunction function;
    int16_t minArguments;
    int16_t maxArguments;
};

struct BuiltinConstant {
    std::u16string_view name;
    Variant value;
};

struct BuiltinTable {
    std::vector<Builtin> functions;
    std::vector<BuiltinConstant> constants;
};

// Every built-in, built once on first use.
const BuiltinTable& Builtins();

// The groups, one per file.
void RegisterConversionBuiltins(BuiltinTable& table);
void RegisterStringBuiltins(BuiltinTable& table);
void RegisterMathBuiltins(BuiltinTable& table);
void RegisterArrayBuiltins(BuiltinTable& table);
void RegisterInformationBuiltins(BuiltinTable& table);
void RegisterDateBuiltins(BuiltinTable& table);
void RegisterFormatBuiltins(BuiltinTable& table);
void RegisterByteAndEscapeBuiltins(BuiltinTable& table);
void RegisterHostBuiltins(BuiltinTable& table);
void RegisterConstants(BuiltinTable& table);

// Helpers for built-ins.
// The plain value of argument i (references followed; objects stay objects).
const Variant& Arg(std::span<Variant> arguments, size_t i);
// True when argument i was given (present and not Missing).
bool HasArg(std::span<Variant> arguments, size_t i);

// InStr and InStrB take an optional 1-based start before their texts: the start (1 without it) and
// the index of the first text. A Null start is error 94, a start below 1 error 5.
struct OptionalStart {
    int32_t start = 1;
    size_t offset = 0;
};
OptionalStart ReadOptionalStart(std::span<Variant> arguments);

}  // namespace taviro::vbscript
