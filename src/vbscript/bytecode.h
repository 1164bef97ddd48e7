// Compiled code: procedures of bytecode, classes, and the module a text compiles to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "vbscript/ast.h"
#include "vbscript/object.h"
#include "vbscript/opcodes.h"
#include "vbscript/variant.h"

namespace taviro::vbscript {

struct ClassDef;

// Where a statement starts: errors report its position and On Error Resume Next continues after it.
struct StatementStart {
    uint32_t offset;
    int32_t line;
    int32_t column;
};

// What a member call site remembers about the last object it saw.
struct MemberCache {
    const void* key = nullptr;
    DispatchId id = kUnknownMember;
};

struct Procedure {
    ProcedureKind kind = ProcedureKind::Sub;
    std::u16string name;  // folded
    std::u16string displayName;
    bool isPublic = true;
    bool isDefault = false;
    const ClassDef* owner = nullptr;  // the class of a method

    uint16_t parameterCount = 0;
    std::vector<bool> parameterByRef;
    uint16_t resultSlot = 0;  // holds a Function's or Property Get's return value
    uint16_t localCount = 0;  // parameters, result, variables and compiler temporaries
    uint32_t maxStack = 0;    // operand stack depth the code needs beyond its locals
    // By slot; temporaries are empty, and the implicit local a name falls back to when no global of
    // that name exists at run time is the name after kImplicitLocalMark.
    std::vector<std::u16string> localNames;

    std::vector<uint8_t> code;
    std::vector<Variant> constants;
    std::vector<std::u16string> memberNames;  // names used by member instructions, folded
    std::vector<StatementStart> statements;
    mutable std::vector<MemberCache> caches;

    // The statement holding the instruction at offset.
    const StatementStart* StatementAt(uint32_t offset) const;
    // The offset of the first statement after the one holding offset (the end of code if none).
    uint32_t NextStatementAfter(uint32_t offset) const;
};

// A member of a class: a field, a method, or a property with its accessors.
struct ClassMember {
    std::u16string displayName;
    bool isPublic = true;
    int32_t field = -1;  // field index, for fields
    const Procedure* method = nullptr;
    const Procedure* get = nullptr;
    const Procedure* let = nullptr;
    const Procedure* set = nullptr;
};

struct ClassDef {
    std::u16string name;  // folded
    std::u16string displayName;
    struct Field {
        std::u16string name;
        std::vector<int32_t> arrayBounds;  // fixed-array upper bounds
        bool isArray = false;
    };
    std::vector<Field> fields;
    std::vector<ClassMember> members;                         // DispatchId = index + 1
    std::unordered_map<std::u16string, int32_t> memberIndex;  // folded name -> index
    int32_t defaultMember = -1;
    const Procedure* initialize = nullptr;
    const Procedure* terminate = nullptr;
    std::vector<std::unique_ptr<Procedure>> procedures;

    const ClassMember* Find(std::u16string_view folded) const;
};

// A variable, constant, procedure or class a text declares at its top level.
struct GlobalDeclaration {
    enum class Kind : uint8_t { Variable, Constant, Procedure, Class };
    Kind kind = Kind::Variable;
    uint16_t link = 0;  // index in Module::globalNames
    Variant constant;
    std::vector<int32_t> arrayBounds;  // "Dim a(3)"
    bool isArray = false;
    const Procedure* procedure = nullptr;
    const ClassDef* classDef = nullptr;
};

// Marks an implicit local among a procedure's local names.
constexpr char16_t kImplicitLocalMark = u'\x01';
// In a Dynamic instruction, a fallback slot with this bit set is a variable of the call that
// Execute/Eval text shares (an implicit local of that procedure), not a local of the text.
constexpr uint16_t kOuterFallback = 0x8000;

// A variable that text run by Execute inside a procedure declares (Dim, ReDim or Const): it belongs
// to that procedure's call, after the variables the text found there.
struct ExecuteLocal {
    std::u16string name;  // folded
    bool isArray = false;
    std::vector<int32_t> arrayBounds;  // "Dim a(3)"
    Variant constant;                  // Const: its value
};

// What one text compiles to. Immutable once built, except the member caches.
struct Module {
    bool optionExplicit = false;
    std::unique_ptr<Procedure> globalCode;
    std::vector<std::unique_ptr<Procedure>> procedures;
    std::vector<std::unique_ptr<ClassDef>> classes;
    std::vector<std::u16string> globalNames;  // folded names global instructions refer to by index
    std::vector<GlobalDeclaration> declarations;
    std::vector<ExecuteLocal> executeLocals;
};

}  // namespace taviro::vbscript
