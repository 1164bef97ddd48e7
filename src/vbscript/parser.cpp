// A recursive-descent parser over the token list.
#include "vbscript/parser.h"

#include "vbscript/lexer.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
// Deeper nesting of blocks or expressions is refused rather than exhausting the native stack.
constexpr int kMaxNesting = 200;
// Longest chain of operators or member accesses in one expression; the tree it builds is this deep.
constexpr int kMaxChain = 1000;

class Parser {
public:
    explicit Parser(std::u16string_view source) : tokens_(Tokenize(source)) {}

    Program ParseProgram() {
        Program program;
        program_ = &program;
        SkipStatementEnds();
        if (IsKeyword(Keyword::Option)) {
            Next();
            if (!IsWord(u"explicit")) Fail(err::kSyntaxError);
            Next();
            program.optionExplicit = true;
            ExpectStatementEnd();
        }
        while (true) {
            SkipStatementEnds();
            if (Peek().kind == TokenKind::End) break;
            ParseTopLevel(program);
        }
        return program;
    }

    ExprPtr ParseOnlyExpression() {
        ExprPtr expression = ParseExpression();
        SkipStatementEnds();
        if (Peek().kind != TokenKind::End) Fail(err::kExpectedEndOfStatement);
        return expression;
    }

private:
    // ---- tokens ----
    const Token& Peek(size_t ahead = 0) const {
        size_t index = pos_ + ahead;
        return index < tokens_.size() ? tokens_[index] : tokens_.back();
    }
    const Token& Next() {
        const Token& token = Peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return token;
    }
    bool IsKeyword(Keyword keyword, size_t ahead = 0) const {
        return Peek(ahead).kind == TokenKind::Keyword && Peek(ahead).keyword == keyword;
    }
    bool IsWord(std::u16string_view folded, size_t ahead = 0) const {
        return Peek(ahead).kind == TokenKind::Identifier && Peek(ahead).folded == folded;
    }
    bool IsOperator(std::u16string_view text, size_t ahead = 0) const {
        return Peek(ahead).kind == TokenKind::Operator && Peek(ahead).text == text;
    }
    bool AtStatementEnd() const {
        return Peek().kind == TokenKind::StatementEnd || Peek().kind == TokenKind::End ||
               (singleLineIf_ > 0 && IsKeyword(Keyword::Else)) || AtClosingEnd();
    }
    // "End If", "End Sub", "End Function", "End Property" or "End Class" also ends the statement
    // before it on the same line: "Else x = 3 End If".
    bool AtClosingEnd() const {
        if (!IsKeyword(Keyword::End)) return false;
        return IsKeyword(Keyword::If, 1) || IsKeyword(Keyword::Sub, 1) || IsKeyword(Keyword::Function, 1) ||
               IsKeyword(Keyword::Property, 1) || IsKeyword(Keyword::Class, 1);
    }
    // "Property Get", "Property Let" or "Property Set": elsewhere Property is an ordinary name.
    bool AtPropertyDeclaration(size_t ahead = 0) const {
        return IsKeyword(Keyword::Property, ahead) &&
               (IsWord(u"get", ahead + 1) || IsWord(u"let", ahead + 1) || IsKeyword(Keyword::Set, ahead + 1));
    }
    bool AtProcedureDeclaration(size_t ahead = 0) const {
        return IsKeyword(Keyword::Sub, ahead) || IsKeyword(Keyword::Function, ahead) ||
               AtPropertyDeclaration(ahead);
    }
    // A Sub, Function, Property or Class declaration, with its Public or Private if any.
    bool AtDeclaration() const {
        if (IsKeyword(Keyword::Class) || AtProcedureDeclaration()) return true;
        if (!IsKeyword(Keyword::Public) && !IsKeyword(Keyword::Private)) return false;
        return AtProcedureDeclaration(1) || (IsWord(u"default", 1) && AtProcedureDeclaration(2));
    }
    [[noreturn]] void Fail(int32_t number) const { FailAt(number, Peek()); }
    [[noreturn]] void FailAt(int32_t number, const Token& token) const {
        ScriptError error(number);
        error.line = token.line;
        error.column = token.column;
        throw error;
    }
    void Expect(Keyword keyword, int32_t error) {
        if (!IsKeyword(keyword)) Fail(error);
        Next();
    }
    void ExpectOperator(std::u16string_view text, int32_t error) {
        if (!IsOperator(text)) Fail(error);
        Next();
    }
    void ExpectStatementEnd() {
        if (!AtStatementEnd()) Fail(err::kExpectedEndOfStatement);
        if (Peek().kind == TokenKind::StatementEnd && !(singleLineIf_ > 0 && !Peek().colon)) Next();
    }
    void SkipStatementEnds() {
        while (Peek().kind == TokenKind::StatementEnd) Next();
    }
    Position Here() const { return {Peek().line, Peek().column}; }
    // An identifier, or a keyword usable as a name in this position.
    std::pair<std::u16string, std::u16string> ExpectName() {
        if (Peek().kind != TokenKind::Identifier && !IsKeyword(Keyword::Property))
            Fail(err::kExpectedIdentifier);
        const Token& token = Next();
        return {token.folded, token.text};
    }

