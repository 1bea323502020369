#pragma once
// The duel opponent's game, played whole on a thread of its own as the duel
// begins, so that the table never waits for it (a Hard game takes about a
// second and a half of one core). The table polls for the finished game.

#include <atomic>
#include <cstdint>
#include <thread>

#include "game/rules/coach/DuelOpponent.h"

namespace coach {

class COpponentWorker {
public:
    COpponentWorker(std::uint64_t seed, OpponentLevel level);
    // Stops the game between two decisions and waits for the thread.
    ~COpponentWorker();
    COpponentWorker(const COpponentWorker&) = delete;
    COpponentWorker& operator=(const COpponentWorker&) = delete;

    // The game once it is over (null before); it never changes after that.
    const OpponentGame* Result() const { return done.load(std::memory_order_acquire) ? &game : nullptr; }
    // Asks the game to stop without waiting: a worker given up ends soon, and
    // its owner collects it once Ended.
    void Stop() { stop = true; }
    bool Ended() const { return done.load(std::memory_order_acquire); }

private:
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
    OpponentGame game;
    std::thread thread;  // last: starts once the rest is ready
};

}  // namespace coach
