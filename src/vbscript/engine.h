// The script engine as the player uses it: named objects, code, procedure calls, time-out, errors.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/host_services.h"
#include "vbscript/object.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {

class Vm;
class CodeCache;

// Where and why the last failed call failed.
struct ErrorInfo {
    int32_t number = 0;
    std::u16string description;
    std::u16string source;  // "Taviro VBScript runtime error" or "Taviro VBScript compilation error"
    int32_t line = 0;       // 1-based line of the failing statement in the text that holds it
    int32_t column = 0;     // 1-based
};

// One engine runs on one thread (reference counts are not atomic). It must not be destroyed from
// inside one of its own scripts' host callbacks; script objects a host keeps may outlive it (their
// members then fail with 91).
class Engine {
public:
    // A monotonic clock in milliseconds, read to enforce the time-out; the default is
    // std::chrono::steady_clock.
    using ClockMs = std::function<int64_t()>;
    static ClockMs SteadyClockMs();
    // The local date and time as milliseconds since 1 January 1970 00:00 local time, read by Now,
    // Date, Time, Timer and Randomize; the default is the system's clock in its time zone.
    static ClockMs LocalTimeMs();

    explicit Engine(ClockMs clock = SteadyClockMs(), ClockMs localTime = LocalTimeMs());
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Discards all code and named objects (compiled texts stay cached). Fails while a script runs.
    bool Reset();
    // Makes name a global identifier of later code; with membersGlobal the object's members are too.
    void AddObject(std::u16string_view name, Ref<Object> object, bool membersGlobal);
    // Compiles the text into the global module (or finds it compiled) and runs its global statements.
    // False on a compilation or run-time error; see Error().
    bool AddCode(std::u16string_view source);
    // The same for UTF-8 text (invalid UTF-8 is read as Windows-1252).
    bool AddCode(std::string_view utf8Source);
    // Runs a procedure of the loaded code; result receives a Function's value when given.
    bool Run(std::u16string_view procedure, std::span<const Variant> arguments = {},
             Variant* result = nullptr);
    // Scripts running longer than this (counted from the outermost AddCode or Run) are stopped with
    // err::kTimeout, which On Error Resume Next cannot catch; -1 never stops them.
    void Timeout(int32_t milliseconds);
    // The dialogs MsgBox and InputBox show; without one they fail with 70. The service must outlive
    // the engine or be replaced first.
    void SetDialogService(DialogService* dialogs);
    // Whether CreateObject may create objects (Scripting.Dictionary, and the factory's); off by default.
    void AllowObjectCreation(bool allow);
    // The locale scripts start in (a Windows LCID, as SetLocale takes; by default the process's, see
    // SetDefaultStartLocale); false, changing nothing, when the engine does not know it.
    bool SetLocale(int32_t lcid);
    // Creates the host's own objects for CreateObject, asked for ProgIDs the engine does not know.
    void SetObjectFactory(ObjectFactory factory);
    // Reads, calls or assigns a member of an object of this engine's code (an instance of one of its
    // classes) from the host, with the time-out and error handling of Run. False on an error.
    bool Invoke(const Ref<Object>& object, std::u16string_view member, InvokeKind kind,
                std::span<Variant> arguments, Variant* result = nullptr);
    // Names of the procedures of the loaded code.
    std::vector<std::u16string> Procedures() const;
    // The failure of the last call that failed.
    const ErrorInfo& Error() const { return error_; }
    // True while code of this engine runs (inside a host callback, for example).
    bool running() const;

private:
    template <typename Action>
    bool Guarded(Action&& action);
    bool Load(CodeCache& cache, std::string_view key, const std::function<std::u16string()>& text);

    std::unique_ptr<Vm> vm_;
    std::unique_ptr<CodeCache> cache_;       // texts given as UTF-8
    std::unique_ptr<CodeCache> utf16Cache_;  // texts given as UTF-16
    ErrorInfo error_;
};

}  // namespace taviro::vbscript
