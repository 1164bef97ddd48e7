// The properties of each kind of control.
#include "platform/controls/control_kinds.h"

#include <algorithm>
#include <cstdlib>

#include "platform/controls/form.h"
#include "platform/files/file_system.h"
#include "platform/input/virtual_keys.h"

namespace taviro::platform {
namespace {

GameError InvalidProcedureCall() { return {5, "Invalid procedure call or argument"}; }
GameError InvalidPropertyArrayIndex() { return {381, "Invalid property array index"}; }

ColorBgr ToColor(const PropertyValue& value) {
    int32_t number = ToInteger(value);
    // System colours (&H800000xx) show as the window face; other high bits are not colours.
    if (static_cast<uint32_t>(number) & 0x80000000u) return kButtonFace;
    if (number < 0 || number > 0xFFFFFF) throw control_errors::InvalidPropertyValue();
    return static_cast<ColorBgr>(number);
}

PropertyValue FromColor(ColorBgr color) { return static_cast<int32_t>(color); }

std::optional<PropertyValue> GetFont(const FontSpec& font, std::string_view name) {
    if (SameName(name, "FontName")) return font.name;
    if (SameName(name, "FontSize")) return font.sizePoints;
    if (SameName(name, "FontBold")) return font.bold;
    if (SameName(name, "FontItalic")) return font.italic;
    if (SameName(name, "FontUnderline")) return font.underline;
    if (SameName(name, "FontStrikethru")) return font.strikeout;
    return std::nullopt;
}

bool SetFont(FontSpec& font, std::string_view name, const PropertyValue& value) {
    if (SameName(name, "FontName")) {
        font.name = ToText(value);
    } else if (SameName(name, "FontSize")) {
        double size = ToNumber(value);
        if (!(size > 0 && size <= 2048)) throw control_errors::InvalidPropertyValue();
        font.sizePoints = size;
    } else if (SameName(name, "FontBold")) {
        font.bold = ToBoolean(value);
    } else if (SameName(name, "FontItalic")) {
        font.italic = ToBoolean(value);
    } else if (SameName(name, "FontUnderline")) {
        font.underline = ToBoolean(value);
    } else if (SameName(name, "FontStrikethru")) {
        font.strikeout = ToBoolean(value);
    } else {
        return false;
    }
    return true;
}

int32_t ToChoice(const PropertyValue& value, int32_t highest) {
    int32_t number = ToInteger(value);
    if (number < 0 || number > highest) throw control_errors::InvalidPropertyValue();
    return number;
}

}  // namespace

Canvas& PictureBox::canvas() {
    if (!canvas_) canvas_ = std::make_unique<Canvas>(bounds().width, bounds().height);
    return *canvas_;
}

void PictureBox::SetBounds(const Rect& bounds) {
    Control::SetBounds(bounds);
    if (canvas_) canvas_->Resize(this->bounds().width, this->bounds().height);
}

std::optional<PropertyValue> PictureBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Picture")) return picture;
    if (SameName(name, "BackColor")) return FromColor(backColor);
    if (SameName(name, "AutoSize")) return autoSize;
    if (SameName(name, "BorderStyle")) return borderStyle;
    return std::nullopt;
}

bool PictureBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Picture"))
        picture = ToText(value);
    else if (SameName(name, "BackColor"))
        backColor = ToColor(value);
    else if (SameName(name, "AutoSize"))
        autoSize = ToBoolean(value);
    else if (SameName(name, "BorderStyle"))
        borderStyle = ToChoice(value, 1);
    else
        return false;
    return true;
}

void PictureBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"Picture", "BackColor", "AutoSize", "BorderStyle"});
}

std::unique_ptr<Control> PictureBox::CloneAs(int index) const {
    auto clone = std::make_unique<PictureBox>(name(), index);
    CopyCommonTo(*clone);
    clone->picture = picture;
    clone->backColor = backColor;
    clone->autoSize = autoSize;
    clone->borderStyle = borderStyle;
    return clone;
}

std::optional<PropertyValue> ImageControl::GetOwn(std::string_view name) const {
    if (SameName(name, "Picture")) return picture;
    if (SameName(name, "Stretch")) return stretch;
    return std::nullopt;
}

bool ImageControl::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Picture"))
        picture = ToText(value);
    else if (SameName(name, "Stretch"))
        stretch = ToBoolean(value);
    else
        return false;
    return true;
}

void ImageControl::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"Picture", "Stretch"});
}

std::unique_ptr<Control> ImageControl::CloneAs(int index) const {
    auto clone = std::make_unique<ImageControl>(name(), index);
    CopyCommonTo(*clone);
    clone->picture = picture;
    clone->stretch = stretch;
    clone->animationStartMs = animationStartMs;
    clone->animationRate = animationRate;
    clone->animationHeldMs = animationHeldMs;
    return clone;
}

