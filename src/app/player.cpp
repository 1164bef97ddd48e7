#include "app/player.h"

#include "app/game_state.h"
#include "platform/game_error.h"

namespace taviro::app {
namespace {

constexpr int kWelcomeWidth = 320;
constexpr int kWelcomeHeight = 240;

}  // namespace

Player::Player(project::Project& project, GameFlags& flags, platform::TopWindows& windows,
               platform::EventLoop& loop, platform::StateDump& dump, DisplayModes& modes,
               ScreenServices screen)
    : project_(project),
      flags_(flags),
      windows_(windows),
      loop_(loop),
      dump_(dump),
      modes_(modes),
      screen_(std::move(screen)) {
    // The last line of defence: a failure no operation caught gets the standard report, and play goes on.
    loop_.SetFailureHandler([this](const std::exception& failure) {
        project_.reports().ShowErrorReport(" " + AsGameError(failure).description());
    });
}

Player::~Player() {
    loop_.SetFailureHandler({});
    if (game_) WithdrawGameState(dump_);
}

void Player::Start() {
    WelcomeServices services;
    services.pictureSize = screen_.pictureSize;
    services.openAddress = screen_.openAddress;
    services.startGame = [this] { StartGame(); };
    if (screen_.savedGameWindows) {
        savedGames_ = std::make_unique<saved_games::SavedGames>(
            project_, *screen_.savedGameWindows, screen_.documentsFolder,
            [this] { return loop_.clock().LocalTimeMs(); });
        services.loadGame = [this] { LoadGameFromWelcome(); };
    }
    services.endProgram = [this] { EndProgram(); };
    platform::TopWindow& window = screen_.loadWindow("welcome", kWelcomeWidth, kWelcomeHeight);
    welcome_ = std::make_unique<WelcomeWindow>(project_, windows_, window, modes_, std::move(services));
    welcome_->Load();
}

void Player::LoadGameWindow() {
    platform::Point size = ProjectFrameSize(project_.information);
    platform::TopWindow& window = screen_.loadWindow("game", size.x, size.y);
    game_ = std::make_unique<GameWindow>(
        project_, flags_, windows_, window, loop_, modes_, [this] { UnloadGame(); }, screen_.audio);
    Game& game = game_->game();
    game_->togglePlayerSettings = screen_.togglePlayerSettings;
    game_->takeScreenshot = screen_.takeScreenshot;
    game.tilePicture = screen_.tilePicture;
    game.animations().pictureSize = screen_.pictureSize;
    game.frames().frameShown = screen_.frameShown;
    game.openDocument = screen_.openDocument;
    if (screen_.startProgram) game.startProgram = screen_.startProgram;
    game.savePicture = screen_.savePicture;
    game.captureControl = screen_.captureControl;
    game.copyPicture = screen_.copyPicture;
    game.pictureSize = screen_.pictureSize;
    game.clipboardText = screen_.clipboardText;
    game.setClipboardText = screen_.setClipboardText;
    game.showWindow = [this, &window] {
        welcome_->Hide();
        windows_.Show(window);
    };
    if (savedGames_) {
        game.scripts().savedGamesFolder = savedGames_->folder().path();
        game.saveGameWindow = [this](std::function<void()> closed) {
            savedGames_->ShowSaveWindow(game_->game().savedGames(), std::move(closed));
        };
        game.loadGameWindow = [this](std::function<void(bool loaded)> closed) {
            savedGames_->ShowLoadWindow(
                [this]() -> saved_games::SavedGamesServices& { return game_->game().savedGames(); },
                std::move(closed));
        };
    }
    ContributeGameState(dump_, game, window.form());
}

void Player::StartGame() {
    if (game_) return;
    try {
        LoadGameWindow();
        welcome_->window().topmost = false;
        game_->game().ResetAll(false);
        welcome_->Hide();
        // Shown before the initial frame opens, so that a cut scene the frame plays is seen.
        windows_.Show(game_->window());
        game_->game().StartNewGame();
    } catch (const std::exception&) {
        project_.reports().ShowErrorReport(
            " Error loading the main program window. Try restarting the program.");
    }
}

void Player::LoadGameFromWelcome() {
    if (game_) return;
    welcome_->window().topmost = false;
    savedGames_->ShowLoadWindow(
        [this]() -> saved_games::SavedGamesServices& {
            // The game window is loaded first, then reset as for a new game, and the game loaded into it.
            if (!game_) LoadGameWindow();
            game_->game().loadingFromWelcome = true;
            return game_->game().savedGames();
        },
        [this](bool loaded) {
            if (!loaded) welcome_->window().topmost = true;
        });
}

void Player::UnloadGame() {
    if (!game_) return;
    if (savedGames_) savedGames_->Dismiss();
    game_->StopForUnload();
    WithdrawGameState(dump_);
    platform::TopWindow& window = game_->window();
    game_.reset();
    windows_.Unload(window);
    if (welcome_->skipped()) {
        EndProgram();
    } else {
        welcome_->Show();
    }
}

void Player::EndProgram() { loop_.RequestQuit(); }

}  // namespace taviro::app
