// Splits script text into tokens: words, literals, operators and statement ends.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/variant.h"

namespace taviro::vbscript {

enum class TokenKind : uint8_t {
    End,           // end of the text
    StatementEnd,  // a line break or ':'
    Identifier,    // text holds the name as written, folded the case-folded name
    Keyword,       // keyword says which
    Literal,       // value holds an Integer, Long, Double, String or Date
    Operator,      // text holds "+", "<=", "(", ",", "." ...
};

enum class Keyword : uint8_t {
    None,
    And,
    ByRef,
    ByVal,
    Call,
    Case,
    Class,
    Const,
    Dim,
    Do,
    Each,
    Else,
    ElseIf,
    Empty,
    End,
    Eqv,
    Erase,
    Exit,
    False,
    For,
    Function,
    GoTo,
    If,
    Imp,
    In,
    Is,
    Loop,
    Me,
    Mod,
    New,
    Next,
    Not,
    Nothing,
    Null,
    On,
    Option,
    Or,
    Private,
    Property,
    Public,
    ReDim,
    Select,
    Set,
    Sub,
    Then,
    To,
    True,
    Until,
    Wend,
    While,
    With,
    Xor,
};

struct Token {
    TokenKind kind = TokenKind::End;
    Keyword keyword = Keyword::None;
    bool colon = false;        // a StatementEnd written as ':'
    bool spaceBefore = false;  // blanks precede it: ".Name" after a blank is a With member
    int32_t line = 1;
    int32_t column = 1;
    std::u16string text;
    std::u16string folded;
    Variant value;
};

// Tokenizes a whole text. Comments and line continuations are dropped. Throws ScriptError with
// the position of the offending character (1033 unterminated string, 1032 invalid character, ...).
std::vector<Token> Tokenize(std::u16string_view source);

}  // namespace taviro::vbscript