void Label::Fit() {
    if (!autoSize) return;
    const Control* root = this;
    while (root->parent()) root = root->parent();
    if (root->kind() != ControlKind::Form) return;
    TextMeasurer* measurer = static_cast<const Form*>(root)->textMeasurer();
    if (!measurer) return;
    Point size = measurer->Measure(caption, font, wordWrap ? bounds().width : 0);
    SetBounds({bounds().x, bounds().y, wordWrap ? bounds().width : size.x, size.y});
}

std::optional<PropertyValue> Label::GetOwn(std::string_view name) const {
    if (SameName(name, "Caption")) return caption;
    if (SameName(name, "ForeColor")) return FromColor(foreColor);
    if (SameName(name, "BackColor")) return FromColor(backColor);
    if (SameName(name, "BackStyle")) return transparent ? 0 : 1;
    if (SameName(name, "AutoSize")) return autoSize;
    if (SameName(name, "WordWrap")) return wordWrap;
    if (SameName(name, "Alignment")) return alignment;
    return GetFont(font, name);
}

bool Label::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Caption"))
        caption = ToText(value);
    else if (SameName(name, "ForeColor"))
        foreColor = ToColor(value);
    else if (SameName(name, "BackColor"))
        backColor = ToColor(value);
    else if (SameName(name, "BackStyle"))
        transparent = ToChoice(value, 1) == 0;
    else if (SameName(name, "AutoSize"))
        autoSize = ToBoolean(value);
    else if (SameName(name, "WordWrap"))
        wordWrap = ToBoolean(value);
    else if (SameName(name, "Alignment"))
        alignment = ToChoice(value, 2);
    else if (!SetFont(font, name, value))
        return false;
    Fit();
    return true;
}

void Label::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(),
                 {"Caption", "ForeColor", "BackColor", "BackStyle", "AutoSize", "WordWrap", "Alignment",
                  "FontName", "FontSize", "FontBold", "FontItalic", "FontUnderline", "FontStrikethru"});
}

std::unique_ptr<Control> Label::CloneAs(int index) const {
    std::unique_ptr<Label> clone = kind() == ControlKind::CommandButton
                                       ? std::make_unique<CommandButton>(name(), index)
                                       : std::make_unique<Label>(name(), index);
    CopyCommonTo(*clone);
    clone->caption = caption;
    clone->font = font;
    clone->foreColor = foreColor;
    clone->backColor = backColor;
    clone->transparent = transparent;
    clone->autoSize = autoSize;
    clone->wordWrap = wordWrap;
    clone->alignment = alignment;
    return clone;
}

std::unique_ptr<Control> CommandButton::CloneAs(int index) const { return Label::CloneAs(index); }

CheckBox::CheckBox(std::string name, std::optional<int> index)
    : Control(ControlKind::CheckBox, std::move(name), index) {
    // A click toggles the box before the game's own handlers hear the release.
    events.mouseUp = [](Control& control, const MouseEvent& event) {
        auto& box = static_cast<CheckBox&>(control);
        Rect r = box.bounds();
        if (event.button == kLeftButton && event.x >= 0 && event.y >= 0 && event.x < r.width &&
            event.y < r.height)
            box.value = box.value == 1 ? 0 : 1;
    };
}

std::optional<PropertyValue> CheckBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Value")) return value;
    if (SameName(name, "BackColor")) return FromColor(backColor);
    return std::nullopt;
}

bool CheckBox::SetOwn(std::string_view name, const PropertyValue& newValue) {
    if (SameName(name, "Value"))
        value = ToChoice(newValue, 2);
    else if (SameName(name, "BackColor"))
        backColor = ToColor(newValue);
    else
        return false;
    return true;
}

void CheckBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"BackColor", "Value"});
}

std::unique_ptr<Control> CheckBox::CloneAs(int index) const {
    auto clone = std::make_unique<CheckBox>(name(), index);
    CopyCommonTo(*clone);
    clone->value = value;
    clone->backColor = backColor;
    return clone;
}

std::optional<PropertyValue> Container::GetOwn(std::string_view name) const {
    if (SameName(name, "BackColor")) return FromColor(backColor);
    if (SameName(name, "BackStyle")) return transparent ? 0 : 1;
    return std::nullopt;
}

bool Container::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "BackColor"))
        backColor = ToColor(value);
    else if (SameName(name, "BackStyle"))
        transparent = ToChoice(value, 1) == 0;
    else
        return false;
    return true;
}

void Container::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"BackColor", "BackStyle"});
}

std::unique_ptr<Control> Container::CloneAs(int index) const {
    auto clone = std::make_unique<Container>(name(), index);
    CopyCommonTo(*clone);
    clone->backColor = backColor;
    clone->transparent = transparent;
    return clone;
}

