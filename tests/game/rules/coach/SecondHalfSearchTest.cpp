// The second half's search: the starts that gather a face or a colour into a
// line of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/SecondHalfSearch.h"

using namespace coach;

namespace {

using Rows = std::array<std::array<int, 5>, 5>;

SecondHalfProblem Problem(const Rows& faces, const Rows& colours, std::initializer_list<int> freeCodes) {
    SecondHalfProblem p;
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 5; ++col) {
            p.face[DieIndex(row, col)] = faces[row][col];
            p.colour[DieIndex(row, col)] = colours[row][col];
        }
    for (int code : freeCodes) p.freeCategories |= 1u << CategoryIndex(code);
    return p;
}

// Each row holds 6 5 4 3 2 turned by its row number; all red but two blue dice.
const Rows kTurned = {{{6, 5, 4, 3, 2}, {2, 6, 5, 4, 3}, {3, 2, 6, 5, 4}, {4, 3, 2, 6, 5}, {5, 4, 3, 2, 6}}};
const Rows kRed = {{{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 2, 0, 0}, {0, 0, 0, 0, 0}, {2, 0, 0, 0, 0}}};

TEST(SecondHalfSearch, GatheredStartsPutEachTargetInItsOwnLine) {
    const int numbers[] = {6, 5, 4, 3, 2};
    const int blueThenSix[] = {-1 - 2, 6};
    const int fives[] = {5};
    struct Case {
        Rows faces, colours;
        const int* targets;
        int count;
        std::array<int, 5> column0Faces, column0Colours, column1Faces;
    } cases[] = {
        // Every face of a number category in the column of its rank.
        {kTurned, kRed, numbers, 5, {6, 6, 6, 6, 6}, {0, 0, 2, 0, 0}, {5, 5, 5, 5, 5}},
        // A colour first: the blue die of each row that has one; the other
        // rows give that place their highest die left after the 6.
        {kTurned, kRed, blueThenSix, 2, {5, 5, 6, 5, 5}, {0, 0, 2, 0, 2}, {6, 6, 5, 6, 6}},
        // Row 2 has no 5: its highest die stands in for it.
        {{{{5, 1, 1, 1, 1}, {1, 5, 1, 1, 1}, {6, 4, 1, 1, 1}, {1, 1, 5, 1, 1}, {1, 1, 1, 5, 1}}},
         kRed, fives, 1, {5, 5, 6, 5, 5}, {0, 0, 0, 0, 0}, {1, 1, 4, 1, 1}},
    };
    for (const Case& c : cases) {
        const CSecondHalfSearch search(Problem(c.faces, c.colours, {kSixes}));
        const Arrangement a = search.Gathered(c.targets, c.count);
        const SecondHalfProblem p = Problem(c.faces, c.colours, {});
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(p.face[a.at[DieIndex(row, 0)]], c.column0Faces[row]) << "row " << row;
            EXPECT_EQ(p.colour[a.at[DieIndex(row, 0)]], c.column0Colours[row]) << "row " << row;
            EXPECT_EQ(p.face[a.at[DieIndex(row, 1)]], c.column1Faces[row]) << "row " << row;
            // Every die stays in its own row.
            EXPECT_EQ(a.at[DieIndex(row, 2)] / 5, row);
        }
    }
}

TEST(SecondHalfSearch, TheGatheredNumbersScoreEveryColumnInFull) {
    const SecondHalfProblem p =
        Problem(kTurned, kRed, {kSixes, kFives, kFours, kThrees, kTwos, kFiveOfAKind, kFlush});
    const CSecondHalfSearch search(p);
    Arrangement starts[4];
    ASSERT_EQ(search.GatheredStarts(starts), 4);
    // Numbers 60 + 3, 50 + 3, 40 + 3, 30 + 3 and at least one 2 in a diagonal
    // on the left: over 160, so times 10.
    int lineCategory[kLineCount];
    EXPECT_GE(search.Evaluate(starts[0], lineCategory), 2150);
    for (int col = 0; col < 4; ++col) EXPECT_EQ(lineCategory[col + 1], CategoryIndex(kSixes) + col);
    EXPECT_EQ(lineCategory[5], CategoryIndex(kFiveOfAKind));  // five 2s: 60 + 10 there, 23 as Twos
    // Without Five of a kind and Flush free only the numbers' start is left.
    const SecondHalfProblem numbersOnly = Problem(kTurned, kRed, {kSixes, kFives});
    EXPECT_EQ(CSecondHalfSearch(numbersOnly).GatheredStarts(starts), 1);
}

