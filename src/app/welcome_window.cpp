// The start-up sequence, the scheme and the buttons and links of the welcome window.
#include "app/welcome_window.h"

#include "app/welcome_texts.h"
#include "platform/files/file_system.h"
#include "platform/game_error.h"
#include "platform/input/virtual_keys.h"
#include "project/field_value.h"

namespace taviro::app {
namespace {

constexpr int T = WelcomeWindow::kTwipsPerPixel;
constexpr int kWindowWidth = 4800;
constexpr int kFirstLineTop = 3000;
constexpr int kLineHeight = 255;
constexpr int kButtonTop = 1200;
constexpr int kButtonStep = 360;
constexpr int kExitTopWithoutLoad = 1560;
constexpr char kImages[] = "Img";
constexpr char kButtons[] = "lblButton";
constexpr char kLogos[] = "imgLogos";

// The four logos: a dark and a light emblem, each in the two placements' sizes.
struct LogoLook {
    platform::ColorBgr back;
    platform::ColorBgr fore;
};
constexpr LogoLook kLogoLooks[4] = {
    {0x803000, platform::kWhite}, {0xF0E0D0, 0x803000}, {0x803000, platform::kWhite}, {0xF0E0D0, 0x803000}};
// The two fixed places of the logo (twips): left of the buttons, or right of them.
constexpr platform::Point kLogoPlaces[2] = {{360, 1200}, {3480, 1200}};
constexpr int kLogoSide = 960;

bool SameText(const std::string& a, const std::string& b) {
    return platform::FoldCase(a) == platform::FoldCase(b);
}

}  // namespace

WelcomeWindow::WelcomeWindow(project::Project& project, platform::TopWindows& windows,
                             platform::TopWindow& window, DisplayModes& modes, WelcomeServices services)
    : project_(project),
      windows_(windows),
      window_(window),
      form_(window.form()),
      modes_(modes),
      services_(std::move(services)) {
    BuildControls();
    window_.onKeyDown = [this](int key, int) {
        if (key == platform::vk::kEscape) Unload();
    };
    window_.onCloseBox = [this] { Unload(); };
    // The background and the information labels drag the window; buttons and links click.
    window_.isDragArea = [this](platform::Point at) {
        platform::Control& under = form_.HitTest(at);
        if (&under == &form_) return true;
        const std::string& name = under.name();
        return under.kind() == platform::ControlKind::Label && name != kButtons && name != "txtEmail" &&
               name != "txtHomepage" && name != "imgLogo";
    };
}

platform::Label& WelcomeWindow::AddLabel(const std::string& name, std::optional<int> index, int left, int top,
                                         int width, int height) {
    auto& label = static_cast<platform::Label&>(form_.Add(std::make_unique<platform::Label>(name, index)));
    label.SetBounds({left / T, top / T, width / T, height / T});
    label.transparent = true;
    return label;
}

platform::Control& WelcomeWindow::Control(const std::string& name, std::optional<int> index) {
    platform::Control* control = index ? form_.Find(name, *index) : form_.Find(name);
    if (!control) throw GameError(340, "Control array element '" + name + "' doesn't exist");
    return *control;
}

platform::Label& WelcomeWindow::Label(const std::string& name, std::optional<int> index) {
    return static_cast<platform::Label&>(Control(name, index));
}

void WelcomeWindow::BuildControls() {
    form_.SetBounds({0, 0, kWindowWidth / T, 3600 / T});
    // The scheme's background and its tiles sit behind everything; Img(3) is its first tile.
    for (int i = 0; i < 4; ++i) {
        auto& image = form_.Add(std::make_unique<platform::ImageControl>(kImages, i));
        image.SetVisible(false);
        if (i < 3) image.events.click = [this, i](platform::Control&) { ClickButton(i); };
    }
    form_.Find(kImages, 3)->SendToBack();

    auto& title = AddLabel("txtAdventureName", std::nullopt, 0, 240, kWindowWidth, 480);
    title.font = {.name = "Arial", .sizePoints = 14, .bold = true};
    title.alignment = 2;
    for (int i = 0; i < 3; ++i) {
        auto& button = AddLabel(kButtons, i, 1440, kButtonTop + kButtonStep * i, 1920, 330);
        button.font = {.name = "Arial", .sizePoints = 10, .bold = true};
        button.alignment = 2;
        button.SetMousePointer(platform::MousePointer::Arrow);
        button.events.click = [this, i](platform::Control&) { ClickButton(i); };
    }
    for (int i = 0; i < 4; ++i) {
        auto& logo = AddLabel(kLogos, i, 0, 0, kLogoSide, kLogoSide);
        logo.caption = "T";
        logo.font = {.name = "Times New Roman", .sizePoints = 36, .bold = true, .italic = i >= 2};
        logo.alignment = 2;
        logo.transparent = false;
        logo.backColor = kLogoLooks[i].back;
        logo.foreColor = kLogoLooks[i].fore;
        logo.SetVisible(false);
    }
    auto& logo = AddLabel("imgLogo", std::nullopt, kLogoPlaces[0].x, kLogoPlaces[0].y, kLogoSide, kLogoSide);
    logo.events.click = [this](platform::Control&) {
        AskThenOpen("Visit the web site of the Taviro adventure game player?", kLogoAddress);
    };

    AddLabel("txtVersion", std::nullopt, 360, 0, 4080, kLineHeight);
    for (const char* name : {"Author", "Email", "Homepage"}) {
        AddLabel(std::string("lbl") + name, std::nullopt, 360, 0, 1320, kLineHeight);
        AddLabel(std::string("txt") + name, std::nullopt, 1680, 0, 2760, kLineHeight);
    }
    for (const char* link : {"txtEmail", "txtHomepage"}) {
        auto& label = Label(link);
        label.font.underline = true;
        label.foreColor = 0x800000;
        label.SetMousePointer(platform::MousePointer::Arrow);
    }
    Label("txtEmail").events.click = [this](platform::Control&) {
        AskThenOpen(EmailQuestion(project_.UITexts, project_.information.authorEmail),
                    "mailto:" + project_.information.authorEmail);
    };
    Label("txtHomepage").events.click = [this](platform::Control&) {
        AskThenOpen(WebSiteQuestion(project_.UITexts, project_.information.webSite),
                    project_.information.webSite);
    };
    auto& check = form_.Add(std::make_unique<platform::CheckBox>("chkResolution"));
    check.SetBounds({360 / T, 0, 225 / T, 225 / T});
    check.SetVisible(false);
    AddLabel("lblResolution", std::nullopt, 660, 0, 3780, kLineHeight).SetVisible(false);
}

void WelcomeWindow::Step(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
        stepFailed_ = true;
    }
}