ListBox::ListBox(ControlKind kind, std::string name, std::optional<int> index)
    : Control(kind, std::move(name), index) {
    // A press on a row selects its item; on the scroll bar it scrolls.
    events.mouseDown = [](Control& control, const MouseEvent& event) {
        auto& list = static_cast<ListBox&>(control);
        if (event.button != kLeftButton) return;
        Rect area{0, 0, list.bounds().width, list.bounds().height};
        if (std::optional<int> item = list.PressAt(area, {event.x, event.y})) list.SetListIndex(*item);
    };
}

void ListBox::AddItem(std::string text, std::optional<int> at) {
    if (!at && sorted) {
        std::string folded = FoldCase(text);
        auto place = std::upper_bound(
            items_.begin(), items_.end(), folded,
            [](const std::string& key, const std::string& item) { return key < FoldCase(item); });
        at = static_cast<int>(place - items_.begin());
    }
    if (!at) at = static_cast<int>(items_.size());
    if (*at < 0 || *at > static_cast<int>(items_.size())) throw InvalidProcedureCall();
    items_.insert(items_.begin() + *at, std::move(text));
    itemData_.insert(itemData_.begin() + *at, 0);
    newIndex_ = *at;
    if (listIndex_ >= *at) ++listIndex_;
    Touch();
}

void ListBox::RemoveItem(int at) {
    if (at < 0 || at >= static_cast<int>(items_.size())) throw InvalidProcedureCall();
    items_.erase(items_.begin() + at);
    itemData_.erase(itemData_.begin() + at);
    newIndex_ = -1;
    if (listIndex_ == at)
        listIndex_ = -1;
    else if (listIndex_ > at)
        --listIndex_;
    KeepTopInRange();
    Touch();
}

void ListBox::Clear() {
    items_.clear();
    itemData_.clear();
    listIndex_ = -1;
    topIndex_ = 0;
    newIndex_ = -1;
    Touch();
}

void ListBox::SetItem(int at, std::string text) {
    if (at < 0 || at >= static_cast<int>(items_.size())) throw InvalidPropertyArrayIndex();
    items_[static_cast<size_t>(at)] = std::move(text);
    Touch();
}

int32_t ListBox::ItemData(int at) const {
    if (at < 0 || at >= static_cast<int>(itemData_.size())) throw InvalidPropertyArrayIndex();
    return itemData_[static_cast<size_t>(at)];
}

void ListBox::SetItemData(int at, int32_t data) {
    if (at < 0 || at >= static_cast<int>(itemData_.size())) throw InvalidPropertyArrayIndex();
    itemData_[static_cast<size_t>(at)] = data;
}

std::string ListBox::List(int at) const {
    if (at < 0 || at >= static_cast<int>(items_.size())) throw InvalidPropertyArrayIndex();
    return items_[static_cast<size_t>(at)];
}

void ListBox::SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size())) throw InvalidPropertyArrayIndex();
    if (index == listIndex_) return;
    listIndex_ = index;
    // The selected item comes into view.
    if (index >= 0) {
        int rows = LayoutIn({0, 0, bounds().width, bounds().height}).rowCount;
        if (index < topIndex_) topIndex_ = index;
        if (index >= topIndex_ + rows) topIndex_ = index - rows + 1;
    }
    Touch();
    SelectionChanged();
}

void ListBox::SelectionChanged() {
    if (auto handler = events.click) handler(*this);
}

void ListBox::SetTopIndex(int index) {
    if (index < 0 || index >= std::max<int>(1, static_cast<int>(items_.size())))
        throw InvalidPropertyArrayIndex();
    topIndex_ = index;
    KeepTopInRange();
    Touch();
}

void ListBox::ScrollBy(int rows) {
    if (items_.empty()) return;
    SetTopIndex(std::clamp(topIndex_ + rows, 0, static_cast<int>(items_.size()) - 1));
}

void ListBox::KeepTopInRange() {
    topIndex_ = std::clamp(topIndex_, 0, LayoutIn({0, 0, bounds().width, bounds().height}).maxTopIndex);
}

int ListBox::RowHeight() const {
    const Control* root = this;
    while (root->parent()) root = root->parent();
    TextMeasurer* measurer =
        root->kind() == ControlKind::Form ? static_cast<const Form*>(root)->textMeasurer() : nullptr;
    if (!measurer) return 13;
    // Measuring draws the text: keep the height until the font changes.
    if (measuredRowHeight_ == 0 || !(measuredFont_ == font)) {
        measuredFont_ = font;
        measuredRowHeight_ = std::max(1, measurer->Measure("Ag", font, 0).y);
    }
    return measuredRowHeight_;
}

ListBox::Layout ListBox::LayoutIn(const Rect& area) const {
    Layout layout;
    layout.rowHeight = RowHeight();
    // A one-pixel border all round.
    Rect inside{area.x + 1, area.y + 1, std::max(0, area.width - 2), std::max(0, area.height - 2)};
    layout.rowCount = std::max(1, inside.height / layout.rowHeight);
    const int count = static_cast<int>(items_.size());
    layout.rows = inside;
    if (count > layout.rowCount) {
        int barWidth = std::min(ScrollBar::kArrowSide, inside.width);
        layout.rows.width = inside.width - barWidth;
        layout.scrollBar = Rect{inside.x + layout.rows.width, inside.y, barWidth, inside.height};
        layout.maxTopIndex = count - layout.rowCount;
    }
    return layout;
}

