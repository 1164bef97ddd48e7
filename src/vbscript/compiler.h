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

// Parses and compiles a text. With outerLocals (the local names of a running procedure, by slot),
// the text's top-level code reaches those locals, as Execute inside a procedure does.
std::shared_ptr<Module> CompileText(std::u16string_view source,
                                    const std::vector<std::u16string>* outerLocals = nullptr);

// Compiles one expression for Eval: the module's global code leaves its value in the result slot.
std::shared_ptr<Module> CompileExpression(std::u16string_view source,
                                          const std::vector<std::u16string>* outerLocals = nullptr);

}  // namespace taviro::vbscript