void WelcomeWindow::Load() {
    const project::ProjectInformation& info = project_.information;
    // 1-5: the twips factor is fixed, InitializeProject and "Path" were done by the program.
    // 6. A project that skips the welcome window starts its game at once.
    if (info.skipWelcome) {
        windows_.Hide(window_);
        ClickButton(0);
        return;
    }
    // 7-8.
    window_.caption = info.ProjectTitle;
    window_.border = false;
    if (!info.ProjectName.empty()) {
        Step([&] {
            auto setting = project_.GetSetting("ChangeResolution");
            static_cast<platform::CheckBox&>(Control("chkResolution")).value =
                !setting || SameText(*setting, "true");
        });
    }
    // 9-10.
    Step([&] { LayOutLines(); });
    // 11-12.
    Step([&] { UseScheme(info.SchemeName); });
    Step([&] {
        Label("lblAuthor").caption = project_.UITexts[4];
        Label("lblEmail").caption = project_.UITexts[5];
        Label("lblHomepage").caption = project_.UITexts[6];
    });
    // 13.
    Step([&] {
        Label("lblResolution").caption = ResolutionText(project_.UITexts[7], info.projectResolution);
    });
    // 14. Without loading, Exit moves up below Start.
    Step([&] {
        if (info.loadingDisabled || Label(kButtons, 1).caption.empty()) {
            Control(kImages, 1).SetVisible(false);
            Control(kButtons, 1).SetVisible(false);
            platform::Control& exit = Control(kButtons, 2);
            exit.Move(exit.bounds().x, kExitTopWithoutLoad / T);
        }
    });
    // 15.
    Step([&] { ChooseLogo(logoStyle_, logoPlacement_); });
    if (stepFailed_) project_.reports().ShowErrorReport(" Error loading project information.");
    Show();
}