TEST(SecondHalfSearch, FewerMovesKeepsTheTotalAndPutsBackWhatItCan) {
    int movedFound = 0, movedFewer = 0;
    for (std::uint64_t seed = 1; seed <= 6; ++seed) {
        SecondHalfProblem p;  // seeded dice, as many categories free as lines open
        CRandomStream dice(seed);
        for (int place = 0; place < kDieCount; ++place) {
            p.face[place] = 1 + dice.Below(6);
            p.colour[place] = dice.Below(4);
        }
        for (int code : {kSixes, kFives, kFours, kThrees, kTotal, kFlush, kTwoPairs}) p.freeCategories |= 1u << CategoryIndex(code);
        const CSecondHalfSearch search(p);
        auto moved = [&](const Arrangement& a) {
            int n = 0;
            for (int i = 0; i < kDieCount; ++i) n += p.face[a.at[i]] != p.face[i] || p.colour[a.at[i]] != p.colour[i];
            return n;
        };
        const CSecondHalfSearch::Result found = search.Anneal(search.Shuffled(seed), 2000, seed);
        const CSecondHalfSearch::Result fewer = search.FewerMoves(found);
        EXPECT_GE(fewer.total, found.total);
        EXPECT_EQ(search.Evaluate(fewer.arrangement), fewer.total);
        movedFound += moved(found.arrangement);
        movedFewer += moved(fewer.arrangement);
        // No swap in a row that puts back more dice keeps the total.
        for (int row = 0; row < 5; ++row)
            for (int i = 0; i < 5; ++i)
                for (int j = i + 1; j < 5; ++j) {
                    Arrangement a = fewer.arrangement;
                    std::swap(a.at[DieIndex(row, i)], a.at[DieIndex(row, j)]);
                    if (moved(a) < moved(fewer.arrangement)) { EXPECT_LT(search.Evaluate(a), fewer.total) << row; }
                }
    }
    EXPECT_LT(movedFewer, movedFound);
}

// The search's totals (a faster way when few lines score in a group) agree
// with the traced assignment and with trying every assignment of the lines.
TEST(SecondHalfSearch, TotalsAgreeWithEveryAssignmentTried) {
    for (std::uint64_t seed = 1; seed <= 40; ++seed) {
        SecondHalfProblem p;
        CRandomStream dice(seed);
        for (int place = 0; place < kDieCount; ++place) {
            // Many boards of few faces: lines that make the right-hand categories.
            p.face[place] = 1 + dice.Below(seed % 2 ? 6 : 2);
            p.colour[place] = dice.Below(seed % 3 ? 4 : 1);
        }
        const int scored = static_cast<int>(seed % 3);  // lines already scored
        for (int l = 0; l < scored; ++l) p.lineScored[l] = true;
        int categories[kCategoryCount];
        for (int c = 0; c < kCategoryCount; ++c) categories[c] = c;
        for (int c = kCategoryCount - 1; c > 0; --c) std::swap(categories[c], categories[dice.Below(c + 1)]);
        for (int k = 0; k < kLineCount - scored; ++k) p.freeCategories |= 1u << categories[k];
        p.leftBase = 20 * static_cast<int>(seed % 8);
        p.rightBase = 15 * static_cast<int>(seed % 10);

        const CSecondHalfSearch search(p);
        const Arrangement a = search.Shuffled(seed);
        int lines[kLineCount], n = 0;
        for (int l = scored; l < kLineCount; ++l) lines[n++] = l;
        int points[kLineCount][kCategoryCount];
        for (int k = 0; k < n; ++k) {
            int places[kHandSize], faces[kHandSize], colours[kHandSize];
            GetLineDice(lines[k], places);
            for (int i = 0; i < kHandSize; ++i) {
                faces[i] = p.face[a.at[places[i]]];
                colours[i] = p.colour[a.at[places[i]]];
            }
            for (int c = 0; c < kCategoryCount; ++c) points[k][c] = ScoreHand(CategoryCodeOf(c), faces, colours).points;
        }
        int best = -1;
        std::sort(categories, categories + n);
        do {
            int left = p.leftBase, right = p.rightBase;
            for (int k = 0; k < n; ++k) (categories[k] < 6 ? left : right) += points[k][categories[k]];
            best = std::max(best, left * LeftMultiplier(LeftLevel(left)) + right * RightMultiplier(RightLevel(right)));
        } while (std::next_permutation(categories, categories + n));

        int lineCategory[kLineCount];
        EXPECT_EQ(search.Evaluate(a), best) << "seed " << seed;
        EXPECT_EQ(search.Evaluate(a, lineCategory), best) << "seed " << seed;
    }
}

}  // namespace
