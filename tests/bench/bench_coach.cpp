// Time the coach takes to advise, on the states that cost it most: early in
// the first half (most playouts to the end, most choices), the last row, and
// the start of the second half (most lines and categories still open); and
// the time the review of a whole game takes.
#include <benchmark/benchmark.h>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"
#include "game/rules/coach/CCoach.h"
#include "game/rules/coach/CoachReview.h"

namespace {

// A game played by simple moves up to the wanted hand and roll count, each
// moment noted in the log.
coach::CoachState StateAt(int handIndex, int rollsUsed, coach::CDecisionLog* log = nullptr, int* total = nullptr) {
    SeedRandom(7);
    CScoreCells sheet;
    CBoardState board(sheet);
    board.StartGame();
    auto note = [&] {
        if (log) log->Observe(coach::SnapshotOf(board, sheet));
    };
    note();
    int next = 0;
    while (board.handIndex < handIndex && !board.gameOver) {
        if (!board.IsSecondHalf()) {
            board.Roll();
            board.FinishMotion();
            note();
            // One roll more keeping the first die, for the log to note a hold.
            board.ToggleHold(DieIndex(board.handIndex, 0));
            board.Roll();
            board.FinishMotion();
            note();
        } else {
            for (int line = 0; line < kLineCount; ++line)
                if (!board.lineScored[line]) board.SelectLine(line);
        }
        while (sheet.IsFilled(kFirstCategory + next)) ++next;
        board.ScoreCategory(kFirstCategory + next);
        board.FinishMotion();
        note();
    }
    for (int r = 0; r < rollsUsed; ++r) {
        board.Roll();
        board.FinishMotion();
    }
    if (total) *total = board.Total();
    return coach::SnapshotOf(board, sheet);
}

void BM_Advice(benchmark::State& st) {
    const coach::CoachState state = StateAt(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
    const coach::CCoach coach;
    std::uint64_t seed = 1;
    for (auto _ : st) benchmark::DoNotOptimize(coach.Advise(state, seed++).Best());
}
BENCHMARK(BM_Advice)
    ->ArgNames({"hand", "rolls"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({3, 2})
    ->Args({4, 1})
    ->Args({4, 2})
    ->Args({4, 3})
    ->Args({5, 0})
    ->Args({6, 0})
    ->Args({8, 0})
    ->Args({11, 0})
    ->Unit(benchmark::kMillisecond);

// The review of a whole game at the end of it.
void BM_Review(benchmark::State& st) {
    coach::CDecisionLog log;
    int total = 0;
    StateAt(12, 0, &log, &total);
    const coach::CCoach coach(coach::kReviewBudget);
    for (auto _ : st) benchmark::DoNotOptimize(coach::ReviewGame(coach, log, total, 1).expectedAtStart);
}
BENCHMARK(BM_Review)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
