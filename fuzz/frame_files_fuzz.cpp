// Fuzz target: the readers of a frame's files (settings, hotspots, texts, actions) on any bytes.
// The first byte chooses the reader, so one corpus covers them all.
#include <cstddef>
#include <cstdint>
#include <string>

#include "frames/frame_settings.h"
#include "frames/hotspot_record.h"
#include "frames/text_record.h"
#include "logic/action_record.h"
#include "platform/game_error.h"

namespace {

// Takes every effect and does nothing with it.
struct IgnoredEffects : taviro::logic::ActionEffects {
    void ChangeVariable(const std::string&, int16_t) override {}
    void RemoveAfterUse() override {}
    void StopMusic() override {}
    void StopAllSounds() override {}
    void SetFadeDuration(double) override {}
    void SetChannel(int, const taviro::frames::ChannelEntry&) override {}
};

// Reads records until the file ends, as the loaders do; errors end the reading.
template <typename ReadOne>
void ReadAll(taviro::project::FieldReader& reader, ReadOne readOne) {
    for (int record = 0; record < 100000 && !reader.AtEnd(); ++record) readOne();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    taviro::project::FieldReader reader(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    try {
        switch (data[0] % 5) {
            case 0: {
                taviro::frames::FrameSettings settings;
                taviro::frames::ReadFrameSettings(reader, settings);
                break;
            }
            case 1: ReadAll(reader, [&] { taviro::frames::ReadHotspotRecord(reader); }); break;
            case 2: ReadAll(reader, [&] { taviro::frames::ReadTextRecord(reader); }); break;
            case 3: {
                IgnoredEffects effects;
                if (taviro::logic::SeekHotspotAction(reader, 1 + data[0] / 5)) {
                    taviro::logic::ReadActionFields(reader, effects);
                }
                break;
            }
            default: {
                IgnoredEffects effects;
                if (taviro::logic::SeekDroppedItemAction(reader, 2, "Key", [] { return false; })) {
                    taviro::logic::ReadActionFields(reader, effects);
                }
                break;
            }
        }
    } catch (const taviro::GameError&) {
        // Bad files end in a read error, which the loaders report.
    }
    return 0;
}
