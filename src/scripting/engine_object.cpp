// The script control's members over an engine of the player.
#include "scripting/engine_object.h"

#include <array>
#include <vector>

#include "scripting/member_table.h"
#include "vbscript/conversions.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

enum Member : DispatchId { kAddCode = 1, kExecuteStatement, kRun, kReset, kTimeout, kLanguage };
constexpr std::array<std::u16string_view, 6> kMembers = {u"AddCode", u"ExecuteStatement", u"Run",
                                                         u"Reset",   u"Timeout",          u"Language"};

}  // namespace

DispatchId EngineObject::MemberId(std::u16string_view name) { return MemberIdIn(kMembers, name); }

const void* EngineObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

void EngineObject::RaiseEngineError() const {
    const vbscript::ErrorInfo& error = engine_.Error();
    throw vbscript::ScriptError(error.number, error.description);
}

Variant EngineObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    auto expect = [&](size_t count) {
        if (arguments.size() != count) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    };
    if (kind != InvokeKind::Get) {
        expect(1);
        if (id == kTimeout) {
            timeoutMs_ = vbscript::ToLong(arguments[0].Target());
            engine_.Timeout(timeoutMs_);
            return {};
        }
        if (id == kLanguage) return {};  // VBScript is the only language
        vbscript::Throw(vbscript::err::kIllegalAssignment);
    }
    switch (id) {
        case kAddCode:
        case kExecuteStatement:
            // The text's global statements run at once, which is what ExecuteStatement does.
            expect(1);
            if (!engine_.AddCode(vbscript::ToString(arguments[0].Target()))) RaiseEngineError();
            return {};
        case kRun: {
            if (arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            std::vector<Variant> values;
            for (size_t i = 1; i < arguments.size(); ++i) values.push_back(arguments[i].Target());
            Variant result;
            if (!engine_.Run(vbscript::ToString(arguments[0].Target()), values, &result)) RaiseEngineError();
            return result;
        }
        case kReset:
            expect(0);
            if (!engine_.Reset()) RaiseEngineError();
            return {};
        case kTimeout: expect(0); return Variant(timeoutMs_);
        case kLanguage: expect(0); return Variant(u"VBScript");
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

}  // namespace taviro::scripting
