// Combo boxes and the file, folder and drive lists.
#include "platform/controls/list_controls.h"

#include <algorithm>

#include "platform/files/file_system.h"

namespace taviro::platform {
namespace {

GameError PathNotFound() { return {76, "Path not found"}; }
GameError DeviceUnavailable() { return {68, "Device unavailable"}; }

int32_t ToStyle(const PropertyValue& value) {
    int32_t style = ToInteger(value);
    if (style < 0 || style > 2) throw control_errors::InvalidPropertyValue();
    return style;
}

template <typename Visit>
void ForEachControl(Control& control, const Visit& visit) {
    visit(control);
    for (const auto& child : control.children()) ForEachControl(*child, visit);
}

bool IsListKind(ControlKind kind) {
    return kind == ControlKind::ListBox || kind == ControlKind::ComboBox ||
           kind == ControlKind::FileListBox || kind == ControlKind::DirListBox ||
           kind == ControlKind::DriveListBox;
}

}  // namespace

ComboBox::ComboBox(std::string name, std::optional<int> index)
    : ListBox(ControlKind::ComboBox, std::move(name), index) {
    // A press on the button (anywhere on a drop-down list) drops the list; a press while it is open
    // reaches PressWhileOpen instead.
    events.mouseDown = [](Control& control, const MouseEvent& event) {
        auto& box = static_cast<ComboBox&>(control);
        if (event.button != kLeftButton) return;
        if (box.style == 2 || box.ButtonBounds().Contains({event.x, event.y})) box.Open();
    };
}

void ComboBox::SetText(const std::string& text) {
    auto match = std::find_if(items_.begin(), items_.end(),
                              [&](const std::string& item) { return FoldCase(item) == FoldCase(text); });
    if (style == 2 && match == items_.end()) throw control_errors::ReadOnlyProperty();
    text_ = text;
    // Choosing by text selects without a Click, as typing the text would.
    listIndex_ = match == items_.end() ? -1 : static_cast<int>(match - items_.begin());
    Touch();
}

void ComboBox::Clear() {
    ListBox::Clear();
    text_.clear();
}

void ComboBox::Open() {
    if (open_) return;
    open_ = true;
    // The selected item shows in the dropped list.
    int rows = std::min(kMostDroppedRows, std::max(1, static_cast<int>(items_.size())));
    topIndex_ = std::clamp(listIndex_, 0, std::max(0, static_cast<int>(items_.size()) - rows));
    Touch();
}

void ComboBox::Close() {
    open_ = false;
    Touch();
}

Rect ComboBox::ButtonBounds() const {
    int width = std::min(kButtonWidth, bounds().width);
    return {bounds().width - width, 0, width, bounds().height};
}

Rect ComboBox::DropDownBounds() const {
    Rect box = WindowBounds();
    int rows = std::min(kMostDroppedRows, std::max(1, static_cast<int>(items_.size())));
    return {box.x, box.y + box.height, box.width, rows * RowHeight() + 2};
}

void ComboBox::PressWhileOpen(Point windowPoint) {
    Rect list = DropDownBounds();
    if (!list.Contains(windowPoint)) return Close();
    std::optional<int> item = PressAt(list, windowPoint);
    if (!item) {
        // The scroll bar scrolled; a press below the last item changes nothing.
        Layout layout = LayoutIn(list);
        if (!layout.scrollBar || !layout.scrollBar->Contains(windowPoint)) Close();
        return;
    }
    Close();
    SetListIndex(*item);
}

void ComboBox::SelectionChanged() {
    text_ = listIndex_ >= 0 ? items_[static_cast<size_t>(listIndex_)] : std::string();
    ListBox::SelectionChanged();
}

std::optional<PropertyValue> ComboBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Text")) return text_;
    if (SameName(name, "Style")) return style;
    return ListBox::GetOwn(name);
}

bool ComboBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Text")) {
        SetText(ToText(value));
    } else if (SameName(name, "Style")) {
        style = ToStyle(value);
    } else {
        return ListBox::SetOwn(name, value);
    }
    return true;
}

void ComboBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    ListBox::AddOwnPropertyNames(names);
    names.push_back("Style");
}

std::unique_ptr<Control> ComboBox::CloneAs(int index) const {
    auto clone = std::make_unique<ComboBox>(name(), index);
    CopyListTo(*clone);
    clone->style = style;
    clone->text_ = text_;
    return clone;
}

ComboBox* OpenComboBox(Control& root) {
    ComboBox* open = nullptr;
    ForEachControl(root, [&](Control& control) {
        if (control.kind() != ControlKind::ComboBox) return;
        auto& box = static_cast<ComboBox&>(control);
        if (!box.open()) return;
        // A list whose box was hidden or disabled meanwhile is closed.
        if (!box.IsShown() || !box.enabled())
            box.Close();
        else
            open = &box;
    });
    return open;
}

