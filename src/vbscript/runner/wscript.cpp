// The runner's WScript, WScript.Arguments and WScript.StdOut objects.
#include "wscript.h"

#include <cstdlib>

#include "vbscript/array.h"
#include "vbscript/builtins.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::vbscript {

namespace {
// Looks a name up in a member list whose index is the DispatchId.
DispatchId FindMember(std::u16string_view name, std::initializer_list<std::u16string_view> members) {
    std::u16string folded = FoldCase(name);
    DispatchId id = 0;
    for (std::u16string_view member : members) {
        if (member == folded) return id;
        ++id;
    }
    return kUnknownMember;
}

void Write(std::FILE* out, std::u16string_view text) {
    std::string bytes = ToUtf8(text);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
}

class ArgumentsObject final : public Object {
public:
    explicit ArgumentsObject(std::vector<std::u16string> values) : values_(std::move(values)) {}
    std::u16string TypeName() const override { return u"Object"; }
    DispatchId MemberId(std::u16string_view name) override {
        return FindMember(name, {u"item", u"count", u"length"});
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (kind != InvokeKind::Get) Throw(err::kIllegalAssignment);
        if (id == 0) {
            if (arguments.size() != 1) Throw(err::kWrongArgumentCount);
            int32_t index = ToLong(Arg(arguments, 0));
            if (index < 0 || static_cast<size_t>(index) >= values_.size()) Throw(err::kSubscriptOutOfRange);
            return Variant(values_[static_cast<size_t>(index)]);
        }
        if (!arguments.empty()) Throw(err::kWrongArgumentCount);
        return Variant(static_cast<int32_t>(values_.size()));
    }
    Ref<Enumerator> Enumerate() override {
        class Walker final : public Enumerator {
        public:
            explicit Walker(Ref<ArgumentsObject> owner) : owner_(std::move(owner)) {}
            bool Next(Variant& item) override {
                if (index_ >= owner_->values_.size()) return false;
                item = Variant(owner_->values_[index_++]);
                return true;
            }

        private:
            Ref<ArgumentsObject> owner_;
            size_t index_ = 0;
        };
        return MakeRef<Walker>(Ref<ArgumentsObject>(this));
    }

private:
    std::vector<std::u16string> values_;
};

class StdOutObject final : public Object {
public:
    explicit StdOutObject(std::FILE* out) : out_(out) {}
    std::u16string TypeName() const override { return u"Object"; }
    DispatchId MemberId(std::u16string_view name) override {
        return FindMember(name, {u"write", u"writeline"});
    }
    Variant Invoke(DispatchId id, InvokeKind, std::span<Variant> arguments) override {
        if (id == 0 && arguments.size() != 1) Throw(err::kWrongArgumentCount);
        if (arguments.size() > 1) Throw(err::kWrongArgumentCount);
        if (!arguments.empty()) Write(out_, ToString(Arg(arguments, 0)));
        if (id == 1) Write(out_, u"\n");
        return {};
    }

private:
    std::FILE* out_;
};

enum WScriptMember : DispatchId { kEcho, kQuit, kArguments, kStdOut, kScriptName, kScriptFullName, kName };
}  // namespace

WScriptObject::WScriptObject(std::FILE* out, std::u16string scriptPath, std::vector<std::u16string> arguments)
    : out_(out),
      scriptPath_(std::move(scriptPath)),
      arguments_(MakeRef<ArgumentsObject>(std::move(arguments))),
      stdOut_(MakeRef<StdOutObject>(out)) {}

DispatchId WScriptObject::MemberId(std::u16string_view name) {
    return FindMember(name,
                      {u"echo", u"quit", u"arguments", u"stdout", u"scriptname", u"scriptfullname", u"name"});
}

const void* WScriptObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant WScriptObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (kind != InvokeKind::Get) Throw(err::kIllegalAssignment);
    switch (id) {
        case kEcho: {
            std::u16string line;
            for (size_t i = 0; i < arguments.size(); ++i) {
                if (i > 0) line += u' ';
                const Variant& value = Arg(arguments, i);
                if (!value.IsNull() && !value.IsMissing()) line += ToString(value);
            }
            line += u'\n';
            Write(out_, line);
            return {};
        }
        case kQuit: {
            int code = arguments.empty() ? 0 : ToLong(Arg(arguments, 0));
            std::fflush(out_);
            std::exit(code);
        }
        case kArguments:
            if (arguments.empty()) return Variant(arguments_);
            return arguments_->Invoke(0, InvokeKind::Get, arguments);
        case kStdOut: return Variant(stdOut_);
        case kScriptName: {
            size_t slash = scriptPath_.find_last_of(u"/\\");
            return Variant(slash == std::u16string::npos ? scriptPath_ : scriptPath_.substr(slash + 1));
        }
        case kScriptFullName: return Variant(scriptPath_);
        case kName: return Variant(u"Taviro Script Host");
        default: Throw(err::kNoSuchMember);
    }
}

}  // namespace taviro::vbscript
