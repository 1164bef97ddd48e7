// The kinds of controls a game window is made of: picture boxes, images, labels, containers,
// list boxes and timers.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls/canvas.h"
#include "platform/controls/control.h"
#include "platform/events/timer.h"

namespace taviro::platform {

// Colours as the original stores them: 0x00BBGGRR.
using ColorBgr = uint32_t;
constexpr ColorBgr kBlack = 0x000000;
constexpr ColorBgr kWhite = 0xFFFFFF;
// The window background of a classic desktop (button face grey).
constexpr ColorBgr kButtonFace = 0xC0C0C0;

struct FontSpec {
    std::string name = "MS Sans Serif";
    double sizePoints = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool operator==(const FontSpec&) const = default;
};

// Measures texts for labels that size themselves; the text renderer is one.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // The size of a text in a font; wrapWidth 0 keeps each line whole.
    virtual Point Measure(const std::string& text, const FontSpec& font, int wrapWidth) = 0;
};

// A text in a font as a label that sizes itself shows it, unwrapped: what is measured ahead.
struct ShownText {
    std::string text;
    FontSpec font;
};

// A box showing a picture at its top-left corner on its background colour; it contains other controls.
class PictureBox : public Control {
public:
    explicit PictureBox(std::string name, std::optional<int> index = std::nullopt)
        : Control(ControlKind::PictureBox, std::move(name), index) {}

    std::string picture;  // a game path; empty: none
    ColorBgr backColor = kButtonFace;
    bool autoSize = false;  // the box takes the size of its picture
    int borderStyle = 0;    // 0 none, 1 fixed single

    // The persistent drawing surface, drawn over the colour and the picture; made on first use with the
    // box's size, and sized with the box.
    Canvas& canvas();
    const Canvas* canvasIfAny() const { return canvas_.get(); }
    Canvas* canvasIfAny() { return canvas_.get(); }
    void SetBounds(const Rect& bounds) override;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    std::unique_ptr<Canvas> canvas_;
};

// A windowless picture, drawn at its natural size or stretched to the control.
class ImageControl : public Control {
public:
    explicit ImageControl(std::string name, std::optional<int> index = std::nullopt)
        : Control(ControlKind::Image, std::move(name), index) {}

    std::string picture;
    bool stretch = false;
    // An animated picture shows its frames from this time of the game clock on, at this multiple of
    // the speed its file gives.
    int64_t animationStartMs = 0;
    double animationRate = 1;
    // While 0 or more, the animation stays on the frame of this time into it (a stopped animation).
    int64_t animationHeldMs = -1;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
};

// Text in a font and colour, on its background colour or transparent.
class Label : public Control {
public:
    explicit Label(std::string name, std::optional<int> index = std::nullopt)
        : Control(ControlKind::Label, std::move(name), index) {}

    std::string caption;
    FontSpec font;
    ColorBgr foreColor = kBlack;
    ColorBgr backColor = kButtonFace;
    bool transparent = false;  // BackStyle 0
    bool autoSize = false;     // the label takes the size of its text (see Fit)
    bool wordWrap = false;     // with autoSize: keep the width and grow downwards
    int alignment = 0;         // 0 left, 1 right, 2 centre

    // Sizes an AutoSize label to its caption with the measurer of its window, if it has one. Setting the
    // Caption, a font property, AutoSize or WordWrap by name calls it; code that changes the members
    // directly calls it itself.
    void Fit();

protected:
    // For kinds that show a caption as a label does.
    Label(ControlKind kind, std::string name, std::optional<int> index)
        : Control(kind, std::move(name), index) {}
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
};

// A push button: a raised box with its caption centred; the game hears its Click.
class CommandButton : public Label {
public:
    explicit CommandButton(std::string name, std::optional<int> index = std::nullopt)
        : Label(ControlKind::CommandButton, std::move(name), index) {
        alignment = 2;
    }

protected:
    std::unique_ptr<Control> CloneAs(int index) const override;
};

// A plain container of other controls, with an optional background.
class Container : public Control {
public:
    explicit Container(std::string name, std::optional<int> index = std::nullopt)
        : Control(ControlKind::Container, std::move(name), index) {}

    ColorBgr backColor = kButtonFace;
    bool transparent = true;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
};

// A square box the player ticks and clears with the left button; Value is 0 (clear) or 1 (ticked).
class CheckBox : public Control {
public:
    explicit CheckBox(std::string name, std::optional<int> index = std::nullopt);

    int value = 0;
    ColorBgr backColor = kButtonFace;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
};

