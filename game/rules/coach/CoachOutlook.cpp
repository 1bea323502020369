#include "game/rules/coach/CoachOutlook.h"

#include <algorithm>

namespace coach {

namespace {

constexpr int kLeftGroup = 6;  // category indexes 0..5 are the left group

// Chance that a row played for it shows a given face, or colour, at least once.
constexpr double kFaceChance = 0.62;
constexpr double kColourChance = 0.80;
// Lines compete for the same dice: a category makes about this share of what
// its material alone would give.
constexpr double kShare = 0.82;
// A number category takes most of its face: the other lines seldom need it.
constexpr double kNumberShare = 0.95;

// Chance that `have` rows plus the rows still to come reach `need` rows.
double Reach(int have, int remaining, int need, double p) {
    if (have >= need) return 1.0;
    // Binomial tail over the remaining rows.
    double chance = 0, term = 1;
    for (int i = 0; i < remaining; ++i) term *= 1 - p;  // none of them
    for (int k = 0; k <= remaining; ++k) {
        if (have + k >= need) chance += term;
        term = k < remaining ? term * p / (1 - p) * (remaining - k) / (k + 1) : 0;
    }
    return chance;
}

// What an open category is worth later, on the material.
double Par(int index, const Material& m) {
    const int remaining = kFirstHalfHands - m.rowsMade;
    if (index < 5) {
        const int face = 6 - index;
        const double rows = m.rowsWithFace[face] + kFaceChance * remaining;
        // A row still to come may also be scored into it with three of the face.
        const double row = remaining > 0 ? 2.0 * face * 2.8 : 0;
        return std::max(kNumberShare * 2.0 * face * rows, row) + 1.0;
    }
    switch (index) {
    case 5:
        return kShare * (m.bestFaceSum + 5.4 * remaining) + (remaining > 0 ? 2 : 0);
    case 6: {  // Five of a kind: a face in every row
        double best = 0;
        for (int f = 1; f <= 6; ++f)
            best = std::max(best, Reach(m.rowsWithFace[f], remaining, 5, kFaceChance) * (5.0 * f + 52));
        return kShare * best + 2.5 * remaining;
    }
    case 7: {  // Flush: a colour in every row
        double best = 0;
        for (int c = 0; c < 4; ++c) best = std::max(best, Reach(m.rowsWithColour[c], remaining, 5, kColourChance));
        return kShare * best * 62 + 2.0 * remaining;
    }
    case 8: {  // Four of a kind: a face in four rows
        double best = 0;
        for (int f = 1; f <= 6; ++f)
            best = std::max(best, Reach(m.rowsWithFace[f], remaining, 4, kFaceChance) * (4.0 * f + 33.5));
        return kShare * best + 2.0 * remaining;
    }
    case 9: return 34;
    case 10: return 27;
    default: return 21;
    }
}

int GroupTotal(double left, double right) {
    const int l = static_cast<int>(left + 0.5), r = static_cast<int>(right + 0.5);
    return l * LeftMultiplier(LeftLevel(l)) + r * RightMultiplier(RightLevel(r));
}

// The outlook with the levels' steps smoothed: sums are only expected, and a
// step taken at face value makes the playouts chase a level they will miss.
double Smoothed(double left, double right) {
    double sum = 0;
    for (const double d : {-12.0, -4.0, 4.0, 12.0}) sum += GroupTotal(left + d, right + 1.5 * d);
    return sum / 4;
}

}  // namespace

Material Material::Of(const int face[kDieCount], const int colour[kDieCount], int rows) {
    Material m;
    for (int r = 0; r < rows; ++r) m.Add(face + DieIndex(r, 0), colour + DieIndex(r, 0));
    return m;
}

void Material::Add(const int faces[kHandSize], const int colours[kHandSize]) {
    bool face[7] = {}, colour[4] = {};
    int best = 0;
    for (int i = 0; i < kHandSize; ++i) {
        face[faces[i]] = colour[colours[i]] = true;
        best = std::max(best, faces[i]);
    }
    for (int f = 1; f <= 6; ++f) rowsWithFace[f] += face[f];
    for (int c = 0; c < 4; ++c) rowsWithColour[c] += colour[c];
    bestFaceSum += best;
    ++rowsMade;
}

double Outlook(const ScoreCells& cells, const Material& material) {
    double left = 0, right = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        const double value = cells[c].filled ? cells[c].value : Par(c, material);
        (c < kLeftGroup ? left : right) += value;
    }
    return Smoothed(left, right);
}

namespace {

// The best free category for a finished row by the outlook, and that outlook.
double BestCategory(const ScoreCells& cells, const Material& material, const int faces[kHandSize],
                    const int colours[kHandSize], int* category) {
    Material after = material;
    after.Add(faces, colours);
    HandValue v[kCategoryCount];
    ScoreHandAll(faces, colours, v);
    // Each open category's value on the material after the row, found once:
    // only the category scored changes from one choice to the next.
    double value[kCategoryCount];
    for (int c = 0; c < kCategoryCount; ++c) value[c] = cells[c].filled ? cells[c].value : Par(c, after);
    double bestValue = 0;
    *category = -1;
    for (int c = 0; c < kCategoryCount; ++c) {
        if (cells[c].filled) continue;
        double left = 0, right = 0;
        for (int k = 0; k < kCategoryCount; ++k) (k < kLeftGroup ? left : right) += k == c ? v[c].points : value[k];
        const double outlook = Smoothed(left, right);
        if (*category < 0 || outlook > bestValue) {
            *category = c;
            bestValue = outlook;
        }
    }
    return bestValue;
}

}  // namespace

int OutlookCategory(const ScoreCells& cells, const Material& material, const int faces[kHandSize],
                    const int colours[kHandSize]) {
    int category;
    BestCategory(cells, material, faces, colours, &category);
    return category;
}

double BestScoreOutlook(const ScoreCells& cells, const Material& material, const int faces[kHandSize],
                        const int colours[kHandSize]) {
    int category;
    return BestCategory(cells, material, faces, colours, &category);
}

}  // namespace coach
