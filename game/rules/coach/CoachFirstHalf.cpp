// The coach in the first half: the choices worth it picked by a quick
// look one roll ahead, then playouts of those, on shared dice, the weaker
// half dropped after each round.
#include <algorithm>
#include <numeric>

#include "game/rules/coach/CCoach.h"
#include "game/rules/coach/CoachOutlook.h"
#include "game/rules/coach/CoachPolicies.h"
#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/SecondHalfSearch.h"

namespace coach {

namespace {

// The playouts play on by quick rules, weaker than the coach, so their mean
// falls short of what following the coach reaches. The shortfall, by row and
// rolls made, was measured over games the coach played (on other seeds than
// the ones it is checked on) and is added back, so the totals shown come true.
// (zanbor-coach --calibrate, 200 games on seeds 3 and 4; before a row's first
// roll, the shortfall after scoring the row before it, and a little more.)
constexpr double kShortfall[kFirstHalfHands][kMaxRolls + 1] = {
    {496, 466, 447, 445}, {448, 409, 392, 393}, {406, 356, 330, 327}, {345, 282, 259, 247}, {267, 199, 161, 151},
};

// Choices played out: the most promising holds and categories by the quick look.
constexpr int kHoldsPlayed = 4;
constexpr int kScoresPlayed = 3;
constexpr int kQuickSamples = 32;  // rolls sampled for the quick look at a hold

// The default hold, and one die of the face every finished row has while
// Five of a kind is open: the second half can line that face up.
int KeepForLater(const int faces[kHandSize], const ScoreCells& cells, const Material& m, int keep) {
    if (keep == kHoldAll || cells[CategoryIndex(kFiveOfAKind)].filled || m.rowsMade == 0) return keep;
    for (int f = 6; f >= 1; --f) {
        if (m.rowsWithFace[f] != m.rowsMade) continue;
        for (int col = 0; col < kHandSize; ++col)
            if (faces[col] == f && (keep & (1 << col))) return keep;
        for (int col = 0; col < kHandSize; ++col)
            if (faces[col] == f) return keep | 1 << col;
    }
    return keep;
}

struct Playout {
    int face[kDieCount];
    int colour[kDieCount];
    ScoreCells cells;
    Material material;  // the finished rows

    void Reroll(std::uint64_t stream, int row, int roll, int keep) {
        for (int col = 0; col < kBoardCols; ++col) {
            if (keep & (1 << col)) continue;
            const DrawnDie d = DrawDie(stream, row, roll, col);
            face[DieIndex(row, col)] = d.face;
            colour[DieIndex(row, col)] = d.colour;
        }
    }

    void Score(int row, int index) {
        const int* faces = face + DieIndex(row, 0);
        const int* colours = colour + DieIndex(row, 0);
        cells[index] = {true, ScoreHand(CategoryCodeOf(index), faces, colours).points};
        material.Add(faces, colours);
    }

    // Plays a row on from `rolls` rolls made, by the default policy.
    void FinishRow(std::uint64_t stream, int row, int rolls) {
        const int* faces = face + DieIndex(row, 0);
        const int* colours = colour + DieIndex(row, 0);
        for (; rolls < kMaxRolls; ++rolls) {
            const int keep = KeepForLater(faces, cells, material, DefaultHold(faces, colours, FreeCategories(cells)));
            if (keep == kHoldAll) break;
            Reroll(stream, row, rolls + 1, keep);
        }
        Score(row, OutlookCategory(cells, material, faces, colours));
    }

