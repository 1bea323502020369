// The coach in the second half: a search for the best arrangement overall,
// and one for each open line with that line scored as it stands now.
#include <algorithm>

#include "game/rules/coach/CCoach.h"
#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/SecondHalfSearch.h"

namespace coach {

namespace {

// The swaps, in order, that turn the board as it is into the arrangement's
// faces and colours. Equal dice are not told apart. The open line fewest
// swaps away is completed first, so it can be scored while the rest is still
// to do, then the next that is fewest away by then: the same order again
// from any board along the way, so advice asked between swaps goes on as
// planned. A swap that puts both its dice where they belong goes first.
std::vector<std::pair<int, int>> SwapsTo(const CoachState& s, const Arrangement& target) {
    Arrangement now = Arrangement::Identity();
    auto fits = [&](int place) {
        return s.face[now.at[place]] == s.face[target.at[place]] && s.colour[now.at[place]] == s.colour[target.at[place]];
    };
    auto wants = [&](int place, int die) {  // die (by index) fits place
        return s.face[die] == s.face[target.at[place]] && s.colour[die] == s.colour[target.at[place]];
    };
    std::vector<std::pair<int, int>> swaps;
    for (;;) {
        int next = -1, fewest = kHandSize + 1, places[kHandSize];
        for (int line = 0; line < kLineCount; ++line) {
            if (s.lineScored[line]) continue;
            GetLineDice(line, places);
            const int wrong = static_cast<int>(std::count_if(places, places + kHandSize, [&](int p) { return !fits(p); }));
            if (wrong > 0 && wrong < fewest) {
                next = line;
                fewest = wrong;
            }
        }
        if (next < 0) return swaps;
        GetLineDice(next, places);
        for (int place : places) {
            if (fits(place)) continue;
            // One place a row on a line: the die comes from another line.
            const int rowStart = DieIndex(place / kBoardCols, 0);
            int pick = -1;
            for (int other = rowStart; other < rowStart + kBoardCols; ++other) {
                if (other == place || fits(other) || !wants(place, now.at[other])) continue;
                if (pick < 0 || (wants(other, now.at[place]) && !wants(pick, now.at[place]))) pick = other;
            }
            if (pick < 0) return swaps;  // not a rearrangement of the rows: cannot happen
            std::swap(now.at[place], now.at[pick]);
            swaps.emplace_back(place, pick);
        }
    }
}

// The arrangement that puts the planned board in place, moving only movable
// dice within their rows; false when the plan cannot be reached any more.
bool PlannedArrangement(const CoachState& s, Arrangement& out) {
    out = Arrangement::Identity();
    bool fixed[kDieCount] = {}, used[kDieCount] = {};
    int places[kHandSize];
    for (int l = 0; l < kLineCount; ++l) {
        if (!s.lineScored[l]) continue;
        GetLineDice(l, places);
        for (int place : places) fixed[place] = used[place] = true;
    }
    auto planned = [&](int die, int place) { return s.face[die] == s.planFace[place] && s.colour[die] == s.planColour[place]; };
    for (int place = 0; place < kDieCount; ++place) {
        if (fixed[place]) {
            if (!planned(place, place)) return false;
            continue;
        }
        const int rowStart = place - place % kBoardCols;
        int die = rowStart;
        while (die < rowStart + kBoardCols && (used[die] || !planned(die, place))) ++die;
        if (die == rowStart + kBoardCols) return false;
        used[die] = true;
        out.at[place] = static_cast<std::uint8_t>(die);
    }
    return true;
}

bool KeepsLine(const Arrangement& a, int line) {
    int places[kHandSize];
    GetLineDice(line, places);
    for (int place : places)
        if (a.at[place] != place) return false;
    return true;
}

void SetPlan(CoachChoice& choice, const CoachState& state, const Arrangement& a) {
    choice.planFace.clear();
    choice.planColour.clear();
    for (int place = 0; place < kDieCount; ++place) {
        choice.planFace.push_back(state.face[a.at[place]]);
        choice.planColour.push_back(state.colour[a.at[place]]);
    }
}

}  // namespace

CoachAdvice CCoach::SecondHalf(const CoachState& state, std::uint64_t seed) const {
    SecondHalfProblem problem;
    std::copy(state.face, state.face + kDieCount, problem.face);
    std::copy(state.colour, state.colour + kDieCount, problem.colour);
    std::copy(state.lineScored, state.lineScored + kLineCount, problem.lineScored);
    problem.freeCategories = FreeCategories(state.cells);
    const SheetTotalsValue sums = SheetTotals(state.cells);
    problem.leftBase = sums.leftSum;
    problem.rightBase = sums.rightSum;

    // The best arrangement overall: searches from many starts, each polished
    // by climbing. A plan given before stays unless a search finds a strictly
    // better one.
    const CSecondHalfSearch search(problem);
    const Arrangement here = Arrangement::Identity();
    CSecondHalfSearch::Result best{here, search.Evaluate(here)};
    Arrangement planned;
    // A plan that can still be reached is kept: asking again must not change
    // course halfway through its swaps.
    const bool keepPlan = state.hasPlan && PlannedArrangement(state, planned);
    if (keepPlan) best = {planned, search.Evaluate(planned)};
    // Many short searches find more than a few long ones: good arrangements
    // lie far apart, and a search settles near the start it was given. The
    // starts: the board as it is, sorted rows, the lines the free categories
    // want gathered, then shuffled rows.
    constexpr int kStarts = 48;
    Arrangement gathered[4];
    const int gatheredCount = keepPlan ? 0 : search.GatheredStarts(gathered);
    const int swapsEach = std::max(1, budget.searchSwaps * 2 / kStarts);
    std::vector<Arrangement> tied;  // other searches' arrangements worth the best total
    for (int i = 0; i < (keepPlan ? 0 : kStarts); ++i) {
        const Arrangement start = i == 0 ? here
                                  : i == 1 ? search.Sorted()
                                  : i - 2 < gatheredCount ? gathered[i - 2]
                                                          : search.Shuffled(Combine(seed, 40u + i));
        const CSecondHalfSearch::Result r =
            search.Anneal(start, swapsEach, Combine(seed, 1u + static_cast<std::uint64_t>(i)));
        const CSecondHalfSearch::Result polished = search.Climb(r.arrangement, 8 * kDieCount);
        if (polished.total > best.total) {
            best = polished;
            tied.clear();
        } else if (polished.total == best.total) {
            tied.push_back(polished.arrangement);
        }
    }
    // A plan is followed by hand: of the arrangements worth the best total,
    // the one fewest swaps away, with no die moved that need not be.
    if (!keepPlan) {
        best = search.FewerMoves(best);
        std::size_t fewest = SwapsTo(state, best.arrangement).size();
        for (const Arrangement& a : tied) {
            const CSecondHalfSearch::Result r = search.FewerMoves({a, best.total});
            const std::size_t swaps = SwapsTo(state, r.arrangement).size();
            if (r.total > best.total || (r.total == best.total && swaps < fewest)) {
                best = r;
                fewest = swaps;
            }
        }
    }

    CoachAdvice advice;
    double bestScoreNow = -1;
    for (int line = 0; line < kLineCount; ++line) {
        if (state.lineScored[line]) continue;
        // The line stays as it is; the rest may still be arranged.
        SecondHalfProblem fixedLine = problem;
        int places[kHandSize];
        GetLineDice(line, places);
        for (int place : places) fixedLine.fixed[place] = true;
        const CSecondHalfSearch locked(fixedLine);
        const Arrangement& start = KeepsLine(best.arrangement, line) ? best.arrangement : here;
        // Along a kept plan the lines are weighed on it and on the board as it is.
        const int tries = keepPlan ? 0 : budget.searchSwaps / 4;
        const CSecondHalfSearch::Result r = locked.Anneal(start, tries, Combine(seed, 16 + static_cast<std::uint64_t>(line)));

        // Per category, the best of the arrangements that keep the line.
        int totals[kCategoryCount];
        const Arrangement* from[kCategoryCount];
        locked.ForcedTotals(r.arrangement, line, totals);
        std::fill(from, from + kCategoryCount, &r.arrangement);
        for (const Arrangement* other : {&here, static_cast<const Arrangement*>(&best.arrangement)}) {
            if (!KeepsLine(*other, line)) continue;
            int more[kCategoryCount];
            locked.ForcedTotals(*other, line, more);
            for (int c = 0; c < kCategoryCount; ++c)
                if (more[c] > totals[c]) {
                    totals[c] = more[c];
                    from[c] = other;
                }
        }
        for (int c = 0; c < kCategoryCount; ++c) {
            if (totals[c] < 0) continue;
            CoachChoice choice(ChoiceKind::Score);
            choice.category = CategoryCodeOf(c);
            choice.line = line;
            choice.expected = totals[c];
            SetPlan(choice, state, *from[c]);
            bestScoreNow = std::max(bestScoreNow, choice.expected);
            advice.choices.push_back(std::move(choice));
        }
    }
    if (best.total > bestScoreNow) {
        CoachChoice choice(ChoiceKind::Swaps);
        choice.swaps = SwapsTo(state, best.arrangement);
        SetPlan(choice, state, best.arrangement);
        // The line to score once the swaps are made: the first open one, as
        // the advice asked again then puts it first among equal totals.
        int lineCategory[kLineCount];
        search.Evaluate(best.arrangement, lineCategory);
        for (int line = 0; line < kLineCount && choice.planLine < 0; ++line) {
            if (lineCategory[line] < 0) continue;
            choice.planLine = line;
            choice.planCategory = CategoryCodeOf(lineCategory[line]);
        }
        choice.expected = best.total;
        advice.choices.push_back(std::move(choice));
    }
    return advice;
}

}  // namespace coach
