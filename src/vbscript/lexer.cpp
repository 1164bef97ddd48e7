// The tokenizer.
#include "vbscript/lexer.h"

#include <cmath>
#include <unordered_map>

#include "vbscript/date_time.h"
#include "vbscript/object.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
const std::unordered_map<std::u16string, Keyword>& Keywords() {
    static const std::unordered_map<std::u16string, Keyword> keywords = {
        {u"and", Keyword::And},         {u"byref", Keyword::ByRef},       {u"byval", Keyword::ByVal},
        {u"call", Keyword::Call},       {u"case", Keyword::Case},         {u"class", Keyword::Class},
        {u"const", Keyword::Const},     {u"dim", Keyword::Dim},           {u"do", Keyword::Do},
        {u"each", Keyword::Each},       {u"else", Keyword::Else},         {u"elseif", Keyword::ElseIf},
        {u"empty", Keyword::Empty},     {u"end", Keyword::End},           {u"eqv", Keyword::Eqv},
        {u"erase", Keyword::Erase},     {u"exit", Keyword::Exit},         {u"false", Keyword::False},
        {u"for", Keyword::For},         {u"function", Keyword::Function}, {u"goto", Keyword::GoTo},
        {u"if", Keyword::If},           {u"imp", Keyword::Imp},           {u"in", Keyword::In},
        {u"is", Keyword::Is},           {u"loop", Keyword::Loop},         {u"me", Keyword::Me},
        {u"mod", Keyword::Mod},         {u"new", Keyword::New},           {u"next", Keyword::Next},
        {u"not", Keyword::Not},         {u"nothing", Keyword::Nothing},   {u"null", Keyword::Null},
        {u"on", Keyword::On},           {u"option", Keyword::Option},     {u"or", Keyword::Or},
        {u"private", Keyword::Private}, {u"property", Keyword::Property}, {u"public", Keyword::Public},
        {u"redim", Keyword::ReDim},     {u"select", Keyword::Select},     {u"set", Keyword::Set},
        {u"sub", Keyword::Sub},         {u"then", Keyword::Then},         {u"to", Keyword::To},
        {u"true", Keyword::True},       {u"until", Keyword::Until},       {u"wend", Keyword::Wend},
        {u"while", Keyword::While},     {u"with", Keyword::With},         {u"xor", Keyword::Xor},
    };
    return keywords;
}

bool IsLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7 && c < 0xD800);
}
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0 || c == 0xFEFF; }
bool IsLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

class Lexer {
public:
    explicit Lexer(std::u16string_view source) : source_(source) {}

    std::vector<Token> Run() {
        while (true) {
            SkipBlanksAndContinuations();
            if (pos_ >= source_.size()) break;
            char16_t c = source_[pos_];
            if (c == u'\'') {
                SkipComment();
            } else if (IsLineBreak(c)) {
                AddStatementEnd(false);
                if (c == u'\r' && pos_ + 1 < source_.size() && source_[pos_ + 1] == u'\n') ++pos_;
                ++pos_;
                ++line_;
                lineStart_ = pos_;
            } else if (c == u':') {
                AddStatementEnd(true);
                ++pos_;
            } else if (IsLetter(c)) {
                Word();
            } else if (c == u'[') {
                BracketedName();
            } else if (IsDigit(c) || (c == u'.' && pos_ + 1 < source_.size() && IsDigit(source_[pos_ + 1]) &&
                                      !AfterMemberOwner())) {
                Number();
            } else if (c == u'"') {
                String();
            } else if (c == u'#') {
                DateLiteral();
            } else if (c == u'&' && pos_ + 1 < source_.size() &&
                       (source_[pos_ + 1] == u'h' || source_[pos_ + 1] == u'H' || source_[pos_ + 1] == u'o' ||
                        source_[pos_ + 1] == u'O' || IsDigit(source_[pos_ + 1])) &&
                       RadixNumber()) {
            } else {
                OperatorToken();
            }
        }
        AddStatementEnd(false);
        Token end = MakeToken(TokenKind::End);
        tokens_.push_back(std::move(end));
        return std::move(tokens_);
    }

private:
    [[noreturn]] void Fail(int32_t number) {
        ScriptError error(number);
        error.line = line_;
        error.column = static_cast<int32_t>(pos_ - lineStart_) + 1;
        throw error;
    }

    Token MakeToken(TokenKind kind) {
        Token token;
        token.kind = kind;
        token.spaceBefore = tokenStart_ > 0 && IsBlank(source_[tokenStart_ - 1]);
        token.line = line_;
        token.column = static_cast<int32_t>(tokenStart_ - lineStart_) + 1;
        return token;
    }

    // A '.' right after a name, ')' or literal is member access, not the start of a number.
    bool AfterMemberOwner() const {
        if (tokens_.empty() || pos_ == 0 || IsBlank(source_[pos_ - 1])) return false;
        const Token& last = tokens_.back();
        return last.kind == TokenKind::Identifier || (last.kind == TokenKind::Operator && last.text == u")");
    }

