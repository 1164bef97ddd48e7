// The video players and animated pictures in the state dump, in frame pixels.
#include "app/game_state.h"

namespace taviro::app {
namespace {

using Json = nlohmann::ordered_json;

Json PlayerJson(frames::VideoPlayer& player, const platform::Control* container) {
    platform::Rect bounds = container ? container->bounds() : platform::Rect{};
    return Json{{"file", player.fileName()},
                {"state", static_cast<int>(player.GetPlayState())},
                {"visible", container && container->visible()},
                {"x", bounds.x},
                {"y", bounds.y},
                {"width", bounds.width},
                {"height", bounds.height}};
}

}  // namespace

void ContributeVideoState(platform::StateDump& dump, Game& game) {
    dump.Contribute("video", [&game] {
        frames::VideoPlayers& videos = game.videos();
        Json looping = Json::array();
        for (const auto& [hotspot, player] : videos.loopingPlayers()) {
            Json entry{{"hotspot", hotspot}};
            entry.update(PlayerJson(*player, videos.LoopingContainer(hotspot)));
            looping.push_back(entry);
        }
        return Json{{"one_time", PlayerJson(videos.GetOneTimeVideoPlayerRef(), &videos.oneTimeContainer())},
                    {"looping", looping}};
    });
    dump.Contribute("animations", [&game] {
        Json animations = Json::array();
        for (const frames::AnimatedPictures::Entry& entry : game.animations().Entries())
            animations.push_back({{"hotspot", entry.hotspot},
                                  {"file", entry.file},
                                  {"speed", entry.speed},
                                  {"visible", entry.visible},
                                  {"x", entry.bounds.x},
                                  {"y", entry.bounds.y},
                                  {"width", entry.bounds.width},
                                  {"height", entry.bounds.height}});
        return animations;
    });
}

}  // namespace taviro::app
