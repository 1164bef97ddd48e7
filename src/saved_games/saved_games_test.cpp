// The save, remove and load commands as the player meets them: the folder, the boxes and their
// texts, replacing, the listing, the load's steps and the resume frame.
#include "saved_games/saved_games.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "platform/files/documents_folder.h"
#include "saved_games/resume_file.h"
#include "support/test_project.h"
#include "vbscript/number_text.h"

namespace taviro::saved_games {
namespace {

namespace fs = std::filesystem;
using platform::MessageAnswer;
using platform::SavedGameWindow;

struct FakeWindows : platform::SavedGameWindows {
    void Show(SavedGameWindow& window) override { shown = &window; }
    void Close(SavedGameWindow&) override { shown = nullptr; }
    SavedGameWindow* shown = nullptr;
};

// A game that says what it was asked, in order.
struct RecordingGame : SavedGamesServices {
    SavedGame CurrentGame() override { return state; }
    void WaitWithEvents(int durationMs) override { steps.push_back("wait " + std::to_string(durationMs)); }
    void BeginLoading() override { steps.push_back("begin"); }
    void ApplyLoadGameDisplayMode() override { steps.push_back("display mode"); }
    void ResetForLoad() override { steps.push_back("reset"); }
    void ChangeVariableValue(const std::string& name, int16_t value) override {
        steps.push_back("variable " + name + "=" + std::to_string(value));
    }
    void AddRemovedHotspot(const std::string& frame, int16_t number) override {
        steps.push_back("removed " + frame + " " + std::to_string(number));
    }
    void AddPickedObject(const std::string& name) override { steps.push_back("item " + name); }
    void ClearHistory() override { steps.push_back("clear history"); }
    void AddToHistory(const std::string& frame) override { steps.push_back("history " + frame); }
    void ChangeVariableVariantValue(const std::string& name, const vbscript::Variant& value) override {
        steps.push_back(
            "variant " + name + "=" +
            (value.IsString() ? vbscript::ToUtf8(value.string()) : std::to_string(value.integer())));
    }
    void SetCurrentFrameName(const std::string& frame) override { steps.push_back("current " + frame); }
    void ExecuteOnLoadVBScript() override { steps.push_back("start-up script"); }
    void ShowScene() override { steps.push_back("show scene"); }
    void OpenFrame(const std::string& frame) override { steps.push_back("open " + frame); }
    void ShowGameWindow() override { steps.push_back("show window"); }
    void EndLoading() override { steps.push_back("end"); }

    SavedGame state;
    std::vector<std::string> steps;
};

struct SavedGamesFixture : ::testing::Test {
    SavedGamesFixture() {
        test.Write("Config/General", testing::GeneralFile().Text());
        test.Write("Config/Texts", "1\r\n");  // the game wording
        EXPECT_TRUE(test.Initialize());
        saves = Make(documents.path().string());
        game.state.location = "Hall";
        game.state.variables = {{"Door", 1}};
        game.state.items = {"Key"};
        game.state.history = std::vector<std::string>{"Hall"};
        game.state.variants.emplace();
        game.state.variants->emplace_back("Note", vbscript::Variant(u"hi"));
    }
    std::unique_ptr<SavedGames> Make(const std::string& documentsFolder) {
        return std::make_unique<SavedGames>(*test.project, windows, documentsFolder,
                                            [] { return int64_t{0}; });
    }
    fs::path GameFolder() const { return documents.path() / "Savegames" / "Test Game"; }
    std::string Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    const std::vector<testing::RecordingDialogs::Shown>& boxes() { return test.dialogs.shown(); }
    void Press(SavedGameWindow::Button button) { windows.shown->onButton(button); }

