// The board model: rolls and holds, scoring, the second half's swaps, locking
// and line choice, and undo.
#include <gtest/gtest.h>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"

namespace {

class Board : public ::testing::Test {
protected:
    void SetUp() override {
        SeedRandom(1234);
        board.StartGame();
    }

    DieState& At(int row, int col) { return board.dice[DieIndex(row, col)]; }

    // Rolls the current row to rest and then puts the given hand on it.
    void RollRow(const int faces[5], const int colours[5]) {
        ASSERT_TRUE(board.Roll());
        board.FinishMotion();
        for (int col = 0; col < 5; ++col) {
            At(board.handIndex, col).face = faces[col];
            At(board.handIndex, col).colour = colours[col];
        }
    }
    void RollRow() {
        ASSERT_TRUE(board.Roll());
        board.FinishMotion();
    }

    // Plays the first half, scoring rows into 'a'..'e' (rows are random).
    void PlayFirstHalf() {
        for (int row = 0; row < 5; ++row) {
            RollRow();
            ASSERT_EQ(board.ScoreCategory('a' + row), ScoreResult::Scored);
            board.FinishMotion();
        }
        ASSERT_TRUE(board.IsSecondHalf());
    }

    void ScoreLine(int line, int code) {
        ASSERT_TRUE(line == board.selectedLine || board.SelectLine(line));
        ASSERT_EQ(board.ScoreCategory(code), ScoreResult::Scored);
    }

