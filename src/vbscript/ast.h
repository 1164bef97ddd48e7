// The syntax tree the parser builds and the compiler walks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vbscript/variant.h"

namespace taviro::vbscript {

struct Position {
    int32_t line = 0;
    int32_t column = 0;
};

enum class BinaryOp : uint8_t {
    Imp,
    Eqv,
    Xor,
    Or,
    And,
    Equal,
    NotEqual,
    Less,
    Greater,
    LessEqual,
    GreaterEqual,
    Is,
    Concat,
    Add,
    Subtract,
    Mod,
    IntDivide,
    Multiply,
    Divide,
    Power,
};
enum class UnaryOp : uint8_t { Negate, Not, Plus };

enum class ExprKind : uint8_t {
    Literal,  // literal
    Name,     // name
    Member,   // object.name; object is null inside With for ".name"
    Call,     // callee(arguments): a call, an array element or a default member
    Unary,    // op operand
    Binary,   // left op right
    New,      // New name
    Me,
    Missing,  // an omitted argument
};

struct Expr {
    ExprKind kind = ExprKind::Literal;
    Position position;
    Variant literal;
    std::u16string name;  // folded (lower case)
    std::u16string displayName;
    std::unique_ptr<Expr> object;  // Member: owner; Call: callee; Unary: operand
    std::vector<std::unique_ptr<Expr>> arguments;
    std::unique_ptr<Expr> left, right;
    BinaryOp binary = BinaryOp::Add;
    UnaryOp unary = UnaryOp::Negate;
    bool parenthesized = false;  // written in parentheses: passed by value even to ByRef parameters
};
using ExprPtr = std::unique_ptr<Expr>;

enum class StmtKind : uint8_t {
    Assign,  // target = value
    Set,     // Set target = value
    Call,    // a procedure or method call
    Dim,     // Dim/Public/Private variables (with bounds for fixed arrays)
    ReDim,
    Erase,
    Const,
    If,
    Select,
    For,
    ForEach,
    DoLoop,  // Do [While|Until] ... Loop [While|Until], While ... Wend
    Exit,
    With,
    OnErrorResumeNext,
    OnErrorGoTo0,
    Stop,  // does nothing without a debugger
};

enum class ExitKind : uint8_t { Do, For, Sub, Function, Property };
enum class LoopTest : uint8_t { None, WhileBefore, UntilBefore, WhileAfter, UntilAfter };

struct Stmt;
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct DimItem {
    std::u16string name;  // folded
    std::u16string displayName;
    Position position;
    bool isArray = false;         // "Dim a()" or "Dim a(3)"
    std::vector<ExprPtr> bounds;  // Dim: constant bounds of a fixed array; ReDim: any expressions
};

struct CaseClause {
    // Each test is a value, or a comparison when comparison != Equal ("Case Is > 3").
    struct Test {
        ExprPtr value;
        BinaryOp comparison = BinaryOp::Equal;
        ExprPtr upper;  // "Case 1 To 5"
    };
    std::vector<Test> tests;  // empty for Case Else
    Block body;
};

struct Stmt {
    StmtKind kind = StmtKind::Call;
    Position position;
    ExprPtr target;  // Assign/Set target, Call expression, For/ForEach variable, With object, Select subject
    ExprPtr value;   // Assign/Set value, For start, ForEach collection, DoLoop condition
    ExprPtr limit, step;                              // For
    std::vector<ExprPtr> arguments;                   // Call: arguments written without parentheses
    bool argumentsInParens = false;                   // Call: "Call F(a, b)" or "F(a)" forms
    std::vector<DimItem> items;                       // Dim, ReDim, Erase, Const (Const values in bounds[0])
    bool preserve = false;                            // ReDim Preserve
    bool isPublic = true;                             // Dim/Const at the top level or in a class
    std::vector<std::pair<ExprPtr, Block>> branches;  // If / ElseIf conditions and bodies
    Block elseBody;                                   // If's Else
    Block body;                                       // loops, With
    std::vector<CaseClause> cases;                    // Select
    LoopTest test = LoopTest::None;
    ExitKind exit = ExitKind::Do;
};

enum class ProcedureKind : uint8_t { Sub, Function, PropertyGet, PropertyLet, PropertySet, Global };

struct Parameter {
    std::u16string name;  // folded
    bool byRef = true;
    bool isArray = false;
};

struct ProcedureDecl {
    ProcedureKind kind = ProcedureKind::Sub;
    std::u16string name;  // folded
    std::u16string displayName;
    Position position;
    std::vector<Parameter> parameters;
    Block body;
    bool isPublic = true;
    bool isDefault = false;
};

struct ClassDecl {
    std::u16string name;  // folded
    std::u16string displayName;
    Position position;
    std::vector<Stmt> fields;  // Dim statements (isPublic says Public/Private)
    std::vector<ProcedureDecl> procedures;
};

// A parsed text: the global statements, and the procedures and classes it declares.
struct Program {
    bool optionExplicit = false;
    Block statements;
    std::vector<ProcedureDecl> procedures;
    std::vector<ClassDecl> classes;
};

}  // namespace taviro::vbscript
