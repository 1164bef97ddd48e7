// The list controls beyond the plain list box: the combo box, which drops its list below itself, and
// the file, folder and drive lists, which show the folders a game may see under Windows-style paths.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/control_kinds.h"

namespace taviro::platform {

// A text field with a button at its right; a press on the button (anywhere on a Style 2 box) drops
// the list below the box, over everything beside it. While the list is open the window's mouse goes
// to the box (see PressWhileOpen). Style 0 and 1: the text is free; Style 2: it is the selected item.
class ComboBox : public ListBox {
public:
    explicit ComboBox(std::string name, std::optional<int> index = std::nullopt);

    static constexpr int kButtonWidth = 17;
    static constexpr int kMostDroppedRows = 8;

    int style = 0;  // 0 drop-down combo, 1 simple combo (drawn as 0), 2 drop-down list
    const std::string& text() const { return text_; }
    // Sets the text; the item with that text (letter case ignored) becomes the selection, none when no
    // item has it. A Style 2 box throws 383 for a text that is not an item.
    void SetText(const std::string& text);
    // Empties the list and the text.
    void Clear() override;

    bool open() const { return open_; }
    void Open();
    void Close();
    // The button at the right end, relative to the box.
    Rect ButtonBounds() const;
    // The dropped list in window pixels, below the box, as tall as its items (at most eight rows).
    Rect DropDownBounds() const;
    // A press of the window while the list is open: on a row, the list closes and the row's item is
    // selected (Click); on the list's scroll bar it scrolls; anywhere else the list closes.
    void PressWhileOpen(Point windowPoint);

protected:
    void SelectionChanged() override;
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    std::string text_;
    bool open_ = false;
};

// The shown, enabled combo box of the tree whose list is open, or nullptr.
ComboBox* OpenComboBox(Control& root);
const ComboBox* OpenComboBox(const Control& root);

// True for the kinds that raise Click themselves when their selection changes, rather than on a
// release of the mouse over them.
bool RaisesOwnClick(const Control& control);
// What a double click does to a control before the game hears it: a folder list opens the folder.
void ActOnDoubleClick(Control& control);

// The folders that file, folder and drive lists show, under the paths scripts see ("C:\Saves").
class FolderSource {
public:
    virtual ~FolderSource() = default;
    // The drives as a drive list shows them ("c:", "d:"), in letter order.
    virtual std::vector<std::string> Drives() const = 0;
    // The folder at a path as scripts write it, relative ones taken from `base` (a folder this source
    // gave), in its canonical form ("C:\Saves\Old", "D:\"); nullopt when no folder is there.
    virtual std::optional<std::string> Folder(std::string_view path, std::string_view base) const = 0;
    // The names of the subfolders and of the files of a canonical folder, sorted, letter case ignored.
    virtual std::vector<std::string> Subfolders(const std::string& folder) const = 0;
    virtual std::vector<std::string> Files(const std::string& folder) const = 0;
};

// The parts of a canonical path: "C:\" first, then each folder's name.
std::vector<std::string> PathParts(std::string_view folder);
// A canonical path and a name in it.
std::string JoinPath(std::string_view folder, std::string_view name);

// A list that needs a folder source; without one it lists nothing and finds no folder.
class FolderListBox : public ListBox {
public:
    void SetSource(std::shared_ptr<const FolderSource> source);
    // Reads the folder again (the Refresh method).
    virtual void Reload() = 0;

protected:
    FolderListBox(ControlKind kind, std::string name, std::optional<int> index)
        : ListBox(kind, std::move(name), index) {}
    // The folder of a path; throws 76 "Path not found" when there is none.
    std::string FolderOf(std::string_view path, std::string_view base) const;

    std::shared_ptr<const FolderSource> source_;
    // Gone with the list: a change handler may remove it while a setter still runs.
    std::shared_ptr<char> alive_ = std::make_shared<char>();
};

// The files of a folder that match its Pattern ("*.txt;*.dat"). Path, Pattern and FileName; setting
// Path raises pathChange, setting Pattern patternChange.
class FileListBox : public FolderListBox {
public:
    explicit FileListBox(std::string name, std::optional<int> index = std::nullopt)
        : FolderListBox(ControlKind::FileListBox, std::move(name), index) {}

    const std::string& path() const { return path_; }
    void SetPath(std::string_view path);  // throws 76 for a folder that is not there
    const std::string& pattern() const { return pattern_; }
    void SetPattern(std::string pattern);
    // The selected file's name, "" for none.
    std::string FileName() const;
    // A name with a folder sets Path, one with "*" or "?" Pattern; a plain name selects that file.
    void SetFileName(std::string_view name);
    void Reload() override;

    std::function<void(Control&)> pathChange, patternChange;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    std::string path_ = "C:\\";
    std::string pattern_ = "*.*";
};

// The folder tree down to the current folder (Path), then its subfolders, indented. As in the original,
// ListIndex -1 is the current folder, 0 and up its subfolders, and List of a negative index gives the
// folders above it; ListCount counts the subfolders. A double click opens a folder; Path changes
// raise events.change.
class DirListBox : public FolderListBox {
public:
    explicit DirListBox(std::string name, std::optional<int> index = std::nullopt)
        : FolderListBox(ControlKind::DirListBox, std::move(name), index) {}

    const std::string& path() const { return path_; }
    void SetPath(std::string_view path);  // throws 76 for a folder that is not there
    std::string List(int at) const override;
    // The folder of the selected row.
    std::string SelectedFolder() const;
    void Reload() override;

protected:
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;

private:
    std::string path_ = "C:\\";
    int depth_ = 0;  // the rows of the tree above the subfolders, the current folder's included
    std::vector<std::string> rowFolders_;  // the folder of each row
};

// The drives ("c:", "d:"); Drive is the selected one, and choosing another raises events.change.
class DriveListBox : public FolderListBox {
public:
    explicit DriveListBox(std::string name, std::optional<int> index = std::nullopt)
        : FolderListBox(ControlKind::DriveListBox, std::move(name), index) {}

    std::string Drive() const;
    // Any text starting with a letter the list holds; throws 68 "Device unavailable" for another.
    void SetDrive(std::string_view drive);
    void Reload() override;

protected:
    void SelectionChanged() override;
    std::optional<PropertyValue> GetOwn(std::string_view name) const override;
    bool SetOwn(std::string_view name, const PropertyValue& value) override;
    void AddOwnPropertyNames(std::vector<std::string>& names) const override;
    std::unique_ptr<Control> CloneAs(int index) const override;
};

}  // namespace taviro::platform
