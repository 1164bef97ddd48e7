// Array built-ins: Array, UBound, LBound, Filter.
#include "vbscript/array.h"
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/object.h"
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

// Filter(strings, value[, include[, compare]]): the strings that contain value (or, with include
// False, those that do not), in a new array.
Variant Filter(Vm&, std::span<Variant> a) {
    const Variant& list = Arg(a, 0);
    if (list.IsNull()) Throw(err::kInvalidUseOfNull);
    if (!list.IsArray()) Throw(err::kTypeMismatch);
    if (list.array()->dimensions() != 1) Throw(err::kTypeMismatch);
    if (Arg(a, 1).IsNull()) Throw(err::kInvalidUseOfNull);
    std::u16string value = ToString(Arg(a, 1));
    bool include = !HasArg(a, 2) || ToBoolean(Arg(a, 2));
    int32_t compare = HasArg(a, 3) ? ToLong(Arg(a, 3)) : 0;
    if (compare != 0 && compare != 1) Throw(err::kInvalidProcedureCall);
    bool ignoreCase = compare == 1;
    if (ignoreCase) value = FoldCase(value);
    std::vector<Variant> kept;
    for (const Variant& element : list.array()->elements()) {
        std::u16string text = ToString(element);
        bool contains = (ignoreCase ? FoldCase(text) : text).find(value) != std::u16string::npos;
        if (contains == include) kept.emplace_back(std::move(text));
    }
    return Variant(Array::FromValues(std::move(kept)));
}
}  // namespace

void RegisterArrayBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(), {
                                                      {u"Array", MakeArray, 0, -1},
                                                      {u"UBound", UBound, 1, 2},
                                                      {u"LBound", LBound, 1, 2},
                                                      {u"Filter", Filter, 2, 4},
                                                  });
}

}  // namespace taviro::vbscript
