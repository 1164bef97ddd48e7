// The tokenizer: literals, names, keywords, comments, continuations and positions.
#include "vbscript/lexer.h"

#include <gtest/gtest.h>

#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {
namespace {

// The tokens of a text without the statement ends, as "kind:text" strings.
std::vector<std::string> Describe(std::u16string_view source) {
    std::vector<std::string> out;
    for (const Token& token : Tokenize(source)) {
        auto narrow = [](const std::u16string& s) { return std::string(s.begin(), s.end()); };
        switch (token.kind) {
            case TokenKind::Identifier: out.push_back("id:" + narrow(token.folded)); break;
            case TokenKind::Keyword: out.push_back("kw:" + narrow(token.folded)); break;
            case TokenKind::Operator: out.push_back("op:" + narrow(token.text)); break;
            case TokenKind::Literal:
                out.push_back(narrow(TypeNameOf(token.value)) + ":" + narrow(ToString(token.value)));
                break;
            case TokenKind::StatementEnd: out.push_back(token.colon ? ":" : "eol"); break;
            case TokenKind::End: break;
        }
    }
    return out;
}

using Tokens = std::vector<std::string>;

int ErrorNumber(std::u16string_view source) {
    try {
        Tokenize(source);
    } catch (const ScriptError& error) {
        return error.number;
    }
    return 0;
}

TEST(Lexer, IntegerLiteralsTakeTheNarrowestSubtype) {
    EXPECT_EQ(Describe(u"32767 32768 2147483648 5&"),
              (Tokens{"Integer:32767", "Long:32768", "Double:2147483648", "Long:5", "eol"}));
}

TEST(Lexer, HexAndOctalLiteralsKeepTheirSignBits) {
    EXPECT_EQ(
        Describe(u"&HFF &hFFFF &H10000 &HFFFFFFFF &O777 &17"),
        (Tokens{"Integer:255", "Integer:-1", "Long:65536", "Long:-1", "Integer:511", "Integer:15", "eol"}));
}

TEST(Lexer, FloatingLiteralsAcceptFractionsAndExponents) {
    EXPECT_EQ(Describe(u"1.5 .25 1e3 2.5E-2 1E+2"),
              (Tokens{"Double:1.5", "Double:0.25", "Double:1000", "Double:0.025", "Double:100", "eol"}));
}

TEST(Lexer, StringsDoubleTheirQuotes) {
    EXPECT_EQ(Describe(u"\"say \"\"hi\"\"\" \"\""), (Tokens{"String:say \"hi\"", "String:", "eol"}));
}

TEST(Lexer, DateLiteralsReadAsDates) {
    EXPECT_EQ(Describe(u"#1/2/2020# #13:45#"), (Tokens{"Date:1/2/2020", "Date:1:45:00 PM", "eol"}));
    EXPECT_EQ(ErrorNumber(u"#not a date#"), err::kSyntaxError);
}

TEST(Lexer, KeywordsAreCaseInsensitiveButNamesAfterADotAreNot) {
    EXPECT_EQ(Describe(u"IF x THEN obj.End"),
              (Tokens{"kw:if", "id:x", "kw:then", "id:obj", "op:.", "id:end", "eol"}));
}

TEST(Lexer, CommentsAndRemRunToTheEndOfTheLine) {
    EXPECT_EQ(Describe(u"a ' note : b\nREM also : c\nd"), (Tokens{"id:a", "eol", "id:d", "eol"}));
}

TEST(Lexer, UnderscoreAtLineEndJoinsLines) {
    std::vector<Token> tokens = Tokenize(u"a = 1 + _\n    2\nb");
    EXPECT_EQ(Describe(u"a = 1 + _\n    2\nb"),
              (Tokens{"id:a", "op:=", "Integer:1", "op:+", "Integer:2", "eol", "id:b", "eol"}));
    EXPECT_EQ(tokens[4].line, 2);
    EXPECT_EQ(tokens[4].column, 5);
}

TEST(Lexer, ColonsAndLineBreaksEndStatements) {
    EXPECT_EQ(Describe(u"a: b\r\n\r\nc"), (Tokens{"id:a", ":", "id:b", "eol", "id:c", "eol"}));
}

TEST(Lexer, ComparisonOperatorsIncludeTheirAlternativeSpellings) {
    EXPECT_EQ(Describe(u"a <= b >= c <> d =< e => f"),
              (Tokens{"id:a", "op:<=", "id:b", "op:>=", "id:c", "op:<>", "id:d", "op:<=", "id:e",
                      "op:>=", "id:f", "eol"}));
}

TEST(Lexer, BracketedNamesMayHoldAnyCharacters) {
    EXPECT_EQ(Describe(u"[my var] = 1"), (Tokens{"id:my var", "op:=", "Integer:1", "eol"}));
}

TEST(Lexer, BadCharactersAndOpenStringsAreErrorsWithTheirPositions) {
    EXPECT_EQ(ErrorNumber(u"a = 1 ? 2"), err::kInvalidCharacter);
    EXPECT_EQ(ErrorNumber(u"a = \"open\nb"), err::kUnterminatedString);
    EXPECT_EQ(ErrorNumber(u"a = 12abc"), err::kExpectedEndOfStatement);
    try {
        Tokenize(u"x = 1\ny = @");
        FAIL();
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.line, 2);
        EXPECT_EQ(error.column, 5);
    }
}

}  // namespace
}  // namespace taviro::vbscript
