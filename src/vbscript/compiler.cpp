// The bytecode compiler: module-level declarations, classes, and the entry points.
#include "vbscript/compiler.h"

#include <algorithm>

#include "vbscript/compiler_parts.h"
#include "vbscript/conversions.h"
#include "vbscript/operators.h"
#include "vbscript/parser.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace compiling {

// ---------------------------------------------------------------- module

std::optional<Variant> FoldWith(const Expr& e, const std::unordered_map<std::u16string, Variant>* locals,
                                const ModuleCompiler& module) {
    try {
        switch (e.kind) {
            case ExprKind::Literal: return e.literal;
            case ExprKind::Name: {
                if (locals) {
                    auto found = locals->find(e.name);
                    if (found != locals->end()) return found->second;
                }
                if (const Variant* value = module.GlobalConstant(e.name)) return *value;
                return std::nullopt;
            }
            case ExprKind::Unary: {
                auto operand = FoldWith(*e.object, locals, module);
                if (!operand) return std::nullopt;
                if (e.unary == UnaryOp::Negate) return Negate(*operand);
                if (e.unary == UnaryOp::Not) return Not(*operand);
                return operand;
            }
            case ExprKind::Binary: {
                auto left = FoldWith(*e.left, locals, module);
                auto right = left ? FoldWith(*e.right, locals, module) : std::nullopt;
                if (!right) return std::nullopt;
                switch (e.binary) {
                    case BinaryOp::Add: return Add(*left, *right);
                    case BinaryOp::Subtract: return Subtract(*left, *right);
                    case BinaryOp::Multiply: return Multiply(*left, *right);
                    case BinaryOp::Divide: return Divide(*left, *right);
                    case BinaryOp::Concat: return Concat(*left, *right);
                    case BinaryOp::Or: return Or(*left, *right);
                    case BinaryOp::And: return And(*left, *right);
                    default: return std::nullopt;
                }
            }
            default: return std::nullopt;
        }
    } catch (const ScriptError&) {
        return std::nullopt;
    }
}

void ModuleCompiler::Declare(const std::u16string& name, Position position, GlobalDeclaration declaration) {
    if (!declared_.insert(name).second) FailAt(err::kNameRedefinedCompile, position);
    declaration.link = Link(name);
    module_->declarations.push_back(std::move(declaration));
}

void ModuleCompiler::DeclareExecuteLocal(const DimItem& item, ExecuteLocal local) {
    bool declaredHere = std::any_of(module_->executeLocals.begin(), module_->executeLocals.end(),
                                    [&](const ExecuteLocal& other) { return other.name == item.name; });
    if (declaredHere || declared_.count(item.name)) FailAt(err::kNameRedefinedCompile, item.position);
    // A variable the call already has (its own, or one an earlier text declared) keeps its value; an
    // implicit local of the procedure becomes the variable declared.
    if (outer_.count(item.name)) return;
    auto implicit = outerImplicit_.find(item.name);
    if (implicit != outerImplicit_.end()) {
        outer_.emplace(item.name, implicit->second);
        outerImplicit_.erase(implicit);
        return;
    }
    local.name = item.name;
    outer_.emplace(item.name, static_cast<int>(outerCount_ + module_->executeLocals.size()));
    module_->executeLocals.push_back(std::move(local));
}