    struct NestingGuard {
        explicit NestingGuard(Parser& p) : parser(p) {
            if (++parser.nesting_ > kMaxNesting) parser.Fail(err::kOutOfStackSpace);
        }
        ~NestingGuard() { --parser.nesting_; }
        Parser& parser;
    };

    // ---- top level ----
    void ParseTopLevel(Program& program) {
        bool isPublic = true, isDefault = false, hasAccess = false;
        size_t start = pos_;
        if (IsKeyword(Keyword::Public) || IsKeyword(Keyword::Private)) {
            isPublic = IsKeyword(Keyword::Public);
            hasAccess = true;
            Next();
            if (IsWord(u"default")) {
                isDefault = true;
                Next();
            }
        }
        if (AtProcedureDeclaration()) {
            if (isDefault) Fail(err::kSyntaxError);
            program.procedures.push_back(ParseProcedure(isPublic, false));
            return;
        }
        if (IsKeyword(Keyword::Class)) {
            if (hasAccess) Fail(err::kSyntaxError);
            program.classes.push_back(ParseClass());
            return;
        }
        pos_ = start;
        program.statements.push_back(ParseStatement());
    }

    ProcedureDecl ParseProcedure(bool isPublic, bool inClass) {
        DeclarationDepth depth(*this);
        ProcedureDecl procedure;
        procedure.isPublic = isPublic;
        procedure.position = Here();
        Keyword endKeyword = Peek().keyword;
        if (IsKeyword(Keyword::Sub)) {
            procedure.kind = ProcedureKind::Sub;
        } else if (IsKeyword(Keyword::Function)) {
            procedure.kind = ProcedureKind::Function;
        } else {
            Next();
            if (IsWord(u"get")) {
                procedure.kind = ProcedureKind::PropertyGet;
            } else if (IsWord(u"let")) {
                procedure.kind = ProcedureKind::PropertyLet;
            } else if (IsKeyword(Keyword::Set)) {
                procedure.kind = ProcedureKind::PropertySet;
            } else {
                Fail(err::kExpectedLetSetGet);
            }
            if (!inClass) Fail(1048);
        }
        Next();
        std::tie(procedure.name, procedure.displayName) = ExpectName();
        if (IsOperator(u"(")) {
            Next();
            while (!IsOperator(u")")) {
                Parameter parameter;
                if (IsKeyword(Keyword::ByVal)) {
                    parameter.byRef = false;
                    Next();
                } else if (IsKeyword(Keyword::ByRef)) {
                    Next();
                }
                parameter.name = ExpectName().first;
                if (IsOperator(u"(")) {
                    Next();
                    ExpectOperator(u")", err::kExpectedRightParen);
                    parameter.isArray = true;
                }
                procedure.parameters.push_back(std::move(parameter));
                if (!IsOperator(u",")) break;
                Next();
            }
            ExpectOperator(u")", err::kExpectedRightParen);
        }
        if ((procedure.kind == ProcedureKind::PropertyLet || procedure.kind == ProcedureKind::PropertySet) &&
            procedure.parameters.empty())
            Fail(err::kPropertyNeedsArgument);
        // The first statement of the body may follow the declaration on its line: "Sub S() x = 1 End Sub".
        if (AtStatementEnd()) ExpectStatementEnd();
        procedure.body = ParseBlockUntilEnd();
        Expect(Keyword::End, err::kExpectedEnd);
        if (!IsKeyword(endKeyword)) {
            Fail(endKeyword == Keyword::Sub        ? err::kExpectedSub
                 : endKeyword == Keyword::Function ? err::kExpectedFunction
                                                   : err::kExpectedProperty);
        }
        Next();
        ExpectStatementEnd();
        return procedure;
    }

