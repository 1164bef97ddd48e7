// Add-on components that scripts add by class name (ProgID) and name. Components were ActiveX
// controls, which only Windows hosts; this player has no component host, so no class is installed:
// adding a component keeps its entry (as the original did when creation failed) and reports that it
// is not installed properly, and scripts that test for a class first hear that it is missing.
#pragma once

#include <string>
#include <vector>

#include "project/project.h"

namespace taviro::scripting {

class Components {
public:
    explicit Components(project::Project& project) : project_(project) {}

    // Adds an entry under the name (letter case ignored) and tries to create the class.
    void AddAdditionalComponent(const std::string& progId, const std::string& name,
                                bool appearDuringTransitions, bool disappearBeforeAlphablending);
    // The component's object: always none here; a name never added gives the not-found report.
    void GetComponentRef(const std::string& name);
    void RemoveAdditionalComponent(const std::string& name);
    bool DoesComponentExist(const std::string& name) const;
    // Whether a class can be created: never without a component host.
    bool DoesProgIDExist(const std::string&) const { return false; }
    // Every component goes (a new or loaded game).
    void ResetComponents();

    struct Entry {
        std::string name;  // in lower case
        size_t sink = 0;   // sink numbers are never reused until the reset
        bool appearDuringTransitions = false;
        bool disappearBeforeAlphablending = false;
    };
    const std::vector<Entry>& ComponentsList() const { return list_; }

private:
    project::Project& project_;
    std::vector<Entry> list_;
    size_t sinks_ = 0;
};

}  // namespace taviro::scripting
