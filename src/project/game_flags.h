// The few flags the whole game shares; owned by the program, read and set by every subsystem.
#pragma once

namespace taviro {

struct GameFlags {
    bool GameStopping = false;          // the game is being stopped: loading stages and reports are skipped
    bool StopMovie = false;             // set by every click and key press; ends the wait for a video
    bool bInterruptTransition = false;  // set by clicks and actions; ends a running transition
};

}  // namespace taviro
