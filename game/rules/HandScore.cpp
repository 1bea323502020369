#include "game/rules/HandScore.h"

#include <cstdint>

namespace {

constexpr unsigned kLowStraight = 0x3E;   // faces 1..5 as bits
constexpr unsigned kHighStraight = 0x7C;  // faces 2..6

// What every category looks at, gathered in one pass. Per face, the dice of
// each colour are counted in four nibbles of one word.
struct HandFacts {
    int sum = 0;
    std::uint8_t count[8] = {};
    std::uint16_t byColour[8] = {};
    unsigned faceMask = 0;
    bool allOneColour = true;

    HandFacts(const int faces[kHandSize], const int colours[kHandSize]) {
        for (int i = 0; i < kHandSize; ++i) {
            const int face = faces[i] >= 1 && faces[i] <= 6 ? faces[i] : 7;  // 7: counts for nothing
            const int colour = colours[i] & 3;
            sum += faces[i];
            ++count[face];
            byColour[face] = static_cast<std::uint16_t>(byColour[face] + (1u << (4 * colour)));
            faceMask |= 1u << face;
            if (colours[i] != colours[0]) allOneColour = false;
        }
    }

    int ColourCount(int face, int colour) const { return (byColour[face] >> (4 * colour)) & 15; }

    // The largest number of dice showing face that share one colour.
    int SameColour(int face) const {
        int best = 0;
        for (int c = 0; c < 4; ++c)
            if (ColourCount(face, c) > best) best = ColourCount(face, c);
        return best;
    }

    bool FiveOfAKind() const { return (faceMask & (faceMask - 1)) == 0 && !(faceMask & 0x81); }
    bool Straight() const { return faceMask == kLowStraight || faceMask == kHighStraight; }
};

int TwoPairsBonus(const HandFacts& h) {
    int first = 0;
    int second = 0;
    for (int f = 1; f <= 6; ++f) {
        if (h.count[f] >= 4) {
            first = f;
            second = 0;
        } else if (h.count[f] >= 2) {
            if (first == 0)
                first = f;
            else
                second = f;
        }
    }
    if (first == 0) return 0;
    if (h.SameColour(first) >= 4) return 4;
    if (second == 0) return 0;
    for (int c = 0; c < 4; ++c)
        if (h.ColourCount(first, c) >= 2 && h.ColourCount(second, c) >= 2) return 4;
    return 0;
}

}  // namespace

bool IsStraight(const int faces[kHandSize]) {
    int seen[8] = {};
    for (int i = 0; i < kHandSize; ++i) {
        if (faces[i] < 1 || faces[i] > 6) return false;
        ++seen[faces[i]];
    }
    bool low = true, high = true;
    for (int f = 1; f <= 5; ++f) low = low && seen[f] == 1;
    for (int f = 2; f <= 6; ++f) high = high && seen[f] == 1;
    return low || high;
}

bool IsStraightInOrder(const int faces[kHandSize]) {
    if (!IsStraight(faces)) return false;
    int step = faces[1] - faces[0];
    if (step != 1 && step != -1) return false;
    for (int i = 1; i < kHandSize; ++i)
        if (faces[i] - faces[i - 1] != step) return false;
    return true;
}

