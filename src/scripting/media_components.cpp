// Each component keeps its player and watches its play state: a change a script asks for is raised at
// once, the end of a file when the component's watch timer finds it (on the game clock). Events may
// remove the component that raises them, so a removed component stays, inert, until none of its
// events is running.
#include "scripting/media_components.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "frames/mixer_media_player.h"
#include "frames/video_player.h"
#include "platform/controls/control_kinds.h"
#include "platform/game_error.h"
#include "platform/log.h"
#include "scripting/control_objects.h"
#include "scripting/member_table.h"
#include "scripting/video_player_object.h"
#include "vbscript/conversions.h"

namespace taviro::scripting {

using frames::PlayState;
using vbscript::DispatchId;
using vbscript::InvokeKind;
using vbscript::Variant;

namespace {

constexpr std::string_view kVideoClass = "NSPlay.NSPlayCtl.1";
constexpr std::string_view kMediaClass = "MediaPlayer.MediaPlayer.1";
constexpr std::string_view kAnimationClass = "GIF89LibCtl.Gif89a";

// How often a playing component looks for the end of its file.
constexpr int kWatchIntervalMs = 20;
// The volume that silences a muted sound.
constexpr int kSilent = -10000;
// The speed at which an animated picture shows the delays its file gives; 0 or less also means it.
constexpr double kNormalSpeed = 50;

// The members of the players: those of the video player's own object, which the video members are
// passed on to, then the component's pause and resume.
using namespace video_player_member;
constexpr DispatchId kPauseComponent = kEnableContextMenu + 1;
constexpr DispatchId kResumeComponent = kEnableContextMenu + 2;
constexpr auto kPlayerMembers = [] {
    std::array<std::u16string_view, kVideoPlayerMembers.size() + 2> members{};
    std::copy(kVideoPlayerMembers.begin(), kVideoPlayerMembers.end(), members.begin());
    members[kPauseComponent - 1] = u"PauseComponent";
    members[kResumeComponent - 1] = u"ResumeComponent";
    return members;
}();

constexpr std::array<std::u16string_view, 7> kAnimationMembers = {
    u"FileName", u"Speed", u"Play", u"Stop", u"AutoSize", u"PauseComponent", u"ResumeComponent"};
enum AnimationMember : DispatchId {
    kAnimationFileName = 1,
    kSpeed,
    kAnimationPlay,
    kAnimationStop,
    kAutoSize,
    kAnimationPauseComponent,
    kAnimationResumeComponent,
};

// Members of the component itself are numbered from here; lower numbers are those of its area.
constexpr DispatchId kOwnMembers = 1 << 20;

}  // namespace

// One component: its control's name, its player (a video, or for "MediaPlayer.MediaPlayer.1" a sound),
// or its animated picture.
struct MediaComponent {
    enum class Kind { Video, Media, Animation };

    MediaComponent(Kind madeAs, std::string name, ComponentHost::RaiseEvent raiseEvent,
                   platform::TimerQueue& timers)
        : kind(madeAs), controlName(std::move(name)), raise(std::move(raiseEvent)), watch(timers) {}

    Kind kind;
    std::string controlName;
    ComponentHost::RaiseEvent raise;
    platform::Timer watch;
    int voice = -1;  // -1: none
    bool removed = false;
    int raising = 0;  // events of this component now running

    // Players.
    std::unique_ptr<frames::VideoPlayer> video;
    std::unique_ptr<frames::MixerMediaPlayer> sound;  // made when a sound file is given
    bool playsSound = false;                          // the file given last is a sound
    PlayState lastState = PlayState::Stopped;
    bool heldForTransition = false;

    // Animated picture.
    platform::ImageControl* image = nullptr;
    double speed = kNormalSpeed;
    bool autoSize = true;

    PlayState CurrentState() {
        if (playsSound) return sound ? sound->GetPlayState() : PlayState::Stopped;
        return video ? video->GetPlayState() : PlayState::Stopped;
    }

    void Raise(const char* event, EventParameters parameters) {
        if (removed) return;
        // A copy: the handler may remove this component.
        ComponentHost::RaiseEvent call = raise;
        ++raising;
        try {
            call(event, std::move(parameters));
        } catch (...) {
            --raising;
            throw;
        }
        --raising;
    }