    ClassDecl ParseClass() {
        DeclarationDepth depth(*this);
        ClassDecl decl;
        decl.position = Here();
        Next();
        std::tie(decl.name, decl.displayName) = ExpectName();
        ExpectStatementEnd();
        bool hasDefault = false;
        while (true) {
            SkipStatementEnds();
            if (IsKeyword(Keyword::End)) break;
            if (Peek().kind == TokenKind::End) Fail(err::kExpectedEnd);
            bool isPublic = true, isDefault = false;
            bool hasAccess = IsKeyword(Keyword::Public) || IsKeyword(Keyword::Private);
            if (hasAccess) {
                isPublic = IsKeyword(Keyword::Public);
                Next();
                if (IsWord(u"default")) {
                    if (!isPublic) Fail(err::kDefaultNeedsPublic);
                    isDefault = true;
                    Next();
                }
            }
            if (AtProcedureDeclaration()) {
                ProcedureDecl procedure = ParseProcedure(isPublic, true);
                procedure.isDefault = isDefault;
                if (isDefault) {
                    if (hasDefault) Fail(err::kMultipleDefault);
                    hasDefault = true;
                }
                decl.procedures.push_back(std::move(procedure));
            } else if (IsKeyword(Keyword::Dim) || hasAccess) {
                if (isDefault) Fail(err::kSyntaxError);
                if (IsKeyword(Keyword::Dim)) Next();
                Stmt field;
                field.kind = StmtKind::Dim;
                field.position = Here();
                field.isPublic = isPublic;
                field.items = ParseDimItems(false);
                ExpectStatementEnd();
                decl.fields.push_back(std::move(field));
            } else {
                Fail(err::kExpectedStatement);
            }
        }
        Next();
        Expect(Keyword::Class, err::kExpectedClass);
        ExpectStatementEnd();
        return decl;
    }

    // ---- blocks ----
    bool AtBlockEnd() const {
        if (Peek().kind == TokenKind::End) return true;
        if (Peek().kind != TokenKind::Keyword) return false;
        switch (Peek().keyword) {
            case Keyword::End:
            case Keyword::Else:
            case Keyword::ElseIf:
            case Keyword::Loop:
            case Keyword::Next:
            case Keyword::Wend:
            case Keyword::Case: return true;
            default: return false;
        }
    }

    Block ParseBlockUntilEnd() {
        NestingGuard guard(*this);
        Block block;
        while (true) {
            SkipStatementEnds();
            if (AtBlockEnd()) break;
            if (AtDeclaration()) {
                // In global code a declaration inside a block is declared as if it stood at the top level.
                if (declarationDepth_ > 0 || !program_) Fail(err::kSyntaxError);
                ParseTopLevel(*program_);
                continue;
            }
            block.push_back(ParseStatement());
        }
        return block;
    }

    // ---- statements ----
    StmtPtr MakeStmt(StmtKind kind, Position position) {
        auto stmt = std::make_unique<Stmt>();
        stmt->kind = kind;
        stmt->position = position;
        return stmt;
    }

    StmtPtr ParseStatement() {
        Position position = Here();
        StmtPtr stmt = ParseStatementBody(position);
        ExpectStatementEnd();
        return stmt;
    }

