// The components list, without a host to create components.
#include "scripting/components.h"

#include "platform/files/file_system.h"

namespace taviro::scripting {

void Components::AddAdditionalComponent(const std::string& progId, const std::string& name,
                                        bool appearDuringTransitions, bool disappearBeforeAlphablending) {
    (void)progId;  // no host can create the class
    // 1-2. A name in use or with a blank is refused.
    if (DoesComponentExist(name)) {
        return project_.reports().ShowErrorReport(" A component named \"" + name +
                                                  "\" already exists. Please use a different name.");
    }
    if (name.find(' ') != std::string::npos) {
        return project_.reports().ShowErrorReport(
            " The component name must not contain spaces or other special characters.");
    }
    // 3-4. The slot and the entry stay even though the control cannot be made (6).
    list_.push_back(
        {platform::FoldCase(name), ++sinks_, appearDuringTransitions, disappearBeforeAlphablending});
    project_.reports().ShowErrorReport(
        " Error in Game.AddAdditionalComponent. The component is probably not installed properly.  ");
}

void Components::GetComponentRef(const std::string& name) {
    if (!DoesComponentExist(name)) {
        project_.reports().ShowErrorReport(" The component named \"" + name + "\" could not be found.");
    }
}

void Components::RemoveAdditionalComponent(const std::string& name) {
    std::string folded = platform::FoldCase(name);
    for (size_t i = list_.size(); i-- > 0;) {
        if (list_[i].name == folded) {
            list_.erase(list_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
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

void Components::ResetComponents() {
    list_.clear();
    sinks_ = 0;
}

}  // namespace taviro::scripting
