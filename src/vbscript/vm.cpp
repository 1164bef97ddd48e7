// The instruction loop and the machinery around it: frames, globals, errors, time-out.
#include "vbscript/vm.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include "vbscript/array.h"
#include "vbscript/class_instance.h"
#include "vbscript/compiler.h"
#include "vbscript/conversions.h"
#include "vbscript/err_object.h"
#include "vbscript/number_text.h"
#include "vbscript/operators.h"

namespace taviro::vbscript {

namespace {
// How many instructions run between two looks at the clock.
constexpr int32_t kClockInterval = 4096;

// The value a Let assignment stores: references followed, objects replaced by their default value,
// arrays copied.
Variant LetValue(Variant value) {
    if (value.IsReference()) value = Variant(value.Target());
    if (value.IsObject()) return DefaultValue(value.object());
    if (value.IsArray()) return CopyForStore(std::move(value));
    return value;
}

// The value a Set assignment stores: it must be an object (or Nothing).
Variant SetValue(Variant value) {
    if (value.IsReference()) value = Variant(value.Target());
    if (!value.IsObject()) Throw(err::kObjectRequired);
    return value;
}

// What GetRef returns: calling it (its default member) calls the procedure.
class ProcedureReference final : public Object {
public:
    ProcedureReference(Vm& vm, std::weak_ptr<void> alive, const Procedure* procedure, LoadedUnit* unit)
        : vm_(vm), alive_(std::move(alive)), procedure_(procedure), unit_(unit) {}
    std::u16string TypeName() const override { return u"Object"; }
    DispatchId MemberId(std::u16string_view) override { return kUnknownMember; }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (id != kDefaultMember || kind != InvokeKind::Get) Throw(err::kNoSuchMember);
        if (alive_.expired() || unit_->detached) Throw(err::kObjectNotSet);
        return vm_.CallProcedure(procedure_, unit_.get(), nullptr, arguments);
    }

private:
    Vm& vm_;
    std::weak_ptr<void> alive_;
    const Procedure* procedure_;
    Ref<LoadedUnit> unit_;
};

}  // namespace

void CheckArgumentCount(size_t count, int minimum, int maximum) {
    if (count < static_cast<size_t>(minimum) || (maximum >= 0 && count > static_cast<size_t>(maximum)))
        Throw(err::kWrongArgumentCount);
}

// ---------------------------------------------------------------- life

Vm::Vm(Clock clockMs, Clock localTimeMs)
    : clock_(std::move(clockMs)),
      localTime_(std::move(localTimeMs)),
      stackMemory_(new std::byte[kStackSlots * sizeof(Variant)]),
      alive_(std::make_shared<int>(0)) {
    stack_ = reinterpret_cast<Variant*>(stackMemory_.get());
    constructedEnd_ = stack_;
    sp_ = stack_;
    stackEnd_ = stack_ + kStackSlots;
    frames_.reserve(kMaxFrames + 8);
    err_ = MakeRef<ErrObject>();
    RegisterBuiltinNames();
}

Vm::~Vm() {
    ReleaseEverything();
    alive_.reset();
    std::destroy(stack_, constructedEnd_);
}

void Vm::ConstructStack(Variant* end) {
    if (end > stackEnd_) Throw(err::kOutOfStackSpace);
    while (constructedEnd_ < end) {
        new (constructedEnd_) Variant();
        ++constructedEnd_;
    }
}

void Vm::RegisterBuiltinNames() {
    const BuiltinTable& table = Builtins();
    for (const Builtin& builtin : table.functions) {
        GlobalSlot& slot = Declare(FoldCase(builtin.name), builtin.name);
        slot.kind = GlobalSlot::Kind::Builtin;
        slot.builtin = &builtin;
    }
    for (const BuiltinConstant& constant : table.constants) {
        GlobalSlot& slot = Declare(FoldCase(constant.name), constant.name);
        slot.kind = GlobalSlot::Kind::Constant;
        slot.value = constant.value;
    }
    GlobalSlot& err = Declare(u"err", u"Err");
    err.kind = GlobalSlot::Kind::NamedObject;
    err.value = Variant(Ref<Object>(err_.get()));
}