// Global Dim, ReDim and Const anywhere in the top-level code declare globals before any code runs;
// in text run by Execute inside a procedure they declare variables of that procedure's call instead.
void ModuleCompiler::DeclareGlobals(const Block& block) {
    for (const StmtPtr& stmt : block) {
        switch (stmt->kind) {
            case StmtKind::Dim:
                for (const DimItem& item : stmt->items) {
                    GlobalDeclaration declaration;
                    declaration.isArray = item.isArray;
                    for (const ExprPtr& bound : item.bounds) {
                        auto value = FoldWith(*bound, nullptr, *this);
                        if (!value) FailAt(err::kExpectedInteger, bound->position);
                        declaration.arrayBounds.push_back(ToLong(*value));
                    }
                    if (inProcedure_) {
                        DeclareExecuteLocal(item,
                                            {u"", item.isArray, std::move(declaration.arrayBounds), {}});
                    } else {
                        Declare(item.name, item.position, std::move(declaration));
                    }
                }
                break;
            case StmtKind::ReDim:
                for (const DimItem& item : stmt->items) {
                    if (inProcedure_) {
                        const ClassMember* member = outerOwner_ ? outerOwner_->Find(item.name) : nullptr;
                        bool known = outer_.count(item.name) || (member && member->field >= 0) ||
                                     std::any_of(module_->executeLocals.begin(), module_->executeLocals.end(),
                                                 [&](const ExecuteLocal& l) { return l.name == item.name; });
                        if (!known) DeclareExecuteLocal(item, {});
                    } else if (!declared_.count(item.name)) {
                        Declare(item.name, item.position, {});
                    }
                }
                break;
            case StmtKind::Const:
                for (const DimItem& item : stmt->items) {
                    auto value = FoldWith(*item.bounds[0], nullptr, *this);
                    if (!value) FailAt(err::kExpectedLiteral, item.bounds[0]->position);
                    if (inProcedure_) {
                        if (outer_.count(item.name)) FailAt(err::kNameRedefinedCompile, item.position);
                        DeclareExecuteLocal(item, {u"", false, {}, *value});
                        constants_[item.name] = *value;
                        continue;
                    }
                    GlobalDeclaration declaration;
                    declaration.kind = GlobalDeclaration::Kind::Constant;
                    declaration.constant = *value;
                    constants_[item.name] = *value;
                    Declare(item.name, item.position, std::move(declaration));
                }
                break;
            case StmtKind::If:
                for (const auto& branch : stmt->branches) DeclareGlobals(branch.second);
                DeclareGlobals(stmt->elseBody);
                break;
            case StmtKind::Select:
                for (const CaseClause& clause : stmt->cases) DeclareGlobals(clause.body);
                break;
            case StmtKind::For:
            case StmtKind::ForEach:
            case StmtKind::DoLoop:
            case StmtKind::With: DeclareGlobals(stmt->body); break;
            default: break;
        }
    }
}

// A procedure declared twice in one text is the later declaration; the earlier one is never seen.
void ModuleCompiler::DropRedeclaredProcedures(Program& program) {
    std::unordered_set<std::u16string> seen;
    std::vector<ProcedureDecl> kept;
    for (auto declaration = program.procedures.rbegin(); declaration != program.procedures.rend();
         ++declaration) {
        if (seen.insert(declaration->name).second) kept.push_back(std::move(*declaration));
    }
    std::reverse(kept.begin(), kept.end());
    program.procedures = std::move(kept);
}

std::unique_ptr<Procedure> ModuleCompiler::NewProcedure(const ProcedureDecl& decl, const ClassDef* owner) {
    auto procedure = std::make_unique<Procedure>();
    procedure->kind = decl.kind;
    procedure->name = decl.name;
    procedure->displayName = decl.displayName;
    procedure->isPublic = decl.isPublic;
    procedure->isDefault = decl.isDefault;
    procedure->owner = owner;
    return procedure;
}