// A list of texts, one a row, the selected one highlighted; the game keeps hidden ones as lists (the
// frames history). A press on a row selects its item; when the items outnumber the rows, a vertical
// scroll bar at the right side moves the first row shown (TopIndex). Changing the selection raises
// events.click, from the player's press or from code, as the original's lists do.
class ListBox : public Control {
public:
    explicit ListBox(std::string name, std::optional<int> index = std::nullopt)
        : ListBox(ControlKind::ListBox, std::move(name), index) {}

    // AddItem: at the end (at its place in alphabetical order, letter case ignored, when the list is
    // Sorted), or before position `at`; a position past the end throws 5.
    void AddItem(std::string text, std::optional<int> at = std::nullopt);
    void RemoveItem(int at);  // throws 5 for a position outside the list
    virtual void Clear();
    // Replaces the text of an item; throws 381 for a position outside the list.
    void SetItem(int at, std::string text);
    // The number a program keeps with each item (ItemData), 0 for a new item; it moves with its item.
    // Both throw 381 for a position outside the list.
    int32_t ItemData(int at) const;
    void SetItemData(int at, int32_t data);
    const std::vector<std::string>& items() const { return items_; }
    // The text of an item; throws 381 for a position outside the list.
    virtual std::string List(int at) const;
    int listIndex() const { return listIndex_; }
    // Selects an item (-1: none) and shows it; a change raises the list's selection event (Click).
    // Throws 381 for a position outside the list.
    void SetListIndex(int index);
    int topIndex() const { return topIndex_; }
    // The first item shown, kept so that the last rows are filled when the list is long enough.
    void SetTopIndex(int index);
    // The mouse wheel: shows the rows that many further down (up when negative), within the list.
    void ScrollBy(int rows);

    bool sorted = false;
    FontSpec font;
    ColorBgr foreColor = kBlack;
    ColorBgr backColor = kWhite;

    // Where a list drawn in an area (pixels of any origin) puts its rows and its scroll bar.
    struct Layout {
        Rect rows;                      // the area of the rows, left of the bar
        int rowHeight = 13;             // pixels
        int rowCount = 1;               // whole rows that fit, at least one
        int maxTopIndex = 0;            // the highest TopIndex
        std::optional<Rect> scrollBar;  // only when the items outnumber the rows
    };
    Layout LayoutIn(const Rect& area) const;
    // The height of a row in the list's font, as the window's text measurer gives it (13 without one).
    int RowHeight() const;
    // The player's press at a point of the list drawn in `area`: on the scroll bar it scrolls and gives
    // nullopt; on a row it gives that row's item; below the last item, nullopt.
    std::optional<int> PressAt(const Rect& area, Point point);

protected:
    ListBox(ControlKind kind, std::string name, std::optional<int> index);
    // What a change of the selection raises; lists raise Click.
    virtual void SelectionChanged();
    // Keeps TopIndex in range after the items or the size changed.
    void KeepTopInRange();
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
    // Copies the list's own properties and items into a clone.
    void CopyListTo(ListBox& clone) const;

    std::vector<std::string> items_;
    std::vector<int32_t> itemData_;  // one per item
    int listIndex_ = -1;
    int topIndex_ = 0;
    int newIndex_ = -1;  // the position of the item added last, -1 after a removal

private:
    mutable FontSpec measuredFont_;
    mutable int measuredRowHeight_ = 0;
};

// The Timer control: never drawn; its Timer event is events.timer.
class TimerControl : public Control {
public:
    TimerControl(TimerQueue& queue, std::string name, std::optional<int> index = std::nullopt);

    void SetEnabled(bool enabled) override;
    int64_t intervalMs() const { return timer_.intervalMs(); }

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    TimerQueue& queue_;
    Timer timer_;
};

// A one-line box the player types into when it has the keyboard focus. Positions and lengths count
// characters; the text is UTF-8. Every change of the text raises events.change.
class TextBox : public Control {
public:
    explicit TextBox(std::string name, std::optional<int> index = std::nullopt);

    const std::string& text() const { return text_; }
    // Sets the text from code: the caret goes to the start; MaxLength and Locked do not apply.
    void SetText(std::string text);
    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    // The selected text, and replacing it from code (the caret goes after the new text).
    std::string SelectedText() const;
    void ReplaceSelection(std::string_view text);
    // The text as drawn: every character shown as the password character when there is one.
    std::string DisplayText() const;
    // The caret's place in characters: the end of the selection the player last moved.
    int caret() const { return selStart_ + selLength_ * (caretAtEnd_ ? 1 : 0); }
    // The first characters of UTF-8 text.
    static std::string Prefix(std::string_view utf8, int characters);

