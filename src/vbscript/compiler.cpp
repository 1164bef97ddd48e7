// The bytecode compiler.
#include "vbscript/compiler.h"

#include <cstring>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "vbscript/conversions.h"
#include "vbscript/operators.h"
#include "vbscript/parser.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
[[noreturn]] void FailAt(int32_t number, Position position) {
    ScriptError error(number);
    error.line = position.line;
    error.column = position.column;
    throw error;
}

// What a name in an expression stands for, as the compiler resolves it.
struct Resolved {
    enum class Kind { Local, Field, MeMember, Global, Dynamic, Constant, Outer } kind = Kind::Global;
    uint16_t slot = 0;  // local slot, field index, or link
    uint16_t fallback = 0;  // Dynamic: the implicit local
    Variant constant;
};

struct LoopContext {
    bool isFor;
    std::vector<uint32_t> exits;  // jump operands to patch with the loop's end
};

class ModuleCompiler;

// Compiles one procedure (or the global code) into a Procedure.
class ProcedureCompiler {
public:
    ProcedureCompiler(ModuleCompiler& module, Procedure& procedure, const ClassDef* owner, bool isGlobalCode)
        : module_(module), proc_(procedure), owner_(owner), isGlobalCode_(isGlobalCode) {}

    void CompileBody(const ProcedureDecl* decl, const Block& body);
    void CompileEvalExpression(const Expr& expression);

private:
    // ---- emission ----
    void Adjust(int delta) {
        depth_ += delta;
        if (depth_ > static_cast<int>(proc_.maxStack)) proc_.maxStack = static_cast<uint32_t>(depth_);
    }
    void Emit(Op op, int delta) {
        proc_.code.push_back(static_cast<uint8_t>(op));
        Adjust(delta);
    }
    void U8(uint8_t value) { proc_.code.push_back(value); }
    void U16(uint32_t value) {
        if (value > 0xFFFF) FailAt(err::kOutOfMemory, position_);
        proc_.code.push_back(static_cast<uint8_t>(value & 0xFF));
        proc_.code.push_back(static_cast<uint8_t>(value >> 8));
    }
    uint32_t U32Placeholder() {
        uint32_t at = static_cast<uint32_t>(proc_.code.size());
        for (int i = 0; i < 4; ++i) proc_.code.push_back(0);
        return at;
    }
    void U32(uint32_t value) {
        uint32_t at = U32Placeholder();
        Patch(at, value);
    }
    void Patch(uint32_t at, uint32_t target) { std::memcpy(&proc_.code[at], &target, 4); }
    uint32_t Here() const { return static_cast<uint32_t>(proc_.code.size()); }
    uint32_t EmitJump(Op op, int delta) {
        Emit(op, delta);
        return U32Placeholder();
    }
    void MarkStatement(Position position) {
        position_ = position;
        StatementStart start{Here(), position.line, position.column};
        if (!proc_.statements.empty() && proc_.statements.back().offset == start.offset) {
            proc_.statements.back() = start;
        } else {
            proc_.statements.push_back(start);
        }
    }
    uint16_t Constant(const Variant& value) {
        proc_.constants.push_back(value);
        return static_cast<uint16_t>(CheckedIndex(proc_.constants.size() - 1));
    }
    uint16_t MemberName(const std::u16string& name) {
        for (size_t i = 0; i < proc_.memberNames.size(); ++i) {
            if (proc_.memberNames[i] == name) return static_cast<uint16_t>(i);
        }
        proc_.memberNames.push_back(name);
        return static_cast<uint16_t>(CheckedIndex(proc_.memberNames.size() - 1));
    }
    uint16_t Cache() {
        proc_.caches.emplace_back();
        return static_cast<uint16_t>(CheckedIndex(proc_.caches.size() - 1));
    }
    size_t CheckedIndex(size_t index) {
        if (index > 0xFFFF) FailAt(err::kOutOfMemory, position_);
        return index;
    }
    uint16_t NewLocal(const std::u16string& name) {
        proc_.localNames.push_back(name);
        return static_cast<uint16_t>(CheckedIndex(proc_.localNames.size() - 1));
    }
    uint16_t Temporary() { return NewLocal(u""); }

    // ---- names ----
    void DeclareLocals(const Block& body);
    void DeclareLocal(const DimItem& item, bool fixedArray);
    Resolved Resolve(const std::u16string& name, Position position);
    std::optional<Variant> Fold(const Expr& expression);

    // ---- expressions ----
    void Expression(const Expr& expression);
    void Argument(const Expr& expression);
    int Arguments(const std::vector<ExprPtr>& arguments);
    void CallExpression(const Expr& callee, const std::vector<ExprPtr>& arguments, bool wantReference);
    void LoadName(const Expr& expression);
    void PushReference(const Expr& nameExpression);
    void WithObject(Position position);
    void EmitCompare(BinaryOp op, LiteralSide literal);

