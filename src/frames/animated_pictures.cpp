// Boxes and pictures are elements of control arrays, loaded beside their template element 0.
#include "frames/animated_pictures.h"

#include <algorithm>

#include "platform/controls/control_kinds.h"
#include "platform/game_error.h"

namespace taviro::frames {
namespace {

constexpr char kBox[] = "AniGifBox";
constexpr char kPicture[] = "AniGif";

}  // namespace

AnimatedPictures::AnimatedPictures(project::Project& project, GameFlags& flags, platform::Form& form,
                                   const platform::Clock& clock)
    : project_(project), flags_(flags), form_(form), clock_(clock) {}

void AnimatedPictures::AddControls(platform::Control& scene) {
    auto& box = scene.Add(std::make_unique<platform::Container>(kBox, 0));
    box.SetVisible(false);
    box.Add(std::make_unique<platform::ImageControl>(kPicture, 0));
}

void AnimatedPictures::AniGifNewWithIndex(int index, const std::string& file, double speed, int left,
                                          int top) {
    if (file.empty() || index <= 0) return;
    if (form_.Find(kBox, index)) RemoveAll();
    platform::Control& box = form_.Load(kBox, index);
    platform::Control& picture = form_.Load(kPicture, index);
    // The picture goes into its own box.
    std::unique_ptr<platform::Control> moved = picture.parent()->Remove(picture);
    platform::Control& inBox = box.Add(std::move(moved));
    box.Move(left, top);
    box.events.mouseDown = [this, index](platform::Control& control, const platform::MouseEvent& event) {
        if (mouseDown) mouseDown(index, control, event);
    };
    box.events.mouseMove = [this, index](platform::Control&, const platform::MouseEvent&) {
        if (mouseMove) mouseMove(index);
    };
    auto over = [this, index](platform::Control&, platform::Control&, int, int, platform::DragState) {
        if (dragOver) dragOver(index);
    };
    box.events.dragOver = over;
    inBox.events.dragOver = over;
    auto drop = [this, index](platform::Control&, platform::Control& source, int, int) {
        if (dragDrop) dragDrop(index, source);
    };
    box.events.dragDrop = drop;
    inBox.events.dragDrop = drop;
    // The picture passes the mouse on to its box, which acts for the hotspot.
    inBox.SetEnabled(false);
    AniGifUpdate(index, file, speed);
}

void AnimatedPictures::AniGifUpdate(int index, const std::string& file, double speed) {
    if (flags_.GameStopping) return;
    auto* box = form_.Find(kBox, index);
    auto* picture = dynamic_cast<platform::ImageControl*>(form_.Find(kPicture, index));
    if (!box || !picture) return;
    // 1. No file: the pair goes.
    if (file.empty()) {
        form_.Unload(kPicture, index);
        form_.Unload(kBox, index);
        std::erase_if(speeds_, [index](const auto& entry) { return entry.first == index; });
        return;
    }
    // 2. The picture at its own size, animated from now on; the box fits it.
    if (!project_.files().Exists(file)) return;
    // Without pictures (a game with no screen) the box stays empty, which is no failure.
    if (!pictureSize) return;
    std::optional<platform::Point> size = pictureSize(file);
    if (!size) {
        // 4. One report; the hotspot stays usable.
        project_.reports().ShowErrorReport(" Unable to load '" + file + "'.");
        return;
    }
    const double given = speed > 0 ? speed : kNormalSpeed;
    picture->picture = file;
    picture->animationStartMs = clock_.NowMs();
    picture->animationRate = given / kNormalSpeed;
    picture->SetBounds({0, 0, size->x, size->y});
    picture->SetVisible(true);
    box->SetBounds({box->bounds().x, box->bounds().y, size->x, size->y});
    std::erase_if(speeds_, [index](const auto& entry) { return entry.first == index; });
    speeds_.emplace_back(index, given);
}

void AnimatedPictures::Show(int index, bool visible) {
    if (auto* box = form_.Find(kBox, index)) box->SetVisible(visible);
}

void AnimatedPictures::RemoveAll() {
    for (platform::Control* picture : form_.Elements(kPicture))
        if (picture->loadedAtRunTime()) form_.Unload(kPicture, *picture->index());
    for (platform::Control* box : form_.Elements(kBox))
        if (box->loadedAtRunTime()) form_.Unload(kBox, *box->index());
    speeds_.clear();
}

std::vector<AnimatedPictures::Entry> AnimatedPictures::Entries() const {
    std::vector<Entry> entries;
    for (platform::Control* box : form_.Elements(kBox)) {
        if (!box->loadedAtRunTime()) continue;
        const int index = *box->index();
        Entry entry{index, {}, 0, box->visible(), box->bounds()};
        if (auto* picture = dynamic_cast<platform::ImageControl*>(form_.Find(kPicture, index)))
            entry.file = picture->picture;
        for (const auto& [hotspot, speed] : speeds_)
            if (hotspot == index) entry.speed = speed;
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace taviro::frames
