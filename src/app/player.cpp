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
    services.endProgram = [this] { EndProgram(); };
    platform::TopWindow& window = screen_.loadWindow("welcome", kWelcomeWidth, kWelcomeHeight);
    welcome_ = std::make_unique<WelcomeWindow>(project_, windows_, window, modes_, std::move(services));
    welcome_->Load();
}

void Player::StartGame() {
    if (game_) return;
    try {
        platform::Point size = ProjectFrameSize(project_.information);
        platform::TopWindow& window = screen_.loadWindow("game", size.x, size.y);
        game_ = std::make_unique<GameWindow>(project_, flags_, windows_, window, loop_, modes_,
                                             [this] { UnloadGame(); });
        Game& game = game_->game();
        game.tilePicture = screen_.tilePicture;
        game.openDocument = screen_.openDocument;
        if (screen_.startProgram) game.startProgram = screen_.startProgram;
        game.savePicture = screen_.savePicture;
        game.clipboardText = screen_.clipboardText;
        game.setClipboardText = screen_.setClipboardText;
        ContributeGameState(dump_, game_->game(), window.form());
        welcome_->window().topmost = false;
        game_->game().ResetAll(false);
        welcome_->Hide();
        game_->game().StartNewGame();
        windows_.Show(window);
    } catch (const std::exception&) {
        project_.reports().ShowErrorReport(
            " Error loading the main program window. Try restarting the program.");
    }
}

void Player::UnloadGame() {
    if (!game_) return;
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