    StmtPtr ParseStatementBody(Position position) {
        const Token& token = Peek();
        if (token.kind == TokenKind::Keyword) {
            switch (token.keyword) {
                case Keyword::Dim:
                case Keyword::Public:
                case Keyword::Private: {
                    bool isPublic = token.keyword != Keyword::Private;
                    Next();
                    if (IsKeyword(Keyword::Const)) return ParseConst(position, isPublic);
                    auto stmt = MakeStmt(StmtKind::Dim, position);
                    stmt->isPublic = isPublic;
                    stmt->items = ParseDimItems(false);
                    return stmt;
                }
                case Keyword::Const: return ParseConst(position, true);
                case Keyword::ReDim: {
                    Next();
                    auto stmt = MakeStmt(StmtKind::ReDim, position);
                    if (IsWord(u"preserve")) {
                        stmt->preserve = true;
                        Next();
                    }
                    stmt->items = ParseDimItems(true);
                    return stmt;
                }
                case Keyword::Erase: {
                    Next();
                    auto stmt = MakeStmt(StmtKind::Erase, position);
                    while (true) {
                        DimItem item;
                        item.position = Here();
                        std::tie(item.name, item.displayName) = ExpectName();
                        stmt->items.push_back(std::move(item));
                        if (!IsOperator(u",")) break;
                        Next();
                    }
                    return stmt;
                }
                case Keyword::If: return ParseIf(position);
                case Keyword::Select: return ParseSelect(position);
                case Keyword::For: return ParseFor(position);
                case Keyword::Do: return ParseDo(position);
                case Keyword::While: {
                    Next();
                    auto stmt = MakeStmt(StmtKind::DoLoop, position);
                    stmt->test = LoopTest::WhileBefore;
                    stmt->value = ParseExpression();
                    ExpectStatementEnd();
                    stmt->body = ParseBlockUntilEnd();
                    Expect(Keyword::Wend, err::kExpectedWend);
                    return stmt;
                }
                case Keyword::Exit: return ParseExit(position);
                case Keyword::With: {
                    Next();
                    auto stmt = MakeStmt(StmtKind::With, position);
                    stmt->target = ParseExpression();
                    ExpectStatementEnd();
                    stmt->body = ParseBlockUntilEnd();
                    Expect(Keyword::End, err::kExpectedEnd);
                    Expect(Keyword::With, err::kExpectedWith);
                    return stmt;
                }
                case Keyword::Set: {
                    Next();
                    auto stmt = MakeStmt(StmtKind::Set, position);
                    stmt->target = ParsePostfix();
                    ExpectOperator(u"=", err::kExpectedEquals);
                    stmt->value = ParseExpression();
                    return stmt;
                }
                case Keyword::Call: {
                    Next();
                    auto stmt = MakeStmt(StmtKind::Call, position);
                    ExprPtr target = ParsePostfix();
                    if (target->kind == ExprKind::Call) {
                        stmt->arguments = std::move(target->arguments);
                        stmt->argumentsInParens = true;
                        stmt->target = std::move(target->object);
                    } else {
                        stmt->target = std::move(target);
                    }
                    return stmt;
                }
                case Keyword::On: return ParseOnError(position);
                case Keyword::Me:
                case Keyword::Property: return ParseAssignOrCall(position);
                default: Fail(err::kExpectedStatement);
            }
        }
        if (token.kind == TokenKind::Identifier && token.folded == u"let" &&
            Peek(1).kind == TokenKind::Identifier) {
            Next();
        }
        // Stop breaks into a debugger; without one it does nothing.
        if (token.kind == TokenKind::Identifier && token.folded == u"stop" &&
            (Peek(1).kind == TokenKind::StatementEnd || Peek(1).kind == TokenKind::End)) {
            Next();
            return MakeStmt(StmtKind::Stop, position);
        }
        if (token.kind == TokenKind::Identifier || IsOperator(u".")) return ParseAssignOrCall(position);
        Fail(err::kExpectedStatement);
    }

    StmtPtr ParseConst(Position position, bool isPublic) {
        Next();
        auto stmt = MakeStmt(StmtKind::Const, position);
        stmt->isPublic = isPublic;
        while (true) {
            DimItem item;
            item.position = Here();
            std::tie(item.name, item.displayName) = ExpectName();
            ExpectOperator(u"=", err::kExpectedEquals);
            item.bounds.push_back(ParseExpression());
            stmt->items.push_back(std::move(item));
            if (!IsOperator(u",")) break;
            Next();
        }
        return stmt;
    }

    std::vector<DimItem> ParseDimItems(bool redim) {
        std::vector<DimItem> items;
        while (true) {
            DimItem item;
            item.position = Here();
            std::tie(item.name, item.displayName) = ExpectName();
            if (IsOperator(u"(")) {
                Next();
                item.isArray = true;
                while (!IsOperator(u")")) {
                    if (redim) {
                        item.bounds.push_back(ParseExpression());
                    } else {
                        if (Peek().kind != TokenKind::Literal || !Peek().value.IsNumeric())
                            Fail(err::kExpectedInteger);
                        auto bound = std::make_unique<Expr>();
                        bound->kind = ExprKind::Literal;
                        bound->position = Here();
                        bound->literal = Next().value;
                        item.bounds.push_back(std::move(bound));
                    }
                    if (!IsOperator(u",")) break;
                    Next();
                }
                ExpectOperator(u")", err::kExpectedRightParen);
                if (redim && item.bounds.empty()) Fail(err::kExpectedExpression);
            } else if (redim) {
                Fail(err::kExpectedLeftParen);
            }
            items.push_back(std::move(item));
            if (!IsOperator(u",")) break;
            Next();
        }
        return items;
    }