    // ---- statements ----
    void Statements(const Block& block);
    void Statement(const Stmt& stmt);
    void Assignment(const Stmt& stmt, bool isSet);
    void CallStatement(const Stmt& stmt);
    void IfStatement(const Stmt& stmt);
    void SelectStatement(const Stmt& stmt);
    void ForStatement(const Stmt& stmt);
    void ForEachStatement(const Stmt& stmt);
    void DoStatement(const Stmt& stmt);
    void ExitStatement(const Stmt& stmt);

    ModuleCompiler& module_;
    Procedure& proc_;
    const ClassDef* owner_;
    bool isGlobalCode_;
    const ProcedureDecl* decl_ = nullptr;
    int depth_ = 0;
    Position position_;
    std::unordered_map<std::u16string, uint16_t> locals_;
    std::unordered_map<std::u16string, Variant> constants_;
    std::vector<uint16_t> withSlots_;
    std::vector<LoopContext> loops_;
};

class ModuleCompiler {
public:
    std::shared_ptr<Module> Run(Program& program);
    std::shared_ptr<Module> RunExpression(const Expr& expression);

    uint16_t Link(const std::u16string& name) {
        auto found = links_.find(name);
        if (found != links_.end()) return found->second;
        if (module_->globalNames.size() >= 0xFFFF) Throw(err::kOutOfMemory);
        auto link = static_cast<uint16_t>(module_->globalNames.size());
        module_->globalNames.push_back(name);
        links_.emplace(name, link);
        return link;
    }
    bool IsDeclaredGlobal(const std::u16string& name) const { return declared_.count(name) != 0; }
    const Variant* GlobalConstant(const std::u16string& name) const {
        auto found = constants_.find(name);
        return found == constants_.end() ? nullptr : &found->second;
    }
    bool optionExplicit() const { return module_->optionExplicit; }
    // The slot of a local of the procedure that runs this text (Execute/Eval), or -1.
    int OuterSlot(const std::u16string& name) const {
        auto found = outer_.find(name);
        return found == outer_.end() ? -1 : found->second;
    }
    void SetOuterLocals(const std::vector<std::u16string>* names) {
        if (!names) return;
        for (size_t i = 0; i < names->size(); ++i) {
            if (!(*names)[i].empty() && (*names)[i][0] != u'\x01') outer_.emplace((*names)[i], static_cast<int>(i));
        }
    }

private:
    void Declare(const std::u16string& name, Position position, GlobalDeclaration declaration);
    void DeclareGlobals(const Block& block);
    void BuildClass(ClassDecl& decl, ClassDef& def);
    std::unique_ptr<Procedure> NewProcedure(const ProcedureDecl& decl, const ClassDef* owner);

    std::shared_ptr<Module> module_ = std::make_shared<Module>();
    std::unordered_map<std::u16string, uint16_t> links_;
    std::unordered_set<std::u16string> declared_;
    std::unordered_map<std::u16string, Variant> constants_;
    std::unordered_map<std::u16string, int> outer_;
    friend class ProcedureCompiler;
};

// ---------------------------------------------------------------- module

std::optional<Variant> FoldWith(const Expr& e, const std::unordered_map<std::u16string, Variant>* locals,
                                const ModuleCompiler& module) {
    try {
        switch (e.kind) {
            case ExprKind::Literal:
                return e.literal;
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
            default:
                return std::nullopt;
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

// Global Dim, ReDim and Const anywhere in the top-level code declare globals before any code runs.
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
                    Declare(item.name, item.position, std::move(declaration));
                }
                break;
            case StmtKind::ReDim:
                for (const DimItem& item : stmt->items) {
                    if (!declared_.count(item.name)) Declare(item.name, item.position, {});
                }
                break;
            case StmtKind::Const:
                for (const DimItem& item : stmt->items) {
                    auto value = FoldWith(*item.bounds[0], nullptr, *this);
                    if (!value) FailAt(err::kExpectedLiteral, item.bounds[0]->position);
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
            case StmtKind::With:
                DeclareGlobals(stmt->body);
                break;
            default:
                break;
        }
    }
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
    auto addMember = [&](const std::u16string& name, const std::u16string& display, Position position) -> ClassMember& {
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
        if (procDecl.kind == ProcedureKind::Sub && (procDecl.name == u"class_initialize" || procDecl.name == u"class_terminate")) {
            if (!procDecl.parameters.empty()) FailAt(err::kInitializeHasArguments, procDecl.position);
            (procDecl.name == u"class_initialize" ? def.initialize : def.terminate) = procedure.get();
        }
        def.procedures.push_back(std::move(procedure));
    }
}

