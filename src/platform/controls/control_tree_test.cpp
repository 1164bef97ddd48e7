#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "platform/controls/mouse_router.h"
#include "platform/events/event_loop.h"

namespace taviro::platform {
namespace {

template <typename Kind>
Kind& AddTo(Control& parent, std::string name, Rect bounds, std::optional<int> index = std::nullopt) {
    auto& control = static_cast<Kind&>(parent.Add(std::make_unique<Kind>(std::move(name), index)));
    control.SetBounds(bounds);
    return control;
}

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const GameError& error) {
        return error.number();
    }
    return 0;
}

TEST(ControlProperties, PositionsAreTwipsAndNamesIgnoreLetterCase) {
    Form form("Main", 640, 480);
    auto& label = AddTo<Label>(form, "lblTitle", {10, 20, 100, 30});
    EXPECT_EQ(label.Get("LEFT"), PropertyValue(int32_t{150}));
    EXPECT_EQ(label.Get("height"), PropertyValue(int32_t{450}));
    label.Set("Left", int32_t{1500});
    label.Set("width", 307.0);  // 20.47 pixels round to 20
    EXPECT_EQ(label.bounds(), (Rect{100, 20, 20, 30}));
    label.Set("caption", std::string("Hello"));
    label.Set("FontBold", std::string("True"));
    EXPECT_EQ(label.caption, "Hello");
    EXPECT_TRUE(label.font.bold);
    EXPECT_EQ(label.Get("FontBold"), PropertyValue(true));
}

TEST(ControlProperties, BadNamesAndValuesRaiseTheOriginalsErrors) {
    Form form("Main", 640, 480);
    auto& image = AddTo<ImageControl>(form, "imgDoor", {0, 0, 10, 10});
    EXPECT_EQ(ErrorNumberOf([&] { image.Get("Caption"); }), 438);
    EXPECT_EQ(ErrorNumberOf([&] { image.Set("Nonsense", 1); }), 438);
    EXPECT_EQ(ErrorNumberOf([&] { image.Set("Name", std::string("x")); }), 383);
    EXPECT_EQ(ErrorNumberOf([&] { image.Set("Left", std::string("far")); }), 13);
    EXPECT_EQ(ErrorNumberOf([&] { image.Set("Width", -150); }), 380);
    EXPECT_EQ(ErrorNumberOf([&] { image.Set("Left", 1e300); }), 6);
    EXPECT_EQ(ErrorNumberOf([&] { image.Get("Index"); }), 343);
    auto& label = AddTo<Label>(form, "lbl", {0, 0, 10, 10});
    EXPECT_EQ(ErrorNumberOf([&] { label.Set("ForeColor", 0x1000000); }), 380);
    EXPECT_EQ(ErrorNumberOf([&] { label.Set("FontSize", 0); }), 380);
    EXPECT_EQ(image.bounds(), (Rect{0, 0, 10, 10}));
}

TEST(ControlProperties, EveryListedPropertyCanBeReadBack) {
    VirtualClock clock;
    TimerQueue timers(clock);
    Form form("Main", 640, 480);
    std::vector<Control*> controls = {
        &AddTo<PictureBox>(form, "pic", {}), &AddTo<ImageControl>(form, "img", {}),
        &AddTo<Label>(form, "lbl", {}, 0),   &AddTo<Container>(form, "fra", {}),
        &AddTo<ListBox>(form, "lst", {}),    &form};
    controls.push_back(&form.Add(std::make_unique<TimerControl>(timers, "tmr")));
    for (Control* control : controls)
        for (const std::string& name : control->PropertyNames()) {
            SCOPED_TRACE(control->name() + "." + name);
            EXPECT_NO_THROW(control->Get(name));
        }
}

TEST(ListBoxes, KeepTheirItemsAndSelectionInStep) {
    ListBox list("lstHistory");
    list.AddItem("Hall");
    list.AddItem("Cellar");
    list.AddItem("Attic", 0);
    list.Set("ListIndex", 1);
    EXPECT_EQ(list.Get("Text"), PropertyValue(std::string("Hall")));
    list.RemoveItem(0);
    EXPECT_EQ(list.listIndex(), 0);
    EXPECT_EQ(list.Get("ListCount"), PropertyValue(int32_t{2}));
    EXPECT_EQ(list.List(1), "Cellar");
    EXPECT_EQ(ErrorNumberOf([&] { list.List(2); }), 381);
    EXPECT_EQ(ErrorNumberOf([&] { list.RemoveItem(5); }), 5);
    list.Clear();
    EXPECT_EQ(list.Get("ListIndex"), PropertyValue(int32_t{-1}));
}

