// The engine facade: turns script errors into the last error and keeps the code cache.
#include "vbscript/engine.h"

#include <chrono>
#include <ctime>
#include <new>

#include "vbscript/code_cache.h"
#include "vbscript/compiler.h"
#include "vbscript/number_text.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

Engine::ClockMs Engine::SteadyClockMs() {
    return [] {
        return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
    };
}

Engine::ClockMs Engine::LocalTimeMs() {
    return [] {
        auto now = std::chrono::system_clock::now();
        std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        std::tm local{};
        localtime_r(&seconds, &local);
        return std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() +
               static_cast<int64_t>(local.tm_gmtoff) * 1000;
    };
}

Engine::Engine(ClockMs clock, ClockMs localTime)
    : vm_(std::make_unique<Vm>(std::move(clock), std::move(localTime))),
      cache_(std::make_unique<CodeCache>()),
      utf16Cache_(std::make_unique<CodeCache>()) {
    if (DefaultStartLocale() != DefaultLocale().lcid) SetLocale(DefaultStartLocale());
}

Engine::~Engine() = default;

bool Engine::running() const { return vm_->running(); }

template <typename Action>
bool Engine::Guarded(Action&& action) {
    if (!vm_->running()) vm_->StartClock();
    try {
        action();
        return true;
    } catch (const ScriptError& error) {
        error_.number = error.number;
        error_.description = error.description;
        error_.source = error.source.empty()
                            ? (IsCompileError(error.number) ? u"Taviro VBScript compilation error"
                                                            : u"Taviro VBScript runtime error")
                            : error.source;
        error_.line = error.line;
        error_.column = error.column;
    } catch (const std::bad_alloc&) {
        error_ = {err::kOutOfMemory, ErrorMessage(err::kOutOfMemory), u"Taviro VBScript runtime error", 0, 0};
    }
    return false;
}

bool Engine::Reset() {
    if (vm_->running()) {
        error_ = {err::kInvalidProcedureCall, u"The engine cannot be reset while a script runs",
                  u"Taviro VBScript", 0, 0};
        return false;
    }
    vm_->Reset();
    return true;
}

void Engine::AddObject(std::u16string_view name, Ref<Object> object, bool membersGlobal) {
    vm_->AddNamedObject(name, std::move(object), membersGlobal);
}

bool Engine::Load(CodeCache& cache, std::string_view key, const std::function<std::u16string()>& text) {
    return Guarded([&] {
        std::shared_ptr<const Module> module = cache.Find(key);
        if (!module) {
            module = CompileText(text());
            cache.Insert(key, module);
        }
        vm_->Load(module);
    });
}

bool Engine::AddCode(std::u16string_view source) {
    std::string_view key(reinterpret_cast<const char*>(source.data()), source.size() * sizeof(char16_t));
    return Load(*utf16Cache_, key, [&] { return std::u16string(source); });
}

bool Engine::AddCode(std::string_view utf8Source) {
    return Load(*cache_, utf8Source, [&] { return FromUtf8OrWindows1252(utf8Source); });
}

bool Engine::Run(std::u16string_view procedure, std::span<const Variant> arguments, Variant* result) {
    return Guarded([&] {
        Variant value = vm_->CallByName(procedure, arguments);
        if (result) *result = std::move(value);
    });
}

bool Engine::Invoke(const Ref<Object>& object, std::u16string_view member, InvokeKind kind,
                    std::span<Variant> arguments, Variant* result) {
    return Guarded([&] {
        if (!object) Throw(err::kObjectNotSet);
        DispatchId id = object->MemberId(member);
        if (id == kUnknownMember) Throw(err::kNoSuchMember);
        Variant value = object->Invoke(id, kind, arguments);
        if (result) *result = std::move(value);
    });
}

void Engine::SetDialogService(DialogService* dialogs) { vm_->host().dialogs = dialogs; }

void Engine::AllowObjectCreation(bool allow) { vm_->host().allowObjectCreation = allow; }

bool Engine::SetLocale(int32_t lcid) {
    const LocaleConventions* locale = FindLocale(lcid);
    if (!locale) return false;
    vm_->host().startLocale = locale;
    vm_->locale() = locale;
    return true;
}

void Engine::SetObjectFactory(ObjectFactory factory) { vm_->host().objectFactory = std::move(factory); }

void Engine::Timeout(int32_t milliseconds) { vm_->SetTimeout(milliseconds); }

std::vector<std::u16string> Engine::Procedures() const { return vm_->ProcedureNames(); }

}  // namespace taviro::vbscript
