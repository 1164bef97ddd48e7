#include "inventory/inventory.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>

#include "platform/clock.h"
#include "support/test_project.h"

namespace taviro::inventory {
namespace {

using std::string;
using testing::FieldsLine;
using testing::Record;

struct RecordingServices : InventoryServices {
    bool IsOneTimeVideoPlaying() override { return videoPlaying; }
    void BeginDrag(platform::Control& icon) override { dragged = &icon; }
    const platform::Control* DragSource() override { return dragged; }
    bool ExecuteVBScriptAndConsequences(const string& code, bool) override {
        scripts.push_back(code);
        if (scriptFailure) scriptFailure();
        return false;
    }
    void ShowMenuBar(bool visible) override { menuBar.push_back(visible); }
    void OpenPopupMenu() override { ++popupMenus; }
    bool AreMenusPinned() override { return pinned; }

    bool videoPlaying = false;
    std::function<void()> scriptFailure;  // what running a script throws, if anything
    platform::Control* dragged = nullptr;
    std::vector<string> scripts;
    std::vector<bool> menuBar;
    int popupMenus = 0;
    bool pinned = false;
};

// A 640-wide game with items A to Z, each with a picture of its own name; options by field number.
struct InventoryFixture : ::testing::Test {
    explicit InventoryFixture(std::initializer_list<std::pair<int, project::FieldValue>> fields = {}) {
        testing::GeneralFile general;
        for (const auto& [field, value] : fields) general.Set(field, value);
        test.Write("Config/General", general.Text());
        for (char c = 'A'; c <= 'Z'; ++c) {
            string name(1, c);
            test.Write("Areas/" + name + ".obj", FieldsLine({name + ".bmp", string("an item")}));
            test.Write("Areas/" + name + ".bmp", "x");
        }
        EXPECT_TRUE(test.Initialize());
        frame.name = "Hall";
        inventory = std::make_unique<Inventory>(*test.project, test.flags, form, loop, frame, services);
        inventory->AddControls();
        inventory->ResetInventory();
    }
    void Add(const string& names) {
        for (char c : names) inventory->AddPickedObject(string(1, c), true);
    }
    string Held() {
        string held;
        for (const string& name : inventory->names()) held += name;
        return held;
    }
    const platform::ImageControl& IconAt(int index) {
        return static_cast<const platform::ImageControl&>(*inventory->Icon(index));
    }
    platform::Control& Mutable(int index) { return *form.Find("PickedObject", index); }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    platform::Form form{"Game", 640, 480};
    frames::CurrentFrame frame;
    RecordingServices services;
    std::unique_ptr<Inventory> inventory;
};

TEST_F(InventoryFixture, ItemsLieOnTheGridWithTheirPictures) {
    Add("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(inventory->ObjectsCount(), 16);
    EXPECT_EQ(IconAt(1).bounds(), (platform::Rect{10, 10, 32, 32}));
    // The menu button in the bar takes the last place of a row.
    EXPECT_EQ(IconAt(14).bounds().x, 556);
    EXPECT_EQ(IconAt(15).bounds(), (platform::Rect{10, 52, 32, 32}));
    EXPECT_EQ(IconAt(2).picture, test.project->paths.AreasPath + "B.bmp");
    EXPECT_EQ(IconAt(2).dragIcon(), IconAt(2).picture);
    EXPECT_TRUE(IconAt(16).visible());
    EXPECT_EQ(inventory->bar().height(), 94);
}

TEST_F(InventoryFixture, SameItemMayBeHeldTwiceButAnItemWithoutDescriptionIsNot) {
    Add("AA");
    inventory->AddPickedObject("Ghost", true);
    EXPECT_EQ(Held(), "AA");
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(InventoryFixture, RemovingAnItemMovesTheLaterOnesForward) {
    Add("ABC");
    inventory->RemovePickedObject(2);
    EXPECT_EQ(Held(), "AC");
    EXPECT_EQ(IconAt(2).picture, test.project->paths.AreasPath + "C.bmp");
    EXPECT_EQ(IconAt(2).bounds().x, 52);
    EXPECT_EQ(inventory->Icon(3), nullptr);
    EXPECT_THROW(inventory->RemovePickedObject(3), GameError);
}

TEST_F(InventoryFixture, RemoveItemTakesTheLastOfThatNameUnlessAllAreAsked) {
    Add("ABAB");
    inventory->RemoveItem("a", false);
    EXPECT_EQ(Held(), "ABB");
    inventory->RemoveItem("B", true);
    EXPECT_EQ(Held(), "A");
    inventory->RemoveAllItems();
    EXPECT_EQ(inventory->ObjectsCount(), 0);
    EXPECT_FALSE(form.Find("Inventory1")->visible());  // an empty bar hides
}

TEST_F(InventoryFixture, CombiningRemovesTheDraggedItemFirst) {
    test.Write("Areas/A_on_C.drg",
               FieldsLine({1.0, 1.0, 1.0, string("Z"), 0.0, 0.0, 0.0, true, string("Made = |Z|")}));
    Add("ABCD");
    inventory->Icon(1);
    Mutable(1).events.mouseDown(Mutable(1), {platform::kLeftButton, 0, 5, 5});
    ASSERT_EQ(services.dragged, &Mutable(1));
    Mutable(3).events.dragDrop(Mutable(3), Mutable(1), 5, 5);
    EXPECT_EQ(Held(), "BDZ");
    EXPECT_EQ(services.scripts, std::vector<string>{"Made = \"Z\""});
}

TEST_F(InventoryFixture, CombinationGoesOneWayOnly) {
    test.Write("Areas/B_on_A.drg", FieldsLine({1.0, 1.0, 0.0, string("")}));
    Add("AB");
    Mutable(1).events.mouseDown(Mutable(1), {platform::kLeftButton, 0, 5, 5});
    Mutable(2).events.dragDrop(Mutable(2), Mutable(1), 5, 5);
    EXPECT_EQ(Held(), "AB");
    // Dropping an item on itself is no combination either.
    Mutable(2).events.mouseDown(Mutable(2), {platform::kLeftButton, 0, 5, 5});
    Mutable(2).events.dragDrop(Mutable(2), Mutable(2), 5, 5);
    EXPECT_EQ(Held(), "AB");
    Mutable(1).events.dragDrop(Mutable(1), Mutable(2), 5, 5);
    EXPECT_EQ(Held(), "");
    EXPECT_TRUE(services.scripts.empty());  // the file ends before the script
}

TEST_F(InventoryFixture, DamagedCombinationIsReportedAndKeepsWhatWasDone) {
    test.Write("Areas/A_on_B.drg", FieldsLine({1.0, 0.0}));
    Add("AB");
    Mutable(1).events.mouseDown(Mutable(1), {platform::kLeftButton, 0, 5, 5});
    Mutable(2).events.dragDrop(Mutable(2), Mutable(1), 5, 5);
    EXPECT_EQ(Held(), "B");
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(test.dialogs.shown()[0].request.text.find(" Error combining the inventory items. "),
              string::npos);
}

// A failure the readers do not raise (here running out of memory in the combination's script) gets
// the combination's own report, and the items stay as the combination left them.
TEST_F(InventoryFixture, AnyFailureInsideACombinationGetsTheCombinationsReport) {
    test.Write("Areas/A_on_B.drg",
               FieldsLine({1.0, 0.0, 0.0, string(""), 0.0, 0.0, 0.0, true, string("Boom")}));
    services.scriptFailure = [] { throw std::bad_alloc(); };
    Add("AB");
    Mutable(1).events.mouseDown(Mutable(1), {platform::kLeftButton, 0, 5, 5});
    Mutable(2).events.dragDrop(Mutable(2), Mutable(1), 5, 5);
    EXPECT_EQ(Held(), "B");
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_TRUE(test.dialogs.shown()[0].request.text.ends_with(
        " Error combining the inventory items. Out of memory"));
}

TEST_F(InventoryFixture, OnlyItemsDraggedWithTheLeftButtonReachHotspots) {
    Add("AB");
    Mutable(2).events.mouseDown(Mutable(2), {platform::kRightButton, 0, 5, 5});
    EXPECT_EQ(services.dragged, nullptr);
    services.videoPlaying = true;
    Mutable(2).events.mouseDown(Mutable(2), {platform::kLeftButton, 0, 5, 5});
    EXPECT_EQ(services.dragged, nullptr);
    services.videoPlaying = false;
    Mutable(2).events.mouseDown(Mutable(2), {platform::kLeftButton, 0, 5, 5});
    EXPECT_EQ(inventory->DraggedItemIndex(Mutable(2)), 2);
    EXPECT_EQ(inventory->DraggedItemIndex(*form.Find("Inventory1")), std::nullopt);
}

TEST_F(InventoryFixture, FirstRecordOfTheHotspotDecidesThePickUp) {
    auto fm4 = [](int hotspot, double flag, const string& item) {
        return Record({string("x"), double(hotspot), 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, flag, item});
    };
    test.Write("FramesData/Hall.fm4", fm4(1, 1, "A") + fm4(2, 0, "B") + fm4(2, 1, "C") + fm4(3, 1, "D"));
    inventory->PickOrNotPickObject(2);
    EXPECT_EQ(Held(), "");
    inventory->PickOrNotPickObject(3);
    inventory->PickOrNotPickObject(1);
    inventory->PickOrNotPickObject(9);
    EXPECT_EQ(Held(), "DA");

    test.Write("FramesData/Hall.fm4", fm4(1, 1, "A").substr(0, 6) + "\"broken");
    inventory->PickOrNotPickObject(1);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_NE(
        test.dialogs.shown()[0].request.text.find(" Error in the \"PickOrNotPickObject\" procedure.\n\n"),
        string::npos);
}

TEST_F(InventoryFixture, BarSlidesDownInAboutAThirdOfASecond) {
    Add("A");
    EXPECT_EQ(inventory->bar().top(), -52);
    int64_t startMs = clock.NowMs();
    inventory->bar().ShowInventory();
    EXPECT_EQ(inventory->bar().top(), 0);
    EXPECT_NEAR(static_cast<double>(clock.NowMs() - startMs), 300, 60);
    EXPECT_TRUE(inventory->bar().shown());
    EXPECT_FALSE(inventory->IsInventoryBusy());
    inventory->bar().RequestHideInventory();
    EXPECT_EQ(inventory->bar().top(), -52);
}

TEST_F(InventoryFixture, NewItemPopsTheBarUpForTwoSeconds) {
    inventory->AddPickedObject("A", false);
    EXPECT_EQ(inventory->bar().top(), 0);
    inventory->bar().RequestHideInventory();  // the mouse leaves: the bar stays while popped up
    EXPECT_EQ(inventory->bar().top(), 0);
    loop.WaitMs(2000);
    EXPECT_EQ(inventory->bar().top(), -52);
    EXPECT_FALSE(inventory->bar().poppedUp());
}

TEST_F(InventoryFixture, MouseOverTheInventoryButtonCallsTheBarDown) {
    Add("A");
    platform::Control& button = *form.Find("Inventory2");
    EXPECT_TRUE(button.visible());
    button.events.mouseMove(button, {});
    EXPECT_EQ(inventory->bar().top(), 0);
    inventory->HideInventoryIfItem();  // nothing dragged: the bar stays
    EXPECT_EQ(inventory->bar().top(), 0);
    Mutable(1).events.mouseDown(Mutable(1), {platform::kLeftButton, 0, 5, 5});
    inventory->HideInventoryIfItem();
    EXPECT_EQ(inventory->bar().top(), -52);
}

TEST_F(InventoryFixture, LeftClickHidesTheMenusAndRightClickShowsThem) {
    Add("A");
    inventory->HandleShowHideMenus(platform::kRightButton);
    EXPECT_TRUE(inventory->menusShown());
    inventory->HandleShowHideMenus(platform::kRightButton);
    EXPECT_FALSE(inventory->menusShown());
    inventory->HandleShowHideMenus(platform::kRightButton);
    inventory->HandleShowHideMenus(platform::kLeftButton);
    EXPECT_FALSE(inventory->menusShown());
    EXPECT_EQ(services.menuBar, (std::vector<bool>{true, false, true, false}));
    form.Find("imgShowMenusCaption")->events.click(*form.Find("imgShowMenusCaption"));
    EXPECT_EQ(services.popupMenus, 1);
}

TEST_F(InventoryFixture, ClicksLeaveTheMenusShownWhileASubMenuIsOpen) {
    inventory->HandleShowHideMenus(platform::kRightButton);
    services.pinned = true;
    inventory->HandleShowHideMenus(platform::kLeftButton);
    inventory->HandleShowHideMenus(platform::kRightButton);
    EXPECT_TRUE(inventory->menusShown());
    services.pinned = false;
    inventory->HandleShowHideMenus(platform::kLeftButton);
    EXPECT_FALSE(inventory->menusShown());
}

struct RightButtonInventoryFixture : InventoryFixture {
    RightButtonInventoryFixture() : InventoryFixture({{58, true}}) {}
};

TEST_F(RightButtonInventoryFixture, RightButtonTogglesTheBarAndTheSceneDoesNotHideIt) {
    Add("A");
    inventory->HandleShowHideMenus(platform::kRightButton);
    EXPECT_EQ(inventory->bar().top(), 0);
    inventory->bar().RequestHideInventory();
    EXPECT_EQ(inventory->bar().top(), 0);
    inventory->HandleShowHideMenus(platform::kRightButton);
    EXPECT_EQ(inventory->bar().top(), -52);
    EXPECT_FALSE(inventory->menusShown());
}

struct FixedBarFixture : InventoryFixture {
    // No button, no slide, no fitting, no pop-up, no menu button.
    FixedBarFixture() : InventoryFixture({{27, false}, {28, false}, {29, false}, {30, false}, {31, false}}) {}
};

TEST_F(FixedBarFixture, BarWithoutButtonStaysShownAndKeepsItsHeight) {
    EXPECT_FALSE(form.Find("Inventory2")->visible());
    EXPECT_FALSE(form.Find("imgShowMenus")->visible());
    EXPECT_EQ(inventory->bar().top(), 0);
    EXPECT_TRUE(form.Find("Inventory1")->visible());
    Add("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(inventory->bar().height(), 52);
    inventory->bar().HideInventory();
    EXPECT_EQ(inventory->bar().top(), 0);
    EXPECT_EQ(clock.NowMs(), 0);
}

struct CustomGraphicsFixture : InventoryFixture {
    CustomGraphicsFixture()
        : InventoryFixture({{32, true},
                            {33, string("button.bmp")},
                            {34, string("missing.bmp")},
                            {61, string("menu.cur")}}) {}
};

TEST_F(CustomGraphicsFixture, ProjectPicturesReplaceTheBuiltInOnesWhenTheyExist) {
    test.Write("Inventory/button.bmp", "x");
    test.Write("Icons/menu.cur", "x");
    inventory->ResetInventory();
    auto& button = static_cast<platform::PictureBox&>(*form.Find("Inventory2"));
    EXPECT_EQ(button.picture, test.project->paths.InventoryPath + "button.bmp");
    EXPECT_FALSE(form.Find("Inventory2Caption")->visible());
    EXPECT_EQ(static_cast<platform::PictureBox&>(*form.Find("imgShowMenus")).picture,
              test.project->paths.IconsPath + "menu.cur");
    EXPECT_EQ(static_cast<platform::ImageControl&>(*form.Find("Inventory_Background")).picture, "");
}

}  // namespace
}  // namespace taviro::inventory