TEST(HitTesting, LabelsAndImagesLieUnderTheOtherControlsOfTheirContainer) {
    Form form("Main", 640, 480);
    auto& button = AddTo<CommandButton>(form, "button", {0, 0, 100, 100});
    auto& image = AddTo<ImageControl>(form, "image", {0, 0, 100, 100});
    auto& label = AddTo<Label>(form, "label", {0, 0, 100, 100});
    EXPECT_EQ(&form.HitTest({50, 50}), &button);
    image.BringToFront();
    button.SendToBack();
    EXPECT_EQ(&form.HitTest({50, 50}), &button);
    button.SetVisible(false);
    EXPECT_EQ(&form.HitTest({50, 50}), &image);
    label.BringToFront();
    EXPECT_EQ(&form.HitTest({50, 50}), &label);
    label.SendToBack();
    EXPECT_EQ(&form.HitTest({50, 50}), &image);
    // Drawn back to front in the same order.
    std::vector<const Control*> order;
    for (const auto& child : form.children()) order.push_back(child.get());
    EXPECT_EQ(order, (std::vector<const Control*>{&label, &image, &button}));
}

TEST(HitTesting, FindsTheFrontMostShownEnabledControl) {
    Form form("Main", 640, 480);
    auto& back = AddTo<PictureBox>(form, "back", {0, 0, 200, 200});
    auto& front = AddTo<PictureBox>(form, "front", {50, 50, 100, 100});
    auto& inner = AddTo<Label>(back, "inner", {10, 10, 20, 20});
    EXPECT_EQ(&form.HitTest({60, 60}), &front);
    EXPECT_EQ(&form.HitTest({15, 15}), &inner);
    EXPECT_EQ(&form.HitTest({300, 300}), &form);

    back.BringToFront();
    EXPECT_EQ(&form.HitTest({60, 60}), &back);
    back.SendToBack();
    front.SetVisible(false);
    EXPECT_EQ(&form.HitTest({60, 60}), &back);

    inner.SetEnabled(false);  // a disabled control passes the mouse to its container
    EXPECT_EQ(&form.HitTest({15, 15}), &back);
    back.SetVisible(false);  // hiding a container hides what it holds
    EXPECT_EQ(&form.HitTest({15, 15}), &form);
    EXPECT_FALSE(inner.IsShown());
}

TEST(HitTesting, ChildrenAreClippedToTheirContainer) {
    Form form("Main", 640, 480);
    auto& box = AddTo<Container>(form, "box", {100, 100, 50, 50});
    auto& child = AddTo<Label>(box, "child", {40, 40, 100, 100});
    EXPECT_EQ(child.WindowBounds(), (Rect{140, 140, 100, 100}));
    EXPECT_EQ(&form.HitTest({145, 145}), &child);
    EXPECT_EQ(&form.HitTest({200, 200}), &form);
}

TEST(ControlArrays, LoadCopiesTheFirstElementHiddenAndUnloadRemovesOnlyLoadedOnes) {
    Form form("Main", 640, 480);
    auto& first = AddTo<Label>(form, "lblItem", {5, 6, 70, 20}, 0);
    first.caption = "Key";
    first.font.italic = true;
    Control& loaded = form.Load("LBLITEM", 3);
    EXPECT_EQ(loaded.index(), 3);
    EXPECT_FALSE(loaded.visible());
    EXPECT_EQ(loaded.Get("Caption"), PropertyValue(std::string("Key")));
    EXPECT_EQ(loaded.Get("FontItalic"), PropertyValue(true));
    EXPECT_EQ(loaded.bounds(), first.bounds());
    EXPECT_EQ(form.Elements("lblItem").size(), 2u);
    EXPECT_EQ(form.Find("lblItem", 3), &loaded);

    EXPECT_EQ(ErrorNumberOf([&] { form.Load("lblItem", 3); }), 360);
    EXPECT_EQ(ErrorNumberOf([&] { form.Load("lblNone", 1); }), 343);
    EXPECT_EQ(ErrorNumberOf([&] { form.Unload("lblItem", 0); }), 362);
    EXPECT_EQ(ErrorNumberOf([&] { form.Unload("lblItem", 7); }), 340);
    form.Unload("lblItem", 3);
    EXPECT_EQ(form.Find("lblItem", 3), nullptr);
    EXPECT_NO_THROW(form.Load("lblItem", 3));
}

