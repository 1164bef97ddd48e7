// The bytecode compiler: statements and control flow.
#include "vbscript/compiler_parts.h"

namespace taviro::vbscript::compiling {

// ---------------------------------------------------------------- statements

void ProcedureCompiler::Statements(const Block& block) {
    for (const StmtPtr& stmt : block) Statement(*stmt);
}

void ProcedureCompiler::Statement(const Stmt& stmt) {
    MarkStatement(stmt.position);
    switch (stmt.kind) {
        case StmtKind::Assign: Assignment(stmt, false); break;
        case StmtKind::Set: Assignment(stmt, true); break;
        case StmtKind::Call: CallStatement(stmt); break;
        case StmtKind::Dim:
        case StmtKind::Const: break;  // declared before the code runs
        case StmtKind::ReDim:
            for (const DimItem& item : stmt.items) {
                Expr name;
                name.kind = ExprKind::Name;
                name.name = item.name;
                name.position = item.position;
                PushReference(name);
                for (const ExprPtr& bound : item.bounds) Expression(*bound);
                Emit(Op::ReDim, -1 - static_cast<int>(item.bounds.size()));
                U16(static_cast<uint32_t>(item.bounds.size()));
                U8(stmt.preserve);
            }
            break;
        case StmtKind::Erase:
            for (const DimItem& item : stmt.items) {
                Expr name;
                name.kind = ExprKind::Name;
                name.name = item.name;
                name.position = item.position;
                PushReference(name);
                Emit(Op::Erase, -1);
            }
            break;
        case StmtKind::If: IfStatement(stmt); break;
        case StmtKind::Select: SelectStatement(stmt); break;
        case StmtKind::For: ForStatement(stmt); break;
        case StmtKind::ForEach: ForEachStatement(stmt); break;
        case StmtKind::DoLoop: DoStatement(stmt); break;
        case StmtKind::Exit: ExitStatement(stmt); break;
        case StmtKind::With: {
            uint16_t slot = Temporary();
            Expression(*stmt.target);
            Emit(Op::StoreHidden, -1);
            U16(slot);
            withSlots_.push_back(slot);
            Statements(stmt.body);
            withSlots_.pop_back();
            MarkStatement(stmt.position);
            Emit(Op::PushEmpty, 1);
            Emit(Op::StoreHidden, -1);
            U16(slot);
            break;
        }
        case StmtKind::OnErrorResumeNext: Emit(Op::OnErrorResumeNext, 0); break;
        case StmtKind::OnErrorGoTo0: Emit(Op::OnErrorGoTo0, 0); break;
        case StmtKind::Stop: break;
    }
}

void ProcedureCompiler::Assignment(const Stmt& stmt, bool isSet) {
    const Expr& target = *stmt.target;
    if (target.kind == ExprKind::Name) {
        Resolved r = Resolve(target.name, target.position);
        if (r.kind == Resolved::Kind::MeMember) {
            Emit(Op::LoadMe, 1);
            Expression(*stmt.value);
            Emit(isSet ? Op::SetMember : Op::LetMember, -2);
            U16(r.slot);
            U16(0);
            U16(Cache());
            return;
        }
        if (r.kind == Resolved::Kind::Constant) FailAt(err::kIllegalAssignment, target.position);
        // "s = s & a & b" appends a, then b, in place when nothing else shares the string.
        if (!isSet && (r.kind == Resolved::Kind::Local || r.kind == Resolved::Kind::Global)) {
            std::vector<const Expr*> pieces;
            const Expr* left = stmt.value.get();
            while (left->kind == ExprKind::Binary && left->binary == BinaryOp::Concat &&
                   !left->parenthesized) {
                pieces.push_back(left->right.get());
                left = left->left.get();
            }
            if (!pieces.empty() && left->kind == ExprKind::Name && left->name == target.name &&
                !left->parenthesized) {
                for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
                    Expression(**piece);
                    Emit(r.kind == Resolved::Kind::Local ? Op::AppendLocal : Op::AppendGlobal, -1);
                    U16(r.slot);
                }
                return;
            }
        }
        Expression(*stmt.value);
        switch (r.kind) {
            case Resolved::Kind::Local:
                Emit(isSet ? Op::SetLocal : Op::StoreLocal, -1);
                U16(r.slot);
                break;
            case Resolved::Kind::Field:
                Emit(isSet ? Op::SetField : Op::StoreField, -1);
                U16(r.slot);
                break;
            case Resolved::Kind::Global:
                Emit(isSet ? Op::SetGlobal : Op::StoreGlobal, -1);
                U16(r.slot);
                break;
            case Resolved::Kind::Dynamic:
                Emit(isSet ? Op::SetDynamic : Op::StoreDynamic, -1);
                U16(r.slot);
                U16(r.fallback);
                break;
            case Resolved::Kind::Outer:
                Emit(isSet ? Op::SetOuter : Op::StoreOuter, -1);
                U16(r.slot);
                break;
            default: break;
        }
        return;
    }
    if (target.kind == ExprKind::Member) {
        if (target.object)
            Expression(*target.object);
        else
            WithObject(target.position);
        Expression(*stmt.value);
        Emit(isSet ? Op::SetMember : Op::LetMember, -2);
        U16(MemberName(target.name));
        U16(0);
        U16(Cache());
        return;
    }
    if (target.kind == ExprKind::Call) {
        const Expr& callee = *target.object;
        if (callee.kind == ExprKind::Member) {
            if (callee.object)
                Expression(*callee.object);
            else
                WithObject(callee.position);
            int count = 0;
            for (const ExprPtr& argument : target.arguments) Expression(*argument), ++count;
            Expression(*stmt.value);
            Emit(isSet ? Op::SetMember : Op::LetMember, -2 - count);
            U16(MemberName(callee.name));
            U16(static_cast<uint32_t>(count));
            U16(Cache());
            return;
        }
        if (callee.kind == ExprKind::Name) {
            Resolved r = Resolve(callee.name, callee.position);
            if (r.kind == Resolved::Kind::MeMember) {
                Emit(Op::LoadMe, 1);
                int count = 0;
                for (const ExprPtr& argument : target.arguments) Expression(*argument), ++count;
                Expression(*stmt.value);
                Emit(isSet ? Op::SetMember : Op::LetMember, -2 - count);
                U16(r.slot);
                U16(static_cast<uint32_t>(count));
                U16(Cache());
                return;
            }
            PushReference(callee);
            int count = 0;
            for (const ExprPtr& argument : target.arguments) Expression(*argument), ++count;
            Expression(*stmt.value);
            Emit(isSet ? Op::SetIndexed : Op::LetIndexed, -2 - count);
            U16(static_cast<uint32_t>(count));
            return;
        }
        // "x(0)(1) = 5" assigns into the array held by x(0); "Me(0) = 5" calls Me's default member.
        if ((callee.kind == ExprKind::Call && !callee.parenthesized) || callee.kind == ExprKind::Me) {
            if (callee.kind == ExprKind::Me)
                Expression(callee);
            else
                CallExpression(*callee.object, callee.arguments, true);
            int count = 0;
            for (const ExprPtr& argument : target.arguments) Expression(*argument), ++count;
            Expression(*stmt.value);
            Emit(isSet ? Op::SetIndexed : Op::LetIndexed, -2 - count);
            U16(static_cast<uint32_t>(count));
            return;
        }
    }
    FailAt(err::kSyntaxError, target.position);
}

