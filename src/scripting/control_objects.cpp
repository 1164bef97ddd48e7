// Controls, control arrays, menu commands and pictures for scripts.
#include "scripting/control_objects.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_map>

#include "platform/controls/control_kinds.h"
#include "platform/controls/list_controls.h"
#include "platform/files/file_system.h"
#include "vbscript/conversions.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

std::u16string Utf16(const std::string& text) { return vbscript::FromUtf8OrWindows1252(text); }
std::string Utf8(const std::u16string& text) { return vbscript::ToUtf8(text); }

// Finds a name in a table without regard to case; the position or -1.
template <size_t N>
int Position(const std::array<std::u16string_view, N>& table, std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    for (size_t i = 0; i < N; ++i) {
        if (vbscript::FoldCase(table[i]) == folded) return static_cast<int>(i);
    }
    return -1;
}

// ---------------------------------------------------------------- pictures

enum PictureMember : DispatchId { kHandle = vbscript::kDefaultMember, kPictureType };

// Picture handles: a number per picture file, the same for the same file all through the run, so
// that a picture assigned without Set (which passes its Handle) finds its file again.
struct PictureHandles {
    std::unordered_map<std::string, int32_t> byPath;
    std::unordered_map<int32_t, std::string> byHandle;
};

PictureHandles& Handles() {
    static PictureHandles handles;
    return handles;
}

int32_t HandleOf(const std::string& path) {
    if (path.empty()) return 0;
    PictureHandles& handles = Handles();
    auto [entry, added] = handles.byPath.try_emplace(path, static_cast<int32_t>(handles.byPath.size() + 1));
    if (added) handles.byHandle.emplace(entry->second, path);
    return entry->second;
}

int32_t PictureType(const std::string& path) {
    if (path.empty()) return 0;
    std::string lower = platform::FoldCase(path);
    auto endsWith = [&](std::string_view end) { return lower.ends_with(end); };
    if (endsWith(".ico") || endsWith(".cur")) return 3;
    if (endsWith(".wmf")) return 2;
    if (endsWith(".emf")) return 4;
    return 1;
}

// ---------------------------------------------------------------- controls

// Methods first, then every property any kind of control answers; the member number of a
// method is its position plus one, that of a property its position plus kFirstProperty.
constexpr std::array<std::u16string_view, 10> kControlMethods = {
    u"Move",       u"ZOrder", u"Refresh", u"Cls",      u"AddItem",
    u"RemoveItem", u"Clear",  u"List",    u"SetFocus", u"ItemData"};
enum ControlMethod : DispatchId {
    kMove = 1,
    kZOrder,
    kRefresh,
    kCls,
    kAddItem,
    kRemoveItem,
    kClear,
    kList,
    kSetFocus,
    kItemData
};

// clang-format off
constexpr std::array<std::u16string_view, 63> kControlProperties = {
    u"Name",      u"Index",       u"Left",         u"Top",           u"Width",          u"Height",
    u"Visible",   u"Enabled",     u"MousePointer", u"MouseIcon",     u"DragIcon",       u"DragMode",
    u"Tag",       u"Picture",     u"BackColor",    u"AutoSize",      u"BorderStyle",    u"Stretch",
    u"Caption",   u"ForeColor",   u"BackStyle",    u"WordWrap",      u"Alignment",      u"FontName",
    u"FontSize",  u"FontBold",    u"FontItalic",   u"FontUnderline", u"FontStrikethru", u"Value",
    u"ListCount", u"ListIndex",   u"Text",         u"Interval",      u"ScaleWidth",     u"ScaleHeight",
    u"MaxLength", u"Locked",      u"PasswordChar", u"SelStart",      u"SelLength",      u"SelText",
    u"Min",       u"Max",         u"SmallChange",  u"LargeChange",   u"Shape",          u"FillStyle",
    u"FillColor", u"BorderColor", u"BorderWidth",  u"X1",            u"Y1",             u"X2",
    u"Y2",        u"TopIndex",    u"Sorted",       u"Style",         u"Path",           u"Pattern",
    u"FileName",  u"Drive",       u"NewIndex"};
// clang-format on
constexpr DispatchId kFirstProperty = 100;

// Properties that hold a picture file: scripts read and assign picture objects.
bool IsPictureProperty(std::string_view name) {
    return platform::SameName(name, "Picture") || platform::SameName(name, "MouseIcon") ||
           platform::SameName(name, "DragIcon");
}

