// The game's side of saving and loading: its state for the file, and the steps of a load that
// touch the window, the scene and the subsystems.
#include "app/game.h"

namespace taviro::app {

saved_games::SavedGame Game::CurrentGame() {
    saved_games::SavedGame saved;
    // A game saved during a dialogue resumes where the "Resume" file says for that dialogue.
    saved.location = dialogue_.running() && !dialogue_.name().empty() ? dialogue_.name() : frame_.name;
    for (const auto& variable : variables_.Variables.members())
        saved.variables.emplace_back(variable->Name, variable->Value);
    for (const auto& removed : variables_.Disappear.members())
        saved.removedHotspots.emplace_back(removed->Name, removed->Value);
    saved.items = inventory_.names();
    saved.history = history_.names();
    saved.variants.emplace();
    for (const auto& variable : variables_.VariablesVariant.members())
        saved.variants->emplace_back(variable->Name, variable->Value);
    return saved;
}

void Game::WaitWithEvents(int durationMs) {
    loop_.DoEvents();
    loop_.WaitMs(durationMs);
}

void Game::BeginLoading() {
    window_.EnableWindow(false);
    if (platform::Control* scene = form_.Find("PictureBox")) scene->SetVisible(false);
    window_.SetScreenPointer(platform::MousePointer::Hourglass, "");
}

void Game::ApplyLoadGameDisplayMode() {
    // Only a game loaded from a running game switches; the welcome window chose the mode before.
    if (!loadingFromWelcome && loadGameDisplayMode_ != 0) window_.SwitchToMode(loadGameDisplayMode_);
}

void Game::ShowScene() {
    if (platform::Control* scene = form_.Find("PictureBox")) scene->SetVisible(true);
}

void Game::ShowGameWindow() {
    if (showWindow) showWindow();
    HideMenus();
}

void Game::EndLoading() {
    window_.SetScreenPointer(std::nullopt, "");
    window_.EnableWindow(true);
    loadingFromWelcome = false;
}

}  // namespace taviro::app