    StmtPtr ParseIf(Position position) {
        Next();
        auto stmt = MakeStmt(StmtKind::If, position);
        ExprPtr condition = ParseExpression();
        Expect(Keyword::Then, err::kExpectedThen);
        if (Peek().kind != TokenKind::StatementEnd || Peek().colon) {
            // Single-line form: statements up to the end of the line, with an optional Else part.
            if (Peek().kind == TokenKind::StatementEnd) Next();
            ++singleLineIf_;
            Block thenBody = ParseLineStatements();
            stmt->branches.emplace_back(std::move(condition), std::move(thenBody));
            if (IsKeyword(Keyword::Else)) {
                Next();
                stmt->elseBody = ParseLineStatements();
            }
            --singleLineIf_;
            if (IsKeyword(Keyword::End) && IsKeyword(Keyword::If, 1)) {
                Next();
                Next();
            }
            return stmt;
        }
        ExpectStatementEnd();
        stmt->branches.emplace_back(std::move(condition), ParseBlockUntilEnd());
        while (IsKeyword(Keyword::ElseIf)) {
            Next();
            ExprPtr elseIfCondition = ParseExpression();
            Expect(Keyword::Then, err::kExpectedThen);
            if (AtStatementEnd()) {
                ExpectStatementEnd();
                stmt->branches.emplace_back(std::move(elseIfCondition), ParseBlockUntilEnd());
            } else {
                Block line;
                line.push_back(ParseStatement());
                Block rest = ParseBlockUntilEnd();
                for (auto& s : rest) line.push_back(std::move(s));
                stmt->branches.emplace_back(std::move(elseIfCondition), std::move(line));
            }
        }
        if (IsKeyword(Keyword::Else)) {
            Next();
            stmt->elseBody = ParseBlockUntilEnd();
        }
        Expect(Keyword::End, err::kExpectedEnd);
        Expect(Keyword::If, err::kExpectedIf);
        return stmt;
    }

    // The statements of a single-line If part: separated by ':' and ending at the line end or Else.
    Block ParseLineStatements() {
        NestingGuard guard(*this);
        Block block;
        while (true) {
            if (Peek().kind == TokenKind::End || (Peek().kind == TokenKind::StatementEnd && !Peek().colon))
                break;
            if (IsKeyword(Keyword::Else)) break;
            if (Peek().kind == TokenKind::StatementEnd) {
                Next();
                continue;
            }
            if (AtClosingEnd()) break;
            Position position = Here();
            block.push_back(ParseStatementBody(position));
            if (!AtStatementEnd()) Fail(err::kExpectedEndOfStatement);
        }
        return block;
    }

    StmtPtr ParseSelect(Position position) {
        Next();
        Expect(Keyword::Case, err::kExpectedCase);
        auto stmt = MakeStmt(StmtKind::Select, position);
        stmt->target = ParseExpression();
        ExpectStatementEnd();
        SkipStatementEnds();
        bool sawElse = false;
        while (IsKeyword(Keyword::Case)) {
            if (sawElse) Fail(err::kExpectedEnd);
            Next();
            CaseClause clause;
            if (IsKeyword(Keyword::Else)) {
                Next();
                sawElse = true;
            } else {
                while (true) {
                    CaseClause::Test test;
                    if (IsKeyword(Keyword::Is)) {
                        Next();
                        const Token& op = Next();
                        if (op.kind != TokenKind::Operator) FailAt(err::kSyntaxError, op);
                        if (op.text == u"=")
                            test.comparison = BinaryOp::Equal;
                        else if (op.text == u"<>")
                            test.comparison = BinaryOp::NotEqual;
                        else if (op.text == u"<")
                            test.comparison = BinaryOp::Less;
                        else if (op.text == u"<=")
                            test.comparison = BinaryOp::LessEqual;
                        else if (op.text == u">")
                            test.comparison = BinaryOp::Greater;
                        else if (op.text == u">=")
                            test.comparison = BinaryOp::GreaterEqual;
                        else
                            FailAt(err::kSyntaxError, op);
                    }
                    test.value = ParseExpression();
                    if (IsKeyword(Keyword::To)) {
                        Next();
                        test.upper = ParseExpression();
                    }
                    clause.tests.push_back(std::move(test));
                    if (!IsOperator(u",")) break;
                    Next();
                }
            }
            if (Peek().kind == TokenKind::StatementEnd) Next();
            clause.body = ParseBlockUntilEnd();
            stmt->cases.push_back(std::move(clause));
        }
        Expect(Keyword::End, err::kExpectedEnd);
        Expect(Keyword::Select, err::kExpectedSelect);
        return stmt;
    }

    StmtPtr ParseFor(Position position) {
        Next();
        if (IsKeyword(Keyword::Each)) {
            Next();
            auto stmt = MakeStmt(StmtKind::ForEach, position);
            stmt->target = NameExpr();
            Expect(Keyword::In, err::kExpectedIn);
            stmt->value = ParseExpression();
            ExpectStatementEnd();
            stmt->body = ParseBlockUntilEnd();
            ExpectNext();
            return stmt;
        }
        auto stmt = MakeStmt(StmtKind::For, position);
        stmt->target = NameExpr();
        ExpectOperator(u"=", err::kExpectedEquals);
        stmt->value = ParseExpression();
        Expect(Keyword::To, err::kExpectedTo);
        stmt->limit = ParseExpression();
        if (IsWord(u"step")) {
            Next();
            stmt->step = ParseExpression();
        }
        ExpectStatementEnd();
        stmt->body = ParseBlockUntilEnd();
        ExpectNext();
        return stmt;
    }

