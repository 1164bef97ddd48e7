// Components written in VBScript: "CPData/<ProgID>.vbs" holds a class named Component. Each
// component of that ProgID is an instance of the class in an engine of its own, drawn in a picture
// box of the scene. The instance reaches its area through the object "Host"; the player calls its
// Click, DblClick, MouseDown, MouseMove and MouseUp when the player uses the area; game scripts
// reach its public members through the component's extender, beside the area's own properties.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/controls/form.h"
#include "scripting/component_host.h"
#include "vbscript/engine.h"

namespace taviro::scripting {

struct ScriptComponent {
    std::string controlName;
    vbscript::Engine engine;
    vbscript::Ref<vbscript::Object> instance;
    ComponentHost::RaiseEvent raise;
    // Calls of the component's code now running; it is destroyed only when none runs.
    int running = 0;

    // Calls the instance's method with the arguments when it has one; a failure is logged.
    void CallIfPresent(const char16_t* method, std::span<vbscript::Variant> arguments);
};

// The file that holds the component written in VBScript for a class: cpDataPath + ProgID + ".vbs";
// nullopt for a ProgID that cannot be a file name (empty, or other than letters, digits, ".", "_", "-").
std::optional<std::string> ScriptComponentFile(const std::string& cpDataPath, const std::string& progId);

// Makes the component's engine and instance for the control (already in the form): "Host" is
// registered, the code loaded, an instance of Component made. Throws GameError when the code does
// not compile, fails, or has no class Component. timeoutMs: the engine's time-out (-1 none).
std::shared_ptr<ScriptComponent> MakeScriptComponent(const std::string& code, platform::Form& form,
                                                     const std::string& controlName,
                                                     ComponentHost::RaiseEvent raise, int32_t timeoutMs);

// The extender scripts get: the area's properties and methods (Left, Visible, Move, ...), then the
// instance's public members by name. It does not keep the component: once the component is gone
// its members raise 91.
vbscript::Ref<vbscript::Object> MakeScriptComponentExtender(const std::shared_ptr<ScriptComponent>& component,
                                                            platform::Form& form);

}  // namespace taviro::scripting
