// Names, control arrays and hit testing of a window's controls.
#include "platform/controls/form.h"

#include <algorithm>

namespace taviro::platform {
namespace {

// Visits the controls under a control, each before its children, until visit returns true (found).
template <typename Visit>
bool Walk(const Control& control, const Visit& visit) {
    for (const auto& child : control.children()) {
        if (visit(*child) || Walk(*child, visit)) return true;
    }
    return false;
}

Control* HitChild(Control& container, Point windowPoint) {
    const auto& children = container.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        Control& child = **it;
        // Timers are never drawn, and shapes and lines take no mouse: it goes to what is under them.
        if (!child.visible() || child.kind() == ControlKind::Timer || child.kind() == ControlKind::Shape ||
            child.kind() == ControlKind::Line)
            continue;
        if (!child.WindowBounds().Contains(windowPoint)) continue;
        if (Control* inner = HitChild(child, windowPoint)) return inner;
        return &child;
    }
    return nullptr;
}

}  // namespace

Form::Form(std::string name, int clientWidth, int clientHeight)
    : Control(ControlKind::Form, std::move(name)) {
    SetBounds({0, 0, clientWidth, clientHeight});
}

Control* Form::Find(std::string_view name) const {
    Control* found = nullptr;
    Walk(*this, [&](Control& c) {
        if (c.index() || !SameName(c.name(), name)) return false;
        found = &c;
        return true;
    });
    return found;
}

Control* Form::Find(std::string_view name, int index) const {
    Control* found = nullptr;
    Walk(*this, [&](Control& c) {
        if (c.index() != index || !SameName(c.name(), name)) return false;
        found = &c;
        return true;
    });
    return found;
}

std::vector<Control*> Form::Elements(std::string_view name) const {
    std::vector<Control*> elements;
    Walk(*this, [&](Control& c) {
        if (c.index() && SameName(c.name(), name)) elements.push_back(&c);
        return false;
    });
    std::sort(elements.begin(), elements.end(),
              [](Control* a, Control* b) { return *a->index() < *b->index(); });
    return elements;
}

Control& Form::Load(std::string_view name, int index) {
    auto elements = Elements(name);
    if (elements.empty()) throw control_errors::NotAnArray();
    if (Find(name, index)) throw control_errors::AlreadyLoaded();
    if (index < 0 || index > 32767) throw GameError(5, "Invalid procedure call or argument");
    Control& model = *elements.front();
    Control& element = model.parent()->Add(model.CloneAs(index));
    Touch();
    return element;
}

void Form::Unload(std::string_view name, int index) {
    Control* element = Find(name, index);
    if (!element) throw control_errors::NoSuchElement(index);
    if (!element->loadedAtRunTime()) throw control_errors::DesignTimeControl();
    element->parent()->Remove(*element);
    Touch();
}

bool Form::Contains(const Control* control) const {
    if (control == this) return true;
    return Walk(*this, [&](const Control& c) { return &c == control; });
}

Control& Form::HitTest(Point windowPoint) {
    Control* hit = HitChild(*this, windowPoint);
    while (hit && !hit->enabled()) hit = hit->parent();
    return hit ? *hit : *this;
}

std::optional<PropertyValue> Form::GetOwn(std::string_view name) const {
    if (SameName(name, "Caption")) return caption;
    if (SameName(name, "BackColor")) return static_cast<int32_t>(backColor);
    if (SameName(name, "Picture")) return picture;
    if (SameName(name, "ScaleWidth")) return PixelsToTwips(bounds().width);
    if (SameName(name, "ScaleHeight")) return PixelsToTwips(bounds().height);
    return std::nullopt;
}

bool Form::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Caption"))
        caption = ToText(value);
    else if (SameName(name, "BackColor"))
        backColor = static_cast<ColorBgr>(ToInteger(value)) & 0xFFFFFF;
    else if (SameName(name, "Picture"))
        picture = ToText(value);
    else if (SameName(name, "ScaleWidth") || SameName(name, "ScaleHeight"))
        throw control_errors::ReadOnlyProperty();
    else
        return false;
    return true;
}

void Form::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"Caption", "BackColor", "Picture", "ScaleWidth", "ScaleHeight"});
}

std::unique_ptr<Control> Form::CloneAs(int) const { throw control_errors::NotAnArray(); }

}  // namespace taviro::platform
