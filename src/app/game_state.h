// The game's keys of the automation state dump: the frame, the history, the variables, the
// removed hotspots, the hotspots and texts on the frame, the inventory, the message strip, the
// dialogue, the timers and the sound players.
#pragma once

#include "app/game.h"
#include "platform/automation/state_dump.h"

namespace taviro::app {

// Registers the game's keys; the game must outlive the registration (WithdrawGameState removes it).
void ContributeGameState(platform::StateDump& dump, Game& game, const platform::Form& form);
void WithdrawGameState(platform::StateDump& dump);
// The keys "video" (the one-time and looping video players) and "animations" (the animated pictures).
void ContributeVideoState(platform::StateDump& dump, Game& game);

}  // namespace taviro::app
