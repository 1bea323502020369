// Rules the board tests leave out: the reading order of every line (and lines
// outside the board), a plain click choosing a column, and undoing a row
// scored after its third roll.
#include <gtest/gtest.h>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"

namespace {

class Rules : public ::testing::Test {
protected:
    void SetUp() override {
        SeedRandom(99);
        board.StartGame();
    }
    DieState& At(int row, int col) { return board.dice[DieIndex(row, col)]; }
    void Roll() {
        ASSERT_TRUE(board.Roll());
        board.FinishMotion();
    }
    void PlayFirstHalf() {
        for (int row = 0; row < kFirstHalfHands; ++row) {
            Roll();
            ASSERT_EQ(board.ScoreCategory('a' + row), ScoreResult::Scored);
            board.FinishMotion();
        }
    }
    CScoreCells sheet;
    CBoardState board{sheet};
};

TEST(LineDice, EveryLineReadsInItsOrderAndOthersGiveNoDie) {
    struct Case {
        int line;
        int rows[kHandSize];
        int cols[kHandSize];
    };
    const Case cases[] = {
        {0, {4, 3, 2, 1, 0}, {0, 1, 2, 3, 4}}, {1, {0, 1, 2, 3, 4}, {0, 0, 0, 0, 0}},
        {2, {0, 1, 2, 3, 4}, {1, 1, 1, 1, 1}}, {3, {0, 1, 2, 3, 4}, {2, 2, 2, 2, 2}},
        {4, {0, 1, 2, 3, 4}, {3, 3, 3, 3, 3}}, {5, {0, 1, 2, 3, 4}, {4, 4, 4, 4, 4}},
        {6, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        int dice[kHandSize];
        ASSERT_TRUE(GetLineDice(c.line, dice)) << c.line;
        for (int i = 0; i < kHandSize; ++i) {
            EXPECT_EQ(dice[i], DieIndex(c.rows[i], c.cols[i])) << "line " << c.line << " die " << i;
            EXPECT_TRUE(IsDieOnLine(c.line, c.rows[i], c.cols[i]));
        }
    }
    for (const int line : {-1, 7, 8, 1000, -2147483647 - 1}) {
        int dice[kHandSize] = {3, 3, 3, 3, 3};
        EXPECT_FALSE(GetLineDice(line, dice)) << line;
        for (const int index : dice) EXPECT_EQ(index, -1) << line;
        EXPECT_FALSE(IsDieOnLine(line, 0, 0));
    }
}

TEST_F(Rules, TheHandOfTheRisingDiagonalAndOfEveryColumnReadsFromRowZeroUp) {
    PlayFirstHalf();
    for (int row = 0; row < kBoardRows; ++row)
        for (int col = 0; col < kBoardCols; ++col) At(row, col).face = row + 1;
    for (const int line : {1, 2, 3, 4, 5, 6}) {
        ASSERT_TRUE(board.SelectLine(line));
        int faces[kHandSize];
        ASSERT_TRUE(board.GetLineFaces(faces));
        for (int i = 0; i < kHandSize; ++i) EXPECT_EQ(faces[i], i + 1) << "line " << line;
    }
}

TEST_F(Rules, APlainClickSelectsTheDiesColumnUnlessItIsScored) {
    Roll();
    EXPECT_FALSE(board.SelectDieColumn(DieIndex(0, 2)));  // first half
    EXPECT_EQ(board.selectedLine, -1);
    ASSERT_EQ(board.ScoreCategory('a'), ScoreResult::Scored);
    board.FinishMotion();
    for (int row = 1; row < kFirstHalfHands; ++row) {
        Roll();
        ASSERT_EQ(board.ScoreCategory('a' + row), ScoreResult::Scored);
        board.FinishMotion();
    }
    EXPECT_TRUE(board.SelectDieColumn(DieIndex(3, 2)));
    EXPECT_EQ(board.selectedLine, 3);
    EXPECT_TRUE(board.SelectDieColumn(DieIndex(0, 4)));
    EXPECT_EQ(board.selectedLine, 5);
    ASSERT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);  // column 4 used up
    ASSERT_TRUE(board.SelectLine(1));
    EXPECT_FALSE(board.SelectDieColumn(DieIndex(2, 4)));
    EXPECT_EQ(board.selectedLine, 1);
    EXPECT_FALSE(board.SelectDieColumn(kDieCount));
    EXPECT_FALSE(board.SelectDieColumn(-1));
}

TEST_F(Rules, UndoingARowScoredAfterItsThirdRollLeavesOnlyScoring) {
    Roll();
    Roll();
    Roll();
    int faces[kHandSize];
    ASSERT_TRUE(board.GetLineFaces(faces));
    ASSERT_EQ(board.ScoreCategory('g'), ScoreResult::Scored);
    const int value = sheet.Value('g');
    board.FinishMotion();
    ASSERT_TRUE(board.Undo());
    board.FinishMotion();
    EXPECT_EQ(board.handIndex, 0);
    EXPECT_EQ(board.rollsUsed, kMaxRolls);
    EXPECT_FALSE(board.CanRoll());
    EXPECT_FALSE(board.Roll());
    for (int col = 0; col < kBoardCols; ++col) {
        EXPECT_FALSE(board.ToggleHold(DieIndex(0, col)));
        EXPECT_EQ(At(0, col).face, faces[col]);
    }
    ASSERT_EQ(board.ScoreCategory('g'), ScoreResult::Scored);
    EXPECT_EQ(sheet.Value('g'), value);
    EXPECT_EQ(board.handIndex, 1);
}

}  // namespace
