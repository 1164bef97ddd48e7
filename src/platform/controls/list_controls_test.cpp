#include "platform/controls/list_controls.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/mouse_router.h"
#include "platform/files/file_system.h"

namespace taviro::platform {
namespace {

// Rows are 13 pixels high without a text measurer; a list keeps a one-pixel border.
constexpr int kRow = 13;

void ClickAt(MouseRouter& mouse, Point at) {
    mouse.MouseDown(at, kLeftButton, 0);
    mouse.MouseUp(at, kLeftButton, 0);
}

// A form with one list, whose Click handler writes down the selected item each time.
struct ListOnForm {
    Form form{"Main", 640, 480};
    ListBox& list;
    MouseRouter mouse{form};
    std::vector<std::string> clicks;

    explicit ListOnForm(int items, Rect bounds = {10, 10, 100, 4 * kRow + 2})
        : list(static_cast<ListBox&>(form.Add(std::make_unique<ListBox>("List1")))) {
        list.SetBounds(bounds);
        for (int i = 0; i < items; ++i) list.AddItem("item " + std::to_string(i));
        list.events.click = [this](Control& control) { clicks.push_back(ToText(control.Get("Text"))); };
    }
    // A point in a row of the list, counted from the first row shown.
    Point Row(int row) const { return {20, 11 + row * kRow + kRow / 2}; }
};

TEST(ListBoxMouse, ClickSelectsTheItemUnderTheMouseAndRaisesClickAfterTheChange) {
    ListOnForm on(3);
    ClickAt(on.mouse, on.Row(1));
    EXPECT_EQ(on.list.listIndex(), 1);
    EXPECT_EQ(on.clicks, std::vector<std::string>{"item 1"});
    // The same item again changes nothing and raises nothing; below the last item selects nothing new.
    ClickAt(on.mouse, on.Row(1));
    ClickAt(on.mouse, on.Row(3));
    EXPECT_EQ(on.list.listIndex(), 1);
    EXPECT_EQ(on.clicks, std::vector<std::string>{"item 1"});
}

TEST(ListBoxMouse, ChangingListIndexFromCodeRaisesClickAsThePlayerWould) {
    ListOnForm on(3);
    on.list.Set("ListIndex", int32_t{2});
    on.list.Set("ListIndex", int32_t{-1});
    EXPECT_EQ(on.clicks, (std::vector<std::string>{"item 2", ""}));
    EXPECT_THROW(on.list.Set("ListIndex", int32_t{3}), GameError);
}

TEST(ListBoxScrolling, ItemsBeyondTheHeightAreReachedThroughTheScrollBar) {
    ListOnForm on(10);  // four rows show
    const int barX = 10 + 100 - 1 - ScrollBar::kArrowSide / 2;
    const Point downArrow{barX, 10 + 4 * kRow - 2};
    ClickAt(on.mouse, downArrow);
    EXPECT_EQ(on.list.topIndex(), 1);
    EXPECT_TRUE(on.clicks.empty()) << "scrolling selects nothing";
    ClickAt(on.mouse, on.Row(3));
    EXPECT_EQ(on.list.listIndex(), 4);
    // Stepping stops at the last page: the last item is in the last row.
    for (int i = 0; i < 20; ++i) ClickAt(on.mouse, downArrow);
    EXPECT_EQ(on.list.topIndex(), 6);
    ClickAt(on.mouse, on.Row(3));
    EXPECT_EQ(on.list.Get("Text"), PropertyValue(std::string("item 9")));
}

TEST(ListBoxScrolling, SelectingFromCodeBringsTheItemIntoView) {
    ListOnForm on(10);
    on.list.Set("ListIndex", int32_t{8});
    EXPECT_EQ(on.list.topIndex(), 5);
    on.list.Set("TopIndex", int32_t{9});  // kept so the last rows are filled
    EXPECT_EQ(on.list.Get("TopIndex"), PropertyValue(int32_t{6}));
    on.list.RemoveItem(9);
    on.list.RemoveItem(8);
    EXPECT_EQ(on.list.topIndex(), 4);
}

TEST(ListBoxScrolling, TheWheelScrollsTheListUnderTheMouseThreeRowsANotchWithinTheList) {
    ListOnForm on(10);  // four rows show
    on.mouse.MouseMove(on.Row(0), 0, 0);
    on.mouse.Wheel(-1);
    EXPECT_EQ(on.list.topIndex(), 3);
    on.mouse.Wheel(-5);
    EXPECT_EQ(on.list.topIndex(), 6);  // the last page
    on.mouse.Wheel(1);
    EXPECT_EQ(on.list.topIndex(), 3);
    on.mouse.Wheel(9);
    EXPECT_EQ(on.list.topIndex(), 0);
    EXPECT_TRUE(on.clicks.empty()) << "scrolling selects nothing";
    // Away from the list the wheel scrolls nothing; a disabled list does not scroll.
    on.mouse.MouseMove({300, 300}, 0, 0);
    on.mouse.Wheel(-1);
    on.mouse.MouseMove(on.Row(0), 0, 0);
    on.list.SetEnabled(false);
    on.mouse.Wheel(-1);
    EXPECT_EQ(on.list.topIndex(), 0);
}

TEST(ListBoxItems, SortedListKeepsAlphabeticalOrderWithoutRegardToCase) {
    ListOnForm on(0);
    on.list.Set("Sorted", true);
    for (const char* item : {"pear", "Apple", "banana", "apple pie", "Cherry"}) on.list.AddItem(item);
    EXPECT_EQ(on.list.items(), (std::vector<std::string>{"Apple", "apple pie", "banana", "Cherry", "pear"}));
    on.list.AddItem("zz first", 0);  // a position given is kept
    EXPECT_EQ(on.list.items().front(), "zz first");
}

// A form with a combo box and a button beside and below it.
struct ComboOnForm {
    Form form{"Main", 640, 480};
    PictureBox& scene;
    ComboBox& combo;
    CommandButton& below;
    MouseRouter mouse{form};
    std::vector<std::string> heard;

