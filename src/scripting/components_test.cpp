#include "scripting/components.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/clock.h"
#include "platform/controls/control_kinds.h"
#include "platform/controls/list_controls.h"
#include "platform/controls/mouse_router.h"
#include "scripting/component_classes.h"
#include "support/test_project.h"
#include "vbscript/conversions.h"
#include "vbscript/engine.h"
#include "vbscript/number_text.h"

namespace taviro::scripting {
namespace {

using std::string;

// The components of a game window with the intrinsic classes, whose handlers run on an engine of
// their own; the handlers write what they hear into the script variable Heard.
struct ComponentsFixture : ::testing::Test {
    ComponentsFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        EXPECT_TRUE(test.Initialize());
        form.Add(std::make_unique<platform::PictureBox>("PictureBox")).SetBounds({0, 0, 640, 480});
        components.UseHost(&classes);
        components.runEventProcedure = [this](const string& procedure,
                                              vbscript::Ref<vbscript::Object> parameters) {
            ++handlersRun;
            vbscript::Variant argument(std::move(parameters));
            if (!engine.Run(vbscript::FromUtf8OrWindows1252(procedure), {&argument, 1}))
                throw GameError(engine.Error().number, vbscript::ToUtf8(engine.Error().description));
        };
    }
    // Loads the handlers and builds the list of events from them.
    void Procedures(const string& code) {
        ASSERT_TRUE(engine.AddCode(code)) << vbscript::ToUtf8(engine.Error().description);
        components.BuildAllEventsList(engine.Procedures());
    }
    string Eval(const string& expression) {
        vbscript::Variant result;
        EXPECT_TRUE(engine.AddCode("Function Probe_() : Probe_ = " + expression + " : End Function"));
        EXPECT_TRUE(engine.Run(u"Probe_", {}, &result)) << vbscript::ToUtf8(engine.Error().description);
        return vbscript::ToUtf8(vbscript::ToString(result));
    }
    void Use(const string& name) {
        engine.AddObject(vbscript::FromUtf8OrWindows1252(name), components.GetComponentRef(name), false);
    }
    platform::Control* Scene(const string& name) { return form.Find(name); }
    std::vector<string> Reports() const {
        std::vector<string> texts;
        for (const auto& shown : test.dialogs.shown()) texts.push_back(shown.request.text);
        return texts;
    }
    bool Reported(const string& message) const {
        for (const string& text : Reports())
            if (text.ends_with(message)) return true;
        return false;
    }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::Form form{"Game", 640, 480};
    ComponentClasses classes{form, timers};
    Components components{*test.project};
    vbscript::Engine engine;
    int handlersRun = 0;
};

TEST_F(ComponentsFixture, NamesInUseOrWithBlanksAreRefused) {
    components.AddAdditionalComponent("VB.Label", "Viewer", true, false);
    components.AddAdditionalComponent("VB.CommandButton", "VIEWER", false, false);
    components.AddAdditionalComponent("VB.Label", "my viewer", false, false);
    components.AddAdditionalComponent("VB.Label", "my-viewer", false, false);
    ASSERT_EQ(Reports().size(), 2u);
    EXPECT_TRUE(Reported(" A component named \"VIEWER\" already exists. Please use a different name."));
    EXPECT_TRUE(Reported(" The component name must not contain spaces or other special characters."));
    ASSERT_EQ(components.ComponentsList().size(), 2u);
    EXPECT_EQ(components.ComponentsList()[0].name, "viewer");
    EXPECT_TRUE(components.ComponentsList()[0].appearDuringTransitions);
    EXPECT_NE(Scene("my-viewer"), nullptr);
}

TEST_F(ComponentsFixture, AClassThatIsNotOfferedIsReportedAndItsNameStaysTaken) {
    EXPECT_FALSE(components.DoesProgIDExist("Viewer.Control"));
    EXPECT_TRUE(components.DoesProgIDExist("vb.label"));
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Scene("ProgIDTestComponent"), nullptr);

    components.AddAdditionalComponent("Viewer.Control", "viewer", false, false);
    EXPECT_TRUE(
        Reported(" Error in Game.AddAdditionalComponent. The component is probably not installed "
                 "properly.  "));
    EXPECT_TRUE(components.DoesComponentExist("VIEWER"));
    EXPECT_FALSE(components.GetComponentRef("viewer"));
    components.AddAdditionalComponent("VB.Label", "viewer", false, false);
    EXPECT_TRUE(Reported(" A component named \"viewer\" already exists. Please use a different name."));
    // A name that a control of the window has already cannot be made either.
    components.AddAdditionalComponent("VB.Label", "PictureBox", false, false);
    EXPECT_EQ(Reports().size(), 3u);
}