TEST(ControlArrays, LoadedTimersRunWithTheirOwnIndex) {
    VirtualClock clock;
    TimerQueue timers(clock);
    EventLoop loop(clock, timers);
    Form form("Main", 640, 480);
    auto& first = static_cast<TimerControl&>(form.Add(std::make_unique<TimerControl>(timers, "tmr", 0)));
    std::vector<std::string> fired;
    first.Set("Interval", 200);
    first.events.timer = [&](Control& t) {
        fired.push_back(std::to_string(*t.index()) + "@" + std::to_string(clock.NowMs()));
    };
    clock.AdvanceTo(100);
    Control& second = form.Load("tmr", 1);
    loop.WaitMs(250);  // until 350
    EXPECT_EQ(fired, (std::vector<std::string>{"0@200", "1@300"}));
    second.Set("Enabled", false);
    form.Unload("tmr", 1);
    loop.WaitMs(300);
    EXPECT_EQ(fired.back(), "0@600");
    EXPECT_EQ(fired.size(), 4u);
}

struct MouseLog {
    std::vector<std::string> lines;
    void Watch(Control& c) {
        auto text = [](const std::string& what, Control& control, const MouseEvent& e) {
            return what + " " + control.name() + " " + std::to_string(e.button) + " " + std::to_string(e.x) +
                   "," + std::to_string(e.y);
        };
        c.events.mouseDown = [=, this](Control& s, const MouseEvent& e) {
            lines.push_back(text("down", s, e));
        };
        c.events.mouseMove = [=, this](Control& s, const MouseEvent& e) {
            lines.push_back(text("move", s, e));
        };
        c.events.mouseUp = [=, this](Control& s, const MouseEvent& e) { lines.push_back(text("up", s, e)); };
        c.events.click = [this](Control& s) { lines.push_back("click " + s.name()); };
        c.events.dblClick = [this](Control& s) { lines.push_back("dblclick " + s.name()); };
        c.events.dragOver = [this](Control& t, Control& s, int x, int y, DragState state) {
            lines.push_back("dragover " + t.name() + " " + s.name() + " " + std::to_string(x) + "," +
                            std::to_string(y) + " " + std::to_string(static_cast<int>(state)));
        };
        c.events.dragDrop = [this](Control& t, Control& s, int x, int y) {
            lines.push_back("drop " + t.name() + " " + s.name() + " " + std::to_string(x) + "," +
                            std::to_string(y));
        };
    }
};

TEST(MouseEvents, ArriveRelativeToTheControlAndClickFollowsAReleaseOverIt) {
    Form form("Main", 640, 480);
    auto& door = AddTo<ImageControl>(form, "door", {100, 50, 40, 80});
    MouseLog log;
    log.Watch(door);
    log.Watch(form);
    MouseRouter mouse(form);
    mouse.MouseDown({110, 60}, kLeftButton, 0);
    mouse.MouseMove({300, 300}, kLeftButton, 0);  // the pressed control keeps the mouse
    mouse.MouseUp({300, 300}, kLeftButton, 0);    // released elsewhere: no click
    mouse.MouseDown({139, 129}, kRightButton, kShiftKey);
    mouse.MouseUp({139, 129}, kRightButton, kShiftKey);
    mouse.DoubleClick({139, 129}, kLeftButton, 0);
    mouse.MouseMove({5, 5}, 0, 0);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"down door 1 10,10", "move door 1 200,250", "up door 1 200,250",
                                        "down door 2 39,79", "up door 2 39,79", "click door", "dblclick door",
                                        "move Main 0 5,5"}));
}

