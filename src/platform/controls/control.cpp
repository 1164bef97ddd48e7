// The common part of every control: tree, geometry, flags and the common properties.
#include "platform/controls/control.h"

#include <algorithm>

namespace taviro::platform {

namespace control_errors {
GameError NoSuchProperty() { return {438, "Object doesn't support this property or method"}; }
GameError ReadOnlyProperty() { return {383, "Property is read-only"}; }
GameError InvalidPropertyValue() { return {380, "Invalid property value"}; }
GameError NoSuchElement(int index) {
    return {340, "Control array element '" + std::to_string(index) + "' doesn't exist"};
}
GameError AlreadyLoaded() { return {360, "Object already loaded"}; }
GameError NotAnArray() { return {343, "Object not an array"}; }
GameError DesignTimeControl() { return {362, "Can't unload controls created at design time"}; }
}  // namespace control_errors

Control::Control(ControlKind kind, std::string name, std::optional<int> index)
    : kind_(kind), name_(std::move(name)), index_(index) {}

Control::~Control() = default;

namespace {

// Labels, images, shapes and lines are drawn on their container itself: every other control of the
// container lies above them, whatever the order the controls were made in.
bool Windowless(const std::unique_ptr<Control>& control) {
    switch (control->kind()) {
        case ControlKind::Image:
        case ControlKind::Label:
        case ControlKind::Shape:
        case ControlKind::Line: return true;
        default: return false;
    }
}

// Siblings are kept back to front with the windowless ones first: the start of the other controls.
auto WindowedStart(std::vector<std::unique_ptr<Control>>& siblings) {
    return std::partition_point(siblings.begin(), siblings.end(), Windowless);
}

}  // namespace

Control& Control::Add(std::unique_ptr<Control> child) {
    child->parent_ = this;
    auto at = Windowless(child) ? WindowedStart(children_) : children_.end();
    Control& added = **children_.insert(at, std::move(child));
    Touch();
    return added;
}

std::unique_ptr<Control> Control::Remove(const Control& child) {
    auto it = std::find_if(children_.begin(), children_.end(), [&](auto& c) { return c.get() == &child; });
    if (it == children_.end()) return nullptr;
    std::unique_ptr<Control> removed = std::move(*it);
    children_.erase(it);
    removed->parent_ = nullptr;
    Touch();
    return removed;
}

void Control::BringToFront() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](auto& c) { return c.get() == this; });
    std::rotate(it, it + 1, Windowless(*it) ? WindowedStart(siblings) : siblings.end());
    parent_->Touch();
}

void Control::SendToBack() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    auto it = std::find_if(siblings.begin(), siblings.end(), [&](auto& c) { return c.get() == this; });
    std::rotate(Windowless(*it) ? siblings.begin() : WindowedStart(siblings), it, it + 1);
    parent_->Touch();
}

void Control::SetBounds(const Rect& bounds) {
    bounds_ = {bounds.x, bounds.y, std::max(0, bounds.width), std::max(0, bounds.height)};
    Touch();
}

Rect Control::WindowBounds() const {
    Rect r = bounds_;
    // The form's own position is that of the window on the desktop, not part of its client area.
    for (const Control* p = parent_; p && p->parent_; p = p->parent_) {
        r.x += p->bounds_.x;
        r.y += p->bounds_.y;
    }
    if (!parent_) r.x = r.y = 0;
    return r;
}

Point Control::FromWindow(Point windowPoint) const {
    Rect r = WindowBounds();
    return {windowPoint.x - r.x, windowPoint.y - r.y};
}

bool Control::IsShown() const {
    for (const Control* c = this; c; c = c->parent_)
        if (!c->visible_) return false;
    return true;
}