TEST_F(ComponentsFixture, ScriptsPlaceShowAndChangeTheComponentsControl) {
    components.AddAdditionalComponent("VB.CommandButton", "Go", false, false);
    platform::Control* button = Scene("go");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->parent(), Scene("PictureBox"));
    EXPECT_FALSE(button->visible());
    Use("Go");
    ASSERT_TRUE(
        engine.AddCode("Go.Move 1500, 300, 1200 : Go.Caption = \"Open\" : Go.Visible = True\r\n"
                       "Go.Tag = \"door\""));
    EXPECT_EQ(button->bounds(), (platform::Rect{100, 20, 80, 33}));
    EXPECT_TRUE(button->visible());
    EXPECT_EQ(static_cast<platform::Label*>(button)->caption, "Open");
    EXPECT_EQ(Eval("TypeName(Go) & Go.Tag & Go.Name"), "CommandButtondoorgo");
}

TEST_F(ComponentsFixture, RemovedComponentsGoAndNewOnesTakeNewSinks) {
    components.AddAdditionalComponent("VB.Label", "a", false, false);
    components.AddAdditionalComponent("VB.Label", "b", false, false);
    Use("a");
    components.RemoveAdditionalComponent("A");
    EXPECT_EQ(Scene("a"), nullptr);
    components.RemoveAdditionalComponent("a");
    EXPECT_TRUE(Reported(" The component named \"a\" could not be removed because it could not be found."));
    components.GetComponentRef("a");
    EXPECT_TRUE(Reported(" The component named \"a\" could not be found."));
    // A script that kept the object hears that its control is gone.
    EXPECT_FALSE(engine.AddCode("a.Caption = \"x\""));
    components.AddAdditionalComponent("VB.Label", "a", false, false);
    EXPECT_EQ(components.ComponentsList().back().sink, 3u);

    components.ResetComponents();
    EXPECT_TRUE(components.ComponentsList().empty());
    EXPECT_EQ(Scene("a"), nullptr);
    EXPECT_EQ(Scene("b"), nullptr);
    components.AddAdditionalComponent("VB.Label", "a", false, false);
    EXPECT_EQ(components.ComponentsList().back().sink, 1u);
}

TEST_F(ComponentsFixture, HandlersAreNamedComponentUnderscoreEvent) {
    components.BuildAllEventsList(
        {u"viewer_Click", u"Viewer_Mouse_Down", u"_Init", u"NoEvent", u"my_viewer_Click"});
    std::vector<std::pair<string, string>> handlers;
    for (const auto& handler : components.ComponentEventsList())
        handlers.emplace_back(handler.component, handler.event);
    EXPECT_EQ(handlers, (std::vector<std::pair<string, string>>{
                            {"viewer", "click"}, {"viewer", "mouse_down"}, {"my", "viewer_click"}}));
}

TEST_F(ComponentsFixture, EventsReachTheirHandlerWithTheirParametersByPositionAndName) {
    Procedures(
        "Dim Heard\r\n"
        "Sub viewer_Click(p) : Heard = Heard & \"click \" & p.Count & \";\" : End Sub\r\n"
        "Sub viewer_MouseDown(p)\r\n"
        "  Heard = Heard & p(\"Button\") & \",\" & p(1).Value & \",\" & p.Item(\"x\") & \",\" & p(3) & \",\" "
        "& "
        "p(2).Name & \";\"\r\n"
        "End Sub\r\n"
        "Sub my_viewer_Click(p) : Heard = Heard & \"wrong;\" : End Sub");
    components.AddAdditionalComponent("VB.Label", "Viewer", false, false);
    components.AddAdditionalComponent("VB.Label", "my_viewer", false, false);
    for (const char* name : {"viewer", "my_viewer"}) {
        platform::Control* label = Scene(name);
        label->SetBounds({100, 100, 50, 20});
        label->SetVisible(true);
    }
    Scene("viewer")->BringToFront();
    platform::MouseRouter mouse(form);
    mouse.MouseDown({102, 103}, platform::kLeftButton, platform::kShiftKey);
    mouse.MouseUp({102, 103}, platform::kLeftButton, 0);
    EXPECT_EQ(Eval("Heard"), "1,1,30,45,X;click 0;");
    // The component whose name holds "_" never hears its events; one without handlers costs no call.
    handlersRun = 0;
    Scene("my_viewer")->BringToFront();
    mouse.MouseDown({102, 103}, platform::kLeftButton, 0);
    mouse.MouseUp({102, 103}, platform::kLeftButton, 0);
    EXPECT_EQ(handlersRun, 0);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ComponentsFixture, AFailingHandlerIsReportedAndAHandlerMayRemoveItsOwnComponent) {
    Procedures(
        "Sub bad_Click(p) : x = 1 / 0 : End Sub\r\nDim Gone\r\nSub gone_Click(p) : Gone = True : End Sub");
    components.AddAdditionalComponent("VB.CommandButton", "bad", false, false);
    components.AddAdditionalComponent("VB.CommandButton", "gone", false, false);
    Scene("bad")->events.click(*Scene("bad"));
    EXPECT_EQ(Reports().size(), 1u);
    EXPECT_TRUE(Reported("Error in Component_ObjectEvent. "));

    components.runEventProcedure = [this](const string&, vbscript::Ref<vbscript::Object>) {
        components.RemoveAdditionalComponent("gone");
    };
    platform::Control* gone = Scene("gone");
    gone->events.click(*gone);
    EXPECT_EQ(Scene("gone"), nullptr);
    EXPECT_EQ(Reports().size(), 1u);
}

