// The timers of timed events and of scripts.
#include "timed_events/timed_events.h"

#include <cmath>

#include "platform/game_error.h"

namespace taviro::timed_events {
namespace {

constexpr char kTimedEvent[] = "TimedEvent";
constexpr char kTimerObject[] = "TimerObject";

}  // namespace

TimedEvents::TimedEvents(project::Project& project, GameFlags& flags, platform::Form& form,
                         platform::TimerQueue& timers, TimedEventServices& services)
    : project_(project), flags_(flags), form_(form), timers_(timers), services_(services) {}

void TimedEvents::AddControls() {
    auto timedEvent = std::make_unique<platform::TimerControl>(timers_, kTimedEvent, 0);
    timedEvent->SetEnabled(false);
    timedEvent->events.timer = [this](platform::Control& timer) {
        // The code may open a frame, which unloads this timer and its handler: only locals from here.
        TimedEvents& events = *this;
        int number = timer.index().value_or(0);
        try {
            events.TimedEventFires(number);
        } catch (const std::exception&) {
            // A failure of the tick itself ends it quietly; script failures were reported by the host.
        }
    };
    form_.Add(std::move(timedEvent));

    auto scriptTimer = std::make_unique<platform::TimerControl>(timers_, kTimerObject, 0);
    scriptTimer->SetEnabled(false);
    scriptTimer->events.timer = [this](platform::Control& timer) { ScriptTimerFires(timer); };
    form_.Add(std::move(scriptTimer));
}

TimedEvents::~TimedEvents() {
    for (const char* array : {kTimedEvent, kTimerObject})
        for (platform::Control* timer : form_.Elements(array)) timer->parent()->Remove(*timer);
}

platform::TimerControl* TimedEvents::Element(int number) const {
    return static_cast<platform::TimerControl*>(form_.Find(kTimedEvent, number));
}

const platform::TimerControl* TimedEvents::TimedEvent(int number) const { return Element(number); }

std::vector<const platform::TimerControl*> TimedEvents::ScriptTimers() const {
    std::vector<const platform::TimerControl*> timers;
    for (platform::Control* timer : form_.Elements(kTimerObject))
        timers.push_back(static_cast<const platform::TimerControl*>(timer));
    return timers;
}

int TimedEvents::CreateTimedEvent(double durationSeconds, const std::string& code, bool repeatForever) {
    // 1. A timer holds at most 65535 ms.
    if (durationSeconds > kMaxTimedEventSeconds) {
        project_.reports().ShowErrorReport(
            " The duration of a timed event cannot be greater than 65 seconds.");
        return 0;
    }
    // 2-4. The next number after the highest timer, even when earlier events were removed.
    std::vector<platform::Control*> elements = form_.Elements(kTimedEvent);
    const int number = elements.empty() ? 1 : elements.back()->index().value_or(0) + 1;
    try {
        double intervalMs = std::round(durationSeconds * 1000);
        if (!(intervalMs >= 0)) throw platform::control_errors::InvalidPropertyValue();
        auto& timer = static_cast<platform::TimerControl&>(form_.Load(kTimedEvent, number));
        timer.SetEnabled(false);
        timer.Set("Interval", static_cast<int32_t>(intervalMs));
        table_.resize(static_cast<size_t>(number) + 1);
        table_[static_cast<size_t>(number)] = {true, repeatForever, code};
        return number;
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        project_.reports().ShowErrorReport(" Unable to create the timed event #" + std::to_string(number) +
                                           ". " + error.description());
        return 0;
    }
}

void TimedEvents::SwitchOff(int number) {
    if (platform::TimerControl* timer = Element(number)) {
        timer->SetEnabled(false);
        timer->Set("Interval", 0);
    }
}

void TimedEvents::RemoveTimedEvent(int number) {
    if (number < 1 || static_cast<size_t>(number) >= table_.size()) return;
    table_[static_cast<size_t>(number)].active = false;
    if (platform::TimerControl* timer = Element(number)) timer->SetEnabled(false);
}

void TimedEvents::ResetTimedEvents() {
    ++resets_;
    table_.assign(1, {});
    for (platform::Control* timer : form_.Elements(kTimedEvent)) {
        if (timer->index().value_or(0) != 0) form_.Unload(kTimedEvent, *timer->index());
    }
    SwitchOff(0);
}

void TimedEvents::StartTimedEvents() {
    for (size_t number = 1; number < table_.size(); ++number) {
        platform::TimerControl* timer = Element(static_cast<int>(number));
        if (timer && table_[number].active && !timer->enabled()) timer->SetEnabled(true);
    }
}

void TimedEvents::PauseTimedEvents() {
    for (platform::Control* timer : form_.Elements(kTimedEvent)) timer->SetEnabled(false);
}

void TimedEvents::TimedEventFires(int number) {
    if (flags_.GameStopping) return;
    if (number < 1 || static_cast<size_t>(number) >= table_.size()) return;
    TimedEventRecord& record = table_[static_cast<size_t>(number)];
    if (!record.active || record.code.empty()) return;
    // 1. An event that does not repeat has had its turn.
    if (!record.repeat) {
        record.active = false;
        SwitchOff(number);
    }
    // 2. The code may change frames, which resets the table under it.
    const std::string code = record.code;
    const uint64_t resetsBefore = resets_;
    bool failed = services_.ExecuteVBScriptAndConsequences(code, true);
    // 3. A failing event does not run again in this frame.
    if (failed && resets_ == resetsBefore) {
        table_[static_cast<size_t>(number)].active = false;
        SwitchOff(number);
    }
}

void TimedEvents::ScriptTimerFires(platform::Control& timer) {
    // 1. A script timer fires once each time it is switched on.
    if (flags_.GameStopping) return;
    timer.SetEnabled(false);
    const std::string procedure = kTimerObject + std::to_string(timer.index().value_or(0));
    // 2-3. The procedure runs with fresh requests, and what it asked for is carried out. The timer may be
    // unloaded by then: only locals from here.
    TimedEvents& events = *this;
    try {
        events.services_.ExecuteVBScriptAndConsequences(procedure, false);
    } catch (const std::exception& failure) {
        const GameError error = AsGameError(failure);
        // 4.
        events.project_.reports().dialogs().MessageBox(
            {"Error Executing VBScript Code",
             "Unable to execute the procedure named " + procedure + ". " + error.description(),
             platform::MessageIcon::Critical, platform::MessageButtons::Ok});
    }
}

}  // namespace taviro::timed_events
