// The coach: choices whose best is certain, repeatable advice, and the
// answer from its thread.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "game/rules/coach/CCoach.h"
#include "game/rules/coach/CCoachWorker.h"

using namespace coach;

namespace {

const CoachBudget kQuick{600, 32, 2000};

void SetRow(CoachState& s, int row, const int faces[5], const int colours[5]) {
    for (int col = 0; col < 5; ++col) {
        s.face[DieIndex(row, col)] = faces[col];
        s.colour[DieIndex(row, col)] = colours[col];
    }
}

// A second-half state with only the given lines open and categories free
// (the filled ones hold 0).
CoachState SecondHalf(std::initializer_list<int> openLines, std::initializer_list<int> freeCodes) {
    CoachState s;
    for (int i = 0; i < kDieCount; ++i) {
        s.face[i] = 1 + (i * 7) % 6;
        s.colour[i] = (i * 3) % 4;
    }
    for (bool& scored : s.lineScored) scored = true;
    for (int line : openLines) s.lineScored[line] = false;
    for (ScoreCell& cell : s.cells) cell = {true, 0};
    for (int code : freeCodes) s.cells[CategoryIndex(code)] = {};
    s.handIndex = 12 - static_cast<int>(freeCodes.size());
    return s;
}

std::vector<std::tuple<ChoiceKind, int, int, int, double>> Summary(const CoachAdvice& a) {
    std::vector<std::tuple<ChoiceKind, int, int, int, double>> out;
    for (const CoachChoice& c : a.choices) out.emplace_back(c.kind, c.holdMask, c.category, c.line, c.expected);
    return out;
}

TEST(Coach, ScoresFiveSixesOfOneColourAsFiveOfAKind) {
    // Sixes and the flush are scored already: on an empty sheet sixes (63)
    // is about as good, and the flush (80) is close behind.
    for (int rolls : {1, 2, 3}) {
        CoachState s;
        const int house[5] = {6, 6, 6, 2, 2}, mixed[5] = {1, 1, 1, 0, 3};
        const int flush[5] = {1, 3, 4, 5, 6}, red[5] = {1, 1, 1, 1, 1};
        const int sixes[5] = {6, 6, 6, 6, 6}, blue[5] = {2, 2, 2, 2, 2};
        SetRow(s, 0, house, mixed);
        s.cells[CategoryIndex(kSixes)] = {true, 39};
        SetRow(s, 1, flush, red);
        s.cells[CategoryIndex(kFlush)] = {true, 59};
        SetRow(s, 2, sixes, blue);
        s.handIndex = 2;
        s.rollsUsed = rolls;
        const CoachAdvice advice = CCoach(kQuick).Advise(s, 1);
        ASSERT_FALSE(advice.choices.empty());
        EXPECT_EQ(advice.choices[0].kind, ChoiceKind::Score) << rolls;
        EXPECT_EQ(advice.choices[0].category, kFiveOfAKind) << rolls;
        for (std::size_t i = 1; i < advice.choices.size(); ++i) EXPECT_LE(advice.choices[i].expected, advice.Best());
    }
}

TEST(Coach, TheLastFreeCategoryIsTheOnlyChoiceAndWorthTheFinalTotal) {
    CoachState s = SecondHalf({3}, {kTotal});
    const CoachAdvice advice = CCoach(kQuick).Advise(s, 5);
    ASSERT_EQ(advice.choices.size(), 1u);
    EXPECT_EQ(advice.choices[0].kind, ChoiceKind::Score);
    EXPECT_EQ(advice.choices[0].line, 3);
    EXPECT_EQ(advice.choices[0].category, kTotal);
    int lineSum = 0;
    for (int row = 0; row < 5; ++row) lineSum += s.face[DieIndex(row, 2)];
    EXPECT_DOUBLE_EQ(advice.Best(), lineSum);

    s.cells[CategoryIndex(kTotal)] = {true, lineSum};
    EXPECT_TRUE(CCoach(kQuick).Advise(s, 5).choices.empty());
}

TEST(Coach, SwapsTheDieThatCompletesAStraight) {
    // Columns 1 and 2 are open; the top row's two open dice are swapped into
    // a straight 1-2-3-4-5 (in order: 40) beside two pairs (22).
    CoachState s = SecondHalf({2, 3}, {kStraight, kTwoPairs});
    const int column1[5] = {1, 2, 3, 4, 6}, column2[5] = {3, 3, 5, 5, 5};
    const int colours1[5] = {0, 1, 2, 3, 0}, colours2[5] = {1, 2, 3, 0, 1};
    for (int row = 0; row < 5; ++row) {
        s.face[DieIndex(row, 1)] = column1[row];
        s.colour[DieIndex(row, 1)] = colours1[row];
        s.face[DieIndex(row, 2)] = column2[row];
        s.colour[DieIndex(row, 2)] = colours2[row];
    }
    const CoachAdvice advice = CCoach(kQuick).Advise(s, 9);
    ASSERT_FALSE(advice.choices.empty());
    const CoachChoice& best = advice.choices[0];
    EXPECT_EQ(best.kind, ChoiceKind::Swaps);
    ASSERT_EQ(best.swaps.size(), 1u);
    EXPECT_EQ(best.swaps[0], std::make_pair(DieIndex(4, 1), DieIndex(4, 2)));
    EXPECT_DOUBLE_EQ(best.expected, 62);
    // Scoring either column as it stands is worth less.
    for (std::size_t i = 1; i < advice.choices.size(); ++i) EXPECT_LT(advice.choices[i].expected, 62);
}

TEST(Coach, AdviceFollowedSwapBySwapKeepsToItsPlan) {
    CoachState s = SecondHalf({0, 1, 2, 3, 4, 5, 6}, {kTotal, kFiveOfAKind, kFlush, kFourOfAKind, kStraight,
                                                      kFullHouse, kTwoPairs});
    const CCoach coach(kQuick);
    const CoachChoice plan = coach.Advise(s, 8).choices.front();
    ASSERT_EQ(plan.kind, ChoiceKind::Swaps);
    ASSERT_GE(plan.swaps.size(), 2u);
    // Every swap puts at least one die where the plan wants it, and together they make the plan.
    CoachState planned = s;
    for (const auto& [x, y] : plan.swaps) {
        std::swap(planned.face[x], planned.face[y]);
        std::swap(planned.colour[x], planned.colour[y]);
        EXPECT_TRUE((planned.face[x] == plan.planFace[x] && planned.colour[x] == plan.planColour[x]) ||
                    (planned.face[y] == plan.planFace[y] && planned.colour[y] == plan.planColour[y]));
    }
    EXPECT_EQ(std::vector<int>(planned.face, planned.face + kDieCount), plan.planFace);
    EXPECT_EQ(std::vector<int>(planned.colour, planned.colour + kDieCount), plan.planColour);
    // Asked again after each swap: the rest of the plan, or a line it completed to score now, never less.
    for (std::size_t k = 0; k < plan.swaps.size(); ++k) {
        const auto [a, b] = plan.swaps[k];
        std::swap(s.face[a], s.face[b]);
        std::swap(s.colour[a], s.colour[b]);
        FollowPlan(s, plan);
        const CoachChoice next = coach.Advise(s, 8).choices.front();
        EXPECT_GE(next.expected, plan.expected);
        if (next.expected == plan.expected && next.kind == ChoiceKind::Swaps) {
            const std::vector<std::pair<int, int>> rest(plan.swaps.begin() + static_cast<std::ptrdiff_t>(k) + 1, plan.swaps.end());
            EXPECT_EQ(next.swaps, rest) << "after swap " << k + 1;
        }
    }
}

TEST(Coach, SameStateAndSeedGiveTheSameAdvice) {
    CoachState first;
    const int faces[5] = {2, 5, 5, 1, 6}, colours[5] = {0, 3, 1, 1, 2};
    SetRow(first, 1, faces, colours);
    first.handIndex = 1;
    first.rollsUsed = 1;
    first.cells[CategoryIndex(kFives)] = {true, 20};
    const CoachState second = SecondHalf({0, 2, 5}, {kSixes, kFlush, kFullHouse});
    for (const CoachState& s : {first, second}) {
        const CCoach coach(kQuick);
        const CoachAdvice a = coach.Advise(s, 42);
        EXPECT_EQ(Summary(a), Summary(coach.Advise(s, 42)));
        EXPECT_FALSE(a.choices.empty());
    }
}

TEST(Coach, WorkerAnswersTheNewestQuestionOffTheCallersThread) {
    CoachState s = SecondHalf({1, 4}, {kSixes, kTwoPairs});
    CCoachWorker worker(kQuick);
    std::thread::id answeredOn;
    worker.Ask(s, 3);
    const unsigned ticket = worker.Ask(s, 4, [&](unsigned, const CoachAdvice&) { answeredOn = std::this_thread::get_id(); });
    std::optional<CoachAdvice> answer;
    for (int i = 0; i < 1000 && !answer; ++i) {
        answer = worker.Poll(ticket);
        if (!answer) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(Summary(*answer), Summary(CCoach(kQuick).Advise(s, 4)));
    EXPECT_NE(answeredOn, std::this_thread::get_id());
    worker.Cancel();
    EXPECT_FALSE(worker.Poll(ticket).has_value());
}

}  // namespace