std::optional<int> ListBox::PressAt(const Rect& area, Point point) {
    Layout layout = LayoutIn(area);
    if (layout.scrollBar && layout.scrollBar->Contains(point)) {
        // The bar steps as a scroll bar of the same size would: a row at the arrows, a page on the track.
        ScrollBar bar(true, name());
        bar.SetBounds({0, 0, layout.scrollBar->width, layout.scrollBar->height});
        bar.maximum = layout.maxTopIndex;
        bar.largeChange = layout.rowCount;
        bar.SetValue(std::min(topIndex_, layout.maxTopIndex));
        bar.events.mouseDown(bar,
                             {kLeftButton, 0, point.x - layout.scrollBar->x, point.y - layout.scrollBar->y});
        topIndex_ = bar.value();
        Touch();
        return std::nullopt;
    }
    if (!layout.rows.Contains(point)) return std::nullopt;
    int item = topIndex_ + (point.y - layout.rows.y) / layout.rowHeight;
    if (item >= static_cast<int>(items_.size())) return std::nullopt;
    return item;
}

std::optional<PropertyValue> ListBox::GetOwn(std::string_view name) const {
    if (SameName(name, "ListCount")) return static_cast<int32_t>(items_.size());
    if (SameName(name, "ListIndex")) return listIndex_;
    if (SameName(name, "Text")) return listIndex_ >= 0 ? items_[static_cast<size_t>(listIndex_)] : "";
    if (SameName(name, "TopIndex")) return topIndex_;
    if (SameName(name, "Sorted")) return sorted;
    if (SameName(name, "NewIndex")) return newIndex_;
    if (SameName(name, "ForeColor")) return FromColor(foreColor);
    if (SameName(name, "BackColor")) return FromColor(backColor);
    return GetFont(font, name);
}

bool ListBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "ListCount") || SameName(name, "Text") || SameName(name, "NewIndex"))
        throw control_errors::ReadOnlyProperty();
    if (SameName(name, "ListIndex")) {
        SetListIndex(ToInteger(value));
    } else if (SameName(name, "TopIndex")) {
        SetTopIndex(ToInteger(value));
    } else if (SameName(name, "Sorted")) {
        sorted = ToBoolean(value);
    } else if (SameName(name, "ForeColor")) {
        foreColor = ToColor(value);
    } else if (SameName(name, "BackColor")) {
        backColor = ToColor(value);
    } else {
        return SetFont(font, name, value);
    }
    return true;
}

void ListBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"ListCount", "ListIndex", "Text", "TopIndex", "Sorted", "NewIndex",
                               "ForeColor", "BackColor", "FontName", "FontSize", "FontBold", "FontItalic",
                               "FontUnderline", "FontStrikethru"});
}

void ListBox::CopyListTo(ListBox& clone) const {
    CopyCommonTo(clone);
    clone.items_ = items_;
    clone.itemData_ = itemData_;
    clone.sorted = sorted;
    clone.font = font;
    clone.foreColor = foreColor;
    clone.backColor = backColor;
}

std::unique_ptr<Control> ListBox::CloneAs(int index) const {
    auto clone = std::make_unique<ListBox>(name(), index);
    CopyListTo(*clone);
    return clone;
}

TimerControl::TimerControl(TimerQueue& queue, std::string name, std::optional<int> index)
    : Control(ControlKind::Timer, std::move(name), index), queue_(queue), timer_(queue) {
    timer_.SetHandler([this] {
        if (events.timer) events.timer(*this);
    });
    // A timer control is never seen, so the flag of visibility means nothing for it.
    SetVisible(false);
}

void TimerControl::SetEnabled(bool enabled) {
    Control::SetEnabled(enabled);
    timer_.SetEnabled(enabled);
}

std::optional<PropertyValue> TimerControl::GetOwn(std::string_view name) const {
    if (SameName(name, "Interval")) return static_cast<int32_t>(timer_.intervalMs());
    return std::nullopt;
}

bool TimerControl::SetOwn(std::string_view name, const PropertyValue& value) {
    if (!SameName(name, "Interval")) return false;
    int32_t intervalMs = ToInteger(value);
    if (intervalMs < 0 || intervalMs > 65535) throw control_errors::InvalidPropertyValue();
    timer_.SetIntervalMs(intervalMs);
    return true;
}

void TimerControl::AddOwnPropertyNames(std::vector<std::string>& names) const { names.push_back("Interval"); }

std::unique_ptr<Control> TimerControl::CloneAs(int index) const {
    auto clone = std::make_unique<TimerControl>(queue_, name(), index);
    CopyCommonTo(*clone);
    clone->SetEnabled(enabled());
    clone->timer_.SetIntervalMs(timer_.intervalMs());
    return clone;
}