void ProcedureCompiler::CallStatement(const Stmt& stmt) {
    const Expr& target = *stmt.target;
    if (target.kind == ExprKind::Name || target.kind == ExprKind::Member) {
        CallExpression(target, stmt.arguments, false);
    } else if (target.kind == ExprKind::Call && stmt.arguments.empty()) {
        CallExpression(*target.object, target.arguments, false);
    } else if (stmt.arguments.empty()) {
        Expression(target);
    } else {
        Expression(target);
        int count = Arguments(stmt.arguments);
        Emit(Op::CallValue, -count);
        U16(static_cast<uint32_t>(count));
        U8(0);
    }
    Emit(Op::Pop, -1);
}

uint32_t ProcedureCompiler::ForwardJumpIf(const Expr& condition, bool jumpWhenTrue) {
    // "If n < 2 Then": a local compared with a constant tests and jumps in one instruction.
    if (condition.kind == ExprKind::Binary && condition.binary >= BinaryOp::Equal &&
        condition.binary <= BinaryOp::GreaterEqual && condition.left->kind == ExprKind::Name) {
        auto constant = Fold(*condition.right);
        Resolved r = Resolve(condition.left->name, condition.left->position);
        if (constant && r.kind == Resolved::Kind::Local &&
            ((constant->IsNumeric() && constant->type() != VarType::Boolean) || constant->IsString())) {
            Emit(Op::JumpIfCase, 0);
            U16(r.slot);
            U16(Constant(*constant));
            U8(static_cast<uint8_t>(ComparisonOf(condition.binary)) |
               (IsLiteral(*condition.right) ? kCaseLiteral : 0) | (jumpWhenTrue ? 0 : kCaseJumpUnlessTrue));
            return U32Placeholder();
        }
    }
    Expression(condition);
    return EmitJump(jumpWhenTrue ? Op::JumpIfTrue : Op::JumpIfFalse, -1);
}

