// The game window's sound players as scripts see them: the controls "0MediaPlayerControl" to
// "7MediaPlayerControl", which the window offers in its Controls collection.
#pragma once

#include <string>
#include <vector>

#include "frames/sound_system.h"
#include "scripting/control_objects.h"
#include "vbscript/object.h"

namespace taviro::scripting {

// One sound player: FileName (setting it starts the sound), PlayCount (1 once, 0 endless), Volume
// (hundredths of a decibel, -10000 to 0), PlayState (read-only: 2 playing, 0 stopped), Play, Stop,
// CurrentPosition (seconds into the playing sound; 0 starts it again) and Name. It acts on the very
// player the sound channels use, found at each use; any other member raises 438.
class MediaPlayerObject final : public vbscript::Object {
public:
    // The players must outlive the object's use. A relative FileName is taken from projectPath (which
    // ends in a separator), the folder the original ran from. Backslashes become the system's
    // separator, so that a file a script starts is the same name the sound channels look for.
    MediaPlayerObject(frames::SoundSystem& sounds, int number, std::string projectPath)
        : sounds_(sounds), number_(number), projectPath_(std::move(projectPath)) {}

    std::u16string TypeName() const override { return u"MediaPlayer"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    // The full path a script's FileName stands for.
    std::string GamePath(std::string path) const;

    frames::SoundSystem& sounds_;
    int number_;
    std::string projectPath_;
};

// The name of sound player `number` among the window's controls: number + "MediaPlayerControl".
std::string MediaPlayerControlName(int number);

// The eight sound players 0..7 as controls of the game window, by their names.
std::vector<HostedControl> MediaPlayerControls(frames::SoundSystem& sounds, const std::string& projectPath);

}  // namespace taviro::scripting