std::shared_ptr<Module> ModuleCompiler::Run(Program& program) {
    module_->optionExplicit = program.optionExplicit;
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
    ProcedureCompiler(*this, *module_->globalCode, nullptr, true).CompileBody(nullptr, program.statements);
    return module_;
}

std::shared_ptr<Module> ModuleCompiler::RunExpression(const Expr& expression) {
    module_->globalCode = std::make_unique<Procedure>();
    module_->globalCode->kind = ProcedureKind::Global;
    ProcedureCompiler(*this, *module_->globalCode, nullptr, true).CompileEvalExpression(expression);
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
                for (const DimItem& item : stmt->items) DeclareLocal(item, item.isArray && !item.bounds.empty());
                break;
            case StmtKind::ReDim:
                for (const DimItem& item : stmt->items) {
                    if (!locals_.count(item.name) && !(owner_ && owner_->Find(item.name) && owner_->Find(item.name)->field >= 0) &&
                        !module_.IsDeclaredGlobal(item.name)) {
                        locals_[item.name] = NewLocal(item.name);
                    }
                }
                break;
            case StmtKind::Const:
                for (const DimItem& item : stmt->items) {
                    auto value = Fold(*item.bounds[0]);
                    if (!value) FailAt(err::kExpectedLiteral, item.bounds[0]->position);
                    if (locals_.count(item.name) || constants_.count(item.name)) FailAt(err::kNameRedefinedCompile, item.position);
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
            case StmtKind::With:
                DeclareLocals(stmt->body);
                break;
            default:
                break;
        }
    }
}

std::optional<Variant> ProcedureCompiler::Fold(const Expr& expression) {
    return FoldWith(expression, &constants_, module_);
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
            if (const ClassMember* member = owner_->Find(name)) {
                if (member->field >= 0) {
                    resolved.kind = Resolved::Kind::Field;
                    resolved.slot = static_cast<uint16_t>(member->field);
                } else {
                    resolved.kind = Resolved::Kind::MeMember;
                    resolved.slot = MemberName(name);
                }
                return resolved;
            }
        }
        if (!module_.IsDeclaredGlobal(name)) {
            // Known only at run time: a global declared elsewhere, or else an implicit local.
            auto local = locals_.find(u"\x01" + name);
            uint16_t slot;
            if (local == locals_.end()) {
                slot = NewLocal(name);
                locals_[u"\x01" + name] = slot;
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
    }
    (void)position;
    resolved.kind = Resolved::Kind::Global;
    resolved.slot = module_.Link(name);
    return resolved;
}

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
        default:
            LoadName(e);
            break;
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

