// The bytecode compiler: expressions, names and calls.
#include "vbscript/compiler_parts.h"
#include "vbscript/operators.h"

namespace taviro::vbscript::compiling {

// ---------------------------------------------------------------- expressions

void ProcedureCompiler::WithObject(Position position) {
    if (withSlots_.empty()) FailAt(505, position);
    Emit(Op::LoadLocal, 1);
    U16(withSlots_.back());
}

void ProcedureCompiler::LoadName(const Expr& e) {
    Resolved r = Resolve(e.name, e.position);
    switch (r.kind) {
        case Resolved::Kind::Local:
            Emit(Op::LoadLocal, 1);
            U16(r.slot);
            break;
        case Resolved::Kind::Field:
            Emit(Op::LoadField, 1);
            U16(r.slot);
            break;
        case Resolved::Kind::MeMember:
            Emit(Op::CallMe, 1);
            U16(r.slot);
            U16(0);
            break;
        case Resolved::Kind::Global:
            Emit(Op::LoadGlobal, 1);
            U16(r.slot);
            break;
        case Resolved::Kind::Dynamic:
            Emit(Op::LoadDynamic, 1);
            U16(r.slot);
            U16(r.fallback);
            break;
        case Resolved::Kind::Constant:
            Emit(Op::PushConst, 1);
            U16(Constant(r.constant));
            break;
        case Resolved::Kind::Outer:
            Emit(Op::LoadOuter, 1);
            U16(r.slot);
            break;
    }
}

void ProcedureCompiler::PushReference(const Expr& e) {
    Resolved r = Resolve(e.name, e.position);
    switch (r.kind) {
        case Resolved::Kind::Local:
            Emit(Op::RefLocal, 1);
            U16(r.slot);
            break;
        case Resolved::Kind::Field:
            Emit(Op::RefField, 1);
            U16(r.slot);
            break;
        case Resolved::Kind::Global:
            Emit(Op::RefGlobal, 1);
            U16(r.slot);
            break;
        case Resolved::Kind::Dynamic:
            Emit(Op::RefDynamic, 1);
            U16(r.slot);
            U16(r.fallback);
            break;
        case Resolved::Kind::Outer:
            Emit(Op::RefOuter, 1);
            U16(r.slot);
            break;
        default: LoadName(e); break;
    }
}

void ProcedureCompiler::Argument(const Expr& e) {
    if (!e.parenthesized && e.kind == ExprKind::Name) {
        PushReference(e);
    } else if (!e.parenthesized && e.kind == ExprKind::Call && e.object->kind == ExprKind::Name) {
        CallExpression(*e.object, e.arguments, true);
    } else if (e.kind == ExprKind::Missing) {
        Emit(Op::PushMissing, 1);
    } else {
        Expression(e);
    }
}

int ProcedureCompiler::Arguments(const std::vector<ExprPtr>& arguments) {
    for (const ExprPtr& argument : arguments) Argument(*argument);
    return static_cast<int>(arguments.size());
}

void ProcedureCompiler::CallExpression(const Expr& callee, const std::vector<ExprPtr>& arguments,
                                       bool wantReference) {
    if (callee.kind == ExprKind::Name) {
        Resolved r = Resolve(callee.name, callee.position);
        if (r.kind == Resolved::Kind::Local && r.slot == proc_.resultSlot && decl_ &&
            callee.name == decl_->name) {
            // A function's name with arguments inside itself is a recursive call, not its result.
            if (owner_) {
                r.kind = Resolved::Kind::MeMember;
                r.slot = MemberName(callee.name);
            } else {
                r.kind = Resolved::Kind::Global;
                r.slot = module_.Link(callee.name);
            }
        }
        bool builtinName = r.kind == Resolved::Kind::Global || r.kind == Resolved::Kind::Dynamic;
        if (builtinName && !module_.IsDeclaredGlobal(callee.name) && arguments.size() == 1) {
            if (callee.name == u"eval") {
                Expression(*arguments[0]);
                Emit(Op::Eval, 0);
                return;
            }
            if (callee.name == u"execute" || callee.name == u"executeglobal") {
                Expression(*arguments[0]);
                Emit(Op::Execute, -1);
                U8(callee.name == u"executeglobal" ? 1 : 0);
                Emit(Op::PushEmpty, 1);
                return;
            }
        }
        int count;
        switch (r.kind) {
            case Resolved::Kind::Local:
                count = Arguments(arguments);
                Emit(Op::CallLocal, 1 - count);
                U16(r.slot);
                U16(static_cast<uint32_t>(count));
                U8(wantReference);
                return;
            case Resolved::Kind::Field:
                count = Arguments(arguments);
                Emit(Op::CallField, 1 - count);
                U16(r.slot);
                U16(static_cast<uint32_t>(count));
                U8(wantReference);
                return;
            case Resolved::Kind::MeMember:
                count = Arguments(arguments);
                Emit(Op::CallMe, 1 - count);
                U16(r.slot);
                U16(static_cast<uint32_t>(count));
                return;
            case Resolved::Kind::Global:
                count = Arguments(arguments);
                Emit(Op::CallGlobal, 1 - count);
                U16(r.slot);
                U16(static_cast<uint32_t>(count));
                U8(wantReference);
                return;
            case Resolved::Kind::Dynamic:
                count = Arguments(arguments);
                Emit(Op::CallDynamic, 1 - count);
                U16(r.slot);
                U16(r.fallback);
                U16(static_cast<uint32_t>(count));
                U8(wantReference);
                return;
            case Resolved::Kind::Constant:
                Emit(Op::PushConst, 1);
                U16(Constant(r.constant));
                count = Arguments(arguments);
                Emit(Op::CallValue, -count);
                U16(static_cast<uint32_t>(count));
                U8(0);
                return;
            case Resolved::Kind::Outer:
                count = Arguments(arguments);
                Emit(Op::CallOuter, 1 - count);
                U16(r.slot);
                U16(static_cast<uint32_t>(count));
                U8(wantReference);
                return;
        }
    }
    if (callee.kind == ExprKind::Member) {
        if (callee.object) {
            Expression(*callee.object);
        } else {
            WithObject(callee.position);
        }
        int count = Arguments(arguments);
        Emit(Op::GetMember, -count);
        U16(MemberName(callee.name));
        U16(static_cast<uint32_t>(count));
        U16(Cache());
        return;
    }
    // "x(0)(1)" as an assignment target or ByRef argument: a reference to the inner element.
    if (wantReference && callee.kind == ExprKind::Call && !callee.parenthesized)
        CallExpression(*callee.object, callee.arguments, true);
    else
        Expression(callee);
    int count = Arguments(arguments);
    Emit(Op::CallValue, -count);
    U16(static_cast<uint32_t>(count));
    U8(wantReference);
}

Comparison ComparisonOf(BinaryOp op) {
    switch (op) {
        case BinaryOp::NotEqual: return Comparison::NotEqual;
        case BinaryOp::Less: return Comparison::Less;
        case BinaryOp::LessEqual: return Comparison::LessEqual;
        case BinaryOp::Greater: return Comparison::Greater;
        case BinaryOp::GreaterEqual: return Comparison::GreaterEqual;
        default: return Comparison::Equal;
    }
}

void ProcedureCompiler::EmitCompare(BinaryOp op, LiteralSide literal) {
    Comparison comparison = ComparisonOf(op);
    Emit(Op::Compare, -1);
    U8(static_cast<uint8_t>(comparison));
    U8(static_cast<uint8_t>(literal));
}

void ProcedureCompiler::Expression(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Literal: {
            const Variant& v = e.literal;
            if (v.IsEmpty())
                Emit(Op::PushEmpty, 1);
            else if (v.IsNull())
                Emit(Op::PushNull, 1);
            else if (v.IsObject())
                Emit(Op::PushNothing, 1);
            else if (v.type() == VarType::Boolean)
                Emit(v.boolean() ? Op::PushTrue : Op::PushFalse, 1);
            else if (v.type() == VarType::Integer) {
                Emit(Op::PushInteger, 1);
                U16(static_cast<uint16_t>(v.integer()));
            } else {
                Emit(Op::PushConst, 1);
                U16(Constant(v));
            }
            return;
        }
        case ExprKind::Name: LoadName(e); return;
        case ExprKind::Member: CallExpression(e, {}, false); return;
        case ExprKind::Call: CallExpression(*e.object, e.arguments, false); return;
        case ExprKind::Me:
            if (!owner_) FailAt(err::kInvalidUseOfMe, e.position);
            Emit(Op::LoadMe, 1);
            return;
        case ExprKind::New:
            Emit(Op::NewObject, 1);
            U16(module_.Link(e.name));
            return;
        case ExprKind::Missing: Emit(Op::PushMissing, 1); return;
        case ExprKind::Unary:
            if (auto folded = Fold(e)) {
                Emit(Op::PushConst, 1);
                U16(Constant(*folded));
                return;
            }
            Expression(*e.object);
            if (e.unary == UnaryOp::Negate)
                Emit(Op::Negate, 0);
            else if (e.unary == UnaryOp::Not)
                Emit(Op::Not, 0);
            else
                Emit(Op::ToValue, 0);
            return;
        case ExprKind::Binary: {
            Expression(*e.left);
            Expression(*e.right);
            switch (e.binary) {
                case BinaryOp::Add: Emit(Op::Add, -1); return;
                case BinaryOp::Subtract: Emit(Op::Subtract, -1); return;
                case BinaryOp::Multiply: Emit(Op::Multiply, -1); return;
                case BinaryOp::Divide: Emit(Op::Divide, -1); return;
                case BinaryOp::IntDivide: Emit(Op::IntDivide, -1); return;
                case BinaryOp::Mod: Emit(Op::Modulo, -1); return;
                case BinaryOp::Power: Emit(Op::Power, -1); return;
                case BinaryOp::Concat: Emit(Op::Concat, -1); return;
                case BinaryOp::And: Emit(Op::And, -1); return;
                case BinaryOp::Or: Emit(Op::Or, -1); return;
                case BinaryOp::Xor: Emit(Op::Xor, -1); return;
                case BinaryOp::Eqv: Emit(Op::Eqv, -1); return;
                case BinaryOp::Imp: Emit(Op::Imp, -1); return;
                case BinaryOp::Is: Emit(Op::Is, -1); return;
                default: {
                    LiteralSide side = IsLiteral(*e.left)    ? LiteralSide::LeftIsLiteral
                                       : IsLiteral(*e.right) ? LiteralSide::RightIsLiteral
                                                             : LiteralSide::None;
                    EmitCompare(e.binary, side);
                    return;
                }
            }
        }
    }
}

}  // namespace taviro::vbscript::compiling
