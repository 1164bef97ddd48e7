// A video player as scripts see it: registered as "VideoPlayerObject" for the one-time player, and
// usable on its own for any video player (a component may wrap one).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "frames/video_player.h"
#include "vbscript/object.h"

namespace taviro::scripting {

// The members of a video player for scripts, numbered from 1 in the order of kVideoPlayerMembers; a
// component that wraps a player numbers them the same.
namespace video_player_member {
enum : vbscript::DispatchId {
    kFileName = 1,
    kAutoStart,
    kAutoRewind,
    kClickToPlay,
    kPlay,
    kPause,
    kStop,
    kPlayState,
    kPlayCount,
    kCurrentPosition,
    kDuration,
    kRate,
    kMute,
    kVolume,
    kImageSourceWidth,
    kImageSourceHeight,
    kEnableContextMenu,
};
}  // namespace video_player_member
inline constexpr std::array<std::u16string_view, 17> kVideoPlayerMembers = {u"FileName",
                                                                            u"AutoStart",
                                                                            u"AutoRewind",
                                                                            u"ClickToPlay",
                                                                            u"Play",
                                                                            u"Pause",
                                                                            u"Stop",
                                                                            u"PlayState",
                                                                            u"PlayCount",
                                                                            u"CurrentPosition",
                                                                            u"Duration",
                                                                            u"Rate",
                                                                            u"Mute",
                                                                            u"Volume",
                                                                            u"ImageSourceWidth",
                                                                            u"ImageSourceHeight",
                                                                            u"EnableContextMenu"};

// The members: FileName (a full path, or one relative to the project's folder), AutoStart, AutoRewind,
// ClickToPlay, Play, Pause, Stop, PlayState (read-only: 2 playing, 1 paused, 0 stopped), PlayCount,
// CurrentPosition (seconds, read and write), Duration (seconds, read-only), Rate, Mute, Volume
// (hundredths of a decibel, -10000 to 0), ImageSourceWidth and ImageSourceHeight (pixels, read-only)
// and EnableContextMenu (accepted; there is no menu). Placement and visibility belong to the control
// that shows the pictures. Any other member raises 438.
class VideoPlayerObject final : public vbscript::Object {
public:
    // The player is found at each use, so that the object outlives no player; the project's folder
    // ends in a separator.
    VideoPlayerObject(std::function<frames::VideoPlayer&()> player, std::string projectPath)
        : player_(std::move(player)), projectPath_(std::move(projectPath)) {}

    std::u16string TypeName() const override { return u"NSPlay"; }
    vbscript::DispatchId MemberId(std::u16string_view name) override;
    const void* DispatchKey() const override;
    vbscript::Variant Invoke(vbscript::DispatchId id, vbscript::InvokeKind kind,
                             std::span<vbscript::Variant> arguments) override;

private:
    std::function<frames::VideoPlayer&()> player_;
    std::string projectPath_;
};

}  // namespace taviro::scripting