    testing::TestProject test;
    testing::TemporaryFolder documents;
    FakeWindows windows;
    RecordingGame game;
    std::unique_ptr<SavedGames> saves;
};

TEST_F(SavedGamesFixture, SavingCreatesTheGamesFolderAndWritesTheFile) {
    bool closed = false;
    saves->ShowSaveWindow(game, [&] { closed = true; });
    ASSERT_TRUE(windows.shown);
    EXPECT_EQ(windows.shown->caption, "Save the current game");
    EXPECT_EQ(windows.shown->okCaption, "SAVE");
    windows.shown->Type("First");
    Press(SavedGameWindow::Button::Ok);
    EXPECT_TRUE(closed);
    EXPECT_FALSE(windows.shown);
    std::string text = Read(GameFolder() / "First.sav");
    EXPECT_TRUE(text.starts_with("\"Hall\"\r\n1\r\n\"Door\",1\r\n0\r\n1\r\n\"Key\"\r\n1\r\n\"Hall\"\r\n"));
    EXPECT_NE(text.find("\"TestGame\"\r\n\"Test Game\"\r\n\"01/01/1970\"\r\n\"Version "
                        "4.7.1\"\r\n1\r\n\"Note\",\"hi\"\r\n"),
              std::string::npos);
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SavedGamesFixture, ForbiddenCharactersAndEmptyNamesAreRefusedWithTheirBoxes) {
    saves->ShowSaveWindow(game, nullptr);
    for (char forbidden : kForbiddenCharacters) {
        windows.shown->name = std::string("a") + forbidden;
        Press(SavedGameWindow::Button::Ok);
    }
    ASSERT_EQ(boxes().size(), kForbiddenCharacters.size());
    EXPECT_EQ(boxes()[0].request.title, "Test Game");
    EXPECT_EQ(boxes()[0].request.text,
              "Please do not use any of the following characters:\n\" \\ / : * ? < > | ,");
    windows.shown->name.clear();
    Press(SavedGameWindow::Button::Ok);
    EXPECT_EQ(boxes().back().request.title, "Save the current game");
    EXPECT_EQ(boxes().back().request.text, "Please enter a name (32 characters max)");
    EXPECT_TRUE(windows.shown) << "the window stays open";
    EXPECT_TRUE(saves->folder().path().ends_with("/Savegames/Test Game/"));
    EXPECT_TRUE(fs::is_empty(GameFolder()));
}

TEST_F(SavedGamesFixture, ReplacingAsksAndCancelLeavesTheOldGame) {
    ASSERT_TRUE(saves->Save("Slot", game));
    std::string old = Read(GameFolder() / "Slot.sav");
    game.state.location = "Garden";
    test.dialogs.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(saves->Save("Slot", game));
    EXPECT_EQ(boxes().back().request.text, "'Slot' already exists. Do you want to replace it?");
    EXPECT_EQ(boxes().back().request.buttons, platform::MessageButtons::OkCancel);
    EXPECT_EQ(Read(GameFolder() / "Slot.sav"), old);
    test.dialogs.QueueAnswer(MessageAnswer::Ok);
    EXPECT_TRUE(saves->Save("Slot", game));
    EXPECT_TRUE(Read(GameFolder() / "Slot.sav").starts_with("\"Garden\""));
}

TEST_F(SavedGamesFixture, NameDifferingOnlyInLetterCaseReplacesTheFileUnderItsRealName) {
    ASSERT_TRUE(saves->Save("Castle", game));
    game.state.location = "Tower";
    EXPECT_TRUE(saves->Save("CASTLE", game));
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(GameFolder())) files.push_back(entry.path().filename());
    EXPECT_EQ(files, std::vector<std::string>{"Castle.sav"});
    EXPECT_TRUE(Read(GameFolder() / "Castle.sav").starts_with("\"Tower\""));
}

TEST_F(SavedGamesFixture, ListIsNewestFirstAndDropsLeftoversOfInterruptedSaves) {
    for (const char* name : {"Alpha", "Beta", "Gamma"}) ASSERT_TRUE(saves->Save(name, game));
    auto now = fs::file_time_type::clock::now();
    fs::last_write_time(GameFolder() / "Alpha.sav", now - std::chrono::hours(1));
    fs::last_write_time(GameFolder() / "Beta.sav", now);
    fs::last_write_time(GameFolder() / "Gamma.sav", now - std::chrono::hours(2));
    std::ofstream(GameFolder() / "~saving-Delta.tmp") << "half";
    saves->ShowLoadWindow([this]() -> SavedGamesServices& { return game; }, nullptr);
    EXPECT_EQ(windows.shown->names, (std::vector<std::string>{"Beta", "Alpha", "Gamma"}));
    EXPECT_FALSE(fs::exists(GameFolder() / "~saving-Delta.tmp"));
}

TEST_F(SavedGamesFixture, RemovingAsksForASelectionThenConfirmation) {
    ASSERT_TRUE(saves->Save("Old", game));
    saves->ShowSaveWindow(game, nullptr);
    Press(SavedGameWindow::Button::Remove);
    EXPECT_EQ(boxes().back().request.text, "Please select something.");
    windows.shown->Select(0);
    EXPECT_EQ(windows.shown->name, "Old") << "a click copies the name into the name box";
    test.dialogs.QueueAnswer(MessageAnswer::Cancel);
    Press(SavedGameWindow::Button::Remove);
    EXPECT_EQ(boxes().back().request.text, "Do you really want to remove 'Old'?");
    EXPECT_TRUE(fs::exists(GameFolder() / "Old.sav"));
    windows.shown->Select(0);
    Press(SavedGameWindow::Button::Remove);
    EXPECT_FALSE(fs::exists(GameFolder() / "Old.sav"));
    EXPECT_TRUE(windows.shown->names.empty());
}

TEST_F(SavedGamesFixture, LoadingRunsEveryStepInOrderAndResumesWhereTheResumeFileSays) {
    game.state.location = "Shop";
    game.state.variables = {{"Door", -1}};
    game.state.removedHotspots = {{"Hall", 3}};
    game.state.variants->emplace_back("Box", vbscript::Variant::Nothing());
    ASSERT_TRUE(saves->Save("Dialogue", game));
    test.Write("Config/Resume",
               "1,2,3,4,5,6\r\n\"shop\",\"Market\"\r\n\"Other\",\"Hall\"\r\n\"SHOP\",\"\"\r\n");
    bool loaded = false;
    saves->ShowLoadWindow([this]() -> SavedGamesServices& { return game; },
                          [&](bool done) { loaded = done; });
    windows.shown->Select(0);
    Press(SavedGameWindow::Button::Ok);
    EXPECT_TRUE(loaded);
    EXPECT_FALSE(windows.shown);
    EXPECT_EQ(game.steps, (std::vector<std::string>{"begin",
                                                    "wait 300",
                                                    "display mode",
                                                    "wait 300",
                                                    "reset",
                                                    "wait 500",
                                                    "variable Door=-1",
                                                    "removed Hall 3",
                                                    "item Key",
                                                    "clear history",
                                                    "history Hall",
                                                    "variant Note=hi",
                                                    "current Market",
                                                    "wait 200",
                                                    "start-up script",
                                                    "show scene",
                                                    "wait 200",
                                                    "open Market",
                                                    "wait 300",
                                                    "show window",
                                                    "display mode",
                                                    "wait 300",
                                                    "end"}));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(SavedGamesFixture, LoadWithoutSelectionAsksForOne) {
    saves->ShowLoadWindow([this]() -> SavedGamesServices& { return game; }, nullptr);
    Press(SavedGameWindow::Button::Ok);
    EXPECT_EQ(boxes().back().request.title, "Load a previously saved game");
    EXPECT_EQ(boxes().back().request.text, "Please select something.");
    EXPECT_TRUE(game.steps.empty());
}

TEST_F(SavedGamesFixture, BrokenFileIsReportedAndLeavesTheGameAsFarAsItWasLoaded) {
    fs::create_directories(GameFolder());
    std::ofstream(GameFolder() / "Broken.sav", std::ios::binary)
        << "\"Hall\"\r\n1\r\n\"Door\",1\r\n0\r\n5,\"Key\"\r\n";
    saves->ShowLoadWindow([this]() -> SavedGamesServices& { return game; }, nullptr);
    windows.shown->Select(0);
    Press(SavedGameWindow::Button::Ok);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_EQ(boxes()[0].request.icon, platform::MessageIcon::Critical);
    EXPECT_TRUE(boxes()[0].request.text.ends_with(" Unable to load '" + saves->folder().path() +
                                                  "Broken.sav'.\n\nInput past end of file"));
    std::vector<std::string> expectedTail = {"variable Door=1", "item Key", "show scene", "show window",
                                             "end"};
    ASSERT_GE(game.steps.size(), expectedTail.size());
    EXPECT_EQ(std::vector<std::string>(game.steps.end() - 5, game.steps.end()), expectedTail);
}

TEST_F(SavedGamesFixture, EmptyAndEnormousFilesAreReportedWithoutReadingThemWhole) {
    fs::create_directories(GameFolder());
    std::ofstream(GameFolder() / "Empty.sav");
    std::ofstream(GameFolder() / "Huge.sav");
    fs::resize_file(GameFolder() / "Huge.sav", 100u << 20);  // sparse: no time or disk spent
    saves->Load("Empty", game);
    saves->Load("Huge", game);
    ASSERT_EQ(boxes().size(), 2u);
    EXPECT_TRUE(boxes()[0].request.text.ends_with("Empty.sav'.\n\nInput past end of file"));
    EXPECT_TRUE(boxes()[1].request.text.ends_with("Huge.sav'.\n\nOut of memory"));
    EXPECT_EQ(std::count(game.steps.begin(), game.steps.end(), "open Hall"), 0);
}

TEST_F(SavedGamesFixture, DocumentsFolderThatIsAFileGivesTheSaveReport) {
    test.folder.Write("NotAFolder", "x");
    auto blocked = Make((test.folder.path() / "NotAFolder").string());
    EXPECT_FALSE(blocked->Save("Slot", game));
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].request.text.find(" Unable to save '" + blocked->folder().path() +
                                           "Slot.sav'.\nVerify that this file is not Read-Only"),
              std::string::npos);
}