    // Raises the change of the play state since it was last seen; a file that stopped playing by itself
    // has reached its end. The watch runs while the player plays.
    void Notice(bool asked) {
        if (removed) return;
        const PlayState now = CurrentState();
        if (now != lastState) {
            const PlayState old = lastState;
            lastState = now;
            Raise("PlayStateChange", {{u"OldState", Variant(static_cast<int32_t>(old))},
                                      {u"NewState", Variant(static_cast<int32_t>(now))}});
            if (!asked && old == PlayState::Playing && now == PlayState::Stopped)
                Raise("EndOfStream", {{u"Result", Variant(int32_t{0})}});
        }
        if (!removed) watch.SetEnabled(lastState == PlayState::Playing);
    }

    // The frame an animation shows now, in milliseconds into it.
    int64_t AnimationTimeMs(int64_t nowMs) const {
        if (image->animationHeldMs >= 0) return image->animationHeldMs;
        return std::max<int64_t>(0,
                                 static_cast<int64_t>(static_cast<double>(nowMs - image->animationStartMs) *
                                                      image->animationRate));
    }
    void HoldAnimation(int64_t nowMs) { image->animationHeldMs = AnimationTimeMs(nowMs); }
    // Goes on from the held frame at the component's speed.
    void RunAnimation(int64_t nowMs) {
        const int64_t at = AnimationTimeMs(nowMs);
        image->animationRate = speed / kNormalSpeed;
        image->animationStartMs =
            nowMs - static_cast<int64_t>(static_cast<double>(at) / image->animationRate);
        image->animationHeldMs = -1;
    }
};

namespace {

// The mouse events of the component's area, raised to the game; a click on a video with ClickToPlay on
// pauses or resumes it first.
void WireMouse(platform::Control& control, const std::weak_ptr<MediaComponent>& weak) {
    auto mouse = [weak](const char* event, bool clickToPlay) {
        return [weak, event, clickToPlay](platform::Control&, const platform::MouseEvent& details) {
            // Copies first: a handler may remove the control, and this function with it.
            const char* name = event;
            std::shared_ptr<MediaComponent> component = weak.lock();
            if (!component || component->removed) return;
            if (clickToPlay && component->video && !component->playsSound) {
                component->video->ClickOnPicture();
                component->Notice(true);
            }
            component->Raise(name, MouseParameters(details));
        };
    };
    control.events.mouseDown = mouse("MouseDown", true);
    control.events.mouseMove = mouse("MouseMove", false);
    control.events.mouseUp = mouse("MouseUp", false);
    auto plain = [weak](const char* event) {
        return [weak, event](platform::Control&) {
            const char* name = event;
            if (std::shared_ptr<MediaComponent> component = weak.lock()) component->Raise(name, {});
        };
    };
    control.events.click = plain("Click");
    control.events.dblClick = plain("DblClick");
}

// The object scripts use: the component's own members, then those of its area (Left, Top, Width,
// Height, Visible, Move, ZOrder, ...). Once the component is removed its own members raise 91.
class MediaExtender final : public vbscript::Object {
public:
    MediaExtender(const std::shared_ptr<MediaComponent>& component, MediaComponents::Services& services)
        : component_(component),
          services_(services),
          area_(vbscript::MakeRef<ControlObject>(services.form, component->controlName, std::nullopt)) {
        if (component->kind == MediaComponent::Kind::Animation) return;
        std::weak_ptr<MediaComponent> weak = component;
        videoMembers_ = vbscript::MakeRef<VideoPlayerObject>(
            [weak]() -> frames::VideoPlayer& {
                std::shared_ptr<MediaComponent> held = weak.lock();
                if (!held || held->removed) throw GameError(91, "Object variable not set");
                return *held->video;
            },
            std::string());
    }

    std::u16string TypeName() const override {
        std::shared_ptr<MediaComponent> component = component_.lock();
        if (component && component->kind == MediaComponent::Kind::Animation) return u"Gif89a";
        if (component && component->kind == MediaComponent::Kind::Media) return u"MediaPlayer";
        return u"NSPlay";
    }

