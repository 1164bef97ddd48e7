// The intrinsic controls as component classes.
#include "scripting/component_classes.h"

#include <algorithm>
#include <array>
#include <memory>

#include "platform/controls/control_kinds.h"
#include "platform/controls/list_controls.h"
#include "scripting/control_objects.h"

namespace taviro::scripting {
namespace {

constexpr std::array<std::string_view, 18> kIntrinsicClasses = {
    "VB.Label",   "VB.CommandButton", "VB.PictureBox", "VB.Image",        "VB.CheckBox",   "VB.Frame",
    "VB.ListBox", "VB.Timer",         "VB.TextBox",    "VB.OptionButton", "VB.HScrollBar", "VB.VScrollBar",
    "VB.Shape",   "VB.Line",          "VB.ComboBox",   "VB.FileListBox",  "VB.DirListBox", "VB.DriveListBox"};

// A control of the class with the size the original gives a new control of it, in pixels.
std::unique_ptr<platform::Control> MakeControl(std::string_view progId, const std::string& name,
                                               platform::TimerQueue& timers) {
    auto sized = [](std::unique_ptr<platform::Control> control, int width, int height) {
        control->SetBounds({0, 0, width, height});
        return control;
    };
    using platform::SameName;
    if (SameName(progId, "VB.Label")) return sized(std::make_unique<platform::Label>(name), 81, 17);
    if (SameName(progId, "VB.CommandButton"))
        return sized(std::make_unique<platform::CommandButton>(name), 81, 33);
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
    if (SameName(progId, "VB.OptionButton"))
        return sized(std::make_unique<platform::OptionButton>(name), 81, 17);
    if (SameName(progId, "VB.HScrollBar"))
        return sized(std::make_unique<platform::ScrollBar>(false, name), 81, 17);
    if (SameName(progId, "VB.VScrollBar"))
        return sized(std::make_unique<platform::ScrollBar>(true, name), 17, 81);
    if (SameName(progId, "VB.Shape")) return sized(std::make_unique<platform::ShapeControl>(name), 81, 81);
    if (SameName(progId, "VB.Line")) {
        auto line = std::make_unique<platform::LineControl>(name);
        line->SetEnds({0, 0}, {80, 0});
        return line;
    }
    if (SameName(progId, "VB.TextBox")) return sized(std::make_unique<platform::TextBox>(name), 81, 21);
    if (SameName(progId, "VB.ComboBox")) return sized(std::make_unique<platform::ComboBox>(name), 81, 21);
    if (SameName(progId, "VB.FileListBox"))
        return sized(std::make_unique<platform::FileListBox>(name), 81, 69);
    if (SameName(progId, "VB.DirListBox")) return sized(std::make_unique<platform::DirListBox>(name), 81, 69);
    if (SameName(progId, "VB.DriveListBox"))
        return sized(std::make_unique<platform::DriveListBox>(name), 81, 69);
    return nullptr;
}

// Every event of the control is raised through a copy of raise: a handler may remove the control,
// and with it the function that called it.
void WireEvents(platform::Control& control, const ComponentHost::RaiseEvent& raise) {
    auto mouse = [raise](const char* event, auto before) {
        return [raise, event, before](platform::Control& target, const platform::MouseEvent& details) {
            // Copies first: the control's own handling (a scroll bar's Change) may remove it.
            ComponentHost::RaiseEvent call = raise;
            const char* name = event;
            if (auto first = before) first(target, details);
            call(name, MouseParameters(details));
        };
    };
    using Handler = std::function<void(platform::Control&, const platform::MouseEvent&)>;
    control.events.mouseDown = mouse("MouseDown", control.events.mouseDown);  // a text box takes the focus
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
    control.events.change = plain("Change");
    auto key = [raise](const char* event) {
        return [raise, event](platform::Control&, int virtualKey, int shift) {
            ComponentHost::RaiseEvent call = raise;
            call(event, {{u"KeyCode", vbscript::Variant(static_cast<int16_t>(virtualKey))},
                         {u"Shift", vbscript::Variant(static_cast<int16_t>(shift))}});
        };
    };
    control.events.keyDown = key("KeyDown");
    control.events.keyUp = key("KeyUp");
    control.events.keyPress = [raise](platform::Control&, int keyAscii) {
        ComponentHost::RaiseEvent call = raise;
        call("KeyPress", {{u"KeyAscii", vbscript::Variant(static_cast<int16_t>(keyAscii))}});
    };
}

// A file list's PathChange and PatternChange, and the folders every file, folder and drive list shows.
void WireFolderList(platform::Control& control, const ComponentHost::RaiseEvent& raise,
                    const std::shared_ptr<const platform::FolderSource>& folders) {
    auto* list = dynamic_cast<platform::FolderListBox*>(&control);
    if (!list) return;
    list->SetSource(folders);
    if (control.kind() != platform::ControlKind::FileListBox) return;
    auto& files = static_cast<platform::FileListBox&>(control);
    files.pathChange = [raise](platform::Control&) {
        ComponentHost::RaiseEvent call = raise;
        call("PathChange", {});
    };
    files.patternChange = [raise](platform::Control&) {
        ComponentHost::RaiseEvent call = raise;
        call("PatternChange", {});
    };
}

// The player's use of a component written in VBScript reaches the instance's own methods; mouse
// positions are pixels of its area, as its drawing is.
void WireScriptEvents(platform::Control& control, std::weak_ptr<ScriptComponent> weak,
                      std::function<void()> afterwards) {
    auto mouse = [weak, afterwards](const char16_t* method) {
        return [weak, afterwards, method](platform::Control&, const platform::MouseEvent& event) {
            // Copies first: the code may remove the control, and this function with it.
            std::function<void()> after = afterwards;
            const char16_t* name = method;
            std::shared_ptr<ScriptComponent> component = weak.lock();
            if (!component) return;
            vbscript::Variant arguments[] = {vbscript::Variant(static_cast<int16_t>(event.button)),
                                             vbscript::Variant(static_cast<int16_t>(event.shift)),
                                             vbscript::Variant(static_cast<float>(event.x)),
                                             vbscript::Variant(static_cast<float>(event.y))};
            component->CallIfPresent(name, arguments);
            after();
        };
    };
    control.events.mouseDown = mouse(u"MouseDown");
    control.events.mouseMove = mouse(u"MouseMove");
    control.events.mouseUp = mouse(u"MouseUp");
    auto plain = [weak, afterwards](const char16_t* method) {
        return [weak, afterwards, method](platform::Control&) {
            std::function<void()> after = afterwards;
            const char16_t* name = method;
            std::shared_ptr<ScriptComponent> component = weak.lock();
            if (!component) return;
            component->CallIfPresent(name, {});
            after();
        };
    };
    control.events.click = plain(u"Click");
    control.events.dblClick = plain(u"DblClick");
}

}  // namespace

ComponentClasses::~ComponentClasses() {
    // The players go before the controls they draw into.
    media_.reset();
    for (const std::string& name : names_) {
        if (platform::Control* control = form_.Find(name); control && control->parent())
            control->parent()->Remove(*control);
    }
}

bool ComponentClasses::IsIntrinsic(std::string_view progId) {
    return std::any_of(kIntrinsicClasses.begin(), kIntrinsicClasses.end(),
                       [&](std::string_view known) { return platform::SameName(known, progId); });
}

platform::Control& ComponentClasses::SceneFor(const std::string& controlName) const {
    if (form_.Find(controlName) || !form_.Elements(controlName).empty())
        throw GameError(727, "There is already a control with the name '" + controlName + "'");
    platform::Control* scene = form_.Find("PictureBox");
    if (!scene) throw errors::InternalError();
    return *scene;
}

vbscript::Ref<vbscript::Object> ComponentClasses::AddControl(const std::string& progId,
                                                             const std::string& controlName,
                                                             RaiseEvent raise) {
    if (media_ && MediaComponents::Offers(progId))
        return AddMediaComponent(progId, controlName, std::move(raise));
    std::unique_ptr<platform::Control> control = MakeControl(progId, controlName, timers_);
    if (!control) {
        std::optional<std::string> code = scriptOf ? scriptOf(progId) : std::nullopt;
        if (!code) throw GameError(429, "ActiveX component can't create object");
        return AddScriptComponent(*code, controlName, std::move(raise));
    }
    platform::Control& scene = SceneFor(controlName);
    // Made hidden, as the original's controls added at run time are: scripts show them.
    control->SetVisible(false);
    WireEvents(*control, raise);
    WireFolderList(*control, raise, folders);
    scene.Add(std::move(control));
    names_.push_back(controlName);
    return vbscript::MakeRef<ControlObject>(form_, controlName, std::nullopt);
}

vbscript::Ref<vbscript::Object> ComponentClasses::AddMediaComponent(std::string_view progId,
                                                                    const std::string& controlName,
                                                                    RaiseEvent raise) {
    platform::Control& scene = SceneFor(controlName);
    MediaComponents::Made made = media_->Make(progId, controlName, std::move(raise));
    scene.Add(std::move(made.control));
    names_.push_back(controlName);
    return made.extender;
}

vbscript::Ref<vbscript::Object> ComponentClasses::AddScriptComponent(const std::string& code,
                                                                     const std::string& controlName,
                                                                     RaiseEvent raise) {
    platform::Control& scene = SceneFor(controlName);
    auto box = std::make_unique<platform::PictureBox>(controlName);
    box->SetBounds({0, 0, 81, 81});
    box->SetVisible(false);
    platform::Control& area = scene.Add(std::move(box));
    std::shared_ptr<ScriptComponent> component;
    try {
        component = MakeScriptComponent(code, form_, controlName, std::move(raise), scriptTimeoutMs);
    } catch (...) {
        scene.Remove(area);
        throw;
    }
    WireScriptEvents(area, component, [this] { ReleaseRetired(); });
    names_.push_back(controlName);
    scripted_.push_back(component);
    return MakeScriptComponentExtender(component, form_);
}

void ComponentClasses::ReleaseRetired() {
    std::erase_if(retired_,
                  [](const std::shared_ptr<ScriptComponent>& component) { return component->running == 0; });
}

void ComponentClasses::RemoveControl(const std::string& controlName) {
    auto made = std::find_if(names_.begin(), names_.end(),
                             [&](const std::string& name) { return platform::SameName(name, controlName); });
    platform::Control* control = made == names_.end() ? nullptr : form_.Find(controlName);
    if (!control || !control->parent()) throw GameError(730, "Control '" + controlName + "' not found");
    names_.erase(made);
    if (media_) media_->Remove(controlName);
    control->parent()->Remove(*control);
    // A component written in VBScript may be removed by a handler its own code raised: its engine
    // goes once that code has returned.
    for (auto it = scripted_.begin(); it != scripted_.end(); ++it) {
        if (platform::SameName((*it)->controlName, controlName)) {
            retired_.push_back(*it);
            scripted_.erase(it);
            break;
        }
    }
    ReleaseRetired();
}

}  // namespace taviro::scripting