void Vm::ReleaseEverything() {
    // 1. Release every value while the code is still attached, so Class_Terminate can run.
    std::vector<Variant> values;
    values.reserve(globals_.size());
    for (GlobalSlot& slot : globals_) {
        values.push_back(std::move(slot.value));
        slot.owner = nullptr;
    }
    globalMemberOwners_.clear();
    values.clear();
    // Objects that only keep each other alive: empty their fields, which lets the cycles go.
    std::vector<Ref<Object>> cyclic;
    for (ClassInstance* instance : instances_) cyclic.emplace_back(instance);
    for (const Ref<Object>& object : cyclic) {
        std::vector<Variant> fields;
        fields.swap(static_cast<ClassInstance*>(object.get())->fields_);
        fields.clear();
    }
    cyclic.clear();
    // 2. Detach the code: objects that outlive the engine may no longer run it.
    for (const Ref<LoadedUnit>& unit : units_) {
        unit->detached = true;
        unit->links.clear();
        unit->missedAt.clear();
    }
    unitsByModule_.clear();
    units_.clear();
    globalIndex_.clear();
    globals_.clear();
    executeCache_.clear();
}

void Vm::Reset() {
    ReleaseEverything();
    err_->Clear();
    RegisterBuiltinNames();
}

void Vm::StartClock() {
    startMs_ = clock_();
    budget_ = kClockInterval;
}

void Vm::CheckTimeout() {
    budget_ = kClockInterval;
    if (timeoutMs_ >= 0 && clock_() - startMs_ > timeoutMs_) throw ScriptError(err::kTimeout);
}

// ---------------------------------------------------------------- globals

GlobalSlot* Vm::Lookup(std::u16string_view folded) {
    auto found = globalIndex_.find(std::u16string(folded));
    if (found != globalIndex_.end()) return found->second;
    for (auto owner = globalMemberOwners_.rbegin(); owner != globalMemberOwners_.rend(); ++owner) {
        DispatchId id = (*owner)->MemberId(folded);
        if (id == kUnknownMember) continue;
        GlobalSlot& slot = Declare(std::u16string(folded), folded);
        slot.kind = GlobalSlot::Kind::GlobalMember;
        slot.owner = *owner;
        slot.memberId = id;
        return &slot;
    }
    return nullptr;
}

GlobalSlot& Vm::Declare(const std::u16string& folded, std::u16string_view displayName) {
    auto found = globalIndex_.find(folded);
    if (found != globalIndex_.end()) return *found->second;
    globals_.emplace_back();
    ++globalsGeneration_;
    GlobalSlot& slot = globals_.back();
    slot.displayName = std::u16string(displayName);
    globalIndex_.emplace(folded, &slot);
    return slot;
}

GlobalSlot* Vm::LinkByName(LoadedUnit* unit, uint16_t link, bool create) {
    GlobalSlot* slot = nullptr;
    // A name found missing stays missing until some global is added: no need to look again.
    if (!create && unit->missedAt[link] == globalsGeneration_) return nullptr;
    const std::u16string& name = unit->module->globalNames[link];
    slot = Lookup(name);
    if (!slot) {
        if (!create) {
            unit->missedAt[link] = globalsGeneration_;
            return nullptr;
        }
        if (unit->module->optionExplicit) Throw(err::kVariableUndefined);
        slot = &Declare(name, name);
    }
    unit->links[link] = slot;
    return slot;
}

void Vm::AddNamedObject(std::u16string_view name, Ref<Object> object, bool membersGlobal) {
    GlobalSlot& slot = Declare(FoldCase(name), name);
    slot.kind = GlobalSlot::Kind::NamedObject;
    slot.value = Variant(object);
    if (membersGlobal && object) {
        globalMemberOwners_.push_back(object);
        ++globalsGeneration_;
    }
}

std::vector<std::u16string> Vm::ProcedureNames() const {
    std::vector<std::u16string> names;
    for (const GlobalSlot& slot : globals_) {
        if (slot.kind == GlobalSlot::Kind::Procedure) names.push_back(slot.procedure->displayName);
    }
    return names;
}

