// Built-ins that reach the host or describe the engine: MsgBox, InputBox, CreateObject, GetLocale,
// SetLocale, ScriptEngine and its versions, Eval.
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/dictionary.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

namespace {
DialogService& Dialogs(Vm& vm) {
    if (!vm.host().dialogs) Throw(err::kPermissionDenied);
    return *vm.host().dialogs;
}

std::u16string TextArgument(std::span<Variant> a, size_t i) {
    if (!HasArg(a, i) || Arg(a, i).IsNull()) return {};
    return ToString(Arg(a, i));
}

// MsgBox(prompt[, buttons[, title[, helpfile, context]]]): the button chosen, vbOK .. vbNo.
Variant MsgBox(Vm& vm, std::span<Variant> a) {
    std::u16string prompt = ToString(Arg(a, 0));
    int32_t buttons = HasArg(a, 1) ? ToLong(Arg(a, 1)) : 0;
    std::u16string title = TextArgument(a, 2);
    int32_t chosen = Dialogs(vm).MessageBox(prompt, buttons, title);
    return Variant(static_cast<int16_t>(chosen));
}

// InputBox(prompt[, title[, default[, xpos, ypos[, helpfile, context]]]]): "" when cancelled.
Variant InputBox(Vm& vm, std::span<Variant> a) {
    std::u16string prompt = ToString(Arg(a, 0));
    std::optional<std::u16string> answer =
        Dialogs(vm).InputBox(prompt, TextArgument(a, 1), TextArgument(a, 2));
    return Variant(answer.value_or(std::u16string()));
}

Variant CreateObject(Vm& vm, std::span<Variant> a) {
    std::u16string progId = ToString(Arg(a, 0));
    const HostServices& host = vm.host();
    if (!host.allowObjectCreation) Throw(err::kCannotCreateObject);
    if (FoldCase(progId) == u"scripting.dictionary") return Variant(Ref<Object>(MakeRef<Dictionary>()));
    Ref<Object> created = host.objectFactory ? host.objectFactory(progId) : Ref<Object>();
    if (!created) Throw(err::kCannotCreateObject);
    return Variant(std::move(created));
}

Variant GetLocale(Vm& vm, std::span<Variant>) {
    return Variant(vm.locale() ? vm.locale()->lcid : DefaultLocale().lcid);
}

// SetLocale(lcid or tag): the previous locale's LCID. 0, an empty tag or no argument is the locale the
// engine started in; an LCID or tag of no known locale fails with 5.
Variant SetLocale(Vm& vm, std::span<Variant> a) {
    int32_t previous = vm.locale() ? vm.locale()->lcid : DefaultLocale().lcid;
    const LocaleConventions* locale = vm.host().startLocale;
    if (HasArg(a, 0)) {
        const Variant& value = Arg(a, 0);
        if (value.IsString()) {
            if (!value.string().empty()) locale = FindLocaleByTag(value.string());
        } else if (int32_t lcid = ToLong(value); lcid != 0) {
            locale = FindLocale(lcid);
        }
        if (!locale && !(value.IsString() ? value.string().empty() : ToLong(value) == 0))
            Throw(err::kInvalidProcedureCall);
    }
    vm.locale() = locale;
    return Variant(previous);
}

Variant ScriptEngine(Vm&, std::span<Variant>) { return Variant(u"VBScript"); }
Variant ScriptEngineMajorVersion(Vm&, std::span<Variant>) { return Variant(int32_t{5}); }
Variant ScriptEngineMinorVersion(Vm&, std::span<Variant>) { return Variant(int32_t{8}); }
Variant ScriptEngineBuildVersion(Vm&, std::span<Variant>) { return Variant(int32_t{16384}); }

// Eval called through a name the compiler does not see (it compiles Eval(text) itself): global scope.
Variant Eval(Vm& vm, std::span<Variant> a) { return vm.EvalText(ToString(Arg(a, 0))); }
}  // namespace

void RegisterHostBuiltins(BuiltinTable& table) {
    table.functions.insert(table.functions.end(),
                           {
                               {u"MsgBox", MsgBox, 1, 5},
                               {u"InputBox", InputBox, 1, 7},
                               {u"CreateObject", CreateObject, 1, 2},
                               {u"GetLocale", GetLocale, 0, 0},
                               {u"SetLocale", SetLocale, 0, 1},
                               {u"ScriptEngine", ScriptEngine, 0, 0},
                               {u"ScriptEngineMajorVersion", ScriptEngineMajorVersion, 0, 0},
                               {u"ScriptEngineMinorVersion", ScriptEngineMinorVersion, 0, 0},
                               {u"ScriptEngineBuildVersion", ScriptEngineBuildVersion, 0, 0},
                               {u"Eval", Eval, 1, 1},
                           });
}

}  // namespace taviro::vbscript