    DispatchId MemberId(std::u16string_view name) override {
        std::shared_ptr<MediaComponent> component = component_.lock();
        const bool animation = component && component->kind == MediaComponent::Kind::Animation;
        DispatchId own = animation ? MemberIdIn(kAnimationMembers, name) : MemberIdIn(kPlayerMembers, name);
        if (own != vbscript::kUnknownMember) return kOwnMembers + own;
        return area_->MemberId(name);
    }

    Variant Invoke(DispatchId id, InvokeKind kind, std::span<Variant> arguments) override {
        if (id < kOwnMembers) return area_->Invoke(id, kind, arguments);
        std::shared_ptr<MediaComponent> component = component_.lock();
        if (!component || component->removed) vbscript::Throw(vbscript::err::kObjectNotSet);
        const DispatchId member = id - kOwnMembers;
        if (component->kind == MediaComponent::Kind::Animation)
            return AsScriptError([&] { return InvokeAnimation(*component, member, kind, arguments); });
        // A change a script asks for is told at once; an end the player reached just before it is told
        // first, as an end. Other members leave the telling to the watch.
        const bool changesState = kind == InvokeKind::Get
                                      ? member == kPlay || member == kPause || member == kStop
                                      : member == kFileName || member == kCurrentPosition;
        if (!changesState)
            return AsScriptError([&] { return InvokePlayer(*component, member, kind, arguments); });
        component->Notice(false);
        if (component->removed) vbscript::Throw(vbscript::err::kObjectNotSet);
        Variant result = AsScriptError([&] { return InvokePlayer(*component, member, kind, arguments); });
        component->Notice(true);
        return result;
    }

private:
    static const Variant& SingleValue(InvokeKind kind, std::span<Variant> arguments) {
        if (kind == InvokeKind::Get || arguments.size() != 1)
            vbscript::Throw(vbscript::err::kWrongArgumentCount);
        return arguments[0].Target();
    }

    // The full path of a file name a script gives, with the system's separators.
    std::string PathOf(const Variant& value) const {
        std::string path = vbscript::ToUtf8(vbscript::ToString(value));
        if (path.empty()) return path;
        std::replace(path.begin(), path.end(), '\\',
                     static_cast<char>(std::filesystem::path::preferred_separator));
        const bool full = path[0] == '/' || (path.size() > 1 && path[1] == ':');
        if (!full) path = services_.projectPath + path;
        return services_.locate ? services_.locate(path) : path;
    }

    Variant InvokePlayer(MediaComponent& component, DispatchId member, InvokeKind kind,
                         std::span<Variant> arguments) {
        if (member == kPauseComponent || member == kResumeComponent) {
            if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
            HoldForTransition(component, member == kPauseComponent);
            return {};
        }
        if (member == kFileName && kind != InvokeKind::Get) {
            OpenFile(component, PathOf(SingleValue(kind, arguments)));
            return {};
        }
        if (component.playsSound && IsSoundMember(member))
            return InvokeSound(component, member, kind, arguments);
        // The video player keeps the settings also while a sound plays, and the sound follows them.
        Variant result = videoMembers_->Invoke(member, kind, arguments);
        if (component.playsSound) FollowSettings(component);
        return result;
    }

    // A video goes to the video player; for "MediaPlayer.MediaPlayer.1" any other file is tried as a sound.
    static void OpenFile(MediaComponent& component, const std::string& path) {
        if (component.sound) component.sound->SetFileName("");
        component.playsSound = false;
        try {
            component.video->SetFileName(path);
            return;
        } catch (const GameError&) {
            if (component.kind != MediaComponent::Kind::Media) throw;
        }
        component.playsSound = true;
        if (!component.sound) {
            platform::log::Error("No voice of the mixer is free for the sound " + path);
            return;
        }
        FollowSettings(component);
        component.sound->SetFileName(path);
        if (!component.video->autoStart) component.sound->Stop();
    }

    static void FollowSettings(MediaComponent& component) {
        if (!component.sound) return;
        component.sound->SetPlayCount(component.video->playCount());
        component.sound->SetVolume(component.video->mute() ? kSilent : component.video->volume());
    }

