// Test helpers for running scripts.
#include "vbscript/script_test_support.h"

#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript::testing {

namespace {
// The "Print" sub, a member of a global named object whose members are global.
class Printer final : public Object {
public:
    explicit Printer(std::vector<std::string>& lines) : lines_(lines) {}
    std::u16string TypeName() const override { return u"Printer"; }
    DispatchId MemberId(std::u16string_view name) override {
        return FoldCase(name) == u"print" ? 1 : kUnknownMember;
    }
    Variant Invoke(DispatchId id, InvokeKind, std::span<Variant> arguments) override {
        if (id != 1) Throw(err::kNoSuchMember);
        std::string line;
        for (size_t i = 0; i < arguments.size(); ++i) {
            if (i > 0) line += ' ';
            const Variant& value = Arg(arguments, i);
            line += value.IsNull() ? "Null" : value.IsArray() ? "<array>" : ToUtf8(ToString(value));
        }
        lines_.push_back(line);
        return {};
    }

private:
    std::vector<std::string>& lines_;
};

class ItemWalker final : public Enumerator {
public:
    explicit ItemWalker(Ref<FakeHostObject> owner) : owner_(std::move(owner)) {}
    bool Next(Variant& item) override {
        if (index_ >= owner_->items.size()) return false;
        item = owner_->items[index_++];
        return true;
    }

private:
    Ref<FakeHostObject> owner_;
    size_t index_ = 0;
};
}  // namespace

ScriptRun::ScriptRun() : engine([this] { return nowMs += clockStepMs; }, [this] { return localTimeMs; }) {
    engine.AddObject(u"Printer", MakeRef<Printer>(lines), true);
}

std::string DescribeError(const Engine& engine) {
    const ErrorInfo& error = engine.Error();
    return "error " + std::to_string(error.number) + " (" + std::to_string(error.line) + ", " +
           std::to_string(error.column) + "): " + ToUtf8(error.description);
}

std::string ScriptRun::Run(std::string_view code) {
    bool ok = engine.AddCode(code);
    std::string output = Output();
    if (ok) return output;
    return output.empty() ? DescribeError(engine) : output + "|" + DescribeError(engine);
}

std::string ScriptRun::Output() {
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) joined += (i ? "|" : "") + lines[i];
    lines.clear();
    return joined;
}

DispatchId FakeHostObject::MemberId(std::u16string_view name) {
    ++memberIdCalls;
    std::u16string folded = FoldCase(name);
    if (folded == u"item") return kDefaultMember;
    if (folded == u"count") return 1;
    if (folded == u"missing") return kUnknownMember;
    for (size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] == folded) return static_cast<DispatchId>(i) + 2;
    }
    if (!acceptAnyName && !properties.count(folded)) return kUnknownMember;
    names_.push_back(folded);
    return static_cast<DispatchId>(names_.size()) + 1;
}

const void* FakeHostObject::DispatchKey() const { return this; }

Variant FakeHostObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (id == kDefaultMember) {
        size_t indexCount = kind == InvokeKind::Get ? arguments.size() : arguments.size() - 1;
        if (indexCount != 1) Throw(err::kWrongArgumentCount);
        int32_t index = ToLong(arguments[0]);
        if (index < 0 || static_cast<size_t>(index) >= items.size()) Throw(err::kSubscriptOutOfRange);
        if (kind == InvokeKind::Get) return items[static_cast<size_t>(index)];
        items[static_cast<size_t>(index)] = arguments.back();
        return {};
    }
    if (id == 1) return Variant(static_cast<int32_t>(items.size()));
    const std::u16string& name = names_.at(static_cast<size_t>(id - 2));
    if (kind == InvokeKind::Get) {
        if (!arguments.empty()) Throw(err::kWrongArgumentCount);
        return properties[name];
    }
    properties[name] = arguments.back();
    return {};
}

Ref<Enumerator> FakeHostObject::Enumerate() { return MakeRef<ItemWalker>(Ref<FakeHostObject>(this)); }

DispatchId ValueObject::MemberId(std::u16string_view name) {
    return FoldCase(name) == u"value" ? kDefaultMember : kUnknownMember;
}

Variant ValueObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (id != kDefaultMember) Throw(err::kNoSuchMember);
    if (kind == InvokeKind::Get) {
        if (!arguments.empty()) Throw(err::kWrongArgumentCount);
        return value;
    }
    if (arguments.size() != 1) Throw(err::kWrongArgumentCount);
    value = arguments[0];
    return {};
}

}  // namespace taviro::vbscript::testing
