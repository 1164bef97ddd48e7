// The properties of each kind of control.
#include "platform/controls/control_kinds.h"

#include "platform/controls/form.h"

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

void ListBox::AddItem(std::string text, std::optional<int> at) {
    if (!at) at = static_cast<int>(items_.size());
    if (*at < 0 || *at > static_cast<int>(items_.size())) throw InvalidProcedureCall();
    items_.insert(items_.begin() + *at, std::move(text));
    if (listIndex_ >= *at) ++listIndex_;
    Touch();
}

void ListBox::RemoveItem(int at) {
    if (at < 0 || at >= static_cast<int>(items_.size())) throw InvalidProcedureCall();
    items_.erase(items_.begin() + at);
    if (listIndex_ == at)
        listIndex_ = -1;
    else if (listIndex_ > at)
        --listIndex_;
    Touch();
}

void ListBox::Clear() {
    items_.clear();
    listIndex_ = -1;
    Touch();
}

const std::string& ListBox::List(int at) const {
    if (at < 0 || at >= static_cast<int>(items_.size())) throw InvalidPropertyArrayIndex();
    return items_[static_cast<size_t>(at)];
}

std::optional<PropertyValue> ListBox::GetOwn(std::string_view name) const {
    if (SameName(name, "ListCount")) return static_cast<int32_t>(items_.size());
    if (SameName(name, "ListIndex")) return listIndex_;
    if (SameName(name, "Text")) return listIndex_ >= 0 ? items_[static_cast<size_t>(listIndex_)] : "";
    return std::nullopt;
}

bool ListBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "ListCount") || SameName(name, "Text")) throw control_errors::ReadOnlyProperty();
    if (!SameName(name, "ListIndex")) return false;
    int32_t index = ToInteger(value);
    if (index < -1 || index >= static_cast<int32_t>(items_.size())) throw InvalidPropertyArrayIndex();
    listIndex_ = index;
    return true;
}

void ListBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    names.insert(names.end(), {"ListCount", "ListIndex", "Text"});
}

std::unique_ptr<Control> ListBox::CloneAs(int index) const {
    auto clone = std::make_unique<ListBox>(name(), index);
    CopyCommonTo(*clone);
    clone->items_ = items_;
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

}  // namespace taviro::platform