TEST_F(SavedGamesFixture, WithoutDocumentsFolderGamesGoToTheProjectFolder) {
    auto local = Make("");
    EXPECT_EQ(local->folder().path(), test.project->paths.ProjectPath);
    ASSERT_TRUE(local->Save("Here", game));
    EXPECT_TRUE(fs::exists(test.folder.path() / "Here.sav"));
    // A documents folder without the game's folder lists the project folder's games.
    saves->ShowLoadWindow([this]() -> SavedGamesServices& { return game; }, nullptr);
    EXPECT_EQ(windows.shown->names, std::vector<std::string>{"Here"});
}

TEST_F(SavedGamesFixture, NameBoxTakesAtMost32CharactersOfTheCodePage) {
    saves->ShowSaveWindow(game, nullptr);
    windows.shown->name.clear();
    windows.shown->Type("Caf\xC3\xA9 \xE2\x98\x83 night");  // the snowman is not in code page 1252
    EXPECT_EQ(windows.shown->name, "Caf\xC3\xA9  night");
    windows.shown->Type(std::string(40, 'x'));
    EXPECT_EQ(platform::CharacterCount(windows.shown->name), 32u);
}

TEST_F(SavedGamesFixture, ArrowsMoveThroughTheListAndButtonsAnswerToTheirCaptions) {
    for (const char* name : {"One", "Two"}) ASSERT_TRUE(saves->Save(name, game));
    saves->ShowSaveWindow(game, nullptr);
    SavedGameWindow& window = *windows.shown;
    window.MoveSelection(1);
    EXPECT_EQ(window.name, window.names[0]);
    window.MoveSelection(1);
    window.MoveSelection(1);  // stays on the last entry
    EXPECT_EQ(window.selected, 1);
    EXPECT_EQ(window.name, window.names[1]);
    window.EraseLastCharacter();
    EXPECT_EQ(window.name, window.names[1].substr(0, 2));
    SavedGameWindow::Button button;
    ASSERT_TRUE(window.FindButton("remove selected", button));
    EXPECT_EQ(button, SavedGameWindow::Button::Remove);
    EXPECT_FALSE(window.FindButton("LOAD", button));
    Press(SavedGameWindow::Button::Cancel);
    saves->ShowLoadWindow([this]() -> SavedGamesServices& { return game; }, nullptr);
    EXPECT_FALSE(windows.shown->FindButton("Remove Selected", button)) << "the load window has no Remove";
    const std::string before = windows.shown->name;
    windows.shown->Type("typed");
    EXPECT_EQ(windows.shown->name, before) << "typing reaches no name box in the load window";
}

