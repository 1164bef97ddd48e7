// The animated pictures of hotspots: for each, a box `AniGifBox`(i) on the frame surface at the
// hotspot's position, holding the animated picture `AniGif`(i) at its own size. The box takes the
// mouse for its hotspot. Frames advance on the game clock at a speed where 50 is the file's own.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/controls/form.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::frames {

class AnimatedPictures {
public:
    // The speed of a picture shown at the delays its file gives; 0 or less also means this.
    static constexpr double kNormalSpeed = 50;

    AnimatedPictures(project::Project& project, GameFlags& flags, platform::Form& form,
                     const platform::Clock& clock);

    // Makes the template elements on the frame surface, over what it holds so far.
    void AddControls(platform::Control& scene);
    // The natural size of a picture file, nullopt when it cannot be loaded; set by the program.
    std::function<std::optional<platform::Point>(const std::string& path)> pictureSize;
    // The mouse and drag events of the boxes and pictures, by hotspot; set by the hotspots' owner.
    std::function<void(int hotspot, platform::Control& box, const platform::MouseEvent& event)> mouseDown;
    std::function<void(int hotspot)> mouseMove;
    std::function<void(int hotspot)> dragOver;
    std::function<void(int hotspot, platform::Control& source)> dragDrop;

    // Creates the box and picture of a hotspot at a position in pixels and starts the animation;
    // nothing for an empty file or an index of 0 or less.
    void AniGifNewWithIndex(int index, const std::string& file, double speed, int left, int top);
    // Loads a picture into an existing pair, or removes the pair for an empty file. Reports a failure.
    void AniGifUpdate(int index, const std::string& file, double speed);
    // Shows or hides the box of a hotspot.
    void Show(int index, bool visible);
    // Unloads every pair.
    void RemoveAll();

    // What exists, for the state dump.
    struct Entry {
        int hotspot = 0;
        std::string file;
        double speed = 0;
        bool visible = false;
        platform::Rect bounds;  // of the box
    };
    std::vector<Entry> Entries() const;

private:
    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    const platform::Clock& clock_;
    std::vector<std::pair<int, double>> speeds_;  // the speed given to each pair, by hotspot
};

}  // namespace taviro::frames
