// The preview of a hand in the sheet's free cells agrees with what scoring the
// hand there writes, colour bonuses included; filled cells show nothing.
#include <gtest/gtest.h>

#include <string>

#include "game/rules/CScoreCells.h"
#include "game/rules/ScorePreview.h"

namespace {

struct PreviewCase {
    int faces[kHandSize];
    int colours[kHandSize];
    int code;        // one category with its known value
    int points;
    bool bonus;
};

constexpr PreviewCase kHands[] = {
    {{6, 6, 6, 2, 2}, {1, 1, 1, 0, 3}, kSixes, 39, true},
    {{6, 6, 6, 2, 2}, {1, 1, 1, 0, 3}, kTwos, 8, false},
    {{5, 5, 5, 5, 5}, {0, 0, 0, 0, 0}, kFiveOfAKind, 85, true},
    {{5, 5, 5, 5, 5}, {0, 1, 2, 3, 0}, kFourOfAKind, 55, false},
    {{2, 3, 4, 5, 6}, {2, 2, 2, 2, 2}, kStraight, 55, true},
    {{3, 1, 2, 5, 4}, {1, 1, 1, 1, 1}, kFlush, 65, true},
    {{1, 1, 2, 2, 3}, {0, 0, 0, 0, 1}, kTwoPairs, 13, true},
    {{1, 3, 4, 6, 6}, {0, 1, 2, 3, 0}, kFullHouse, 0, false},
};

TEST(ScorePreview, EveryFreeCellShowsWhatScoringTheHandThereWrites) {
    for (const PreviewCase& hand : kHands) {
        SCOPED_TRACE(std::string("category ") + char(hand.code));
        // Half of the cells filled by an earlier hand; the rest are free.
        CScoreCells cells;
        for (int code = kFirstCategory; code <= kLastCategory; code += 2)
            if (code != hand.code) cells.ScoreCategory(code, kHands[0].faces, kHands[0].colours);
        const ScorePreviewCells preview = PreviewHand(cells, hand.faces, hand.colours);
        const PreviewCell& known = preview[CategoryIndex(hand.code)];
        EXPECT_EQ(known.value.points, hand.points);
        EXPECT_EQ(known.value.colourBonus, hand.bonus);
        EXPECT_EQ(PreviewLabel(known.value), std::to_string(hand.points) + (hand.bonus ? "*" : ""));
        for (int code = kFirstCategory; code <= kLastCategory; ++code) {
            const PreviewCell& cell = preview[CategoryIndex(code)];
            ASSERT_EQ(cell.shown, !cells.IsFilled(code)) << char(code);
            if (!cell.shown) continue;
            CScoreCells scored = cells;
            ASSERT_EQ(scored.ScoreCategory(code, hand.faces, hand.colours), 1);
            EXPECT_EQ(cell.value.points, scored.Value(code)) << char(code);
            EXPECT_EQ(cell.value.colourBonus, scored.ColourBonusPending()) << char(code);
        }
    }
}

}  // namespace