void ProcedureCompiler::IfStatement(const Stmt& stmt) {
    std::vector<uint32_t> ends;
    for (const auto& [condition, body] : stmt.branches) {
        uint32_t skip = ForwardJumpIf(*condition, false);
        Statements(body);
        MarkStatement(stmt.position);
        ends.push_back(EmitJump(Op::Jump, 0));
        Patch(skip, Here());
    }
    Statements(stmt.elseBody);
    for (uint32_t end : ends) Patch(end, Here());
    MarkStatement(stmt.position);
}

void ProcedureCompiler::SelectStatement(const Stmt& stmt) {
    uint16_t subject = Temporary();
    Expression(*stmt.target);
    Emit(Op::StoreHidden, -1);
    U16(subject);
    bool subjectIsLiteral = IsLiteral(*stmt.target);
    std::vector<uint32_t> ends;
    for (const CaseClause& clause : stmt.cases) {
        std::vector<uint32_t> matches;
        for (const CaseClause::Test& test : clause.tests) {
            LiteralSide side = subjectIsLiteral         ? LiteralSide::LeftIsLiteral
                               : IsLiteral(*test.value) ? LiteralSide::RightIsLiteral
                                                        : LiteralSide::None;
            // "Case 3" or "Case "look"": one instruction compares the subject with the constant and jumps.
            auto constant = test.upper ? std::nullopt : Fold(*test.value);
            if (constant && !subjectIsLiteral && (constant->IsNumeric() || constant->IsString())) {
                Comparison comparison = ComparisonOf(test.comparison);
                Emit(Op::JumpIfCase, 0);
                U16(subject);
                U16(Constant(*constant));
                U8(static_cast<uint8_t>(comparison) |
                   (side == LiteralSide::RightIsLiteral ? kCaseLiteral : 0));
                matches.push_back(U32Placeholder());
                continue;
            }
            Emit(Op::LoadLocal, 1);
            U16(subject);
            Expression(*test.value);
            if (test.upper) {
                EmitCompare(BinaryOp::GreaterEqual, side);
                uint32_t below = EmitJump(Op::JumpIfFalse, -1);
                Emit(Op::LoadLocal, 1);
                U16(subject);
                Expression(*test.upper);
                EmitCompare(BinaryOp::LessEqual,
                            IsLiteral(*test.upper) ? LiteralSide::RightIsLiteral : LiteralSide::None);
                matches.push_back(EmitJump(Op::JumpIfTrue, -1));
                Patch(below, Here());
            } else {
                EmitCompare(test.comparison, side);
                matches.push_back(EmitJump(Op::JumpIfTrue, -1));
            }
        }
        uint32_t next = 0;
        if (!clause.tests.empty()) next = EmitJump(Op::Jump, 0);
        for (uint32_t match : matches) Patch(match, Here());
        Statements(clause.body);
        MarkStatement(stmt.position);
        ends.push_back(EmitJump(Op::Jump, 0));
        if (!clause.tests.empty()) Patch(next, Here());
    }
    for (uint32_t end : ends) Patch(end, Here());
    MarkStatement(stmt.position);
    Emit(Op::PushEmpty, 1);
    Emit(Op::StoreHidden, -1);
    U16(subject);
}

