// The intrinsic controls as component classes.
#include "scripting/component_classes.h"

#include <algorithm>
#include <array>
#include <memory>

#include "platform/controls/control_kinds.h"
#include "scripting/control_objects.h"

namespace taviro::scripting {
namespace {

constexpr std::array<std::string_view, 8> kIntrinsicClasses = {
    "VB.Label", "VB.CommandButton", "VB.PictureBox", "VB.Image", "VB.CheckBox", "VB.Frame", "VB.ListBox", "VB.Timer"};

// A control of the class with the size the original gives a new control of it, in pixels.
std::unique_ptr<platform::Control> MakeControl(std::string_view progId, const std::string& name,
                                               platform::TimerQueue& timers) {
    auto sized = [](std::unique_ptr<platform::Control> control, int width, int height) {
        control->SetBounds({0, 0, width, height});
        return control;
    };
    using platform::SameName;
    if (SameName(progId, "VB.Label")) return sized(std::make_unique<platform::Label>(name), 81, 17);
    if (SameName(progId, "VB.CommandButton")) return sized(std::make_unique<platform::CommandButton>(name), 81, 33);
    if (SameName(progId, "VB.PictureBox")) {
        auto box = std::make_unique<platform::PictureBox>(name);
        box->borderStyle = 1;
        return sized(std::move(box), 81, 81);
    }
    if (SameName(progId, "VB.Image")) return sized(std::make_unique<platform::ImageControl>(name), 81, 81);
    if (SameName(progId, "VB.CheckBox")) return sized(std::make_unique<platform::CheckBox>(name), 81, 17);
    if (SameName(progId, "VB.Frame")) {
        auto frame = std::make_unique<platform::Container>(name);
        frame->transparent = false;
        return sized(std::move(frame), 81, 81);
    }
    if (SameName(progId, "VB.ListBox")) return sized(std::make_unique<platform::ListBox>(name), 81, 69);
    if (SameName(progId, "VB.Timer")) return std::make_unique<platform::TimerControl>(timers, name);
    return nullptr;
}

EventParameters MouseParameters(const platform::MouseEvent& event) {
    return {{u"Button", vbscript::Variant(static_cast<int16_t>(event.button))},
            {u"Shift", vbscript::Variant(static_cast<int16_t>(event.shift))},
            {u"X", vbscript::Variant(static_cast<float>(platform::PixelsToTwips(event.x)))},
            {u"Y", vbscript::Variant(static_cast<float>(platform::PixelsToTwips(event.y)))}};
}

// Every event of the control is raised through a copy of raise: a handler may remove the control,
// and with it the function that called it.
void WireEvents(platform::Control& control, const ComponentHost::RaiseEvent& raise) {
    auto mouse = [raise](const char* event, auto before) {
        return [raise, event, before](platform::Control& target, const platform::MouseEvent& details) {
            if (before) before(target, details);
            ComponentHost::RaiseEvent call = raise;
            call(event, MouseParameters(details));
        };
    };
    using Handler = std::function<void(platform::Control&, const platform::MouseEvent&)>;
    control.events.mouseDown = mouse("MouseDown", Handler());
    control.events.mouseMove = mouse("MouseMove", Handler());
    control.events.mouseUp = mouse("MouseUp", control.events.mouseUp);  // a check box ticks itself first
    auto plain = [raise](const char* event) {
        return [raise, event](platform::Control&) {
            ComponentHost::RaiseEvent call = raise;
            call(event, {});
        };
    };
    control.events.click = plain("Click");
    control.events.dblClick = plain("DblClick");
    control.events.timer = plain("Timer");
}

}  // namespace

ComponentClasses::~ComponentClasses() {
    for (const std::string& name : names_) {
        if (platform::Control* control = form_.Find(name); control && control->parent())
            control->parent()->Remove(*control);
    }
}

bool ComponentClasses::IsIntrinsic(std::string_view progId) {
    return std::any_of(kIntrinsicClasses.begin(), kIntrinsicClasses.end(),
                       [&](std::string_view known) { return platform::SameName(known, progId); });
}

vbscript::Ref<vbscript::Object> ComponentClasses::AddControl(const std::string& progId,
                                                             const std::string& controlName, RaiseEvent raise) {
    std::unique_ptr<platform::Control> control = MakeControl(progId, controlName, timers_);
    if (!control) throw GameError(429, "ActiveX component can't create object");
    if (form_.Find(controlName) || !form_.Elements(controlName).empty())
        throw GameError(727, "There is already a control with the name '" + controlName + "'");
    platform::Control* scene = form_.Find("PictureBox");
    if (!scene) throw errors::InternalError();
    // Made hidden, as the original's controls added at run time are: scripts show them.
    control->SetVisible(false);
    WireEvents(*control, raise);
    scene->Add(std::move(control));
    names_.push_back(controlName);
    return vbscript::MakeRef<ControlObject>(form_, controlName, std::nullopt);
}

void ComponentClasses::RemoveControl(const std::string& controlName) {
    auto made = std::find_if(names_.begin(), names_.end(),
                             [&](const std::string& name) { return platform::SameName(name, controlName); });
    platform::Control* control = made == names_.end() ? nullptr : form_.Find(controlName);
    if (!control || !control->parent()) throw GameError(730, "Control '" + controlName + "' not found");
    names_.erase(made);
    control->parent()->Remove(*control);
}

}  // namespace taviro::scripting