void ModuleCompiler::BuildClass(ClassDecl& decl, ClassDef& def) {
    def.name = decl.name;
    def.displayName = decl.displayName;
    auto addMember = [&](const std::u16string& name, const std::u16string& display,
                         Position position) -> ClassMember& {
        auto found = def.memberIndex.find(name);
        if (found != def.memberIndex.end()) return def.members[static_cast<size_t>(found->second)];
        (void)position;
        def.memberIndex.emplace(name, static_cast<int32_t>(def.members.size()));
        def.members.emplace_back();
        def.members.back().displayName = display;
        return def.members.back();
    };
    for (Stmt& field : decl.fields) {
        for (DimItem& item : field.items) {
            if (def.memberIndex.count(item.name)) FailAt(err::kNameRedefinedCompile, item.position);
            ClassDef::Field f;
            f.name = item.name;
            f.isArray = item.isArray;
            for (const ExprPtr& bound : item.bounds) {
                auto value = FoldWith(*bound, nullptr, *this);
                if (!value) FailAt(err::kExpectedInteger, bound->position);
                f.arrayBounds.push_back(ToLong(*value));
            }
            ClassMember& member = addMember(item.name, item.displayName, item.position);
            member.isPublic = field.isPublic;
            member.field = static_cast<int32_t>(def.fields.size());
            def.fields.push_back(std::move(f));
        }
    }
    for (ProcedureDecl& procDecl : decl.procedures) {
        auto procedure = NewProcedure(procDecl, &def);
        ClassMember& member = addMember(procDecl.name, procDecl.displayName, procDecl.position);
        bool clash = member.field >= 0 || member.method != nullptr;
        switch (procDecl.kind) {
            case ProcedureKind::PropertyGet:
                clash = clash || member.get;
                member.get = procedure.get();
                break;
            case ProcedureKind::PropertyLet:
                clash = clash || member.let;
                member.let = procedure.get();
                break;
            case ProcedureKind::PropertySet:
                clash = clash || member.set;
                member.set = procedure.get();
                break;
            default:
                clash = clash || member.get || member.let || member.set;
                member.method = procedure.get();
                break;
        }
        if (clash) FailAt(err::kNameRedefinedCompile, procDecl.position);
        member.isPublic = procDecl.isPublic;
        if (procDecl.isDefault) def.defaultMember = def.memberIndex[procDecl.name];
        if (procDecl.kind == ProcedureKind::Sub &&
            (procDecl.name == u"class_initialize" || procDecl.name == u"class_terminate")) {
            if (!procDecl.parameters.empty()) FailAt(err::kInitializeHasArguments, procDecl.position);
            (procDecl.name == u"class_initialize" ? def.initialize : def.terminate) = procedure.get();
        }
        def.procedures.push_back(std::move(procedure));
    }
}

std::shared_ptr<Module> ModuleCompiler::Run(Program& program) {
    module_->optionExplicit = program.optionExplicit;
    DropRedeclaredProcedures(program);
    DeclareGlobals(program.statements);
    for (const ProcedureDecl& decl : program.procedures) {
        auto procedure = NewProcedure(decl, nullptr);
        GlobalDeclaration declaration;
        declaration.kind = GlobalDeclaration::Kind::Procedure;
        declaration.procedure = procedure.get();
        Declare(decl.name, decl.position, std::move(declaration));
        module_->procedures.push_back(std::move(procedure));
    }
    for (ClassDecl& decl : program.classes) {
        auto def = std::make_unique<ClassDef>();
        BuildClass(decl, *def);
        GlobalDeclaration declaration;
        declaration.kind = GlobalDeclaration::Kind::Class;
        declaration.classDef = def.get();
        Declare(decl.name, decl.position, std::move(declaration));
        module_->classes.push_back(std::move(def));
    }
    // Bodies are compiled once every global name is known.
    for (size_t i = 0; i < program.procedures.size(); ++i) {
        ProcedureCompiler(*this, *module_->procedures[i], nullptr, false)
            .CompileBody(&program.procedures[i], program.procedures[i].body);
    }
    for (size_t c = 0; c < program.classes.size(); ++c) {
        ClassDef& def = *module_->classes[c];
        for (size_t p = 0; p < program.classes[c].procedures.size(); ++p) {
            ProcedureDecl& decl = program.classes[c].procedures[p];
            ProcedureCompiler(*this, *def.procedures[p], &def, false).CompileBody(&decl, decl.body);
        }
    }
    module_->globalCode = std::make_unique<Procedure>();
    module_->globalCode->kind = ProcedureKind::Global;
    ProcedureCompiler(*this, *module_->globalCode, outerOwner_, true)
        .CompileBody(nullptr, program.statements);
    return module_;
}

std::shared_ptr<Module> ModuleCompiler::RunExpression(const Expr& expression) {
    module_->globalCode = std::make_unique<Procedure>();
    module_->globalCode->kind = ProcedureKind::Global;
    ProcedureCompiler(*this, *module_->globalCode, outerOwner_, true).CompileEvalExpression(expression);
    return module_;
}

// ---------------------------------------------------------------- procedures