    void AddStatementEnd(bool colon) {
        tokenStart_ = pos_;
        if (!tokens_.empty() && tokens_.back().kind == TokenKind::StatementEnd && !colon) return;
        Token token = MakeToken(TokenKind::StatementEnd);
        token.colon = colon;
        tokens_.push_back(std::move(token));
    }

    void SkipBlanksAndContinuations() {
        while (pos_ < source_.size()) {
            char16_t c = source_[pos_];
            if (IsBlank(c)) {
                ++pos_;
            } else if (c == u'_' && IsContinuation()) {
                ++pos_;
                while (pos_ < source_.size() && IsBlank(source_[pos_])) ++pos_;
                if (pos_ < source_.size() && source_[pos_] == u'\r') ++pos_;
                if (pos_ < source_.size() && source_[pos_] == u'\n') ++pos_;
                ++line_;
                lineStart_ = pos_;
            } else {
                break;
            }
        }
    }

    // "_" at the end of a line (blanks may follow) joins the next line to this one.
    bool IsContinuation() const {
        size_t i = pos_ + 1;
        while (i < source_.size() && IsBlank(source_[i])) ++i;
        return i >= source_.size() || IsLineBreak(source_[i]);
    }

    void SkipComment() {
        while (pos_ < source_.size() && !IsLineBreak(source_[pos_])) ++pos_;
    }

    void Word() {
        tokenStart_ = pos_;
        while (pos_ < source_.size() &&
               (IsLetter(source_[pos_]) || IsDigit(source_[pos_]) || source_[pos_] == u'_'))
            ++pos_;
        std::u16string_view text = source_.substr(tokenStart_, pos_ - tokenStart_);
        if (text.size() > 255) Fail(1030);
        std::u16string folded = FoldCase(text);
        bool afterDot = !tokens_.empty() && tokens_.back().kind == TokenKind::Operator &&
                        tokens_.back().text == u"." && tokenStart_ > 0 && source_[tokenStart_ - 1] == u'.';
        if (!afterDot && folded == u"rem") {
            SkipComment();
            return;
        }
        Token token = MakeToken(TokenKind::Identifier);
        if (!afterDot) {
            auto found = Keywords().find(folded);
            if (found != Keywords().end()) {
                token.kind = TokenKind::Keyword;
                token.keyword = found->second;
            }
        }
        // Type-declaration suffixes are not VBScript; a trailing '$' etc. is an invalid character later.
        token.text = std::u16string(text);
        token.folded = std::move(folded);
        tokens_.push_back(std::move(token));
    }

    void BracketedName() {
        tokenStart_ = pos_;
        ++pos_;
        size_t start = pos_;
        while (pos_ < source_.size() && source_[pos_] != u']' && !IsLineBreak(source_[pos_])) ++pos_;
        if (pos_ >= source_.size() || source_[pos_] != u']') Fail(1007);
        Token token = MakeToken(TokenKind::Identifier);
        token.text = std::u16string(source_.substr(start, pos_ - start));
        token.folded = FoldCase(token.text);
        ++pos_;
        tokens_.push_back(std::move(token));
    }

    void Number() {
        tokenStart_ = pos_;
        std::string digits;
        bool isDouble = false;
        while (pos_ < source_.size() && IsDigit(source_[pos_])) digits += static_cast<char>(source_[pos_++]);
        if (pos_ < source_.size() && source_[pos_] == u'.') {
            isDouble = true;
            digits += '.';
            ++pos_;
            while (pos_ < source_.size() && IsDigit(source_[pos_]))
                digits += static_cast<char>(source_[pos_++]);
        }
        if (pos_ < source_.size() && (source_[pos_] == u'e' || source_[pos_] == u'E')) {
            size_t save = pos_;
            std::string exponent = "e";
            ++pos_;
            if (pos_ < source_.size() && (source_[pos_] == u'+' || source_[pos_] == u'-'))
                exponent += static_cast<char>(source_[pos_++]);
            if (pos_ < source_.size() && IsDigit(source_[pos_])) {
                while (pos_ < source_.size() && IsDigit(source_[pos_]))
                    exponent += static_cast<char>(source_[pos_++]);
                digits += exponent;
                isDouble = true;
            } else {
                pos_ = save;
            }
        }
        if (pos_ < source_.size() && (IsLetter(source_[pos_]) || source_[pos_] == u'_'))
            Fail(err::kExpectedEndOfStatement);
        bool longSuffix = pos_ < source_.size() && source_[pos_] == u'&' && !isDouble;
        if (longSuffix) ++pos_;
        double value = std::strtod(digits.c_str(), nullptr);
        if (!std::isfinite(value)) Fail(err::kInvalidNumber);
        Token token = MakeToken(TokenKind::Literal);
        if (!isDouble && !longSuffix && value <= 32767) {
            token.value = Variant(static_cast<int16_t>(value));
        } else if (!isDouble && value <= 2147483647.0) {
            token.value = Variant(static_cast<int32_t>(value));
        } else {
            token.value = Variant(value);
        }
        tokens_.push_back(std::move(token));
    }

