// The project variables: integer variables that actions use as switches, and variant variables
// that hold whatever a script puts in them. Names are keys compared without regard to case;
// members keep the order in which they were added.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "project/project.h"
#include "vbscript/variant.h"

namespace taviro::logic {

struct ClassVariable {
    std::string Name;
    int16_t Value = 0;
};

struct ClassVariableVariant {
    std::string Name;
    vbscript::Variant Value;
};

// An ordered collection of variables, optionally keyed by name (without regard to case). Members
// are shared so that the script host can keep a variable it exposes under its name.
template <typename Member>
class KeyedCollection {
public:
    using MemberValue = decltype(Member::Value);

    // Adds a member; with a key, a second member with the same key is error 457.
    std::shared_ptr<Member> Add(std::string name, MemberValue value, std::string_view key);
    // 1-based index; error 9 when out of range.
    std::shared_ptr<Member> Item(size_t index) const;
    // Error 5 when no member has the key.
    std::shared_ptr<Member> Item(std::string_view key) const;
    std::shared_ptr<Member> Find(std::string_view key) const;
    void Remove(size_t index);
    void Clear();
    size_t Count() const { return members_.size(); }
    const std::vector<std::shared_ptr<Member>>& members() const { return members_; }

private:
    std::vector<std::shared_ptr<Member>> members_;
    std::vector<std::string> keys_;  // folded key of each member, "" when none
    std::unordered_map<std::string, std::shared_ptr<Member>> byKey_;
};

using VariablesCollection = KeyedCollection<ClassVariable>;
using VariantCollection = KeyedCollection<ClassVariableVariant>;

// The game's variables and the list of hotspots removed for the rest of the game.
class ProjectVariables {
public:
    explicit ProjectVariables(project::Project& project);

    // Creates every variable of the project's "Variables" file with the value 0. Plugin variables
    // (names not already declared) are added after the project's own.
    void LoadVariables(const std::vector<std::string>& pluginIntegers = {},
                       const std::vector<std::string>& pluginVariants = {});

    // The integer variable whose name is exactly name (letter case counts); -32000 when none.
    int16_t GetVariableValue(std::string_view name) const;

    // Sets the integer variable (found without regard to case); -1 inverts its lowest bit unless
    // neverInvert. A missing variable is reported and nothing changes.
    void ChangeVariableValue(std::string_view name, int16_t newValue, bool neverInvert);
    void ChangeVariableVariantValue(std::string_view name, const vbscript::Variant& newValue);

    bool DoesIntergerVariableExist(std::string_view name) const;
    bool DoesVariantVariableExist(std::string_view name) const;

    // The debug listing of every variable, in message boxes of 25 lines.
    void ViewVariables();

    VariablesCollection Variables;
    VariantCollection VariablesVariant;
    VariablesCollection Disappear;  // Name = frame name, Value = hotspot number; no keys

private:
    void ReportMissingVariable(std::string_view name);

    project::Project& project_;
};

// The text of a variant value for listings; nullopt when it cannot be shown as text.
std::optional<std::string> VariantText(const vbscript::Variant& value);

}  // namespace taviro::logic