bool WelcomeWindow::PlaceLine(platform::Label& value, platform::Label* caption, const std::string& text,
                              int y) {
    bool shown = !text.empty();
    value.caption = text;
    value.SetVisible(shown);
    if (caption) caption->SetVisible(shown);
    if (!shown) return false;
    value.Move(value.bounds().x, y / T);
    if (caption) caption->Move(caption->bounds().x, y / T);
    return true;
}

void WelcomeWindow::LayOutLines() {
    const project::ProjectInformation& info = project_.information;
    int y = kFirstLineTop;
    Label("txtAdventureName").caption = info.ProjectTitle;
    if (PlaceLine(Label("txtVersion"), nullptr, info.versionText, y)) y += kLineHeight;
    if (PlaceLine(Label("txtAuthor"), &Label("lblAuthor"), info.author, y)) y += kLineHeight;
    if (PlaceLine(Label("txtEmail"), &Label("lblEmail"), info.authorEmail, y)) y += kLineHeight;
    if (PlaceLine(Label("txtHomepage"), &Label("lblHomepage"), info.webSite, y)) y += kLineHeight;
    bool offer = info.resolutionOffer == 1 && !modes_.DisplayMatchesProject(info.projectResolution);
    platform::Control& check = Control("chkResolution");
    platform::Control& label = Control("lblResolution");
    check.SetVisible(offer);
    label.SetVisible(offer);
    if (offer) {
        label.Move(label.bounds().x, y / T);
        check.Move(check.bounds().x, (y + 30) / T);
        y += kLineHeight;
    }
    // The window has no border, so its frame adds nothing to the inner height.
    form_.SetBounds({0, 0, kWindowWidth / T, (y + 150) / T});
}

void WelcomeWindow::UseScheme(const std::string& name) {
    std::string folder = project_.paths.SchemesPath + name;
    auto plain = [&] {
        for (int i = 0; i < 3; ++i) {
            Control(kImages, i).SetVisible(false);
            Label(kButtons, i).caption = project_.UITexts[i + 1];
            Control(kButtons, i).SetVisible(true);
        }
    };
    std::string file = folder + "\\Scheme.txt";
    auto text = project_.files().IsFile(file) ? project_.ReadTextFile(file) : std::nullopt;
    if (!text) return plain();
    project::FieldReader reader(std::move(*text));
    std::optional<Scheme> scheme = ReadScheme(reader);
    if (!scheme) return plain();
    ApplySchemeButtons(*scheme, folder);
    TileBackground(folder + "\\" + scheme->background);
    if (scheme->titleColour)
        Label("txtAdventureName").foreColor = static_cast<platform::ColorBgr>(*scheme->titleColour);
    if (scheme->labelColour) {
        for (const char* label : {"lblResolution", "txtVersion", "lblAuthor", "lblEmail", "lblHomepage",
                                  "txtAuthor", "txtEmail", "txtHomepage"})
            Label(label).foreColor = static_cast<platform::ColorBgr>(*scheme->labelColour);
    }
    if (scheme->buttonColour) {
        for (int i = 0; i < 3; ++i)
            Label(kButtons, i).foreColor = static_cast<platform::ColorBgr>(*scheme->buttonColour);
    }
    // The value is given to the label as the original's default property, its caption.
    if (std::string title = project::ToText(scheme->titleValue); !title.empty())
        Label("txtAdventureName").caption = title;
    logoStyle_ = scheme->logoStyle;
    logoPlacement_ = scheme->logoPlacement;
}

