// Script classes: fields, properties, default members, and deterministic initialize and terminate.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

const char* kTracked =
    "Class Tracked\nPublic Name\nPrivate Sub Class_Initialize: Print \"init\": End Sub\n"
    "Private Sub Class_Terminate: Print \"bye \" & Name: End Sub\nEnd Class\n";

TEST(Classes, TerminateRunsWhenTheLastReferenceGoes) {
    ScriptRun run;
    EXPECT_EQ(run.Run(std::string(kTracked) +
                      "Set a = New Tracked: a.Name = \"A\"\nSet b = a\nSet a = Nothing\nPrint \"still\"\n"
                      "Set b = Nothing\nPrint \"after\""),
              "init|still|bye A|after");
}

TEST(Classes, TerminateRunsWhenALocalGoesOutOfScope) {
    ScriptRun run;
    EXPECT_EQ(run.Run(std::string(kTracked) + "Sub Use\nDim t: Set t = New Tracked: t.Name = \"L\"\nPrint "
                                              "\"using\"\nEnd Sub\nUse\nPrint \"done\""),
              "init|using|bye L|done");
}

TEST(Classes, TemporaryInstanceTerminatesAfterItsStatement) {
    ScriptRun run;
    EXPECT_EQ(run.Run(std::string(kTracked) + "Print TypeName(New Tracked)\nPrint \"next\""),
              "init|bye |Tracked|next");
}

TEST(Classes, ReleasingALongChainDoesNotExhaustTheStack) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class Node: Public NextNode: End Class\nSet head = Nothing\n"
                      "For i = 1 To 200000: Set n = New Node: Set n.NextNode = head: Set head = n: Next\n"
                      "Set n = Nothing: Set head = Nothing\nPrint \"released\""),
              "released");
}

TEST(Classes, PropertiesGetLetAndSet) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class Box\nPrivate mValue, mObject\n"
                "Public Property Get Value: Value = mValue: End Property\n"
                "Public Property Let Value(v): mValue = v * 2: End Property\n"
                "Public Property Get Obj: Set Obj = mObject: End Property\n"
                "Public Property Set Obj(o): Set mObject = o: End Property\n"
                "Public Property Get Cell(i): Cell = i * 10: End Property\nEnd Class\n"
                "Set b = New Box: Set inner = New Box\nb.Value = 4: inner.Value = 5\nSet b.Obj = inner\n"
                "Print b.Value, b.Obj.Value, b.Cell(3)"),
        "8 10 30");
}

TEST(Classes, DefaultMemberIsUsedForValuesAndCalls) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class Named\nPublic Default Property Get Text: Text = \"hello\": End Property\nEnd Class\n"
                "Set n = New Named\nPrint n & \"!\", n = \"hello\"\nx = n\nPrint TypeName(x)"),
        "hello! True|String");
    EXPECT_EQ(run.Run("Class L\nPublic Default Function Item(i): Item = i + 1: End Function\nEnd Class\n"
                      "Set list = New L\nPrint list(1), list.Item(2)"),
              "2 3");
}

TEST(Classes, PrivateMembersAreHiddenOutsideTheClass) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class C\nPrivate secret\nPublic Sub SetIt: secret = 1: Me.Show: End Sub\n"
                      "Private Sub Show: Print \"secret\", secret: End Sub\nEnd Class\nSet obj = New "
                      "C\nobj.SetIt\nobj.Show"),
              "secret 1|error 438 (8, 1): Object doesn't support this property or method");
}

TEST(Classes, MethodsSeeFieldsAndCallEachOtherByBareName) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class Counter\nPrivate count\nPublic Sub Add(n): count = count + n: Report: End Sub\n"
                      "Private Sub Report: Print count: End Sub\nPublic Function Twice: Twice = Total * 2: "
                      "End Function\n"
                      "Public Property Get Total: Total = count: End Property\nEnd Class\n"
                      "Set c = New Counter\nc.Add 2\nc.Add 3\nPrint c.Twice()"),
              "2|5|10");
}