void ProcedureCompiler::CompileBody(const ProcedureDecl* decl, const Block& body) {
    decl_ = decl;
    if (decl) {
        position_ = decl->position;
        for (const Parameter& parameter : decl->parameters) {
            if (locals_.count(parameter.name)) FailAt(err::kNameRedefinedCompile, decl->position);
            locals_[parameter.name] = NewLocal(parameter.name);
            proc_.parameterByRef.push_back(parameter.byRef);
        }
        proc_.parameterCount = static_cast<uint16_t>(decl->parameters.size());
    }
    proc_.resultSlot = NewLocal(decl ? decl->name : u"");
    if (!isGlobalCode_) DeclareLocals(body);
    Statements(body);
    MarkStatement(position_);
    Emit(Op::Return, 0);
    proc_.localCount = static_cast<uint16_t>(CheckedIndex(proc_.localNames.size()));
}

void ProcedureCompiler::CompileEvalExpression(const Expr& expression) {
    proc_.resultSlot = NewLocal(u"");
    MarkStatement(expression.position);
    Expression(expression);
    Emit(Op::StoreHidden, -1);
    U16(proc_.resultSlot);
    Emit(Op::Return, 0);
    proc_.localCount = static_cast<uint16_t>(proc_.localNames.size());
}

void ProcedureCompiler::DeclareLocal(const DimItem& item, bool fixedArray) {
    if (locals_.count(item.name) || constants_.count(item.name)) {
        if (fixedArray || !item.isArray) FailAt(err::kNameRedefinedCompile, item.position);
        return;
    }
    uint16_t slot = NewLocal(item.name);
    locals_[item.name] = slot;
    if (fixedArray) {
        // Fixed arrays exist from the procedure's start, however often their Dim line is passed.
        MarkStatement(item.position);
        for (const ExprPtr& bound : item.bounds) {
            auto value = Fold(*bound);
            if (!value) FailAt(err::kExpectedInteger, bound->position);
            Emit(Op::PushConst, 1);
            U16(Constant(*value));
        }
        Emit(Op::NewArray, 1 - static_cast<int>(item.bounds.size()));
        U16(static_cast<uint32_t>(item.bounds.size()));
        U8(1);
        Emit(Op::StoreHidden, -1);
        U16(slot);
    } else if (item.isArray) {
        // "Dim a()": a dynamic array with no elements yet.
        MarkStatement(item.position);
        Emit(Op::NewArray, 1);
        U16(0);
        U8(0);
        Emit(Op::StoreHidden, -1);
        U16(slot);
    }
}

void ProcedureCompiler::DeclareLocals(const Block& body) {
    for (const StmtPtr& stmt : body) {
        switch (stmt->kind) {
            case StmtKind::Dim:
                for (const DimItem& item : stmt->items)
                    DeclareLocal(item, item.isArray && !item.bounds.empty());
                break;
            case StmtKind::ReDim:
                for (const DimItem& item : stmt->items) {
                    if (!locals_.count(item.name) &&
                        !(owner_ && owner_->Find(item.name) && owner_->Find(item.name)->field >= 0) &&
                        !module_.IsDeclaredGlobal(item.name)) {
                        locals_[item.name] = NewLocal(item.name);
                    }
                }
                break;
            case StmtKind::Const:
                for (const DimItem& item : stmt->items) {
                    auto value = Fold(*item.bounds[0]);
                    if (!value) FailAt(err::kExpectedLiteral, item.bounds[0]->position);
                    if (locals_.count(item.name) || constants_.count(item.name))
                        FailAt(err::kNameRedefinedCompile, item.position);
                    constants_[item.name] = *value;
                }
                break;
            case StmtKind::If:
                for (const auto& branch : stmt->branches) DeclareLocals(branch.second);
                DeclareLocals(stmt->elseBody);
                break;
            case StmtKind::Select:
                for (const CaseClause& clause : stmt->cases) DeclareLocals(clause.body);
                break;
            case StmtKind::For:
            case StmtKind::ForEach:
            case StmtKind::DoLoop:
            case StmtKind::With: DeclareLocals(stmt->body); break;
            default: break;
        }
    }
}

