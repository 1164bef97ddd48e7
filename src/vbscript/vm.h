// The virtual machine: global names, the value stack, call frames and the instruction loop.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "vbscript/builtins.h"
#include "vbscript/bytecode.h"
#include "vbscript/host_services.h"
#include "vbscript/locale.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {

class ClassInstance;
class ErrObject;
struct LoadedUnit;

// One global name of an engine: a variable, constant, procedure, class, named object, built-in,
// or a member of a named object whose members are global.
struct GlobalSlot {
    enum class Kind : uint8_t { Variable, Constant, Procedure, Class, NamedObject, Builtin, GlobalMember };
    Kind kind = Kind::Variable;
    std::u16string displayName;
    Variant value;
    const Procedure* procedure = nullptr;
    const ClassDef* classDef = nullptr;
    LoadedUnit* unit = nullptr;  // owner of a procedure or class (kept alive by the Vm)
    const Builtin* builtin = nullptr;
    Ref<Object> owner;  // GlobalMember
    DispatchId memberId = kUnknownMember;
};

// A compiled module bound to one engine: its global names resolved to slots lazily.
struct LoadedUnit : RefCounted {
    std::shared_ptr<const Module> module;
    std::vector<GlobalSlot*> links;  // by Module::globalNames index; null until first resolved
    std::vector<uint32_t> missedAt;  // the globals generation at which a name was last found missing
    bool detached = false;           // the engine was reset: the code may no longer run
};

class Vm {
public:
    using Clock = std::function<int64_t()>;
    static constexpr size_t kStackSlots = size_t{1} << 18;
    static constexpr size_t kMaxFrames = 10000;
    static constexpr int kMaxNativeDepth = 90;

    Vm(Clock clockMs, Clock localTimeMs);
    ~Vm();
    Vm(const Vm&) = delete;
    Vm& operator=(const Vm&) = delete;

    // ---- used by the engine ----
    // Binds a module's declarations and runs its global code.
    void Load(std::shared_ptr<const Module> module);
    // Runs a procedure of the loaded code by name with plain arguments.
    Variant CallByName(std::u16string_view name, std::span<const Variant> arguments);
    void AddNamedObject(std::u16string_view name, Ref<Object> object, bool membersGlobal);
    // Drops every global name and loaded unit. Objects released here may run Class_Terminate.
    void Reset();
    // Public procedure names of the loaded code, as written.
    std::vector<std::u16string> ProcedureNames() const;
    bool running() const { return nativeDepth_ > 0; }
    void SetTimeout(int32_t milliseconds) { timeoutMs_ = milliseconds; }
    // Starts a top-level call: the time-out counts from here.
    void StartClock();

    // ---- used by objects and built-ins ----
    // Calls a script procedure from native code (host callbacks, Class_Terminate, GetRef, defaults).
    Variant CallProcedure(const Procedure* procedure, LoadedUnit* unit, ClassInstance* me,
                          std::span<const Variant> arguments);
    // Creates an instance of a script class, running Class_Initialize.
    Ref<Object> NewInstance(const ClassDef* classDef, LoadedUnit* unit);
    int64_t NowMs() const { return clock_(); }
    // Milliseconds since 1 January 1970 00:00 local time.
    int64_t LocalTimeMs() const { return localTime_(); }
    ErrObject& err() { return *err_; }
    // GetRef: an object whose default member calls the procedure.
    Ref<Object> GetRef(std::u16string_view name);
    // Eval of a text at global scope, as the Eval reached through GetRef or a host call does.
    Variant EvalText(std::u16string_view text);
    // Dialogs and object creation as the host allows them.
    HostServices& host() { return host_; }
    // The locale SetLocale chose (null: US English); values read and write in it while this Vm runs.
    const LocaleConventions*& locale() { return locale_; }
    // The random number state of Rnd and Randomize.
    uint32_t& randomSeed() { return randomSeed_; }
    float& lastRandom() { return lastRandom_; }

private:
    // The variables text run by Execute inside a procedure declared for that procedure's call.
    struct ExecuteScope {
        std::vector<std::u16string> names;
        std::deque<Variant> values;  // a deque: references to a variable stay valid as others are added
    };
    // The procedure call whose scope a text run by Execute or Eval shares.
    struct OuterCall {
        const Procedure* procedure = nullptr;
        Variant* locals = nullptr;
        ExecuteScope* scope = nullptr;
        ClassInstance* me = nullptr;
    };

    struct Frame {
        enum class Mode : uint8_t { PushResult, Discard, Native };
        // Every member is set one by one: a call is frequent, and clearing the whole frame at once
        // costs more than the call's other work.
        Frame(const Procedure* procedure, LoadedUnit* loaded, Variant* firstLocal, ClassInstance* instance,
              uint16_t slotsBelow, Mode callMode);
        const Procedure* proc = nullptr;
        LoadedUnit* unit = nullptr;
        const uint8_t* ip = nullptr;
        Variant* locals = nullptr;
        OuterCall outer;                             // the call whose scope Execute/Eval text shares
        std::unique_ptr<ExecuteScope> executeScope;  // what Execute text declared in this call
        ClassInstance* me = nullptr;                 // kept alive by meHolder
        Ref<Object> meHolder;
        uint16_t dropBelow = 0;  // slots under the locals the call pops on return (the object called)
        Mode mode = Mode::PushResult;
        bool resumeNext = false;
    };

