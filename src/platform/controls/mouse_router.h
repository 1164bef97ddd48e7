// Turns mouse input on a window into the events of its controls: the pressed control keeps the mouse
// until release (so a drag off it still reaches it), Click follows a release over the pressed control,
// and while a control is being dragged the mouse gives DragOver and DragDrop instead.
#pragma once

#include "platform/controls/form.h"

namespace taviro::platform {

class MouseRouter {
public:
    explicit MouseRouter(Form& form) : form_(form) {}

    // Points are in the window's client pixels; button is one MouseButton, buttons a set of them.
    void MouseDown(Point windowPoint, int button, int shift);
    void MouseMove(Point windowPoint, int buttons, int shift);
    void MouseUp(Point windowPoint, int button, int shift);
    // The second press of a double click, after its MouseDown and MouseUp.
    void DoubleClick(Point windowPoint, int button, int shift);
    // The mouse wheel turned by notches (positive: away from the player) where the mouse is: it
    // scrolls the open combo box list, else the list under the mouse, three rows a notch. The game
    // hears nothing of it, as the original's never did.
    void Wheel(int notches);

    // The original's Drag method: starts dragging a control; the drag picture follows the mouse.
    void BeginDrag(Control& source);
    void CancelDrag();
    // Drops where the mouse is (Drag vbEndDrag).
    void EndDrag();
    // The control being dragged, or nullptr.
    Control* dragSource() const;

    // The pointer to show at a point: the hovered control's, else its containers', else the arrow.
    // Returns the control whose MouseIcon a Custom pointer uses through `owner`.
    MousePointer PointerAt(Point windowPoint, const Control** owner = nullptr) const;

    Point position() const { return position_; }

private:
    // A control pointer that may have been unloaded by a handler.
    Control* Alive(Control* control) const { return form_.Contains(control) ? control : nullptr; }
    void DragTo(Point windowPoint);

    Form& form_;
    Point position_;
    Control* captured_ = nullptr;  // pressed control, which keeps the mouse until release
    int buttonsHeld_ = 0;
    Control* dragSource_ = nullptr;
    Control* dragTarget_ = nullptr;  // the control last told DragOver
};

}  // namespace taviro::platform