namespace {

// The byte offset of the character at a position of UTF-8 text (the end for positions past it).
size_t ByteOffset(std::string_view text, int position) {
    size_t at = 0;
    for (int count = 0; at < text.size() && count < position; ++count) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return at;
}

int CharacterCount(std::string_view text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }));
}

// The code a KeyPress reports for a typed character: its Latin-1 code, or "?" beyond it.
int KeyAsciiOf(std::string_view character) {
    auto lead = static_cast<unsigned char>(character[0]);
    if (lead < 0x80) return lead;
    if ((lead & 0xE0) == 0xC0 && character.size() == 2) {
        int code = ((lead & 0x1F) << 6) | (static_cast<unsigned char>(character[1]) & 0x3F);
        if (code < 256) return code;
    }
    return '?';
}

void ForEachTextBox(Control& control, const std::function<void(TextBox&)>& visit) {
    if (control.kind() == ControlKind::TextBox) visit(static_cast<TextBox&>(control));
    for (const auto& child : control.children()) ForEachTextBox(*child, visit);
}

}  // namespace

TextBox::TextBox(std::string name, std::optional<int> index)
    : Control(ControlKind::TextBox, std::move(name), index) {
    // Pressing the box gives it the keyboard focus, the caret at the end of its text.
    events.mouseDown = [](Control& control, const MouseEvent&) {
        auto& box = static_cast<TextBox&>(control);
        GiveFocus(box);
        box.Select(box.Length(), 0);
    };
}

std::string TextBox::Prefix(std::string_view utf8, int characters) {
    return std::string(utf8.substr(0, ByteOffset(utf8, characters)));
}

int TextBox::Length() const { return CharacterCount(text_); }

void TextBox::SetText(std::string text) {
    bool differs = text != text_;
    text_ = std::move(text);
    Select(0, 0);
    if (differs) Changed();
}

std::string TextBox::SelectedText() const {
    size_t from = ByteOffset(text_, selStart_);
    return text_.substr(from, ByteOffset(text_, selStart_ + selLength_) - from);
}

void TextBox::ReplaceSelection(std::string_view text) { Replace(text); }

std::string TextBox::DisplayText() const {
    if (passwordChar.empty()) return text_;
    std::string shown;
    for (int count = Length(); count > 0; --count) shown += passwordChar;
    return shown;
}

void TextBox::Select(int start, int length) {
    int size = Length();
    selStart_ = std::clamp(start, 0, size);
    selLength_ = std::clamp(length, 0, size - selStart_);
    caretAtEnd_ = true;
    Touch();
}

bool TextBox::Replace(std::string_view text) {
    size_t from = ByteOffset(text_, selStart_);
    size_t to = ByteOffset(text_, selStart_ + selLength_);
    std::string changed = text_.substr(0, from) + std::string(text) + text_.substr(to);
    int caretAfter = selStart_ + CharacterCount(text);
    bool differs = changed != text_;
    text_ = std::move(changed);
    Select(caretAfter, 0);
    return !differs || Changed();
}

bool TextBox::Changed() {
    Touch();
    return Raise(events.change);
}

template <typename Handler, typename... Arguments>
bool TextBox::Raise(const Handler& handler, Arguments... arguments) {
    if (!handler) return true;
    // Copies: the handler may remove the box, and its events with it.
    std::weak_ptr<char> alive = alive_;
    Handler call = handler;
    call(*this, arguments...);
    return !alive.expired();
}

void TextBox::Type(std::string_view utf8) {
    for (size_t at = 0; at < utf8.size();) {
        size_t next = ByteOffset(utf8.substr(at), 1) + at;
        std::string_view character = utf8.substr(at, next - at);
        at = next;
        if (!Raise(events.keyPress, KeyAsciiOf(character))) return;
        if (locked || static_cast<unsigned char>(character[0]) < 0x20) continue;
        if (maxLength > 0 && Length() - selLength_ >= maxLength) continue;
        if (!Replace(character)) return;
    }
}

void TextBox::PressKey(int virtualKey, int shift) {
    if (!Raise(events.keyDown, virtualKey, shift)) return;
    int size = Length();
    int caretNow = caret();
    // Shift with a moving key stretches the selection from its other end.
    auto moveTo = [&](int position) {
        position = std::clamp(position, 0, size);
        if (shift & kShiftKey) {
            int anchor = caretAtEnd_ ? selStart_ : selStart_ + selLength_;
            Select(std::min(anchor, position), std::abs(position - anchor));
            caretAtEnd_ = position >= anchor;
        } else {
            Select(position, 0);
        }
    };
    switch (virtualKey) {
        case vk::kLeft: moveTo(selLength_ && !(shift & kShiftKey) ? selStart_ : caretNow - 1); break;
        case vk::kRight:
            moveTo(selLength_ && !(shift & kShiftKey) ? selStart_ + selLength_ : caretNow + 1);
            break;
        case vk::kHome: moveTo(0); break;
        case vk::kEnd: moveTo(size); break;
        case vk::kBackspace:
            if (!Raise(events.keyPress, static_cast<int>(vk::kBackspace)) || locked) break;
            if (selLength_ == 0 && selStart_ > 0) Select(selStart_ - 1, 1);
            Replace("");
            break;
        case vk::kDelete:
            if (locked) break;
            if (selLength_ == 0) Select(selStart_, 1);
            Replace("");
            break;
        case vk::kReturn: Raise(events.keyPress, static_cast<int>(vk::kReturn)); break;
        default: break;
    }
}