    ComboOnForm()
        : scene(static_cast<PictureBox&>(form.Add(std::make_unique<PictureBox>("PictureBox")))),
          combo(static_cast<ComboBox&>(scene.Add(std::make_unique<ComboBox>("Combo1")))),
          below(static_cast<CommandButton&>(scene.Add(std::make_unique<CommandButton>("Command1")))) {
        scene.SetBounds({0, 0, 400, 300});
        combo.SetBounds({10, 10, 120, 21});
        below.SetBounds({10, 40, 120, 30});
        for (const char* item : {"red", "green", "blue"}) combo.AddItem(item);
        combo.events.click = [this](Control& control) {
            heard.push_back("combo " + ToText(control.Get("Text")) +
                            (static_cast<ComboBox&>(control).open() ? " open" : " closed"));
        };
        below.events.click = [this](Control&) { heard.push_back("button"); };
    }
    Point Button() const { return {10 + 120 - 5, 20}; }
    // A point in a row of the dropped list, which starts one pixel under the box.
    Point Row(int row) const { return {40, 31 + 1 + row * kRow + kRow / 2}; }
};

TEST(ComboBoxMouse, ItemChosenFromTheDroppedListSetsTextRaisesClickAndCloses) {
    ComboOnForm on;
    ClickAt(on.mouse, on.Button());
    ASSERT_TRUE(on.combo.open());
    EXPECT_EQ(on.combo.DropDownBounds(), (Rect{10, 31, 120, 3 * kRow + 2}));
    // The list lies over the button below the box: the press reaches the list, not the button.
    ClickAt(on.mouse, on.Row(2));
    EXPECT_FALSE(on.combo.open());
    EXPECT_EQ(on.combo.listIndex(), 2);
    EXPECT_EQ(on.combo.text(), "blue");
    EXPECT_EQ(on.heard, std::vector<std::string>{"combo blue closed"});
}

TEST(ComboBoxMouse, PressOutsideTheOpenListClosesItAndReachesNothingElse) {
    ComboOnForm on;
    ClickAt(on.mouse, on.Button());
    ClickAt(on.mouse, {300, 200});
    EXPECT_FALSE(on.combo.open());
    ClickAt(on.mouse, {20, 60});  // the button below, now that the list is closed
    EXPECT_EQ(on.heard, std::vector<std::string>{"button"});
    EXPECT_EQ(on.combo.listIndex(), -1);
}

TEST(ComboBoxMouse, DropDownComboOpensOnlyFromItsButtonADropDownListAnywhere) {
    ComboOnForm on;
    ClickAt(on.mouse, {20, 20});
    EXPECT_FALSE(on.combo.open());
    on.combo.Set("Style", int32_t{2});
    ClickAt(on.mouse, {20, 20});
    EXPECT_TRUE(on.combo.open());
    // A hidden box's list no longer takes the mouse.
    on.combo.SetVisible(false);
    ClickAt(on.mouse, {20, 60});
    EXPECT_EQ(on.heard, std::vector<std::string>{"button"});
}

TEST(ComboBoxMouse, LongListScrollsInsideTheDroppedListWithoutClosingIt) {
    ComboOnForm on;
    for (int i = 0; i < 10; ++i) on.combo.AddItem("more " + std::to_string(i));  // 13 items, 8 rows
    ClickAt(on.mouse, on.Button());
    Rect list = on.combo.DropDownBounds();
    EXPECT_EQ(list.height, ComboBox::kMostDroppedRows * kRow + 2);
    ClickAt(on.mouse, {list.x + list.width - 5, list.y + list.height - 5});  // the down arrow
    EXPECT_TRUE(on.combo.open());
    EXPECT_EQ(on.combo.topIndex(), 1);
    ClickAt(on.mouse, on.Row(7));
    EXPECT_EQ(on.combo.text(), "more 5");
}

TEST(ComboBoxMouse, TheWheelScrollsTheOpenListWhereverTheMouseIs) {
    ComboOnForm on;
    for (int i = 0; i < 10; ++i) on.combo.AddItem("more " + std::to_string(i));  // 13 items, 8 rows
    ClickAt(on.mouse, on.Button());
    on.mouse.MouseMove({300, 250}, 0, 0);
    on.mouse.Wheel(-1);
    EXPECT_TRUE(on.combo.open());
    EXPECT_EQ(on.combo.topIndex(), 3);
    ClickAt(on.mouse, on.Row(0));
    EXPECT_EQ(on.combo.text(), "more 0");
}

TEST(ComboBoxText, TextSelectsAMatchingItemAndADropDownListRefusesOthers) {
    ComboOnForm on;
    on.combo.Set("Text", std::string("GREEN"));
    EXPECT_EQ(on.combo.listIndex(), 1);
    on.combo.Set("Text", std::string("purple"));
    EXPECT_EQ(on.combo.listIndex(), -1);
    EXPECT_EQ(on.combo.Get("Text"), PropertyValue(std::string("purple")));
    on.combo.Set("Style", int32_t{2});
    EXPECT_THROW(on.combo.Set("Text", std::string("purple")), GameError);
    on.combo.Set("ListIndex", int32_t{0});
    EXPECT_EQ(on.combo.Get("Text"), PropertyValue(std::string("red")));
    EXPECT_TRUE(on.heard.size() == 1) << "only the change of ListIndex raises Click";
}

// A game's folders held in memory: "C:\" with Saves (and Saves\Old) and Music, and drive D:.
class FakeFolders final : public FolderSource {
public:
    std::map<std::string, std::vector<std::string>> folders = {{"C:\\", {"Music", "Saves"}},
                                                               {"C:\\Music", {}},
                                                               {"C:\\Saves", {"Old"}},
                                                               {"C:\\Saves\\Old", {}},
                                                               {"D:\\", {}}};
    std::map<std::string, std::vector<std::string>> files = {{"C:\\", {"game.dat", "notes.txt", "README"}},
                                                             {"C:\\Saves", {"one.sav", "two.SAV", "x.txt"}}};

