// Frames during a duel: the computer plays its whole game on a thread of its
// own as the duel begins, and the player's frames must not wait for it. The
// whole program runs in-process on SDL's dummy drivers and plays a game by
// keys, paced at 60 frames a second of real time as the game's loop is (so
// the computer's thread runs beside it as it would); each frame's wall time
// is taken, without the wait that paces it.
//
//   thinking_max_ms, thinking_p99_ms, thinking_mean_ms
//                    frames run while the computer's game was still being played
//   rest_max_ms, rest_p99_ms, rest_mean_ms
//                    the game's other frames
//   thinking_frames  how many frames ran while it thought
// Arg 0 is a solo game (no computer: every frame counts as "rest"), 1..3 a
// duel against Easy, Medium or Hard.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "common/actors/CActorSprite.h"
#include "common/widgets/CActorButton.h"
#include "game/play/CDuelPanel.h"
#include "tests/support/HeadlessBenchmarks.h"
#include "tests/support/ProgramTestSupport.h"

namespace {

constexpr int kFrameTicks = 4;  // about 60 frames a second

class DuelProgram : public e2e::ProgramTest {
public:
    void TestBody() override {}

    bool Start(int level) {
        SetUp();
        StoreDword("DiceSpeed", 1);
        StoreDword("Opponent", level);
        StartProgram(36);
        return !testing::Test::HasFatalFailure() && Scene() != nullptr;
    }
    void Stop() { TearDown(); }

    // One frame, timed and counted as thinking or not.
    void TimedFrame() {
        const CDuelPanel* duel = Scene()->duelPanel.get();
        const bool thinking = duel && duel->InDuel() && !duel->Opponent();
        const auto start = std::chrono::steady_clock::now();
        Frame(kFrameTicks);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        (thinking ? thinkingFrames : restFrames).push_back(ms);
        std::this_thread::sleep_until(start + std::chrono::microseconds(16667));
    }
    template <typename Done>
    void Until(Done done) {
        for (int ticks = 0; ticks < 256 * 60 && !done(); ticks += kFrameTicks) TimedFrame();
    }
    bool RollEnabled() {
        const CActorButton* roll = Scene()->rollButton;
        return roll && !roll->hidden && roll->GetState() != kStateDisabled;
    }
    void ScoreFirstFree() {
        for (int code = kFirstCategory; code <= kLastCategory; ++code)
            if (!Scene()->boardCells.IsFilled(code)) {
                Tap(static_cast<SDL_Keycode>(SDLK_a + CategoryIndex(code)));
                return;
            }
    }
    // A game by keys: every row rolled twice, the second half line by line,
    // then frames until the end card (in a duel) is up.
    bool PlayGame() {
        Until([&] { return Shown(Scene()->pasIntro); });
        Tap(SDLK_SPACE);
        CBoardState& board = Scene()->board;
        for (int row = 0; row < kFirstHalfHands; ++row) {
            for (int roll = 1; roll <= 2; ++roll) {
                Until([&] { return RollEnabled(); });
                Tap(SDLK_RETURN);
                TimedFrame();
            }
            Until([&] { return RollEnabled(); });
            ScoreFirstFree();
        }
        for (int hand = kFirstHalfHands; hand < kCategoryCount; ++hand) {
            int line = 0;
            while (board.lineScored[line]) ++line;
            Tap(static_cast<SDL_Keycode>(SDLK_1 + line));
            Until([&] { return board.selectedLine == line; });
            ScoreFirstFree();
        }
        const CDuelPanel* duel = Scene()->duelPanel.get();
        Until([&] { return Scene()->gameOver && (!duel->InDuel() || duel->CardShown()); });
        return Scene()->gameOver != 0;
    }

    std::vector<double> thinkingFrames, restFrames;
};

double Mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

double Quantile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

void BM_DuelFrames(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DuelProgram program;
        if (!program.Start(level)) {
            state.SkipWithError("the program did not start");
            return;
        }
        if (!program.PlayGame()) {
            state.SkipWithError("the game did not end");
            return;
        }
        const auto& t = program.thinkingFrames;
        const auto& r = program.restFrames;
        state.counters["thinking_frames"] = static_cast<double>(t.size());
        state.counters["thinking_max_ms"] = t.empty() ? 0 : *std::max_element(t.begin(), t.end());
        state.counters["thinking_p99_ms"] = Quantile(t, 0.99);
        state.counters["thinking_mean_ms"] = Mean(t);
        state.counters["rest_max_ms"] = r.empty() ? 0 : *std::max_element(r.begin(), r.end());
        state.counters["rest_p99_ms"] = Quantile(r, 0.99);
        state.counters["rest_mean_ms"] = Mean(r);
        program.Stop();
    }
    static const char* const names[] = {"solo", "Easy", "Medium", "Hard"};
    state.SetLabel(names[level]);
}
BENCHMARK(BM_DuelFrames)->Arg(0)->Arg(1)->Arg(3)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
