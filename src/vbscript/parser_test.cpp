// The parser: statement forms, precedence, declarations and syntax errors.
#include "vbscript/parser.h"

#include <gtest/gtest.h>

#include "vbscript/script_error.h"

namespace taviro::vbscript {
namespace {

// A compact prefix rendering of an expression tree.
std::string Render(const Expr& e) {
    auto narrow = [](const std::u16string& s) { return std::string(s.begin(), s.end()); };
    switch (e.kind) {
        case ExprKind::Literal: return e.literal.IsEmpty() ? "Empty" : "lit";
        case ExprKind::Name: return narrow(e.name);
        case ExprKind::Member:
            return (e.object ? Render(*e.object) : std::string("<with>")) + "." + narrow(e.name);
        case ExprKind::Call: {
            std::string text = Render(*e.object) + "(";
            for (size_t i = 0; i < e.arguments.size(); ++i) text += (i ? "," : "") + Render(*e.arguments[i]);
            return text + ")";
        }
        case ExprKind::Unary:
            return std::string(e.unary == UnaryOp::Not ? "not " : "neg ") + Render(*e.object);
        case ExprKind::Binary: {
            static const char* names[] = {"imp", "eqv", "xor", "or", "and", "=",   "<>", "<", ">", "<=",
                                          ">=",  "is",  "&",   "+",  "-",   "mod", "\\", "*", "/", "^"};
            return "(" + Render(*e.left) + " " + names[static_cast<int>(e.binary)] + " " + Render(*e.right) +
                   ")";
        }
        case ExprKind::New: return "new " + narrow(e.name);
        case ExprKind::Me: return "me";
        case ExprKind::Missing: return "_";
    }
    return "?";
}

std::string RenderValue(std::u16string_view assignment) {
    Program program = Parse(assignment);
    return Render(*program.statements.at(0)->value);
}

int ErrorNumber(std::u16string_view source) {
    try {
        Parse(source);
    } catch (const ScriptError& error) {
        return error.number;
    }
    return 0;
}

TEST(Parser, OperatorsGroupByPrecedenceAndAssociateLeft) {
    EXPECT_EQ(RenderValue(u"x = a + b * c ^ d"), "(a + (b * (c ^ d)))");
    EXPECT_EQ(RenderValue(u"x = a - b - c"), "((a - b) - c)");
    EXPECT_EQ(RenderValue(u"x = -a ^ b"), "neg (a ^ b)");
    EXPECT_EQ(RenderValue(u"x = a & b + c"), "(a & (b + c))");
    EXPECT_EQ(RenderValue(u"x = a \\ b * c"), "(a \\ (b * c))");
    EXPECT_EQ(RenderValue(u"x = a Mod b \\ c"), "(a mod (b \\ c))");
    EXPECT_EQ(RenderValue(u"x = Not a = b And c"), "(not (a = b) and c)");
    EXPECT_EQ(RenderValue(u"x = a Or b Xor c Eqv d Imp e"), "((((a or b) xor c) eqv d) imp e)");
    EXPECT_EQ(RenderValue(u"x = a Is Nothing"), "(a is lit)");
}

TEST(Parser, MembersCallsAndIndexesChain) {
    EXPECT_EQ(RenderValue(u"x = a.b(1).c"), "a.b(lit).c");
    EXPECT_EQ(RenderValue(u"x = f(, 2)"), "f(_,lit)");
    EXPECT_EQ(RenderValue(u"x = New Thing"), "new thing");
}

TEST(Parser, CallStatementArgumentsWithAndWithoutParentheses) {
    Program program = Parse(u"Foo 1, 2\nFoo (1), 2\nCall Foo(1, 2)\nFoo(1)\nobj.Run 3");
    ASSERT_EQ(program.statements.size(), 5u);
    EXPECT_EQ(program.statements[0]->arguments.size(), 2u);
    EXPECT_TRUE(program.statements[1]->arguments[0]->parenthesized);
    EXPECT_EQ(Render(*program.statements[1]->target), "foo");
    EXPECT_EQ(program.statements[2]->arguments.size(), 2u);
    EXPECT_TRUE(program.statements[3]->arguments[0]->parenthesized);
    EXPECT_EQ(Render(*program.statements[4]->target), "obj.run");
    EXPECT_EQ(ErrorNumber(u"Foo(1, 2)"), err::kCannotUseParensCallingSub);
}

TEST(Parser, ParenthesizedFirstArgumentMayHoldIndexedCallResults) {
    Program program = Parse(u"Show (d.Keys()(0)) & \"!\"\nShow (F(G(1))), 2");
    ASSERT_EQ(program.statements.size(), 2u);
    EXPECT_EQ(Render(*program.statements[0]->target), "show");
    ASSERT_EQ(program.statements[0]->arguments.size(), 1u);
    EXPECT_EQ(Render(*program.statements[0]->arguments[0]), "(d.keys()(lit) & lit)");
    ASSERT_EQ(program.statements[1]->arguments.size(), 2u);
    EXPECT_EQ(Render(*program.statements[1]->arguments[0]), "f(g(lit))");
}

TEST(Parser, WithMemberAfterABlankIsAnArgumentNotAMemberAccess) {
    Program program = Parse(u"With x\nPrint .Name\nEnd With");
    const Stmt& print = *program.statements.at(0)->body.at(0);
    EXPECT_EQ(Render(*print.target), "print");
    EXPECT_EQ(Render(*print.arguments.at(0)), "<with>.name");
}

TEST(Parser, SingleLineIfTakesTheRestOfTheLineWithItsElse) {
    Program program = Parse(u"If a Then b = 1: c = 2 Else d = 3\ne = 4");
    ASSERT_EQ(program.statements.size(), 2u);
    const Stmt& ifStmt = *program.statements[0];
    EXPECT_EQ(ifStmt.branches.at(0).second.size(), 2u);
    EXPECT_EQ(ifStmt.elseBody.size(), 1u);
}

TEST(Parser, SelectCollectsTestsOfEachCase) {
    Program program = Parse(u"Select Case x\nCase 1, 2 To 3, Is > 4\nCase Else\ny = 1\nEnd Select");
    const Stmt& select = *program.statements.at(0);
    ASSERT_EQ(select.cases.size(), 2u);
    EXPECT_EQ(select.cases[0].tests.size(), 3u);
    EXPECT_TRUE(select.cases[0].tests[1].upper != nullptr);
    EXPECT_EQ(select.cases[0].tests[2].comparison, BinaryOp::Greater);
    EXPECT_TRUE(select.cases[1].tests.empty());
    EXPECT_EQ(select.cases[1].body.size(), 1u);
}

TEST(Parser, ProceduresAndClassesAreDeclaredApartFromStatements) {
    Program program = Parse(
        u"Option Explicit\nPrivate Sub A(ByVal x, ByRef y, z())\nEnd Sub\nx = 1\n"
        u"Class C\nPublic Default Property Get P: End Property\nPrivate f(3)\nEnd Class");
    EXPECT_TRUE(program.optionExplicit);
    ASSERT_EQ(program.procedures.size(), 1u);
    const ProcedureDecl& a = program.procedures[0];
    EXPECT_FALSE(a.isPublic);
    ASSERT_EQ(a.parameters.size(), 3u);
    EXPECT_FALSE(a.parameters[0].byRef);
    EXPECT_TRUE(a.parameters[1].byRef);
    EXPECT_TRUE(a.parameters[2].byRef);
    EXPECT_TRUE(a.parameters[2].isArray);
    EXPECT_EQ(program.statements.size(), 1u);
    ASSERT_EQ(program.classes.size(), 1u);
    EXPECT_TRUE(program.classes[0].procedures.at(0).isDefault);
    EXPECT_EQ(program.classes[0].procedures[0].kind, ProcedureKind::PropertyGet);
    EXPECT_FALSE(program.classes[0].fields.at(0).isPublic);
}

TEST(Parser, MisplacedOrMissingPartsAreCompileErrors) {
    EXPECT_EQ(ErrorNumber(u"If a Then\nb = 1\nEnd Sub"), err::kExpectedIf);
    EXPECT_EQ(ErrorNumber(u"Do\nLoop Until"), err::kExpectedExpression);
    EXPECT_EQ(ErrorNumber(u"While x\nLoop"), err::kExpectedWend);
    EXPECT_EQ(ErrorNumber(u"Select Case x\nCase 1\nEnd If"), err::kExpectedSelect);
    EXPECT_EQ(ErrorNumber(u"For Each x On y\nNext"), err::kExpectedIn);
    EXPECT_EQ(ErrorNumber(u"Property Get P\nEnd Property"), 1048);
    EXPECT_EQ(ErrorNumber(u"Class C\nPublic Default x\nEnd Class"), err::kSyntaxError);
    EXPECT_EQ(ErrorNumber(u"Sub S\nSub T\nEnd Sub\nEnd Sub"), err::kSyntaxError);
    EXPECT_EQ(ErrorNumber(u"Dim a(n)"), err::kExpectedInteger);
    EXPECT_EQ(ErrorNumber(u"On Error GoTo label"), err::kSyntaxError);
    EXPECT_EQ(ErrorNumber(u"x = "), err::kExpectedExpression);
    EXPECT_EQ(ErrorNumber(u"Class C\nPublic Property Let V()\nEnd Property\nEnd Class"),
              err::kPropertyNeedsArgument);
}

TEST(Parser, ExpressionTextForEvalMustBeOneExpression) {
    EXPECT_EQ(Render(*ParseExpressionText(u"a + 1")), "(a + lit)");
    try {
        ParseExpressionText(u"a + 1 b");
        FAIL();
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.number, err::kExpectedEndOfStatement);
    }
}

}  // namespace
}  // namespace taviro::vbscript