// ---------------------------------------------------------------- loading and calling

LoadedUnit* Vm::Bind(const std::shared_ptr<const Module>& module) {
    // A module loaded before keeps its resolved links: binding it again costs no look-ups.
    auto known = unitsByModule_.find(module.get());
    LoadedUnit* unit;
    if (known != unitsByModule_.end()) {
        unit = known->second.get();
    } else {
        Ref<LoadedUnit> created = MakeRef<LoadedUnit>();
        created->module = module;
        created->links.assign(module->globalNames.size(), nullptr);
        created->missedAt.assign(module->globalNames.size(), 0);
        units_.push_back(created);
        unitsByModule_.emplace(module.get(), created);
        unit = created.get();
    }
    for (const GlobalDeclaration& declaration : module->declarations) {
        GlobalSlot* slot = unit->links[declaration.link];
        if (!slot) {
            const std::u16string& name = module->globalNames[declaration.link];
            auto found = globalIndex_.find(name);
            slot = found != globalIndex_.end() ? found->second : &Declare(name, name);
            unit->links[declaration.link] = slot;
        }
        switch (declaration.kind) {
            case GlobalDeclaration::Kind::Variable:
                // A named object keeps its name; a variable declared again keeps its value.
                if (slot->kind == GlobalSlot::Kind::NamedObject) break;
                if (slot->kind != GlobalSlot::Kind::Variable) {
                    slot->kind = GlobalSlot::Kind::Variable;
                    slot->value = Variant();
                }
                if (declaration.isArray && !slot->value.IsArray()) {
                    slot->value =
                        Variant(Array::Create(declaration.arrayBounds, !declaration.arrayBounds.empty()));
                }
                break;
            case GlobalDeclaration::Kind::Constant:
                slot->kind = GlobalSlot::Kind::Constant;
                slot->value = declaration.constant;
                break;
            case GlobalDeclaration::Kind::Procedure:
                slot->kind = GlobalSlot::Kind::Procedure;
                slot->procedure = declaration.procedure;
                slot->displayName = declaration.procedure->displayName;
                slot->unit = unit;
                slot->value = Variant();
                break;
            case GlobalDeclaration::Kind::Class:
                slot->kind = GlobalSlot::Kind::Class;
                slot->classDef = declaration.classDef;
                slot->unit = unit;
                slot->value = Variant();
                break;
        }
        if (slot->displayName.empty()) slot->displayName = module->globalNames[declaration.link];
    }
    return unit;
}

void Vm::Load(std::shared_ptr<const Module> module) {
    LoadedUnit* unit = Bind(module);
    Ref<LoadedUnit> keep(unit);
    CallProcedure(module->globalCode.get(), unit, nullptr, {});
}

Variant Vm::CallByName(std::u16string_view name, std::span<const Variant> arguments) {
    GlobalSlot* slot = Lookup(FoldCase(name));
    if (!slot || slot->kind != GlobalSlot::Kind::Procedure) Throw(err::kSubNotDefined);
    Ref<LoadedUnit> keep(slot->unit);
    return CallProcedure(slot->procedure, slot->unit, nullptr, arguments);
}

Variant Vm::CallProcedure(const Procedure* procedure, LoadedUnit* unit, ClassInstance* me,
                          std::span<const Variant> arguments) {
    return Run(procedure, unit, me, arguments, nullptr);
}

Variant Vm::Run(const Procedure* procedure, LoadedUnit* unit, ClassInstance* me,
                std::span<const Variant> arguments, const OuterCall* outer) {
    if (unit->detached) Throw(err::kObjectNotSet);
    if (nativeDepth_ >= kMaxNativeDepth) Throw(err::kOutOfStackSpace);
    if (static_cast<size_t>(stackEnd_ - sp_) < arguments.size() + 64) Throw(err::kOutOfStackSpace);
    ReserveStack(sp_ + arguments.size() + 64);
    struct DepthGuard {
        int& depth;
        explicit DepthGuard(int& d) : depth(d) { ++depth; }
        ~DepthGuard() { --depth; }
    } guard(nativeDepth_);
    LocaleScope locale(&locale_);
    Variant* base = sp_;
    // Arrays arrive as copies, as they do through IDispatch: the script may change its own.
    for (const Variant& argument : arguments) *sp_++ = CopyForStore(argument);
    size_t entry = frames_.size();
    try {
        PushFrame(procedure, unit, me, static_cast<uint16_t>(arguments.size()), 0, Frame::Mode::Native);
        if (outer) frames_.back().outer = *outer;
    } catch (...) {
        ClearTo(base);
        throw;
    }
    return Execute(entry);
}

