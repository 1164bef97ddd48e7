// The instruction loop: one case per opcode.
#include <cmath>
#include <cstring>
#include <new>
#include <stdexcept>

#include "vbscript/array.h"
#include "vbscript/class_instance.h"
#include "vbscript/conversions.h"
#include "vbscript/err_object.h"
#include "vbscript/operators.h"
#include "vbscript/regexp.h"
#include "vbscript/vm.h"

namespace taviro::vbscript {

namespace {
uint16_t U16(const uint8_t*& ip) {
    uint16_t value;
    std::memcpy(&value, ip, 2);
    ip += 2;
    return value;
}

uint32_t U32(const uint8_t*& ip) {
    uint32_t value;
    std::memcpy(&value, ip, 4);
    ip += 4;
    return value;
}

Variant LetValue(Variant value) {
    if (value.IsReference()) value = Variant(value.Target());
    if (value.IsObject()) return DefaultValue(value.object());
    if (value.IsArray()) return CopyForStore(std::move(value));
    return value;
}

Variant SetValue(Variant value) {
    if (value.IsReference()) value = Variant(value.Target());
    if (!value.IsObject()) Throw(err::kObjectRequired);
    return value;
}

bool InRange(const Variant& value, const Variant& limit, const Variant& step) {
    if (value.type() == VarType::Integer || value.type() == VarType::Long) {
        int64_t v = value.type() == VarType::Integer ? value.integer() : value.longValue();
        double l = limit.type() == VarType::Integer ? limit.integer() : ToDouble(limit);
        bool up = step.type() == VarType::Integer ? step.integer() >= 0 : ToDouble(step) >= 0;
        return up ? static_cast<double>(v) <= l : static_cast<double>(v) >= l;
    }
    double v = ToDouble(value), l = ToDouble(limit);
    return ToDouble(step) >= 0 ? v <= l : v >= l;
}

Variant LoopNumber(const Variant& input) {
    Variant value = ValueOf(input);
    if (value.IsString()) return Variant(ToDouble(value));
    if (value.IsNull()) Throw(err::kInvalidUseOfNull);
    if (!value.IsNumeric() && !value.IsEmpty()) Throw(err::kTypeMismatch);
    if (value.IsEmpty()) return Variant(int16_t{0});
    return value;
}

// The element of a one-dimensional array at one Integer or Long subscript; null for anything else.
inline Variant* SimpleElement(Variant& container, const Variant& subscriptIn) {
    if (!container.IsArray()) return nullptr;
    Array* array = container.array();
    if (array->dimensions() != 1) return nullptr;
    const Variant& subscript = subscriptIn.Target();
    int32_t index = subscript.type() == VarType::Integer ? subscript.integer()
                    : subscript.type() == VarType::Long  ? subscript.longValue()
                                                         : -1;
    if (index < 0 || index > array->upperBound(0)) return nullptr;
    return &array->at(static_cast<size_t>(index));
}

// Whether an order (-1, 0 or 1) satisfies a comparison.
inline bool Satisfies(Comparison comparison, int order) {
    switch (comparison) {
        case Comparison::Equal: return order == 0;
        case Comparison::NotEqual: return order != 0;
        case Comparison::Less: return order < 0;
        case Comparison::LessEqual: return order <= 0;
        case Comparison::Greater: return order > 0;
        case Comparison::GreaterEqual: return order >= 0;
    }
    return false;
}

// The comparison of two Integers, Longs or Strings without the general rules' conversions; false when
// the operands are of other kinds.
inline bool QuickCompare(const Variant& left, const Variant& right, Comparison comparison, bool& truth) {
    VarType leftType = left.type(), rightType = right.type();
    if ((leftType == VarType::Integer || leftType == VarType::Long) &&
        (rightType == VarType::Integer || rightType == VarType::Long)) {
        int32_t a = leftType == VarType::Integer ? left.integer() : left.longValue();
        int32_t b = rightType == VarType::Integer ? right.integer() : right.longValue();
        truth = Satisfies(comparison, a < b ? -1 : a > b ? 1 : 0);
        return true;
    }
    if (leftType == VarType::String && rightType == VarType::String) {
        int order = left.string().compare(right.string());
        truth = Satisfies(comparison, order < 0 ? -1 : order > 0 ? 1 : 0);
        return true;
    }
    return false;
}

enum class WholeOperation : uint8_t { Add, Subtract, Multiply, Modulo, IntDivide };

// Integer and Long operands: stores the result in left when it stays an Integer or Long (Integers
// widen to Long as VBScript widens them). False leaves every other case (other subtypes, overflow
// past Long, division by zero) to the general operator.
inline bool WholeArithmetic(Variant& left, const Variant& right, WholeOperation operation) {
    VarType leftType = left.type(), rightType = right.type();
    if ((leftType != VarType::Integer && leftType != VarType::Long) ||
        (rightType != VarType::Integer && rightType != VarType::Long))
        return false;
    int64_t a = leftType == VarType::Integer ? left.integer() : left.longValue();
    int64_t b = rightType == VarType::Integer ? right.integer() : right.longValue();
    int64_t result;
    switch (operation) {
        case WholeOperation::Add: result = a + b; break;
        case WholeOperation::Subtract: result = a - b; break;
        case WholeOperation::Multiply: result = a * b; break;
        case WholeOperation::Modulo:
            if (b == 0) return false;
            result = a % b;
            break;
        case WholeOperation::IntDivide:
            if (b == 0) return false;
            result = a / b;
            break;
    }
    if (leftType == VarType::Integer && rightType == VarType::Integer && result >= INT16_MIN &&
        result <= INT16_MAX) {
        left = Variant(static_cast<int16_t>(result));
    } else if (result >= INT32_MIN && result <= INT32_MAX) {
        left = Variant(static_cast<int32_t>(result));
    } else {
        return false;
    }
    return true;
}

// For Each over the elements of an array, in storage order.
class ArrayEnumerator final : public Enumerator {
public:
    explicit ArrayEnumerator(Ref<Array> array) : array_(std::move(array)) {}
    bool Next(Variant& item) override {
        if (index_ >= array_->size()) return false;
        item = array_->at(index_++);
        return true;
    }

private:
    Ref<Array> array_;
    size_t index_ = 0;
};

// Holds an enumerator in a compiler temporary during a For Each loop.
class EnumeratorBox final : public Object {
public:
    explicit EnumeratorBox(Ref<Enumerator> e) : enumerator(std::move(e)) {}
    std::u16string TypeName() const override { return u"Enumerator"; }
    DispatchId MemberId(std::u16string_view) override { return kUnknownMember; }
    Variant Invoke(DispatchId, InvokeKind, std::span<Variant>) override { Throw(err::kNoSuchMember); }
    Ref<Enumerator> enumerator;
};
}  // namespace

Variant Vm::Execute(size_t entryFrame) {
    Frame* f = &frames_.back();
    const uint8_t* ip = f->ip;
    Variant* locals = f->locals;

// After an instruction that may have pushed or popped a frame, continue in the frame now on top.
#define VBS_SWITCH_FRAME()   \
    do {                     \
        f = &frames_.back(); \
        ip = f->ip;          \
        locals = f->locals;  \
    } while (0)
#define VBS_CALL(expression)                                   \
    do {                                                       \
        f->ip = ip;                                            \
        size_t depthBefore = frames_.size();                   \
        expression;                                            \
        if (frames_.size() != depthBefore) VBS_SWITCH_FRAME(); \
    } while (0)

// Each handler ends by jumping straight to the next instruction's handler where the compiler allows
// it: one indirect jump per handler predicts far better than the one shared by a switch. A computed
// jump runs no destructors, so a handler jumps only once the block holding its variables has closed.
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#define VBS_OPCODE_LABEL_ADDRESS(name, operands) &&label_##name,
    static void* const kHandlers[] = {VBS_OPCODES(VBS_OPCODE_LABEL_ADDRESS)};
#undef VBS_OPCODE_LABEL_ADDRESS
#define VBS_LABEL(name) label_##name:
#define VBS_NEXT()                                 \
    do {                                           \
        op = static_cast<Op>(*ip++);               \
        goto* kHandlers[static_cast<uint8_t>(op)]; \
    } while (0)
#else
#define VBS_LABEL(name)
#define VBS_NEXT() break
#endif
    Op op;
    for (;;) {
        try {
            for (;;) {
                op = static_cast<Op>(*ip++);
                switch (op) {
                    case Op::PushEmpty: VBS_LABEL(PushEmpty) PushValue(Variant()); VBS_NEXT();
                    case Op::PushNull: VBS_LABEL(PushNull) PushValue(Variant::MakeNull()); VBS_NEXT();
                    case Op::PushNothing: VBS_LABEL(PushNothing) PushValue(Variant::Nothing()); VBS_NEXT();
                    case Op::PushTrue: VBS_LABEL(PushTrue) PushValue(Variant(true)); VBS_NEXT();
                    case Op::PushFalse: VBS_LABEL(PushFalse) PushValue(Variant(false)); VBS_NEXT();
                    case Op::PushMissing: VBS_LABEL(PushMissing) PushValue(Variant::Missing()); VBS_NEXT();
                    case Op::PushInteger:
                        VBS_LABEL(PushInteger) PushValue(Variant(static_cast<int16_t>(U16(ip))));
                        VBS_NEXT();
                    case Op::PushConst:
                        VBS_LABEL(PushConst) PushValue(f->proc->constants[U16(ip)]);
                        VBS_NEXT();
                    case Op::Pop: VBS_LABEL(Pop) Pop(); VBS_NEXT();
                    case Op::LoadLocal: VBS_LABEL(LoadLocal) PushValue(locals[U16(ip)].Target()); VBS_NEXT();
                    case Op::StoreLocal:
                        VBS_LABEL(StoreLocal) {
                            uint16_t slot = U16(ip);
                            Variant& top = *(sp_ - 1);
                            if (!top.IsReference() && !top.IsObject() && !top.IsArray()) {
                                locals[slot].Target() = std::move(top);
                                --sp_;
                                VBS_NEXT();
                            }
                            Variant value = LetValue(Pop());
                            locals[slot].Target() = std::move(value);
                        }
                        VBS_NEXT();
                    case Op::SetLocal:
                        VBS_LABEL(SetLocal) {
                            uint16_t slot = U16(ip);
                            Variant value = SetValue(Pop());
                            locals[slot].Target() = std::move(value);
                        }
                        VBS_NEXT();
                    case Op::RefLocal:
                        VBS_LABEL(RefLocal) PushValue(Variant::ReferenceTo(&locals[U16(ip)]));
                        VBS_NEXT();
                    case Op::StoreHidden:
                        VBS_LABEL(StoreHidden) {
                            uint16_t slot = U16(ip);
                            locals[slot] = Pop();
                        }
                        VBS_NEXT();
                    case Op::AppendLocal:
                        VBS_LABEL(AppendLocal) {
                            Variant& target = locals[U16(ip)].Target();
                            Variant text = Pop();
                            const Variant& piece = text.Target();
                            if (piece.IsString() && target.AppendInPlace(piece.string())) break;
                            target = LetValue(Concat(target, piece));
                        }
                        VBS_NEXT();
                    case Op::AppendGlobal:
                        VBS_LABEL(AppendGlobal) {
                            GlobalSlot* slot = Link(f->unit, U16(ip), true);
                            Variant text = Pop();
                            const Variant& piece = text.Target();
                            if (slot->kind == GlobalSlot::Kind::Variable) {
                                if (piece.IsString() && slot->value.AppendInPlace(piece.string())) break;
                                slot->value = LetValue(Concat(slot->value, piece));
                            } else {
                                f->ip = ip;
                                LoadGlobalSlot(slot);
                                Variant current = Pop();
                                StoreGlobalSlot(slot, Concat(current, piece), false);
                            }
                        }
                        VBS_NEXT();
                    case Op::LoadGlobal:
                        VBS_LABEL(LoadGlobal) {
                            GlobalSlot* slot = Link(f->unit, U16(ip), true);
                            if (slot->kind == GlobalSlot::Kind::Variable) {
                                PushValue(slot->value);
                            } else {
                                VBS_CALL(LoadGlobalSlot(slot));
                            }
                        }
                        VBS_NEXT();
                    case Op::StoreGlobal: VBS_LABEL(StoreGlobal)
                    case Op::SetGlobal:
                        VBS_LABEL(SetGlobal) {
                            GlobalSlot* slot = Link(f->unit, U16(ip), true);
                            StoreGlobalSlot(slot, Pop(), op == Op::SetGlobal);
                        }
                        VBS_NEXT();
                    case Op::RefGlobal:
                        VBS_LABEL(RefGlobal) {
                            GlobalSlot* slot = Link(f->unit, U16(ip), true);
                            VBS_CALL(ReferenceGlobalSlot(slot));
                        }
                        VBS_NEXT();
                    case Op::LoadDynamic: VBS_LABEL(LoadDynamic)
                    case Op::StoreDynamic: VBS_LABEL(StoreDynamic)
                    case Op::SetDynamic: VBS_LABEL(SetDynamic)
                    case Op::RefDynamic:
                        VBS_LABEL(RefDynamic) {
                            uint16_t link = U16(ip);
                            uint16_t fallback = U16(ip);
                            GlobalSlot* slot = Link(f->unit, link, false);
                            if (!slot && f->unit->module->optionExplicit) Throw(err::kVariableUndefined);
                            if (op == Op::LoadDynamic) {
                                if (slot)
                                    VBS_CALL(LoadGlobalSlot(slot));
                                else
                                    PushValue(FallbackVariable(*f, fallback).Target());
                            } else if (op == Op::RefDynamic) {
                                if (slot)
                                    VBS_CALL(ReferenceGlobalSlot(slot));
                                else
                                    PushValue(Variant::ReferenceTo(&FallbackVariable(*f, fallback)));
                            } else if (slot) {
                                StoreGlobalSlot(slot, Pop(), op == Op::SetDynamic);
                            } else {
                                Variant value = op == Op::SetDynamic ? SetValue(Pop()) : LetValue(Pop());
                                FallbackVariable(*f, fallback).Target() = std::move(value);
                            }
                        }
                        VBS_NEXT();
                    case Op::LoadOuter: VBS_LABEL(LoadOuter)
                    case Op::StoreOuter: VBS_LABEL(StoreOuter)
                    case Op::SetOuter: VBS_LABEL(SetOuter)
                    case Op::RefOuter:
                        VBS_LABEL(RefOuter) {
                            Variant& target = OuterVariable(*f, U16(ip));
                            if (op == Op::LoadOuter) {
                                PushValue(target.Target());
                            } else if (op == Op::RefOuter) {
                                PushValue(Variant::ReferenceTo(&target));
                            } else {
                                Variant value = op == Op::SetOuter ? SetValue(Pop()) : LetValue(Pop());
                                target.Target() = std::move(value);
                            }
                        }
                        VBS_NEXT();
                    case Op::CallOuter:
                        VBS_LABEL(CallOuter) {
                            uint16_t slot = U16(ip);
                            uint16_t argc = U16(ip);
                            bool wantReference = *ip++ != 0;
                            VBS_CALL(IndexOrDefault(OuterVariable(*f, slot), argc, wantReference, 0));
                        }
                        VBS_NEXT();
                    case Op::LoadField: VBS_LABEL(LoadField) PushValue(f->me->field(U16(ip))); VBS_NEXT();
                    case Op::StoreField: VBS_LABEL(StoreField)
                    case Op::SetField:
                        VBS_LABEL(SetField) {
                            uint16_t index = U16(ip);
                            Variant value = op == Op::SetField ? SetValue(Pop()) : LetValue(Pop());
                            f->me->field(index) = std::move(value);
                        }
                        VBS_NEXT();
                    case Op::RefField:
                        VBS_LABEL(RefField) PushValue(Variant::ReferenceTo(&f->me->field(U16(ip))));
                        VBS_NEXT();
                    case Op::LoadMe: VBS_LABEL(LoadMe) PushValue(Variant(Ref<Object>(f->me))); VBS_NEXT();
                    case Op::CallLocal:
                        VBS_LABEL(CallLocal) {
                            uint16_t slot = U16(ip);
                            uint16_t argc = U16(ip);
                            bool wantReference = *ip++ != 0;
                            if (argc == 1 && !wantReference) {
                                if (Variant* element = SimpleElement(locals[slot].Target(), *(sp_ - 1))) {
                                    *(sp_ - 1) = *element;
                                    VBS_NEXT();
                                }
                            }
                            VBS_CALL(IndexOrDefault(locals[slot], argc, wantReference, 0));
                        }
                        VBS_NEXT();
                    case Op::CallField:
                        VBS_LABEL(CallField) {
                            uint16_t index = U16(ip);
                            uint16_t argc = U16(ip);
                            bool wantReference = *ip++ != 0;
                            VBS_CALL(IndexOrDefault(f->me->field(index), argc, wantReference, 0));
                        }
                        VBS_NEXT();
                    case Op::CallGlobal:
                        VBS_LABEL(CallGlobal) {
                            GlobalSlot* slot = Link(f->unit, U16(ip), true);
                            uint16_t argc = U16(ip);
                            bool wantReference = *ip++ != 0;
                            if (argc == 1 && !wantReference && slot->kind == GlobalSlot::Kind::Variable) {
                                if (Variant* element = SimpleElement(slot->value, *(sp_ - 1))) {
                                    *(sp_ - 1) = *element;
                                    VBS_NEXT();
                                }
                            }
                            if (slot->kind == GlobalSlot::Kind::Procedure) {
                                // A call of a script procedure always enters a new frame.
                                f->ip = ip;
                                PushFrame(slot->procedure, slot->unit, nullptr, argc, 0,
                                          Frame::Mode::PushResult);
                                VBS_SWITCH_FRAME();
                                VBS_NEXT();
                            }
                            VBS_CALL(CallGlobalSlot(slot, argc, wantReference));
                        }
                        VBS_NEXT();
                    case Op::CallDynamic:
                        VBS_LABEL(CallDynamic) {
                            uint16_t link = U16(ip);
                            uint16_t fallback = U16(ip);
                            uint16_t argc = U16(ip);
                            bool wantReference = *ip++ != 0;
                            GlobalSlot* slot = Link(f->unit, link, false);
                            if (slot) {
                                VBS_CALL(CallGlobalSlot(slot, argc, wantReference));
                            } else if (f->unit->module->optionExplicit) {
                                Throw(err::kVariableUndefined);
                            } else {
                                VBS_CALL(
                                    IndexOrDefault(FallbackVariable(*f, fallback), argc, wantReference, 0));
                            }
                        }
                        VBS_NEXT();
                    case Op::CallMe:
                        VBS_LABEL(CallMe) {
                            uint16_t name = U16(ip);
                            uint16_t argc = U16(ip);
                            ClassInstance* me = f->me;
                            const ClassMember* member = me->classDef()->Find(f->proc->memberNames[name]);
                            if (!member) Throw(err::kNoSuchMember);
                            if (member->field >= 0) {
                                VBS_CALL(IndexOrDefault(me->field(static_cast<size_t>(member->field)), argc,
                                                        false, 0));
                            } else {
                                const Procedure* procedure = member->get ? member->get : member->method;
                                if (!procedure) Throw(err::kNoSuchMember);
                                VBS_CALL(
                                    PushFrame(procedure, me->unit(), me, argc, 0, Frame::Mode::PushResult));
                            }
                        }
                        VBS_NEXT();
                    case Op::CallValue:
                        VBS_LABEL(CallValue) {
                            uint16_t argc = U16(ip);
                            bool wantReference = *ip++ != 0;
                            VBS_CALL(IndexOrDefault(*(sp_ - argc - 1), argc, wantReference, 1));
                        }
                        VBS_NEXT();
                    case Op::GetMember: VBS_LABEL(GetMember)
                    case Op::LetMember: VBS_LABEL(LetMember)
                    case Op::SetMember:
                        VBS_LABEL(SetMember) {
                            uint16_t name = U16(ip);
                            uint16_t argc = U16(ip);
                            uint16_t cache = U16(ip);
                            InvokeKind kind = op == Op::GetMember   ? InvokeKind::Get
                                              : op == Op::LetMember ? InvokeKind::Let
                                                                    : InvokeKind::Set;
                            VBS_CALL(
                                InvokeMember(f->proc->memberNames[name], argc, f->proc->caches[cache], kind));
                        }
                        VBS_NEXT();
                    case Op::LetIndexed: VBS_LABEL(LetIndexed)
                    case Op::SetIndexed:
                        VBS_LABEL(SetIndexed) {
                            uint16_t argc = U16(ip);
                            f->ip = ip;
                            // "a(i) = number or text": straight into the element.
                            Variant& value = *(sp_ - 1);
                            if (argc == 1 && op == Op::LetIndexed && !value.IsReference() &&
                                !value.IsObject() && !value.IsArray()) {
                                if (Variant* element = SimpleElement((sp_ - 3)->Target(), *(sp_ - 2))) {
                                    *element = std::move(value);
                                    ClearTo(sp_ - 3);
                                    VBS_NEXT();
                                }
                            }
                            AssignIndexed(argc, op == Op::SetIndexed);
                        }
                        VBS_NEXT();
                    case Op::NewObject:
                        VBS_LABEL(NewObject) {
                            uint16_t link = U16(ip);
                            GlobalSlot* slot = Link(f->unit, link, false);
                            if (!slot || slot->kind != GlobalSlot::Kind::Class) {
                                // RegExp is the one class the engine provides itself; a script class of
                                // that name comes first.
                                if (f->unit->module->globalNames[link] != u"regexp")
                                    Throw(err::kClassNotDefined);
                                PushValue(Variant(Ref<Object>(MakeRef<RegExpObject>())));
                                break;
                            }
                            Ref<ClassInstance> instance(
                                new ClassInstance(*this, alive_, slot->classDef, slot->unit));
                            PushValue(Variant(Ref<Object>(instance.get())));
                            if (slot->classDef->initialize) {
                                VBS_CALL(PushFrame(slot->classDef->initialize, slot->unit, instance.get(), 0,
                                                   0, Frame::Mode::Discard));
                            }
                        }
                        VBS_NEXT();
                    case Op::NewArray:
                        VBS_LABEL(NewArray) {
                            uint16_t count = U16(ip);
                            bool fixed = *ip++ != 0;
                            std::vector<int32_t> bounds(count);
                            for (uint16_t i = 0; i < count; ++i) bounds[i] = ToLong(*(sp_ - count + i));
                            Ref<Array> array = Array::Create(bounds, fixed);
                            ClearTo(sp_ - count);
                            PushValue(Variant(std::move(array)));
                        }
                        VBS_NEXT();
                    case Op::ReDim:
                        VBS_LABEL(ReDim) {
                            uint16_t count = U16(ip);
                            bool preserve = *ip++ != 0;
                            // Most arrays have few dimensions: their bounds need no allocation.
                            int32_t fewBounds[4];
                            std::vector<int32_t> manyBounds(count > 4 ? count : 0);
                            std::span<int32_t> bounds(count > 4 ? manyBounds.data() : fewBounds, count);
                            for (uint16_t i = 0; i < count; ++i) bounds[i] = ToLong(*(sp_ - count + i));
                            Variant& target = (sp_ - count - 1)->Target();
                            if (target.IsArray()) {
                                target.array()->Redimension(bounds, preserve);
                            } else {
                                target = Variant(Array::Create(bounds, false));
                            }
                            ClearTo(sp_ - count - 1);
                        }
                        VBS_NEXT();
                    case Op::Erase:
                        VBS_LABEL(Erase) {
                            Variant& target = (sp_ - 1)->Target();
                            if (!target.IsArray()) Throw(err::kTypeMismatch);
                            if (target.array()->fixed()) {
                                target.array()->ResetElements();
                            } else {
                                target.array()->Clear();
                            }
                            Pop();
                        }
                        VBS_NEXT();
#define VBS_WHOLE_BINARY(name, function)                                         \
    case Op::name:                                                               \
        VBS_LABEL(name) {                                                        \
            if (WholeArithmetic(*(sp_ - 2), *(sp_ - 1), WholeOperation::name)) { \
                --sp_; /* the right operand was a number: nothing to release */  \
                VBS_NEXT();                                                      \
            }                                                                    \
            Variant result = function(*(sp_ - 2), *(sp_ - 1));                   \
            Pop();                                                               \
            *(sp_ - 1) = std::move(result);                                      \
        }                                                                        \
        VBS_NEXT();
                        VBS_WHOLE_BINARY(Add, Add)
                        VBS_WHOLE_BINARY(Subtract, Subtract)
                        VBS_WHOLE_BINARY(Multiply, Multiply)
                        VBS_WHOLE_BINARY(IntDivide, IntDivide)
                        VBS_WHOLE_BINARY(Modulo, Modulo)
#undef VBS_WHOLE_BINARY
#define VBS_BINARY(name, function)                             \
    case Op::name:                                             \
        VBS_LABEL(name) {                                      \
            Variant result = function(*(sp_ - 2), *(sp_ - 1)); \
            Pop();                                             \
            *(sp_ - 1) = std::move(result);                    \
        }                                                      \
        VBS_NEXT();
                        VBS_BINARY(Divide, Divide)
                        VBS_BINARY(Power, Power)
                        VBS_BINARY(Concat, Concat)
#define VBS_BOOLEAN_BINARY(name, function, operation)                                  \
    case Op::name:                                                                     \
        VBS_LABEL(name) {                                                              \
            Variant& left = *(sp_ - 2);                                                \
            const Variant& right = *(sp_ - 1);                                         \
            if (left.type() == VarType::Boolean && right.type() == VarType::Boolean) { \
                left = Variant(left.boolean() operation right.boolean());              \
                --sp_; /* the right operand was a Boolean: nothing to release */       \
                VBS_NEXT();                                                            \
            }                                                                          \
            Variant result = function(left, right);                                    \
            Pop();                                                                     \
            *(sp_ - 1) = std::move(result);                                            \
        }                                                                              \
        VBS_NEXT();
                        VBS_BOOLEAN_BINARY(And, And, &&)
                        VBS_BOOLEAN_BINARY(Or, Or, ||)
#undef VBS_BOOLEAN_BINARY
                        VBS_BINARY(Xor, Xor)
                        VBS_BINARY(Eqv, Eqv)
                        VBS_BINARY(Imp, Imp)
#undef VBS_BINARY
                    case Op::Is:
                        VBS_LABEL(Is) {
                            bool same = Is(*(sp_ - 2), *(sp_ - 1));
                            Pop();
                            *(sp_ - 1) = Variant(same);
                        }
                        VBS_NEXT();
                    case Op::Negate: VBS_LABEL(Negate) * (sp_ - 1) = Negate(*(sp_ - 1)); VBS_NEXT();
                    case Op::Not: VBS_LABEL(Not) * (sp_ - 1) = Not(*(sp_ - 1)); VBS_NEXT();
                    case Op::ToValue:
                        VBS_LABEL(ToValue) {
                            Variant& top = *(sp_ - 1);
                            if (top.IsReference()) top = Variant(top.Target());
                            if (!top.IsObject()) top = ValueOf(top);
                        }
                        VBS_NEXT();
                    case Op::Compare:
                        VBS_LABEL(Compare) {
                            auto comparison = static_cast<Comparison>(*ip++);
                            auto literal = static_cast<LiteralSide>(*ip++);
                            const Variant& left = *(sp_ - 2);
                            const Variant& right = *(sp_ - 1);
                            bool truth;
                            if (QuickCompare(left, right, comparison, truth)) {
                                auto next = static_cast<Op>(*ip);
                                if (next != Op::JumpIfFalse && next != Op::JumpIfTrue) {
                                    Pop();
                                    *(sp_ - 1) = Variant(truth);
                                    VBS_NEXT();
                                }
                                // The condition of an If or loop: take the jump that follows at once,
                                // without pushing the Boolean for it to pop.
                                ++ip;
                                uint32_t target = U32(ip);
                                ClearTo(sp_ - 2);
                                if (truth == (next == Op::JumpIfTrue)) {
                                    const uint8_t* destination = f->proc->code.data() + target;
                                    if (destination < ip && --budget_ <= 0) {
                                        f->ip = ip;
                                        CheckTimeout();
                                    }
                                    ip = destination;
                                }
                                VBS_NEXT();
                            }
                            Variant result = Compare(left, right, comparison, literal);
                            Pop();
                            *(sp_ - 1) = std::move(result);
                        }
                        VBS_NEXT();
                    case Op::JumpIfCase:
                        VBS_LABEL(JumpIfCase) {
                            const Variant& subject = locals[U16(ip)].Target();
                            const Variant& constant = f->proc->constants[U16(ip)];
                            uint8_t mode = *ip++;
                            uint32_t target = U32(ip);
                            auto comparison =
                                static_cast<Comparison>(mode & ~(kCaseLiteral | kCaseJumpUnlessTrue));
                            bool truth;
                            if (!QuickCompare(subject, constant, comparison, truth)) {
                                Variant result = Compare(
                                    subject, constant, comparison,
                                    mode & kCaseLiteral ? LiteralSide::RightIsLiteral : LiteralSide::None);
                                truth = result.type() == VarType::Boolean && result.boolean();
                            }
                            if (truth != ((mode & kCaseJumpUnlessTrue) != 0))
                                ip = f->proc->code.data() + target;
                        }
                        VBS_NEXT();
                    case Op::Jump:
                        VBS_LABEL(Jump) {
                            uint32_t target = U32(ip);
                            const uint8_t* destination = f->proc->code.data() + target;
                            if (destination < ip && --budget_ <= 0) {
                                f->ip = ip;
                                CheckTimeout();
                            }
                            ip = destination;
                        }
                        VBS_NEXT();
                    case Op::JumpIfFalse: VBS_LABEL(JumpIfFalse)
                    case Op::JumpIfTrue:
                        VBS_LABEL(JumpIfTrue) {
                            uint32_t target = U32(ip);
                            const Variant& condition = *(sp_ - 1);
                            bool truth = condition.type() == VarType::Boolean ? condition.boolean()
                                                                              : IsTrue(condition);
                            Pop();
                            if (truth == (op == Op::JumpIfTrue)) {
                                const uint8_t* destination = f->proc->code.data() + target;
                                if (destination < ip && --budget_ <= 0) {
                                    f->ip = ip;
                                    CheckTimeout();
                                }
                                ip = destination;
                            }
                        }
                        VBS_NEXT();
                    case Op::ForInit:
                        VBS_LABEL(ForInit) {
                            uint16_t variable = U16(ip), limit = U16(ip), step = U16(ip);
                            uint32_t exit = U32(ip);
                            Variant stepValue, limitValue, start;
                            try {
                                stepValue = LoopNumber(*(sp_ - 1));
                                limitValue = LoopNumber(*(sp_ - 2));
                                start = LoopNumber(*(sp_ - 3));
                            } catch (ScriptError& error) {
                                // Under On Error Resume Next a loop whose bounds fail is skipped whole.
                                if (!f->resumeNext) throw;
                                ClearTo(sp_ - 3);
                                err_->Set(error);
                                ip = f->proc->code.data() + exit;
                                break;
                            }
                            ClearTo(sp_ - 3);
                            locals[limit] = std::move(limitValue);
                            locals[step] = std::move(stepValue);
                            locals[variable].Target() = start;
                            if (!InRange(start, locals[limit], locals[step]))
                                ip = f->proc->code.data() + exit;
                        }
                        VBS_NEXT();
                    case Op::ForNext:
                        VBS_LABEL(ForNext) {
                            uint16_t variable = U16(ip), limit = U16(ip), step = U16(ip);
                            uint32_t body = U32(ip);
                            Variant& counter = locals[variable].Target();
                            const Variant& stepValue = locals[step];
                            if (counter.type() == VarType::Integer && stepValue.type() == VarType::Integer) {
                                int32_t next = counter.integer() + stepValue.integer();
                                counter = next >= -32768 && next <= 32767
                                              ? Variant(static_cast<int16_t>(next))
                                              : Variant(next);
                            } else if (counter.type() == VarType::Long &&
                                       stepValue.type() == VarType::Integer &&
                                       counter.longValue() < INT32_MAX - 32768 &&
                                       counter.longValue() > INT32_MIN + 32768) {
                                counter = Variant(counter.longValue() + stepValue.integer());
                            } else {
                                counter = Add(counter, stepValue);
                            }
                            if (InRange(counter, locals[limit], stepValue)) {
                                ip = f->proc->code.data() + body;
                                if (--budget_ <= 0) {
                                    f->ip = ip;
                                    CheckTimeout();
                                }
                            }
                        }
                        VBS_NEXT();
                    case Op::ForEachInit:
                        VBS_LABEL(ForEachInit) {
                            uint16_t slot = U16(ip);
                            U32(ip);
                            Variant collection = Pop();
                            const Variant& value = collection.Target();
                            Ref<Enumerator> enumerator;
                            if (value.IsArray()) {
                                enumerator = MakeRef<ArrayEnumerator>(Ref<Array>(value.array()));
                            } else if (value.IsObject() && value.object()) {
                                Ref<Object> object(value.object());
                                f->ip = ip;
                                enumerator = object->Enumerate();
                                if (!enumerator) Throw(err::kNotACollection);
                            } else {
                                Throw(value.IsObject() ? err::kObjectNotSet : err::kNotACollection);
                            }
                            locals[slot] =
                                Variant(Ref<Object>(MakeRef<EnumeratorBox>(std::move(enumerator)).get()));
                        }
                        VBS_NEXT();
                    case Op::ForEachNext:
                        VBS_LABEL(ForEachNext) {
                            uint16_t slot = U16(ip), variable = U16(ip);
                            uint32_t exit = U32(ip);
                            // No enumerator when the loop's header failed under On Error Resume Next: skip
                            // it.
                            const Variant& holder = locals[slot];
                            Ref<Enumerator> enumerator;
                            if (holder.IsObject() && holder.object()) {
                                enumerator = static_cast<EnumeratorBox*>(holder.object())->enumerator;
                            }
                            Variant item;
                            f->ip = ip;
                            if (enumerator && enumerator->Next(item)) {
                                locals[variable].Target() = CopyForStore(std::move(item));
                                if (--budget_ <= 0) CheckTimeout();
                            } else {
                                ip = f->proc->code.data() + exit;
                            }
                        }
                        VBS_NEXT();
                    case Op::OnErrorResumeNext:
                        VBS_LABEL(OnErrorResumeNext)
                        f->resumeNext = true;
                        err_->Clear();
                        VBS_NEXT();
                    case Op::OnErrorGoTo0:
                        VBS_LABEL(OnErrorGoTo0)
                        f->resumeNext = false;
                        err_->Clear();
                        VBS_NEXT();
                    case Op::Execute:
                        VBS_LABEL(Execute) {
                            bool global = *ip++ != 0;
                            Variant text = Pop();
                            f->ip = ip;
                            if (!text.Target().IsString()) Throw(err::kTypeMismatch);
                            RunText(text.Target().string(), false, global ? nullptr : f);
                        }
                        VBS_NEXT();
                    case Op::Eval:
                        VBS_LABEL(Eval) {
                            Variant text = Pop();
                            f->ip = ip;
                            PushValue(RunText(ToString(text), true, f));
                        }
                        VBS_NEXT();
                    case Op::Return:
                        VBS_LABEL(Return) {
                            Frame& frame = frames_.back();
                            Variant result;
                            ProcedureKind kind = frame.proc->kind;
                            if (kind == ProcedureKind::Function || kind == ProcedureKind::PropertyGet ||
                                kind == ProcedureKind::Global) {
                                result = std::move(frame.locals[frame.proc->resultSlot]);
                            }
                            Frame::Mode mode = frame.mode;
                            bool isEntry = frames_.size() - 1 == entryFrame;
                            PopFrame();
                            if (isEntry) return result;
                            if (mode == Frame::Mode::PushResult) PushValue(std::move(result));
                            VBS_SWITCH_FRAME();
                        }
                        VBS_NEXT();
                    default: Throw(51);
                }
            }
        } catch (ScriptError& error) {
            if (!Recover(error, entryFrame, f, ip)) throw;
        } catch (const std::bad_alloc&) {
            ScriptError error(err::kOutOfMemory);
            if (!Recover(error, entryFrame, f, ip)) throw error;
        } catch (const std::length_error&) {
            ScriptError error(err::kOutOfMemory);
            if (!Recover(error, entryFrame, f, ip)) throw error;
        } catch (const std::exception&) {
            // Any other failure of a host object is the statement's error, trapped like the rest,
            // so that the engine unwinds its frames instead of being left inside the script.
            ScriptError error(51);
            if (!Recover(error, entryFrame, f, ip)) throw error;
        }
        VBS_SWITCH_FRAME();
    }
#undef VBS_CALL
#undef VBS_SWITCH_FRAME
#undef VBS_LABEL
#undef VBS_NEXT
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
}

}  // namespace taviro::vbscript