    // The members a sound answers itself: it plays as the game's sound players play, with no pause.
    static bool IsSoundMember(DispatchId member) {
        return member == kPlay || member == kPause || member == kStop || member == kPlayState ||
               member == kCurrentPosition;
    }
    static Variant InvokeSound(MediaComponent& component, DispatchId member, InvokeKind kind,
                               std::span<Variant> arguments) {
        frames::MixerMediaPlayer* sound = component.sound.get();
        if (member == kCurrentPosition && kind != InvokeKind::Get) {
            const double seconds = vbscript::ToDouble(SingleValue(kind, arguments));
            if (sound) sound->SetCurrentPosition(seconds);
            return {};
        }
        if (kind != InvokeKind::Get) vbscript::Throw(vbscript::err::kIllegalAssignment);
        if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
        if (member == kPlayState) return Variant(static_cast<int32_t>(component.CurrentState()));
        if (member == kCurrentPosition) return Variant(sound ? sound->CurrentPosition() : 0.0);
        if (sound && member == kPlay) sound->Play();
        if (sound && member != kPlay) sound->Stop();
        return {};
    }

    // Around a transition a playing video holds still and then goes on; no event tells of it. A sound
    // plays on.
    static void HoldForTransition(MediaComponent& component, bool hold) {
        if (component.playsSound) return;
        if (hold) {
            if (component.video->GetPlayState() != PlayState::Playing) return;
            component.video->Pause();
            component.heldForTransition = true;
        } else {
            if (!component.heldForTransition) return;
            component.heldForTransition = false;
            component.video->Play();
        }
        component.lastState = component.video->GetPlayState();
        component.watch.SetEnabled(component.lastState == PlayState::Playing);
    }

    Variant InvokeAnimation(MediaComponent& component, DispatchId member, InvokeKind kind,
                            std::span<Variant> arguments) {
        platform::ImageControl& image = *component.image;
        const int64_t nowMs = services_.timers.clock().NowMs();
        if (kind == InvokeKind::Get) {
            if (!arguments.empty()) vbscript::Throw(vbscript::err::kWrongArgumentCount);
            switch (member) {
                case kAnimationFileName: return Variant(vbscript::FromUtf8OrWindows1252(image.picture));
                case kSpeed: return Variant(static_cast<int32_t>(component.speed));
                case kAnimationPlay: component.RunAnimation(nowMs); return {};
                case kAnimationStop: component.HoldAnimation(nowMs); return {};
                case kAutoSize: return Variant(component.autoSize);
                case kAnimationPauseComponent:
                    if (image.animationHeldMs < 0) {
                        component.HoldAnimation(nowMs);
                        component.heldForTransition = true;
                    }
                    return {};
                case kAnimationResumeComponent:
                    if (component.heldForTransition) component.RunAnimation(nowMs);
                    component.heldForTransition = false;
                    return {};
                default: vbscript::Throw(vbscript::err::kNoSuchMember);
            }
        }
        const Variant& value = SingleValue(kind, arguments);
        switch (member) {
            case kAnimationFileName: LoadAnimation(component, PathOf(value), nowMs); return {};
            case kSpeed: {
                const int32_t speed = vbscript::ToLong(value);
                const bool held = image.animationHeldMs >= 0;
                component.HoldAnimation(nowMs);
                component.speed = speed > 0 ? speed : kNormalSpeed;
                if (!held) component.RunAnimation(nowMs);
                return {};
            }
            case kAutoSize:
                component.autoSize = vbscript::ToBoolean(value);
                if (component.autoSize) FitPicture(component);
                return {};
            default: vbscript::Throw(vbscript::err::kIllegalAssignment);
        }
    }

    // A new picture animates from its first frame.
    void LoadAnimation(MediaComponent& component, const std::string& path, int64_t nowMs) {
        platform::ImageControl& image = *component.image;
        if (!path.empty()) {
            if (!services_.files.Exists(path)) throw GameError(53, "File not found: " + path);
            if (services_.pictureSize && !services_.pictureSize(path))
                throw GameError(481, "Invalid picture: " + path);
        }
        image.picture = path;
        image.animationHeldMs = -1;
        image.animationStartMs = nowMs;
        image.animationRate = component.speed / kNormalSpeed;
        component.heldForTransition = false;
        if (component.autoSize) FitPicture(component);
    }

