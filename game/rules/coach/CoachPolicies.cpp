#include "game/rules/coach/CoachPolicies.h"

namespace coach {

namespace {

// Roughly what a category is worth when it is left for later: the default
// policy scores a hand where it beats this by the most.
constexpr int kPar[kCategoryCount] = {30, 25, 20, 14, 9, 22, 40, 40, 35, 35, 30, 22};

bool Free(unsigned freeCategories, int code) { return freeCategories & (1u << CategoryIndex(code)); }

struct RowFacts {
    int count[7] = {};
    int colourCount[4] = {};
    int topColour = 0;
    int topFace = 1;  // the most frequent face, the higher on a tie

    RowFacts(const int faces[kHandSize], const int colours[kHandSize]) {
        for (int i = 0; i < kHandSize; ++i) {
            ++count[faces[i]];
            ++colourCount[colours[i]];
        }
        for (int c = 1; c < 4; ++c)
            if (colourCount[c] > colourCount[topColour]) topColour = c;
        for (int f = 2; f <= 6; ++f)
            if (count[f] >= count[topFace]) topFace = f;
    }
};

int KeepFace(const int faces[kHandSize], int face) {
    int mask = 0;
    for (int i = 0; i < kHandSize; ++i)
        if (faces[i] == face) mask |= 1 << i;
    return mask;
}

// One die of each face of the run low..low+4 that the hand has.
int KeepRun(const int faces[kHandSize], int low, int* distinct) {
    int mask = 0, seen = 0;
    for (int i = 0; i < kHandSize; ++i) {
        const int bit = 1 << faces[i];
        if (faces[i] >= low && faces[i] <= low + 4 && !(seen & bit)) {
            seen |= bit;
            mask |= 1 << i;
        }
    }
    *distinct = __builtin_popcount(seen);
    return mask;
}

}  // namespace

int DefaultHold(const int faces[kHandSize], const int colours[kHandSize], unsigned freeCategories) {
    const RowFacts h(faces, colours);
    HandValue v[kCategoryCount];
    ScoreHandAll(faces, colours, v);
    auto made = [&](int code) { return Free(freeCategories, code) && v[CategoryIndex(code)].points > 0; };

    if (made(kFiveOfAKind) || made(kStraight) || made(kFlush)) return kHoldAll;
    if (made(kFullHouse) && !Free(freeCategories, kFiveOfAKind)) return kHoldAll;

    if (Free(freeCategories, kStraight)) {
        int low = 0, high = 0;
        const int lowMask = KeepRun(faces, 1, &low);
        const int highMask = KeepRun(faces, 2, &high);
        if (high >= 4 && high >= low) return highMask;
        if (low >= 4) return lowMask;
    }
    if (Free(freeCategories, kFlush) && h.colourCount[h.topColour] >= 4) {
        int mask = 0;
        for (int i = 0; i < kHandSize; ++i)
            if (colours[i] == h.topColour) mask |= 1 << i;
        return mask;
    }
    // Many of one face, then a high face: most categories want that.
    int best = h.topFace, bestScore = -1;
    for (int f = 1; f <= 6; ++f) {
        if (!h.count[f]) continue;
        const bool ownCell = f >= 2 && Free(freeCategories, CategoryCodeOf(6 - f));
        const int score = h.count[f] * 8 + f + (ownCell ? 6 * f : 0);
        if (score > bestScore) {
            bestScore = score;
            best = f;
        }
    }
    return KeepFace(faces, best);
}

int DefaultCategory(const int faces[kHandSize], const int colours[kHandSize], unsigned freeCategories) {
    HandValue v[kCategoryCount];
    ScoreHandAll(faces, colours, v);
    int best = -1, bestGain = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        if (!(freeCategories & (1u << c))) continue;
        const int gain = v[c].points - kPar[c];
        if (best < 0 || gain > bestGain) {
            best = c;
            bestGain = gain;
        }
    }
    return best;
}

int GreedyHold(const int faces[kHandSize]) {
    int count[7] = {}, top = 1;
    for (int i = 0; i < kHandSize; ++i) ++count[faces[i]];
    for (int f = 2; f <= 6; ++f)
        if (count[f] >= count[top]) top = f;
    return KeepFace(faces, top);
}

int GreedyCategory(const int faces[kHandSize], const int colours[kHandSize], unsigned freeCategories) {
    HandValue v[kCategoryCount];
    ScoreHandAll(faces, colours, v);
    int best = -1;
    for (int c = 0; c < kCategoryCount; ++c)
        if ((freeCategories & (1u << c)) && (best < 0 || v[c].points > v[best].points)) best = c;
    return best;
}

}  // namespace coach
