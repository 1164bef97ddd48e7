// The host object, the extender and the making of components written in VBScript.
#include "scripting/script_component.h"

#include <array>

#include "platform/controls/control_kinds.h"
#include "platform/log.h"
#include "scripting/control_objects.h"
#include "vbscript/conversions.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

// The members of the area that the host object and the extender pass to the control.
constexpr std::array<std::u16string_view, 14> kAreaMembers = {
    u"Name", u"Left",      u"Top",  u"Width",  u"Height",  u"Visible", u"Enabled",
    u"Tag",  u"BackColor", u"Move", u"ZOrder", u"Refresh", u"Cls",     u"MousePointer"};

bool IsAreaMember(std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    for (std::u16string_view member : kAreaMembers)
        if (vbscript::FoldCase(member) == folded) return true;
    return false;
}

// Keeps a component alive, and counted as running, while its code runs.
struct RunningScope {
    std::shared_ptr<ScriptComponent> component;
    explicit RunningScope(std::shared_ptr<ScriptComponent> c) : component(std::move(c)) {
        ++component->running;
    }
    ~RunningScope() { --component->running; }
};

enum HostMember : DispatchId { kFillRect = 1000, kRaiseEvent };

// "Host": the component's view of its area, and its way to raise events to the game.
class HostObject final : public vbscript::Object {
public:
    HostObject(platform::Form& form, const std::string& controlName, std::weak_ptr<ScriptComponent> component)
        : area_(vbscript::MakeRef<ControlObject>(form, controlName, std::nullopt)),
          component_(std::move(component)) {}

    std::u16string TypeName() const override { return u"ComponentHost"; }
    DispatchId MemberId(std::u16string_view name) override {
        std::u16string folded = vbscript::FoldCase(name);
        if (folded == u"fillrect") return kFillRect;
        if (folded == u"raiseevent") return kRaiseEvent;
        return IsAreaMember(name) ? area_->MemberId(name) : vbscript::kUnknownMember;
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (id == kFillRect) return FillRect(arguments);
        if (id == kRaiseEvent) return RaiseEvent(arguments);
        return area_->Invoke(id, kind, arguments);
    }

private:
    // FillRect x, y, width, height, colour: pixels of the area, the colour as &HBBGGRR.
    Variant FillRect(std::span<Variant> arguments) {
        if (arguments.size() != 5) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        auto* box = dynamic_cast<platform::PictureBox*>(area_->Find());
        if (!box) vbscript::Throw(vbscript::err::kObjectNotSet);
        int32_t values[5];
        for (size_t i = 0; i < 5; ++i) values[i] = vbscript::ToLong(arguments[i].Target());
        const int width = std::clamp(values[2], 0, 4096), height = std::clamp(values[3], 0, 4096);
        const uint32_t bgr = static_cast<uint32_t>(values[4]) & 0xFFFFFF;
        const uint32_t argb = 0xFF000000u | ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
        // One row of the colour, read again for every row.
        std::vector<uint32_t> row(static_cast<size_t>(width), argb);
        box->canvas().Paint({row.data(), width, height, 0}, values[0], values[1]);
        return {};
    }
    // RaiseEvent name [, parameter name, value]...: the game's handler hears it.
    Variant RaiseEvent(std::span<Variant> arguments) {
        if (arguments.empty() || arguments.size() % 2 == 0)
            vbscript::Throw(vbscript::err::kWrongArgumentCount);
        std::shared_ptr<ScriptComponent> component = component_.lock();
        if (!component || !component->raise) return {};
        EventParameters parameters;
        for (size_t i = 1; i + 1 < arguments.size(); i += 2)
            parameters.emplace_back(vbscript::ToString(arguments[i].Target()), arguments[i + 1].Target());
        RunningScope running(component);
        ComponentHost::RaiseEvent raise = component->raise;
        raise(vbscript::ToUtf8(vbscript::ToString(arguments[0].Target())), std::move(parameters));
        return {};
    }

    vbscript::Ref<ControlObject> area_;
    std::weak_ptr<ScriptComponent> component_;
};

constexpr DispatchId kInstanceMembers = 1 << 20;