// The property read when a control is used as a value, as the original's controls have them.
const char* DefaultProperty(platform::ControlKind kind) {
    switch (kind) {
        case platform::ControlKind::Label: return "Caption";
        case platform::ControlKind::CommandButton: return "Caption";
        case platform::ControlKind::CheckBox: return "Value";
        case platform::ControlKind::Timer: return "Enabled";
        case platform::ControlKind::ListBox: return "Text";
        case platform::ControlKind::ComboBox: return "Text";
        case platform::ControlKind::FileListBox: return "FileName";
        case platform::ControlKind::DirListBox: return "Path";
        case platform::ControlKind::DriveListBox: return "Drive";
        case platform::ControlKind::TextBox: return "Text";
        case platform::ControlKind::OptionButton:
        case platform::ControlKind::HScrollBar:
        case platform::ControlKind::VScrollBar: return "Value";
        case platform::ControlKind::PictureBox:
        case platform::ControlKind::Image: return "Picture";
        default: return nullptr;
    }
}

Variant FromProperty(const platform::PropertyValue& value) {
    if (auto* flag = std::get_if<bool>(&value)) return Variant(*flag);
    if (auto* number = std::get_if<int32_t>(&value)) return Variant(*number);
    if (auto* real = std::get_if<double>(&value)) return Variant(*real);
    return Variant(Utf16(std::get<std::string>(value)));
}

// A script value as a property value; Empty becomes the empty value of the property's own type.
platform::PropertyValue ToProperty(const Variant& given, const platform::PropertyValue& current) {
    const Variant& value = given.Target();
    switch (value.type()) {
        case vbscript::VarType::Empty:
            if (std::holds_alternative<std::string>(current)) return std::string();
            return int32_t{0};
        case vbscript::VarType::Null: vbscript::Throw(vbscript::err::kInvalidUseOfNull);
        case vbscript::VarType::Object: return ToProperty(vbscript::DefaultValue(value.object()), current);
        case vbscript::VarType::Boolean: return value.boolean();
        case vbscript::VarType::Byte:
        case vbscript::VarType::Integer:
        case vbscript::VarType::Long: return vbscript::ToLong(value);
        case vbscript::VarType::String: return Utf8(vbscript::ToString(value));
        case vbscript::VarType::Single:
        case vbscript::VarType::Double:
        case vbscript::VarType::Currency:
        case vbscript::VarType::Date: return vbscript::ToDouble(value);
        default: vbscript::Throw(vbscript::err::kTypeMismatch);
    }
}

bool Given(std::span<Variant> arguments, size_t i) {
    return i < arguments.size() && !arguments[i].Target().IsMissing();
}

