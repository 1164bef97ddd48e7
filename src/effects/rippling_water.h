// The rippling water of a frame: an area of the background that ripples where its mask says, redrawn
// every 30 milliseconds of the game clock.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "effects/water_picture.h"
#include "platform/controls/control_kinds.h"
#include "platform/events/timer.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::effects {

// What the water asks of the game window's pictures.
struct WaterPictures {
    // Copies an area of a game picture into a canvas of the area's size; throws GameError when the
    // picture cannot be loaded.
    std::function<void(platform::Canvas& into, const std::string& picturePath, const platform::Rect& area)>
        copy;
    // The size of a game picture; nullopt when it cannot be loaded.
    std::function<std::optional<platform::Point>(const std::string& picturePath)> size;
};

class RipplingWater {
public:
    static constexpr int64_t kStepIntervalMs = 30;

    RipplingWater(project::Project& project, GameFlags& flags, platform::TimerQueue& timers,
                  WaterPictures pictures);

    // Adds `PicRipplingWater` to the frame's picture box, hidden, behind the frame's other boxes; like
    // every box it lies above the frame's pictures and texts, as the original's water did.
    void AddControls(platform::PictureBox& scene);

    // Loads the water of a frame whose background is the picture `backgroundPath`; true when the frame
    // has water. A frame without both files has none; a damaged one gets the report and none.
    bool LoadWaveEffectIfAny(const std::string& frameName, const std::string& backgroundPath);
    // Starts the 30-millisecond steps of loaded water.
    void StartRipplingWater();
    // The water goes: the steps stop and the picture hides.
    void StopRipplingWater();
    // Effects switched on or off: off stops and hides the water; on loads it again for the frame
    // (`backgroundPath` empty when the frame's background cannot have water) and starts it.
    void EffectsSwitched(bool effectsOn, const std::string& frameName, const std::string& backgroundPath);
    // One step of the wave at the effect clock's reading (the timer's event).
    void Step();

    bool RipplingWaterActive() const { return RipplingWaterActive_; }
    const WaterSettings& settings() const { return settings_; }
    bool running() const { return timer_.enabled(); }
    platform::PictureBox& picture() { return *PicRipplingWater_; }

private:
    // The effect clock in milliseconds since it was last restarted.
    int64_t EffectClockMs() const;

    project::Project& project_;
    GameFlags& flags_;
    const platform::Clock& clock_;
    WaterPictures pictures_;
    platform::Timer timer_;  // TimerRipplingWater
    platform::PictureBox* PicRipplingWater_ = nullptr;
    std::optional<platform::Canvas> PicOriginal_;  // the still background under the area
    std::vector<uint8_t> mask_;                    // from the ".rwm" picture: 1 where water
    WaterSettings settings_;
    bool RipplingWaterActive_ = false;
    int64_t clockStartMs_ = 0;
};

}  // namespace taviro::effects