TEST(Classes, IsComparesIdentityAndNothingMembersFail) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class C: End Class\nSet a = New C: Set b = a: Set other = New C\n"
                      "Print a Is b, a Is other, Nothing Is Nothing"),
              "True False True");
    EXPECT_EQ(run.Run("Dim o\nSet o = Nothing\no.Go"), "error 91 (3, 1): Object variable not set");
    EXPECT_EQ(run.Run("x = 5\nx.Go"), "error 424 (2, 1): Object required");
    EXPECT_EQ(run.Run("Set y = 5"), "error 424 (1, 1): Object required");
    EXPECT_EQ(run.Run("Set z = New Missing"), "error 506 (1, 1): Class not defined");
}

TEST(Classes, ErrorsInsideClassTerminateAreDropped) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class Bad\nPrivate Sub Class_Terminate: Print \"ending\": x = 1 / 0: Print \"no\": End Sub\n"
                "End Class\nSet b = New Bad\nSet b = Nothing\nPrint \"continues\""),
        "ending|continues");
}

TEST(Classes, TerminateThatStoresMeKeepsTheObjectAliveAndRunsOnce) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Dim saved\nClass Phoenix\nPublic Name\nPrivate Sub Class_Terminate: Print \"terminate\": "
                "Set saved = Me: End Sub\nEnd Class\nSet p = New Phoenix: p.Name = \"risen\"\n"
                "Set p = Nothing\nPrint saved.Name\nSet saved = Nothing\nPrint \"gone\""),
        "terminate|risen|gone");
}

TEST(Classes, ReplacingAFieldReleasesTheObjectItHeld) {
    ScriptRun run;
    EXPECT_EQ(run.Run(std::string(kTracked) +
                      "Class Holder: Public Item: End Class\nSet h = New Holder\nSet h.Item = New Tracked\n"
                      "h.Item.Name = \"held\"\nSet h.Item = Nothing\nPrint \"after field\""),
              "init|bye held|after field");
}

TEST(Classes, DefaultPropertyWithArgumentsIsAssignedThroughTheObject) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class Grid\nPrivate cells(3)\nPublic Default Property Get Cell(i): Cell = cells(i): "
                      "End Property\n"
                      "Public Property Let Cell(i, v): cells(i) = v: End Property\nEnd Class\n"
                      "Set g = New Grid\ng(2) = \"two\"\ng.Cell(1) = \"one\"\nPrint g(1), g(2)"),
              "one two");
}

TEST(Classes, MethodsChangeTheCallersVariablesThroughByRefParameters) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class Swapper\nPublic Sub Swap(a, b): Dim t: t = a: a = b: b = t: End Sub\nEnd Class\n"
                      "Set s = New Swapper\nx = 1: y = 2\ns.Swap x, y\nPrint x, y"),
              "2 1");
}

TEST(Classes, MePassesTheObjectItself) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class Node\nPublic Name, Parent\nPublic Sub Adopt(child): Set child.Parent = Me: End Sub\n"
                "End Class\nSet a = New Node: a.Name = \"root\"\nSet b = New Node\na.Adopt b\n"
                "Print b.Parent.Name, b.Parent Is a"),
        "root True");
}

TEST(Classes, FixedArrayFieldsExistInEveryInstance) {
    ScriptRun run;
    EXPECT_EQ(
        run.Run("Class Board\nPublic Squares(2, 2)\nEnd Class\nSet one = New Board: Set two = New Board\n"
                "one.Squares(1, 1) = \"X\"\nPrint one.Squares(1, 1), IsEmpty(two.Squares(1, 1)), "
                "UBound(two.Squares, 2)"),
        "X True 2");
}

TEST(Classes, ReadOnlyPropertyCannotBeAssigned) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Class R\nPublic Property Get V: V = 1: End Property\nEnd Class\nSet reader = New "
                      "R\nreader.V = 2"),
              "error 501 (5, 1): Illegal assignment");
}

}  // namespace
}  // namespace taviro::vbscript