    std::vector<std::string> Drives() const override { return {"c:", "d:"}; }
    std::optional<std::string> Folder(std::string_view path, std::string_view base) const override {
        std::string full(path);
        if (full.size() < 2 || full[1] != ':') full = JoinPath(base, full);
        if (full.size() > 3 && full.ends_with('\\')) full.pop_back();
        if (full.size() == 2) full += '\\';
        for (const auto& [folder, subfolders] : folders)
            if (FoldCase(folder) == FoldCase(full)) return folder;
        return std::nullopt;
    }
    std::vector<std::string> Subfolders(const std::string& folder) const override {
        return folders.at(folder);
    }
    std::vector<std::string> Files(const std::string& folder) const override {
        auto found = files.find(folder);
        return found == files.end() ? std::vector<std::string>() : found->second;
    }
};

TEST(FileListBox, ListsTheFilesOfItsPathThatMatchAnyOfItsPatterns) {
    FileListBox box("File1");
    box.SetBounds({0, 0, 100, 100});
    std::vector<std::string> heard;
    box.pathChange = [&](Control&) { heard.push_back("path"); };
    box.patternChange = [&](Control&) { heard.push_back("pattern"); };
    box.SetSource(std::make_shared<FakeFolders>());
    EXPECT_EQ(box.items(), (std::vector<std::string>{"game.dat", "notes.txt", "README"})) << "*.* takes all";
    box.Set("Pattern", std::string("*.txt; *.dat"));
    EXPECT_EQ(box.items(), (std::vector<std::string>{"game.dat", "notes.txt"}));
    box.Set("Path", std::string("saves"));
    box.Set("Pattern", std::string("*.sav"));
    EXPECT_EQ(box.Get("Path"), PropertyValue(std::string("C:\\Saves")));
    EXPECT_EQ(box.items(), (std::vector<std::string>{"one.sav", "two.SAV"}));
    box.Set("FileName", std::string("TWO.sav"));
    EXPECT_EQ(box.Get("FileName"), PropertyValue(std::string("two.SAV")));
    EXPECT_EQ(heard, (std::vector<std::string>{"pattern", "path", "pattern"}));
}

TEST(FileListBox, PathOutsideTheGameFoldersIsNotFoundAndChangesNothing) {
    FileListBox box("File1");
    box.SetSource(std::make_shared<FakeFolders>());
    try {
        box.Set("Path", std::string("C:\\Windows"));
        FAIL() << "no error";
    } catch (const GameError& error) {
        EXPECT_EQ(error.number(), 76);
    }
    EXPECT_EQ(box.path(), "C:\\");
    EXPECT_EQ(box.items().size(), 3u);
}

TEST(FileListBox, AHandlerMayRemoveTheListWhileItsFileNameIsBeingSet) {
    Form form("Main", 640, 480);
    auto& box = static_cast<FileListBox&>(form.Add(std::make_unique<FileListBox>("File1")));
    box.SetSource(std::make_shared<FakeFolders>());
    box.pathChange = [&](Control& list) { form.Remove(list); };
    box.Set("FileName", std::string("C:\\Saves\\one.sav"));
    EXPECT_EQ(form.Find("File1"), nullptr);
}

TEST(DirListBox, ShowsTheTreeDownToItsPathThenItsSubfoldersWithTheOriginalsIndexes) {
    DirListBox box("Dir1");
    box.SetBounds({0, 0, 100, 100});
    int changes = 0;
    box.events.change = [&](Control&) { ++changes; };
    box.SetSource(std::make_shared<FakeFolders>());
    box.Set("Path", std::string("c:\\saves"));
    EXPECT_EQ(box.items(), (std::vector<std::string>{"C:\\", "  Saves", "    Old"}));
    EXPECT_EQ(box.Get("ListIndex"), PropertyValue(int32_t{-1}));
    EXPECT_EQ(box.Get("ListCount"), PropertyValue(int32_t{1}));
    EXPECT_EQ(box.List(-1), "C:\\Saves");
    EXPECT_EQ(box.List(-2), "C:\\");
    EXPECT_EQ(box.List(0), "C:\\Saves\\Old");
    EXPECT_THROW(box.List(-3), GameError);
    // A double click on a folder opens it.
    box.Set("ListIndex", int32_t{-2});
    ActOnDoubleClick(box);
    EXPECT_EQ(box.path(), "C:\\");
    EXPECT_EQ(box.Get("ListCount"), PropertyValue(int32_t{2}));
    EXPECT_EQ(changes, 2);
}

TEST(DriveListBox, ListsTheDrivesAndRaisesChangeWhenAnotherIsChosen) {
    DriveListBox box("Drive1");
    box.SetBounds({0, 0, 100, 100});
    int changes = 0;
    box.events.change = [&](Control&) { ++changes; };
    box.SetSource(std::make_shared<FakeFolders>());
    EXPECT_EQ(box.Get("Drive"), PropertyValue(std::string("c:")));
    box.Set("Drive", std::string("D:\\"));
    EXPECT_EQ(box.Drive(), "d:");
    EXPECT_EQ(changes, 1);
    try {
        box.Set("Drive", std::string("q:"));
        FAIL() << "no error";
    } catch (const GameError& error) {
        EXPECT_EQ(error.number(), 68);
    }
}

}  // namespace
}  // namespace taviro::platform