    // &H and &O literals: four digits or fewer make an Integer with the sign bit at 0x8000, a trailing
    // '&' makes a Long. False, consuming nothing, when no number follows: '"x" &hi' concatenates hi.
    bool RadixNumber() {
        tokenStart_ = pos_;
        ++pos_;
        int radix = 8;
        if (source_[pos_] == u'h' || source_[pos_] == u'H') {
            radix = 16;
            ++pos_;
        } else if (source_[pos_] == u'o' || source_[pos_] == u'O') {
            ++pos_;
        }
        uint64_t value = 0;
        size_t count = 0;
        while (pos_ < source_.size()) {
            char16_t c = source_[pos_];
            int digit = IsDigit(c)                 ? c - u'0'
                        : (c >= u'a' && c <= u'f') ? c - u'a' + 10
                        : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                                   : 99;
            if (digit >= radix) break;
            value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
            if (value > 0xFFFFFFFFull) Fail(err::kInvalidNumber);
            ++count;
            ++pos_;
        }
        if (count == 0 || (pos_ < source_.size() && (IsLetter(source_[pos_]) || source_[pos_] == u'_'))) {
            pos_ = tokenStart_;
            return false;
        }
        bool longSuffix = pos_ < source_.size() && source_[pos_] == u'&';
        if (longSuffix) ++pos_;
        Token token = MakeToken(TokenKind::Literal);
        if (!longSuffix && value <= 0xFFFF) {
            token.value = Variant(static_cast<int16_t>(static_cast<uint16_t>(value)));
        } else {
            token.value = Variant(static_cast<int32_t>(static_cast<uint32_t>(value)));
        }
        tokens_.push_back(std::move(token));
        return true;
    }

    void String() {
        tokenStart_ = pos_;
        ++pos_;
        std::u16string text;
        while (true) {
            if (pos_ >= source_.size() || IsLineBreak(source_[pos_])) Fail(err::kUnterminatedString);
            char16_t c = source_[pos_++];
            if (c == u'"') {
                if (pos_ < source_.size() && source_[pos_] == u'"') {
                    text += u'"';
                    ++pos_;
                } else {
                    break;
                }
            } else {
                text += c;
            }
        }
        Token token = MakeToken(TokenKind::Literal);
        token.value = Variant(std::move(text));
        tokens_.push_back(std::move(token));
    }

    void DateLiteral() {
        tokenStart_ = pos_;
        ++pos_;
        size_t start = pos_;
        while (pos_ < source_.size() && source_[pos_] != u'#' && !IsLineBreak(source_[pos_])) ++pos_;
        if (pos_ >= source_.size() || source_[pos_] != u'#') Fail(err::kSyntaxError);
        double serial;
        // The lexer knows no clock, and compiled texts are cached across runs: a literal without a
        // year ("#2/3#") is in the year 2000 rather than the current one.
        if (!ParseDate(source_.substr(start, pos_ - start), serial, 2000)) Fail(err::kSyntaxError);
        ++pos_;
        Token token = MakeToken(TokenKind::Literal);
        token.value = Variant::Date(serial);
        tokens_.push_back(std::move(token));
    }

    void OperatorToken() {
        tokenStart_ = pos_;
        char16_t c = source_[pos_];
        char16_t next = pos_ + 1 < source_.size() ? source_[pos_ + 1] : u'\0';
        std::u16string text(1, c);
        size_t length = 1;
        if ((c == u'<' && (next == u'=' || next == u'>')) || (c == u'>' && next == u'=')) {
            text += next;
            length = 2;
        } else if (c == u'>' && next == u'<') {
            text = u"<>";  // "><" is another spelling of "<>"
            length = 2;
        } else if (c == u'=' && (next == u'<' || next == u'>')) {
            // "=<" and "=>" are accepted spellings of "<=" and ">=".
            text = std::u16string(1, next) + u"=";
            length = 2;
        }
        static constexpr std::u16string_view kSingle = u"+-*/\\^&=<>(),.;";
        if (length == 1 && kSingle.find(c) == std::u16string_view::npos) Fail(err::kInvalidCharacter);
        pos_ += length;
        Token token = MakeToken(TokenKind::Operator);
        token.text = std::move(text);
        tokens_.push_back(std::move(token));
    }

    std::u16string_view source_;
    size_t pos_ = 0;
    size_t tokenStart_ = 0;
    size_t lineStart_ = 0;
    int32_t line_ = 1;
    std::vector<Token> tokens_;
};
}  // namespace

std::vector<Token> Tokenize(std::u16string_view source) { return Lexer(source).Run(); }

}  // namespace taviro::vbscript