TEST_F(ComponentsFixture, ComboBoxChoiceByMouseReachesItsClickHandlerWithTheNewText) {
    Procedures(
        "Dim Heard\r\nSub colour_Click(p) : Heard = Heard & colour.Text & colour.ListIndex & \";\" : End "
        "Sub");
    components.AddAdditionalComponent("VB.ComboBox", "Colour", false, false);
    Use("Colour");
    ASSERT_TRUE(
        engine.AddCode("colour.AddItem \"red\" : colour.AddItem \"green\" : colour.Move 150, 150, 1500\r\n"
                       "colour.Visible = True : colour.FontSize = 10"));
    EXPECT_EQ(Eval("TypeName(colour) & colour.ListCount & colour.Style"), "ComboBox20");
    platform::MouseRouter mouse(form);
    platform::Rect box = Scene("colour")->WindowBounds();
    auto click = [&](platform::Point at) {
        mouse.MouseDown(at, platform::kLeftButton, 0);
        mouse.MouseUp(at, platform::kLeftButton, 0);
    };
    click({box.x + box.width - 4, box.y + 4});
    EXPECT_EQ(Eval("Heard"), "") << "opening the list raises no Click";
    click({box.x + 10, box.y + box.height + 1 + 13 + 6});  // the second row of the list
    EXPECT_EQ(Eval("Heard"), "green1;");
    EXPECT_FALSE(static_cast<platform::ComboBox*>(Scene("colour"))->open());
    // A script setting ListIndex raises Click too; RemoveItem of the selection leaves none.
    ASSERT_TRUE(engine.AddCode("colour.ListIndex = 0 : colour.RemoveItem 0"));
    EXPECT_EQ(Eval("Heard & colour.ListIndex & colour.List(0)"), "green1;red0;-1green");
    ASSERT_TRUE(engine.AddCode("colour.Clear"));
    EXPECT_EQ(Eval("colour.Text & colour.ListCount"), "0");
}

TEST_F(ComponentsFixture, FileListsOfferedAsComponentsListNothingWithoutFolders) {
    for (const char* progId : {"VB.FileListBox", "VB.DirListBox", "VB.DriveListBox", "vb.combobox"})
        EXPECT_TRUE(components.DoesProgIDExist(progId)) << progId;
    components.AddAdditionalComponent("VB.FileListBox", "files", false, false);
    Use("files");
    EXPECT_EQ(Eval("files.ListCount & files.Pattern"), "0*.*");
    EXPECT_FALSE(engine.AddCode("files.Path = \"C:\\\""));
    EXPECT_EQ(engine.Error().number, 76);
    EXPECT_FALSE(engine.AddCode("files.AddItem \"x\""));
    EXPECT_EQ(engine.Error().number, 438);
}

TEST_F(ComponentsFixture, TimersRaiseTheirEventAndPauseIsSilentWithoutTheMethod) {
    Procedures("Dim Ticks\r\nSub tick_Timer(p) : Ticks = Ticks + 1 : End Sub");
    components.AddAdditionalComponent("VB.Timer", "tick", false, false);
    Use("tick");
    ASSERT_TRUE(engine.AddCode("tick.Interval = 100 : tick.Enabled = True"));
    clock.AdvanceTo(clock.NowMs() + 250);
    timers.FireDue();
    clock.AdvanceTo(clock.NowMs() + 100);
    timers.FireDue();
    EXPECT_EQ(Eval("Ticks"), "2");
    components.PauseComponents();
    components.ResumeComponents();
    EXPECT_TRUE(Reports().empty());
}

