// A control of the retained control tree: position, size, visibility, z-order, mouse pointer, mouse and
// drag events, and every property readable and writable by name, as scripts see the original's controls.
// Plain C++: the renderer and the input layer read and feed this model.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/geometry.h"
#include "platform/controls/property_value.h"
#include "platform/game_error.h"

namespace taviro::platform {

enum class ControlKind {
    Form,
    PictureBox,
    Image,
    Label,
    Container,
    ListBox,
    CheckBox,
    Timer,
    CommandButton,
    TextBox,
    OptionButton,
    HScrollBar,
    VScrollBar,
    Shape,
    Line,
    ComboBox,
    FileListBox,
    DirListBox,
    DriveListBox
};

// The original's MousePointer numbers.
enum class MousePointer { Default = 0, Arrow = 1, Hourglass = 11, ArrowHourglass = 13, Custom = 99 };

// The original's button numbers and shift flags.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftFlags { kShiftKey = 1, kCtrlKey = 2, kAltKey = 4 };

// A mouse event; x and y are pixels relative to the control's top-left corner.
struct MouseEvent {
    int button = 0;  // the button that changed, or for a move the buttons held
    int shift = 0;
    int x = 0;
    int y = 0;
};

// The state argument of DragOver.
enum class DragState { Enter = 0, Leave = 1, Over = 2 };

class Control;

// What the game attaches to a control; any may be empty.
struct ControlEvents {
    std::function<void(Control&, const MouseEvent&)> mouseDown, mouseMove, mouseUp;
    std::function<void(Control&)> click, dblClick, timer;
    std::function<void(Control& target, Control& source, int x, int y)> dragDrop;
    std::function<void(Control& target, Control& source, int x, int y, DragState state)> dragOver;
    // Keys of the control with the keyboard focus: virtual-key code and shift flags, or the character.
    std::function<void(Control&, int virtualKey, int shift)> keyDown, keyUp;
    std::function<void(Control&, int keyAscii)> keyPress;
    std::function<void(Control&)> change;
};

class Control {
public:
    Control(ControlKind kind, std::string name, std::optional<int> index = std::nullopt);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    // The element number within a control array; nullopt for a control that is not in an array.
    std::optional<int> index() const { return index_; }
    // True for an array element loaded by the game rather than made with the window.
    bool loadedAtRunTime() const { return loadedAtRunTime_; }

    // The tree: children are kept back to front; a child is clipped to its parent. Labels, images,
    // shapes and lines always lie under the other children of their container, as in the original,
    // so adding and ZOrder place a child at the front or back of its own layer.
    Control* parent() const { return parent_; }
    const std::vector<std::unique_ptr<Control>>& children() const { return children_; }
    Control& Add(std::unique_ptr<Control> child);  // on top of its siblings of its layer
    std::unique_ptr<Control> Remove(const Control& child);
    void BringToFront();  // ZOrder 0
    void SendToBack();    // ZOrder 1

    // Position in the parent's client area, in pixels.
    const Rect& bounds() const { return bounds_; }
    virtual void SetBounds(const Rect& bounds);
    void Move(int x, int y) { SetBounds({x, y, bounds_.width, bounds_.height}); }
    // Position in the window's client area.
    Rect WindowBounds() const;
    // The window point as a point relative to this control.
    Point FromWindow(Point windowPoint) const;

    bool visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    // Visible along with every container above it.
    bool IsShown() const;
    bool enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled) { enabled_ = enabled; }

    MousePointer mousePointer() const { return mousePointer_; }
    void SetMousePointer(MousePointer pointer) { mousePointer_ = pointer; }
    // The picture of the custom pointer (a .cur or .ico file) used with MousePointer 99.
    const std::string& mouseIcon() const { return mouseIcon_; }
    const std::string& dragIcon() const { return dragIcon_; }
    // 1: a press starts dragging the control at once (the original's automatic drag mode).
    int dragMode() const { return dragMode_; }

    // Properties by the original's names, letter case ignored. Positions are in twips. An unknown
    // name throws GameError 438, a read-only one 383, a value of the wrong type 13.
    PropertyValue Get(std::string_view name) const;
    void Set(std::string_view name, const PropertyValue& value);
    // The names Get answers, for state dumps and the script host.
    std::vector<std::string> PropertyNames() const;

    ControlEvents events;

    // Bumped by every change a renderer must see.
    uint64_t revision() const { return revision_; }

protected:
    // The properties of a kind of control, on top of the common ones; nullopt / false when the kind
    // does not have the property.
    virtual std::optional<PropertyValue> GetOwn(std::string_view name) const;
    virtual bool SetOwn(std::string_view name, const PropertyValue& value);
    virtual void AddOwnPropertyNames(std::vector<std::string>& names) const;
    void Touch() { ++revision_; }

    // A new array element with this control's properties, for Load.
    virtual std::unique_ptr<Control> CloneAs(int index) const = 0;
    // Copies the common properties into a clone.
    void CopyCommonTo(Control& clone) const;

private:
    friend class Form;

    ControlKind kind_;
    std::string name_;
    std::optional<int> index_;
    bool loadedAtRunTime_ = false;
    Control* parent_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
    Rect bounds_;
    bool visible_ = true;
    bool enabled_ = true;
    MousePointer mousePointer_ = MousePointer::Default;
    std::string mouseIcon_;
    std::string dragIcon_;
    int dragMode_ = 0;
    std::string tag_;
    uint64_t revision_ = 0;
};

// Errors of control properties and arrays, with the original's numbers.
namespace control_errors {
GameError NoSuchProperty();          // 438
GameError ReadOnlyProperty();        // 383
GameError InvalidPropertyValue();    // 380
GameError NoSuchElement(int index);  // 340
GameError AlreadyLoaded();           // 360
GameError NotAnArray();              // 343
GameError DesignTimeControl();       // 362
}  // namespace control_errors

}  // namespace taviro::platform
