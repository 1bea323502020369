// Thousands of complete games with random holds, swaps, line choices,
// categories and undos, checking the game's invariants after every step.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kGames = 2000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kGames = 2000;
#else
constexpr int kGames = 10000;
#endif
#else
constexpr int kGames = 10000;
#endif

class GameChecker {
public:
    explicit GameChecker(unsigned seed) : rng(seed) {}

    void PlayGame() {
        board.showColMarkers = Chance(2);
        board.StartGame();
        while (!board.gameOver && !::testing::Test::HasFatalFailure()) {
            Step();
            CheckInvariants();
        }
        if (::testing::Test::HasFatalFailure()) return;
        ASSERT_EQ(sheet.FilledCount(), 12);
        ASSERT_EQ(board.Total(), TotalFromCells());
    }

private:
    bool Chance(int oneIn) { return std::uniform_int_distribution<int>(0, oneIn - 1)(rng) == 0; }
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    void Step() {
        if (!board.IsSecondHalf()) {
            if (board.rollsUsed == 0 || (board.CanRoll() && Chance(2))) {
                for (int col = 0; col < 5; ++col)
                    if (Chance(3)) board.ToggleHold(DieIndex(board.handIndex, col));
                if (board.CanRoll()) {
                    ASSERT_TRUE(board.Roll());
                    board.FinishMotion();
                    return;
                }
            }
        } else {
            // A few swaps, some refused, then perhaps a line chosen by code.
            for (int n = Pick(4); n > 0; --n) {
                const int row = Pick(5);
                const int a = DieIndex(row, Pick(5));
                const int b = Chance(8) ? Pick(25) : DieIndex(row, Pick(5));
                CheckSwap(a, b);
            }
            if (board.selectedLine < 0 || Chance(3)) board.SelectLine(Pick(7));
            if (board.selectedLine < 0) return;
        }
        ScoreSomething();
    }

    void CheckSwap(int a, int b) {
        const DieState da = board.dice[a], db = board.dice[b];
        const bool expected = a != b && a / 5 == b / 5 && da.movable && db.movable;
        ASSERT_EQ(board.SwapDice(a, b), expected);
        if (expected) {
            ASSERT_EQ(board.dice[a].face, db.face);
            ASSERT_EQ(board.dice[b].colour, da.colour);
        }
    }

    void ScoreSomething() {
        const int code = 'a' + Pick(12);
        const bool wasFilled = sheet.IsFilled(code);
        const int handBefore = board.handIndex;
        const int rollsBefore = board.rollsUsed;
        int faces[5], colours[5];
        ASSERT_TRUE(board.GetLineFaces(faces));
        ASSERT_TRUE(board.GetLineColours(colours));

        const ScoreResult result = board.ScoreCategory(code);
        if (wasFilled) {
            ASSERT_EQ(result, ScoreResult::Refused);
            ASSERT_EQ(board.handIndex, handBefore);
            return;
        }
        ASSERT_EQ(result, ScoreResult::Scored);
        const int value = sheet.Value(code);
        ASSERT_EQ(value, ScoreHand(code, faces, colours).points);
        ASSERT_EQ(board.handIndex, handBefore + 1);
        if (board.gameOver || !Chance(4)) {
            board.FinishMotion();
            return;
        }

        // Undo: exactly this cell empties, the counters come back and the same
        // hand, scored again, is worth the same.
        const ScoreCells cellsBefore = sheet.Cells();
        ASSERT_TRUE(board.Undo());
        for (int i = 0; i < 12; ++i) {
            if (i == code - 'a') {
                ASSERT_FALSE(sheet.Cells()[i].filled);
            } else {
                ASSERT_EQ(sheet.Cells()[i].filled, cellsBefore[i].filled);
                ASSERT_EQ(sheet.Cells()[i].value, cellsBefore[i].value);
            }
        }
        ASSERT_EQ(board.handIndex, handBefore);
        ASSERT_EQ(board.rollsUsed, rollsBefore);
        ASSERT_FALSE(board.Undo());
        board.FinishMotion();
        int facesAgain[5], coloursAgain[5];
        ASSERT_TRUE(board.GetLineFaces(facesAgain));
        ASSERT_TRUE(board.GetLineColours(coloursAgain));
        for (int i = 0; i < 5; ++i) {
            ASSERT_EQ(facesAgain[i], faces[i]);
            ASSERT_EQ(coloursAgain[i], colours[i]);
        }
        CheckInvariants();
        if (Chance(2)) {
            ASSERT_EQ(board.ScoreCategory(code), ScoreResult::Scored);
            ASSERT_EQ(sheet.Value(code), value);
            board.FinishMotion();
        }
    }

    void CheckInvariants() {
        ASSERT_EQ(board.handIndex, sheet.FilledCount());
        ASSERT_GE(board.rollsUsed, 0);
        ASSERT_LE(board.rollsUsed, 3);
        int line[5];
        for (int l = 0; l < kLineCount; ++l) {
            if (!board.lineScored[l]) continue;
            GetLineDice(l, line);
            for (int index : line) ASSERT_FALSE(board.dice[index].movable) << "line " << l;
        }
        int scoredLines = 0;
        for (bool scored : board.lineScored) scoredLines += scored ? 1 : 0;
        ASSERT_EQ(scoredLines, board.handIndex > 5 ? board.handIndex - 5 : 0);
        for (const DieState& die : board.dice) {
            ASSERT_GE(die.face, 1);
            ASSERT_LE(die.face, 6);
            ASSERT_GE(die.colour, 0);
            ASSERT_LE(die.colour, 3);
            if (board.IsSecondHalf() && !board.gameOver) {
                ASSERT_EQ(die.locked, !die.movable);
            }
        }
        if (board.IsSecondHalf() && !board.gameOver) {
            for (int row = 0; row < 5; ++row) {
                int movable = 0;
                for (int col = 0; col < 5; ++col) movable += board.dice[DieIndex(row, col)].movable ? 1 : 0;
                ASSERT_NE(movable, 1) << "row " << row;
            }
        }
    }

    int TotalFromCells() const {
        int left = 0, right = 0;
        for (int i = 0; i < 12; ++i) (i < 6 ? left : right) += sheet.Cells()[i].value;
        const int leftFactor = left > 160 ? 10 : left > 140 ? 8 : left > 120 ? 6 : left > 100 ? 4 : left > 80 ? 2 : 1;
        const int rightFactor = right > 300 ? 6 : right > 250 ? 5 : right > 200 ? 4 : right > 150 ? 3 : right > 100 ? 2 : 1;
        return left * leftFactor + right * rightFactor;
    }

    std::mt19937 rng;
    CScoreCells sheet;
    CBoardState board{sheet};
};

TEST(BoardProperty, RandomCompleteGamesKeepTheirInvariants) {
    SeedRandom(20240611);
    GameChecker checker(7);
    for (int game = 0; game < kGames; ++game) {
        checker.PlayGame();
        ASSERT_FALSE(::testing::Test::HasFatalFailure()) << "game " << game;
    }
}

}  // namespace