std::optional<Variant> ProcedureCompiler::Fold(const Expr& expression) {
    return FoldWith(expression, &constants_, module_);
}

Resolved ProcedureCompiler::ResolveMember(const ClassMember& member, const std::u16string& name) {
    Resolved resolved;
    if (member.field >= 0) {
        resolved.kind = Resolved::Kind::Field;
        resolved.slot = static_cast<uint16_t>(member.field);
    } else {
        resolved.kind = Resolved::Kind::MeMember;
        resolved.slot = MemberName(name);
    }
    return resolved;
}

Resolved ProcedureCompiler::Resolve(const std::u16string& name, Position position) {
    Resolved resolved;
    if (!isGlobalCode_) {
        auto found = locals_.find(name);
        if (found != locals_.end()) {
            resolved.kind = Resolved::Kind::Local;
            resolved.slot = found->second;
            return resolved;
        }
        auto constant = constants_.find(name);
        if (constant != constants_.end()) {
            resolved.kind = Resolved::Kind::Constant;
            resolved.constant = constant->second;
            return resolved;
        }
        if (decl_ && name == decl_->name &&
            (decl_->kind == ProcedureKind::Function || decl_->kind == ProcedureKind::PropertyGet)) {
            resolved.kind = Resolved::Kind::Local;
            resolved.slot = proc_.resultSlot;
            return resolved;
        }
        if (owner_) {
            if (const ClassMember* member = owner_->Find(name)) return ResolveMember(*member, name);
        }
        if (!module_.IsDeclaredGlobal(name)) {
            // Known only at run time: a global declared elsewhere, or else an implicit local.
            std::u16string implicitName = kImplicitLocalMark + name;
            auto local = locals_.find(implicitName);
            uint16_t slot;
            if (local == locals_.end()) {
                slot = NewLocal(implicitName);
                locals_[implicitName] = slot;
            } else {
                slot = local->second;
            }
            resolved.kind = Resolved::Kind::Dynamic;
            resolved.slot = module_.Link(name);
            resolved.fallback = slot;
            return resolved;
        }
    }
    if (const Variant* value = module_.GlobalConstant(name)) {
        resolved.kind = Resolved::Kind::Constant;
        resolved.constant = *value;
        return resolved;
    }
    if (isGlobalCode_ && !module_.IsDeclaredGlobal(name)) {
        int outer = module_.OuterSlot(name);
        if (outer >= 0) {
            resolved.kind = Resolved::Kind::Outer;
            resolved.slot = static_cast<uint16_t>(outer);
            return resolved;
        }
        // Text run inside a method reaches the object's members after the method's variables.
        if (const ClassMember* member = owner_ ? owner_->Find(name) : nullptr)
            return ResolveMember(*member, name);
        // A name the procedure itself left undeclared is read as its own code reads it: the global of
        // that name when one exists at run time, else the procedure's implicit local.
        int implicit = module_.OuterImplicitSlot(name);
        if (implicit >= 0) {
            resolved.kind = Resolved::Kind::Dynamic;
            resolved.slot = module_.Link(name);
            resolved.fallback = static_cast<uint16_t>(implicit) | kOuterFallback;
            return resolved;
        }
    }
    (void)position;
    resolved.kind = Resolved::Kind::Global;
    resolved.slot = module_.Link(name);
    return resolved;
}

}  // namespace compiling

using compiling::ModuleCompiler;

std::shared_ptr<Module> Compile(Program& program) { return ModuleCompiler().Run(program); }

std::shared_ptr<Module> CompileText(std::u16string_view source, const OuterScope& outer) {
    Program program = Parse(source);
    ModuleCompiler compiler;
    compiler.SetOuterScope(outer);
    return compiler.Run(program);
}

std::shared_ptr<Module> CompileExpression(std::u16string_view source, const OuterScope& outer) {
    ExprPtr expression = ParseExpressionText(source);
    ModuleCompiler compiler;
    compiler.SetOuterScope(outer);
    return compiler.RunExpression(*expression);
}

}  // namespace taviro::vbscript