    // The rows after `row`, then the second half by a short search.
    int Finish(std::uint64_t stream, int row, int swaps) {
        for (int r = row + 1; r < kFirstHalfHands; ++r) {
            Reroll(stream, r, 1, 0);
            FinishRow(stream, r, 1);
        }
        SecondHalfProblem problem;
        std::copy(face, face + kDieCount, problem.face);
        std::copy(colour, colour + kDieCount, problem.colour);
        problem.freeCategories = FreeCategories(cells);
        const SheetTotalsValue sums = SheetTotals(cells);
        problem.leftBase = sums.leftSum;
        problem.rightBase = sums.rightSum;
        const CSecondHalfSearch search(problem);
        // The search starts from whichever is worth most of: sorted rows, the
        // face most rows share lined up, or lines gathered for the free
        // categories. A short search seldom builds a Flush or a number line
        // that a start does not already hold.
        Arrangement starts[6];
        int count = search.GatheredStarts(starts);
        starts[count++] = search.Sorted();
        starts[count++] = search.SameFaceFirst();
        int best = 0, bestTotal = -1;
        for (int i = 0; i < count; ++i) {
            const int total = search.Evaluate(starts[i]);
            if (total > bestTotal) {
                best = i;
                bestTotal = total;
            }
        }
        return search.Anneal(starts[best], swaps, Combine(stream, 0x5EC0)).total;
    }
};

struct Candidate {
    explicit Candidate(CoachChoice c) : choice(std::move(c)) {}
    CoachChoice choice;
    double sum = 0;
    int count = 0;
};

}  // namespace

int CanonicalHold(const CoachState& state, int holdMask) {
    // The kept dice as (face, colour) pairs; the lowest mask keeping the same pairs.
    auto key = [&](int mask) {
        int pairs[kHandSize], n = 0;
        for (int col = 0; col < kBoardCols; ++col)
            if (mask & (1 << col)) {
                const int i = DieIndex(state.handIndex, col);
                pairs[n++] = state.face[i] * 4 + state.colour[i];
            }
        for (int j = 1; j < n; ++j)
            for (int k = j; k > 0 && pairs[k - 1] > pairs[k]; --k) std::swap(pairs[k - 1], pairs[k]);
        std::uint64_t k = static_cast<std::uint64_t>(n);
        for (int j = 0; j < n; ++j) k = k * 32 + static_cast<std::uint64_t>(pairs[j]);
        return k;
    };
    const std::uint64_t wanted = key(holdMask);
    for (int mask = 0; mask < holdMask; ++mask)
        if (__builtin_popcount(mask) == __builtin_popcount(holdMask) && key(mask) == wanted) return mask;
    return holdMask;
}

namespace {

// The choices of a first-half moment worth playing out, with `also` among them.
std::vector<Candidate> Candidates(const CoachState& state, std::uint64_t seed, const CoachChoice* also) {
    std::vector<Candidate> candidates;
    if (state.rollsUsed == 0) {
        candidates.emplace_back(CoachChoice(ChoiceKind::Roll));
        return candidates;
    }
    const int row = state.handIndex;
    const Material material = Material::Of(state.face, state.colour, row);
    const int* faces = state.face + DieIndex(row, 0);
    const int* colours = state.colour + DieIndex(row, 0);
    const bool alsoHold = also && also->kind == ChoiceKind::Hold;
    const int alsoMask = alsoHold ? CanonicalHold(state, also->holdMask) : -1;

    struct Quick {
        CoachChoice choice;
        double value;
    };
    std::vector<Quick> scores, holds;
    {
        Material after = material;
        after.Add(faces, colours);
        HandValue v[kCategoryCount];
        ScoreHandAll(faces, colours, v);
        ScoreCells cells = state.cells;
        for (int c = 0; c < kCategoryCount; ++c) {
            if (state.cells[c].filled) continue;
            CoachChoice choice(ChoiceKind::Score);
            choice.category = CategoryCodeOf(c);
            cells[c] = {true, v[c].points};
            scores.push_back({choice, Outlook(cells, after)});
            cells[c] = {};
        }
    }
    if (state.rollsUsed < kMaxRolls) {
        // Holds that keep the same dice (face and colour) are one choice.
        for (int keep = 0; keep < kHoldAll; ++keep) {
            if (CanonicalHold(state, keep) != keep) continue;
            CoachChoice choice(ChoiceKind::Hold);
            choice.holdMask = keep;
            double sum = 0;
            for (int k = 0; k < kQuickSamples; ++k) {
                const std::uint64_t stream = Combine(seed ^ 0x9B1Cull, static_cast<std::uint64_t>(k));
                int f[kHandSize], c[kHandSize];
                for (int col = 0; col < kHandSize; ++col) {
                    const DrawnDie d = DrawDie(stream, row, state.rollsUsed + 1, col);
                    const bool kept = keep & (1 << col);
                    f[col] = kept ? faces[col] : d.face;
                    c[col] = kept ? colours[col] : d.colour;
                }
                sum += BestScoreOutlook(state.cells, material, f, c);
            }
            holds.push_back({choice, sum / kQuickSamples});
        }
    }
    auto byValue = [](const Quick& a, const Quick& b) { return a.value > b.value; };
    std::stable_sort(scores.begin(), scores.end(), byValue);
    std::stable_sort(holds.begin(), holds.end(), byValue);
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const bool wanted = also && also->kind == ChoiceKind::Score && also->category == scores[i].choice.category;
        if (i < kScoresPlayed || wanted) candidates.emplace_back(scores[i].choice);
    }
    for (std::size_t i = 0; i < holds.size(); ++i)
        if (i < kHoldsPlayed || holds[i].choice.holdMask == alsoMask) candidates.emplace_back(holds[i].choice);
    return candidates;
}

// A five of a kind made with its category open is scored. The playouts rank
// it below the number category of its face at rows 1 to 4: they make far less
// of the right-hand categories than the coach does once Five of a kind is
// filled (a Flush about 17 points instead of 43). Played on by the coach, five
// sixes scored as Five of a kind end about 220 points ahead at row 1 and 80 at
// row 3, so it goes first, shown at no less than the choice it passed.
void ScoreFiveOfAKindFirst(const CoachState& state, CoachAdvice& advice) {
    const int* faces = state.face + DieIndex(state.handIndex, 0);
    if (state.cells[CategoryIndex(kFiveOfAKind)].filled ||
        std::any_of(faces + 1, faces + kHandSize, [&](int f) { return f != faces[0]; }))
        return;
    auto five = std::find_if(advice.choices.begin(), advice.choices.end(), [](const CoachChoice& c) {
        return c.kind == ChoiceKind::Score && c.category == kFiveOfAKind;
    });
    if (five == advice.choices.end() || five == advice.choices.begin()) return;
    five->expected = std::max(five->expected, advice.Best());
    std::rotate(advice.choices.begin(), five, five + 1);
}

}  // namespace

