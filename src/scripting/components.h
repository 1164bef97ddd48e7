// Add-on components that scripts add by class name (ProgID) and name: the list of components, their
// sinks, the event handlers found among the procedures, and the delivery of events to them. The
// controls themselves come from a component host; without one no class is installed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "project/project.h"
#include "scripting/component_host.h"

namespace taviro::scripting {

class Components {
public:
    explicit Components(project::Project& project) : project_(project) {}

    // The host that makes the controls; nullptr: no class is installed.
    void UseHost(ComponentHost* host) { host_ = host; }
    // Runs an event handler for dispatch: clears the Action object's requests, runs the procedure
    // on the components' engine with the parameters as its one argument, and carries out what the
    // script asked. Throws GameError when the handler fails.
    std::function<void(const std::string& procedure, vbscript::Ref<vbscript::Object> parameters)>
        runEventProcedure;

    // Adds an entry under the name (letter case ignored) and creates the control of the class.
    void AddAdditionalComponent(const std::string& progId, const std::string& name,
                                bool appearDuringTransitions, bool disappearBeforeAlphablending);
    // The component's extender; nothing (with a report) for a name never added.
    vbscript::Ref<vbscript::Object> GetComponentRef(const std::string& name);
    void RemoveAdditionalComponent(const std::string& name);
    bool DoesComponentExist(const std::string& name) const;
    // Whether a control of the class can be made; never reports.
    bool DoesProgIDExist(const std::string& progId);
    // Every component goes (a new or loaded game, the window closing).
    void ResetComponents();
    // Asks each component to stop its animations around a transition, and to go on after it;
    // components without "PauseComponent" / "ResumeComponent" are left alone.
    void PauseComponents();
    void ResumeComponents();
    // The event handlers among the procedures of the components' engine: every name with "_" after
    // its first character, split at its first "_".
    void BuildAllEventsList(const std::vector<std::u16string>& procedures);

    struct Entry {
        std::string name;  // in lower case
        size_t sink = 0;   // sink numbers are never reused until the reset
        bool appearDuringTransitions = false;
        bool disappearBeforeAlphablending = false;
    };
    const std::vector<Entry>& ComponentsList() const { return list_; }
    // The class each component of the list was made of, in the list's order.
    const std::string& ProgIdOf(size_t sink) const;

    struct Sink {
        vbscript::Ref<vbscript::Object> Component;  // the control's extender; nothing once removed
        std::string controlName;                    // the component name in lower case
        std::string progId;
    };
    struct EventHandler {
        std::string component;  // lower case
        std::string event;      // lower case
    };
    const std::vector<EventHandler>& ComponentEventsList() const { return events_; }

    // The generic event of the control of a sink (what the host raises).
    void ComponentObjectEvent(size_t sink, const std::string& eventName, EventParameters parameters);

private:
    void CallOnEach(const char16_t* method);
    std::optional<size_t> FindFromFirst(const std::string& name) const;

    project::Project& project_;
    ComponentHost* host_ = nullptr;
    std::vector<Entry> list_;
    std::vector<std::optional<Sink>> ComponentSinks{std::nullopt};  // slot 0 is never used
    std::vector<EventHandler> events_;
};

}  // namespace taviro::scripting
