// Fuzz target: the field reader under every kind of read, on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/game_error.h"
#include "project/field_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte chooses the order of typed reads, so every reader meets every field shape.
    const uint8_t plan = data[0];
    taviro::project::FieldReader reader(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    for (int step = 0; step < 4096 && !reader.AtEnd(); ++step) {
        try {
            switch ((plan + step) % 10) {
                case 0: reader.ReadString(); break;
                case 1: reader.ReadInteger(); break;
                case 2: reader.ReadLong(); break;
                case 3: reader.ReadDouble(); break;
                case 4: reader.ReadBoolean(); break;
                case 5: reader.ReadVariant(); break;
                case 6:
                    reader.PeekString();
                    reader.Skip();
                    break;
                case 7: reader.SkipRecord(); break;
                case 8: reader.ReadLine(); break;
                default: reader.Skip(2); break;
            }
        } catch (const taviro::GameError&) {
            // Read errors are the expected outcome of bad files; the reader must stay usable.
        }
    }
    return 0;
}
