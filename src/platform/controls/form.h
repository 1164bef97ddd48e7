// A window's root control: its client area, its controls by name and its control arrays.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/control_kinds.h"

namespace taviro::platform {

class Form : public Control {
public:
    Form(std::string name, int clientWidth, int clientHeight);

    std::string caption;
    ColorBgr backColor = kButtonFace;
    std::string picture;  // the background picture, at the top-left corner

    // The control of that name that is not in an array, or nullptr.
    Control* Find(std::string_view name) const;
    // An element of a control array, or nullptr.
    Control* Find(std::string_view name, int index) const;
    // Every element of a control array, by index.
    std::vector<Control*> Elements(std::string_view name) const;

    // Loads a new element of a control array beside the array's lowest element, with its properties,
    // hidden. Throws 343 when the name is not an array, 360 when the element exists.
    Control& Load(std::string_view name, int index);
    // Unloads an element loaded at run time. Throws 340 when it does not exist, 362 for an element
    // made with the window.
    void Unload(std::string_view name, int index);

    // How labels of this window measure their texts for AutoSize; nullptr: they keep their size.
    TextMeasurer* textMeasurer() const { return textMeasurer_; }
    void SetTextMeasurer(TextMeasurer* measurer) { textMeasurer_ = measurer; }

    // True while the control is part of this window (it may have been unloaded by a handler).
    bool Contains(const Control* control) const;

    // The front-most shown control under a point of the client area. A disabled control passes the
    // mouse on to its container, as in the original; the form itself is the last resort.
    Control& HitTest(Point windowPoint);

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    TextMeasurer* textMeasurer_ = nullptr;
};

}  // namespace taviro::platform