TEST(ResumeFile, LastMatchingPairWinsIgnoringCase) {
    std::string resume =
        "\"a\",\"b\",1,2,3,4\r\n\"Shop\",\"Market\"\r\n\"SHOP\",\"Square\"\r\n\"shop\",\"\"\r\n";
    EXPECT_EQ(GetResumeLocation("shop", resume), "Square");
    EXPECT_EQ(GetResumeLocation("Hall", resume), "Hall");
    EXPECT_EQ(GetResumeLocation("Shop", std::nullopt), "Shop");
    EXPECT_EQ(GetResumeLocation("Shop", "1,2,3\r\n"), "Shop") << "a file that breaks early";
}

TEST(DocumentsFolder, VariableThenUserDirsThenHome) {
    testing::TemporaryFolder home;
    std::map<std::string, std::string> environment{{"HOME", home.path().string()}};
    auto lookup = [&](const char* name) -> std::optional<std::string> {
        auto found = environment.find(name);
        if (found == environment.end()) return std::nullopt;
        return found->second;
    };
    EXPECT_EQ(platform::DocumentsFolder(lookup), home.path().string() + "/Documents");
    home.Write(".config/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n");
    EXPECT_EQ(platform::DocumentsFolder(lookup), home.path().string() + "/Papers");
    environment["XDG_CONFIG_HOME"] = (home.path() / "elsewhere").string();
    EXPECT_EQ(platform::DocumentsFolder(lookup), home.path().string() + "/Documents");
    environment["XDG_DOCUMENTS_DIR"] = "/srv/docs/";
    EXPECT_EQ(platform::DocumentsFolder(lookup), "/srv/docs");
}

}  // namespace
}  // namespace taviro::saved_games