void ProcedureCompiler::ForStatement(const Stmt& stmt) {
    uint16_t variable = Temporary(), limit = Temporary(), step = Temporary();
    PushReference(*stmt.target);
    Emit(Op::StoreHidden, -1);
    U16(variable);
    Expression(*stmt.value);
    Expression(*stmt.limit);
    if (stmt.step) {
        Expression(*stmt.step);
    } else {
        Emit(Op::PushInteger, 1);
        U16(1);
    }
    Emit(Op::ForInit, -3);
    U16(variable);
    U16(limit);
    U16(step);
    uint32_t exit = U32Placeholder();
    uint32_t body = Here();
    loops_.push_back({true, {}});
    Statements(stmt.body);
    MarkStatement(stmt.position);
    Emit(Op::ForNext, 0);
    U16(variable);
    U16(limit);
    U16(step);
    U32(body);
    Patch(exit, Here());
    for (uint32_t at : loops_.back().exits) Patch(at, Here());
    loops_.pop_back();
    MarkStatement(stmt.position);
}

void ProcedureCompiler::ForEachStatement(const Stmt& stmt) {
    uint16_t variable = Temporary(), enumerator = Temporary();
    PushReference(*stmt.target);
    Emit(Op::StoreHidden, -1);
    U16(variable);
    Expression(*stmt.value);
    Emit(Op::ForEachInit, -1);
    U16(enumerator);
    uint32_t initExit = U32Placeholder();
    uint32_t top = Here();
    MarkStatement(stmt.position);
    Emit(Op::ForEachNext, 0);
    U16(enumerator);
    U16(variable);
    uint32_t exit = U32Placeholder();
    loops_.push_back({true, {}});
    Statements(stmt.body);
    MarkStatement(stmt.position);
    Emit(Op::Jump, 0);
    U32(top);
    Patch(initExit, Here());
    Patch(exit, Here());
    for (uint32_t at : loops_.back().exits) Patch(at, Here());
    loops_.pop_back();
    MarkStatement(stmt.position);
    Emit(Op::PushEmpty, 1);
    Emit(Op::StoreHidden, -1);
    U16(enumerator);
}

void ProcedureCompiler::DoStatement(const Stmt& stmt) {
    uint32_t top = Here();
    uint32_t exitBefore = 0;
    bool testBefore = stmt.test == LoopTest::WhileBefore || stmt.test == LoopTest::UntilBefore;
    if (testBefore) exitBefore = ForwardJumpIf(*stmt.value, stmt.test == LoopTest::UntilBefore);
    loops_.push_back({false, {}});
    Statements(stmt.body);
    MarkStatement(stmt.position);
    if (stmt.test == LoopTest::WhileAfter || stmt.test == LoopTest::UntilAfter) {
        Expression(*stmt.value);
        Emit(stmt.test == LoopTest::WhileAfter ? Op::JumpIfTrue : Op::JumpIfFalse, -1);
        U32(top);
    } else {
        Emit(Op::Jump, 0);
        U32(top);
    }
    if (testBefore) Patch(exitBefore, Here());
    for (uint32_t at : loops_.back().exits) Patch(at, Here());
    loops_.pop_back();
    MarkStatement(stmt.position);
}

void ProcedureCompiler::ExitStatement(const Stmt& stmt) {
    switch (stmt.exit) {
        case ExitKind::Do:
        case ExitKind::For: {
            bool wantFor = stmt.exit == ExitKind::For;
            for (auto loop = loops_.rbegin(); loop != loops_.rend(); ++loop) {
                if (loop->isFor == wantFor) {
                    loop->exits.push_back(EmitJump(Op::Jump, 0));
                    return;
                }
            }
            FailAt(err::kInvalidExit, stmt.position);
        }
        case ExitKind::Sub:
        case ExitKind::Function:
        case ExitKind::Property: {
            ProcedureKind kind = decl_ ? decl_->kind : ProcedureKind::Global;
            bool matches = (stmt.exit == ExitKind::Sub && kind == ProcedureKind::Sub) ||
                           (stmt.exit == ExitKind::Function && kind == ProcedureKind::Function) ||
                           (stmt.exit == ExitKind::Property &&
                            (kind == ProcedureKind::PropertyGet || kind == ProcedureKind::PropertyLet ||
                             kind == ProcedureKind::PropertySet));
            if (!matches) FailAt(err::kInvalidExit, stmt.position);
            Emit(Op::Return, 0);
            return;
        }
    }
}
}  // namespace taviro::vbscript::compiling