    // The player's typing: each character raises KeyPress, then goes in unless the box is Locked or
    // full (MaxLength, 0 for no limit).
    void Type(std::string_view utf8);
    // A key pressed (KeyDown, then Backspace, Delete, the arrows, Home and End edit; Return raises
    // KeyPress 13) and released (KeyUp).
    void PressKey(int virtualKey, int shift);
    void ReleaseKey(int virtualKey, int shift);

    int maxLength = 0;
    bool locked = false;
    std::string passwordChar;  // empty, or one character
    FontSpec font;
    ColorBgr foreColor = kBlack;
    ColorBgr backColor = kWhite;
    bool hasFocus = false;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    int Length() const;
    void Select(int start, int length);
    // Puts text in place of the selection and raises Change when the text differs. These and Raise
    // return false when a handler removed the box: the caller must not touch it again.
    bool Replace(std::string_view text);
    bool Changed();
    template <typename Handler, typename... Arguments>
    bool Raise(const Handler& handler, Arguments... arguments);

    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
    bool caretAtEnd_ = true;
    std::shared_ptr<char> alive_ = std::make_shared<char>();  // gone with the box
};

// The keyboard focus of a window: at most one shown, enabled text box of the tree has it.
TextBox* FocusedTextBox(Control& root);
// Gives the box the focus, taking it from every other text box of its window.
void GiveFocus(TextBox& box);
// Sends a key or typed text to the text box with the focus; false when none has it.
bool KeyToFocus(Control& root, int virtualKey, int shift, bool down);
bool TextToFocus(Control& root, std::string_view utf8);

}  // namespace taviro::platform

namespace taviro::platform {

// A round button of a group: pressing it sets its Value and clears the option buttons beside it in
// the same container.
class OptionButton : public Control {
public:
    explicit OptionButton(std::string name, std::optional<int> index = std::nullopt);

    bool value() const { return value_; }
    // Setting it clears the other option buttons of the container.
    void SetValue(bool value);
    ColorBgr backColor = kButtonFace;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    bool value_ = false;
};

// A horizontal or vertical scroll bar: an arrow at each end moves Value by SmallChange, the track
// beside the thumb by LargeChange; each change of Value raises events.change.
class ScrollBar : public Control {
public:
    ScrollBar(bool vertical, std::string name, std::optional<int> index = std::nullopt);

    // The side of the arrow boxes at the ends and the length of the thumb, in pixels.
    static constexpr int kArrowSide = 16;

    bool vertical() const { return vertical_; }
    int value() const { return value_; }
    // Throws 380 for a value outside Min to Max (either may be the larger).
    void SetValue(int value);
    int minimum = 0;
    int maximum = 32767;
    int smallChange = 1;
    int largeChange = 1;
    // The thumb's start and length along the bar, in pixels from the bar's start.
    std::pair<int, int> Thumb() const;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    // Moves Value by steps towards Max (positive) or Min, kept within them.
    void Step(int change);

    bool vertical_;
    int value_ = 0;
};

}  // namespace taviro::platform

namespace taviro::platform {

// A drawn rectangle, square, oval or circle (Shape 0 to 5; the rounded ones are drawn square-cornered)
// with a border and an optional fill. Shapes and lines are drawn only: the mouse goes through them.
class ShapeControl : public Control {
public:
    explicit ShapeControl(std::string name, std::optional<int> index = std::nullopt)
        : Control(ControlKind::Shape, std::move(name), index) {}

    int shape = 0;
    bool opaque = false;  // BackStyle 1: the back colour under the fill
    ColorBgr backColor = kWhite;
    int fillStyle = 1;  // 0 solid, 1 none; the hatched styles are drawn as none
    ColorBgr fillColor = kBlack;
    int borderStyle = 1;  // 0 none
    ColorBgr borderColor = kBlack;
    int borderWidth = 1;

    // The area the shape takes in its bounds: squares and circles are centred at the shorter side.
    Rect Figure() const;
    bool Round() const { return shape == 2 || shape == 3; }

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
};

// A straight line from (X1, Y1) to (X2, Y2) of its container; its bounds are the box around them.
class LineControl : public Control {
public:
    explicit LineControl(std::string name, std::optional<int> index = std::nullopt)
        : Control(ControlKind::Line, std::move(name), index) {}

    Point start() const { return start_; }
    Point end() const { return end_; }
    void SetEnds(Point start, Point end);
    // Moving the line (Move, Left, Top) carries both ends along; its size follows only the ends.
    void SetBounds(const Rect& bounds) override;
    ColorBgr borderColor = kBlack;
    int borderWidth = 1;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    Point start_, end_;  // pixels of the container
};

}  // namespace taviro::platform
