// Test helper: an engine whose global Print records values, and a few host objects for tests.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "vbscript/engine.h"
#include "vbscript/object.h"

namespace taviro::vbscript::testing {

// Runs scripts in one engine. Scripts write with "Print value" (several values are joined by spaces);
// Output() gives the lines joined by "|".
class ScriptRun {
public:
    ScriptRun();
    // Adds code; on failure the result reads "error NUMBER (LINE, COLUMN): DESCRIPTION".
    std::string Run(std::string_view code);
    // The lines printed so far, joined by "|", then cleared.
    std::string Output();
    Engine engine;
    std::vector<std::string> lines;
    int64_t nowMs = 1000;     // the engine's clock
    int64_t clockStepMs = 0;  // how far the clock moves each time the engine reads it
    int64_t localTimeMs = 0;  // the local date and time: 1 January 1970 at midnight
};

// "error NUMBER (LINE, COLUMN): DESCRIPTION" of the engine's last error.
std::string DescribeError(const Engine& engine);

// A host object with properties by name, an indexed property Item(i) as default, and a counter
// of how often MemberId was asked (to prove call sites cache it).
class FakeHostObject final : public Object {
public:
    std::u16string TypeName() const override { return u"FakeHost"; }
    DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;
    Ref<Enumerator> Enumerate() override;

    std::map<std::u16string, Variant> properties;  // folded name -> value
    std::vector<Variant> items;                    // Item(i), the default member
    int memberIdCalls = 0;
    bool acceptAnyName = true;  // false: only names already in properties exist

private:
    std::vector<std::u16string> names_;
};

// A host object with only a default property Value, as the player registers project variables.
class ValueObject final : public Object {
public:
    std::u16string TypeName() const override { return u"Variable"; }
    DispatchId MemberId(std::u16string_view name) override;
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;
    Variant value;
};

}  // namespace taviro::vbscript::testing