// Holds its component weakly: the component's engine must go when the component is removed, never
// while the engine's own objects are being let go.
class ScriptComponentExtender final : public vbscript::Object {
public:
    ScriptComponentExtender(const std::shared_ptr<ScriptComponent>& component, platform::Form& form)
        : component_(component),
          area_(vbscript::MakeRef<ControlObject>(form, component->controlName, std::nullopt)) {}

    std::u16string TypeName() const override {
        std::shared_ptr<ScriptComponent> component = component_.lock();
        return component ? component->instance->TypeName() : u"Object";
    }
    DispatchId MemberId(std::u16string_view name) override {
        if (IsAreaMember(name)) return area_->MemberId(name);
        std::u16string folded = vbscript::FoldCase(name);
        for (size_t i = 0; i < names_.size(); ++i)
            if (vbscript::FoldCase(names_[i]) == folded) return kInstanceMembers + static_cast<DispatchId>(i);
        names_.emplace_back(name);
        return kInstanceMembers + static_cast<DispatchId>(names_.size() - 1);
    }
    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (id < kInstanceMembers) return area_->Invoke(id, kind, arguments);
        const size_t index = static_cast<size_t>(id - kInstanceMembers);
        if (index >= names_.size()) vbscript::Throw(vbscript::err::kNoSuchMember);
        std::shared_ptr<ScriptComponent> component = component_.lock();
        if (!component) vbscript::Throw(vbscript::err::kObjectNotSet);
        RunningScope running(component);
        Variant result;
        if (!component->engine.Invoke(component->instance, names_[index], kind, arguments, &result)) {
            const vbscript::ErrorInfo& error = component->engine.Error();
            throw vbscript::ScriptError(error.number, error.description);
        }
        return result;
    }

private:
    std::weak_ptr<ScriptComponent> component_;
    vbscript::Ref<ControlObject> area_;
    std::vector<std::u16string> names_;  // the instance's members asked for, each once, by number
};

}  // namespace

void ScriptComponent::CallIfPresent(const char16_t* method, std::span<Variant> arguments) {
    if (!instance || instance->MemberId(method) == vbscript::kUnknownMember) return;
    ++running;
    const bool done = engine.Invoke(instance, method, InvokeKind::Get, arguments);
    --running;
    if (!done) {
        const vbscript::ErrorInfo& error = engine.Error();
        platform::log::Error("component \"" + controlName + "\", " + vbscript::ToUtf8(method) + ": " +
                             vbscript::ToUtf8(error.description) + " (" + std::to_string(error.number) + ")");
    }
}

std::optional<std::string> ScriptComponentFile(const std::string& cpDataPath, const std::string& progId) {
    constexpr std::string_view kAllowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._-";
    if (progId.empty() || progId.find_first_not_of(kAllowed) != std::string::npos) return std::nullopt;
    return cpDataPath + progId + ".vbs";
}

std::shared_ptr<ScriptComponent> MakeScriptComponent(const std::string& code, platform::Form& form,
                                                     const std::string& controlName,
                                                     ComponentHost::RaiseEvent raise, int32_t timeoutMs) {
    auto component = std::make_shared<ScriptComponent>();
    component->controlName = controlName;
    component->raise = std::move(raise);
    vbscript::Engine& engine = component->engine;
    engine.Timeout(timeoutMs);
    engine.AddObject(u"Host", vbscript::MakeRef<HostObject>(form, controlName, component), false);
    Variant made;
    if (!engine.AddCode(code) ||
        !engine.AddCode(
            std::u16string_view(u"Function MakeComponent_() : Set MakeComponent_ = New Component : "
                                u"End Function")) ||
        !engine.Run(u"MakeComponent_", {}, &made) || !made.IsObject()) {
        const vbscript::ErrorInfo& error = engine.Error();
        throw GameError(error.number ? error.number : 429, vbscript::ToUtf8(error.description));
    }
    component->instance = made.object();
    return component;
}

vbscript::Ref<vbscript::Object> MakeScriptComponentExtender(const std::shared_ptr<ScriptComponent>& component,
                                                            platform::Form& form) {
    return vbscript::MakeRef<ScriptComponentExtender>(component, form);
}

}  // namespace taviro::scripting
