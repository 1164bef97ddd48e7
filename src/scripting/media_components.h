// The media players and the animated-picture control as component classes. "NSPlay.NSPlayCtl.1" is a
// video player drawn in a picture box of the scene; "MediaPlayer.MediaPlayer.1" is the same for a
// video and plays any other file as a sound on the mixer, as the game's sound players do;
// "GIF89LibCtl.Gif89a" is an animated picture drawn as the hotspots' animations are. All follow the
// game clock, so they pause with the game and play exactly on the virtual clock.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/form.h"
#include "platform/events/timer.h"
#include "platform/files/file_system.h"
#include "scripting/component_host.h"

namespace taviro::platform::media {
class AudioEngine;
}  // namespace taviro::platform::media

namespace taviro::scripting {

struct MediaComponent;

class MediaComponents {
public:
    // What the classes need of the game.
    struct Services {
        platform::Form& form;
        platform::TimerQueue& timers;
        platform::FileSystem& files;
        // Null: videos play silently and sounds do not play.
        platform::media::AudioEngine* audio = nullptr;
        // The mixer's voices the components may take, one each while it exists; without a free one a
        // video plays silently.
        int firstVoice = 0;
        int voiceCount = 0;
        // The game's folder, ending in a separator: file names scripts give are taken from there unless
        // they are full paths.
        std::string projectPath;
        // Where the game finds a file of that full path (on the game's CD, ...); null: where it says.
        std::function<std::string(const std::string& path)> locate;
        // The natural size of a picture file in pixels, nullopt when it is none; null without a screen.
        std::function<std::optional<platform::Point>(const std::string& path)> pictureSize;
    };

    explicit MediaComponents(Services services);
    ~MediaComponents();
    MediaComponents(const MediaComponents&) = delete;
    MediaComponents& operator=(const MediaComponents&) = delete;

    // Whether the class is one of these (letter case ignored).
    static bool Offers(std::string_view progId);

    struct Made {
        std::unique_ptr<platform::Control> control;  // hidden, to be placed in the scene under its name
        vbscript::Ref<vbscript::Object> extender;    // the object scripts use
    };
    // A new component of an offered class. Its events go through raise: PlayStateChange(OldState,
    // NewState) whenever the play state changes, then EndOfStream(Result) when a file has played to its
    // end; Click, DblClick, MouseDown, MouseMove and MouseUp (Button, Shift, X, Y in twips of the area).
    Made Make(std::string_view progId, const std::string& controlName, ComponentHost::RaiseEvent raise);
    // Stops the component of the name and lets go of its player and voice; nothing for another name.
    // Must be called before its control goes.
    void Remove(const std::string& controlName);

private:
    // Frees the removed components whose events are no longer being raised.
    void ReleaseRetired();
    int TakeVoice();

    Services services_;
    std::vector<std::shared_ptr<MediaComponent>> components_;
    std::vector<std::shared_ptr<MediaComponent>> retired_;
};

}  // namespace taviro::scripting
