// Loading frame texts.
#include "frames/frame_texts.h"

#include "frames/frame_files.h"
#include "frames/text_record.h"
#include "platform/controls/control_kinds.h"
#include "platform/game_error.h"

namespace taviro::frames {
namespace {

constexpr char kText[] = "Text";

}  // namespace

FrameTexts::FrameTexts(project::Project& project, GameFlags& flags, platform::Form& form, CurrentFrame& frame,
                       HotspotServices& services)
    : project_(project), flags_(flags), form_(form), frame_(frame), services_(services) {}

void FrameTexts::LoadTexts() {
    // 1. The merged file when it exists; no file, no texts.
    std::optional<std::string> text =
        project_.ReadTextFile(MergedOrPlainFile(project_, frame_.name, ".mr1", ".fm1"));
    if (!text) return;
    frame_.MergedTextIndex = 1;
    project::FieldReader reader(std::move(*text));
    int number = 0;
    try {
        // 2-7. One label per record; a field that cannot be read keeps its default.
        while (!reader.AtEnd()) {
            if (flags_.GameStopping) return;
            ++number;
            TextRecord record = ReadTextRecord(reader);
            int index = 1;
            for (platform::Control* element : form_.Elements(kText))
                index = std::max(index, *element->index() + 1);
            if (record.mergedMarker == 1 && number != 1 && frame_.MergedTextIndex == 1) {
                frame_.MergedTextIndex = static_cast<int16_t>(index);
            }
            auto& label = static_cast<platform::Label&>(form_.Load(kText, index));
            label.autoSize = true;
            label.caption = record.caption;
            label.Move(static_cast<int>(record.leftUnits / 15), static_cast<int>(record.topUnits / 15));
            label.font = TextFont(record);
            label.foreColor = static_cast<platform::ColorBgr>(record.colour) & 0xFFFFFF;
            label.Fit();
            AttachBackgroundEvents(label);
            label.SetVisible(true);
        }
    } catch (const std::exception&) {
        // 8. Loading ends quietly on a control that cannot be made.
    }
}

void FrameTexts::ResetFrameTexts() { UnloadRunTimeElements(form_, kText); }

void FrameTexts::BackgroundMouseDown(int button) {
    if (!project_.information.onlyEscSkipsWait) flags_.StopMovie = true;
    flags_.bInterruptTransition = true;
    if (!services_.IsOneTimeVideoPlaying()) services_.HandleShowHideMenus(button);
}

void FrameTexts::AttachBackgroundEvents(platform::Control& control) {
    control.events.mouseDown = [this](platform::Control&, const platform::MouseEvent& event) {
        BackgroundMouseDown(event.button);
    };
    control.events.mouseMove = [this](platform::Control&, const platform::MouseEvent&) {
        services_.RequestHideInventory();
    };
    control.events.dragOver = [this](platform::Control&, platform::Control&, int, int, platform::DragState) {
        services_.HideInventoryIfItem();
    };
}

}  // namespace taviro::frames
