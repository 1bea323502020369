// The coach on boards whose best move is known, and the words of its card.
#include <gtest/gtest.h>

#include <set>

#include "game/rules/coach/CCoach.h"
#include "game/rules/coach/CoachReview.h"

using namespace coach;

namespace {

const CoachBudget kStateBudget{};

void PutRow(CoachState& s, int row, std::array<int, 5> faces, std::array<int, 5> colours) {
    for (int col = 0; col < 5; ++col) {
        s.face[DieIndex(row, col)] = faces[col];
        s.colour[DieIndex(row, col)] = colours[col];
    }
}

// A game at `row`: the rows below it made and scored as a fair player would.
CoachState FirstHalfAt(int row, int rolls) {
    struct Made {
        std::array<int, 5> faces, colours;
        int code, points;
    } made[4] = {
        {{5, 5, 5, 5, 2}, {0, 1, 2, 3, 0}, kFives, 40},
        {{4, 4, 4, 1, 6}, {1, 1, 2, 3, 0}, kFours, 27},
        {{3, 3, 3, 6, 6}, {2, 0, 2, 3, 2}, kFullHouse, 31},
        {{6, 5, 4, 3, 2}, {3, 0, 1, 2, 0}, kStraight, 45},
    };
    CoachState s;
    for (int r = 0; r < row; ++r) {
        PutRow(s, r, made[r].faces, made[r].colours);
        s.cells[CategoryIndex(made[r].code)] = {true, made[r].points};
    }
    s.handIndex = row;
    s.rollsUsed = rolls;
    return s;
}

TEST(CoachStates, MadeHandsWithTheirCategoryOpenAreScored) {
    struct Case {
        int row, rolls;
        std::array<int, 5> faces, colours;
        int code;
    } cases[] = {
        // Five sixes of one colour at any row, Sixes open as well.
        {0, 1, {6, 6, 6, 6, 6}, {0, 0, 0, 0, 0}, kFiveOfAKind},
        {1, 1, {6, 6, 6, 6, 6}, {1, 1, 1, 1, 1}, kFiveOfAKind},
        {2, 2, {6, 6, 6, 6, 6}, {3, 3, 3, 3, 3}, kFiveOfAKind},
        {3, 1, {6, 6, 6, 6, 6}, {0, 0, 0, 0, 0}, kFiveOfAKind},
        {4, 1, {6, 6, 6, 6, 6}, {0, 0, 0, 0, 0}, kFiveOfAKind},
        {4, 2, {6, 6, 6, 6, 6}, {2, 2, 2, 2, 2}, kFiveOfAKind},
        // A straight and a flush made on the last roll.
        {1, 3, {2, 3, 4, 5, 6}, {0, 1, 2, 3, 0}, kStraight},
        {4, 3, {1, 4, 2, 6, 5}, {3, 3, 3, 3, 3}, kFlush},
    };
    for (const Case& c : cases) {
        CoachState s = FirstHalfAt(c.row, c.rolls);
        PutRow(s, c.row, c.faces, c.colours);
        const CoachAdvice advice = CCoach(kStateBudget).Advise(s, 1);
        ASSERT_FALSE(advice.choices.empty());
        EXPECT_EQ(advice.choices[0].kind, ChoiceKind::Score) << "row " << c.row;
        EXPECT_EQ(advice.choices[0].category, c.code) << "row " << c.row;
    }
}

TEST(CoachStates, FourSixesWithSixesOpenAreKeptAndEqualHoldsAreOneLine) {
    CoachState s = FirstHalfAt(0, 1);
    // Two red 6s alike: keeping one or the other is the same choice.
    PutRow(s, 0, {6, 6, 2, 6, 6}, {0, 1, 3, 0, 2});
    const CoachAdvice advice = CCoach(kStateBudget).Advise(s, 3);
    ASSERT_FALSE(advice.choices.empty());
    EXPECT_EQ(advice.choices[0].kind, ChoiceKind::Hold);
    EXPECT_EQ(advice.choices[0].holdMask, 0b11011);
    EXPECT_EQ(DescribeChoice(advice.choices[0], s), "roll the gold 2 again");
    CoachChoice pair(ChoiceKind::Hold);
    pair.holdMask = 0b01001;
    EXPECT_EQ(DescribeChoice(pair, s), "keep the two red 6s, roll again");

    std::set<std::string> lines;
    for (const CoachChoice& c : advice.choices) EXPECT_TRUE(lines.insert(DescribeChoice(c, s)).second) << DescribeChoice(c, s);
    EXPECT_EQ(CanonicalHold(s, 0b01000), 0b00001);  // the second red 6 is the first one
    EXPECT_EQ(CanonicalHold(s, 0b00010), 0b00010);
}

TEST(CoachStates, TheReviewQuotesTheFirstEstimateAndChargesNothingForTheCoachsOwnHold) {
    CoachState before = FirstHalfAt(0, 1);
    PutRow(before, 0, {6, 3, 2, 6, 4}, {0, 1, 3, 0, 2});
    const CCoach coach(kStateBudget);
    const CoachChoice best = coach.Advise(before, 1).choices.front();
    ASSERT_EQ(best.kind, ChoiceKind::Hold);
    for (int col = 0; col < 5; ++col) before.held[DieIndex(0, col)] = best.holdMask & (1 << col);
    CoachState after = before;
    after.rollsUsed = 2;
    CDecisionLog log;
    for (const CoachState& s : {FirstHalfAt(0, 0), before, after}) log.Observe(s);
    ASSERT_EQ(log.Decisions().size(), 1u);
    const GameReview review = ReviewGame(coach, log, 2000, 1);
    EXPECT_DOUBLE_EQ(review.expectedAtStart, coach.Advise(before, 1).Best());
    EXPECT_EQ(review.firstMoment.rollsUsed, 1);
    EXPECT_TRUE(review.costliest.empty());

    // Advice shown during the game is the review's word for that moment,
    // whatever the holds the player then set.
    CoachChoice shownBest = best;
    shownBest.expected = 1234;
    CoachState asked = before;
    for (bool& held : asked.held) held = false;
    log.NoteAdvice(asked, CoachAdvice{{shownBest}});
    EXPECT_DOUBLE_EQ(ReviewGame(coach, log, 2000, 1).expectedAtStart, 1234);
}

// A second half with every line open and the right group free.
CoachState OpenSecondHalf() {
    CoachState s;
    for (int i = 0; i < kDieCount; ++i) {
        s.face[i] = 1 + (i * 7 + i / 5) % 6;
        s.colour[i] = (i * 3 + i / 7) % 4;
    }
    for (int c = 0; c < 5; ++c) s.cells[c] = {true, 30 - 4 * c};
    s.handIndex = 5;
    return s;
}

void PlayChoice(CoachState& s, const CoachChoice& choice) {
    if (choice.kind == ChoiceKind::Swaps) {
        for (const auto& [a, b] : choice.swaps) {
            std::swap(s.face[a], s.face[b]);
            std::swap(s.colour[a], s.colour[b]);
        }
        return;
    }
    int places[kHandSize], faces[kHandSize], colours[kHandSize];
    GetLineDice(choice.line, places);
    for (int i = 0; i < kHandSize; ++i) {
        faces[i] = s.face[places[i]];
        colours[i] = s.colour[places[i]];
    }
    s.cells[CategoryIndex(choice.category)] = {true, ScoreHand(choice.category, faces, colours).points};
    s.lineScored[choice.line] = true;
    ++s.handIndex;
}

TEST(CoachStates, TheSecondHalfPlanIsKeptAfterScoringAndItsTotalIsReached) {
    CoachState s = OpenSecondHalf();
    const CCoach coach(kStateBudget);
    // The first answer is the plan; every later one is asked with a new seed.
    std::uint64_t seed = 3;
    const CoachAdvice first = coach.Advise(s, seed);
    ASSERT_FALSE(first.choices.empty());
    const double promised = first.Best();
    for (int step = 0; step < 40 && !s.IsOver(); ++step) {
        const CoachAdvice advice = coach.Advise(s, seed++);
        const CoachChoice& best = advice.choices.front();
        // Asking again never strays from the plan: the same total all along.
        EXPECT_DOUBLE_EQ(best.expected, promised) << step;
        PlayChoice(s, best);
        FollowPlan(s, best);
    }
    ASSERT_TRUE(s.IsOver());
    EXPECT_EQ(SheetTotals(s.cells).total, static_cast<int>(promised));
}

TEST(CoachStates, TheCardNamesDiceByColourAndLinesByTheirKeys) {
    EXPECT_EQ(LineName(0), "diagonal 1");
    EXPECT_EQ(LineName(4), "column 5");
    EXPECT_EQ(LineName(6), "diagonal 7");
    CoachState s = OpenSecondHalf();
    CoachChoice swaps(ChoiceKind::Swaps);
    swaps.swaps = {{DieIndex(2, 0), DieIndex(2, 3)}, {DieIndex(4, 1), DieIndex(4, 2)}};
    swaps.planLine = 2;
    swaps.planCategory = kStraight;
    const std::string a = DieName(s.face[10], s.colour[10]), b = DieName(s.face[13], s.colour[13]);
    EXPECT_EQ(DescribeChoice(swaps, s), "swap the " + a + " and the " + b + " in row 3 (1 of 2)");
    swaps.expected = 900;
    CoachChoice now(ChoiceKind::Score);
    now.line = 2;
    now.category = kTwoPairs;
    now.expected = 880;
    EXPECT_EQ(ReasonFor(CoachAdvice{{swaps, now}}, s), "Plan: 2 swaps, then column 3 as Straight (+20).");
    // A line scored now, with or without swaps of a plan still to come.
    EXPECT_EQ(ReasonFor(CoachAdvice{{now, swaps}}, s), "column 3 as Two pairs now; no swap adds to it.");
    now.planFace.assign(s.face, s.face + kDieCount);
    now.planColour.assign(s.colour, s.colour + kDieCount);
    std::swap(now.planFace[0], now.planFace[1]);
    std::swap(now.planColour[0], now.planColour[1]);
    EXPECT_EQ(ReasonFor(CoachAdvice{{now, swaps}}, s), "column 3 as Two pairs now; the plan's other swaps can wait.");
}

}  // namespace
