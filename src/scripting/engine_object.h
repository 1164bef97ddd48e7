// One of the two script engines as scripts see it ("ScriptControlObject", "ScriptControl2Object"):
// AddCode, ExecuteStatement, Run, Reset, Timeout and Language, as the script control offered them.
// A failure inside the engine reaches the calling script as its own error.
#pragma once

#include "vbscript/engine.h"
#include "vbscript/object.h"

namespace taviro::scripting {

class EngineObject final : public vbscript::Object {
public:
    // The engine must outlive every use of the object.
    explicit EngineObject(vbscript::Engine& engine) : engine_(engine) {}

    std::u16string TypeName() const override { return u"ScriptControl"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    [[noreturn]] void RaiseEngineError() const;

    vbscript::Engine& engine_;
    int32_t timeoutMs_ = 10000;  // the script control's own default, until a script sets it
};

}  // namespace taviro::scripting
