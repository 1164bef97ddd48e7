// Field names of the game's part of the state dump.
#include "app/game_state.h"

#include "platform/controls/control_kinds.h"

namespace taviro::app {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kKeys[] = {"frame",     "history", "variables", "removed_hotspots", "hotspots", "texts",
                                 "inventory", "message", "dialogue",  "timers",           "players",
                                 "video",     "animations"};
constexpr const char* kEffectsKeys[] = {"transition", "water"};

void ContributeEffectsState(platform::StateDump& dump, Game& game) {
    dump.Contribute("transition", [&game] {
        effects::Transitions& transitions = game.transitions();
        const bool running = transitions.TransitionRunning();
        return Json{{"running", running},
                    {"kind", running ? transitions.kind() : 0},
                    {"progress", transitions.progress()}};
    });
    dump.Contribute("water", [&game] {
        effects::RipplingWater& water = game.water();
        if (!water.RipplingWaterActive()) return Json{{"active", false}};
        const effects::WaterSettings& settings = water.settings();
        return Json{{"active", true},
                    {"x", settings.area.x},
                    {"y", settings.area.y},
                    {"width", settings.area.width},
                    {"height", settings.area.height},
                    {"amplitude", settings.WaveAmplitude},
                    {"speed", settings.WaveSpeed},
                    {"direction", settings.WaveDirection}};
    });
}
// The keys of plugins and components.
constexpr const char* kComponentKeys[] = {"plugins", "components"};

Json VariantJson(const vbscript::Variant& value) {
    std::optional<std::string> text = logic::VariantText(value);
    if (!text) return nullptr;
    switch (value.type()) {
        case vbscript::VarType::Integer: return value.integer();
        case vbscript::VarType::Long: return value.longValue();
        case vbscript::VarType::Byte: return value.byte();
        case vbscript::VarType::Single:
        case vbscript::VarType::Double: return value.doubleValue();
        case vbscript::VarType::Boolean: return value.boolean();
        default: return *text;
    }
}

Json TimerJson(const platform::TimerControl& timer) {
    return Json{{"number", timer.index().value_or(0)},
                {"interval_ms", timer.intervalMs()},
                {"running", timer.enabled() && timer.intervalMs() > 0}};
}

void ContributeGameLogicState(platform::StateDump& dump, Game& game) {
    dump.Contribute("inventory", [&game] {
        inventory::Inventory& inventory = game.inventory();
        Json icons = Json::array();
        for (int i = 1; i <= inventory.ObjectsCount(); ++i) {
            const platform::Rect& bounds = inventory.Icon(i)->bounds();
            icons.push_back({{"x", bounds.x}, {"y", bounds.y}});
        }
        return Json{{"items", inventory.names()},
                    {"icons", icons},
                    {"shown", inventory.bar().shown()},
                    {"bar_top", inventory.bar().top()},
                    {"bar_height", inventory.bar().height()},
                    {"menus_shown", inventory.menusShown()}};
    });
    dump.Contribute("message", [&game] {
        messages::MessageStrip& messages = game.messages();
        return Json{{"visible", messages.visible()},
                    {"text", messages.visible() ? messages.text() : std::string()},
                    {"hide_in_ms", messages.hideIntervalMs()}};
    });
    dump.Contribute("dialogue", [&game] {
        dialogues::Dialogue& dialogue = game.dialogue();
        Json lines = Json::array();
        for (const dialogues::DialogueLine& line : dialogue.lines()) {
            lines.push_back({{"id", line.id},
                             {"text", line.question},
                             {"visible", line.visible},
                             {"chosen", line.chosen}});
        }
        return Json{{"running", dialogue.running()}, {"name", dialogue.name()}, {"lines", lines}};
    });
    dump.Contribute("timers", [&game] {
        timed_events::TimedEvents& events = game.timedEvents();
        Json timed = Json::array();
        for (size_t n = 1; n < events.table().size(); ++n) {
            const platform::TimerControl* timer = events.TimedEvent(static_cast<int>(n));
            if (!timer) continue;
            Json entry = TimerJson(*timer);
            entry["repeat"] = events.table()[n].repeat;
            entry["active"] = events.table()[n].active;
            timed.push_back(entry);
        }
        Json scriptTimers = Json::array();
        for (const platform::TimerControl* timer : events.ScriptTimers())
            scriptTimers.push_back(TimerJson(*timer));
        const platform::Timer& frameTimer = game.frames().frameTimer();
        return Json{{"frame_timer",
                     {{"interval_ms", frameTimer.intervalMs()},
                      {"running", frameTimer.enabled() && frameTimer.intervalMs() > 0}}},
                    {"timed_events", timed},
                    {"script_timers", scriptTimers}};
    });
    dump.Contribute("players", [&game] {
        Json players = Json::array();
        for (int number = 0; number <= 7; ++number) {
            const frames::MediaPlayer* player = game.sounds().ExistingPlayer(number);
            if (!player) continue;
            players.push_back({{"number", number},
                               {"file", player->FileName()},
                               {"state", static_cast<int>(player->GetPlayState())},
                               {"volume", player->Volume()},
                               {"play_count", player->PlayCount()}});
        }
        return players;
    });
    dump.Contribute("plugins", [&game] { return Json(game.plugins().names()); });
    dump.Contribute("components", [&game] {
        Json components = Json::array();
        for (const scripting::Components::Entry& entry : game.components().ComponentsList()) {
            components.push_back({{"name", entry.name},
                                  {"progid", game.components().ProgIdOf(entry.sink)},
                                  {"sink", entry.sink}});
        }
        return components;
    });
}

}  // namespace