const ComboBox* OpenComboBox(const Control& root) {
    if (root.kind() == ControlKind::ComboBox) {
        auto& box = static_cast<const ComboBox&>(root);
        if (box.open() && box.IsShown() && box.enabled()) return &box;
    }
    for (const auto& child : root.children())
        if (const ComboBox* open = OpenComboBox(static_cast<const Control&>(*child))) return open;
    return nullptr;
}

bool RaisesOwnClick(const Control& control) { return IsListKind(control.kind()); }

void ActOnDoubleClick(Control& control) {
    if (control.kind() != ControlKind::DirListBox) return;
    auto& list = static_cast<DirListBox&>(control);
    if (list.listIndex() >= 0) list.SetPath(list.SelectedFolder());
}

std::vector<std::string> PathParts(std::string_view folder) {
    std::vector<std::string> parts;
    if (folder.size() < 2) return parts;
    parts.push_back(std::string(folder.substr(0, 2)) + "\\");
    size_t start = 3;
    while (start < folder.size()) {
        size_t end = folder.find('\\', start);
        if (end == std::string_view::npos) end = folder.size();
        if (end > start) parts.emplace_back(folder.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.ends_with('\\')) path += '\\';
    return path + std::string(name);
}

void FolderListBox::SetSource(std::shared_ptr<const FolderSource> source) {
    source_ = std::move(source);
    Reload();
}

std::string FolderListBox::FolderOf(std::string_view path, std::string_view base) const {
    std::optional<std::string> folder = source_ ? source_->Folder(path, base) : std::nullopt;
    if (!folder) throw PathNotFound();
    return *folder;
}

// ---------------------------------------------------------------- files

void FileListBox::SetPath(std::string_view path) {
    std::string folder = FolderOf(path, path_);
    bool changed = folder != path_;
    path_ = folder;
    Reload();
    if (!changed) return;
    if (auto handler = pathChange) handler(*this);
}

void FileListBox::SetPattern(std::string pattern) {
    bool changed = pattern != pattern_;
    pattern_ = std::move(pattern);
    Reload();
    if (!changed) return;
    if (auto handler = patternChange) handler(*this);
}

std::string FileListBox::FileName() const {
    return listIndex_ >= 0 ? items_[static_cast<size_t>(listIndex_)] : std::string();
}

void FileListBox::SetFileName(std::string_view name) {
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string_view::npos) {
        std::weak_ptr<char> alive = alive_;
        SetPath(name.substr(0, slash + 1));
        if (alive.expired()) return;
        name = name.substr(slash + 1);
    }
    if (name.find_first_of("*?") != std::string_view::npos) return SetPattern(std::string(name));
    for (size_t i = 0; i < items_.size(); ++i) {
        if (FoldCase(items_[i]) == FoldCase(name)) return SetListIndex(static_cast<int>(i));
    }
}

void FileListBox::Reload() {
    std::vector<std::string> files = source_ ? source_->Files(path_) : std::vector<std::string>();
    // "*.*" takes names without a dot too, as it did on the original's system.
    std::vector<std::string> patterns;
    for (size_t start = 0; start <= pattern_.size();) {
        size_t end = std::min(pattern_.find(';', start), pattern_.size());
        std::string one = pattern_.substr(start, end - start);
        one.erase(0, one.find_first_not_of(' '));
        one.erase(one.find_last_not_of(' ') + 1);
        if (!one.empty()) patterns.push_back(one == "*.*" ? "*" : one);
        start = end + 1;
    }
    std::string selected = FileName();
    items_.clear();
    for (std::string& file : files) {
        if (std::any_of(patterns.begin(), patterns.end(),
                        [&](const std::string& pattern) { return MatchesPattern(file, pattern); }))
            items_.push_back(std::move(file));
    }
    auto kept = std::find(items_.begin(), items_.end(), selected);
    listIndex_ = selected.empty() || kept == items_.end() ? -1 : static_cast<int>(kept - items_.begin());
    KeepTopInRange();
    Touch();
}

std::optional<PropertyValue> FileListBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Path")) return path_;
    if (SameName(name, "Pattern")) return pattern_;
    if (SameName(name, "FileName")) return FileName();
    return ListBox::GetOwn(name);
}

bool FileListBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Path"))
        SetPath(ToText(value));
    else if (SameName(name, "Pattern"))
        SetPattern(ToText(value));
    else if (SameName(name, "FileName"))
        SetFileName(ToText(value));
    else
        return ListBox::SetOwn(name, value);
    return true;
}

void FileListBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    ListBox::AddOwnPropertyNames(names);
    names.insert(names.end(), {"Path", "Pattern", "FileName"});
}