    void ExpectNext() {
        Expect(Keyword::Next, err::kExpectedNext);
        if (Peek().kind == TokenKind::Identifier) Next();
    }

    ExprPtr NameExpr() {
        auto expr = std::make_unique<Expr>();
        expr->kind = ExprKind::Name;
        expr->position = Here();
        std::tie(expr->name, expr->displayName) = ExpectName();
        return expr;
    }

    StmtPtr ParseDo(Position position) {
        Next();
        auto stmt = MakeStmt(StmtKind::DoLoop, position);
        if (IsKeyword(Keyword::While) || IsKeyword(Keyword::Until)) {
            stmt->test = IsKeyword(Keyword::While) ? LoopTest::WhileBefore : LoopTest::UntilBefore;
            Next();
            stmt->value = ParseExpression();
        }
        ExpectStatementEnd();
        stmt->body = ParseBlockUntilEnd();
        Expect(Keyword::Loop, err::kExpectedLoop);
        if (IsKeyword(Keyword::While) || IsKeyword(Keyword::Until)) {
            if (stmt->test != LoopTest::None) Fail(err::kExpectedEndOfStatement);
            stmt->test = IsKeyword(Keyword::While) ? LoopTest::WhileAfter : LoopTest::UntilAfter;
            Next();
            stmt->value = ParseExpression();
        }
        return stmt;
    }

    StmtPtr ParseExit(Position position) {
        Next();
        auto stmt = MakeStmt(StmtKind::Exit, position);
        if (IsKeyword(Keyword::Do))
            stmt->exit = ExitKind::Do;
        else if (IsKeyword(Keyword::For))
            stmt->exit = ExitKind::For;
        else if (IsKeyword(Keyword::Sub))
            stmt->exit = ExitKind::Sub;
        else if (IsKeyword(Keyword::Function))
            stmt->exit = ExitKind::Function;
        else if (IsKeyword(Keyword::Property))
            stmt->exit = ExitKind::Property;
        else
            Fail(err::kInvalidExit);
        Next();
        return stmt;
    }

    StmtPtr ParseOnError(Position position) {
        Next();
        if (!IsWord(u"error")) Fail(err::kSyntaxError);
        Next();
        if (IsWord(u"resume")) {
            Next();
            Expect(Keyword::Next, err::kSyntaxError);
            return MakeStmt(StmtKind::OnErrorResumeNext, position);
        }
        Expect(Keyword::GoTo, err::kSyntaxError);
        if (Peek().kind != TokenKind::Literal || !Peek().value.IsNumeric() || Peek().value.integer() != 0)
            Fail(err::kSyntaxError);
        Next();
        return MakeStmt(StmtKind::OnErrorGoTo0, position);
    }

    StmtPtr ParseAssignOrCall(Position position) {
        lastCallParen_ = SIZE_MAX;
        ExprPtr target = ParsePostfix();
        size_t callParen = lastCallParen_;
        if (IsOperator(u"=")) {
            Next();
            auto stmt = MakeStmt(StmtKind::Assign, position);
            stmt->target = std::move(target);
            stmt->value = ParseExpression();
            return stmt;
        }
        auto stmt = MakeStmt(StmtKind::Call, position);
        if (AtStatementEnd()) {
            if (target->kind == ExprKind::Call) {
                if (target->arguments.size() > 1) Fail(err::kCannotUseParensCallingSub);
                for (auto& argument : target->arguments) argument->parenthesized = true;
                stmt->arguments = std::move(target->arguments);
                stmt->target = std::move(target->object);
            } else {
                stmt->target = std::move(target);
            }
            return stmt;
        }
        // "F (1) + 2, 3": what looked like a call's parentheses opens the first argument.
        if (target->kind == ExprKind::Call && callParen != SIZE_MAX) {
            pos_ = callParen;
            stmt->target = std::move(target->object);
        } else {
            stmt->target = std::move(target);
        }
        stmt->arguments = ParseArgumentList();
        return stmt;
    }

    std::vector<ExprPtr> ParseArgumentList() {
        std::vector<ExprPtr> arguments;
        while (true) {
            if (IsOperator(u",")) {
                arguments.push_back(MissingExpr());
            } else {
                arguments.push_back(ParseExpression());
            }
            if (!IsOperator(u",")) break;
            Next();
            if (AtStatementEnd()) arguments.push_back(MissingExpr());
        }
        return arguments;
    }

    ExprPtr MissingExpr() {
        auto expr = std::make_unique<Expr>();
        expr->kind = ExprKind::Missing;
        expr->position = Here();
        return expr;
    }