void ContributeGameState(platform::StateDump& dump, Game& game, const platform::Form& form) {
    dump.Contribute("frame", [&game] {
        const frames::CurrentFrame& frame = game.currentFrame();
        return Json{{"name", frame.name},
                    {"background_kind", frame.header.backgroundKind},
                    {"background", frame.header.backgroundValue},
                    {"tiled", frame.header.tiled},
                    {"links", frame.linksNumber},
                    {"merged_hotspot_index", frame.MergedHotspotIndex},
                    {"merged_text_index", frame.MergedTextIndex},
                    {"timer_destination", game.frames().timerDestination()},
                    {"timer_enabled", game.frames().frameTimer().enabled()},
                    {"timer_interval_ms", game.frames().frameTimer().intervalMs()}};
    });
    dump.Contribute("history", [&game] { return Json(game.history().names()); });
    dump.Contribute("variables", [&game] {
        Json integers = Json::object(), variants = Json::object();
        for (const auto& variable : game.variables().Variables.members())
            integers[variable->Name] = variable->Value;
        for (const auto& variable : game.variables().VariablesVariant.members()) {
            variants[variable->Name] = VariantJson(variable->Value);
        }
        return Json{{"integer", integers}, {"variant", variants}};
    });
    dump.Contribute("removed_hotspots", [&game] {
        Json removed = Json::array();
        for (const auto& entry : game.variables().Disappear.members()) {
            removed.push_back({{"frame", entry->Name}, {"hotspot", entry->Value}});
        }
        return removed;
    });
    dump.Contribute("hotspots", [&form] {
        Json hotspots = Json::array();
        for (const platform::Control* area : form.Elements("Area")) {
            if (area->index().value_or(0) < 1) continue;
            const platform::Rect& bounds = area->bounds();
            hotspots.push_back({{"index", *area->index()},
                                {"visible", area->visible()},
                                {"x", bounds.x},
                                {"y", bounds.y},
                                {"width", bounds.width},
                                {"height", bounds.height},
                                {"picture", static_cast<const platform::ImageControl*>(area)->picture}});
        }
        return hotspots;
    });
    dump.Contribute("texts", [&form] {
        Json texts = Json::array();
        for (const platform::Control* element : form.Elements("Text")) {
            if (element->index().value_or(0) < 1) continue;
            auto* label = static_cast<const platform::Label*>(element);
            texts.push_back({{"index", *element->index()},
                             {"caption", label->caption},
                             {"x", element->bounds().x},
                             {"y", element->bounds().y},
                             {"font", label->font.name},
                             {"size", label->font.sizePoints},
                             {"bold", label->font.bold},
                             {"italic", label->font.italic},
                             {"underline", label->font.underline},
                             {"strikeout", label->font.strikeout},
                             {"colour", label->foreColor}});
        }
        return texts;
    });
    ContributeGameLogicState(dump, game);
    ContributeEffectsState(dump, game);
    ContributeVideoState(dump, game);
}

void WithdrawGameState(platform::StateDump& dump) {
    for (const char* key : kKeys) dump.Withdraw(key);
    for (const char* key : kEffectsKeys) dump.Withdraw(key);
    for (const char* key : kComponentKeys) dump.Withdraw(key);
}

}  // namespace taviro::app
