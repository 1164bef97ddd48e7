// The engine interface the player uses: objects, code, procedures, reset, errors and the code cache.
#include "vbscript/engine.h"

#include <gtest/gtest.h>

#include "vbscript/code_cache.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"
#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::FakeHostObject;
using testing::ScriptRun;
using testing::ValueObject;

TEST(Engine, AddCodeRunsGlobalStatementsEveryTimeAndKeepsProcedures) {
    ScriptRun run;
    const char* procedures =
        "Dim counter\ncounter = counter + 1\nFunction Greet(n): Greet = \"hi \" & n: End Function";
    EXPECT_EQ(run.Run(procedures), "");
    EXPECT_EQ(run.Run(procedures), "");
    EXPECT_EQ(run.Run("Print counter, Greet(\"Ann\")"), "2 hi Ann");
}

TEST(Engine, RunCallsAProcedureWithArgumentsAndReturnsItsValue) {
    ScriptRun run;
    ASSERT_EQ(run.Run("Function Mul(a, b): Mul = a * b: End Function\nSub Hello: Print \"hello\": End Sub"),
              "");
    Variant result;
    Variant arguments[] = {Variant(int16_t{6}), Variant(int16_t{7})};
    ASSERT_TRUE(run.engine.Run(u"MUL", arguments, &result));
    EXPECT_EQ(result.type(), VarType::Integer);
    EXPECT_EQ(result.integer(), 42);
    ASSERT_TRUE(run.engine.Run(u"hello"));
    EXPECT_EQ(run.Output(), "hello");
    EXPECT_FALSE(run.engine.Run(u"NoSuchThing"));
    EXPECT_EQ(run.engine.Error().number, err::kSubNotDefined);
}

TEST(Engine, RunReportsRuntimeErrorsWithPosition) {
    ScriptRun run;
    ASSERT_EQ(run.Run("Sub Broken\n  x = 1\n  y = x / 0\nEnd Sub"), "");
    EXPECT_FALSE(run.engine.Run(u"Broken"));
    EXPECT_EQ(testing::DescribeError(run.engine), "error 11 (3, 3): Division by zero");
    EXPECT_EQ(run.engine.Error().source, u"Taviro VBScript runtime error");
}

TEST(Engine, ProceduresListsTheLoadedProcedureNames) {
    ScriptRun run;
    ASSERT_EQ(run.Run("Sub OnClick: End Sub\nFunction Score(): End Function\nDim notAProcedure"), "");
    std::vector<std::u16string> names = run.engine.Procedures();
    EXPECT_NE(std::find(names.begin(), names.end(), u"OnClick"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), u"Score"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), u"notAProcedure"), names.end());
}

TEST(Engine, ResetDiscardsCodeAndNamedObjects) {
    ScriptRun run;
    auto door = MakeRef<ValueObject>();
    run.engine.AddObject(u"Door", door, false);
    ASSERT_EQ(run.Run("Dim kept: kept = 1\nSub S: End Sub"), "");
    ASSERT_TRUE(run.engine.Reset());
    EXPECT_TRUE(run.engine.Procedures().empty());
    EXPECT_EQ(run.Run("Option Explicit\nx = Door"), "error 500 (2, 1): Variable is undefined");
    EXPECT_EQ(run.Run("Option Explicit\nx = kept"), "error 500 (2, 1): Variable is undefined");
}

// A host object whose method resets the engine it belongs to, while that engine is running.
class Resetter final : public Object {
public:
    explicit Resetter(Engine& engine) : engine_(engine) {}
    std::u16string TypeName() const override { return u"Resetter"; }
    DispatchId MemberId(std::u16string_view) override { return 1; }
    Variant Invoke(DispatchId, InvokeKind, std::span<Variant>) override { return Variant(engine_.Reset()); }

private:
    Engine& engine_;
};

TEST(Engine, ResetIsRefusedWhileAScriptOfTheEngineRuns) {
    ScriptRun run;
    run.engine.AddObject(u"Host", MakeRef<Resetter>(run.engine), false);
    EXPECT_EQ(run.Run("Print Host.ResetNow()"), "False");
}

TEST(HostObjects, NamedObjectAssignedAsAValueSetsItsDefaultProperty) {
    ScriptRun run;
    auto door = MakeRef<ValueObject>();
    run.engine.AddObject(u"Door", door, false);
    EXPECT_EQ(run.Run("Door = 1\nPrint Door + 1, Door.Value, TypeName(Door)"), "2 1 Variable");
    EXPECT_EQ(door->value.integer(), 1);
}