CoachAdvice CCoach::FirstHalf(const CoachState& state, std::uint64_t seed, const CoachChoice* also) const {
    const int row = state.handIndex;
    Playout start;
    std::copy(state.face, state.face + kDieCount, start.face);
    std::copy(state.colour, state.colour + kDieCount, start.colour);
    start.cells = state.cells;
    start.material = Material::Of(state.face, state.colour, row);

    std::vector<Candidate> candidates = Candidates(state, seed, also);

    auto play = [&](const CoachChoice& choice, std::uint64_t stream) {
        Playout p = start;
        switch (choice.kind) {
        case ChoiceKind::Roll:
            p.Reroll(stream, row, 1, 0);
            p.FinishRow(stream, row, 1);
            break;
        case ChoiceKind::Hold:
            p.Reroll(stream, row, state.rollsUsed + 1, choice.holdMask);
            p.FinishRow(stream, row, state.rollsUsed + 1);
            break;
        default:
            p.Score(row, CategoryIndex(choice.category));
            break;
        }
        return p.Finish(stream, row, budget.rolloutSwaps);
    };

    // Rounds: every choice still in gets the same playouts; then the better
    // half (at least three) goes on. Each round spends an equal share.
    std::vector<int> alive(candidates.size());
    std::iota(alive.begin(), alive.end(), 0);
    // A lone choice (the first roll) needs only a fair estimate.
    const int total = candidates.size() == 1 ? budget.rollouts / 3 : budget.rollouts;
    int rounds = 1;
    for (std::size_t n = alive.size(); n > 3; n = (n + 1) / 2) ++rounds;
    std::vector<std::vector<int>> dropped(rounds);  // per round, best first
    int next = 0;  // the first playout number of the round
    for (int round = 0; round < rounds; ++round) {
        const int each = std::max(1, total / rounds / static_cast<int>(alive.size()));
        for (int k = 0; k < each; ++k) {
            const std::uint64_t stream = Combine(seed, static_cast<std::uint64_t>(next + k));
            for (int index : alive) {
                candidates[index].sum += play(candidates[index].choice, stream);
                ++candidates[index].count;
            }
        }
        next += each;
        auto mean = [&](int i) { return candidates[i].sum / candidates[i].count; };
        std::stable_sort(alive.begin(), alive.end(), [&](int a, int b) { return mean(a) > mean(b); });
        const std::size_t keep = std::max<std::size_t>(std::min<std::size_t>(3, alive.size()), (alive.size() + 1) / 2);
        dropped[round].assign(alive.begin() + static_cast<std::ptrdiff_t>(keep), alive.end());
        alive.resize(keep);
    }

    // Best first: the last ones in, then the others by the round they left in.
    // One that left early may show a lucky mean from fewer playouts; it was
    // beaten on the same dice, so it shows no more than those that beat it.
    CoachAdvice advice;
    const double shortfall = kShortfall[row][std::clamp(state.rollsUsed, 0, kMaxRolls)];
    for (Candidate& c : candidates) c.sum += shortfall * c.count;
    double ceiling = 0;
    std::vector<int> order = alive;
    for (int round = rounds - 1; round >= 0; --round) order.insert(order.end(), dropped[round].begin(), dropped[round].end());
    for (std::size_t i = 0; i < order.size(); ++i) {
        Candidate& c = candidates[order[i]];
        const double mean = c.sum / c.count;
        c.choice.expected = i == 0 ? mean : std::min(mean, ceiling);
        ceiling = c.choice.expected;
        advice.choices.push_back(std::move(c.choice));
    }
    ScoreFiveOfAKindFirst(state, advice);
    return advice;
}

}  // namespace coach