void ProcedureCompiler::CallExpression(const Expr& callee, const std::vector<ExprPtr>& arguments, bool wantReference) {
    if (callee.kind == ExprKind::Name) {
        Resolved r = Resolve(callee.name, callee.position);
        if (r.kind == Resolved::Kind::Local && r.slot == proc_.resultSlot && decl_ && callee.name == decl_->name) {
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
    Expression(callee);
    int count = Arguments(arguments);
    Emit(Op::CallValue, -count);
    U16(static_cast<uint32_t>(count));
}

static bool IsLiteral(const Expr& e) {
    return e.kind == ExprKind::Literal && (e.literal.IsNumeric() || e.literal.IsString());
}

void ProcedureCompiler::EmitCompare(BinaryOp op, LiteralSide literal) {
    Comparison comparison = Comparison::Equal;
    switch (op) {
        case BinaryOp::NotEqual: comparison = Comparison::NotEqual; break;
        case BinaryOp::Less: comparison = Comparison::Less; break;
        case BinaryOp::LessEqual: comparison = Comparison::LessEqual; break;
        case BinaryOp::Greater: comparison = Comparison::Greater; break;
        case BinaryOp::GreaterEqual: comparison = Comparison::GreaterEqual; break;
        default: break;
    }
    Emit(Op::Compare, -1);
    U8(static_cast<uint8_t>(comparison));
    U8(static_cast<uint8_t>(literal));
}

void ProcedureCompiler::Expression(const Expr& e) {
    switch (e.kind) {
        case ExprKind::Literal: {
            const Variant& v = e.literal;
            if (v.IsEmpty()) Emit(Op::PushEmpty, 1);
            else if (v.IsNull()) Emit(Op::PushNull, 1);
            else if (v.IsObject()) Emit(Op::PushNothing, 1);
            else if (v.type() == VarType::Boolean) Emit(v.boolean() ? Op::PushTrue : Op::PushFalse, 1);
            else if (v.type() == VarType::Integer) {
                Emit(Op::PushInteger, 1);
                U16(static_cast<uint16_t>(v.integer()));
            } else {
                Emit(Op::PushConst, 1);
                U16(Constant(v));
            }
            return;
        }
        case ExprKind::Name:
            LoadName(e);
            return;
        case ExprKind::Member:
            CallExpression(e, {}, false);
            return;
        case ExprKind::Call:
            CallExpression(*e.object, e.arguments, false);
            return;
        case ExprKind::Me:
            if (!owner_) FailAt(err::kInvalidUseOfMe, e.position);
            Emit(Op::LoadMe, 1);
            return;
        case ExprKind::New:
            Emit(Op::NewObject, 1);
            U16(module_.Link(e.name));
            return;
        case ExprKind::Missing:
            Emit(Op::PushMissing, 1);
            return;
        case ExprKind::Unary:
            if (auto folded = Fold(e)) {
                Emit(Op::PushConst, 1);
                U16(Constant(*folded));
                return;
            }
            Expression(*e.object);
            if (e.unary == UnaryOp::Negate) Emit(Op::Negate, 0);
            else if (e.unary == UnaryOp::Not) Emit(Op::Not, 0);
            else Emit(Op::ToValue, 0);
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

// ---------------------------------------------------------------- statements

void ProcedureCompiler::Statements(const Block& block) {
    for (const StmtPtr& stmt : block) Statement(*stmt);
}

void ProcedureCompiler::Statement(const Stmt& stmt) {
    MarkStatement(stmt.position);
    switch (stmt.kind) {
        case StmtKind::Assign:
            Assignment(stmt, false);
            break;
        case StmtKind::Set:
            Assignment(stmt, true);
            break;
        case StmtKind::Call:
            CallStatement(stmt);
            break;
        case StmtKind::Dim:
        case StmtKind::Const:
            break;  // declared before the code runs
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
        case StmtKind::If:
            IfStatement(stmt);
            break;
        case StmtKind::Select:
            SelectStatement(stmt);
            break;
        case StmtKind::For:
            ForStatement(stmt);
            break;
        case StmtKind::ForEach:
            ForEachStatement(stmt);
            break;
        case StmtKind::DoLoop:
            DoStatement(stmt);
            break;
        case StmtKind::Exit:
            ExitStatement(stmt);
            break;
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
        case StmtKind::OnErrorResumeNext:
            Emit(Op::OnErrorResumeNext, 0);
            break;
        case StmtKind::OnErrorGoTo0:
            Emit(Op::OnErrorGoTo0, 0);
            break;
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
            while (left->kind == ExprKind::Binary && left->binary == BinaryOp::Concat && !left->parenthesized) {
                pieces.push_back(left->right.get());
                left = left->left.get();
            }
            if (!pieces.empty() && left->kind == ExprKind::Name && left->name == target.name && !left->parenthesized) {
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
            default:
                break;
        }
        return;
    }
    if (target.kind == ExprKind::Member) {
        if (target.object) Expression(*target.object);
        else WithObject(target.position);
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
            if (callee.object) Expression(*callee.object);
            else WithObject(callee.position);
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
    }
    Emit(Op::Pop, -1);
}

void ProcedureCompiler::IfStatement(const Stmt& stmt) {
    std::vector<uint32_t> ends;
    for (const auto& [condition, body] : stmt.branches) {
        Expression(*condition);
        uint32_t skip = EmitJump(Op::JumpIfFalse, -1);
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
            LiteralSide side = subjectIsLiteral ? LiteralSide::LeftIsLiteral
                               : IsLiteral(*test.value) ? LiteralSide::RightIsLiteral
                                                        : LiteralSide::None;
            Emit(Op::LoadLocal, 1);
            U16(subject);
            Expression(*test.value);
            if (test.upper) {
                EmitCompare(BinaryOp::GreaterEqual, side);
                uint32_t below = EmitJump(Op::JumpIfFalse, -1);
                Emit(Op::LoadLocal, 1);
                U16(subject);
                Expression(*test.upper);
                EmitCompare(BinaryOp::LessEqual, IsLiteral(*test.upper) ? LiteralSide::RightIsLiteral : LiteralSide::None);
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
    if (testBefore) {
        Expression(*stmt.value);
        exitBefore = EmitJump(stmt.test == LoopTest::WhileBefore ? Op::JumpIfFalse : Op::JumpIfTrue, -1);
    }
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
}  // namespace

std::shared_ptr<Module> Compile(Program& program) { return ModuleCompiler().Run(program); }

std::shared_ptr<Module> CompileText(std::u16string_view source, const std::vector<std::u16string>* outerLocals) {
    Program program = Parse(source);
    ModuleCompiler compiler;
    compiler.SetOuterLocals(outerLocals);
    return compiler.Run(program);
}

std::shared_ptr<Module> CompileExpression(std::u16string_view source,
                                          const std::vector<std::u16string>* outerLocals) {
    ExprPtr expression = ParseExpressionText(source);
    ModuleCompiler compiler;
    compiler.SetOuterLocals(outerLocals);
    return compiler.RunExpression(*expression);
}

}  // namespace taviro::vbscript