// Any list: List, ListCount and the like.
platform::ListBox& AsListBox(platform::Control& control) {
    switch (control.kind()) {
        case platform::ControlKind::ListBox:
        case platform::ControlKind::ComboBox:
        case platform::ControlKind::FileListBox:
        case platform::ControlKind::DirListBox:
        case platform::ControlKind::DriveListBox: return static_cast<platform::ListBox&>(control);
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

// A list whose items the script fills (AddItem, RemoveItem, Clear): not the file, folder and drive lists.
platform::ListBox& AsFilledList(platform::Control& control) {
    if (control.kind() != platform::ControlKind::ListBox && control.kind() != platform::ControlKind::ComboBox)
        vbscript::Throw(vbscript::err::kNoSuchMember);
    return static_cast<platform::ListBox&>(control);
}

Variant GetProperty(platform::Control& control, std::string_view name) {
    if (IsPictureProperty(name)) {
        return Variant(vbscript::Ref<vbscript::Object>(
            vbscript::MakeRef<PictureObject>(platform::ToText(control.Get(name)))));
    }
    return FromProperty(control.Get(name));
}

void SetProperty(platform::Control& control, std::string_view name, const Variant& value) {
    if (IsPictureProperty(name)) {
        std::optional<std::string> path = PicturePathOf(value);
        if (!path) vbscript::Throw(vbscript::err::kTypeMismatch);
        control.Set(name, *path);
        return;
    }
    control.Set(name, ToProperty(value, control.Get(name)));
}

// ---------------------------------------------------------------- arrays and menus

enum ArrayMember : DispatchId { kItem = vbscript::kDefaultMember, kCount, kLBound, kUBound };
constexpr std::array<std::u16string_view, 4> kArrayMembers = {u"Item", u"Count", u"LBound", u"UBound"};

class ElementWalker final : public vbscript::Enumerator {
public:
    explicit ElementWalker(std::vector<Variant> elements) : elements_(std::move(elements)) {}
    bool Next(Variant& item) override {
        if (next_ >= elements_.size()) return false;
        item = elements_[next_++];
        return true;
    }

private:
    std::vector<Variant> elements_;
    size_t next_ = 0;
};

enum MenuMember : DispatchId { kMenuCaption = 1, kChecked, kMenuEnabled, kMenuVisible, kMenuName };
constexpr std::array<std::u16string_view, 5> kMenuMembers = {u"Caption", u"Checked", u"Enabled", u"Visible",
                                                             u"Name"};

}  // namespace

std::optional<std::string> PicturePathOf(const Variant& given) {
    const Variant& value = given.Target();
    if (value.IsEmpty()) return std::string();
    if (value.IsObject()) {
        if (!value.object()) return std::string();
        if (auto* picture = dynamic_cast<PictureObject*>(value.object())) return picture->path();
        return std::nullopt;
    }
    if (!value.IsNumeric() || value.type() == vbscript::VarType::Boolean) return std::nullopt;
    double handle = vbscript::ToDouble(value);
    if (handle == 0) return std::string();
    auto found = Handles().byHandle.find(static_cast<int32_t>(handle));
    if (found == Handles().byHandle.end() || found->first != handle) return std::nullopt;
    return found->second;
}

DispatchId PictureObject::MemberId(std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    if (folded == u"handle") return kHandle;
    if (folded == u"type") return kPictureType;
    return vbscript::kUnknownMember;
}

const void* PictureObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant PictureObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
    if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    if (id == kPictureType) return Variant(static_cast<int16_t>(PictureType(path_)));
    if (id != kHandle) vbscript::Throw(vbscript::err::kNoSuchMember);
    return Variant(HandleOf(path_));
}

ControlObject::ControlObject(platform::Form& form, std::string name, std::optional<int> index)
    : form_(form), name_(std::move(name)), index_(index) {}

platform::Control* ControlObject::Find() const {
    if (platform::SameName(name_, form_.name()) && !index_) return &form_;
    return index_ ? form_.Find(name_, *index_) : form_.Find(name_);
}

platform::Control& ControlObject::Resolve() const {
    platform::Control* control = Find();
    if (control) return *control;
    if (index_)
        throw vbscript::ScriptError(340,
                                    Utf16(platform::control_errors::NoSuchElement(*index_).description()));
    vbscript::Throw(vbscript::err::kObjectNotSet);
}

std::u16string ControlObject::TypeName() const {
    platform::Control* control = Find();
    if (!control) return u"Object";
    switch (control->kind()) {
        case platform::ControlKind::Form: return Utf16(control->name());
        case platform::ControlKind::PictureBox: return u"PictureBox";
        case platform::ControlKind::Image: return u"Image";
        case platform::ControlKind::Label: return u"Label";
        case platform::ControlKind::CommandButton: return u"CommandButton";
        case platform::ControlKind::Container: return u"Frame";
        case platform::ControlKind::ListBox: return u"ListBox";
        case platform::ControlKind::CheckBox: return u"CheckBox";
        case platform::ControlKind::Timer: return u"Timer";
        case platform::ControlKind::TextBox: return u"TextBox";
        case platform::ControlKind::OptionButton: return u"OptionButton";
        case platform::ControlKind::HScrollBar: return u"HScrollBar";
        case platform::ControlKind::VScrollBar: return u"VScrollBar";
        case platform::ControlKind::Shape: return u"Shape";
        case platform::ControlKind::Line: return u"Line";
        case platform::ControlKind::ComboBox: return u"ComboBox";
        case platform::ControlKind::FileListBox: return u"FileListBox";
        case platform::ControlKind::DirListBox: return u"DirListBox";
        case platform::ControlKind::DriveListBox: return u"DriveListBox";
    }
    return u"Object";
}

DispatchId ControlObject::MemberId(std::u16string_view name) {
    if (int method = Position(kControlMethods, name); method >= 0) return method + 1;
    if (int property = Position(kControlProperties, name); property >= 0) return kFirstProperty + property;
    return vbscript::kUnknownMember;
}

