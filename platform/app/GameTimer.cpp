#include "platform/app/GameTimer.h"

#include <chrono>

namespace {

// The counter runs in nanoseconds; moments are counter values, and a stop time of
// 0 means running, as with the high-resolution counter the clock was designed on.
constexpr std::int64_t kFrequency = 1'000'000'000;

std::int64_t SteadyNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct TimerState {
    GameTimerClock clock = SteadyNow;
    std::int64_t baseTime = 0;
    std::int64_t stopTime = 0;
    std::int64_t lastElapsedTime = 0;
    bool stopped = false;
};

TimerState state;

double Seconds(std::int64_t counts) { return static_cast<double>(counts) / static_cast<double>(kFrequency); }

}  // namespace

void SetGameTimerClock(GameTimerClock clock) { state = TimerState{clock ? clock : SteadyNow}; }

double GameTimer(int command) {
    std::int64_t t;
    if (state.stopTime != 0 && command != TIMER_START && command != TIMER_GETABSOLUTETIME)
        t = state.stopTime;
    else
        t = state.clock();

    switch (command) {
    case TIMER_RESET:
        state.baseTime = t;
        state.stopTime = 0;
        state.stopped = false;
        state.lastElapsedTime = t;
        return 0.0;
    case TIMER_START:
        if (state.stopped) state.baseTime += t - state.stopTime;
        state.stopTime = 0;
        state.stopped = false;
        state.lastElapsedTime = t;
        return 0.0;
    case TIMER_STOP:
        state.stopTime = t;
        state.lastElapsedTime = t;
        state.stopped = true;
        return 0.0;
    case TIMER_ADVANCE:
        state.stopTime += kFrequency / 10;
        return 0.0;
    case TIMER_GETABSOLUTETIME:
        return Seconds(t);
    case TIMER_GETAPPTIME:
        return Seconds(t - state.baseTime);
    case TIMER_GETELAPSEDTIME: {
        double elapsed = Seconds(t - state.lastElapsedTime);
        state.lastElapsedTime = t;
        return elapsed;
    }
    default:
        return -1.0;
    }
}