void TextBox::ReleaseKey(int virtualKey, int shift) { Raise(events.keyUp, virtualKey, shift); }

std::optional<PropertyValue> TextBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Text")) return text_;
    if (SameName(name, "MaxLength")) return maxLength;
    if (SameName(name, "Locked")) return locked;
    if (SameName(name, "PasswordChar")) return passwordChar;
    if (SameName(name, "SelStart")) return selStart_;
    if (SameName(name, "SelLength")) return selLength_;
    if (SameName(name, "SelText")) return SelectedText();
    if (SameName(name, "ForeColor")) return FromColor(foreColor);
    if (SameName(name, "BackColor")) return FromColor(backColor);
    return GetFont(font, name);
}

bool TextBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Text")) {
        SetText(ToText(value));
    } else if (SameName(name, "MaxLength")) {
        int32_t length = ToInteger(value);
        if (length < 0) throw control_errors::InvalidPropertyValue();
        maxLength = length;
    } else if (SameName(name, "Locked")) {
        locked = ToBoolean(value);
    } else if (SameName(name, "PasswordChar")) {
        std::string character = ToText(value);
        passwordChar = character.substr(0, ByteOffset(character, 1));
    } else if (SameName(name, "SelStart")) {
        int32_t start = ToInteger(value);
        if (start < 0) throw control_errors::InvalidPropertyValue();
        Select(start, 0);
    } else if (SameName(name, "SelLength")) {
        int32_t length = ToInteger(value);
        if (length < 0) throw control_errors::InvalidPropertyValue();
        Select(selStart_, length);
    } else if (SameName(name, "SelText")) {
        Replace(ToText(value));
    } else if (SameName(name, "ForeColor")) {
        foreColor = ToColor(value);
    } else if (SameName(name, "BackColor")) {
        backColor = ToColor(value);
    } else if (!SetFont(font, name, value)) {
        return false;
    }
    return true;
}

void TextBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"Text", "MaxLength", "Locked", "PasswordChar", "SelStart", "SelLength",
                               "SelText", "ForeColor", "BackColor", "FontName", "FontSize", "FontBold",
                               "FontItalic", "FontUnderline", "FontStrikethru"});
}

std::unique_ptr<Control> TextBox::CloneAs(int index) const {
    auto clone = std::make_unique<TextBox>(name(), index);
    CopyCommonTo(*clone);
    clone->text_ = text_;
    clone->maxLength = maxLength;
    clone->locked = locked;
    clone->passwordChar = passwordChar;
    clone->font = font;
    clone->foreColor = foreColor;
    clone->backColor = backColor;
    return clone;
}

TextBox* FocusedTextBox(Control& root) {
    TextBox* focused = nullptr;
    ForEachTextBox(root, [&](TextBox& box) {
        if (box.hasFocus && box.IsShown() && box.enabled()) focused = &box;
    });
    return focused;
}

void GiveFocus(TextBox& box) {
    Control* root = &box;
    while (root->parent()) root = root->parent();
    ForEachTextBox(*root, [](TextBox& other) { other.hasFocus = false; });
    box.hasFocus = true;
}

bool KeyToFocus(Control& root, int virtualKey, int shift, bool down) {
    TextBox* box = FocusedTextBox(root);
    if (!box) return false;
    if (down)
        box->PressKey(virtualKey, shift);
    else
        box->ReleaseKey(virtualKey, shift);
    return true;
}

bool TextToFocus(Control& root, std::string_view utf8) {
    TextBox* box = FocusedTextBox(root);
    if (!box) return false;
    box->Type(utf8);
    return true;
}

}  // namespace taviro::platform

