// The computer's game in a duel: played on the duel's own dice, the same game
// again from the same seed, stopped when asked; and the look back at where a
// player's choices and the computer's parted on the same dice.
#include <gtest/gtest.h>

#include <atomic>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/coach/CoachReview.h"
#include "game/rules/coach/DuelOpponent.h"

using namespace coach;

namespace {

// A small budget: these tests are about the game around the advice.
const CCoach kQuickCoach(CoachBudget{40, 30, 800});

GameSetup Seeded(std::uint64_t seed) {
    GameSetup setup;
    setup.seeded = true;
    setup.seed = seed;
    return setup;
}

TEST(DuelOpponent, PlaysTheDuelsDiceAndTheSameGameAgainFromItsSeed) {
    for (OpponentLevel level : {OpponentLevel::Easy, OpponentLevel::Hard}) {
        const OpponentGame a = PlayOpponentGame(2026, level, kQuickCoach);
        const OpponentGame b = PlayOpponentGame(2026, level, kQuickCoach);
        ASSERT_TRUE(a.finished);
        EXPECT_EQ(a.total, b.total);
        EXPECT_EQ(a.log.Decisions().size(), b.log.Decisions().size());
        EXPECT_EQ(a.totalAfter[0], 0);
        EXPECT_EQ(a.totalAfter[kCategoryCount], a.total);
        for (int h = 0; h < kCategoryCount; ++h) EXPECT_LE(a.totalAfter[h], a.totalAfter[h + 1]) << h;
        for (const ScoreCell& cell : a.cells) EXPECT_TRUE(cell.filled);

        // Its first look at row 1 is the row a player of the duel rolls first.
        CScoreCells cells;
        CBoardState board{cells};
        board.StartGame(Seeded(2026));
        ASSERT_TRUE(board.Roll());
        board.FinishMotion();
        ASSERT_FALSE(a.log.Decisions().empty());
        const CoachState& first = a.log.Decisions().front().before;
        for (int col = 0; col < kBoardCols; ++col) {
            EXPECT_EQ(first.face[col], board.dice[col].face);
            EXPECT_EQ(first.colour[col], board.dice[col].colour);
        }
    }
    EXPECT_NE(PlayOpponentGame(2027, OpponentLevel::Hard, kQuickCoach).total,
              PlayOpponentGame(2026, OpponentLevel::Hard, kQuickCoach).total);
}

TEST(DuelOpponent, AGameToldToStopEndsUnfinished) {
    std::atomic<bool> stop{true};
    const OpponentGame game = PlayOpponentGame(5, OpponentLevel::Hard, kQuickCoach, &stop);
    EXPECT_FALSE(game.finished);
    EXPECT_EQ(game.total, 0);
}

// Plays rows 1 and 2 on the seed's dice: the given holds before the row's
// second roll, then scores the row into its code.
CDecisionLog PlayRows(int firstRowHold, int firstRowCode) {
    CScoreCells cells;
    CBoardState board{cells};
    board.StartGame(Seeded(77));
    CDecisionLog log;
    log.Observe(SnapshotOf(board, cells));
    const int holds[2] = {firstRowHold, 0b11111};
    const int codes[2] = {firstRowCode, 'a'};
    for (int row = 0; row < 2; ++row) {
        board.Roll();
        board.FinishMotion();
        log.Observe(SnapshotOf(board, cells));
        if (holds[row] != 0b11111) {
            for (int col = 0; col < kBoardCols; ++col)
                if (holds[row] & (1 << col)) board.ToggleHold(DieIndex(row, col));
            log.Observe(SnapshotOf(board, cells));
            board.Roll();
            board.FinishMotion();
            log.Observe(SnapshotOf(board, cells));
        }
        board.ScoreCategory(codes[row]);
        board.FinishMotion();
        log.Observe(SnapshotOf(board, cells));
    }
    return log;
}

TEST(DuelReview, TheGamesPartWhereTheChoicesOnTheSameDiceFirstDiffer) {
    const CDecisionLog scoredAtOnce = PlayRows(0b11111, 'h');
    const CDecisionLog rolledOn = PlayRows(0b00011, 'g');
    // Row 1 parts at its first roll; row 2 is played alike and does not part.
    const std::vector<DuelParting> partings = CompareDuel(scoredAtOnce, rolledOn);
    ASSERT_EQ(partings.size(), 1u);
    EXPECT_EQ(partings[0].mine.before.handIndex, 0);
    EXPECT_EQ(partings[0].mine.chosen.kind, ChoiceKind::Score);
    EXPECT_EQ(partings[0].theirs.chosen.kind, ChoiceKind::Hold);
    EXPECT_EQ(partings[0].myCategory, 'h');
    EXPECT_EQ(partings[0].theirCategory, 'g');
    const auto [mine, theirs] = DescribeParting(partings[0], "Hard");
    EXPECT_EQ(mine, "Row 1, roll 1: you scored Flush for " + std::to_string(partings[0].myPoints) + ".");
    EXPECT_EQ(theirs.rfind("Hard: keep the ", 0), 0u) << theirs;
    EXPECT_NE(theirs.find("; scored Five of a kind for "), std::string::npos) << theirs;
    // A game compared with itself never parts.
    EXPECT_TRUE(CompareDuel(rolledOn, rolledOn).empty());
}

}  // namespace
