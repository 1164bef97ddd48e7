// Mouse events of a window's controls.
#include "platform/controls/mouse_router.h"

#include "platform/controls/list_controls.h"

namespace taviro::platform {
namespace {

MouseEvent At(const Control& control, Point windowPoint, int button, int shift) {
    Point p = control.FromWindow(windowPoint);
    return {button, shift, p.x, p.y};
}

}  // namespace

void MouseRouter::MouseDown(Point windowPoint, int button, int shift) {
    position_ = windowPoint;
    if (dragSource()) return;
    // An open combo box list takes the press wherever it lands: it selects or closes the list.
    if (ComboBox* open = OpenComboBox(form_)) {
        captured_ = nullptr;
        open->PressWhileOpen(windowPoint);
        return;
    }
    Control& target = captured_ && Alive(captured_) ? *captured_ : form_.HitTest(windowPoint);
    captured_ = &target;
    buttonsHeld_ |= button;
    // Pressing anything but a text box takes the keyboard focus from the one that has it.
    if (target.kind() != ControlKind::TextBox) {
        if (TextBox* focused = FocusedTextBox(form_)) focused->hasFocus = false;
    }
    if (target.dragMode() == 1 && button == kLeftButton) {
        BeginDrag(target);
        return;
    }
    if (target.events.mouseDown) target.events.mouseDown(target, At(target, windowPoint, button, shift));
}

void MouseRouter::Wheel(int notches) {
    constexpr int kRowsPerNotch = 3;
    ListBox* list = OpenComboBox(form_);
    for (Control* under = &form_.HitTest(position_); !list && under; under = under->parent())
        list = dynamic_cast<ListBox*>(under);
    if (list) list->ScrollBy(-notches * kRowsPerNotch);
}

void MouseRouter::MouseMove(Point windowPoint, int buttons, int shift) {
    position_ = windowPoint;
    if (dragSource()) return DragTo(windowPoint);
    Control* target = buttonsHeld_ ? Alive(captured_) : nullptr;
    if (!target) target = &form_.HitTest(windowPoint);
    if (target->events.mouseMove) target->events.mouseMove(*target, At(*target, windowPoint, buttons, shift));
}

void MouseRouter::MouseUp(Point windowPoint, int button, int shift) {
    position_ = windowPoint;
    buttonsHeld_ &= ~button;
    if (dragSource()) {
        if (!buttonsHeld_) EndDrag();
        return;
    }
    Control* target = Alive(captured_);
    if (!buttonsHeld_) captured_ = nullptr;
    if (!target) return;
    if (target->events.mouseUp) target->events.mouseUp(*target, At(*target, windowPoint, button, shift));
    // Click only when released over the pressed control; the handler above may have unloaded it.
    // Lists raise their Click when a press changes their selection.
    if (!Alive(target) || &form_.HitTest(windowPoint) != target || RaisesOwnClick(*target)) return;
    if (target->events.click) target->events.click(*target);
}

void MouseRouter::DoubleClick(Point windowPoint, int, int) {
    position_ = windowPoint;
    if (dragSource()) return;
    Control& target = form_.HitTest(windowPoint);
    ActOnDoubleClick(target);
    // The folder list's Change handler may have unloaded it.
    if (Alive(&target) && target.events.dblClick) target.events.dblClick(target);
}

void MouseRouter::BeginDrag(Control& source) {
    dragSource_ = &source;
    dragTarget_ = nullptr;
    DragTo(position_);
}

void MouseRouter::CancelDrag() {
    Control* source = dragSource();
    Control* target = Alive(dragTarget_);
    dragSource_ = dragTarget_ = nullptr;
    if (source && target && target->events.dragOver) {
        MouseEvent e = At(*target, position_, 0, 0);
        target->events.dragOver(*target, *source, e.x, e.y, DragState::Leave);
    }
}

void MouseRouter::EndDrag() {
    Control* source = dragSource();
    dragSource_ = dragTarget_ = nullptr;
    captured_ = nullptr;
    if (!source) return;
    Control& target = form_.HitTest(position_);
    if (target.events.dragDrop) {
        MouseEvent e = At(target, position_, 0, 0);
        target.events.dragDrop(target, *source, e.x, e.y);
    }
}

Control* MouseRouter::dragSource() const { return Alive(dragSource_); }

void MouseRouter::DragTo(Point windowPoint) {
    Control* source = dragSource();
    if (!source) return;
    Control& target = form_.HitTest(windowPoint);
    Control* previous = Alive(dragTarget_);
    dragTarget_ = &target;
    if (previous && previous != &target && previous->events.dragOver) {
        MouseEvent e = At(*previous, windowPoint, 0, 0);
        previous->events.dragOver(*previous, *source, e.x, e.y, DragState::Leave);
    }
    // Handlers may end the drag or unload controls; look again before each event.
    if (!Alive(&target) || !dragSource()) return;
    if (target.events.dragOver) {
        MouseEvent e = At(target, windowPoint, 0, 0);
        target.events.dragOver(target, *source, e.x, e.y,
                               previous == &target ? DragState::Over : DragState::Enter);
    }
}

MousePointer MouseRouter::PointerAt(Point windowPoint, const Control** owner) const {
    for (const Control* c = &form_.HitTest(windowPoint); c; c = c->parent()) {
        if (c->mousePointer() == MousePointer::Default) continue;
        if (owner) *owner = c;
        return c->mousePointer();
    }
    if (owner) *owner = &form_;
    return MousePointer::Arrow;
}

}  // namespace taviro::platform
