// Array built-ins: Array, UBound, LBound.
#include "vbscript/array.h"
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
Variant MakeArray(Vm&, std::span<Variant> a) {
    std::vector<Variant> values;
    values.reserve(a.size());
    for (size_t i = 0; i < a.size(); ++i) values.push_back(CopyForStore(Arg(a, i)));
    return Variant(Array::FromValues(std::move(values)));
}

Array& ArrayArgument(std::span<Variant> a) {
    const Variant& value = Arg(a, 0);
    if (!value.IsArray()) Throw(err::kTypeMismatch);
    return *value.array();
}

int DimensionArgument(std::span<Variant> a, const Array& array) {
    int32_t dimension = HasArg(a, 1) ? ToLong(Arg(a, 1)) : 1;
    if (dimension < 1 || dimension > array.dimensions()) Throw(err::kSubscriptOutOfRange);
    return dimension - 1;
}

Variant UBound(Vm&, std::span<Variant> a) {
    Array& array = ArrayArgument(a);
    return Variant(array.upperBound(DimensionArgument(a, array)));
}

Variant LBound(Vm&, std::span<Variant> a) {
    Array& array = ArrayArgument(a);
    DimensionArgument(a, array);
    return Variant(int32_t{0});
}
}  // namespace

void RegisterArrayBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"Array", MakeArray, 0, -1},
                                                      {u"UBound", UBound, 1, 2},
                                                      {u"LBound", LBound, 1, 2},
                                                  });
}

}  // namespace taviro::vbscript