    CScoreCells sheet;
    CBoardState board{sheet};
};

TEST_F(Board, NewGameWaitsForTheFirstRoll) {
    EXPECT_EQ(board.handIndex, 0);
    EXPECT_TRUE(board.CanRoll());
    for (const DieState& die : board.dice) {
        EXPECT_TRUE(die.locked);
        EXPECT_TRUE(die.movable);
        EXPECT_EQ(die.row, -1);
    }
    EXPECT_FALSE(board.ToggleHold(DieIndex(0, 0)));
    // A category before the first roll of a row is ignored, not refused.
    EXPECT_EQ(board.ScoreCategory('f'), ScoreResult::Ignored);
    EXPECT_EQ(sheet.FilledCount(), 0);
}

TEST_F(Board, ARollHasTwoMomentsColourThenFace) {
    ASSERT_TRUE(board.Roll());
    const int index = DieIndex(0, 2);
    EXPECT_TRUE(board.dice[index].rollPending);
    EXPECT_FALSE(board.CanRoll());
    EXPECT_EQ(board.ScoreCategory('f'), ScoreResult::Ignored);  // dice still on their way

    const int faceBefore = board.dice[index].face;
    board.StartDieRoll(index);
    EXPECT_TRUE(board.dice[index].rolling);
    EXPECT_EQ(board.dice[index].face, faceBefore);  // the face is drawn only at the end
    int faces[5];
    EXPECT_FALSE(board.GetLineFaces(faces));

    // Draw all five: colours 0..3 and faces 1..6 must all turn up over many rolls.
    bool colourSeen[4] = {}, faceSeen[7] = {};
    for (int game = 0; game < 60; ++game) {
        board.StartGame();
        ASSERT_TRUE(board.Roll());
        board.FinishMotion();
        for (int col = 0; col < 5; ++col) {
            colourSeen[At(0, col).colour] = true;
            faceSeen[At(0, col).face] = true;
        }
    }
    for (bool seen : colourSeen) EXPECT_TRUE(seen);
    for (int f = 1; f <= 6; ++f) EXPECT_TRUE(faceSeen[f]) << f;
    // At rest after the first roll: the row may be held and scored.
    EXPECT_FALSE(At(0, 0).locked);
    EXPECT_TRUE(board.GetLineFaces(faces));
}

TEST_F(Board, HeldDiceKeepFaceAndColourAndAreNotCounted) {
    RollRow();
    const DieState keep1 = At(0, 1), keep3 = At(0, 3);
    ASSERT_TRUE(board.ToggleHold(DieIndex(0, 1)));
    ASSERT_TRUE(board.ToggleHold(DieIndex(0, 3)));
    ASSERT_TRUE(board.Roll());
    EXPECT_EQ(board.rerolledCount, 3);
    EXPECT_FALSE(At(0, 1).rollPending);
    EXPECT_TRUE(At(0, 0).rollPending);
    EXPECT_EQ(At(0, 0).row, -1);  // rises before it is rolled again
    // While the row is busy its dice stay locked, held or not.
    EXPECT_FALSE(board.ToggleHold(DieIndex(0, 1)));
    board.FinishMotion();
    EXPECT_EQ(At(0, 1).face, keep1.face);
    EXPECT_EQ(At(0, 1).colour, keep1.colour);
    EXPECT_EQ(At(0, 3).face, keep3.face);
    EXPECT_TRUE(At(0, 1).held);
    EXPECT_FALSE(At(0, 1).locked);
}

TEST_F(Board, AllFiveHeldBlocksTheRollUntilOneIsReleased) {
    RollRow();
    for (int col = 0; col < 5; ++col) ASSERT_TRUE(board.ToggleHold(DieIndex(0, col)));
    EXPECT_FALSE(board.CanRoll());
    EXPECT_FALSE(board.Roll());
    EXPECT_EQ(board.rollsUsed, 1);
    ASSERT_TRUE(board.ToggleHold(DieIndex(0, 4)));
    EXPECT_TRUE(board.Roll());
    EXPECT_EQ(board.rerolledCount, 1);
}

TEST_F(Board, AfterTheThirdRollOnlyScoringIsLeft) {
    RollRow();
    ASSERT_TRUE(board.ToggleHold(DieIndex(0, 0)));
    RollRow();
    RollRow();
    EXPECT_EQ(board.rollsUsed, 3);
    for (int col = 0; col < 5; ++col) {
        EXPECT_FALSE(At(0, col).held);
        EXPECT_TRUE(At(0, col).locked);
        EXPECT_FALSE(board.ToggleHold(DieIndex(0, col)));
    }
    EXPECT_FALSE(board.Roll());
    EXPECT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    EXPECT_EQ(board.handIndex, 1);
    EXPECT_EQ(board.rollsUsed, 0);
}

TEST_F(Board, HoldsOnlyOnTheCurrentRow) {
    RollRow();
    EXPECT_FALSE(board.ToggleHold(DieIndex(1, 0)));
    ASSERT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    board.FinishMotion();
    EXPECT_FALSE(board.ToggleHold(DieIndex(0, 0)));  // a scored row is locked
    EXPECT_TRUE(At(0, 0).locked);
    EXPECT_EQ(At(0, 0).row, 0);
}

TEST_F(Board, AScratchUsesTheCategoryUpAndAFilledCellIsRefused) {
    const int faces[5] = {1, 2, 3, 5, 6}, colours[5] = {0, 1, 2, 3, 0};
    RollRow(faces, colours);
    ASSERT_EQ(board.ScoreCategory('c'), ScoreResult::Scored);
    EXPECT_TRUE(sheet.IsFilled('c'));
    EXPECT_EQ(sheet.Value('c'), 0);
    board.FinishMotion();
    RollRow(faces, colours);
    EXPECT_EQ(board.ScoreCategory('c'), ScoreResult::Refused);
    EXPECT_EQ(board.handIndex, 1);
    EXPECT_EQ(board.ScoreCategory(96), ScoreResult::Ignored);
    EXPECT_EQ(board.ScoreCategory('a'), ScoreResult::Scored);
    EXPECT_EQ(sheet.Value('a'), 12);
}

TEST_F(Board, FifthHandOpensTheSecondHalf) {
    PlayFirstHalf();
    EXPECT_EQ(board.handIndex, 5);
    EXPECT_EQ(board.selectedLine, -1);
    EXPECT_FALSE(board.CanRoll());
    for (const DieState& die : board.dice) {
        EXPECT_TRUE(die.movable);
        EXPECT_FALSE(die.locked);
        EXPECT_FALSE(die.held);
    }
    // No line chosen: the hand is incomplete and scoring is refused.
    EXPECT_EQ(board.ScoreCategory('f'), ScoreResult::Refused);
    EXPECT_FALSE(board.ToggleHold(DieIndex(4, 0)));
    EXPECT_TRUE(board.SelectLine(0));
    int faces[5];
    ASSERT_TRUE(board.GetLineFaces(faces));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(faces[i], At(4 - i, i).face);  // falling diagonal from (4,0)
    ASSERT_TRUE(board.SelectLine(3));
    ASSERT_TRUE(board.GetLineFaces(faces));
    for (int i = 0; i < 5; ++i) EXPECT_EQ(faces[i], At(i, 2).face);  // column 2 from row 0 up
}

TEST_F(Board, LineCodesDoNothingInTheFirstHalf) {
    RollRow();
    EXPECT_FALSE(board.SelectLine(2));
    EXPECT_FALSE(board.SwapDice(DieIndex(0, 0), DieIndex(0, 1)));
    EXPECT_EQ(board.selectedLine, -1);
}

TEST_F(Board, SwapsCountTheLinesThroughTheTargetPlace) {
    PlayFirstHalf();
    const DieState a = At(2, 0), b = At(2, 2);
    ASSERT_TRUE(board.SwapDice(DieIndex(2, 0), DieIndex(2, 2)));
    EXPECT_EQ(At(2, 2).face, a.face);
    EXPECT_EQ(At(2, 2).colour, a.colour);
    EXPECT_EQ(At(2, 0).face, b.face);
    // The centre lies on column 2 (line 3) and both diagonals: once each.
    const int afterCentre[7] = {1, 0, 0, 1, 0, 0, 1};
    for (int l = 0; l < 7; ++l) EXPECT_EQ(board.lineMoveCount[l], afterCentre[l]) << l;
    EXPECT_EQ(board.selectedLine, 3);

    ASSERT_TRUE(board.SwapDice(DieIndex(1, 0), DieIndex(1, 3)));  // (1,3): column 3 and the falling diagonal
    const int afterSecond[7] = {2, 0, 0, 1, 1, 0, 1};
    for (int l = 0; l < 7; ++l) EXPECT_EQ(board.lineMoveCount[l], afterSecond[l]) << l;
    ASSERT_TRUE(board.SwapDice(DieIndex(0, 4), DieIndex(0, 0)));  // (0,0): column 0 and the rising diagonal
    const int afterThird[7] = {2, 1, 0, 1, 1, 0, 2};
    for (int l = 0; l < 7; ++l) EXPECT_EQ(board.lineMoveCount[l], afterThird[l]) << l;
}

TEST_F(Board, RefusedSwapsChangeNothing) {
    PlayFirstHalf();
    const DieState before = At(1, 1);
    EXPECT_FALSE(board.SwapDice(DieIndex(1, 1), DieIndex(2, 1)));  // another row
    EXPECT_FALSE(board.SwapDice(DieIndex(1, 1), DieIndex(1, 1)));  // itself
    EXPECT_FALSE(board.SwapDice(DieIndex(1, 1), 25));
    EXPECT_EQ(At(1, 1).face, before.face);
    for (int count : board.lineMoveCount) EXPECT_EQ(count, 0);
    EXPECT_EQ(board.selectedLine, -1);

    ScoreLine(1, 'f');  // column 0 is used up: its dice cannot move
    EXPECT_FALSE(At(1, 0).movable);
    EXPECT_FALSE(board.SwapDice(DieIndex(1, 1), DieIndex(1, 0)));
    EXPECT_FALSE(board.SwapDice(DieIndex(1, 0), DieIndex(1, 1)));
}

TEST_F(Board, SwapOntoTheMarkedLineKeepsTheSelectionOnlyWhenMarkersShow) {
    PlayFirstHalf();
    ASSERT_TRUE(board.SelectLine(6));  // rising diagonal, through (3,3)
    ASSERT_TRUE(board.SwapDice(DieIndex(3, 0), DieIndex(3, 3)));
    EXPECT_EQ(board.selectedLine, 6);
    board.showColMarkers = false;
    ASSERT_TRUE(board.SwapDice(DieIndex(3, 0), DieIndex(3, 3)));
    EXPECT_EQ(board.selectedLine, 4);  // the target's column
}

TEST_F(Board, ARowWithOneMovableDieIsFixed) {
    PlayFirstHalf();
    ScoreLine(1, 'f');
    ScoreLine(2, 'g');
    ScoreLine(3, 'h');
    // Columns 3 and 4 are still free: two movable dice in every row.
    for (int row = 0; row < 5; ++row) {
        EXPECT_TRUE(At(row, 3).movable);
        EXPECT_TRUE(At(row, 4).movable);
    }
    ScoreLine(4, 'i');
    // Column 4 is unscored, but each of its dice is alone in its row.
    for (int row = 0; row < 5; ++row) {
        EXPECT_FALSE(At(row, 4).movable);
        EXPECT_TRUE(At(row, 4).locked);
        EXPECT_FALSE(board.SwapDice(DieIndex(row, 4), DieIndex(row, 3)));
    }
    EXPECT_FALSE(board.AnyMovable());
}

TEST_F(Board, NextLineFollowsTheMoveCountsAndTheLastLineIsAutomatic) {
    PlayFirstHalf();
    ASSERT_TRUE(board.SwapDice(DieIndex(0, 0), DieIndex(0, 4)));  // column 4 (line 5), falling diagonal
    ASSERT_TRUE(board.SwapDice(DieIndex(1, 0), DieIndex(1, 4)));  // line 5 again
    ScoreLine(0, 'f');
    EXPECT_EQ(board.selectedLine, 5);  // highest count among the unscored lines
    ScoreLine(5, 'g');
    EXPECT_EQ(board.selectedLine, 1);  // all counts equal: the lowest line
    // Changing the line by code after the first second-half hand lowers the
    // count of the line selected before, also when it is chosen again.
    ASSERT_TRUE(board.SelectLine(1));
    EXPECT_EQ(board.lineMoveCount[1], -1);
    ASSERT_TRUE(board.SelectLine(2));
    EXPECT_EQ(board.lineMoveCount[1], -2);
    EXPECT_FALSE(board.SelectLine(5));  // scored
    ScoreLine(2, 'h');
    EXPECT_EQ(board.selectedLine, 3);  // line 1 now lags behind
    ScoreLine(3, 'i');
    ScoreLine(4, 'j');
    // One line left after the sixth second-half hand: it is selected.
    ASSERT_EQ(board.handIndex, 10);
    ScoreLine(6, 'k');
    EXPECT_EQ(board.selectedLine, 1);
    EXPECT_TRUE(board.IsLastHand());
    EXPECT_EQ(board.ScoreCategory('l'), ScoreResult::Scored);
    EXPECT_TRUE(board.gameOver);
    EXPECT_EQ(board.handIndex, 12);
    EXPECT_FALSE(board.AnyMovable());
    EXPECT_EQ(board.Total(), sheet.Totals().total);
    // Nothing more is accepted.
    EXPECT_FALSE(board.Roll());
    EXPECT_FALSE(board.SelectLine(1));
    EXPECT_EQ(board.ScoreCategory('a'), ScoreResult::Ignored);
}

TEST_F(Board, FirstSecondHalfLineChoiceDoesNotLowerCounts) {
    PlayFirstHalf();
    ASSERT_TRUE(board.SelectLine(2));
    ASSERT_TRUE(board.SelectLine(3));
    for (int count : board.lineMoveCount) EXPECT_EQ(count, 0);
}

TEST_F(Board, UndoOfARowBringsItBackToTheRollingPlace) {
    RollRow();
    ASSERT_TRUE(board.ToggleHold(DieIndex(0, 2)));
    RollRow();
    int faces[5], colours[5];
    ASSERT_TRUE(board.GetLineFaces(faces));
    ASSERT_TRUE(board.GetLineColours(colours));
    ASSERT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    const int value = sheet.Value('f');
    board.FinishMotion();

    ASSERT_TRUE(board.Undo());
    EXPECT_EQ(board.handIndex, 0);
    EXPECT_EQ(board.rollsUsed, 2);
    EXPECT_FALSE(sheet.IsFilled('f'));
    EXPECT_FALSE(board.Undo());  // once only
    EXPECT_EQ(board.ScoreCategory('f'), ScoreResult::Ignored);  // still rising
    board.FinishMotion();
    EXPECT_FALSE(At(0, 0).locked);  // two rolls used: holds allowed again
    EXPECT_FALSE(At(0, 2).held);
    int after[5], afterColours[5];
    ASSERT_TRUE(board.GetLineFaces(after));
    ASSERT_TRUE(board.GetLineColours(afterColours));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(after[i], faces[i]);
        EXPECT_EQ(afterColours[i], colours[i]);
    }
    EXPECT_TRUE(board.CanRoll());  // the third roll is still there
    ASSERT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    EXPECT_EQ(sheet.Value('f'), value);
}

