// Speed of the rules: valuing hands, simulating complete games, and recording
// a finished game durably on a real settings store.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/HandScore.h"
#include "game/rules/Random.h"
#include "game/rules/Records.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/SettingsSandbox.h"

namespace {

struct Hand {
    int faces[5];
    int colours[5];
};

std::vector<Hand> RandomHands(int count) {
    std::mt19937 rng(99);
    std::vector<Hand> hands(count);
    for (Hand& h : hands) {
        for (int i = 0; i < 5; ++i) {
            h.faces[i] = 1 + static_cast<int>(rng() % 6);
            h.colours[i] = static_cast<int>(rng() % 4);
        }
    }
    return hands;
}

// All twelve categories of one hand per iteration.
void BM_ScoreHandTwelveCategories(benchmark::State& state) {
    const std::vector<Hand> hands = RandomHands(4096);
    std::size_t next = 0;
    for (auto _ : state) {
        const Hand& h = hands[next++ & 4095];
        int sum = 0;
        for (int code = kFirstCategory; code <= kLastCategory; ++code) sum += ScoreHand(code, h.faces, h.colours).points;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ScoreHandTwelveCategories);

// One complete game per iteration: rolls with holds, swaps, line choices and scoring.
void BM_CompleteGame(benchmark::State& state) {
    SeedRandom(5);
    std::mt19937 rng(11);
    CScoreCells sheet;
    CBoardState board(sheet);
    for (auto _ : state) {
        board.StartGame();
        int nextCategory = 0;
        while (!board.gameOver) {
            if (!board.IsSecondHalf()) {
                board.Roll();
                board.FinishMotion();
                while (board.rollsUsed < 3 && rng() % 2) {
                    for (int col = 0; col < 5; ++col)
                        if (rng() % 2) board.ToggleHold(DieIndex(board.handIndex, col));
                    if (!board.Roll()) break;
                    board.FinishMotion();
                }
            } else {
                for (int n = 0; n < 3; ++n) {
                    const int row = static_cast<int>(rng() % 5);
                    board.SwapDice(DieIndex(row, static_cast<int>(rng() % 5)), DieIndex(row, static_cast<int>(rng() % 5)));
                }
                if (board.selectedLine < 0) board.SelectLine(static_cast<int>(rng() % 7));
                if (board.selectedLine < 0) continue;
            }
            while (sheet.IsFilled(kFirstCategory + nextCategory)) nextCategory = (nextCategory + 1) % 12;
            board.ScoreCategory(kFirstCategory + nextCategory);
            board.FinishMotion();
        }
        benchmark::DoNotOptimize(board.Total());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CompleteGame);

// One finished game recorded (one durable transaction) per iteration.
void BM_RecordGameFinished(benchmark::State& state) {
    SettingsSandbox sandbox;
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("Initials", "ABC", "Config");
    int total = 100;
    for (auto _ : state) {
        int posAll = 0, posMine = 0;
        RecordGameFinished(total, &posAll, &posMine);
        total = 100 + (total * 7) % 900;
        benchmark::DoNotOptimize(posAll);
    }
}
BENCHMARK(BM_RecordGameFinished)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
