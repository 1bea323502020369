// Hand values and sheet totals: the worked values and the cases that tell a
// near-miss implementation apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <map>

#include "game/rules/HandScore.h"

namespace {

struct Hand {
    int faces[5];
    int colours[5];
};

int Points(char category, const Hand& h) { return ScoreHand(category, h.faces, h.colours).points; }
bool Bonus(char category, const Hand& h) { return ScoreHand(category, h.faces, h.colours).colourBonus; }

void ExpectPoints(const Hand& h, std::initializer_list<std::pair<char, int>> expected) {
    for (auto [category, points] : expected) EXPECT_EQ(Points(category, h), points) << "category " << category;
}

TEST(HandScore, WorkedValuesFullHouseOfSixes) {
    const Hand h{{6, 6, 6, 2, 2}, {1, 1, 1, 0, 3}};
    ExpectPoints(h, {{'a', 39}, {'f', 22}, {'k', 32}, {'l', 22}, {'e', 8}, {'g', 0}, {'b', 0}, {'h', 0}, {'i', 0}, {'j', 0}});
    EXPECT_TRUE(Bonus('a', h));
    EXPECT_FALSE(Bonus('e', h));
    EXPECT_FALSE(Bonus('l', h));
}

TEST(HandScore, FiveOfAKindMixedAndOneColour) {
    const Hand mixed{{5, 5, 5, 5, 5}, {0, 1, 2, 3, 0}};
    ExpectPoints(mixed, {{'g', 75}, {'i', 55}, {'k', 35}, {'l', 25}, {'h', 0}, {'b', 50}, {'f', 25}, {'j', 0}, {'a', 0}});
    for (char c = 'a'; c <= 'l'; ++c) EXPECT_FALSE(Bonus(c, mixed)) << c;

    const Hand one{{5, 5, 5, 5, 5}, {0, 0, 0, 0, 0}};
    ExpectPoints(one, {{'g', 85}, {'h', 75}, {'i', 63}, {'k', 40}, {'l', 29}, {'b', 53}, {'f', 25}});
    for (char c : {'g', 'h', 'i', 'k', 'l', 'b'}) EXPECT_TRUE(Bonus(c, one)) << c;
}

TEST(HandScore, StraightsAndTheirOrder) {
    const Hand risingOneColour{{2, 3, 4, 5, 6}, {2, 2, 2, 2, 2}};
    ExpectPoints(risingOneColour, {{'j', 55}, {'h', 70}});

    const Hand shuffledOneColour{{3, 1, 2, 5, 4}, {1, 1, 1, 1, 1}};
    ExpectPoints(shuffledOneColour, {{'j', 45}, {'h', 65}});

    const Hand fallingMixed{{6, 5, 4, 3, 2}, {0, 1, 2, 3, 0}};
    ExpectPoints(fallingMixed, {{'j', 45}, {'h', 0}});
    EXPECT_TRUE(Bonus('j', fallingMixed));  // the order term stands in the bonus column

    const Hand risingMixed{{1, 2, 3, 4, 5}, {3, 2, 1, 0, 3}};
    ExpectPoints(risingMixed, {{'j', 40}});

    // Runs up by one but not from 1 or 2 cannot happen with five dice; a
    // nearly-ordered straight gets no order bonus.
    const Hand almost{{1, 2, 3, 5, 4}, {0, 1, 0, 1, 0}};
    ExpectPoints(almost, {{'j', 35}});

    const Hand gap{{1, 2, 3, 4, 6}, {0, 0, 0, 0, 0}};
    ExpectPoints(gap, {{'j', 0}, {'h', 56}});  // a flush without straight: no +10
    EXPECT_FALSE(Bonus('h', gap));
}

TEST(HandScore, TwoPairsColourRule) {
    const Hand sameColourPairs{{1, 1, 2, 2, 3}, {0, 0, 0, 0, 1}};
    ExpectPoints(sameColourPairs, {{'l', 13}});
    const Hand splitColourPairs{{1, 1, 2, 2, 3}, {0, 0, 1, 1, 1}};
    ExpectPoints(splitColourPairs, {{'l', 9}});
    // Pairs in the same colour need not be adjacent; a third colour breaks it.
    const Hand interleaved{{2, 1, 3, 2, 1}, {3, 3, 0, 3, 3}};
    ExpectPoints(interleaved, {{'l', 13}});
    const Hand oneColourEach{{1, 1, 2, 2, 3}, {0, 1, 0, 1, 2}};
    ExpectPoints(oneColourEach, {{'l', 9}});

    // A full house counts as two pairs; its colour test uses the pair found first
    // (the lower face) and the second.
    const Hand fullHouse{{4, 4, 4, 1, 1}, {2, 2, 0, 2, 2}};
    ExpectPoints(fullHouse, {{'l', 18}, {'k', 24}});
    // Four of a kind: the first pair alone earns the bonus with four of one colour.
    const Hand four{{3, 3, 3, 3, 6}, {1, 1, 1, 1, 0}};
    ExpectPoints(four, {{'l', 22}, {'i', 56}, {'d', 27}});
    const Hand fourMixed{{3, 3, 3, 3, 6}, {1, 1, 2, 2, 0}};
    ExpectPoints(fourMixed, {{'l', 18}, {'i', 48}, {'d', 24}});

    const Hand onePair{{1, 1, 2, 3, 4}, {0, 0, 0, 0, 0}};
    ExpectPoints(onePair, {{'l', 0}, {'k', 0}, {'h', 51}});
    EXPECT_FALSE(Bonus('l', onePair));
}

TEST(HandScore, FaceCategoriesCountAndColour) {
    const Hand h{{4, 3, 3, 3, 2}, {1, 2, 2, 2, 0}};
    ExpectPoints(h, {{'a', 0}, {'b', 0}, {'c', 8}, {'d', 21}, {'e', 4}, {'f', 15}});
    EXPECT_TRUE(Bonus('d', h));
    // Three threes, only two of one colour: no bonus.
    const Hand mixed{{4, 3, 3, 3, 2}, {1, 2, 2, 1, 0}};
    ExpectPoints(mixed, {{'d', 18}});
    EXPECT_FALSE(Bonus('d', mixed));
    // No category counts ones, and an absent face is worth nothing (no bonus either).
    const Hand ones{{1, 1, 1, 1, 1}, {0, 0, 0, 0, 0}};
    ExpectPoints(ones, {{'a', 0}, {'b', 0}, {'c', 0}, {'d', 0}, {'e', 0}, {'f', 5}, {'g', 65}});
}

TEST(HandScore, CodesOutsideTheSheetScoreNothing) {
    const Hand h{{6, 6, 6, 6, 6}, {0, 0, 0, 0, 0}};
    EXPECT_EQ(ScoreHand(96, h.faces, h.colours).points, 0);
    EXPECT_EQ(ScoreHand(109, h.faces, h.colours).points, 0);
    EXPECT_EQ(ScoreHand(-1, h.faces, h.colours).points, 0);
}

TEST(HandScore, PointsOfSomeCategoriesAgreeWithAllAndLeaveTheRest) {
    const Hand h{{3, 3, 5, 5, 5}, {1, 1, 1, 2, 1}};
    HandValue all[kCategoryCount];
    ScoreHandAll(h.faces, h.colours, all);
    int some[kCategoryCount];
    std::fill(some, some + kCategoryCount, -7);
    const unsigned asked = 0b101010010110;
    ScoreHandPoints(h.faces, h.colours, asked, some);
    for (int c = 0; c < kCategoryCount; ++c) EXPECT_EQ(some[c], (asked >> c) & 1 ? all[c].points : -7) << c;
}

ScoreCells Cells(std::map<char, int> values) {
    ScoreCells cells{};
    for (auto [category, value] : values) cells[category - 'a'] = {true, value};
    return cells;
}

TEST(SheetTotals, LevelThresholdsAndMultipliers) {
    struct Case {
        int sum, left, right;
    };
    // Edges of every level of both groups.
    for (auto [sum, left, right] : {Case{80, 0, 0}, Case{81, 1, 0}, Case{100, 1, 0}, Case{101, 2, 1}, Case{120, 2, 1},
                                    Case{121, 3, 1}, Case{140, 3, 1}, Case{141, 4, 1}, Case{150, 4, 1},
                                    Case{151, 4, 2}, Case{160, 4, 2}, Case{161, 5, 2}, Case{200, 5, 2},
                                    Case{201, 5, 3}, Case{250, 5, 3}, Case{251, 5, 4}, Case{300, 5, 4},
                                    Case{301, 5, 5}}) {
        EXPECT_EQ(LeftLevel(sum), left) << sum;
        EXPECT_EQ(RightLevel(sum), right) << sum;
    }

    SheetTotalsValue t = SheetTotals(Cells({{'a', 40}, {'b', 40}}));
    EXPECT_EQ(t.leftSum, 80);
    EXPECT_EQ(t.leftLevel, 0);
    EXPECT_EQ(t.total, 80);
    t = SheetTotals(Cells({{'a', 40}, {'b', 41}}));
    EXPECT_EQ(t.leftLevel, 1);
    EXPECT_EQ(t.total, 162);
    t = SheetTotals(Cells({{'g', 100}}));
    EXPECT_EQ(t.total, 100);
    t = SheetTotals(Cells({{'g', 101}}));
    EXPECT_EQ(t.rightLevel, 1);
    EXPECT_EQ(t.total, 202);
    t = SheetTotals(Cells({{'f', 170}, {'l', 310}}));
    EXPECT_EQ(t.total, 170 * 10 + 310 * 6);
    EXPECT_FALSE(t.complete);
}

TEST(SheetTotals, EmptyCellsCountNothingAndCompleteNeedsAllTwelve) {
    ScoreCells cells{};
    cells[3] = {false, 500};  // a stale value in an empty cell must not count
    EXPECT_EQ(SheetTotals(cells).total, 0);
    for (int i = 0; i < 12; ++i) cells[i] = {true, 0};
    EXPECT_TRUE(SheetTotals(cells).complete);
    EXPECT_EQ(SheetTotals(cells).total, 0);
}

}  // namespace
