#pragma once
// The process-wide game clock. Time is in seconds; the engine reads application
// time and turns it into ticks of 1/256 second.

#include <cstdint>

enum GameTimerCommand {
    TIMER_RESET = 0,
    TIMER_START = 1,
    TIMER_STOP = 2,
    TIMER_ADVANCE = 3,
    TIMER_GETABSOLUTETIME = 4,
    TIMER_GETAPPTIME = 5,
    TIMER_GETELAPSEDTIME = 6,
};

// Runs one command; returns its result (0 for the state commands, seconds for the
// queries, -1 for an unknown command). Called from the game's thread only.
double GameTimer(int command);

// Tests only: replace the clock source (nanoseconds of a monotonic clock) and
// forget all timer state. Passing nullptr restores the steady clock.
using GameTimerClock = std::int64_t (*)();
void SetGameTimerClock(GameTimerClock clock);

// The engine's tick count of the application time (seconds x 256, truncated).
inline std::int32_t GameTicks() { return static_cast<std::int32_t>(GameTimer(TIMER_GETAPPTIME) * 256.0); }