    void FitPicture(MediaComponent& component) const {
        platform::ImageControl& image = *component.image;
        if (image.picture.empty() || !services_.pictureSize) return;
        if (std::optional<platform::Point> size = services_.pictureSize(image.picture))
            image.SetBounds({image.bounds().x, image.bounds().y, size->x, size->y});
    }

    std::weak_ptr<MediaComponent> component_;
    MediaComponents::Services& services_;
    vbscript::Ref<ControlObject> area_;
    vbscript::Ref<VideoPlayerObject> videoMembers_;
};

}  // namespace

MediaComponents::MediaComponents(Services services) : services_(std::move(services)) {}

MediaComponents::~MediaComponents() {
    while (!components_.empty()) Remove(components_.back()->controlName);
}

bool MediaComponents::Offers(std::string_view progId) {
    return platform::SameName(progId, kVideoClass) || platform::SameName(progId, kMediaClass) ||
           platform::SameName(progId, kAnimationClass);
}

int MediaComponents::TakeVoice() {
    if (!services_.audio) return -1;
    for (int voice = services_.firstVoice; voice < services_.firstVoice + services_.voiceCount; ++voice) {
        const bool taken = std::any_of(components_.begin(), components_.end(),
                                       [voice](const auto& component) { return component->voice == voice; });
        if (!taken) return voice;
    }
    return -1;
}

MediaComponents::Made MediaComponents::Make(std::string_view progId, const std::string& controlName,
                                            ComponentHost::RaiseEvent raise) {
    ReleaseRetired();
    using Kind = MediaComponent::Kind;
    const Kind kind = platform::SameName(progId, kAnimationClass) ? Kind::Animation
                      : platform::SameName(progId, kMediaClass)   ? Kind::Media
                                                                  : Kind::Video;
    auto component = std::make_shared<MediaComponent>(kind, controlName, std::move(raise), services_.timers);
    Made made;
    if (kind == Kind::Animation) {
        auto image = std::make_unique<platform::ImageControl>(controlName);
        image->SetBounds({0, 0, 32, 32});
        component->image = image.get();
        made.control = std::move(image);
    } else {
        // Videos are drawn on black, as the game's own video players are.
        auto display = std::make_unique<platform::PictureBox>(controlName);
        display->backColor = platform::kBlack;
        display->SetBounds({0, 0, 320, 240});
        component->voice = TakeVoice();
        platform::media::AudioEngine* audio = component->voice >= 0 ? services_.audio : nullptr;
        component->video =
            std::make_unique<frames::VideoPlayer>(services_.timers, services_.files, audio, component->voice);
        component->video->SetDisplay(display.get());
        if (kind == Kind::Media && audio)
            component->sound =
                std::make_unique<frames::MixerMediaPlayer>(*audio, services_.files, component->voice);
        std::weak_ptr<MediaComponent> weak = component;
        component->watch.SetHandler([weak] {
            if (std::shared_ptr<MediaComponent> held = weak.lock()) held->Notice(false);
        });
        component->watch.SetIntervalMs(kWatchIntervalMs);
        component->watch.SetEnabled(false);
        made.control = std::move(display);
    }
    made.control->SetVisible(false);
    WireMouse(*made.control, component);
    made.extender = vbscript::MakeRef<MediaExtender>(component, services_);
    components_.push_back(std::move(component));
    return made;
}

void MediaComponents::Remove(const std::string& controlName) {
    auto found = std::find_if(components_.begin(), components_.end(), [&](const auto& component) {
        return platform::SameName(component->controlName, controlName);
    });
    if (found == components_.end()) return;
    std::shared_ptr<MediaComponent> component = *found;
    components_.erase(found);
    component->removed = true;
    component->watch.SetEnabled(false);
    if (component->video) {
        component->video->Stop();
        component->video->SetDisplay(nullptr);
    }
    if (component->sound) component->sound->Stop();
    component->image = nullptr;
    retired_.push_back(std::move(component));
    ReleaseRetired();
}

void MediaComponents::ReleaseRetired() {
    std::erase_if(retired_,
                  [](const std::shared_ptr<MediaComponent>& component) { return component->raising == 0; });
}

}  // namespace taviro::scripting
