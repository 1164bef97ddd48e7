#include "app/welcome_texts.h"

#include <gtest/gtest.h>

#include "app/scheme.h"
#include "support/test_project.h"

namespace taviro::app {
namespace {

using std::string;
using testing::FieldsLine;

TEST(WelcomeTexts, ResolutionOfferNamesTheProjectResolution) {
    EXPECT_EQ(ResolutionText("Change display resolution to", 0), "Change display resolution to 640x480.");
    EXPECT_EQ(ResolutionText("Change display resolution to", 1), "Change display resolution to 800x600.");
    // A custom text that already names 640x480 is reused.
    EXPECT_EQ(ResolutionText("Switch to 640X480.", 2), "Switch to 1024x768.");
    EXPECT_EQ(ResolutionText("Switch to 640 * 480  ", 2), "Switch to 640 * 480 1024x768.");
    EXPECT_EQ(ResolutionText("Switch to 640 x 480.", 1), "Switch to 800x600.");
    EXPECT_EQ(ResolutionText("", 0), " 640x480.");
}

TEST(WelcomeTexts, LinkQuestions) {
    project::InterfaceTexts texts;
    texts.SetDefaultTexts(true);
    EXPECT_EQ(EmailQuestion(texts, "me@example.org"),
              "Do you want to open the default mail client to send an e-mail to: me@example.org ?");
    EXPECT_EQ(WebSiteQuestion(texts, "www.example.org"),
              "Do you want to visit www.example.org ? (You must be connected to the Internet)");
}

TEST(Scheme, FieldsInOrder) {
    project::FieldReader reader(FieldsLine({0.0, 0.0, 0.0, 3.0, string("start.bmp"), string("[none]"),
                                            string("exit.bmp"), 4.0, string("back.jpg"), 255.0, 65280.0,
                                            16711680.0, 0.0, 0.0, 0.0, string("x"), 0.0, 1.0, true}));
    std::optional<Scheme> scheme = ReadScheme(reader);
    ASSERT_TRUE(scheme);
    EXPECT_EQ(scheme->buttonPictures, (std::vector<string>{"start.bmp", "[none]", "exit.bmp"}));
    EXPECT_EQ(scheme->background, "back.jpg");
    EXPECT_EQ(scheme->titleColour, 255);
    EXPECT_EQ(scheme->labelColour, 65280);
    EXPECT_EQ(scheme->buttonColour, 16711680);
    EXPECT_EQ(scheme->logoStyle, 1);
    EXPECT_TRUE(scheme->logoPlacement);
}

TEST(Scheme, OlderFormatsHaveNoButtonColourAndMayEndEarly) {
    project::FieldReader reader(FieldsLine({0.0, 0.0, 0.0, 1.0, 12.0, 3.0, string("back.jpg"), 1.0, 2.0}));
    std::optional<Scheme> scheme = ReadScheme(reader);
    ASSERT_TRUE(scheme);
    EXPECT_EQ(scheme->buttonPictures, std::vector<string>{"12"});
    EXPECT_FALSE(scheme->buttonColour);
    EXPECT_EQ(scheme->logoStyle, 0);
}

TEST(Scheme, NoButtonsOrFormatZeroIsInvalid) {
    project::FieldReader noButtons(FieldsLine({0.0, 0.0, 0.0, 0.0, string("a.bmp")}));
    EXPECT_FALSE(ReadScheme(noButtons));
    project::FieldReader formatZero(FieldsLine({0.0, 0.0, 0.0, 1.0, string("a.bmp"), 0.0}));
    EXPECT_FALSE(ReadScheme(formatZero));
}

TEST(Scheme, BadFieldsKeepDefaultsAndTruncatedSchemesStayIncomplete) {
    project::FieldReader reader(
        FieldsLine({0.0, 0.0, 0.0, 1.0, string("a.bmp"), 4.0, string("b.jpg"), string("red")}));
    std::optional<Scheme> scheme = ReadScheme(reader);
    ASSERT_TRUE(scheme);
    EXPECT_EQ(scheme->background, "b.jpg");
    EXPECT_FALSE(scheme->titleColour);
    EXPECT_FALSE(scheme->labelColour);
}

}  // namespace
}  // namespace taviro::app
