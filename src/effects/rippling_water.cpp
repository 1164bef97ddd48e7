// Loading, stepping and switching the rippling water of a frame.
#include "effects/rippling_water.h"

#include <cstring>

#include "platform/game_error.h"

namespace taviro::effects {

RipplingWater::RipplingWater(project::Project& project, GameFlags& flags, platform::TimerQueue& timers,
                             WaterPictures pictures)
    : project_(project),
      flags_(flags),
      clock_(timers.clock()),
      pictures_(std::move(pictures)),
      timer_(timers, [this] { Step(); }) {
    timer_.SetEnabled(false);
    timer_.SetIntervalMs(kStepIntervalMs);
}

void RipplingWater::AddControls(platform::PictureBox& scene) {
    auto& water = scene.Add(std::make_unique<platform::PictureBox>("PicRipplingWater"));
    water.SendToBack();
    water.SetVisible(false);
    PicRipplingWater_ = static_cast<platform::PictureBox*>(&water);
}

int64_t RipplingWater::EffectClockMs() const { return clock_.NowMs() - clockStartMs_; }

bool RipplingWater::LoadWaveEffectIfAny(const std::string& frameName, const std::string& backgroundPath) {
    // 1.
    RipplingWaterActive_ = false;
    settings_ = {};
    // 2. Both files, or no water.
    const std::string base = project_.paths.FramesPath + frameName;
    if (!project_.files().IsFile(base + ".rwe") || !project_.files().IsFile(base + ".rwm")) return false;
    try {
        // 3. The area must lie inside the frame.
        const platform::Rect& frame = PicRipplingWater_->parent()->bounds();
        std::optional<std::string> text = project_.ReadTextFile(base + ".rwe");
        if (!text) throw errors::FileNotFound();
        WaterSettings settings = ReadWaterSettings(std::move(*text), {frame.width, frame.height});
        const platform::Rect& area = settings.area;
        // 4-5. The still background under the area, and the mask of the area's size.
        const std::string maskPath = project_.LocateProjectFile(base + ".rwm");
        std::optional<platform::Point> maskSize = pictures_.size(maskPath);
        if (!maskSize || maskSize->x != area.width || maskSize->y != area.height)
            throw GameError(481, "Invalid picture");
        platform::Canvas mask(area.width, area.height);
        pictures_.copy(mask, maskPath, {0, 0, area.width, area.height});
        PicOriginal_.emplace(area.width, area.height);
        pictures_.copy(*PicOriginal_, backgroundPath, area);
        mask_ = WaterMask(mask.view());
        settings_ = settings;
        PicRipplingWater_->SetBounds(area);
        platform::Canvas& water = PicRipplingWater_->canvas();
        std::memcpy(water.data(), PicOriginal_->data(),
                    static_cast<size_t>(area.width) * static_cast<size_t>(area.height) * sizeof(uint32_t));
        // 6. The clock starts again; a first step shows at once.
        clockStartMs_ = clock_.NowMs();
        RipplingWaterActive_ = true;
        Step();
        // 7.
        PicRipplingWater_->SetVisible(true);
        return true;
    } catch (const std::exception&) {
        RipplingWaterActive_ = false;
        settings_ = {};
        PicOriginal_.reset();
        PicRipplingWater_->SetVisible(false);
        project_.reports().ShowErrorReport(" Error initializing the Rippling Water effect. ");
        return false;
    }
}

void RipplingWater::StartRipplingWater() {
    if (!RipplingWaterActive_) return;
    timer_.SetIntervalMs(kStepIntervalMs);
    timer_.SetEnabled(true);
}

void RipplingWater::StopRipplingWater() {
    timer_.SetEnabled(false);
    RipplingWaterActive_ = false;
    settings_ = {};
    PicOriginal_.reset();
    if (PicRipplingWater_) PicRipplingWater_->SetVisible(false);
}

void RipplingWater::EffectsSwitched(bool effectsOn, const std::string& frameName,
                                    const std::string& backgroundPath) {
    // 2. Off: the water goes at once. A step never lets events run, so none can be half drawn here.
    if (!effectsOn) return StopRipplingWater();
    // 3. On: the current frame's water comes back, its clock restarted.
    if (!backgroundPath.empty() && LoadWaveEffectIfAny(frameName, backgroundPath)) StartRipplingWater();
}

void RipplingWater::Step() {
    // 1.
    if (flags_.GameStopping) return timer_.SetEnabled(false);
    // 3.
    if (!RipplingWaterActive_ || !PicOriginal_) return timer_.SetEnabled(false);
    // 2. The wave from the still background, kept only where the mask marks water.
    try {
        const float phase = WavePhase(EffectClockMs(), settings_.WaveSpeed, settings_.WaveDirection);
        DrawWaterStep(PicOriginal_->view(), mask_, settings_.WaveAmplitude, phase,
                      PicRipplingWater_->canvas());
    } catch (const std::exception&) {
        timer_.SetEnabled(false);
        project_.reports().ShowErrorReport(" Error rendering rippling water. ");
    }
}

}  // namespace taviro::effects