TEST_F(Board, UndoIsGoneOnceTheNextRowIsRolledOrTheGameIsOver) {
    RollRow();
    ASSERT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    board.FinishMotion();
    RollRow();
    EXPECT_FALSE(board.Undo());
    EXPECT_TRUE(sheet.IsFilled('f'));
    EXPECT_EQ(board.handIndex, 1);

    board.StartGame();
    for (int hand = 0; hand < 12; ++hand) {
        if (!board.IsSecondHalf()) RollRow();
        if (board.IsSecondHalf() && board.selectedLine < 0) {
            ASSERT_TRUE(board.SelectLine(0));
        }
        ASSERT_EQ(board.ScoreCategory('a' + hand), ScoreResult::Scored);
        board.FinishMotion();
    }
    ASSERT_TRUE(board.gameOver);
    EXPECT_FALSE(board.Undo());
    EXPECT_EQ(sheet.FilledCount(), 12);
}

TEST_F(Board, UndoOfTheFifthHandWithdrawsTheSecondHalf) {
    for (int row = 0; row < 4; ++row) {
        RollRow();
        ASSERT_EQ(board.ScoreCategory('a' + row), ScoreResult::Scored);
        board.FinishMotion();
    }
    RollRow();
    RollRow();
    ASSERT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    ASSERT_TRUE(board.SelectLine(2));
    ASSERT_TRUE(board.Undo());
    EXPECT_EQ(board.handIndex, 4);
    EXPECT_EQ(board.rollsUsed, 2);
    EXPECT_EQ(board.selectedLine, -1);
    EXPECT_FALSE(board.IsSecondHalf());
    for (int row = 0; row < 4; ++row) EXPECT_TRUE(At(row, 0).locked);
    EXPECT_FALSE(At(4, 0).locked);  // row 4 is at rest and has a roll left
    EXPECT_TRUE(board.CanRoll());
    EXPECT_FALSE(board.SwapDice(DieIndex(4, 0), DieIndex(4, 1)));
}

