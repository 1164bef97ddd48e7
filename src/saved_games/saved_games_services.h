// What saving and loading ask of the game: its state to save, and the steps of a load that belong
// to the game window (its reset, its variables and inventory, its scene and its frame).
#pragma once

#include <cstdint>
#include <string>

#include "saved_games/saved_game_file.h"
#include "vbscript/variant.h"

namespace taviro::saved_games {

class SavedGamesServices {
public:
    virtual ~SavedGamesServices() = default;

    // Fields 1-9 and 17-18 of the game in play; the descriptive fields are filled by the save.
    virtual SavedGame CurrentGame() = 0;

    // The load's steps, called in this order. The waits let events run and take game time.
    virtual void WaitWithEvents(int durationMs) = 0;
    // Disables the game window, hides the scene and shows the hourglass.
    virtual void BeginLoading() = 0;
    // The display mode a loaded game asked for, applied before and after the load.
    virtual void ApplyLoadGameDisplayMode() = 0;
    // ResetAll: True from a running game, False for a game window loaded for this load.
    virtual void ResetForLoad() = 0;
    virtual void ChangeVariableValue(const std::string& name, int16_t value) = 0;
    virtual void AddRemovedHotspot(const std::string& frame, int16_t number) = 0;
    virtual void AddPickedObject(const std::string& name) = 0;
    virtual void ClearHistory() = 0;
    virtual void AddToHistory(const std::string& frame) = 0;
    virtual void ChangeVariableVariantValue(const std::string& name, const vbscript::Variant& value) = 0;
    // The resume frame becomes the current frame's name.
    virtual void SetCurrentFrameName(const std::string& frame) = 0;
    virtual void ExecuteOnLoadVBScript() = 0;
    virtual void ShowScene() = 0;
    virtual void OpenFrame(const std::string& frame) = 0;
    // Brings the game window up and hides the menus.
    virtual void ShowGameWindow() = 0;
    // The normal pointer and an enabled window again (also after a failed load).
    virtual void EndLoading() = 0;
};

}  // namespace taviro::saved_games