    // ---- expressions ----
    ExprPtr ParseExpression() {
        NestingGuard guard(*this);
        return ParseBinary(0);
    }

    // Binary operators from the loosest to the tightest; unary Not and unary minus sit between levels.
    static int LevelOf(const Token& token, BinaryOp& op) {
        if (token.kind == TokenKind::Keyword) {
            switch (token.keyword) {
                case Keyword::Imp: op = BinaryOp::Imp; return 0;
                case Keyword::Eqv: op = BinaryOp::Eqv; return 1;
                case Keyword::Xor: op = BinaryOp::Xor; return 2;
                case Keyword::Or: op = BinaryOp::Or; return 3;
                case Keyword::And: op = BinaryOp::And; return 4;
                case Keyword::Is: op = BinaryOp::Is; return 6;
                case Keyword::Mod: op = BinaryOp::Mod; return 9;
                default: return -1;
            }
        }
        if (token.kind != TokenKind::Operator) return -1;
        const std::u16string& t = token.text;
        if (t == u"=") {
            op = BinaryOp::Equal;
            return 6;
        }
        if (t == u"<>") {
            op = BinaryOp::NotEqual;
            return 6;
        }
        if (t == u"<") {
            op = BinaryOp::Less;
            return 6;
        }
        if (t == u">") {
            op = BinaryOp::Greater;
            return 6;
        }
        if (t == u"<=") {
            op = BinaryOp::LessEqual;
            return 6;
        }
        if (t == u">=") {
            op = BinaryOp::GreaterEqual;
            return 6;
        }
        if (t == u"&") {
            op = BinaryOp::Concat;
            return 7;
        }
        if (t == u"+") {
            op = BinaryOp::Add;
            return 8;
        }
        if (t == u"-") {
            op = BinaryOp::Subtract;
            return 8;
        }
        if (t == u"\\") {
            op = BinaryOp::IntDivide;
            return 10;
        }
        if (t == u"*") {
            op = BinaryOp::Multiply;
            return 11;
        }
        if (t == u"/") {
            op = BinaryOp::Divide;
            return 11;
        }
        if (t == u"^") {
            op = BinaryOp::Power;
            return 13;
        }
        return -1;
    }

    ExprPtr ParseBinary(int minLevel) {
        NestingGuard guard(*this);
        ExprPtr left = ParseUnary(minLevel);
        int chain = 0;
        while (true) {
            BinaryOp op;
            int level = LevelOf(Peek(), op);
            if (level < minLevel || level < 0) break;
            if (++chain > kMaxChain) Fail(err::kOutOfStackSpace);
            Position position = Here();
            Next();
            ExprPtr right = ParseBinary(level + 1);
            auto node = std::make_unique<Expr>();
            node->kind = ExprKind::Binary;
            node->position = position;
            node->binary = op;
            node->left = std::move(left);
            node->right = std::move(right);
            left = std::move(node);
        }
        return left;
    }

    // Not binds looser than comparisons (level 5); unary minus looser than ^ but tighter than * (level 12).
    ExprPtr ParseUnary(int minLevel) {
        NestingGuard guard(*this);
        Position position = Here();
        if (IsKeyword(Keyword::Not) && minLevel <= 5) {
            Next();
            return MakeUnary(UnaryOp::Not, ParseBinary(5), position);
        }
        if ((IsOperator(u"-") || IsOperator(u"+")) && minLevel <= 12) {
            UnaryOp op = IsOperator(u"-") ? UnaryOp::Negate : UnaryOp::Plus;
            Next();
            return MakeUnary(op, ParseBinary(12), position);
        }
        if (IsKeyword(Keyword::Not) || IsOperator(u"-") || IsOperator(u"+")) {
            // "2 ^ -1", "a * Not b": a unary operator where a tighter operand is expected.
            bool isNot = IsKeyword(Keyword::Not);
            UnaryOp op = isNot ? UnaryOp::Not : IsOperator(u"-") ? UnaryOp::Negate : UnaryOp::Plus;
            Next();
            return MakeUnary(op, ParseUnary(minLevel), position);
        }
        return ParsePostfix();
    }

    ExprPtr MakeUnary(UnaryOp op, ExprPtr operand, Position position) {
        auto node = std::make_unique<Expr>();
        node->kind = ExprKind::Unary;
        node->unary = op;
        node->position = position;
        node->object = std::move(operand);
        return node;
    }