    Variant Execute(size_t entryFrame);
    // Runs a procedure's code from native code; outer is the call Execute/Eval text shares, if any.
    Variant Run(const Procedure* procedure, LoadedUnit* unit, ClassInstance* me,
                std::span<const Variant> arguments, const OuterCall* outer);
    // Execute (expression false) or Eval of a text in the scope of the frame running it (null: global).
    Variant RunText(std::u16string_view text, bool expression, Frame* from);
    // A variable of the call that Execute/Eval text shares, by the slot the text was compiled with.
    static Variant& OuterVariable(const Frame& frame, uint16_t slot);
    // The variable a Dynamic instruction falls back to when its global does not exist.
    static Variant& FallbackVariable(const Frame& frame, uint16_t fallback) {
        if (fallback & kOuterFallback) return OuterVariable(frame, fallback & ~kOuterFallback);
        return frame.locals[fallback];
    }
    bool Recover(ScriptError& error, size_t entryFrame, Frame* current, const uint8_t* ip);
    void RegisterBuiltinNames();
    void ReleaseEverything();
    LoadedUnit* Bind(const std::shared_ptr<const Module>& module);
    std::shared_ptr<const Module> CompileForExecute(std::u16string_view text, bool expression,
                                                    const OuterCall& outer);
    void PushFrame(const Procedure* proc, LoadedUnit* unit, ClassInstance* me, uint16_t argc,
                   uint16_t dropBelow, Frame::Mode mode);
    // Drops the top frame with its locals; a frame without Me or Execute's variables goes at once.
    void PopFrame() {
        Frame& frame = frames_.back();
        ClearTo(frame.locals - frame.dropBelow);
        if (!frame.meHolder && !frame.executeScope) {
            frames_.pop_back();
            return;
        }
        PopFrameHolding();
    }
    // PopFrame for a frame that holds Me or Execute's variables: they die after the frame is gone.
    void PopFrameHolding();
    // Pops the values above newTop. Each is moved out before it dies: a dying object may run
    // Class_Terminate on this stack.
    void ClearTo(Variant* newTop) {
        while (sp_ > newTop) {
            Variant dying = std::move(*--sp_);
        }
    }
    // Makes the slots below end usable; throws 28 when end lies beyond the stack.
    void ReserveStack(Variant* end) {
        if (end > constructedEnd_) ConstructStack(end);
    }
    void ConstructStack(Variant* end);
    void CheckTimeout();

    GlobalSlot* Lookup(std::u16string_view folded);
    GlobalSlot& Declare(const std::u16string& folded, std::u16string_view displayName);
    GlobalSlot* Link(LoadedUnit* unit, uint16_t link, bool create) {
        GlobalSlot* slot = unit->links[link];
        return slot ? slot : LinkByName(unit, link, create);
    }
    GlobalSlot* LinkByName(LoadedUnit* unit, uint16_t link, bool create);

    // Instruction helpers; each works on the top of the stack.
    void CallGlobalSlot(GlobalSlot* slot, uint16_t argc, bool wantReference);
    void CallBuiltin(const Builtin* builtin, uint16_t argc);
    void IndexOrDefault(Variant& container, uint16_t argc, bool wantReference, uint16_t dropBelow);
    void InvokeMember(std::u16string_view name, uint16_t argc, MemberCache& cache, InvokeKind kind);
    void AssignIndexed(uint16_t argc, bool isSet);
    void LoadGlobalSlot(GlobalSlot* slot);
    void StoreGlobalSlot(GlobalSlot* slot, Variant value, bool isSet);
    void ReferenceGlobalSlot(GlobalSlot* slot);
    void PushValue(Variant&& value) { *sp_++ = std::move(value); }
    void PushValue(const Variant& value) { *sp_++ = value; }
    Variant Pop() { return std::move(*--sp_); }

    Clock clock_;
    Clock localTime_;
    // The value stack: raw memory whose slots are constructed as the deepest use grows, so an engine
    // costs little until its scripts need depth. Slots below constructedEnd_ are live Variants.
    std::unique_ptr<std::byte[]> stackMemory_;
    Variant* stack_;
    Variant* constructedEnd_;
    Variant* sp_;
    Variant* stackEnd_;
    std::vector<Frame> frames_;
    int nativeDepth_ = 0;
    int32_t timeoutMs_ = -1;
    int64_t startMs_ = 0;
    int32_t budget_ = 0;

    std::deque<GlobalSlot> globals_;
    uint32_t globalsGeneration_ = 1;  // grows whenever a global name appears
    std::unordered_map<std::u16string, GlobalSlot*> globalIndex_;
    std::vector<Ref<Object>> globalMemberOwners_;
    std::vector<Ref<LoadedUnit>> units_;
    std::unordered_map<const Module*, Ref<LoadedUnit>> unitsByModule_;
    // Live script objects, so that reference cycles among them can be broken when the engine resets.
    std::unordered_set<ClassInstance*> instances_;
    std::unordered_map<std::u16string, std::shared_ptr<const Module>> executeCache_;
    Ref<ErrObject> err_;
    // Expires when the Vm goes: objects that outlive it stop running its code.
    std::shared_ptr<void> alive_;
    HostServices host_;
    const LocaleConventions* locale_ = nullptr;
    uint32_t randomSeed_ = 0x50000;
    float lastRandom_ = 0;

    friend class ClassInstance;
};

// Throws 450 unless count is between the bounds.
void CheckArgumentCount(size_t count, int minimum, int maximum);

}  // namespace taviro::vbscript
