// Fuzz target: the ".sav" reader on any bytes, and the writer on whatever it read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "saved_games/saved_game_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    taviro::saved_games::SavedGameReading reading = taviro::saved_games::ReadSavedGame(text);
    // Whatever was read can be saved again and read back without a failure of its own making.
    std::string written = taviro::saved_games::WriteSavedGame(reading.game);
    taviro::saved_games::ReadSavedGame(written);
    return 0;
}