Ref<Object> Vm::NewInstance(const ClassDef* classDef, LoadedUnit* unit) {
    Ref<ClassInstance> instance(new ClassInstance(*this, alive_, classDef, unit));
    if (classDef->initialize) CallProcedure(classDef->initialize, unit, instance.get(), {});
    return Ref<Object>(instance.get());
}

Ref<Object> Vm::GetRef(std::u16string_view name) {
    GlobalSlot* slot = Lookup(FoldCase(name));
    if (!slot || slot->kind != GlobalSlot::Kind::Procedure) Throw(err::kInvalidProcedureCall);
    return MakeRef<ProcedureReference>(*this, alive_, slot->procedure, slot->unit);
}

std::shared_ptr<const Module> Vm::CompileForExecute(std::u16string_view text, bool expression,
                                                    const OuterCall& outer) {
    // Text run inside a procedure compiles against that call's variables, so the key names them:
    // the procedure, and the variables earlier texts declared in the call.
    std::vector<std::u16string> names;
    std::u16string key(text);
    key += expression ? u'\x01' : u'\x02';
    if (outer.procedure) {
        key += FormatInteger(static_cast<int64_t>(reinterpret_cast<uintptr_t>(outer.procedure)));
        names = outer.procedure->localNames;
        for (const std::u16string& name : outer.scope->names) {
            key += u'\x03';
            key += name;
            names.push_back(name);
        }
    }
    auto found = executeCache_.find(key);
    if (found != executeCache_.end()) return found->second;
    OuterScope scope;
    if (outer.procedure) scope = {&names, outer.procedure->owner};
    std::shared_ptr<const Module> module;
    try {
        module = expression ? CompileExpression(text, scope) : CompileText(text, scope);
    } catch (ScriptError& error) {
        // Reported at the statement that ran the text, as a run-time error with the compile number.
        error.line = 0;
        error.column = 0;
        throw;
    }
    if (names.size() + module->executeLocals.size() > 0xFFFF) Throw(err::kOutOfMemory);
    if (executeCache_.size() > 256) executeCache_.clear();
    executeCache_.emplace(std::move(key), module);
    return module;
}

Variant Vm::RunText(std::u16string_view text, bool expression, Frame* from) {
    // 1. The scope: a procedure's call runs the text in its own; text that another Execute runs inside
    //    a procedure passes that procedure's on; anywhere else the text runs at global scope.
    OuterCall outer;
    if (from && from->proc->kind != ProcedureKind::Global) {
        if (!from->executeScope) from->executeScope = std::make_unique<ExecuteScope>();
        outer = {from->proc, from->locals, from->executeScope.get(), from->me};
    } else if (from) {
        outer = from->outer;
    }
    // 2. Compile against the call's variables, and bind the text's global names.
    std::shared_ptr<const Module> module = CompileForExecute(text, expression, outer);
    LoadedUnit* unit = Bind(module);
    Ref<LoadedUnit> keep(unit);
    // 3. Add what the text declares to the call, before its code runs.
    for (const ExecuteLocal& local : module->executeLocals) {
        outer.scope->names.push_back(local.name);
        if (local.isArray) {
            outer.scope->values.emplace_back(Array::Create(local.arrayBounds, !local.arrayBounds.empty()));
        } else {
            outer.scope->values.push_back(local.constant);
        }
    }
    // 4. Run it; Eval's value is the result of the text's code.
    return Run(module->globalCode.get(), unit, outer.me, {}, outer.procedure ? &outer : nullptr);
}

Variant Vm::EvalText(std::u16string_view text) { return RunText(text, true, nullptr); }

