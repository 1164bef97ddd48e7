// The sound players' members for scripts, passed on to the players of the sound channels.
#include "scripting/media_player_object.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "platform/controls/control.h"
#include "scripting/member_table.h"
#include "vbscript/conversions.h"

namespace taviro::scripting {
namespace {

using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

enum Member : DispatchId {
    kFileName = 1,
    kPlayCount,
    kVolume,
    kPlayState,
    kPlay,
    kStop,
    kCurrentPosition,
    kName
};
constexpr std::array<std::u16string_view, 8> kMembers = {
    u"FileName", u"PlayCount", u"Volume", u"PlayState", u"Play", u"Stop", u"CurrentPosition", u"Name"};

// The quietest volume a player takes, in hundredths of a decibel.
constexpr int32_t kSilentVolume = -10000;

bool IsAbsolute(const std::string& path) {
    return (!path.empty() && (path[0] == '/' || path[0] == '\\')) || (path.size() > 1 && path[1] == ':');
}

}  // namespace

std::string MediaPlayerObject::GamePath(std::string path) const {
    if (path.empty()) return path;
    std::replace(path.begin(), path.end(), '\\',
                 static_cast<char>(std::filesystem::path::preferred_separator));
    return IsAbsolute(path) ? path : projectPath_ + path;
}

std::string MediaPlayerControlName(int number) { return std::to_string(number) + "MediaPlayerControl"; }

std::vector<HostedControl> MediaPlayerControls(frames::SoundSystem& sounds, const std::string& projectPath) {
    std::vector<HostedControl> players;
    for (int number = 0; number <= 7; ++number) {
        players.push_back({MediaPlayerControlName(number),
                           vbscript::MakeRef<MediaPlayerObject>(sounds, number, projectPath)});
    }
    return players;
}

DispatchId MediaPlayerObject::MemberId(std::u16string_view name) { return MemberIdIn(kMembers, name); }

const void* MediaPlayerObject::DispatchKey() const {
    static const char key = 0;
    return &key;
}

Variant MediaPlayerObject::Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) {
    return AsScriptError([&]() -> Variant {
        // The name needs no player: walking the controls makes none.
        if (id == kName && kind == InvokeKind::Get) {
            if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            return Variant(vbscript::FromUtf8OrWindows1252(MediaPlayerControlName(number_)));
        }
        frames::MediaPlayer& player = sounds_.Player(number_);
        if (kind == InvokeKind::Get) {
            if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            switch (id) {
                case kFileName: return Variant(vbscript::FromUtf8OrWindows1252(player.FileName()));
                case kPlayCount: return Variant(static_cast<int32_t>(player.PlayCount()));
                case kVolume: return Variant(static_cast<int32_t>(player.Volume()));
                case kPlayState: return Variant(static_cast<int32_t>(player.GetPlayState()));
                case kCurrentPosition: return Variant(player.CurrentPosition());
                case kPlay: player.Play(); return {};
                case kStop: player.Stop(); return {};
                default: vbscript::Throw(vbscript::err::kNoSuchMember);
            }
        }
        if (arguments.size() != 1) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        const Variant& value = arguments[0].Target();
        switch (id) {
            case kFileName:
                player.SetFileName(GamePath(vbscript::ToUtf8(vbscript::ToString(value))));
                return {};
            case kPlayCount: player.SetPlayCount(vbscript::ToLong(value)); return {};
            case kVolume: {
                int32_t volume = vbscript::ToLong(value);
                if (volume < kSilentVolume || volume > 0)
                    throw platform::control_errors::InvalidPropertyValue();
                player.SetVolume(volume);
                return {};
            }
            case kCurrentPosition: player.SetCurrentPosition(vbscript::ToDouble(value)); return {};
            case kPlayState:
            case kName: throw platform::control_errors::ReadOnlyProperty();
            case kPlay:
            case kStop: vbscript::Throw(vbscript::err::kIllegalAssignment);
            default: vbscript::Throw(vbscript::err::kNoSuchMember);
        }
    });
}

}  // namespace taviro::scripting
