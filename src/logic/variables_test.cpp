#include "logic/variables.h"

#include <gtest/gtest.h>

#include "platform/game_error.h"
#include "support/test_project.h"
#include "vbscript/number_text.h"

namespace taviro::logic {
namespace {

using std::string;
using testing::FieldsLine;

struct VariablesFixture : ::testing::Test {
    explicit VariablesFixture(const string& variablesFile = FieldsLine({0.0}) + FieldsLine({string("Door")}) +
                                                            FieldsLine({string("Light"), string("***")}) +
                                                            FieldsLine({string("Score")})) {
        test.Write("Config/General", testing::GeneralFile().Text());
        test.Write("Config/Variables", variablesFile);
        EXPECT_TRUE(test.Initialize());
        variables.LoadVariables();
    }
    const std::vector<testing::RecordingDialogs::Shown>& shown() { return test.dialogs.shown(); }

    testing::TestProject test;
    ProjectVariables variables{*test.project};
};

TEST_F(VariablesFixture, NamesBeforeTheMarkerAreIntegersAndAfterItVariants) {
    ASSERT_EQ(variables.Variables.Count(), 2u);
    EXPECT_EQ(variables.Variables.Item(1)->Name, "Door");
    EXPECT_EQ(variables.Variables.Item(2)->Name, "Light");
    ASSERT_EQ(variables.VariablesVariant.Count(), 1u);
    EXPECT_EQ(variables.VariablesVariant.Item("SCORE")->Name, "Score");
    EXPECT_EQ(variables.VariablesVariant.Item(1)->Value.type(), vbscript::VarType::Integer);
    EXPECT_TRUE(shown().empty());
}

TEST_F(VariablesFixture, ValueLookupIsExactButChangesIgnoreCase) {
    variables.ChangeVariableValue("door", 1, false);
    EXPECT_EQ(variables.GetVariableValue("Door"), 1);
    EXPECT_EQ(variables.GetVariableValue("door"), -32000);
    EXPECT_EQ(variables.GetVariableValue("Nothing"), -32000);
    EXPECT_TRUE(variables.DoesIntergerVariableExist("LIGHT"));
    EXPECT_FALSE(variables.DoesIntergerVariableExist("Score"));
    EXPECT_TRUE(variables.DoesVariantVariableExist("score"));
}

TEST_F(VariablesFixture, InvertingFlipsTheLowestBit) {
    variables.ChangeVariableValue("Door", 5, false);
    variables.ChangeVariableValue("Door", -1, false);
    EXPECT_EQ(variables.GetVariableValue("Door"), 4);
    variables.ChangeVariableValue("Light", -1, false);
    variables.ChangeVariableValue("Light", -1, false);
    EXPECT_EQ(variables.GetVariableValue("Light"), 0);
    variables.ChangeVariableValue("Light", -1, true);
    EXPECT_EQ(variables.GetVariableValue("Light"), -1);
}

TEST_F(VariablesFixture, ChangingAMissingVariableIsReportedAndTheGameGoesOn) {
    variables.ChangeVariableValue("Window", 1, false);
    variables.ChangeVariableVariantValue("Window", vbscript::Variant(3.5));
    ASSERT_EQ(shown().size(), 2u);
    EXPECT_TRUE(shown()[0].request.text.ends_with(
        "Error description: Unable to change the value of the following variable: 'Window'. The variable may "
        "have been removed during the project creation."));
    variables.ChangeVariableVariantValue("score", vbscript::Variant(vbscript::FromUtf8OrWindows1252("ten")));
    EXPECT_EQ(VariantText(variables.VariablesVariant.Item(1)->Value), "ten");
}

TEST_F(VariablesFixture, PluginVariablesAreAddedOnlyWhenNew) {
    variables.LoadVariables({"door", "Lamp"}, {"Score", "Name"});
    EXPECT_EQ(variables.Variables.Count(), 3u);
    EXPECT_EQ(variables.Variables.Item(3)->Name, "Lamp");
    EXPECT_EQ(variables.VariablesVariant.Count(), 2u);
}

struct DuplicateVariables : VariablesFixture {
    DuplicateVariables()
        : VariablesFixture(FieldsLine({0.0, string("Door"), string("Key"), string("DOOR"), string("Late")})) {
    }
};

TEST_F(DuplicateVariables, NamesDifferingOnlyByCaseStopTheLoadingWithAReport) {
    EXPECT_EQ(variables.Variables.Count(), 2u);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_TRUE(shown()[0].request.text.ends_with(
        "Error description: Unable to load the list of variables. There may be a variable that has un "
        "unsupported name, or there may be two variables that have the same name (check also the global "
        "variables that are declared in the enabled plugins)."));
}

struct ManyVariables : VariablesFixture {
    static string File() {
        string file = FieldsLine({0.0});
        for (int i = 1; i <= 30; ++i) file += FieldsLine({"V" + std::to_string(i)});
        return file;
    }
    ManyVariables() : VariablesFixture(File()) {}
};

TEST_F(ManyVariables, ListingShowsTwentyFiveLinesPerBox) {
    variables.ChangeVariableValue("V3", 1, false);
    variables.ViewVariables();
    ASSERT_EQ(shown().size(), 2u);
    const string& first = shown()[0].request.text;
    EXPECT_EQ(shown()[0].request.title, "Variables Status");
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 25);
    EXPECT_NE(first.find("V3 = 1\n"), string::npos);
    const string& second = shown()[1].request.text;
    EXPECT_TRUE(second.starts_with(string(52, ' ') + "\n"));
    EXPECT_NE(second.find("V30 = 0\n\n-------------------------- VARIANT VARIABLES:"), string::npos);
    EXPECT_TRUE(second.ends_with("\n\n"));
}

TEST(KeyedCollection, RemovingKeepsOrderAndFreesTheKey) {
    VariablesCollection collection;
    collection.Add("Hall", 3, "");
    collection.Add("Hall", 3, "");
    collection.Add("Door", 0, "Door");
    collection.Remove(3);
    EXPECT_EQ(collection.Count(), 2u);
    EXPECT_EQ(collection.Find("door"), nullptr);
    collection.Add("Door", 1, "DOOR");
    EXPECT_EQ(collection.Item("door")->Value, 1);
    EXPECT_THROW(collection.Item(4), GameError);
    EXPECT_THROW(collection.Add("x", 0, "door"), GameError);
}

}  // namespace
}  // namespace taviro::logic