    ExprPtr ParsePostfix() {
        NestingGuard guard(*this);
        ExprPtr expr = ParsePrimary();
        int chain = 0;
        while (true) {
            if (++chain > kMaxChain) Fail(err::kOutOfStackSpace);
            if (IsOperator(u".") && !Peek().spaceBefore) {
                Position position = Here();
                Next();
                auto member = std::make_unique<Expr>();
                member->kind = ExprKind::Member;
                member->position = position;
                if (Peek().kind != TokenKind::Identifier && Peek().kind != TokenKind::Keyword)
                    Fail(err::kExpectedIdentifier);
                member->name = Peek().folded;
                member->displayName = Next().text;
                member->object = std::move(expr);
                expr = std::move(member);
            } else if (IsOperator(u"(") && CanBeCalled(*expr)) {
                size_t paren = pos_;
                Position position = Here();
                Next();
                auto call = std::make_unique<Expr>();
                call->kind = ExprKind::Call;
                call->position = position;
                call->object = std::move(expr);
                if (!IsOperator(u")")) {
                    while (true) {
                        if (IsOperator(u",") || IsOperator(u")")) {
                            call->arguments.push_back(MissingExpr());
                        } else {
                            call->arguments.push_back(ParseExpression());
                        }
                        if (!IsOperator(u",")) break;
                        Next();
                    }
                }
                ExpectOperator(u")", err::kExpectedRightParen);
                // Set after the arguments, whose own calls set it too: a call statement may have to
                // read this call's parentheses again as the start of its first argument.
                lastCallParen_ = paren;
                expr = std::move(call);
            } else {
                break;
            }
        }
        return expr;
    }

    static bool CanBeCalled(const Expr& expr) {
        return expr.kind == ExprKind::Name || expr.kind == ExprKind::Member || expr.kind == ExprKind::Call ||
               expr.kind == ExprKind::Me;
    }

    ExprPtr ParsePrimary() {
        auto expr = std::make_unique<Expr>();
        expr->position = Here();
        const Token& token = Peek();
        switch (token.kind) {
            case TokenKind::Literal:
                expr->kind = ExprKind::Literal;
                expr->literal = Next().value;
                return expr;
            case TokenKind::Identifier:
                expr->kind = ExprKind::Name;
                expr->name = token.folded;
                expr->displayName = Next().text;
                return expr;
            case TokenKind::Operator:
                if (token.text == u"(") {
                    Next();
                    ExprPtr inner = ParseExpression();
                    ExpectOperator(u")", err::kExpectedRightParen);
                    inner->parenthesized = true;
                    return inner;
                }
                if (token.text == u".") {
                    // ".Name" inside With: the member of the With object.
                    Next();
                    if (Peek().kind != TokenKind::Identifier && Peek().kind != TokenKind::Keyword)
                        Fail(err::kExpectedIdentifier);
                    expr->kind = ExprKind::Member;
                    expr->name = Peek().folded;
                    expr->displayName = Next().text;
                    return expr;
                }
                Fail(err::kExpectedExpression);
            case TokenKind::Keyword:
                switch (token.keyword) {
                    case Keyword::True:
                        Next();
                        expr->literal = Variant(true);
                        return expr;
                    case Keyword::False:
                        Next();
                        expr->literal = Variant(false);
                        return expr;
                    case Keyword::Empty: Next(); return expr;
                    case Keyword::Null:
                        Next();
                        expr->literal = Variant::MakeNull();
                        return expr;
                    case Keyword::Nothing:
                        Next();
                        expr->literal = Variant::Nothing();
                        return expr;
                    case Keyword::Me:
                        Next();
                        expr->kind = ExprKind::Me;
                        return expr;
                    case Keyword::Property:
                        expr->kind = ExprKind::Name;
                        expr->name = token.folded;
                        expr->displayName = Next().text;
                        return expr;
                    case Keyword::New:
                        Next();
                        expr->kind = ExprKind::New;
                        std::tie(expr->name, expr->displayName) = ExpectName();
                        return expr;
                    default: break;
                }
                Fail(err::kExpectedExpression);
            default: Fail(err::kExpectedExpression);
        }
    }

    // Counts the procedures and classes being parsed: declarations nest only in global code.
    struct DeclarationDepth {
        explicit DeclarationDepth(Parser& p) : parser(p) { ++parser.declarationDepth_; }
        ~DeclarationDepth() { --parser.declarationDepth_; }
        Parser& parser;
    };

    std::vector<Token> tokens_;
    Program* program_ = nullptr;
    int declarationDepth_ = 0;
    size_t pos_ = 0;
    int nesting_ = 0;
    int singleLineIf_ = 0;
    size_t lastCallParen_ = SIZE_MAX;
};
}  // namespace

Program Parse(std::u16string_view source) { return Parser(source).ParseProgram(); }

ExprPtr ParseExpressionText(std::u16string_view source) { return Parser(source).ParseOnlyExpression(); }

}  // namespace taviro::vbscript