// Components written in VBScript, by ProgID.
struct ScriptComponentsFixture : ComponentsFixture {
    ScriptComponentsFixture() {
        classes.scriptOf = [this](const string& progId) -> std::optional<string> {
            auto found = scripts.find(progId);
            return found == scripts.end() ? std::nullopt : std::optional<string>(found->second);
        };
        classes.scriptTimeoutMs = 200;
    }
    void Click(const string& name) {
        platform::Control* control = Scene(name);
        ASSERT_NE(control, nullptr);
        control->events.click(*control);
    }
    std::map<string, string> scripts{
        {"Test.Counter",
         "Class Component\r\n"
         "  Public Count\r\n"
         "  Public Sub Click() : Count = Count + 1 : Host.FillRect 0, 0, 2, 2, &HFF : "
         "Host.RaiseEvent \"Counted\", \"Count\", Count, \"Area\", Host.Name : End Sub\r\n"
         "End Class"},
        {"Test.Broken", "Class Component\r\n  Public Sub Click(\r\nEnd Class"},
        {"Test.Failing", "Class Component\r\n  Public Sub Click() : x = 1 / 0 : End Sub\r\nEnd Class"},
        {"Test.Endless", "Class Component\r\n  Public Sub Click() : Do : Loop : End Sub\r\nEnd Class"},
        {"Test.NoClass", "Dim x"},
        {"Test.Pausing",
         "Class Component\r\n  Public Log\r\n  Sub PauseComponent() : Log = Log & \"pause;\" : End Sub\r\n"
         "  Sub ResumeComponent() : Log = Log & \"resume;\" : End Sub\r\nEnd Class"}};
};

TEST_F(ScriptComponentsFixture, TheClassAnswersClicksDrawsAndRaisesEventsToTheGame) {
    Procedures(
        "Dim Heard\r\nSub counter_Counted(p) : Heard = Heard & p(\"Count\") & p(\"area\") & \";\" : End Sub");
    EXPECT_TRUE(components.DoesProgIDExist("Test.Counter"));
    components.AddAdditionalComponent("Test.Counter", "Counter", false, false);
    ASSERT_TRUE(Reports().empty()) << Reports().front();
    Use("Counter");
    ASSERT_TRUE(engine.AddCode("Counter.Count = 10 : Counter.Move 150, 150, 600, 300"));
    Click("counter");
    Click("counter");
    EXPECT_EQ(Eval("Heard & Counter.Count & TypeName(Counter) & Counter.Width"),
              "11counter;12counter;12Component600");
    auto* box = static_cast<platform::PictureBox*>(Scene("counter"));
    EXPECT_EQ(box->bounds(), (platform::Rect{10, 10, 40, 20}));
    EXPECT_EQ(box->canvas().PixelAt(1, 1), 0xFFFF0000u);
    EXPECT_EQ(box->canvas().PixelAt(2, 2), 0u);
}

TEST_F(ScriptComponentsFixture, CodeThatDoesNotCompileOrHasNoClassIsNotInstalled) {
    EXPECT_FALSE(components.DoesProgIDExist("Test.Broken"));
    EXPECT_FALSE(components.DoesProgIDExist("Test.NoClass"));
    components.AddAdditionalComponent("Test.Broken", "broken", false, false);
    EXPECT_TRUE(
        Reported(" Error in Game.AddAdditionalComponent. The component is probably not installed "
                 "properly.  "));
    EXPECT_EQ(Scene("broken"), nullptr);
}

TEST_F(ScriptComponentsFixture, FailingAndEndlessEventsStopAndTheGameGoesOn) {
    components.AddAdditionalComponent("Test.Failing", "failing", false, false);
    components.AddAdditionalComponent("Test.Endless", "endless", false, false);
    Click("failing");
    Click("endless");  // stopped by the time-out
    Click("failing");
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(components.ComponentsList().size(), 2u);
}

TEST_F(ScriptComponentsFixture, TransitionsPauseAndResumeTheComponentsThatCanBePaused) {
    components.AddAdditionalComponent("VB.Label", "plain", false, false);
    components.AddAdditionalComponent("Test.Pausing", "pausing", false, false);
    components.AddAdditionalComponent("Test.Failing", "failing", false, false);
    components.PauseComponents();
    components.ResumeComponents();
    Use("pausing");
    EXPECT_EQ(Eval("pausing.Log"), "pause;resume;");
    EXPECT_TRUE(Reports().empty());
}

TEST_F(ScriptComponentsFixture, AHandlerMayRemoveTheComponentThatRaisedItsEvent) {
    Procedures("Sub counter_Counted(p) : End Sub");
    components.AddAdditionalComponent("Test.Counter", "counter", false, false);
    Use("counter");
    components.runEventProcedure = [this](const string&, vbscript::Ref<vbscript::Object>) {
        components.RemoveAdditionalComponent("counter");
    };
    Click("counter");
    EXPECT_EQ(Scene("counter"), nullptr);
    EXPECT_TRUE(components.ComponentsList().empty());
    // A script that kept the component hears that it is gone.
    EXPECT_FALSE(engine.AddCode("x = counter.Count"));
    EXPECT_EQ(engine.Error().number, 91);
}

}  // namespace
}  // namespace taviro::scripting
