// The player's pace: how long the game keeps a player waiting, at Normal and
// at Fast dice. The whole program runs in-process on SDL's dummy drivers with
// a game clock of its own, driven by real key events at about 60 frames a
// second; the figures are game seconds (what a player would wait), reported as
// counters, not the CPU time the frames took.
//
//   game_seconds     a whole game played by keys with no thinking: every row
//                    rolled three times (nothing held), each hand scored as
//                    soon as it can be, the second half line by line
//   return_to_roll   from the release of Return to the roll button enabled again,
//                    for the first roll of a row (five dice fall and roll)
//   reroll           the same for a second roll with nothing held (five dice
//                    rise, fall and roll)
#include <benchmark/benchmark.h>

#include "common/widgets/CActorButton.h"
#include "game/play/CActorDie.h"
#include "tests/support/HeadlessBenchmarks.h"
#include "tests/support/ProgramTestSupport.h"

namespace {

constexpr int kFrameTicks = 4;  // about 60 frames a second
constexpr double kTicksPerSecond = 256.0;

class PaceProgram : public e2e::ProgramTest {
public:
    void TestBody() override {}

    bool Start(int diceSpeed) {
        SetUp();
        StoreDword("DiceSpeed", diceSpeed);
        StartProgram(21);
        return !testing::Test::HasFatalFailure() && Scene() != nullptr;
    }
    void Stop() { TearDown(); }

    CBoardState& Board() { return Scene()->board; }
    bool GameOver() { return Scene() && Scene()->gameOver; }
    bool RowAtRest() {
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& die = Board().dice[DieIndex(Board().handIndex, col)];
            if (die.row != kRollingRow || die.rolling || die.moving || die.rollPending) return false;
        }
        return true;
    }
    bool RollEnabled() {
        const CActorButton* roll = Scene()->rollButton;
        return roll && !roll->hidden && roll->GetState() != kStateDisabled;
    }
    // Frames until the test holds; the game ticks that took.
    template <typename Done>
    int Until(Done done) {
        int ticks = 0;
        for (; ticks < 256 * 60 && !done(); ticks += kFrameTicks) Frame(kFrameTicks);
        return ticks;
    }
    int FirstFreeCategory() {
        for (int code = kFirstCategory; code <= kLastCategory; ++code)
            if (!Scene()->boardCells.IsFilled(code)) return code;
        return 0;
    }
    void ScoreFirstFree() { Tap(static_cast<SDL_Keycode>(SDLK_a + CategoryIndex(FirstFreeCategory()))); }

    // One whole game; the ticks it took and every Return-to-roll wait.
    int PlayGame(std::vector<int>* rollWaits) {
        int ticks = Until([&] { return Shown(Scene()->pasIntro); });
        Tap(SDLK_SPACE);  // the intro ends at once
        for (int row = 0; row < kFirstHalfHands; ++row) {
            for (int roll = 1; roll <= kMaxRolls; ++roll) {
                ticks += Until([&] { return RollEnabled(); });
                Tap(SDLK_RETURN);
                if (Board().rollsUsed != roll) return -1;  // the roll was refused
                // The button shows the roll on the next frame.
                Frame(kFrameTicks);
                const int wait = kFrameTicks + Until([&] { return roll == kMaxRolls ? RowAtRest() : RollEnabled(); });
                rollWaits->push_back(wait);
                ticks += wait;
            }
            ScoreFirstFree();
        }
        for (int hand = kFirstHalfHands; hand < kCategoryCount; ++hand) {
            // The first line not yet scored, by its digit.
            int line = 0;
            while (Board().lineScored[line]) ++line;
            Tap(static_cast<SDL_Keycode>(SDLK_1 + line));
            ticks += Until([&] { return Board().selectedLine == line; });
            ScoreFirstFree();
        }
        ticks += Until([&] { return Scene()->gameOver; });
        return ticks;
    }
};

void BM_ScriptedGame(benchmark::State& state) {
    const int speed = static_cast<int>(state.range(0));
    double gameSeconds = 0, rollSeconds = 0, rerollSeconds = 0;
    int games = 0;
    for (auto _ : state) {
        PaceProgram program;
        if (!program.Start(speed)) {
            state.SkipWithError("the program did not start");
            return;
        }
        std::vector<int> waits;
        const int ticks = program.PlayGame(&waits);
        if (ticks < 0 || !program.GameOver()) {
            state.SkipWithError("the game did not end");
            return;
        }
        gameSeconds += ticks / kTicksPerSecond;
        double first = 0, second = 0;
        for (std::size_t i = 0; i + 1 < waits.size(); i += kMaxRolls) first += waits[i], second += waits[i + 1];
        rollSeconds += first / kFirstHalfHands / kTicksPerSecond;
        rerollSeconds += second / kFirstHalfHands / kTicksPerSecond;
        ++games;
        program.Stop();
    }
    state.counters["game_seconds"] = gameSeconds / games;
    state.counters["return_to_roll"] = rollSeconds / games;
    state.counters["reroll"] = rerollSeconds / games;
    state.SetLabel(speed ? "Fast" : "Normal");
}
BENCHMARK(BM_ScriptedGame)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunHeadlessBenchmarks(argc, argv); }
