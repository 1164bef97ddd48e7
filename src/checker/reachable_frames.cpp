// Reading a frame's records for the frames it leads to, with the readers the player opens frames with.
#include "checker/reachable_frames.h"

#include <algorithm>
#include <set>

#include "checker/script_checks.h"
#include "frames/frame_files.h"
#include "frames/frame_settings.h"
#include "frames/hotspot_record.h"
#include "logic/action_record.h"
#include "platform/files/file_system.h"
#include "project/field_reader.h"
#include "project/scrambled_names.h"

namespace taviro::checker {
namespace {

// An action record read only for where it leads: what it would change is of no interest.
class IgnoredEffects : public logic::ActionEffects {
public:
    void ChangeVariable(const std::string&, int16_t) override {}
    void RemoveAfterUse() override {}
    void StopMusic() override {}
    void StopAllSounds() override {}
    void SetFadeDuration(double) override {}
    void SetChannel(int, const logic::ChannelEntry&) override {}
};

// Names added once each, letter case ignored, in the order first met.
class NameList {
public:
    void Add(const std::string& name) {
        if (name.empty() || IsSpecialDestination(name)) return;
        if (seen_.insert(platform::FoldCase(name)).second) names.push_back(name);
    }
    void AddFramesOf(const std::string& code) {
        for (const std::string& name : LiteralFrameNames(code)) Add(name);
    }
    std::vector<std::string> names;

private:
    std::set<std::string> seen_;
};

// The settings of a frame as far as they can be read.
frames::FrameSettings ReadSettings(project::Project& project, const std::string& frame) {
    frames::FrameSettings settings;
    std::optional<std::string> text = project.ReadTextFile(project.paths.FramesPath + frame + ".fme");
    if (!text) return settings;
    project::FieldReader reader(std::move(*text));
    try {
        frames::ReadFrameSettings(reader, settings);
    } catch (const std::exception&) {
        // What was read before the damage is what the player uses too.
    }
    return settings;
}

}  // namespace

std::vector<std::string> ReachableFrames(project::Project& project, const std::string& frame) {
    NameList reached;
    // 1. The hotspot actions: 10 leading fields, then the action's own.
    if (std::optional<std::string> text =
            project.ReadTextFile(frames::MergedOrPlainFile(project, frame, ".mr3", ".fm3"))) {
        project::FieldReader reader(std::move(*text));
        IgnoredEffects effects;
        try {
            while (!reader.AtEnd()) {
                reader.Skip(10);
                const logic::ActionRecord action = logic::ReadActionFields(reader, effects);
                if (action.openFrame) reached.Add(action.frameName);
                if (action.appendScript) reached.AddFramesOf(action.script);
                reader.SkipRecord();
            }
        } catch (const std::exception&) {
            // A damaged record ends the list; the game thread reports it when the hotspot is used.
        }
    }
    // 2. The frame timer and the frame's scripts.
    const frames::FrameSettings settings = ReadSettings(project, frame);
    if (settings.timerOn) reached.Add(settings.timerDestination);
    if (settings.runFrameScript) reached.AddFramesOf(settings.frameScript);
    if (project.information.runFrameScript) reached.AddFramesOf(project.information.frameScript);
    return reached.names;
}

std::vector<std::string> ReachablePictures(project::Project& project, const std::string& frame) {
    NameList backgrounds, hotspotPictures;
    for (const std::string& next : ReachableFrames(project, frame)) {
        const frames::FrameSettings settings = ReadSettings(project, next);
        if (settings.header.backgroundKind == static_cast<int16_t>(frames::BackgroundKind::Picture) &&
            !settings.header.backgroundValue.empty())
            backgrounds.Add(project.paths.FramesPath + settings.header.backgroundValue);
        std::optional<std::string> text =
            project.ReadTextFile(frames::MergedOrPlainFile(project, next, ".mr2", ".fm2"));
        if (!text) continue;
        project::FieldReader reader(std::move(*text));
        try {
            while (!reader.AtEnd()) {
                const frames::HotspotRecord record = frames::ReadHotspotRecord(reader);
                if (record.showsPicture && !record.picture.empty())
                    hotspotPictures.Add(project.paths.AreasPath + record.picture);
            }
        } catch (const std::exception&) {
            // The pictures before the damage are still worth decoding.
        }
    }
    std::vector<std::string> pictures = std::move(backgrounds.names);
    pictures.insert(pictures.end(), hotspotPictures.names.begin(), hotspotPictures.names.end());
    return pictures;
}

std::vector<std::vector<std::string>> ReachablePictureFiles(project::Project& project,
                                                            const std::string& frame) {
    std::vector<std::vector<std::string>> files;
    for (const std::string& path : ReachablePictures(project, frame))
        files.push_back(project::StoredFileNames(path));
    return files;
}

}  // namespace taviro::checker
