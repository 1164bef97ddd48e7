#include "frames/hotspots.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "frames/frame_texts.h"
#include "platform/controls/control_kinds.h"
#include "support/test_project.h"

namespace taviro::frames {
namespace {

using std::string;
using testing::FieldsLine;

struct FakeHotspotServices : HotspotServices {
    int16_t GetVariableValue(std::string_view name) override {
        auto found = variables.find(string(name));
        return found == variables.end() ? -32000 : found->second;
    }
    bool IsHotspotRemoved(std::string_view frame, int number) override {
        return frame == "Hall" && removed.count(number) > 0;
    }
    bool IsOneTimeVideoPlaying() override { return videoPlaying; }
    bool IsVideoStarting() override { return false; }
    bool IsInventoryBusy() override { return false; }
    int HandleShowHideMenus(int button) override {
        log.push_back("menus " + std::to_string(button));
        return button;
    }
    bool AreMenusShown() override { return menusShown; }
    void HideMenus() override { log.push_back("hide menus"); }
    void PickOrNotPickObject(int areaIndex) override { log.push_back("pick " + std::to_string(areaIndex)); }
    void RequestHideInventory() override {}
    void HideInventoryIfItem() override {}
    std::optional<int> DraggedItemIndex(const platform::Control& source) override {
        return source.name() == "PickedObject" ? std::optional<int>(3) : std::nullopt;
    }
    void FadeStep(double) override {}
    void MakeActionAndConsequences(int areaIndex, int objectIndex) override {
        log.push_back("action " + std::to_string(areaIndex) + " " + std::to_string(objectIndex));
    }
    void PauseWithEvents(int durationMs) override { log.push_back("pause " + std::to_string(durationMs)); }
    void SetScreenPointer(std::optional<platform::MousePointer> pointer, const string& icon) override {
        log.push_back(pointer ? "pointer " + std::to_string(static_cast<int>(*pointer)) + icon
                              : "pointer reset");
    }
    void HideScreenPointer(bool hidden) override { log.push_back(hidden ? "hide pointer" : "show pointer"); }
    void CreateAnimatedPicture(int areaIndex, const string&, double speed, int, int) override {
        log.push_back("animated " + std::to_string(areaIndex) + " " +
                      std::to_string(static_cast<int>(speed)));
    }
    void CreateLoopingVideo(int, const HotspotRecord&, const string&) override {}
    void ShowHotspotMedia(int areaIndex, bool visible) override {
        log.push_back("media " + std::to_string(areaIndex) + (visible ? " shown" : " hidden"));
    }
    void RemoveHotspotMedia() override { log.push_back("remove media"); }