TEST(HostObjects, PropertiesByNameAreReadAndWrittenCaseInsensitively) {
    ScriptRun run;
    auto hotspot = MakeRef<FakeHostObject>();
    run.engine.AddObject(u"Hotspot", hotspot, false);
    EXPECT_EQ(run.Run("Hotspot.Visible = True\nPrint HOTSPOT.visible"), "True");
    EXPECT_EQ(run.Run("Print Hotspot.Missing"),
              "error 438 (1, 1): Object doesn't support this property or method");
}

TEST(HostObjects, IndexedDefaultPropertyReachesItemsAndTheirMembers) {
    ScriptRun run;
    auto list = MakeRef<FakeHostObject>();
    auto third = MakeRef<FakeHostObject>();
    list->items = {Variant(int16_t{0}), Variant(int16_t{0}), Variant(int16_t{0}),
                   Variant(Ref<Object>(third))};
    run.engine.AddObject(u"Hotspot", list, false);
    EXPECT_EQ(run.Run("Hotspot(3).Visible = False\nHotspot(1) = 5\nPrint Hotspot(3).Visible, Hotspot(1), "
                      "Hotspot.Count"),
              "False 5 4");
    EXPECT_EQ(third->properties[u"visible"].boolean(), false);
}

TEST(HostObjects, MemberNamesAreResolvedOncePerCallSite) {
    ScriptRun run;
    auto host = MakeRef<FakeHostObject>();
    run.engine.AddObject(u"Obj", host, false);
    ASSERT_EQ(run.Run("Obj.Total = 0\nFor i = 1 To 500: Obj.Total = Obj.Total + i: Next\nPrint Obj.Total"),
              "125250");
    EXPECT_LE(host->memberIdCalls, 4);
}

TEST(HostObjects, MembersOfAGlobalObjectAreGlobalNames) {
    ScriptRun run;
    auto game = MakeRef<FakeHostObject>();
    game->acceptAnyName = false;
    game->properties[u"score"] = Variant(int16_t{10});
    run.engine.AddObject(u"Game", game, true);
    EXPECT_EQ(run.Run("Print Score\nScore = Score + 5\nPrint Game.Score"), "10|15");
}

TEST(HostObjects, ScriptObjectsCanBeCalledThroughTheObjectInterface) {
    ScriptRun run;
    auto slot = MakeRef<ValueObject>();
    run.engine.AddObject(u"Slot", slot, false);
    ASSERT_EQ(
        run.Run("Class Greeter\nPublic Name\nPublic Function Hello(who): Hello = Name & \" greets \" & who: "
                "End Function\nEnd Class\nSet g = New Greeter: g.Name = \"Ann\"\nSet Slot.Value = g"),
        "");
    ASSERT_TRUE(slot->value.IsObject());
    Object* greeter = slot->value.object();
    DispatchId hello = greeter->MemberId(u"HELLO");
    ASSERT_NE(hello, kUnknownMember);
    Variant argument(u"Bob");
    Variant result = greeter->Invoke(hello, InvokeKind::Get, std::span<Variant>(&argument, 1));
    EXPECT_EQ(result.string(), u"Ann greets Bob");
}

TEST(CodeCache, FindsOnlyTheExactTextItWasGiven) {
    CodeCache cache;
    auto module = std::make_shared<Module>();
    std::string text(20000, 'a');
    cache.Insert(text, module);
    EXPECT_EQ(cache.Find(text), module);
    std::string changed = text;
    changed[10001] = 'b';  // a byte the sampled hash may skip: the full comparison must still tell them apart
    EXPECT_EQ(cache.Find(changed), nullptr);
    EXPECT_EQ(cache.Find(text.substr(1)), nullptr);
}

TEST(Engine, Utf8AndWindows1252TextsDecodeTheSame) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Print Len(\"caf\xC3\xA9\"), AscW(Mid(\"caf\xC3\xA9\", 4))"), "4 233");
    EXPECT_EQ(run.Run("Print Len(\"caf\xE9\"), AscW(Mid(\"caf\xE9\", 4))"), "4 233");
}

}  // namespace
}  // namespace taviro::vbscript