Variant& Vm::OuterVariable(const Frame& frame, uint16_t slot) {
    const OuterCall& outer = frame.outer;
    if (!outer.procedure) Throw(51);
    if (slot < outer.procedure->localCount) return outer.locals[slot];
    size_t index = slot - outer.procedure->localCount;
    if (index >= outer.scope->values.size()) Throw(51);
    return outer.scope->values[index];
}

// ---------------------------------------------------------------- frames

void Vm::PushFrame(const Procedure* proc, LoadedUnit* unit, ClassInstance* me, uint16_t argc,
                   uint16_t dropBelow, Frame::Mode mode) {
    if (argc != proc->parameterCount) Throw(err::kWrongArgumentCount);
    if (frames_.size() >= kMaxFrames) Throw(err::kOutOfStackSpace);
    Variant* locals = sp_ - argc;
    if (static_cast<size_t>(stackEnd_ - locals) < static_cast<size_t>(proc->localCount) + proc->maxStack + 64)
        Throw(err::kOutOfStackSpace);
    ReserveStack(locals + proc->localCount + proc->maxStack + 64);
    // A ByVal parameter takes a copy of a variable or array passed to it; plain values are already copies.
    for (uint16_t i = 0; i < argc; ++i) {
        Variant& argument = locals[i];
        if ((argument.IsReference() || argument.IsArray()) && !proc->parameterByRef[i]) {
            if (argument.IsReference()) argument = Variant(argument.Target());
            if (argument.IsArray()) argument = CopyForStore(std::move(argument));
        }
    }
    sp_ = locals + proc->localCount;
    frames_.emplace_back(proc, unit, locals, me, dropBelow, mode);
    if (--budget_ <= 0) CheckTimeout();
}

Vm::Frame::Frame(const Procedure* procedure, LoadedUnit* loaded, Variant* firstLocal, ClassInstance* instance,
                 uint16_t slotsBelow, Mode callMode)
    : proc(procedure),
      unit(loaded),
      ip(procedure->code.data()),
      locals(firstLocal),
      me(instance),
      meHolder(instance),
      dropBelow(slotsBelow),
      mode(callMode) {}

void Vm::PopFrameHolding() {
    Frame& frame = frames_.back();
    Ref<Object> me = std::move(frame.meHolder);
    // Like the locals, variables Execute declared die only once the frame is gone.
    std::unique_ptr<ExecuteScope> executeScope = std::move(frame.executeScope);
    frames_.pop_back();
}

// ---------------------------------------------------------------- errors

bool Vm::Recover(ScriptError& error, size_t entryFrame, Frame* current, const uint8_t* ip) {
    current->ip = ip;
    Frame* top = current;
    if (error.line == 0 && top->proc) {
        auto offset = static_cast<uint32_t>(ip - top->proc->code.data());
        if (const StatementStart* start = top->proc->StatementAt(offset == 0 ? 0 : offset - 1)) {
            error.line = start->line;
            error.column = start->column;
        }
    }
    if (error.source.empty()) {
        error.source = IsCompileError(error.number) ? u"Taviro VBScript compilation error"
                                                    : u"Taviro VBScript runtime error";
    }
    while (true) {
        top = &frames_.back();
        if (top->resumeNext && error.number != err::kTimeout) {
            // On Error Resume Next: the statement after the failing one runs next, on a clean stack.
            err_->Set(error);
            ClearTo(top->locals + top->proc->localCount);
            auto offset = static_cast<uint32_t>(top->ip - top->proc->code.data());
            top->ip = top->proc->code.data() + top->proc->NextStatementAfter(offset == 0 ? 0 : offset - 1);
            return true;
        }
        bool isEntry = frames_.size() - 1 == entryFrame;
        PopFrame();
        if (isEntry) return false;
    }
}

// ---------------------------------------------------------------- helpers for instructions

void Vm::CallBuiltin(const Builtin* builtin, uint16_t argc) {
    CheckArgumentCount(argc, builtin->minArguments, builtin->maxArguments);
    Variant* arguments = sp_ - argc;
    Variant result = builtin->function(*this, std::span<Variant>(arguments, argc));
    ClearTo(arguments);
    PushValue(std::move(result));
}