std::unique_ptr<Control> FileListBox::CloneAs(int index) const {
    auto clone = std::make_unique<FileListBox>(name(), index);
    CopyListTo(*clone);
    clone->source_ = source_;
    clone->path_ = path_;
    clone->pattern_ = pattern_;
    clone->pathChange = pathChange;
    clone->patternChange = patternChange;
    return clone;
}

// ---------------------------------------------------------------- folders

void DirListBox::SetPath(std::string_view path) {
    std::string folder = FolderOf(path, path_);
    bool changed = folder != path_;
    path_ = folder;
    Reload();
    if (!changed) return;
    if (auto handler = events.change) handler(*this);
}

std::string DirListBox::List(int at) const {
    int row = at + depth_;
    if (row < 0 || row >= static_cast<int>(rowFolders_.size()))
        throw GameError(381, "Invalid property array index");
    return rowFolders_[static_cast<size_t>(row)];
}

std::string DirListBox::SelectedFolder() const {
    return listIndex_ >= 0 && listIndex_ < static_cast<int>(rowFolders_.size())
               ? rowFolders_[static_cast<size_t>(listIndex_)]
               : path_;
}

void DirListBox::Reload() {
    items_.clear();
    rowFolders_.clear();
    // The tree down to the current folder, each level indented further, then its subfolders.
    std::string folder;
    for (const std::string& part : PathParts(path_)) {
        folder = folder.empty() ? part : JoinPath(folder, part);
        items_.push_back(std::string(2 * items_.size(), ' ') + part);
        rowFolders_.push_back(folder);
    }
    depth_ = static_cast<int>(items_.size());
    if (source_) {
        for (const std::string& name : source_->Subfolders(path_)) {
            items_.push_back(std::string(2 * static_cast<size_t>(depth_), ' ') + name);
            rowFolders_.push_back(JoinPath(path_, name));
        }
    }
    listIndex_ = depth_ - 1;
    KeepTopInRange();
    Touch();
}

std::optional<PropertyValue> DirListBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Path")) return path_;
    if (SameName(name, "ListIndex")) return listIndex_ - depth_;
    if (SameName(name, "ListCount")) return static_cast<int32_t>(items_.size()) - depth_;
    return ListBox::GetOwn(name);
}

bool DirListBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (SameName(name, "Path")) {
        SetPath(ToText(value));
        return true;
    }
    if (SameName(name, "ListIndex")) {
        SetListIndex(ToInteger(value) + depth_);
        return true;
    }
    return ListBox::SetOwn(name, value);
}

void DirListBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    ListBox::AddOwnPropertyNames(names);
    names.push_back("Path");
}

std::unique_ptr<Control> DirListBox::CloneAs(int index) const {
    auto clone = std::make_unique<DirListBox>(name(), index);
    CopyListTo(*clone);
    clone->source_ = source_;
    clone->path_ = path_;
    clone->depth_ = depth_;
    clone->rowFolders_ = rowFolders_;
    return clone;
}

// ---------------------------------------------------------------- drives

std::string DriveListBox::Drive() const {
    return listIndex_ >= 0 ? items_[static_cast<size_t>(listIndex_)] : std::string();
}

void DriveListBox::SetDrive(std::string_view drive) {
    if (drive.empty()) throw DeviceUnavailable();
    std::string letter = FoldCase(drive.substr(0, 1));
    for (size_t i = 0; i < items_.size(); ++i) {
        if (FoldCase(items_[i].substr(0, 1)) == letter) return SetListIndex(static_cast<int>(i));
    }
    throw DeviceUnavailable();
}

void DriveListBox::Reload() {
    std::string drive = Drive();
    items_ = source_ ? source_->Drives() : std::vector<std::string>();
    auto kept = std::find(items_.begin(), items_.end(), drive);
    listIndex_ = kept != items_.end() ? static_cast<int>(kept - items_.begin()) : items_.empty() ? -1 : 0;
    KeepTopInRange();
    Touch();
}

void DriveListBox::SelectionChanged() {
    if (auto handler = events.change) handler(*this);
}

std::optional<PropertyValue> DriveListBox::GetOwn(std::string_view name) const {
    if (SameName(name, "Drive")) return Drive();
    return ListBox::GetOwn(name);
}

bool DriveListBox::SetOwn(std::string_view name, const PropertyValue& value) {
    if (!SameName(name, "Drive")) return ListBox::SetOwn(name, value);
    SetDrive(ToText(value));
    return true;
}

void DriveListBox::AddOwnPropertyNames(std::vector<std::string>& names) const {
    ListBox::AddOwnPropertyNames(names);
    names.push_back("Drive");
}

std::unique_ptr<Control> DriveListBox::CloneAs(int index) const {
    auto clone = std::make_unique<DriveListBox>(name(), index);
    CopyListTo(*clone);
    clone->source_ = source_;
    clone->listIndex_ = listIndex_;
    return clone;
}

}  // namespace taviro::platform
