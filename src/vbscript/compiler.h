// Turns a syntax tree into bytecode, resolving every name to a local slot, a field, or a global link.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "vbscript/ast.h"
#include "vbscript/bytecode.h"

namespace taviro::vbscript {

// Compiles a parsed text. Throws ScriptError for compilation errors found after parsing
// (invalid Exit, Me outside a class, name redefined, non-constant Const value, ...).
std::shared_ptr<Module> Compile(Program& program);

// The scope a text run by Execute or Eval inside a procedure shares with that procedure's call: the
// names of its variables by slot (the procedure's locals, then those earlier texts declared there),
// and the class of a method, whose members and Me the text reaches.
struct OuterScope {
    const std::vector<std::u16string>* names = nullptr;
    const ClassDef* owner = nullptr;
};

// Parses and compiles a text. With an outer scope, the text's top-level code reaches that scope's
// variables, and its Dim, ReDim and Const declare new ones there (Module::executeLocals, numbered
// after the names) instead of globals.
std::shared_ptr<Module> CompileText(std::u16string_view source, const OuterScope& outer = {});

// Compiles one expression for Eval: the module's global code leaves its value in the result slot.
std::shared_ptr<Module> CompileExpression(std::u16string_view source, const OuterScope& outer = {});

}  // namespace taviro::vbscript