void Vm::IndexOrDefault(Variant& containerIn, uint16_t argc, bool wantReference, uint16_t dropBelow) {
    Variant* arguments = sp_ - argc;
    Variant& container = containerIn.Target();
    if (container.IsArray()) {
        Variant result;
        if (argc == 0) {
            result = container;
        } else {
            Array* array = container.array();
            uint32_t index = array->FlatIndex(std::span<const Variant>(arguments, argc));
            result = wantReference ? Variant::ElementOf(array, index) : array->at(index);
        }
        ClearTo(arguments - dropBelow);
        PushValue(std::move(result));
        return;
    }
    if (container.IsObject() && argc > 0) {
        Ref<Object> object(container.object());
        if (!object) Throw(err::kObjectNotSet);
        for (uint16_t i = 0; i < argc; ++i) {
            if (arguments[i].IsReference()) arguments[i] = Variant(arguments[i].Target());
        }
        Variant result = object->Invoke(kDefaultMember, InvokeKind::Get, std::span<Variant>(arguments, argc));
        ClearTo(arguments - dropBelow);
        PushValue(std::move(result));
        return;
    }
    if (argc > 0) Throw(err::kTypeMismatch);
    Variant result = container;
    ClearTo(arguments - dropBelow);
    PushValue(std::move(result));
}

void Vm::LoadGlobalSlot(GlobalSlot* slot) {
    switch (slot->kind) {
        case GlobalSlot::Kind::Variable:
        case GlobalSlot::Kind::Constant:
        case GlobalSlot::Kind::NamedObject: PushValue(slot->value); return;
        default: CallGlobalSlot(slot, 0, false); return;
    }
}

void Vm::CallGlobalSlot(GlobalSlot* slot, uint16_t argc, bool wantReference) {
    switch (slot->kind) {
        case GlobalSlot::Kind::Procedure:
            PushFrame(slot->procedure, slot->unit, nullptr, argc, 0, Frame::Mode::PushResult);
            return;
        case GlobalSlot::Kind::Builtin: CallBuiltin(slot->builtin, argc); return;
        case GlobalSlot::Kind::GlobalMember: {
            Variant* arguments = sp_ - argc;
            for (uint16_t i = 0; i < argc; ++i) {
                if (arguments[i].IsReference()) arguments[i] = Variant(arguments[i].Target());
            }
            Ref<Object> owner = slot->owner;
            Variant result =
                owner->Invoke(slot->memberId, InvokeKind::Get, std::span<Variant>(arguments, argc));
            ClearTo(arguments);
            PushValue(std::move(result));
            return;
        }
        case GlobalSlot::Kind::Class: Throw(err::kTypeMismatch);
        default: IndexOrDefault(slot->value, argc, wantReference, 0); return;
    }
}

void Vm::StoreGlobalSlot(GlobalSlot* slot, Variant value, bool isSet) {
    switch (slot->kind) {
        case GlobalSlot::Kind::Variable:
            slot->value = isSet ? SetValue(std::move(value)) : LetValue(std::move(value));
            return;
        case GlobalSlot::Kind::NamedObject: {
            // "Door = 1" on a named object assigns its default property.
            if (isSet || !slot->value.IsObject() || !slot->value.object()) Throw(err::kIllegalAssignment);
            Ref<Object> object(slot->value.object());
            Variant argument = value.IsReference() ? Variant(value.Target()) : std::move(value);
            object->Invoke(kDefaultMember, InvokeKind::Let, std::span<Variant>(&argument, 1));
            return;
        }
        case GlobalSlot::Kind::GlobalMember: {
            Ref<Object> owner = slot->owner;
            Variant argument = value.IsReference() ? Variant(value.Target()) : std::move(value);
            owner->Invoke(slot->memberId, isSet ? InvokeKind::Set : InvokeKind::Let,
                          std::span<Variant>(&argument, 1));
            return;
        }
        default: Throw(err::kIllegalAssignment);
    }
}

