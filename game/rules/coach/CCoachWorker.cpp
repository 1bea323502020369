#include "game/rules/coach/CCoachWorker.h"

namespace coach {

CCoachWorker::CCoachWorker(CoachBudget budget) : coach(budget), thread([this] { Run(); }) {}

CCoachWorker::~CCoachWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        waiting.reset();
    }
    wake.notify_one();
    thread.join();
}

unsigned CCoachWorker::Ask(const CoachState& state, std::uint64_t seed, Callback done) {
    unsigned ticket;
    {
        std::lock_guard<std::mutex> lock(mutex);
        ticket = ++lastTicket;
        if (ticket == 0) ticket = ++lastTicket;
        waiting = Question{ticket, state, seed, std::move(done)};
    }
    wake.notify_one();
    return ticket;
}

std::optional<CoachAdvice> CCoachWorker::Poll(unsigned ticket) const {
    std::lock_guard<std::mutex> lock(mutex);
    if (ticket == 0 || ticket != answeredTicket) return std::nullopt;
    return answer;
}

void CCoachWorker::Cancel() {
    std::lock_guard<std::mutex> lock(mutex);
    waiting.reset();
    cancelledUpTo = lastTicket;
    answeredTicket = 0;
    answer = {};
}

void CCoachWorker::Run() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || waiting.has_value(); });
        if (stopping) return;
        Question question = std::move(*waiting);
        waiting.reset();
        lock.unlock();
        CoachAdvice advice = coach.Advise(question.state, question.seed);
        if (question.done) question.done(question.ticket, advice);
        lock.lock();
        // A Cancel meanwhile, or a newer answer, keeps this one out.
        if (question.ticket > answeredTicket && question.ticket > cancelledUpTo) {
            answeredTicket = question.ticket;
            answer = std::move(advice);
        }
    }
}

}  // namespace coach
