// Seeded dice: whatever a player holds, the k-th roll of the die at a place
// shows the same face and colour, and the game's generator is left alone.
#include <gtest/gtest.h>

#include <map>
#include <tuple>
#include <utility>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"

namespace {

using Place = std::tuple<int, int, int>;  // row, column, roll count
using Seen = std::map<Place, std::pair<int, int>>;

// Plays the first half holding by a rule of (row, roll), noting every die as
// it comes to rest under its place and roll count.
Seen PlayHolding(std::uint64_t seed, int (*holdMask)(int row, int roll)) {
    CScoreCells cells;
    CBoardState board{cells};
    GameSetup setup;
    setup.seeded = true;
    setup.seed = seed;
    board.StartGame(setup);
    Seen seen;
    for (int row = 0; row < kFirstHalfHands; ++row) {
        for (int roll = 0; roll < kMaxRolls; ++roll) {
            for (int col = 0; col < kBoardCols && roll > 0; ++col) {
                const int index = DieIndex(row, col);
                if (((holdMask(row, roll) >> col) & 1) != board.dice[index].held) board.ToggleHold(index);
            }
            if (!board.Roll()) break;
            board.FinishMotion();
            for (int col = 0; col < kBoardCols; ++col) {
                const int index = DieIndex(row, col);
                seen[{row, col, board.RollCount(index)}] = {board.dice[index].face, board.dice[index].colour};
            }
        }
        EXPECT_EQ(board.ScoreCategory('a' + row), ScoreResult::Scored);
        board.FinishMotion();
    }
    return seen;
}

int HoldNothing(int, int) { return 0; }
int HoldLeftTwo(int, int) { return 0b00011; }
int HoldByRow(int row, int roll) { return (row * 7 + roll * 5) & 0b11111; }

TEST(SeededDice, DifferentHoldsSeeTheSameDieAtTheSamePlaceAndRoll) {
    SeedRandom(99);
    const std::string generator = RandomState();
    const Seen a = PlayHolding(42, HoldNothing);
    const Seen b = PlayHolding(42, HoldLeftTwo);
    const Seen c = PlayHolding(42, HoldByRow);
    // The game's own generator is never drawn from: cosmetic draws cannot move the dice either.
    EXPECT_EQ(RandomState(), generator);
    int shared = 0, thirdRolls = 0;
    for (const Seen* other : {&b, &c}) {
        for (const auto& [place, die] : *other) {
            const auto same = a.find(place);
            ASSERT_NE(same, a.end());  // holding nothing rolls every die three times
            EXPECT_EQ(die, same->second) << std::get<0>(place) << "," << std::get<1>(place) << " roll "
                                         << std::get<2>(place);
            ++shared;
            if (std::get<2>(place) == 3) ++thirdRolls;
        }
    }
    EXPECT_GT(thirdRolls, 10);
    EXPECT_LT(b.size(), a.size());  // held dice were rolled fewer times
    EXPECT_GT(shared, 100);
    // Another seed, other dice.
    EXPECT_NE(PlayHolding(43, HoldNothing), a);
}

TEST(SeededDice, ASoloGameStillDrawsFromTheGeneratorAndCountsNothing) {
    SeedRandom(7);
    CScoreCells cells;
    CBoardState board{cells};
    board.StartGame();
    const std::string before = RandomState();
    ASSERT_TRUE(board.Roll());
    board.FinishMotion();
    EXPECT_NE(RandomState(), before);
    EXPECT_FALSE(board.Setup().seeded);
    EXPECT_EQ(board.RollCount(DieIndex(0, 0)), 0);
}

}  // namespace