TEST_F(Board, UndoOfASecondHalfHandReopensItsLine) {
    PlayFirstHalf();
    ScoreLine(3, 'f');
    ASSERT_FALSE(At(2, 2).movable);
    const int value = sheet.Value('f');
    ASSERT_TRUE(board.Undo());
    EXPECT_EQ(board.handIndex, 5);
    EXPECT_EQ(board.selectedLine, 3);
    EXPECT_TRUE(At(2, 2).movable);
    EXPECT_EQ(board.ScoreCategory('f'), ScoreResult::Scored);
    EXPECT_EQ(sheet.Value('f'), value);
    // A swap after the fill keeps it.
    ASSERT_TRUE(board.SwapDice(DieIndex(0, 0), DieIndex(0, 1)));
    EXPECT_FALSE(board.Undo());
}

TEST_F(Board, ClickModePicks) {
    PlayFirstHalf();
    EXPECT_EQ(board.PickDie(DieIndex(1, 1)), PickResult::Picked);
    EXPECT_TRUE(At(1, 1).held);
    EXPECT_EQ(board.PickDie(DieIndex(1, 1)), PickResult::Unpicked);
    EXPECT_EQ(board.pickedDie, -1);
    EXPECT_EQ(board.PickDie(DieIndex(1, 1)), PickResult::Picked);
    EXPECT_EQ(board.PickDie(DieIndex(2, 1)), PickResult::Refused);
    EXPECT_EQ(board.pickedDie, DieIndex(1, 1));
    EXPECT_EQ(board.PickDie(DieIndex(1, 4)), PickResult::Swapped);
    EXPECT_EQ(board.pickedDie, -1);
    EXPECT_FALSE(At(1, 1).held);
    EXPECT_EQ(board.selectedLine, 5);
    ScoreLine(5, 'f');
    EXPECT_EQ(board.PickDie(DieIndex(0, 4)), PickResult::Ignored);  // fixed die
}

}  // namespace
