// The decisions of a game as the log notes them, and the review that weighs them.
#include <gtest/gtest.h>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"
#include "game/rules/coach/CoachReview.h"

using namespace coach;

namespace {

struct LoggedGame {
    CScoreCells sheet;
    CBoardState board{sheet};
    CDecisionLog log;

    LoggedGame() {
        SeedRandom(77);
        board.StartGame();
        Note();
    }
    void Note() { log.Observe(SnapshotOf(board, sheet)); }
    void Roll() {
        board.Roll();
        Note();
        board.FinishMotion();
        Note();
    }
    void Score(int code) {
        board.ScoreCategory(code);
        Note();
        board.FinishMotion();
        Note();
    }
};

TEST(CoachReview, TheLogNotesRerollsAndScoresAndForgetsAnUndoneScore) {
    LoggedGame g;
    g.Roll();
    g.board.ToggleHold(DieIndex(0, 1));
    g.board.ToggleHold(DieIndex(0, 3));
    g.Note();
    g.Roll();
    g.Score(kTotal);
    ASSERT_EQ(g.log.Decisions().size(), 2u);
    EXPECT_EQ(g.log.Decisions()[0].chosen.kind, ChoiceKind::Hold);
    EXPECT_EQ(g.log.Decisions()[0].chosen.holdMask, 0b01010);
    EXPECT_EQ(g.log.Decisions()[1].chosen.category, kTotal);
    EXPECT_EQ(g.log.Decisions()[1].before.rollsUsed, 2);

    g.board.Undo();
    g.Note();
    g.board.FinishMotion();
    EXPECT_EQ(g.log.Decisions().size(), 1u);
    g.Score(kSixes);
    EXPECT_EQ(g.log.Decisions().back().chosen.category, kSixes);
    EXPECT_TRUE(g.log.HasStart());
    EXPECT_EQ(g.log.Start().handIndex, 0);
}

TEST(CoachReview, SecondHalfDecisionsKeepTheBoardBeforeTheSwapsAndTheCostliestComeFirst) {
    LoggedGame g;
    for (int code : {kSixes, kFives, kFours, kThrees, kTwos}) {
        g.Roll();
        g.Score(code);
    }
    const CoachState handStart = SnapshotOf(g.board, g.sheet);
    g.board.SwapDice(DieIndex(0, 0), DieIndex(0, 1));
    g.Note();
    g.board.SelectLine(2);
    g.Score(kTotal);
    const Decision& d = g.log.Decisions().back();
    EXPECT_TRUE(SameState(d.before, handStart));
    EXPECT_FALSE(SameState(d.after, handStart));
    EXPECT_EQ(d.chosen.line, 2);
    EXPECT_EQ(d.chosen.category, kTotal);
    for (int line : {0, 1, 3, 4, 5, 6}) {
        g.board.SelectLine(line);
        int code = kFiveOfAKind;
        while (g.sheet.IsFilled(code)) ++code;
        g.Score(code);
    }
    ASSERT_TRUE(g.board.gameOver);
    EXPECT_EQ(g.log.Decisions().size(), 12u);

    const GameReview review = ReviewGame(CCoach({300, 24, 1500}), g.log, g.board.Total(), 3);
    EXPECT_EQ(review.finalTotal, g.board.Total());
    EXPECT_GT(review.expectedAtStart, 0);
    ASSERT_LE(review.costliest.size(), 3u);
    for (std::size_t i = 0; i < review.costliest.size(); ++i) {
        const ReviewedDecision& r = review.costliest[i];
        EXPECT_GT(r.cost, 0);
        EXPECT_DOUBLE_EQ(r.cost, r.preferred.expected - r.chosenValue);
        if (i > 0) {
            EXPECT_LE(r.cost, review.costliest[i - 1].cost);
        }
        EXPECT_FALSE(DescribeChoice(r.preferred, r.decision.before).empty());
    }
}

}  // namespace
