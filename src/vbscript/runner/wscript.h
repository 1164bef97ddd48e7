// The WScript object of the command-line runner: Echo, Quit, Arguments, StdOut, ScriptName.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "vbscript/object.h"

namespace taviro::vbscript {

class WScriptObject final : public Object {
public:
    // out receives Echo and StdOut text in UTF-8; Quit exits the process with its code.
    WScriptObject(std::FILE* out, std::u16string scriptPath, std::vector<std::u16string> arguments);

    std::u16string TypeName() const override { return u"Object"; }
    DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override;

private:
    std::FILE* out_;
    std::u16string scriptPath_;
    Ref<Object> arguments_;
    Ref<Object> stdOut_;
};

}  // namespace taviro::vbscript