PropertyValue Control::Get(std::string_view name) const {
    if (auto own = GetOwn(name)) return *own;
    if (SameName(name, "Name")) return name_;
    if (SameName(name, "Index")) {
        if (!index_) throw control_errors::NotAnArray();
        return *index_;
    }
    if (SameName(name, "Left")) return PixelsToTwips(bounds_.x);
    if (SameName(name, "Top")) return PixelsToTwips(bounds_.y);
    if (SameName(name, "Width")) return PixelsToTwips(bounds_.width);
    if (SameName(name, "Height")) return PixelsToTwips(bounds_.height);
    if (SameName(name, "Visible")) return visible_;
    if (SameName(name, "Enabled")) return enabled_;
    if (SameName(name, "MousePointer")) return static_cast<int32_t>(mousePointer_);
    if (SameName(name, "MouseIcon")) return mouseIcon_;
    if (SameName(name, "DragIcon")) return dragIcon_;
    if (SameName(name, "DragMode")) return dragMode_;
    if (SameName(name, "Tag")) return tag_;
    throw control_errors::NoSuchProperty();
}

void Control::Set(std::string_view name, const PropertyValue& value) {
    // Marked changed first: a text box's or scroll bar's Change handler may remove the control.
    Touch();
    if (SetOwn(name, value)) return;
    Rect r = bounds_;
    if (SameName(name, "Name") || SameName(name, "Index")) throw control_errors::ReadOnlyProperty();
    if (SameName(name, "Left")) {
        r.x = TwipsToPixels(value);
    } else if (SameName(name, "Top")) {
        r.y = TwipsToPixels(value);
    } else if (SameName(name, "Width") || SameName(name, "Height")) {
        int pixels = TwipsToPixels(value);
        if (pixels < 0) throw control_errors::InvalidPropertyValue();
        (SameName(name, "Width") ? r.width : r.height) = pixels;
    } else if (SameName(name, "Visible")) {
        visible_ = ToBoolean(value);
    } else if (SameName(name, "Enabled")) {
        SetEnabled(ToBoolean(value));
    } else if (SameName(name, "MousePointer")) {
        int32_t number = ToInteger(value);
        if (number < 0 || (number > 15 && number != 99)) throw control_errors::InvalidPropertyValue();
        // Pointers the player does not draw (cross, I-beam, size arrows...) show as the arrow.
        switch (number) {
            case 0: mousePointer_ = MousePointer::Default; break;
            case 11: mousePointer_ = MousePointer::Hourglass; break;
            case 13: mousePointer_ = MousePointer::ArrowHourglass; break;
            case 99: mousePointer_ = MousePointer::Custom; break;
            default: mousePointer_ = MousePointer::Arrow; break;
        }
    } else if (SameName(name, "MouseIcon")) {
        mouseIcon_ = ToText(value);
    } else if (SameName(name, "DragIcon")) {
        dragIcon_ = ToText(value);
    } else if (SameName(name, "DragMode")) {
        int32_t mode = ToInteger(value);
        if (mode != 0 && mode != 1) throw control_errors::InvalidPropertyValue();
        dragMode_ = mode;
    } else if (SameName(name, "Tag")) {
        tag_ = ToText(value);
    } else {
        throw control_errors::NoSuchProperty();
    }
    if (!(r == bounds_)) SetBounds(r);
    Touch();
}

std::vector<std::string> Control::PropertyNames() const {
    std::vector<std::string> names = {"Name",      "Left",     "Top",      "Width",
                                      "Height",    "Visible",  "Enabled",  "MousePointer",
                                      "MouseIcon", "DragIcon", "DragMode", "Tag"};
    if (index_) names.insert(names.begin() + 1, "Index");
    AddOwnPropertyNames(names);
    return names;
}

std::optional<PropertyValue> Control::GetOwn(std::string_view) const { return std::nullopt; }
bool Control::SetOwn(std::string_view, const PropertyValue&) { return false; }
void Control::AddOwnPropertyNames(std::vector<std::string>&) const {}

void Control::CopyCommonTo(Control& clone) const {
    clone.bounds_ = bounds_;
    clone.enabled_ = enabled_;
    clone.mousePointer_ = mousePointer_;
    clone.mouseIcon_ = mouseIcon_;
    clone.dragIcon_ = dragIcon_;
    clone.dragMode_ = dragMode_;
    clone.tag_ = tag_;
    clone.events = events;
    // A loaded element starts hidden, as in the original, so the game can place it first.
    clone.visible_ = false;
    clone.loadedAtRunTime_ = true;
}

}  // namespace taviro::platform