namespace taviro::platform {

OptionButton::OptionButton(std::string name, std::optional<int> index)
    : Control(ControlKind::OptionButton, std::move(name), index) {
    // A press selects the button before the game's own handlers hear it.
    events.mouseDown = [](Control& control, const MouseEvent& event) {
        if (event.button == kLeftButton) static_cast<OptionButton&>(control).SetValue(true);
    };
}

void OptionButton::SetValue(bool value) {
    value_ = value;
    Touch();
    if (!value || !parent()) return;
    for (const auto& sibling : parent()->children()) {
        if (sibling.get() != this && sibling->kind() == ControlKind::OptionButton) {
            static_cast<OptionButton&>(*sibling).value_ = false;
            static_cast<OptionButton&>(*sibling).Touch();
        }
    }
}

std::optional<PropertyValue> OptionButton::GetOwn(std::string_view name) const {
    if (SameName(name, "Value")) return value_;
    if (SameName(name, "BackColor")) return FromColor(backColor);
    return std::nullopt;
}

bool OptionButton::SetOwn(std::string_view name, const PropertyValue& newValue) {
    if (SameName(name, "Value"))
        SetValue(ToBoolean(newValue));
    else if (SameName(name, "BackColor"))
        backColor = ToColor(newValue);
    else
        return false;
    return true;
}

void OptionButton::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"BackColor", "Value"});
}

std::unique_ptr<Control> OptionButton::CloneAs(int index) const {
    auto clone = std::make_unique<OptionButton>(name(), index);
    CopyCommonTo(*clone);
    clone->backColor = backColor;
    return clone;
}

namespace {

int ToScrollNumber(const PropertyValue& value) {
    int32_t number = ToInteger(value);
    if (number < -32768 || number > 32767) throw control_errors::InvalidPropertyValue();
    return number;
}

}  // namespace

ScrollBar::ScrollBar(bool vertical, std::string name, std::optional<int> index)
    : Control(vertical ? ControlKind::VScrollBar : ControlKind::HScrollBar, std::move(name), index),
      vertical_(vertical) {
    // A press on an arrow steps by SmallChange, on the track by LargeChange towards the press.
    events.mouseDown = [](Control& control, const MouseEvent& event) {
        auto& bar = static_cast<ScrollBar&>(control);
        if (event.button != kLeftButton) return;
        int along = bar.vertical_ ? event.y : event.x;
        int length = bar.vertical_ ? bar.bounds().height : bar.bounds().width;
        auto [thumbStart, thumbLength] = bar.Thumb();
        if (along < kArrowSide)
            bar.Step(-bar.smallChange);
        else if (along >= length - kArrowSide)
            bar.Step(bar.smallChange);
        else if (along < thumbStart)
            bar.Step(-bar.largeChange);
        else if (along >= thumbStart + thumbLength)
            bar.Step(bar.largeChange);
    };
}

void ScrollBar::SetValue(int value) {
    if (value < std::min(minimum, maximum) || value > std::max(minimum, maximum))
        throw control_errors::InvalidPropertyValue();
    if (value == value_) return;
    value_ = value;
    Touch();
    if (auto handler = events.change) handler(*this);
}

void ScrollBar::Step(int change) {
    // Towards Max is up the numbers when Max is the larger, down them when it is the smaller.
    int direction = maximum >= minimum ? 1 : -1;
    int target = value_ + change * direction;
    SetValue(std::clamp(target, std::min(minimum, maximum), std::max(minimum, maximum)));
}

std::pair<int, int> ScrollBar::Thumb() const {
    int length = vertical_ ? bounds().height : bounds().width;
    int track = std::max(0, length - 2 * kArrowSide);
    int thumb = std::min(track, kArrowSide);
    int span = std::abs(maximum - minimum);
    int travelled = span == 0 ? 0 : std::abs(value_ - minimum) * (track - thumb) / span;
    return {kArrowSide + travelled, thumb};
}

std::optional<PropertyValue> ScrollBar::GetOwn(std::string_view name) const {
    if (SameName(name, "Value")) return value_;
    if (SameName(name, "Min")) return minimum;
    if (SameName(name, "Max")) return maximum;
    if (SameName(name, "SmallChange")) return smallChange;
    if (SameName(name, "LargeChange")) return largeChange;
    return std::nullopt;
}

bool ScrollBar::SetOwn(std::string_view name, const PropertyValue& newValue) {
    if (SameName(name, "Value")) {
        SetValue(ToScrollNumber(newValue));
    } else if (SameName(name, "Min") || SameName(name, "Max")) {
        (SameName(name, "Min") ? minimum : maximum) = ToScrollNumber(newValue);
        Touch();
        // The value follows a range that no longer holds it.
        SetValue(std::clamp(value_, std::min(minimum, maximum), std::max(minimum, maximum)));
    } else if (SameName(name, "SmallChange") || SameName(name, "LargeChange")) {
        int change = ToScrollNumber(newValue);
        if (change < 1) throw control_errors::InvalidPropertyValue();
        (SameName(name, "SmallChange") ? smallChange : largeChange) = change;
        Touch();
    } else {
        return false;
    }
    return true;
}

void ScrollBar::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"Value", "Min", "Max", "SmallChange", "LargeChange"});
}

std::unique_ptr<Control> ScrollBar::CloneAs(int index) const {
    auto clone = std::make_unique<ScrollBar>(vertical_, name(), index);
    CopyCommonTo(*clone);
    clone->minimum = minimum;
    clone->maximum = maximum;
    clone->smallChange = smallChange;
    clone->largeChange = largeChange;
    clone->value_ = value_;
    return clone;
}

}  // namespace taviro::platform

