// Project variables.
#include "logic/variables.h"

#include "platform/game_error.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::logic {

template <typename Member>
std::shared_ptr<Member> KeyedCollection<Member>::Add(std::string name, MemberValue value,
                                                     std::string_view key) {
    std::string folded = platform::FoldCase(key);
    if (!folded.empty() && byKey_.contains(folded)) {
        throw GameError(457, "This key is already associated with an element of this collection");
    }
    auto member = std::make_shared<Member>(Member{std::move(name), std::move(value)});
    members_.push_back(member);
    keys_.push_back(folded);
    if (!folded.empty()) byKey_.emplace(folded, member);
    return member;
}

template <typename Member>
std::shared_ptr<Member> KeyedCollection<Member>::Item(size_t index) const {
    if (index < 1 || index > members_.size()) throw GameError(9, "Subscript out of range");
    return members_[index - 1];
}

template <typename Member>
std::shared_ptr<Member> KeyedCollection<Member>::Find(std::string_view key) const {
    auto found = byKey_.find(platform::FoldCase(key));
    return found == byKey_.end() ? nullptr : found->second;
}

template <typename Member>
std::shared_ptr<Member> KeyedCollection<Member>::Item(std::string_view key) const {
    std::shared_ptr<Member> member = Find(key);
    if (!member) throw GameError(5, "Invalid procedure call or argument");
    return member;
}

template <typename Member>
void KeyedCollection<Member>::Remove(size_t index) {
    if (index < 1 || index > members_.size()) throw GameError(9, "Subscript out of range");
    if (!keys_[index - 1].empty()) byKey_.erase(keys_[index - 1]);
    members_.erase(members_.begin() + static_cast<std::ptrdiff_t>(index - 1));
    keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(index - 1));
}

template <typename Member>
void KeyedCollection<Member>::Clear() {
    members_.clear();
    keys_.clear();
    byKey_.clear();
}

template class KeyedCollection<ClassVariable>;
template class KeyedCollection<ClassVariableVariant>;

namespace {

constexpr std::string_view kVariantMarker = "***";

}  // namespace

std::optional<std::string> VariantText(const vbscript::Variant& value) {
    try {
        return vbscript::ToUtf8(vbscript::ToString(value));
    } catch (const vbscript::ScriptError&) {
        return std::nullopt;
    }
}

ProjectVariables::ProjectVariables(project::Project& project) : project_(project) {}

void ProjectVariables::LoadVariables(const std::vector<std::string>& pluginIntegers,
                                     const std::vector<std::string>& pluginVariants) {
    // 1. Every variable goes.
    Variables.Clear();
    VariablesVariant.Clear();
    try {
        // 2-4. The project's own: integer names before the marker, variant names after it.
        if (std::optional<std::string> text =
                project_.ReadTextFile(project_.paths.ConfigPath + "Variables")) {
            project::FieldReader reader(std::move(*text));
            if (!reader.AtEnd()) reader.Skip();
            bool variants = false;
            while (!reader.AtEnd()) {
                std::string name = reader.ReadString();
                if (name == kVariantMarker) {
                    variants = true;
                } else if (variants) {
                    VariablesVariant.Add(name, vbscript::Variant(int16_t{0}), name);
                } else {
                    Variables.Add(name, 0, name);
                }
            }
        }
        // 5. The plugins' global variables that the project does not declare itself.
        for (const std::string& name : pluginIntegers) {
            if (!DoesIntergerVariableExist(name)) Variables.Add(name, 0, name);
        }
        for (const std::string& name : pluginVariants) {
            if (!DoesVariantVariableExist(name))
                VariablesVariant.Add(name, vbscript::Variant(int16_t{0}), name);
        }
    } catch (const std::exception&) {
        project_.reports().ShowErrorReport(
            " Unable to load the list of variables. There may be a variable that has un unsupported name, or "
            "there "
            "may be two variables that have the same name (check also the global variables that are declared "
            "in "
            "the enabled plugins).");
    }
}

int16_t ProjectVariables::GetVariableValue(std::string_view name) const {
    for (const auto& variable : Variables.members()) {
        if (variable->Name == name) return variable->Value;
    }
    return -32000;
}

void ProjectVariables::ChangeVariableValue(std::string_view name, int16_t newValue, bool neverInvert) {
    std::shared_ptr<ClassVariable> variable = Variables.Find(name);
    if (!variable) return ReportMissingVariable(name);
    variable->Value = newValue == -1 && !neverInvert ? static_cast<int16_t>(variable->Value ^ 1) : newValue;
}

void ProjectVariables::ChangeVariableVariantValue(std::string_view name, const vbscript::Variant& newValue) {
    std::shared_ptr<ClassVariableVariant> variable = VariablesVariant.Find(name);
    if (!variable) return ReportMissingVariable(name);
    variable->Value = newValue;
}

void ProjectVariables::ReportMissingVariable(std::string_view name) {
    project_.reports().ShowErrorReport(" Unable to change the value of the following variable: '" +
                                       std::string(name) +
                                       "'. The variable may have been removed during the project creation.");
}

bool ProjectVariables::DoesIntergerVariableExist(std::string_view name) const {
    return Variables.Find(name) != nullptr;
}

bool ProjectVariables::DoesVariantVariableExist(std::string_view name) const {
    return VariablesVariant.Find(name) != nullptr;
}

void ProjectVariables::ViewVariables() {
    const std::string kRule = "--------------------------";
    std::vector<std::string> lines;
    lines.push_back(
        "This window allows you to view the value of all the project variables. To create a new project "
        "variable, click \"Project Variables...\" from the frame editor menu. To manually change the value "
        "of a "
        "variable, click \"Execute VBS code...\" from the Debug menu, and then enter: \"VARIABLE_NAME = "
        "NEW_VALUE\" (without the quotes).");
    lines.insert(lines.end(), {"", "", kRule + " INTEGER VARIABLES: " + kRule + std::string(13, ' '), ""});
    for (const auto& variable : Variables.members()) {
        lines.push_back(variable->Name + " = " + std::to_string(variable->Value));
    }
    lines.insert(lines.end(), {"", kRule + " VARIANT VARIABLES: " + kRule + std::string(13, ' '), ""});
    for (const auto& variable : VariablesVariant.members()) {
        if (std::optional<std::string> text = VariantText(variable->Value)) {
            lines.push_back(variable->Name + " = " + *text);
        }
    }

    platform::MessageBoxRequest box;
    box.title = "Variables Status";
    box.icon = platform::MessageIcon::Information;
    for (size_t i = 0; i < lines.size(); ++i) {
        box.text += lines[i] + "\n";
        bool last = i + 1 == lines.size();
        if ((i + 1) % 25 == 0 && !last) {
            project_.reports().dialogs().MessageBox(box);
            box.text = std::string(52, ' ') + "\n";
        }
    }
    box.text += "\n";
    project_.reports().dialogs().MessageBox(box);
}

}  // namespace taviro::logic
