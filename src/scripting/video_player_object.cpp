// The video player's members for scripts, passed on to the player.
#include "scripting/video_player_object.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/controls/control.h"
#include "scripting/control_objects.h"
#include "scripting/member_table.h"
#include "vbscript/conversions.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

using namespace video_player_member;

constexpr int32_t kSilentVolume = -10000;

bool IsAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

}  // namespace

DispatchId VideoPlayerObject::MemberId(std::u16string_view name) {
    return MemberIdIn(kVideoPlayerMembers, name);
}

const void* VideoPlayerObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant VideoPlayerObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    return AsScriptError([&]() -> Variant {
        frames::VideoPlayer& player = player_();
        if (kind == InvokeKind::Get) {
            if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            switch (id) {
                case kFileName: return Variant(vbscript::FromUtf8OrWindows1252(player.fileName()));
                case kAutoStart: return Variant(player.autoStart);
                case kAutoRewind: return Variant(player.autoRewind);
                case kClickToPlay: return Variant(player.clickToPlay);
                case kPlay: player.Play(); return {};
                case kPause: player.Pause(); return {};
                case kStop: player.Stop(); return {};
                case kPlayState: return Variant(static_cast<int32_t>(player.GetPlayState()));
                case kPlayCount: return Variant(static_cast<int32_t>(player.playCount()));
                case kCurrentPosition: return Variant(player.CurrentPosition());
                case kDuration: return Variant(player.Duration());
                case kRate: return Variant(player.rate());
                case kMute: return Variant(player.mute());
                case kVolume: return Variant(static_cast<int32_t>(player.volume()));
                case kImageSourceWidth: return Variant(static_cast<int32_t>(player.ImageSourceWidth()));
                case kImageSourceHeight: return Variant(static_cast<int32_t>(player.ImageSourceHeight()));
                case kEnableContextMenu: return Variant(false);
                default: vbscript::Throw(vbscript::err::kNoSuchMember);
            }
        }
        if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        const Variant& value = arguments[0].Target();
        switch (id) {
            case kFileName: {
                std::string path = vbscript::ToUtf8(vbscript::ToString(value));
                std::replace(path.begin(), path.end(), '\\',
                             static_cast<char>(std::filesystem::path::preferred_separator));
                player.SetFileName(path.empty() || IsAbsolute(path) ? path : projectPath_ + path);
                return {};
            }
            case kAutoStart: player.autoStart = vbscript::ToBoolean(value); return {};
            case kAutoRewind: player.autoRewind = vbscript::ToBoolean(value); return {};
            case kClickToPlay: player.clickToPlay = vbscript::ToBoolean(value); return {};
            case kPlayCount: player.SetPlayCount(vbscript::ToLong(value)); return {};
            case kCurrentPosition: player.SetCurrentPosition(vbscript::ToDouble(value)); return {};
            case kRate: player.SetRate(vbscript::ToDouble(value)); return {};
            case kMute: player.SetMute(vbscript::ToBoolean(value)); return {};
            case kVolume: {
                int32_t volume = vbscript::ToLong(value);
                if (volume < kSilentVolume || volume > 0)
                    throw platform::control_errors::InvalidPropertyValue();
                player.SetVolume(volume);
                return {};
            }
            // There is no menu of the player's own to turn off.
            case kEnableContextMenu: vbscript::ToBoolean(value); return {};
            case kPlayState:
            case kDuration:
            case kImageSourceWidth:
            case kImageSourceHeight: throw platform::control_errors::ReadOnlyProperty();
            case kPlay:
            case kPause:
            case kStop: vbscript::Throw(vbscript::err::kIllegalAssignment);
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    });
}

}  // namespace taviro::scripting
