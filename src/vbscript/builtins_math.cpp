// Numeric and clock built-ins: Int, Fix, Abs, Sgn, Sqr, Round, Atn, Cos, Sin, Tan, Exp, Log, RGB, Rnd,
// Randomize, Timer, Now, Date, Time.
#include <cmath>
#include <cstring>

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/date_time.h"
#include "vbscript/operators.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

namespace {
// Int and Fix keep the subtype of a number and turn text into a Double.
Variant WholePart(const Variant& input, double (*round)(double)) {
    Variant value = ValueOf(input);
    switch (value.type()) {
        case VarType::Null: return Variant::MakeNull();
        case VarType::Empty: return Variant(int16_t{0});
        case VarType::Boolean: return Variant(static_cast<int16_t>(value.boolean() ? -1 : 0));
        case VarType::Byte:
        case VarType::Integer:
        case VarType::Long: return value;
        case VarType::Single: return Variant(static_cast<float>(round(value.doubleValue())));
        case VarType::Currency:
            return Variant::Currency(
                static_cast<int64_t>(round(static_cast<double>(value.currency()) / 1e4)) * 10000);
        case VarType::Date: return Variant::Date(round(value.doubleValue()));
        default: return Variant(round(ToDouble(value)));
    }
}

Variant Int(Vm&, std::span<Variant> a) {
    return WholePart(Arg(a, 0), [](double x) { return std::floor(x); });
}
Variant Fix(Vm&, std::span<Variant> a) {
    return WholePart(Arg(a, 0), [](double x) { return std::trunc(x); });
}

Variant Abs(Vm&, std::span<Variant> a) {
    Variant value = ValueOf(Arg(a, 0));
    switch (value.type()) {
        case VarType::Null: return Variant::MakeNull();
        case VarType::Empty: return Variant(int16_t{0});
        case VarType::Byte: return value;
        case VarType::Boolean:
        case VarType::Integer:
        case VarType::Long:
        case VarType::Currency:
            return ToDouble(value) < 0
                       ? Negate(value)
                       : ConvertTo(value, value.type() == VarType::Boolean ? VarType::Integer : value.type());
        case VarType::Single: return Variant(std::fabs(static_cast<float>(value.doubleValue())));
        default: return Variant(std::fabs(ToDouble(value)));
    }
}

Variant Sgn(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    double value = ToDouble(Arg(a, 0));
    return Variant(static_cast<int16_t>(value > 0 ? 1 : value < 0 ? -1 : 0));
}

Variant Sqr(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    double value = ToDouble(Arg(a, 0));
    if (value < 0) Throw(err::kInvalidProcedureCall);
    return Variant(std::sqrt(value));
}

Variant Round(Vm&, std::span<Variant> a) {
    Variant value = ValueOf(Arg(a, 0));
    if (value.IsNull()) return Variant::MakeNull();
    int32_t places = HasArg(a, 1) ? ToLong(Arg(a, 1)) : 0;
    if (places < 0) Throw(err::kInvalidProcedureCall);
    if (value.type() == VarType::Integer || value.type() == VarType::Long || value.type() == VarType::Byte)
        return value;
    if (value.type() == VarType::Boolean) return Variant(static_cast<int16_t>(value.boolean() ? -1 : 0));
    double number = ToDouble(value);
    double rounded;
    if (places == 0) {
        rounded = RoundHalfEven(number);
    } else {
        double scale = std::pow(10.0, std::min(places, 22));
        double scaled = number * scale;
        // Round what the decimal text shows, not the binary approximation (2.675 is 2.67499...).
        double nearest = std::round(scaled * 1e6) / 1e6;
        rounded = RoundHalfEven(nearest) / scale;
    }
    if (value.type() == VarType::Single) return Variant(static_cast<float>(rounded));
    if (value.type() == VarType::Currency)
        return Variant::Currency(static_cast<int64_t>(RoundHalfEven(rounded * 1e4)));
    return Variant(rounded);
}

// Atn, Cos, Sin, Tan, Exp, Log: Doubles; Null stays Null.
template <double (*function)(double)>
Variant Transcendental(Vm&, std::span<Variant> a) {
    if (Arg(a, 0).IsNull()) return Variant::MakeNull();
    return Variant(CheckedDouble(function(ToDouble(Arg(a, 0)))));
}
double Arctangent(double x) { return std::atan(x); }
double Cosine(double x) { return std::cos(x); }
double Sine(double x) { return std::sin(x); }
double Tangent(double x) { return std::tan(x); }
double Exponential(double x) { return std::exp(x); }
double Logarithm(double x) {
    if (x <= 0) Throw(err::kInvalidProcedureCall);
    return std::log(x);
}

// RGB(red, green, blue): red in the low byte; parts above 255 count as 255.
Variant Rgb(Vm&, std::span<Variant> a) {
    int32_t parts[3];
    for (size_t i = 0; i < 3; ++i) {
        int32_t part = ToLong(Arg(a, i));
        if (part < 0) Throw(err::kInvalidProcedureCall);
        parts[i] = part > 255 ? 255 : part;
    }
    return Variant(parts[0] | parts[1] << 8 | parts[2] << 16);
}

// The original engine's generator: a 24-bit linear congruential sequence.
float NextRandom(uint32_t& seed) {
    seed = (seed * 1140671485u + 12820163u) & 0xFFFFFFu;
    return static_cast<float>(seed) / 16777216.0f;
}

Variant Rnd(Vm& vm, std::span<Variant> a) {
    uint32_t& seed = vm.randomSeed();
    if (HasArg(a, 0)) {
        float number = ToSingle(Arg(a, 0));
        if (number == 0) return Variant(vm.lastRandom());
        if (number < 0) {
            uint32_t bits;
            std::memcpy(&bits, &number, 4);
            seed = (bits + (bits >> 24)) & 0xFFFFFFu;
        }
    }
    vm.lastRandom() = NextRandom(seed);
    return Variant(vm.lastRandom());
}

// Randomize n puts 16 bits of n into the middle of the seed and keeps its outer bits, so the same n
// repeats a sequence only after Rnd with a negative number has fixed those bits.
Variant Randomize(Vm& vm, std::span<Variant> a) {
    double value = HasArg(a, 0)
                       ? ToDouble(Arg(a, 0))
                       : static_cast<double>(static_cast<float>(vm.LocalTimeMs() % 86400000) / 1000.0f);
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    auto high = static_cast<uint32_t>(bits >> 32);
    uint32_t mixed = (high ^ (high >> 16)) & 0xFFFF;
    vm.randomSeed() = (vm.randomSeed() & 0xFF0000FFu) | (mixed << 8);
    return {};
}

// The clock gives milliseconds; its days since the epoch give the date part of Now.
double NowSerial(Vm& vm) {
    double ms = static_cast<double>(vm.LocalTimeMs());
    return 25569.0 + ms / 86400000.0;  // 25569 = 1 January 1970
}

Variant Now(Vm& vm, std::span<Variant>) {
    double serial = NowSerial(vm);
    // Whole seconds, as the original's clock shows them.
    return Variant::Date(std::floor(serial) +
                         std::floor((serial - std::floor(serial)) * 86400.0 + 1e-6) / 86400.0);
}

Variant DateNow(Vm& vm, std::span<Variant>) { return Variant::Date(std::floor(NowSerial(vm))); }

Variant TimeNow(Vm& vm, std::span<Variant>) {
    double serial = NowSerial(vm);
    return Variant::Date(std::floor((serial - std::floor(serial)) * 86400.0 + 1e-6) / 86400.0);
}

Variant Timer(Vm& vm, std::span<Variant>) {
    int64_t ms = vm.LocalTimeMs() % 86400000;
    return Variant(static_cast<float>(static_cast<double>(ms) / 1000.0));
}
}  // namespace

void RegisterMathBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"Int", Int, 1, 1},
                                                      {u"Fix", Fix, 1, 1},
                                                      {u"Abs", Abs, 1, 1},
                                                      {u"Sgn", Sgn, 1, 1},
                                                      {u"Sqr", Sqr, 1, 1},
                                                      {u"Round", Round, 1, 2},
                                                      {u"Rnd", Rnd, 0, 1},
                                                      {u"Randomize", Randomize, 0, 1},
                                                      {u"Now", Now, 0, 0},
                                                      {u"Date", DateNow, 0, 0},
                                                      {u"Time", TimeNow, 0, 0},
                                                      {u"Timer", Timer, 0, 0},
                                                      {u"Atn", Transcendental<Arctangent>, 1, 1},
                                                      {u"Cos", Transcendental<Cosine>, 1, 1},
                                                      {u"Sin", Transcendental<Sine>, 1, 1},
                                                      {u"Tan", Transcendental<Tangent>, 1, 1},
                                                      {u"Exp", Transcendental<Exponential>, 1, 1},
                                                      {u"Log", Transcendental<Logarithm>, 1, 1},
                                                      {u"RGB", Rgb, 3, 3},
                                                  });
}

}  // namespace taviro::vbscript