    std::map<string, int16_t> variables;
    std::set<int> removed;
    bool videoPlaying = false;
    bool menusShown = false;
    std::vector<string> log;
};

string Separator() { return FieldsLine({string(project::kRecordSeparator)}); }

// A hotspot record with a rectangle in editor units, an optional picture and conditions, which
// are switched on when there are any unless conditionsOn says otherwise.
string Hotspot(double left, double top, double width, double height, const string& picture = "",
               std::vector<string> mustBeZero = {}, std::vector<string> mustBeOne = {}, double merged = 0,
               double animation = 0, const string& pointer = "", bool conditionsOn = true) {
    bool conditions = conditionsOn && !(mustBeZero.empty() && mustBeOne.empty());
    string text = FieldsLine({string(""), merged, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
                  FieldsLine({left, top, width, height, animation, !picture.empty(), picture, 0.0, pointer,
                              conditions ? 1.0 : 0.0});
    text += FieldsLine({static_cast<double>(mustBeZero.size())});
    for (const string& name : mustBeZero) text += FieldsLine({name});
    text += FieldsLine({static_cast<double>(mustBeOne.size())});
    for (const string& name : mustBeOne) text += FieldsLine({name});
    return text + FieldsLine({string("4")}) + Separator();
}

struct HotspotsFixture : ::testing::Test {
    HotspotsFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        EXPECT_TRUE(test.Initialize());
        auto& scene = form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        scene.SetBounds({0, 0, 640, 480});
        scene.Add(std::make_unique<platform::ImageControl>("Area", 0)).SetVisible(false);
        scene.Add(std::make_unique<platform::Label>("Text", 0)).SetVisible(false);
        frame.name = "Hall";
    }
    void Write(const string& file, const string& text) {
        test.Write("FramesData/" + file, text);
        test.files.Forget();
    }
    platform::Control* Area(int index) { return form.Find("Area", index); }

    testing::TestProject test;
    platform::Form form{"Game", 640, 480};
    CurrentFrame frame;
    FakeHotspotServices services;
    Hotspots hotspots{*test.project, test.flags, form, frame, services};
    FrameTexts texts{*test.project, test.flags, form, frame, services};
};

TEST_F(HotspotsFixture, HotspotsAreInsetByTwoPixelsAndHiddenUntilShown) {
    test.Write("Areas/door.bmp", "x");
    Write("Hall.fm2", Hotspot(150, 300, 1500, 975, "door.bmp") + Hotspot(0, 0, 60, 60));
    hotspots.LoadAreas();
    ASSERT_NE(Area(2), nullptr);
    EXPECT_EQ(Area(1)->bounds(), (platform::Rect{12, 22, 96, 61}));
    EXPECT_EQ(Area(2)->bounds().width, 1);
    EXPECT_EQ(static_cast<platform::ImageControl*>(Area(1))->picture,
              test.project->paths.AreasPath + "door.bmp");
    EXPECT_FALSE(Area(1)->visible());
    hotspots.ShowOrNotShowAreas();
    EXPECT_TRUE(Area(1)->visible());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(HotspotsFixture, MergedFileWinsAndMarksTheFirstMergedHotspot) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300));
    Write("Hall.mr2", Hotspot(0, 0, 300, 300) + Hotspot(0, 0, 300, 300) +
                          Hotspot(0, 0, 300, 300, "", {}, {}, 1) + Hotspot(0, 0, 300, 300, "", {}, {}, 1));
    hotspots.LoadAreas();
    EXPECT_NE(Area(4), nullptr);
    EXPECT_EQ(frame.MergedHotspotIndex, 3);
}

TEST_F(HotspotsFixture, VariableConditionsAndRemovedHotspots) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300, "", {"Missing"}) + Hotspot(0, 0, 300, 300, "", {}, {"Lamp"}) +
                          Hotspot(0, 0, 300, 300, "", {"Door"}, {"Key"}) + Hotspot(0, 0, 300, 300));
    services.variables = {{"Lamp", 2}, {"Door", 0}, {"Key", 1}};
    services.removed = {4};
    hotspots.LoadAreas();
    hotspots.ShowOrNotShowAreas();
    EXPECT_TRUE(Area(1)->visible());
    EXPECT_FALSE(Area(2)->visible());
    EXPECT_TRUE(Area(3)->visible());
    EXPECT_FALSE(Area(4)->visible());
    services.variables["Door"] = 1;
    hotspots.ShowOrNotShowAreas();
    EXPECT_FALSE(Area(3)->visible());
}

TEST_F(HotspotsFixture, ConditionsSwitchedOffLeaveTheHotspotVisibleWhateverItsLists) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300, "", {"Door"}, {"Key"}, 0, 0, "", false));
    services.variables = {{"Door", 1}, {"Key", 0}};
    hotspots.LoadAreas();
    hotspots.ShowOrNotShowAreas();
    EXPECT_TRUE(Area(1)->visible());
}

TEST_F(HotspotsFixture, RemovedHotspotStaysHiddenWhateverItsVariablesSay) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300, "", {"Door"}, {"Key"}));
    services.variables = {{"Door", 0}, {"Key", 1}};
    services.removed = {1};
    hotspots.LoadAreas();
    hotspots.ShowOrNotShowAreas();
    EXPECT_FALSE(Area(1)->visible());
}

