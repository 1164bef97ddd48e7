// The requests a script leaves on the Action object, which the code that ran the script carries
// out when the script has returned: the frame to open, its transition, quitting, load and save.
#pragma once

#include <cstdint>
#include <string>

namespace taviro::logic {

struct ActionRequests {
    std::string sFrameToLoad;  // "" = none; "last visited frame" goes back
    int16_t iHotspotNumber = 0;
    double dTransDuration = 0;  // seconds; 0 = without transition
    int16_t iTransitionNumber = 1;
    bool bStopGame = false;
    bool bPopupLoadGame = false;
    bool bPopupSaveGame = false;

    // Clears the requests; the hotspot number stays.
    void ResetModule() {
        sFrameToLoad.clear();
        dTransDuration = 0;
        iTransitionNumber = 1;
        bStopGame = false;
        bPopupLoadGame = false;
        bPopupSaveGame = false;
    }
};

}  // namespace taviro::logic