void Vm::ReferenceGlobalSlot(GlobalSlot* slot) {
    if (slot->kind == GlobalSlot::Kind::Variable) {
        PushValue(Variant::ReferenceTo(&slot->value));
    } else {
        LoadGlobalSlot(slot);
    }
}

void Vm::InvokeMember(std::u16string_view name, uint16_t argc, MemberCache& cache, InvokeKind kind) {
    size_t total = argc + (kind == InvokeKind::Get ? 0 : 1);
    Variant* arguments = sp_ - total;
    const Variant& target = arguments[-1].Target();
    if (!target.IsObject()) Throw(err::kObjectRequired);
    Object* object = target.object();
    if (!object) Throw(err::kObjectNotSet);
    ClassInstance* instance = object->AsClassInstance();
    if (instance && &instance->vm() == this && instance->CanRunCode()) {
        const ClassDef* classDef = instance->classDef();
        int32_t index;
        if (cache.key == classDef) {
            index = cache.id;
        } else {
            auto found = classDef->memberIndex.find(std::u16string(name));
            index = found == classDef->memberIndex.end() ? -1 : found->second;
            cache = {classDef, index};
        }
        if (index < 0) Throw(err::kNoSuchMember);
        const ClassMember& member = classDef->members[static_cast<size_t>(index)];
        if (!member.isPublic && instance != frames_.back().me) Throw(err::kNoSuchMember);
        if (member.field < 0) {
            const Procedure* procedure = kind == InvokeKind::Get   ? (member.get ? member.get : member.method)
                                         : kind == InvokeKind::Let ? member.let
                                                                   : member.set;
            if (!procedure) Throw(kind == InvokeKind::Let ? err::kIllegalAssignment : err::kNoSuchMember);
            if (kind == InvokeKind::Set && !arguments[argc].Target().IsObject()) Throw(err::kObjectRequired);
            PushFrame(procedure, instance->unit(), instance, static_cast<uint16_t>(total), 1,
                      kind == InvokeKind::Get ? Frame::Mode::PushResult : Frame::Mode::Discard);
            return;
        }
    }
    // Host objects, and fields of script objects, through the object interface.
    DispatchId id;
    const void* key = object->DispatchKey();
    if (key && cache.key == key && !instance) {
        id = cache.id;
    } else {
        id = object->MemberId(name);
        if (key && !instance) cache = {key, id};
    }
    if (id == kUnknownMember) Throw(err::kNoSuchMember);
    for (size_t i = 0; i < total; ++i) {
        if (arguments[i].IsReference()) arguments[i] = Variant(arguments[i].Target());
    }
    if (kind == InvokeKind::Let) arguments[argc] = LetValue(std::move(arguments[argc]));
    if (kind == InvokeKind::Set) arguments[argc] = SetValue(std::move(arguments[argc]));
    Ref<Object> keep(object);
    Variant result = object->Invoke(id, kind, std::span<Variant>(arguments, total));
    ClearTo(arguments - 1);
    if (kind == InvokeKind::Get) PushValue(std::move(result));
}

void Vm::AssignIndexed(uint16_t argc, bool isSet) {
    Variant* base = sp_ - argc - 2;
    Variant& target = base[0].Target();
    Variant* arguments = base + 1;
    Variant value = isSet ? SetValue(std::move(base[argc + 1])) : LetValue(std::move(base[argc + 1]));
    if (target.IsArray()) {
        Array* array = target.array();
        uint32_t index = array->FlatIndex(std::span<const Variant>(arguments, argc));
        array->at(index) = std::move(value);
    } else if (target.IsObject()) {
        Ref<Object> object(target.object());
        if (!object) Throw(err::kObjectNotSet);
        for (uint16_t i = 0; i < argc; ++i) {
            if (arguments[i].IsReference()) arguments[i] = Variant(arguments[i].Target());
        }
        arguments[argc] = std::move(value);
        object->Invoke(kDefaultMember, isSet ? InvokeKind::Set : InvokeKind::Let,
                       std::span<Variant>(arguments, argc + 1u));
    } else {
        Throw(err::kTypeMismatch);
    }
    ClearTo(base);
}

}  // namespace taviro::vbscript