namespace {

HandValue ScoreFacts(int code, const HandFacts& h, const int faces[kHandSize]) {
    HandValue v;
    switch (code) {
    case kSixes:
    case kFives:
    case kFours:
    case kThrees:
    case kTwos: {
        const int n = 103 - code;
        if (h.count[n] > 0) {
            v.points = 2 * n * h.count[n];
            if (h.SameColour(n) >= 3) {
                v.points += 3;
                v.colourBonus = true;
            }
        }
        break;
    }
    case kTotal:
        v.points = h.sum;
        break;
    case kFiveOfAKind:
        if (h.FiveOfAKind()) {
            v.points = h.sum + 50;
            if (h.allOneColour) {
                v.points += 10;
                v.colourBonus = true;
            }
        }
        break;
    case kFlush:
        if (h.allOneColour) {
            v.points = h.sum + 40;
            if (h.FiveOfAKind() || h.Straight()) {
                v.points += 10;
                v.colourBonus = true;
            }
        }
        break;
    case kFourOfAKind:
        for (int f = 1; f <= 6; ++f) {
            if (h.count[f] >= 4) {
                v.points = h.sum + 30;
                if (h.SameColour(f) >= 4) {
                    v.points += 8;
                    v.colourBonus = true;
                }
                break;
            }
        }
        break;
    case kStraight:
        if (h.Straight()) {
            v.points = h.sum + 20;
            if (h.allOneColour) {
                v.points += 10;
                v.colourBonus = true;
            }
            // The order bonus stands in the same bonus column, so it marks the flag too.
            if (IsStraightInOrder(faces)) {
                v.points += 5;
                v.colourBonus = true;
            }
        }
        break;
    case kFullHouse: {
        bool three = false, two = false;
        for (int f = 1; f <= 6; ++f) {
            if (h.count[f] == 3) three = true;
            if (h.count[f] == 2) two = true;
        }
        if ((three && two) || h.FiveOfAKind()) {
            v.points = h.sum + 10;
            if (h.allOneColour) {
                v.points += 5;
                v.colourBonus = true;
            }
        }
        break;
    }
    case kTwoPairs: {
        int pairs = 0;
        bool four = false;
        for (int f = 1; f <= 6; ++f) {
            if (h.count[f] >= 2) ++pairs;
            if (h.count[f] >= 4) four = true;
        }
        if (pairs >= 2 || four) {
            v.points = h.sum;
            const int bonus = TwoPairsBonus(h);
            if (bonus) {
                v.points += bonus;
                v.colourBonus = true;
            }
        }
        break;
    }
    default:
        break;
    }
    return v;
}

}  // namespace

HandValue ScoreHand(int code, const int faces[kHandSize], const int colours[kHandSize]) {
    if (!IsCategoryCode(code)) return HandValue{};
    return ScoreFacts(code, HandFacts(faces, colours), faces);
}

void ScoreHandAll(const int faces[kHandSize], const int colours[kHandSize], HandValue out[kCategoryCount]) {
    const HandFacts h(faces, colours);
    for (int i = 0; i < kCategoryCount; ++i) out[i] = ScoreFacts(CategoryCodeOf(i), h, faces);
}

void ScoreHandPoints(const int faces[kHandSize], const int colours[kHandSize], unsigned categories,
                     int out[kCategoryCount]) {
    const HandFacts h(faces, colours);
    for (int i = 0; i < kCategoryCount; ++i)
        if (categories & (1u << i)) out[i] = ScoreFacts(CategoryCodeOf(i), h, faces).points;
}

int LeftLevel(int s) {
    return s > 160 ? 5 : s > 140 ? 4 : s > 120 ? 3 : s > 100 ? 2 : s > 80 ? 1 : 0;
}

int RightLevel(int s) {
    return s > 300 ? 5 : s > 250 ? 4 : s > 200 ? 3 : s > 150 ? 2 : s > 100 ? 1 : 0;
}

int LeftMultiplier(int level) {
    static const int multipliers[6] = {1, 2, 4, 6, 8, 10};
    return level >= 0 && level <= 5 ? multipliers[level] : 1;
}

int RightMultiplier(int level) {
    static const int multipliers[6] = {1, 2, 3, 4, 5, 6};
    return level >= 0 && level <= 5 ? multipliers[level] : 1;
}

SheetTotalsValue SheetTotals(const ScoreCells& cells) {
    SheetTotalsValue t;
    t.complete = true;
    for (int i = 0; i < kCategoryCount; ++i) {
        if (!cells[i].filled) {
            t.complete = false;
            continue;
        }
        (i < 6 ? t.leftSum : t.rightSum) += cells[i].value;
    }
    t.leftLevel = LeftLevel(t.leftSum);
    t.rightLevel = RightLevel(t.rightSum);
    t.total = t.leftSum * LeftMultiplier(t.leftLevel) + t.rightSum * RightMultiplier(t.rightLevel);
    return t;
}
