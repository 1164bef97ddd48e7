// Builds the syntax tree of a script text.
#pragma once

#include <string_view>

#include "vbscript/ast.h"

namespace taviro::vbscript {

// Parses a whole text. Throws ScriptError (1002 Syntax error, 1025 Expected end of statement, ...)
// with the line and column of the offending token; nesting deeper than the parser allows gives 28.
Program Parse(std::u16string_view source);

// Parses a text that must be one expression, for Eval.
ExprPtr ParseExpressionText(std::u16string_view source);

}  // namespace taviro::vbscript