TEST_F(HotspotsFixture, HotspotTakesItsOwnPointerOrTheProjects) {
    test.Write("Icons/hand.cur", "x");
    test.Write("Icons/eye.cur", "x");
    Write("Hall.fm2", Hotspot(0, 0, 300, 300, "", {}, {}, 0, 0, "hand.cur") +
                          Hotspot(0, 0, 300, 300, "", {}, {}, 0, 0, "Default") + Hotspot(0, 0, 300, 300));
    hotspots.LoadAreas();
    EXPECT_EQ(Area(1)->mousePointer(), platform::MousePointer::Custom);
    EXPECT_EQ(Area(1)->mouseIcon(), test.project->paths.IconsPath + "hand.cur");
    EXPECT_EQ(Area(2)->mousePointer(), platform::MousePointer::Default);
    test.project->information.defaultCursor = "eye.cur";
    hotspots.ResetFrameAreas();
    hotspots.LoadAreas();
    EXPECT_EQ(Area(2)->mouseIcon(), test.project->paths.IconsPath + "eye.cur");
    EXPECT_EQ(Area(3)->mousePointer(), platform::MousePointer::Custom);
    EXPECT_EQ(Area(3)->mouseIcon(), test.project->paths.IconsPath + "eye.cur");
}

TEST_F(HotspotsFixture, BadRecordIsReportedAndEarlierHotspotsStay) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300) + FieldsLine({string(""), string("x")}) + Separator());
    hotspots.LoadAreas();
    EXPECT_NE(Area(1), nullptr);
    EXPECT_EQ(Area(2), nullptr);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    EXPECT_TRUE(test.dialogs.shown()[0].request.text.ends_with("Unable to load hotspot #2. Type mismatch"));
}

TEST_F(HotspotsFixture, AnimatedPicturesGoToTheirOwnControl) {
    test.Write("Areas/bird.gif", "x");
    Write("Hall.fm2", Hotspot(0, 0, 300, 300, "bird.gif", {}, {}, 0, 1));
    hotspots.LoadAreas();
    EXPECT_EQ(services.log, std::vector<string>{"animated 1 4"});
    EXPECT_EQ(static_cast<platform::ImageControl*>(Area(1))->picture, "");
}

TEST_F(HotspotsFixture, ShowingOrHidingAnAnimatedPictureHandlesPendingEventsOnce) {
    test.Write("Areas/bird.gif", "x");
    test.Write("Areas/door.bmp", "x");
    Write("Hall.fm2", Hotspot(0, 0, 300, 300, "bird.gif", {}, {"Bird"}, 0, 1) +
                          Hotspot(0, 0, 300, 300, "door.bmp", {}, {"Bird"}));
    services.variables = {{"Bird", 1}};
    hotspots.LoadAreas();
    services.log.clear();
    hotspots.ShowOrNotShowAreas();
    EXPECT_EQ(services.log, (std::vector<string>{"media 1 shown", "pause 0", "media 2 shown"}));
    // Nothing changes, nothing is handled.
    services.log.clear();
    hotspots.ShowOrNotShowAreas();
    EXPECT_TRUE(services.log.empty());
    services.variables["Bird"] = 0;
    hotspots.ShowOrNotShowAreas();
    EXPECT_EQ(services.log, (std::vector<string>{"media 1 hidden", "pause 0", "media 2 hidden"}));
}

TEST_F(HotspotsFixture, LeftClickCarriesOutTheActionAndRightClickDoesNot) {
    Write("Hall.fm2", Hotspot(150, 150, 300, 300));
    hotspots.LoadAreas();
    platform::Control& area = *Area(1);
    area.events.mouseDown(area, {1, 0, 5, 6});
    EXPECT_EQ(services.log,
              (std::vector<string>{"menus 1", "hide menus", "pick 1", "action 1 0", "pause 100"}));
    EXPECT_EQ(hotspots.clickX(), 12 + 5);
    EXPECT_EQ(hotspots.clickY(), 12 + 6);
    EXPECT_TRUE(test.flags.StopMovie);
    services.log.clear();
    hotspots.AreaClick(1, 2);
    EXPECT_EQ(services.log, std::vector<string>{"menus 2"});
}

TEST_F(HotspotsFixture, ClickDuringAVideoOnlySkipsIt) {
    services.videoPlaying = true;
    hotspots.AreaClick(1, 1);
    EXPECT_TRUE(services.log.empty());
    EXPECT_TRUE(test.flags.StopMovie);
    EXPECT_TRUE(test.flags.bInterruptTransition);
}

TEST_F(HotspotsFixture, ClickSkipsTheVideoOnlyWhenTheProjectLetsClicksDoIt) {
    services.videoPlaying = true;
    test.project->information.onlyEscSkipsWait = true;
    hotspots.AreaClick(1, 1);
    EXPECT_FALSE(test.flags.StopMovie);
    EXPECT_TRUE(test.flags.bInterruptTransition);
    EXPECT_TRUE(services.log.empty());
}