TEST(MouseEvents, AHandlerMayUnloadTheControlItWasCalledFor) {
    Form form("Main", 640, 480);
    AddTo<Label>(form, "lblItem", {0, 0, 50, 50}, 0);
    Control& loaded = form.Load("lblItem", 1);
    loaded.SetVisible(true);
    loaded.BringToFront();
    int clicks = 0;
    loaded.events.mouseUp = [&](Control&, const MouseEvent&) { form.Unload("lblItem", 1); };
    loaded.events.click = [&](Control&) { ++clicks; };
    MouseRouter mouse(form);
    mouse.MouseDown({10, 10}, kLeftButton, 0);
    mouse.MouseUp({10, 10}, kLeftButton, 0);
    mouse.MouseMove({11, 11}, 0, 0);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(form.Find("lblItem", 1), nullptr);
}

TEST(DragAndDrop, AutomaticDragGivesEnterOverLeaveAndDropOnTheTarget) {
    Form form("Main", 640, 480);
    auto& key = AddTo<ImageControl>(form, "key", {10, 10, 20, 20});
    auto& box = AddTo<PictureBox>(form, "box", {100, 100, 50, 50});
    auto& lock = AddTo<PictureBox>(form, "lock", {200, 100, 50, 50});
    key.Set("DragMode", 1);
    key.Set("DragIcon", std::string("key.cur"));
    MouseLog log;
    log.Watch(key);
    log.Watch(box);
    log.Watch(lock);
    MouseRouter mouse(form);
    mouse.MouseDown({15, 15}, kLeftButton, 0);
    EXPECT_EQ(mouse.dragSource(), &key);
    mouse.MouseMove({110, 110}, kLeftButton, 0);
    mouse.MouseMove({120, 110}, kLeftButton, 0);
    mouse.MouseMove({210, 105}, kLeftButton, 0);
    mouse.MouseUp({210, 105}, kLeftButton, 0);
    EXPECT_EQ(mouse.dragSource(), nullptr);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"dragover key key 5,5 0", "dragover key key 100,100 1",
                                                   "dragover box key 10,10 0", "dragover box key 20,10 2",
                                                   "dragover box key 110,5 1", "dragover lock key 10,5 0",
                                                   "drop lock key 10,5"}));
}

TEST(DragAndDrop, ManualDragStartedByAHandlerCanBeCancelled) {
    Form form("Main", 640, 480);
    auto& coin = AddTo<ImageControl>(form, "coin", {0, 0, 10, 10});
    MouseLog log;
    log.Watch(form);
    MouseRouter mouse(form);
    coin.events.mouseDown = [&](Control& c, const MouseEvent&) { mouse.BeginDrag(c); };
    mouse.MouseDown({5, 5}, kLeftButton, 0);
    mouse.MouseMove({50, 50}, kLeftButton, 0);
    mouse.CancelDrag();
    mouse.MouseUp({50, 50}, kLeftButton, 0);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"dragover Main coin 50,50 0", "dragover Main coin 50,50 1"}));
}

TEST(MousePointers, ComeFromTheHoveredControlOrItsContainers) {
    Form form("Main", 640, 480);
    auto& box = AddTo<PictureBox>(form, "box", {0, 0, 100, 100});
    auto& inner = AddTo<Label>(box, "inner", {0, 0, 10, 10});
    MouseRouter mouse(form);
    EXPECT_EQ(mouse.PointerAt({5, 5}), MousePointer::Arrow);
    box.Set("MousePointer", 11);
    EXPECT_EQ(mouse.PointerAt({5, 5}), MousePointer::Hourglass);
    inner.Set("MousePointer", 99);
    inner.Set("MouseIcon", std::string("hand.cur"));
    const Control* owner = nullptr;
    EXPECT_EQ(mouse.PointerAt({5, 5}, &owner), MousePointer::Custom);
    EXPECT_EQ(owner->mouseIcon(), "hand.cur");
    EXPECT_EQ(mouse.PointerAt({50, 50}), MousePointer::Hourglass);
}

