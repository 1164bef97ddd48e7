// The compiler's internals, shared by compiler.cpp (module level), compile_expressions.cpp and
// compile_statements.cpp: the module compiler and the procedure compiler it drives.
#pragma once

#include <cstring>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "vbscript/ast.h"
#include "vbscript/bytecode.h"
#include "vbscript/compiler.h"
#include "vbscript/operators.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript::compiling {

[[noreturn]] inline void FailAt(int32_t number, Position position) {
    ScriptError error(number);
    error.line = position.line;
    error.column = position.column;
    throw error;
}

// What a name in an expression stands for, as the compiler resolves it.
struct Resolved {
    enum class Kind { Local, Field, MeMember, Global, Dynamic, Constant, Outer } kind = Kind::Global;
    uint16_t slot = 0;      // local slot, field index, or link
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
    // A member of the class being compiled: a field by its index, anything else through Me.
    Resolved ResolveMember(const ClassMember& member, const std::u16string& name);
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
    // Evaluates a condition and jumps forward when it is (or is not) True; returns the place to patch.
    uint32_t ForwardJumpIf(const Expr& condition, bool jumpWhenTrue);

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
    void SetOuterScope(const OuterScope& outer) {
        if (!outer.names) return;
        inProcedure_ = true;
        outerOwner_ = outer.owner;
        const std::vector<std::u16string>& names = *outer.names;
        outerCount_ = names.size();
        if (outerCount_ > kOuterFallback) FailAt(err::kOutOfMemory, {});
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i].empty()) continue;
            if (names[i][0] == kImplicitLocalMark)
                outerImplicit_.emplace(names[i].substr(1), static_cast<int>(i));
            else
                outer_.emplace(names[i], static_cast<int>(i));
        }
    }
    // The slot of an implicit local of the procedure that runs this text, or -1.
    int OuterImplicitSlot(const std::u16string& name) const {
        auto found = outerImplicit_.find(name);
        return found == outerImplicit_.end() ? -1 : found->second;
    }
    // The class whose method runs this text, whose members the text reaches; null elsewhere.
    const ClassDef* outerOwner() const { return outerOwner_; }

private:
    void Declare(const std::u16string& name, Position position, GlobalDeclaration declaration);
    void DeclareGlobals(const Block& block);
    // Execute inside a procedure: a variable of the procedure's call, new unless the call has it.
    void DeclareExecuteLocal(const DimItem& item, ExecuteLocal local);
    void BuildClass(ClassDecl& decl, ClassDef& def);
    void DropRedeclaredProcedures(Program& program);
    std::unique_ptr<Procedure> NewProcedure(const ProcedureDecl& decl, const ClassDef* owner);

    std::shared_ptr<Module> module_ = std::make_shared<Module>();
    std::unordered_map<std::u16string, uint16_t> links_;
    std::unordered_set<std::u16string> declared_;
    std::unordered_map<std::u16string, Variant> constants_;
    std::unordered_map<std::u16string, int> outer_;
    std::unordered_map<std::u16string, int> outerImplicit_;
    bool inProcedure_ = false;  // the text runs inside a procedure: it declares locals of that call
    size_t outerCount_ = 0;
    const ClassDef* outerOwner_ = nullptr;
    friend class ProcedureCompiler;
};

// The value of a constant expression (literals, constants and operators on them), if it is one.
std::optional<Variant> FoldWith(const Expr& e, const std::unordered_map<std::u16string, Variant>* locals,
                                const ModuleCompiler& module);

// A number or string written in the script, which comparisons treat specially.
// The comparison a comparison operator makes.
Comparison ComparisonOf(BinaryOp op);

// A number written in the code ("9", "-2.5"): a string compared with it is read as a number.
inline bool IsLiteral(const Expr& e) {
    if (e.kind == ExprKind::Unary && e.unary != UnaryOp::Not) return IsLiteral(*e.object);
    return e.kind == ExprKind::Literal && e.literal.IsNumeric() && e.literal.type() != VarType::Boolean;
}

}  // namespace taviro::vbscript::compiling
