// The coach in the first half: playouts of every choice, shared dice, and
// the weaker half of the choices dropped after each round.
#include <algorithm>
#include <numeric>

#include "game/rules/coach/CCoach.h"
#include "game/rules/coach/CoachPolicies.h"
#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/SecondHalfSearch.h"

namespace coach {

namespace {

struct Playout {
    int face[kDieCount];
    int colour[kDieCount];
    ScoreCells cells;

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
    }

    // Plays a row on from `rolls` rolls made, by the default policy.
    void FinishRow(std::uint64_t stream, int row, int rolls) {
        const int* faces = face + DieIndex(row, 0);
        const int* colours = colour + DieIndex(row, 0);
        for (; rolls < kMaxRolls; ++rolls) {
            const int keep = DefaultHold(faces, colours, FreeCategories(cells));
            if (keep == kHoldAll) break;
            Reroll(stream, row, rolls + 1, keep);
        }
        Score(row, DefaultCategory(faces, colours, FreeCategories(cells)));
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
        return search.Anneal(search.Sorted(), swaps, Combine(stream, 0x5EC0)).total;
    }
};

struct Candidate {
    explicit Candidate(CoachChoice c) : choice(std::move(c)) {}
    CoachChoice choice;
    double sum = 0;
    int count = 0;
};

}  // namespace

CoachAdvice CCoach::FirstHalf(const CoachState& state, std::uint64_t seed) const {
    const int row = state.handIndex;
    Playout start;
    std::copy(state.face, state.face + kDieCount, start.face);
    std::copy(state.colour, state.colour + kDieCount, start.colour);
    start.cells = state.cells;

    std::vector<Candidate> candidates;
    if (state.rollsUsed == 0) {
        candidates.emplace_back(CoachChoice(ChoiceKind::Roll));
    } else {
        for (int c = 0; c < kCategoryCount; ++c) {
            if (state.cells[c].filled) continue;
            CoachChoice choice(ChoiceKind::Score);
            choice.category = CategoryCodeOf(c);
            candidates.emplace_back(choice);
        }
        if (state.rollsUsed < kMaxRolls) {
            for (int keep = 0; keep < kHoldAll; ++keep) {
                CoachChoice choice(ChoiceKind::Hold);
                choice.holdMask = keep;
                candidates.emplace_back(choice);
            }
        }
    }

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
    return advice;
}

}  // namespace coach