TEST(OptionButtons, PressingOneClearsOnlyTheOthersOfItsContainer) {
    Form form("Main", 640, 480);
    auto& north = AddTo<OptionButton>(form, "optNorth", {0, 0, 80, 17});
    auto& south = AddTo<OptionButton>(form, "optSouth", {0, 20, 80, 17});
    auto& frame = AddTo<Container>(form, "fraLamp", {100, 0, 100, 100});
    auto& lit = AddTo<OptionButton>(frame, "optLit", {0, 0, 80, 17});
    lit.Set("Value", true);
    north.events.mouseDown(north, {kLeftButton, 0, 3, 3});
    EXPECT_EQ(north.Get("Value"), PropertyValue(true));
    south.events.mouseDown(south, {kRightButton, 0, 3, 3});  // only the left button selects
    EXPECT_FALSE(south.value());
    south.Set("value", int32_t{-1});
    EXPECT_FALSE(north.value());
    EXPECT_TRUE(south.value());
    EXPECT_TRUE(lit.value());
    south.Set("Value", false);
    EXPECT_FALSE(north.value());
}

TEST(ScrollBars, ArrowsAndTrackStepTheValueWithinItsRangeAndRaiseChange) {
    Form form("Main", 640, 480);
    auto& bar = static_cast<ScrollBar&>(form.Add(std::make_unique<ScrollBar>(false, "hsbSpeed")));
    bar.SetBounds({0, 0, 100, 17});
    int changes = 0;
    bar.events.change = [&](Control&) { ++changes; };
    bar.Set("Max", int32_t{10});
    bar.Set("LargeChange", int32_t{4});
    auto press = [&](int x) { bar.events.mouseDown(bar, {kLeftButton, 0, x, 8}); };
    press(5);  // the left arrow at Min
    EXPECT_EQ(changes, 0);
    press(95);
    press(80);  // the track right of the thumb
    EXPECT_EQ(bar.Get("Value"), PropertyValue(int32_t{5}));
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bar.Thumb(), (std::pair<int, int>{16 + 5 * 52 / 10, 16}));
    press(20);  // the track left of the thumb
    EXPECT_EQ(bar.value(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Set("Value", int32_t{11}); }), 380);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Set("SmallChange", int32_t{0}); }), 380);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Set("Min", int32_t{40000}); }), 380);
    // A range that no longer holds the value takes it along; a reversed range steps down.
    bar.Set("Max", int32_t{0});
    EXPECT_EQ(bar.value(), 0);
    bar.Set("Min", int32_t{10});
    bar.Set("Value", int32_t{5});
    press(95);
    EXPECT_EQ(bar.value(), 4);
}

TEST(ShapesAndLines, TakeNoMouseAndKeepTheirGeometry) {
    Form form("Main", 640, 480);
    auto& box = AddTo<PictureBox>(form, "picRoom", {0, 0, 200, 200});
    auto& circle = AddTo<ShapeControl>(box, "shpMoon", {10, 10, 100, 60});
    auto& line = AddTo<LineControl>(box, "linRope", {0, 0, 1, 1});
    EXPECT_EQ(&form.HitTest({50, 40}), &box);  // the mouse goes through the shape to the box
    circle.Set("Shape", int32_t{3});
    EXPECT_EQ(circle.Figure(), (Rect{20, 0, 60, 60}));  // a circle is centred at the shorter side
    circle.Set("Shape", int32_t{2});
    EXPECT_EQ(circle.Figure(), (Rect{0, 0, 100, 60}));
    EXPECT_EQ(ErrorNumberOf([&] { circle.Set("Shape", int32_t{6}); }), 380);
    line.Set("X1", int32_t{1500});
    line.Set("Y1", int32_t{300});
    line.Set("X2", int32_t{150});
    line.Set("Y2", int32_t{900});
    EXPECT_EQ(line.bounds(), (Rect{10, 20, 91, 41}));
    EXPECT_EQ(line.Get("x1"), PropertyValue(int32_t{1500}));
    line.Move(0, 0);  // the ends go along
    EXPECT_EQ(line.start(), (Point{90, 0}));
    EXPECT_EQ(line.end(), (Point{0, 40}));
    EXPECT_EQ(&form.HitTest({12, 30}), &box);
}

TEST(ScrollBars, AChangeHandlerMayRemoveTheBar) {
    Form form("Main", 640, 480);
    auto& bar = static_cast<ScrollBar&>(form.Add(std::make_unique<ScrollBar>(true, "vsbDepth")));
    bar.SetBounds({0, 0, 17, 100});
    bar.events.change = [&](Control& control) { form.Remove(control); };
    bar.Set("Value", int32_t{3});
    EXPECT_EQ(form.Find("vsbDepth"), nullptr);
}

}  // namespace
}  // namespace taviro::platform
