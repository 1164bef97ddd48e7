// Timed events: pieces of author code that run after a delay, once or repeatedly, while the frame
// that made them is open; and the script timers "TimerObject", which call a procedure named after
// the timer when it fires.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/form.h"
#include "project/game_flags.h"
#include "project/project.h"

namespace taviro::timed_events {

// What a firing timer asks of the scripts.
class TimedEventServices {
public:
    virtual ~TimedEventServices() = default;
    // Runs author code with fresh Action requests and carries out what it asked (a frame, quitting, a
    // saved-game window); true when it failed. Pumps events.
    virtual bool ExecuteVBScriptAndConsequences(const std::string& code, bool flag) = 0;
};

// One row of the timed-event table; row 0 belongs to the template timer and never runs.
struct TimedEventRecord {
    bool active = false;
    bool repeat = false;
    std::string code;
};

// The longest delay a timer holds.
inline constexpr double kMaxTimedEventSeconds = 65;

class TimedEvents {
public:
    TimedEvents(project::Project& project, GameFlags& flags, platform::Form& form,
                platform::TimerQueue& timers, TimedEventServices& services);
    // The timers go with the events whose code they run: the window may outlive them.
    ~TimedEvents();
    TimedEvents(const TimedEvents&) = delete;
    TimedEvents& operator=(const TimedEvents&) = delete;

    // Creates the templates of the timer arrays "TimedEvent" and "TimerObject" (element 0 of each).
    void AddControls();

    // A new event, waiting for the next StartTimedEvents; its number, or 0 when the duration is over
    // 65 seconds or invalid (reported).
    int CreateTimedEvent(double durationSeconds, const std::string& code, bool repeatForever);
    // Switches event n off for good; other numbers are ignored.
    void RemoveTimedEvent(int number);
    // Every event goes; numbers start again at 1.
    void ResetTimedEvents();
    // Switches on every active event that is not running; a paused one starts a fresh interval.
    void StartTimedEvents();
    // Switches every event off; they keep their rows.
    void PauseTimedEvents();

    const std::vector<TimedEventRecord>& table() const { return table_; }
    // Timer n of "TimedEvent", or nullptr.
    const platform::TimerControl* TimedEvent(int number) const;
    // The loaded script timers, element 0 included.
    std::vector<const platform::TimerControl*> ScriptTimers() const;

private:
    void TimedEventFires(int number);
    void ScriptTimerFires(platform::Control& timer);
    platform::TimerControl* Element(int number) const;
    void SwitchOff(int number);

    project::Project& project_;
    GameFlags& flags_;
    platform::Form& form_;
    platform::TimerQueue& timers_;
    TimedEventServices& services_;
    std::vector<TimedEventRecord> table_{1};
    // Counts resets, so that a firing event whose code opened another frame leaves the new frame's
    // events alone.
    uint64_t resets_ = 0;
};

}  // namespace taviro::timed_events