TEST_F(HotspotsFixture, LeftClickWithTheMenusShownOnlyHidesThem) {
    services.menusShown = true;
    hotspots.AreaClick(1, 1);
    EXPECT_EQ(services.log, (std::vector<string>{"menus 1", "hide menus"}));
}

TEST_F(HotspotsFixture, ClickWhileTheGameStopsDoesNothing) {
    test.flags.GameStopping = true;
    hotspots.AreaClick(1, 1);
    EXPECT_TRUE(services.log.empty());
    EXPECT_FALSE(test.flags.StopMovie);
}

TEST_F(HotspotsFixture, DroppingAnInventoryItemActsWithThatItem) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300));
    hotspots.LoadAreas();
    platform::ImageControl item("PickedObject");
    platform::ImageControl other("Other");
    Area(1)->events.dragDrop(*Area(1), other, 1, 1);
    Area(1)->events.dragDrop(*Area(1), item, 1, 1);
    EXPECT_EQ(services.log, std::vector<string>{"action 1 3"});
}

TEST_F(HotspotsFixture, LeavingTheFrameRemovesItsHotspots) {
    Write("Hall.fm2", Hotspot(0, 0, 300, 300) + Hotspot(0, 0, 300, 300));
    hotspots.LoadAreas();
    hotspots.ResetFrameAreas();
    EXPECT_EQ(form.Elements("Area").size(), 1u);
    EXPECT_EQ(services.log.back(), "remove media");
}

string Text(const string& caption, double merged = 0, const string& font = "Arial") {
    return FieldsLine({string(""), merged, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}) +
           FieldsLine({caption, 300.0, 150.0, true, false, font, 12.0, false, true, 255.0, string("")});
}

TEST_F(HotspotsFixture, WaitsForTheVideoUnderTheProjectsPointerOrWithoutAny) {
    auto wait = [&] { services.log.push_back("wait"); };
    hotspots.WaitWithScreenPointer(wait);  // the system's pointer: nothing to set
    test.Write("Icons/hand.cur", "x");
    test.project->information.defaultCursor = "Hand.cur";
    string hand = test.project->LocateProjectFile(test.project->paths.IconsPath + "Hand.cur");
    hotspots.WaitWithScreenPointer(wait);
    test.project->information.hidePointerWhileWaiting = true;
    hotspots.WaitWithScreenPointer(wait);
    EXPECT_EQ(services.log,
              (std::vector<string>{"wait", "pointer reset", "pointer 1", "pointer 99" + hand, "wait",
                                   "pointer reset", "hide pointer", "wait", "show pointer"}));
}

TEST_F(HotspotsFixture, TextsBecomeLabelsAtTheirPlace) {
    Write("Hall.fm1", Text("Wrong"));
    Write("Hall.mr1", Text("Welcome") + Text("[Empty]", 1, ""));
    texts.LoadTexts();
    auto* first = static_cast<platform::Label*>(form.Find("Text", 1));
    auto* second = static_cast<platform::Label*>(form.Find("Text", 2));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->caption, "Welcome");
    EXPECT_EQ(first->bounds().x, 20);
    EXPECT_EQ(first->bounds().y, 10);
    EXPECT_TRUE(first->font.bold);
    EXPECT_TRUE(first->font.underline);
    EXPECT_DOUBLE_EQ(first->font.sizePoints, 12);
    EXPECT_EQ(first->foreColor, 255u);
    EXPECT_TRUE(first->visible());
    EXPECT_EQ(second->caption, "");
    EXPECT_EQ(second->font.name, "Arial");
    EXPECT_EQ(frame.MergedTextIndex, 2);
    texts.ResetFrameTexts();
    EXPECT_EQ(form.Elements("Text").size(), 1u);
}

TEST_F(HotspotsFixture, PressOnATextActsLikeThePressOnTheBackground) {
    Write("Hall.fm1", Text("Welcome"));
    texts.LoadTexts();
    platform::Control& label = *form.Find("Text", 1);
    label.events.mouseDown(label, {2, 0, 1, 1});
    EXPECT_EQ(services.log, std::vector<string>{"menus 2"});
    EXPECT_TRUE(test.flags.bInterruptTransition);
}

}  // namespace
}  // namespace taviro::frames
