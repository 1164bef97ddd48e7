// Scripting.Dictionary through CreateObject: keys, items, order, comparison modes and errors.
#include <gtest/gtest.h>

#include "vbscript/script_test_support.h"

namespace taviro::vbscript {
namespace {

using testing::ScriptRun;

std::string WithDictionary(ScriptRun& run, const std::string& code) {
    run.engine.AllowObjectCreation(true);
    return run.Run("Set d = CreateObject(\"Scripting.Dictionary\")\n" + code);
}

TEST(Dictionary, CreatedOnlyWhenTheHostAllowsIt) {
    ScriptRun run;
    EXPECT_EQ(run.Run("Set d = CreateObject(\"Scripting.Dictionary\")"),
              "error 429 (1, 1): ActiveX component can't create object");
    run.engine.AllowObjectCreation(true);
    EXPECT_EQ(run.Run("Set d = CreateObject(\"scripting.DICTIONARY\")\nPrint TypeName(d)"), "Dictionary");
    EXPECT_EQ(run.Run("Set x = CreateObject(\"No.Such\")"),
              "error 429 (1, 1): ActiveX component can't create object");
}

TEST(Dictionary, HostFactoryCreatesItsOwnObjects) {
    ScriptRun run;
    run.engine.AllowObjectCreation(true);
    run.engine.SetObjectFactory([](std::u16string_view progId) -> Ref<Object> {
        if (progId != u"Game.Thing") return {};
        auto object = MakeRef<testing::ValueObject>();
        object->value = Variant(u"made");
        return Ref<Object>(object.get());
    });
    EXPECT_EQ(run.Run("Set t = CreateObject(\"Game.Thing\")\nPrint t"), "made");
    EXPECT_EQ(run.Run("Set t = CreateObject(\"Game.Other\")"),
              "error 429 (1, 1): ActiveX component can't create object");
}

TEST(Dictionary, KeysAndItemsKeepTheOrderOfAdding) {
    ScriptRun run;
    EXPECT_EQ(
        WithDictionary(run,
                       "d.Add \"b\", 1\nd.Add \"a\", 2\nd(\"c\") = 3\n"
                       "Print d.Count, Join(d.Keys, \",\"), Join(d.Items, \",\"), d(\"a\"), d.Item(\"b\")\n"
                       "For Each k In d: Print k: Next"),
        "3 b,a,c 1,2,3 2 1|b|a|c");
    EXPECT_EQ(WithDictionary(run,
                             "d.Add \"x\", 1\nd.Remove \"x\"\nd.Add \"y\", 2\nd.Add \"x\", 3\n"
                             "Print Join(d.Keys, \",\"), d.Exists(\"x\"), d.Exists(\"z\")"),
              "y,x True False");
}

TEST(Dictionary, ReadingAMissingKeyAddsItEmpty) {
    ScriptRun run;
    EXPECT_EQ(WithDictionary(run, "v = d(\"nope\")\nPrint IsEmpty(v), d.Count, d.Exists(\"nope\")"),
              "True 1 True");
}

TEST(Dictionary, NumbersAndTextAreDifferentKeys) {
    ScriptRun run;
    EXPECT_EQ(WithDictionary(run,
                             "d.Add 1, \"number\"\nd.Add \"1\", \"text\"\nPrint d.Count, d(1), d(\"1\"), "
                             "d(CDbl(1)), d(CByte(1))\nk = d.Keys\nPrint TypeName(k(0))"),
              "2 number text number number|Integer");
    EXPECT_EQ(WithDictionary(run, "d.Add \"A\", 1\nd.Add \"a\", 2\nPrint d.Count"), "2");
}

TEST(Dictionary, TextCompareModeFoldsCaseAndIsFixedOnceFilled) {
    ScriptRun run;
    EXPECT_EQ(WithDictionary(run,
                             "d.CompareMode = vbTextCompare\nd.Add \"Key\", 1\nPrint d.Exists(\"KEY\"), "
                             "d(\"key\"), d.CompareMode, Join(d.Keys)"),
              "True 1 1 Key");
    EXPECT_EQ(WithDictionary(run, "d.Add \"k\", 1\nd.CompareMode = 1"),
              "error 5 (3, 1): Invalid procedure call or argument");
}

TEST(Dictionary, ObjectsAreKeysByIdentityAndItemsBySet) {
    ScriptRun run;
    EXPECT_EQ(
        WithDictionary(run,
                       "Set a = New RegExp: Set b = New RegExp\nd.Add a, \"first\"\nd.Add b, \"second\"\n"
                       "Set d(\"obj\") = a\nPrint d(b), d(a), d(\"obj\") Is a, d.Count"),
        "second first True 3");
}

TEST(Dictionary, RenamingAndRemovingKeys) {
    ScriptRun run;
    EXPECT_EQ(
        WithDictionary(run,
                       "d.Add \"a\", 1\nd.Add \"b\", 2\nd.Key(\"a\") = \"z\"\n"
                       "Print Join(d.Keys, \",\"), d(\"z\")\nd.RemoveAll\nPrint d.Count, UBound(d.Keys)"),
        "z,b 1|0 -1");
    EXPECT_EQ(WithDictionary(run, "d.Add \"a\", 1\nd.Add \"a\", 2"),
              "error 457 (3, 1): This key is already associated with an element of this collection");
    EXPECT_EQ(WithDictionary(run, "d.Remove \"gone\""), "error 32811 (2, 1): Element not found");
    EXPECT_EQ(WithDictionary(run, "d.Add \"a\", 1: d.Add \"b\", 2\nd.Key(\"a\") = \"b\""),
              "error 457 (3, 1): This key is already associated with an element of this collection");
    EXPECT_EQ(WithDictionary(run, "d.Add Array(1), 1"), "error 13 (2, 1): Type mismatch");
}

TEST(Dictionary, ManyRemovalsKeepLookupsRight) {
    ScriptRun run;
    EXPECT_EQ(WithDictionary(run,
                             "For i = 1 To 1000: d.Add i, i * 2: Next\n"
                             "For i = 1 To 1000 Step 2: d.Remove i: Next\n"
                             "Print d.Count, d(2), d(1000), d.Exists(999), d.Keys()(0), d.Items()(499)"),
              "500 4 2000 False 2 2000");
}

TEST(Dictionary, ItemsHoldCopiesOfArrays) {
    ScriptRun run;
    EXPECT_EQ(WithDictionary(run, "a = Array(1, 2)\nd.Add \"a\", a\na(0) = 9\nPrint d(\"a\")(0)"), "1");
}

}  // namespace
}  // namespace taviro::vbscript