namespace taviro::platform {

Rect ShapeControl::Figure() const {
    Rect area{0, 0, bounds().width, bounds().height};
    if (shape != 1 && shape != 3 && shape != 5) return area;
    int side = std::min(area.width, area.height);
    return {(area.width - side) / 2, (area.height - side) / 2, side, side};
}

std::optional<PropertyValue> ShapeControl::GetOwn(std::string_view name) const {
    if (SameName(name, "Shape")) return shape;
    if (SameName(name, "BackStyle")) return opaque ? 1 : 0;
    if (SameName(name, "BackColor")) return FromColor(backColor);
    if (SameName(name, "FillStyle")) return fillStyle;
    if (SameName(name, "FillColor")) return FromColor(fillColor);
    if (SameName(name, "BorderStyle")) return borderStyle;
    if (SameName(name, "BorderColor")) return FromColor(borderColor);
    if (SameName(name, "BorderWidth")) return borderWidth;
    return std::nullopt;
}

bool ShapeControl::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Shape"))
        shape = ToChoice(value, 5);
    else if (SameName(name, "BackStyle"))
        opaque = ToChoice(value, 1) == 1;
    else if (SameName(name, "BackColor"))
        backColor = ToColor(value);
    else if (SameName(name, "FillStyle"))
        fillStyle = ToChoice(value, 7);
    else if (SameName(name, "FillColor"))
        fillColor = ToColor(value);
    else if (SameName(name, "BorderStyle"))
        borderStyle = ToChoice(value, 6);
    else if (SameName(name, "BorderColor"))
        borderColor = ToColor(value);
    else if (SameName(name, "BorderWidth"))
        borderWidth = std::max(1, ToChoice(value, 8192));
    else
        return false;
    return true;
}

void ShapeControl::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"Shape", "BackStyle", "BackColor", "FillStyle", "FillColor", "BorderStyle",
                               "BorderColor", "BorderWidth"});
}

std::unique_ptr<Control> ShapeControl::CloneAs(int index) const {
    auto clone = std::make_unique<ShapeControl>(name(), index);
    CopyCommonTo(*clone);
    clone->shape = shape;
    clone->opaque = opaque;
    clone->backColor = backColor;
    clone->fillStyle = fillStyle;
    clone->fillColor = fillColor;
    clone->borderStyle = borderStyle;
    clone->borderColor = borderColor;
    clone->borderWidth = borderWidth;
    return clone;
}

void LineControl::SetEnds(Point start, Point end) {
    start_ = start;
    end_ = end;
    Control::SetBounds({std::min(start.x, end.x), std::min(start.y, end.y), std::abs(end.x - start.x) + 1,
                        std::abs(end.y - start.y) + 1});
}

void LineControl::SetBounds(const Rect& bounds) {
    Point shift{bounds.x - this->bounds().x, bounds.y - this->bounds().y};
    SetEnds({start_.x + shift.x, start_.y + shift.y}, {end_.x + shift.x, end_.y + shift.y});
}

std::optional<PropertyValue> LineControl::GetOwn(std::string_view name) const {
    if (SameName(name, "X1")) return PixelsToTwips(start_.x);
    if (SameName(name, "Y1")) return PixelsToTwips(start_.y);
    if (SameName(name, "X2")) return PixelsToTwips(end_.x);
    if (SameName(name, "Y2")) return PixelsToTwips(end_.y);
    if (SameName(name, "BorderColor")) return FromColor(borderColor);
    if (SameName(name, "BorderWidth")) return borderWidth;
    return std::nullopt;
}

bool LineControl::SetOwn(std::string_view name, const PropertyValue& value) {
    Point start = start_, end = end_;
    if (SameName(name, "X1"))
        start.x = TwipsToPixels(value);
    else if (SameName(name, "Y1"))
        start.y = TwipsToPixels(value);
    else if (SameName(name, "X2"))
        end.x = TwipsToPixels(value);
    else if (SameName(name, "Y2"))
        end.y = TwipsToPixels(value);
    else if (SameName(name, "BorderColor"))
        borderColor = ToColor(value);
    else if (SameName(name, "BorderWidth"))
        borderWidth = std::max(1, ToChoice(value, 8192));
    else
        return false;
    SetEnds(start, end);
    return true;
}

void LineControl::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"X1", "Y1", "X2", "Y2", "BorderColor", "BorderWidth"});
}

std::unique_ptr<Control> LineControl::CloneAs(int index) const {
    auto clone = std::make_unique<LineControl>(name(), index);
    CopyCommonTo(*clone);
    clone->borderColor = borderColor;
    clone->borderWidth = borderWidth;
    clone->SetEnds(start_, end_);
    return clone;
}

}  // namespace taviro::platform