void WelcomeWindow::ApplySchemeButtons(const Scheme& scheme, const std::string& folder) {
    for (int i = 0; i < 3; ++i) {
        auto& image = static_cast<platform::ImageControl&>(Control(kImages, i));
        image.picture.clear();
        const std::string name =
            i < static_cast<int>(scheme.buttonPictures.size()) ? scheme.buttonPictures[i] : "";
        if (!name.empty() && !SameText(name, "[none]") && !SameText(name, "[default]")) {
            std::string path = folder + "\\" + name;
            if (auto size = services_.pictureSize ? services_.pictureSize(path) : std::nullopt) {
                image.picture = path;
                // The picture is centred where its text button would be.
                platform::Rect button = Control(kButtons, i).bounds();
                image.SetBounds({button.x + (button.width - size->x) / 2, button.y, size->x, size->y});
            }
        }
        // The text stays with a hidden text button: an empty one still means the button is not offered.
        bool pictured = !image.picture.empty();
        image.SetVisible(pictured);
        Label(kButtons, i).caption = project_.UITexts[i + 1];
        Control(kButtons, i).SetVisible(!pictured);
    }
}

void WelcomeWindow::TileBackground(const std::string& path) {
    auto size = services_.pictureSize ? services_.pictureSize(path) : std::nullopt;
    if (!size || size->x <= 0 || size->y <= 0) return;
    // Img(3) is the first tile; rows and columns of further elements cover the rest of the window.
    const platform::Rect window = form_.bounds();
    int index = 3;
    for (int top = 0; top < window.height; top += size->y) {
        for (int left = 0; left < window.width; left += size->x, ++index) {
            platform::Control* tile = form_.Find(kImages, index);
            if (!tile) tile = &form_.Load(kImages, index);
            auto& image = static_cast<platform::ImageControl&>(*tile);
            image.picture = path;
            image.SetBounds({left, top, size->x, size->y});
            image.SetVisible(true);
            image.events.click = nullptr;
            image.SendToBack();
        }
    }
}

void WelcomeWindow::ChooseLogo(int16_t style, bool placement) {
    int which = (style == 1 ? 1 : 0) + (placement ? 2 : 0);
    const auto& model = Label(kLogos, which);
    auto& logo = Label("imgLogo");
    logo.caption = model.caption;
    logo.font = model.font;
    logo.alignment = model.alignment;
    logo.transparent = false;
    logo.backColor = model.backColor;
    logo.foreColor = model.foreColor;
    logo.Move(kLogoPlaces[placement ? 1 : 0].x / T, kLogoPlaces[placement ? 1 : 0].y / T);
}

void WelcomeWindow::ClickButton(int index) {
    const project::ProjectInformation& info = project_.information;
    switch (index) {
        case 0: {
            auto& check = static_cast<platform::CheckBox&>(Control("chkResolution"));
            if (!info.skipWelcome && info.resolutionOffer == 1 && check.value == 1 && check.visible()) {
                Hide();
                modes_.SwitchToMode(DisplayModes::ModeOfResolution(info.projectResolution));
            }
            if (!info.ProjectName.empty())
                project_.SaveSetting("ChangeResolution", check.value == 1 ? "True" : "False");
            window_.topmost = false;
            if (services_.startGame) services_.startGame();
            break;
        }
        case 1:
            window_.topmost = false;
            if (services_.loadGame) services_.loadGame();
            break;
        case 2: Unload(); break;
        default: break;
    }
}

void WelcomeWindow::AskThenOpen(const std::string& question, const std::string& address) {
    window_.topmost = false;
    platform::MessageBoxRequest request{project_.information.ProjectTitle, question,
                                        platform::MessageIcon::Question, platform::MessageButtons::YesNo};
    if (project_.reports().dialogs().MessageBox(request) == platform::MessageAnswer::Yes) {
        if (services_.openAddress) services_.openAddress(address);
    } else {
        window_.topmost = true;
    }
}

void WelcomeWindow::Show() {
    windows_.Show(window_);
    // Activation makes the window topmost.
    window_.topmost = true;
}

void WelcomeWindow::Hide() { windows_.Hide(window_); }

void WelcomeWindow::Unload() {
    windows_.Hide(window_);
    if (services_.endProgram) services_.endProgram();
}

}  // namespace taviro::app
