// What the components need of a host: make and destroy the control of a class (ProgID) by name,
// and hear the control's events as one generic event.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/control.h"
#include "vbscript/object.h"

namespace taviro::scripting {

// The parameters of one event, in order, with their names.
using EventParameters = std::vector<std::pair<std::u16string, vbscript::Variant>>;

class ComponentHost {
public:
    virtual ~ComponentHost() = default;

    // Raised for every event of a control: its name and its parameters.
    using RaiseEvent = std::function<void(const std::string& eventName, EventParameters parameters)>;

    // Creates an instance of the class inside the scene's picture box under the control name and
    // returns its extender, the object scripts use. The control raises its events through raise.
    // Throws GameError when the class is not installed or the control cannot be made.
    virtual vbscript::Ref<vbscript::Object> AddControl(const std::string& progId,
                                                       const std::string& controlName, RaiseEvent raise) = 0;

    // Destroys the control of that name; throws GameError when there is none.
    virtual void RemoveControl(const std::string& controlName) = 0;
};

// The parameters of a control's mouse event: Button, Shift, and X and Y in twips of the control.
EventParameters MouseParameters(const platform::MouseEvent& event);

// The parameters of an event as its handler receives them: Item (the default member) by position
// from 0 or by name, Count, and For Each. Each item gives its Value (its default member) and Name.
vbscript::Ref<vbscript::Object> MakeEventParametersObject(EventParameters parameters);

}  // namespace taviro::scripting
