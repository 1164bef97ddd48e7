// How scripts and the player meet: re-entrant calls, redefinition, object lifetimes, time-outs.
#include <gtest/gtest.h>

#include <ios>

#include "vbscript/array.h"
#include "vbscript/engine.h"
#include "vbscript/script_error.h"
#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;
using testing::ValueObject;

// A host method that runs a procedure of the same engine, as the player does when a script
// triggers an action that runs another script.
class Trigger final : public Object {
public:
    explicit Trigger(Engine& engine) : engine_(engine) {}
    std::u16string TypeName() const override { return u"Trigger"; }
    DispatchId MemberId(std::u16string_view) override { return 1; }
    Variant Invoke(DispatchId, InvokeKind, std::span<Variant> arguments) override {
        Variant result;
        std::u16string name = arguments.empty() ? u"" : arguments[0].Target().string();
        if (!engine_.Run(name, {}, &result)) Throw(engine_.Error().number);
        return result;
    }

private:
    Engine& engine_;
};

TEST(HostInteraction, HostCallbackMayRunAnotherProcedureOfTheSameEngine) {
    ScriptRun run;
    run.engine.AddObject(u"Host", MakeRef<Trigger>(run.engine), false);
    EXPECT_EQ(run.Run("Function Inner(): Inner = \"inner result\": End Function\n"
                      "Print \"outer sees \" & Host.Fire(\"Inner\")"),
              "outer sees inner result");
}

TEST(HostInteraction, ErrorInANestedRunReachesTheOuterScript) {
    ScriptRun run;
    run.engine.AddObject(u"Host", MakeRef<Trigger>(run.engine), false);
    EXPECT_EQ(
        run.Run(
            "Sub Broken: x = 1 / 0: End Sub\nOn Error Resume Next\nHost.Fire \"Broken\"\nPrint Err.Number"),
        "11");
}

// A host object that fails with something other than a script error (a library exception of the
// player) gives the statement error 51, which the script may trap; the engine stays usable.
class Failing final : public Object {
public:
    std::u16string TypeName() const override { return u"Failing"; }
    DispatchId MemberId(std::u16string_view) override { return 1; }
    Variant Invoke(DispatchId, InvokeKind, std::span<Variant>) override {
        throw std::ios_base::failure("basic_filebuf::underflow error reading the file");
    }
};

TEST(HostInteraction, AHostFailureThatIsNoScriptErrorIsAnInternalErrorOfTheStatement) {
    ScriptRun run;
    run.engine.AddObject(u"Host", MakeRef<Failing>(), false);
    EXPECT_EQ(run.Run("On Error Resume Next\nHost.Read\nPrint Err.Number & \" then on\""), "51 then on");
    EXPECT_FALSE(run.engine.AddCode("Host.Read"));
    EXPECT_EQ(run.engine.Error().number, 51);
    EXPECT_EQ(run.Run("Print \"still running scripts\""), "still running scripts");
}

TEST(HostInteraction, LaterCodeRedefinesAProcedure) {
    ScriptRun run;
    ASSERT_EQ(run.Run("Function Version(): Version = 1: End Function"), "");
    ASSERT_EQ(run.Run("Function Version(): Version = 2: End Function"), "");
    EXPECT_EQ(run.Run("Print Version()"), "2");
}

TEST(HostInteraction, ReAddedTextKeepsTheValuesOfItsGlobals) {
    ScriptRun run;
    const char* text = "Dim visits\nvisits = visits + 1\nFunction Count(): Count = visits: End Function";
    for (int i = 0; i < 3; ++i) ASSERT_EQ(run.Run(text), "");
    EXPECT_EQ(run.Run("Print Count()"), "3");
}

TEST(HostInteraction, ScriptObjectHeldByTheHostStopsWorkingAfterReset) {
    ScriptRun run;
    auto slot = MakeRef<ValueObject>();
    run.engine.AddObject(u"Slot", slot, false);
    ASSERT_EQ(run.Run("Class C\nPublic Function Hello(): Hello = \"hi\": End Function\nEnd Class\n"
                      "Set Slot.Value = New C"),
              "");
    Ref<Object> kept(slot->value.object());
    ASSERT_TRUE(run.engine.Reset());
    DispatchId hello = kept->MemberId(u"Hello");
    try {
        kept->Invoke(hello, InvokeKind::Get, {});
        FAIL() << "a reset engine's object ran code";
    } catch (const ScriptError& error) {
        EXPECT_EQ(error.number, err::kObjectNotSet);
    }
}

TEST(HostInteraction, ScriptObjectMayOutliveItsEngine) {
    Ref<Object> kept;
    {
        Engine engine;
        auto slot = MakeRef<ValueObject>();
        engine.AddObject(u"Slot", slot, false);
        ASSERT_TRUE(
            engine.AddCode(std::string_view("Class C\nPublic Name\nEnd Class\nSet Slot.Value = New C")));
        kept = Ref<Object>(slot->value.object());
    }
    EXPECT_EQ(kept->TypeName(), u"C");
    EXPECT_THROW(kept->Invoke(kept->MemberId(u"Name"), InvokeKind::Get, {}), ScriptError);
}

TEST(HostInteraction, TimeoutAlsoStopsRunAndEndlessRecursionThroughTheHost) {
    ScriptRun run;
    run.clockStepMs = 5;
    run.engine.Timeout(50);
    ASSERT_EQ(run.Run("Sub Spin: Do: Loop: End Sub"), "");
    EXPECT_FALSE(run.engine.Run(u"Spin"));
    EXPECT_EQ(run.engine.Error().number, err::kTimeout);
    run.engine.AddObject(u"Host", MakeRef<Trigger>(run.engine), false);
    run.engine.Timeout(-1);
    EXPECT_EQ(
        run.Run("Function Again(): Again = Host.Fire(\"Again\"): End Function\nx = Again()").substr(0, 9),
        "error 28 ");
}

TEST(HostInteraction, ArgumentsFromTheHostArriveByValue) {
    ScriptRun run;
    ASSERT_EQ(run.Run("Function Change(v): v = v & \"!\": Change = v: End Function"), "");
    Variant argument(u"text");
    Variant result;
    ASSERT_TRUE(run.engine.Run(u"Change", std::span<const Variant>(&argument, 1), &result));
    EXPECT_EQ(result.string(), u"text!");
    EXPECT_EQ(argument.string(), u"text");
}

TEST(HostInteraction, ArraysFromTheHostAreCopiedIntoScripts) {
    ScriptRun run;
    ASSERT_EQ(
        run.Run("Function Sum(list): For Each v In list: Sum = Sum + v: Next: list(0) = 100: End Function"),
        "");
    Variant values[] = {Variant(int16_t{1}), Variant(int16_t{2})};
    std::vector<Variant> items(values, values + 2);
    Variant list(Array::FromValues(items));
    Variant result;
    ASSERT_TRUE(run.engine.Run(u"Sum", std::span<const Variant>(&list, 1), &result));
    EXPECT_EQ(result.integer(), 3);
    EXPECT_EQ(list.array()->at(0).integer(), 1);
}

}  // namespace
}  // namespace taviro::vbscript