const void* ControlObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant ControlObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    return AsScriptError([&]() -> Variant {
        platform::Control& control = Resolve();
        std::string property;
        if (id == vbscript::kDefaultMember) {
            const char* name = DefaultProperty(control.kind());
            if (!name) vbscript::Throw(vbscript::err::kNoSuchMember);
            property = name;
        } else if (id >= kFirstProperty &&
                   id < kFirstProperty + static_cast<DispatchId>(kControlProperties.size())) {
            property = Utf8(std::u16string(kControlProperties[static_cast<size_t>(id - kFirstProperty)]));
        }
        if (!property.empty()) {
            if (kind == InvokeKind::Get) {
                if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                return GetProperty(control, property);
            }
            if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            SetProperty(control, property, arguments[0]);
            return {};
        }

        auto number = [&](size_t i) { return vbscript::ToLong(arguments[i].Target()); };
        // List(i) = text replaces an item of a list the script fills; ItemData(i) = n keeps a number with it.
        if ((id == kList || id == kItemData) && kind == InvokeKind::Let) {
            if (arguments.size() != 2) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            platform::ListBox& list = AsFilledList(control);
            if (id == kList)
                list.SetItem(number(0), Utf8(vbscript::ToString(arguments[1].Target())));
            else
                list.SetItemData(number(0), number(1));
            return {};
        }
        if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
        switch (id) {
            case kMove: {
                if (!Given(arguments, 0) || arguments.size() > 4)
                    vbscript::Throw(vbscript::err::kWrongArgumentCount);
                platform::Rect bounds = control.bounds();
                bounds.x = platform::TwipsToPixels(vbscript::ToDouble(arguments[0].Target()));
                if (Given(arguments, 1))
                    bounds.y = platform::TwipsToPixels(vbscript::ToDouble(arguments[1].Target()));
                if (Given(arguments, 2))
                    bounds.width = platform::TwipsToPixels(vbscript::ToDouble(arguments[2].Target()));
                if (Given(arguments, 3))
                    bounds.height = platform::TwipsToPixels(vbscript::ToDouble(arguments[3].Target()));
                if (bounds.width < 0 || bounds.height < 0)
                    throw platform::control_errors::InvalidPropertyValue();
                control.SetBounds(bounds);
                return {};
            }
            case kZOrder: {
                if (arguments.size() > 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                int32_t position = Given(arguments, 0) ? number(0) : 0;
                if (position == 0) {
                    control.BringToFront();
                } else if (position == 1) {
                    control.SendToBack();
                } else {
                    vbscript::Throw(vbscript::err::kInvalidProcedureCall);
                }
                return {};
            }
            case kRefresh:
            case kSetFocus:
                // The screen is drawn from the controls at every display frame; of the game's
                // controls only text boxes take the keyboard focus.
                if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                if (id == kSetFocus && control.kind() == platform::ControlKind::TextBox)
                    platform::GiveFocus(static_cast<platform::TextBox&>(control));
                // File, folder and drive lists read their folder again.
                if (auto* folders = dynamic_cast<platform::FolderListBox*>(&control);
                    folders && id == kRefresh)
                    folders->Reload();
                return {};
            case kCls:
                if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                if (control.kind() != platform::ControlKind::PictureBox)
                    vbscript::Throw(vbscript::err::kNoSuchMember);
                static_cast<platform::PictureBox&>(control).canvas().Clear();
                return {};
            case kAddItem: {
                platform::ListBox& list = AsFilledList(control);
                if (!Given(arguments, 0) || arguments.size() > 2)
                    vbscript::Throw(vbscript::err::kWrongArgumentCount);
                std::optional<int> at;
                if (Given(arguments, 1)) at = number(1);
                list.AddItem(Utf8(vbscript::ToString(arguments[0].Target())), at);
                return {};
            }
            case kRemoveItem:
                if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                AsFilledList(control).RemoveItem(number(0));
                return {};
            case kClear:
                if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                AsFilledList(control).Clear();
                return {};
            case kList:
                if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                return Variant(Utf16(AsListBox(control).List(number(0))));
            case kItemData:
                if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
                return Variant(AsFilledList(control).ItemData(number(0)));
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    });
}

DispatchId ControlArrayObject::MemberId(std::u16string_view name) {
    int member = Position(kArrayMembers, name);
    return member >= 0 ? member : vbscript::kUnknownMember;
}

const void* ControlArrayObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant ControlArrayObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (id == kItem) {
        if (arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        int32_t index = vbscript::ToLong(arguments[0].Target());
        if (index < 0 || index > 32767) vbscript::Throw(vbscript::err::kSubscriptOutOfRange);
        auto element = vbscript::MakeRef<ControlObject>(form_, name_, index);
        if (kind == InvokeKind::Get) {
            if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            return Variant(vbscript::Ref<vbscript::Object>(element));
        }
        // "Text(1) = value": the element's default property.
        if (arguments.size() != 2) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        return element->Invoke(vbscript::kDefaultMember, kind, arguments.subspan(1));
    }
    if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
    if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    std::vector<platform::Control*> elements = form_.Elements(name_);
    int32_t lowest = 0, highest = -1;
    for (platform::Control* element : elements) {
        int index = element->index().value_or(0);
        if (highest < lowest || index < lowest) lowest = index;
        highest = std::max(highest, index);
    }
    switch (id) {
        case kCount: return Variant(static_cast<int32_t>(elements.size()));
        case kLBound: return Variant(lowest);
        case kUBound: return Variant(highest);
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

vbscript::Ref<vbscript::Enumerator> ControlArrayObject::Enumerate() {
    std::vector<platform::Control*> elements = form_.Elements(name_);
    std::sort(elements.begin(), elements.end(),
              [](auto* a, auto* b) { return a->index().value_or(0) < b->index().value_or(0); });
    std::vector<Variant> items;
    for (platform::Control* element : elements) {
        items.emplace_back(vbscript::Ref<vbscript::Object>(
            vbscript::MakeRef<ControlObject>(form_, name_, element->index().value_or(0))));
    }
    return vbscript::MakeRef<ElementWalker>(std::move(items));
}

enum CollectionMember : DispatchId { kCollectionItem = vbscript::kDefaultMember, kCollectionCount };

DispatchId ControlsCollectionObject::MemberId(std::u16string_view name) {
    std::u16string folded = vbscript::FoldCase(name);
    if (folded == u"item") return kCollectionItem;
    if (folded == u"count") return kCollectionCount;
    return vbscript::kUnknownMember;
}

const void* ControlsCollectionObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

std::vector<Variant> ControlsCollectionObject::Items() const {
    std::vector<Variant> items;
    auto walk = [&](auto& self, const platform::Control& parent) -> void {
        for (const auto& child : parent.children()) {
            items.emplace_back(vbscript::Ref<vbscript::Object>(
                vbscript::MakeRef<ControlObject>(form_, child->name(), child->index())));
            self(self, *child);
        }
    };
    walk(walk, form_);
    for (const HostedControl& control : hosted_) items.emplace_back(control.object);
    return items;
}

Variant ControlsCollectionObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
    if (id == kCollectionCount) {
        if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        return Variant(static_cast<int32_t>(Items().size()));
    }
    if (id != kCollectionItem) vbscript::Throw(vbscript::err::kNoSuchMember);
    if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    const Variant& key = arguments[0].Target();
    if (key.type() != vbscript::VarType::String) {
        std::vector<Variant> items = Items();
        int32_t at = vbscript::ToLong(key);
        if (at < 0 || static_cast<size_t>(at) >= items.size())
            vbscript::Throw(vbscript::err::kSubscriptOutOfRange);
        return items[static_cast<size_t>(at)];
    }
    std::string name = Utf8(key.string());
    for (const HostedControl& control : hosted_) {
        if (platform::SameName(control.name, name)) return Variant(control.object);
    }
    if (!form_.Elements(name).empty())
        return Variant(vbscript::Ref<vbscript::Object>(vbscript::MakeRef<ControlArrayObject>(form_, name)));
    if (platform::Control* control = form_.Find(name))
        return Variant(vbscript::Ref<vbscript::Object>(
            vbscript::MakeRef<ControlObject>(form_, control->name(), std::nullopt)));
    throw vbscript::ScriptError(730, u"Control '" + key.string() + u"' not found");
}

vbscript::Ref<vbscript::Enumerator> ControlsCollectionObject::Enumerate() {
    return vbscript::MakeRef<ElementWalker>(Items());
}

// The form's own members keep their numbers; Controls and the controls are numbered after them.
constexpr DispatchId kControls = 9999;
constexpr DispatchId kFirstControl = 10000;

FormObject::FormObject(platform::Form& form, std::vector<HostedControl> hosted)
    : form_(form),
      window_(vbscript::MakeRef<ControlObject>(form, form.name(), std::nullopt)),
      controls_(vbscript::MakeRef<ControlsCollectionObject>(form, std::move(hosted))) {}

DispatchId FormObject::MemberId(std::u16string_view name) {
    if (vbscript::FoldCase(name) == u"controls") return kControls;
    std::string utf8 = Utf8(std::u16string(name));
    for (size_t i = 0; i < controlNames_.size(); ++i) {
        if (platform::SameName(controlNames_[i], utf8)) return kFirstControl + static_cast<DispatchId>(i);
    }
    if (!form_.Elements(utf8).empty() || form_.Find(utf8)) {
        controlNames_.push_back(utf8);
        return kFirstControl + static_cast<DispatchId>(controlNames_.size() - 1);
    }
    return window_->MemberId(name);
}

Variant FormObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (id == kControls) {
        // "Controls("7MediaPlayerControl")": the collection's item.
        if (!arguments.empty()) return controls_->Invoke(kCollectionItem, kind, arguments);
        if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
        return Variant(vbscript::Ref<vbscript::Object>(controls_));
    }
    if (id < kFirstControl) return window_->Invoke(id, kind, arguments);
    size_t at = static_cast<size_t>(id - kFirstControl);
    if (at >= controlNames_.size()) vbscript::Throw(vbscript::err::kNoSuchMember);
    const std::string& name = controlNames_[at];
    vbscript::Ref<vbscript::Object> control;
    if (!form_.Elements(name).empty()) {
        control = vbscript::MakeRef<ControlArrayObject>(form_, name);
    } else {
        control = vbscript::MakeRef<ControlObject>(form_, name, std::nullopt);
    }
    // "Area(3)", "Area(3) = ...", "Label1 = ...": the control's default member.
    if (!arguments.empty() || kind != InvokeKind::Get)
        return control->Invoke(vbscript::kDefaultMember, kind, arguments);
    return Variant(control);
}

enum HistoryMember : DispatchId { kHistoryCount = 1, kHistoryList, kHistoryIndex, kHistoryClear };
constexpr std::array<std::u16string_view, 4> kHistoryMembers = {u"ListCount", u"List", u"ListIndex",
                                                                u"Clear"};

DispatchId FramesHistoryObject::MemberId(std::u16string_view name) {
    int member = Position(kHistoryMembers, name);
    return member >= 0 ? member + 1 : vbscript::kUnknownMember;
}

const void* FramesHistoryObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant FramesHistoryObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (kind != InvokeKind::Get) throw vbscript::ScriptError(383, u"Property is read-only");
    size_t expected = id == kHistoryList ? 1 : 0;
    if (arguments.size() != expected) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    switch (id) {
        case kHistoryCount: return Variant(static_cast<int32_t>(history_.size()));
        case kHistoryList: {
            int32_t at = vbscript::ToLong(arguments[0].Target());
            if (at < 0 || static_cast<size_t>(at) >= history_.size())
                throw vbscript::ScriptError(381, u"Invalid property array index");
            return Variant(Utf16(history_.names()[static_cast<size_t>(at)]));
        }
        case kHistoryIndex: return Variant(int32_t{-1});
        case kHistoryClear: history_.Clear(); return {};
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
}

DispatchId MenuObject::MemberId(std::u16string_view name) {
    int member = Position(kMenuMembers, name);
    return member >= 0 ? member + 1 : vbscript::kUnknownMember;
}

const void* MenuObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant MenuObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    if (kind == InvokeKind::Get) {
        if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        switch (id) {
            case kMenuCaption: return Variant(Utf16(item_.caption()));
            case kChecked: return Variant(item_.checked);
            case kMenuEnabled: return Variant(item_.enabled);
            case kMenuVisible: return Variant(item_.visible);
            case kMenuName: return Variant(Utf16(item_.name()));
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    }
    if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
    const Variant& value = arguments[0].Target();
    switch (id) {
        case kMenuCaption: item_.SetCaption(Utf8(vbscript::ToString(value))); break;
        case kChecked: item_.checked = vbscript::ToBoolean(value); break;
        case kMenuEnabled: item_.enabled = vbscript::ToBoolean(value); break;
        case kMenuVisible: item_.visible = vbscript::ToBoolean(value); break;
        case kMenuName: throw vbscript::ScriptError(383, u"Property is read-only");
        default: vbscript::Throw(vbscript::err::kNoSuchMember);
    }
    return {};
}

}  // namespace taviro::scripting
