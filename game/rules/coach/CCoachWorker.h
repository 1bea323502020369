#pragma once
// The coach on a thread of its own, so that the game never waits for it: ask,
// then poll for the answer each frame or take it in a callback (which runs
// on the coach's thread). A question asked while another is still waiting
// replaces it; only the newest state is worth an answer.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "game/rules/coach/CCoach.h"

namespace coach {

class CCoachWorker {
public:
    using Callback = std::function<void(unsigned ticket, const CoachAdvice& advice)>;

    explicit CCoachWorker(CoachBudget budget = {});
    ~CCoachWorker();
    CCoachWorker(const CCoachWorker&) = delete;
    CCoachWorker& operator=(const CCoachWorker&) = delete;

    // Returns the question's ticket (never 0).
    unsigned Ask(const CoachState& state, std::uint64_t seed, Callback done = {});
    // The answer to the ticket, once it is ready (and until a newer one is).
    std::optional<CoachAdvice> Poll(unsigned ticket) const;
    // Forgets the question not yet started and any answer.
    void Cancel();

private:
    void Run();

    struct Question {
        unsigned ticket;
        CoachState state;
        std::uint64_t seed;
        Callback done;
    };

    const CCoach coach;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::optional<Question> waiting;
    unsigned answeredTicket = 0;
    CoachAdvice answer;
    unsigned lastTicket = 0;
    unsigned cancelledUpTo = 0;  // questions up to this one get no answer
    bool stopping = false;
    std::thread thread;  // last: starts once the rest is ready
};

}  // namespace coach
