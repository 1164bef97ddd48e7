// Reading a frame's records for the frames it leads to, with the readers the player opens frames with.
#include "checker/reachable_frames.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "checker/script_checks.h"
#include "frames/frame_files.h"
#include "frames/frame_settings.h"
#include "frames/hotspot_record.h"
#include "frames/text_record.h"
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

// The pictures of frames: every background picture first, then the hotspot pictures, each once.
std::vector<std::string> PicturesOf(project::Project& project, const std::vector<std::string>& reachable) {
    NameList backgrounds, hotspotPictures;
    for (const std::string& next : reachable) {
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

// The texts of frames in the fonts their labels show them in, each once.
std::vector<platform::ShownText> TextsOf(project::Project& project,
                                         const std::vector<std::string>& reachable) {
    std::vector<platform::ShownText> texts;
    auto key = [](const platform::ShownText& shown) {
        const platform::FontSpec& font = shown.font;
        return std::tie(shown.text, font.name, font.sizePoints, font.bold, font.italic, font.underline,
                        font.strikeout);
    };
    auto before = [&key](const platform::ShownText& a, const platform::ShownText& b) {
        return key(a) < key(b);
    };
    std::set<platform::ShownText, decltype(before)> seen(before);
    for (const std::string& next : reachable) {
        std::optional<std::string> text =
            project.ReadTextFile(frames::MergedOrPlainFile(project, next, ".mr1", ".fm1"));
        if (!text) continue;
        project::FieldReader reader(std::move(*text));
        // Text records never throw: a damaged one keeps its defaults, as on the frame.
        while (!reader.AtEnd()) {
            const size_t start = reader.position();
            const frames::TextRecord record = frames::ReadTextRecord(reader);
            if (reader.position() == start) break;
            platform::ShownText shown{record.caption, frames::TextFont(record)};
            if (!shown.text.empty() && seen.insert(shown).second) texts.push_back(std::move(shown));
        }
    }
    return texts;
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
    return PicturesOf(project, ReachableFrames(project, frame));
}

ShownAhead ReachableContent(project::Project& project, const std::string& frame) {
    const std::vector<std::string> reachable = ReachableFrames(project, frame);
    ShownAhead ahead;
    for (const std::string& path : PicturesOf(project, reachable))
        ahead.pictureFiles.push_back(project::StoredFileNames(path));
    ahead.texts = TextsOf(project, reachable);
    return ahead;
}

}  // namespace taviro::checker
