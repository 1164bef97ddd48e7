#include "messages/message_strip.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/events/event_loop.h"
#include "support/test_project.h"

namespace taviro::messages {
namespace {

struct NoInventory : MessageServices {
    void RequestHideInventory() override { ++hideRequests; }
    void HideInventoryIfItem() override { ++hideRequests; }
    int hideRequests = 0;
};

// A strip over a 640 x 480 scene, on a virtual clock.
struct MessageStripFixture : ::testing::Test {
    MessageStripFixture() {
        test.Write("Config/General", testing::GeneralFile().Set(3, std::string("The Game")).Text());
        EXPECT_TRUE(test.Initialize());
        scene = &form.Add(std::make_unique<platform::PictureBox>("PictureBox"));
        scene->SetBounds({0, 0, 640, 480});
        strip.AddControls(*scene);
    }
    platform::Control& StripControl() { return *form.Find("FrameMessageBox"); }
    platform::Control& LabelControl() { return *form.Find("LabelMessageBox"); }

    testing::TestProject test;
    platform::VirtualClock clock;
    platform::TimerQueue timers{clock};
    platform::EventLoop loop{clock, timers};
    platform::Form form{"Game", 640, 480};
    NoInventory services;
    MessageStrip strip{*test.project, form, timers, services};
    platform::Control* scene = nullptr;
};

TEST_F(MessageStripFixture, StripLiesAlongTheBottomOfTheSceneInFront) {
    form.Add(std::make_unique<platform::PictureBox>("Later"));
    LabelControl().SetBounds({0, 0, 600, 20});
    strip.ShowTextMessage("The door is locked.", true, false);
    const platform::Rect& bounds = StripControl().bounds();
    EXPECT_TRUE(strip.visible());
    EXPECT_EQ(strip.text(), "The door is locked.");
    EXPECT_EQ(bounds.x, 0);
    EXPECT_EQ(bounds.width, 640);
    EXPECT_EQ(bounds.height, LabelControl().bounds().height + 35);
    EXPECT_EQ(bounds.y + bounds.height, 480);
    EXPECT_EQ(form.children().back().get(), &StripControl());
    EXPECT_TRUE(test.dialogs.shown().empty());
}

TEST_F(MessageStripFixture, StripHidesAfterSeventyMillisecondsPerCharacterAndOneSecond) {
    strip.ShowTextMessage("twenty characters!!!", true, false);
    EXPECT_EQ(strip.hideIntervalMs(), 2400);
    loop.WaitMs(2399);
    EXPECT_TRUE(strip.visible());
    loop.WaitMs(1);
    EXPECT_FALSE(strip.visible());
    EXPECT_EQ(strip.hideIntervalMs(), 0);

    strip.ShowTextMessage("", true, false);
    EXPECT_EQ(strip.hideIntervalMs(), 1000);
    // Characters count, not bytes.
    EXPECT_EQ(MessageDurationMs("caf\xC3\xA9"), 1280);
}

TEST_F(MessageStripFixture, SecondMessageReplacesTheFirstAndRestartsTheTimer) {
    strip.ShowTextMessage("0123456789", true, false);  // 1.7 s
    loop.WaitMs(1500);
    strip.ShowTextMessage("01234567890123456789", true, false);  // 2.4 s from now
    loop.WaitMs(2000);
    EXPECT_TRUE(strip.visible());
    EXPECT_EQ(strip.text(), "01234567890123456789");
    loop.WaitMs(400);
    EXPECT_FALSE(strip.visible());
}

TEST_F(MessageStripFixture, KeptMessageStaysUntilClickedOrHidden) {
    strip.ShowTextMessage("Hello", true, true);
    loop.WaitMs(60000);
    EXPECT_TRUE(strip.visible());
    LabelControl().events.click(LabelControl());
    EXPECT_FALSE(strip.visible());

    strip.ShowTextMessage("Hello", true, true);
    strip.ShowTextMessage("[HIDE]", true, false);
    EXPECT_FALSE(strip.visible());
    EXPECT_EQ(strip.text(), "Hello");  // nothing new was shown
}

TEST_F(MessageStripFixture, OutsideTheWindowEvenHideIsAMessageBox) {
    strip.ShowTextMessage("[Hide]", false, false);
    ASSERT_EQ(test.dialogs.shown().size(), 1u);
    const platform::MessageBoxRequest& box = test.dialogs.shown()[0].request;
    EXPECT_EQ(box.title, "The Game");
    EXPECT_EQ(box.text, "[Hide]");
    EXPECT_EQ(box.icon, platform::MessageIcon::Information);
    EXPECT_FALSE(strip.visible());
}

TEST_F(MessageStripFixture, MouseOverTheStripSendsTheInventoryAway) {
    strip.ShowTextMessage("Hi", true, false);
    StripControl().events.mouseMove(StripControl(), {});
    LabelControl().events.dragOver(LabelControl(), *scene, 0, 0, platform::DragState::Enter);
    EXPECT_EQ(services.hideRequests, 2);
}

}  // namespace
}  // namespace taviro::messages
