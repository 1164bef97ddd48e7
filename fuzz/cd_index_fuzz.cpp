// Fuzz target: the CD index reader, and look-ups in what it read, on any bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/game_error.h"
#include "project/cd_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        taviro::project::CdIndex index =
            taviro::project::ReadCdIndex(std::string(reinterpret_cast<const char*>(data), size));
        for (const taviro::project::CdIndexRecord& record : index.records) {
            // Every record kept names a file of one of the CDs.
            if (record.name.empty() || record.cdNumber < 1 || record.cdNumber > index.cdCount)
                __builtin_trap();
            index.Find(record.name);
        }
    } catch (const taviro::GameError&) {
        // Read errors are the expected outcome of damaged files.
    }
    return 0;
}
