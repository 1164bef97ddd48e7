// Built-ins that describe values: IsEmpty, IsNull, IsObject, IsArray, IsNumeric, IsDate, TypeName,
// VarType; and GetRef.
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/date_time.h"
#include "vbscript/locale.h"
#include "vbscript/number_text.h"
#include "vbscript/object.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

namespace {
Variant IsEmpty(Vm&, std::span<Variant> a) { return Variant(Arg(a, 0).IsEmpty()); }
Variant IsNull(Vm&, std::span<Variant> a) { return Variant(Arg(a, 0).IsNull()); }
Variant IsObject(Vm&, std::span<Variant> a) { return Variant(Arg(a, 0).IsObject()); }
Variant IsArray(Vm&, std::span<Variant> a) { return Variant(Arg(a, 0).IsArray()); }

Variant IsNumeric(Vm&, std::span<Variant> a) {
    const Variant& value = Arg(a, 0);
    if (value.IsString()) {
        double number;
        return Variant(ParseLocalNumber(value.string(), number));
    }
    return Variant(value.IsEmpty() || (value.IsNumeric() && value.type() != VarType::Date));
}

Variant IsDate(Vm& vm, std::span<Variant> a) {
    const Variant& value = Arg(a, 0);
    if (value.type() == VarType::Date) return Variant(true);
    if (!value.IsString()) return Variant(false);
    double serial;
    return Variant(
        ParseDate(value.string(), serial, YearOfLocalTime(vm.LocalTimeMs()), CurrentLocale().dateOrder));
}

Variant TypeName(Vm&, std::span<Variant> a) { return Variant(TypeNameOf(Arg(a, 0))); }

Variant VarTypeOf(Vm&, std::span<Variant> a) {
    const Variant& value = Arg(a, 0);
    if (value.IsObject() && value.object()) {
        // An object with a default value reports that value's subtype, as the original does.
        try {
            Variant inner = DefaultValue(value.object());
            return Variant(static_cast<int16_t>(inner.type()));
        } catch (const ScriptError&) {
            return Variant(int16_t{9});
        }
    }
    return Variant(static_cast<int16_t>(value.type()));
}

Variant GetRefBuiltin(Vm& vm, std::span<Variant> a) { return Variant(vm.GetRef(ToString(Arg(a, 0)))); }
}  // namespace

void RegisterInformationBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"IsEmpty", IsEmpty, 1, 1},
                                                      {u"IsNull", IsNull, 1, 1},
                                                      {u"IsObject", IsObject, 1, 1},
                                                      {u"IsArray", IsArray, 1, 1},
                                                      {u"IsNumeric", IsNumeric, 1, 1},
                                                      {u"IsDate", IsDate, 1, 1},
                                                      {u"TypeName", TypeName, 1, 1},
                                                      {u"VarType", VarTypeOf, 1, 1},
                                                      {u"GetRef", GetRefBuiltin, 1, 1},
                                                  });
}

}  // namespace taviro::vbscript
