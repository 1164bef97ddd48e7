// The components list, their sinks and the delivery of their events.
#include "scripting/components.h"

#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "platform/log.h"
#include "vbscript/number_text.h"
#include "vbscript/script_error.h"

namespace taviro::scripting {

void Components::AddAdditionalComponent(const std::string& progId, const std::string& name,
                                        bool appearDuringTransitions, bool disappearBeforeAlphablending) {
    // 1-2. A name in use or with a blank is refused.
    if (DoesComponentExist(name)) {
        return project_.reports().ShowErrorReport(" A component named \"" + name +
                                                  "\" already exists. Please use a different name.");
    }
    if (name.find(' ') != std::string::npos) {
        return project_.reports().ShowErrorReport(
            " The component name must not contain spaces or other special characters.");
    }
    try {
        // 3-5. A new sink and the entry; both stay even when the control cannot be made.
        const std::string controlName = platform::FoldCase(name);
        ComponentSinks.emplace_back(Sink{{}, controlName, progId});
        const size_t sink = ComponentSinks.size() - 1;
        list_.push_back({controlName, sink, appearDuringTransitions, disappearBeforeAlphablending});
        // 6. The control, whose events reach the sink from now on.
        if (!host_) throw GameError(429, "ActiveX component can't create object");
        vbscript::Ref<vbscript::Object> extender = host_->AddControl(
            progId, controlName, [this, sink](const std::string& event, EventParameters parameters) {
                ComponentObjectEvent(sink, event, std::move(parameters));
            });
        if (ComponentSinks[sink]) ComponentSinks[sink]->Component = std::move(extender);
    } catch (const std::exception& failure) {
        platform::log::Info("component \"" + name + "\" of class \"" + progId + "\": " + failure.what());
        project_.reports().ShowErrorReport(
            " Error in Game.AddAdditionalComponent. The component is probably not installed properly.  ");
    }
}

std::optional<size_t> Components::FindFromFirst(const std::string& name) const {
    const std::string folded = platform::FoldCase(name);
    std::optional<size_t> found;
    for (size_t i = 0; i < list_.size(); ++i) {
        if (list_[i].name == folded) found = i;
    }
    return found;
}

vbscript::Ref<vbscript::Object> Components::GetComponentRef(const std::string& name) {
    std::optional<size_t> entry = FindFromFirst(name);
    if (!entry) {
        project_.reports().ShowErrorReport(" The component named \"" + name + "\" could not be found.");
        return {};
    }
    const std::optional<Sink>& sink = ComponentSinks[list_[*entry].sink];
    return sink ? sink->Component : vbscript::Ref<vbscript::Object>();
}

void Components::RemoveAdditionalComponent(const std::string& name) {
    const std::string folded = platform::FoldCase(name);
    for (size_t i = list_.size(); i-- > 0;) {
        if (list_[i].name != folded) continue;
        try {
            const size_t sink = list_[i].sink;
            if (host_ && ComponentSinks[sink] && ComponentSinks[sink]->Component)
                host_->RemoveControl(folded);
            ComponentSinks[sink].reset();
            list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
        } catch (const std::exception&) {
            project_.reports().ShowErrorReport(" Error in Game.RemoveAdditionalComponent. ");
        }
        return;
    }
    project_.reports().ShowErrorReport(" The component named \"" + name +
                                       "\" could not be removed because it could not be found.");
}

bool Components::DoesComponentExist(const std::string& name) const {
    std::string folded = platform::FoldCase(name);
    for (size_t i = list_.size(); i-- > 0;) {
        if (list_[i].name == folded) return true;
    }
    return false;
}

bool Components::DoesProgIDExist(const std::string& progId) {
    if (!host_) return false;
    try {
        vbscript::Ref<vbscript::Object> scratch =
            host_->AddControl(progId, "ProgIDTestComponent", [](const std::string&, EventParameters) {});
        scratch = {};
        host_->RemoveControl("ProgIDTestComponent");
        return true;
    } catch (const std::exception&) {
        return false;
    } catch (const vbscript::ScriptError&) {
        return false;
    }
}

void Components::ResetComponents() {
    // 1. Every control goes, failures ignored one by one.
    for (size_t i = list_.size(); i-- > 0;) {
        const std::optional<Sink>& sink = ComponentSinks[list_[i].sink];
        if (host_ && sink && sink->Component) {
            try {
                host_->RemoveControl(list_[i].name);
            } catch (const std::exception&) {
            }
        }
        list_.pop_back();
    }
    // 2-3. The sinks let their extenders go; one empty slot is left.
    ComponentSinks.assign(1, std::nullopt);
}

void Components::CallOnEach(const char16_t* method) {
    for (const Entry& entry : list_) {
        const std::optional<Sink>& sink = ComponentSinks[entry.sink];
        if (!sink || !sink->Component) continue;
        // A component without the method is left alone.
        try {
            vbscript::Ref<vbscript::Object> component = sink->Component;
            vbscript::DispatchId id = component->MemberId(method);
            if (id != vbscript::kUnknownMember) component->Invoke(id, vbscript::InvokeKind::Get, {});
        } catch (const vbscript::ScriptError&) {
        } catch (const std::exception&) {
        }
    }
}

void Components::PauseComponents() { CallOnEach(u"PauseComponent"); }
void Components::ResumeComponents() { CallOnEach(u"ResumeComponent"); }

void Components::BuildAllEventsList(const std::vector<std::u16string>& procedures) {
    // 1-2. A name split at its first "_", which must not be its first character.
    events_.clear();
    for (const std::u16string& procedure : procedures) {
        size_t at = procedure.find(u'_');
        if (at == std::u16string::npos || at == 0) continue;
        events_.push_back({platform::FoldCase(vbscript::ToUtf8(procedure.substr(0, at))),
                           platform::FoldCase(vbscript::ToUtf8(procedure.substr(at + 1)))});
    }
}

const std::string& Components::ProgIdOf(size_t sink) const {
    static const std::string none;
    return sink < ComponentSinks.size() && ComponentSinks[sink] ? ComponentSinks[sink]->progId : none;
}

void Components::ComponentObjectEvent(size_t sinkNumber, const std::string& eventName,
                                      EventParameters parameters) {
    // 1. A removed component or a nameless event.
    if (sinkNumber >= ComponentSinks.size() || !ComponentSinks[sinkNumber] ||
        !ComponentSinks[sinkNumber]->Component || eventName.empty())
        return;
    try {
        // 2. Only events with a handler go further.
        const std::string component = ComponentSinks[sinkNumber]->controlName;
        const std::string event = platform::FoldCase(eventName);
        bool handled = false;
        for (const EventHandler& handler : events_) {
            if (handler.component == component && handler.event == event) {
                handled = true;
                break;
            }
        }
        if (!handled || !runEventProcedure) return;
        // 3-5. The handler runs with the parameters as its one argument; its requests are carried out.
        runEventProcedure(component + "_" + event, MakeEventParametersObject(std::move(parameters)));
    } catch (const std::exception& failure) {
        platform::log::Info(std::string("component event ") + eventName + ": " + failure.what());
        project_.reports().ShowErrorReport("Error in Component_ObjectEvent. ");
    } catch (const vbscript::ScriptError&) {
        project_.reports().ShowErrorReport("Error in Component_ObjectEvent. ");
    }
}

}  // namespace taviro::scripting
