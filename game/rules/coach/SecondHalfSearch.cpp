#include "game/rules/coach/SecondHalfSearch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "game/rules/coach/CoachRandom.h"

namespace coach {

namespace {

constexpr int kLeftGroup = 6;  // category indexes 0..5 are the left group

// The final total of the two group sums, by table: the search asks it often.
constexpr int kMaxSum = 1024;  // above any sum a sheet can reach
using SumTable = std::array<int, kMaxSum>;
SumTable GroupTable(int (*level)(int), int (*multiplier)(int)) {
    SumTable t{};
    for (int s = 0; s < kMaxSum; ++s) t[s] = s * multiplier(level(s));
    return t;
}
const SumTable kLeftTotals = GroupTable(LeftLevel, LeftMultiplier);
const SumTable kRightTotals = GroupTable(RightLevel, RightMultiplier);

int GroupTotal(int leftSum, int rightSum) {
    if (leftSum < 0 || rightSum < 0 || leftSum >= kMaxSum || rightSum >= kMaxSum)
        return leftSum * LeftMultiplier(LeftLevel(leftSum)) + rightSum * RightMultiplier(RightLevel(rightSum));
    return kLeftTotals[static_cast<std::size_t>(leftSum)] + kRightTotals[static_cast<std::size_t>(rightSum)];
}

// The subsets of the lines, smallest first, with where each size begins.
struct SubsetTable {
    std::array<std::uint8_t, 1 << kLineCount> masks;
    std::array<std::uint8_t, 1 << kLineCount> bits;
    std::array<std::array<std::uint8_t, kLineCount>, 1 << kLineCount> members;  // each mask's lines, lowest first
    // [n][k]: how many sets of k lines the first n lines make. Those sets come
    // first among the sets of k lines, so they are masks[start[k]] onwards.
    std::array<std::array<std::uint8_t, kLineCount + 1>, kLineCount + 1> binomial;
    int start[kLineCount + 2];
    int cost[kLineCount + 1][kLineCount + 1] = {};  // [lines][categories]: steps of the table by sizes
};

const SubsetTable& Subsets() {
    static const SubsetTable table = [] {
        SubsetTable t{};
        int at = 0;
        for (int k = 0; k <= kLineCount; ++k) {
            t.start[k] = at;
            for (unsigned m = 0; m < t.masks.size(); ++m) {
                if (std::popcount(m) != k) continue;
                t.masks[at++] = static_cast<std::uint8_t>(m);
                t.bits[m] = static_cast<std::uint8_t>(k);
                int q = 0;
                for (unsigned rest = m; rest; rest &= rest - 1)
                    t.members[m][static_cast<std::size_t>(q++)] = static_cast<std::uint8_t>(std::countr_zero(rest));
            }
        }
        t.start[kLineCount + 1] = at;
        for (int n = 0; n <= kLineCount; ++n) {
            t.binomial[n][0] = 1;
            for (int k = 1; k <= kLineCount; ++k) {
                // Pascal's rule: C(n, k) = C(n - 1, k - 1) + C(n - 1, k).
                const int binomial = n == 0 ? 0 : t.binomial[n - 1][k - 1] + t.binomial[n - 1][k];
                t.binomial[n][k] = static_cast<std::uint8_t>(binomial);
                t.cost[n][k] = t.cost[n][k - 1] + binomial * k;
            }
        }
        return t;
    }();
    return table;
}

// One step of the assignment's table, totals only: every set of k of the n
// lines gets the best of giving the k-th category to one of its lines.
template <int K>
void FillLevelOf(int* best, const int* weight, const SubsetTable& t, int n) {
    const int end = t.start[K] + t.binomial[n][K];
    for (int i = t.start[K]; i < end; ++i) {
        const unsigned mask = t.masks[i];
        const std::uint8_t* m = t.members[mask].data();
        int value = best[mask ^ (1u << m[0])] + weight[m[0]];
        for (int q = 1; q < K; ++q) value = std::max(value, best[mask ^ (1u << m[q])] + weight[m[q]]);
        best[mask] = value;
    }
}

void FillLevel(int k, int* best, const int* weight, const SubsetTable& t, int n) {
    switch (k) {
    case 1: return FillLevelOf<1>(best, weight, t, n);
    case 2: return FillLevelOf<2>(best, weight, t, n);
    case 3: return FillLevelOf<3>(best, weight, t, n);
    case 4: return FillLevelOf<4>(best, weight, t, n);
    case 5: return FillLevelOf<5>(best, weight, t, n);
    case 6: return FillLevelOf<6>(best, weight, t, n);
    default: return FillLevelOf<7>(best, weight, t, n);
    }
}

}  // namespace

Arrangement Arrangement::Identity() {
    Arrangement a;
    for (int i = 0; i < kDieCount; ++i) a.at[i] = static_cast<std::uint8_t>(i);
    return a;
}

CSecondHalfSearch::CSecondHalfSearch(const SecondHalfProblem& problem) : p(problem) {
    bool onScored[kDieCount] = {};
    for (int l = 0; l < kLineCount; ++l) {
        GetLineDice(l, linePlaces[l]);
        if (p.lineScored[l])
            for (int place : linePlaces[l]) onScored[place] = true;
        else
            openLines |= 1u << l;
    }
    for (int row = 0; row < kBoardRows; ++row) {
        for (int col = 0; col < kBoardCols; ++col) {
            const int place = DieIndex(row, col);
            if (!p.fixed[place] && !onScored[place]) movable[row][movableCount[row]++] = place;
        }
        if (movableCount[row] >= 2) swapRows[swapRowCount++] = row;
    }
}

void CSecondHalfSearch::LineWeights(const Arrangement& a, int line, Weights& w) const {
    int faces[kHandSize], colours[kHandSize];
    for (int i = 0; i < kHandSize; ++i) {
        faces[i] = p.face[a.at[linePlaces[line][i]]];
        colours[i] = p.colour[a.at[linePlaces[line][i]]];
    }
    ScoreHandPoints(faces, colours, p.freeCategories, w.w[line]);
}

int CSecondHalfSearch::Assign(const Weights& w, unsigned lines, unsigned categories, int leftBase, int rightBase,
                              int lineCategory[kLineCount]) const {
    int lineOf[kLineCount], n = 0;
    for (int l = 0; l < kLineCount; ++l)
        if (lines & (1u << l)) lineOf[n++] = l;
    int left[kCategoryCount], nl = 0, right[kCategoryCount], nr = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        if (!(categories & (1u << c))) continue;
        if (c < kLeftGroup)
            left[nl++] = c;
        else
            right[nr++] = c;
    }
    // A consistent sheet has as many free categories as open lines.
    if (nl + nr != n) return GroupTotal(leftBase, rightBase);

    // best[mask]: the most points the lines of mask make in the group's first
    // popcount(mask) categories; from[mask]: the line given the last of them.
    const unsigned full = (1u << n) - 1;
    int bestL[1 << kLineCount], fromL[1 << kLineCount], bestR[1 << kLineCount], fromR[1 << kLineCount];
    const SubsetTable& t = Subsets();
    // The search asks for totals only, so the lines given are traced only
    // when asked for; a category's weights are gathered once for its masks.
    auto fill = [&](int* best, int* from, const int* cats, int count) {
        best[0] = 0;
        for (int k = 1; k <= count; ++k) {
            int weight[kLineCount];
            for (int j = 0; j < n; ++j) weight[j] = w.w[lineOf[j]][cats[k - 1]];
            if (!from) {  // totals only
                FillLevel(k, best, weight, t, n);
                continue;
            }
            for (int i = t.start[k]; i < t.start[k] + t.binomial[n][k]; ++i) {
                const unsigned mask = t.masks[i];
                int value = -1;
                int line = 0;
                for (unsigned rest = mask; rest; rest &= rest - 1) {
                    const int j = std::countr_zero(rest);
                    const int v = best[mask ^ (1u << j)] + weight[j];
                    if (v > value) {
                        value = v;
                        line = j;
                    }
                }
                best[mask] = value;
                from[mask] = line;
            }
        }
    };
    // Totals only: where few lines score anything in a group, the group's
    // best for a set of lines (one for each of its categories) is the best
    // matching of those few lines alone, as the others make 0 wherever they
    // go and no weight is below 0. best[S] for the subsets S of the scoring
    // lines, the categories taken one at a time; false when that would cost
    // more than the table above.
    auto fillFew = [&](int* best, const int* cats, int count, unsigned* scoring) {
        *scoring = 0;
        for (int j = 0; j < n; ++j) {
            int any = 0;
            for (int k = 0; k < count; ++k) any |= w.w[lineOf[j]][cats[k]];
            *scoring |= static_cast<unsigned>(any != 0) << j;
        }
        const int m = t.bits[*scoring];
        if (((count * m) << m) > 2 * t.cost[n][count]) return false;
        for (unsigned s = *scoring;; s = (s - 1) & *scoring) {
            best[s] = 0;
            if (!s) break;
        }
        for (int k = 0; k < count; ++k) {
            int weight[kLineCount];
            for (int j = 0; j < n; ++j) weight[j] = w.w[lineOf[j]][cats[k]];
            // Larger sets first: a set's subsets still hold the values
            // without this category.
            for (unsigned s = *scoring; s; s = (s - 1) & *scoring) {
                int value = best[s];
                for (unsigned rest = s; rest; rest &= rest - 1) {
                    const int j = std::countr_zero(rest);
                    value = std::max(value, best[s ^ (1u << j)] + weight[j]);
                }
                best[s] = value;
            }
        }
        return true;
    };
    unsigned keepL = full, keepR = full;  // the lines a group's table is kept for
    if (lineCategory || !fillFew(bestL, left, nl, &keepL)) {
        keepL = full;
        fill(bestL, lineCategory ? fromL : nullptr, left, nl);
    }
    if (lineCategory || !fillFew(bestR, right, nr, &keepR)) {
        keepR = full;
        fill(bestR, lineCategory ? fromR : nullptr, right, nr);
    }

    int bestTotal = -1;
    unsigned bestMask = 0;
    for (int i = t.start[nl]; i < t.start[nl] + t.binomial[n][nl]; ++i) {
        const unsigned mask = t.masks[i];
        const int total = GroupTotal(leftBase + bestL[mask & keepL], rightBase + bestR[(full ^ mask) & keepR]);
        if (total > bestTotal) {
            bestTotal = total;
            bestMask = mask;
        }
    }
    if (lineCategory) {
        for (int l = 0; l < kLineCount; ++l) lineCategory[l] = -1;
        for (unsigned mask = bestMask; mask; mask ^= 1u << fromL[mask])
            lineCategory[lineOf[fromL[mask]]] = left[t.bits[mask] - 1];
        for (unsigned mask = full ^ bestMask; mask; mask ^= 1u << fromR[mask])
            lineCategory[lineOf[fromR[mask]]] = right[t.bits[mask] - 1];
    }
    return bestTotal;
}

int CSecondHalfSearch::Evaluate(const Arrangement& a, int lineCategory[kLineCount]) const {
    Weights w{};
    for (int l = 0; l < kLineCount; ++l)
        if (openLines & (1u << l)) LineWeights(a, l, w);
    return Assign(w, openLines, p.freeCategories, p.leftBase, p.rightBase, lineCategory);
}

void CSecondHalfSearch::ForcedTotals(const Arrangement& a, int line, int out[kCategoryCount]) const {
    Weights w{};
    for (int l = 0; l < kLineCount; ++l)
        if (openLines & (1u << l)) LineWeights(a, l, w);
    for (int c = 0; c < kCategoryCount; ++c) {
        out[c] = -1;
        if (!(p.freeCategories & (1u << c)) || !(openLines & (1u << line))) continue;
        const int points = w.w[line][c];
        out[c] = Assign(w, openLines & ~(1u << line), p.freeCategories & ~(1u << c),
                        p.leftBase + (c < kLeftGroup ? points : 0), p.rightBase + (c < kLeftGroup ? 0 : points),
                        nullptr);
    }
}

Arrangement CSecondHalfSearch::Sorted() const {
    Arrangement a = Arrangement::Identity();
    for (int row = 0; row < kBoardRows; ++row) {
        const int n = movableCount[row];
        std::uint8_t dice[kBoardCols];
        for (int i = 0; i < n; ++i) dice[i] = a.at[movable[row][i]];
        auto before = [&](int x, int y) {
            return p.face[x] != p.face[y] ? p.face[x] > p.face[y] : p.colour[x] < p.colour[y];
        };
        // At most five dice: an insertion sort, stable like the library's,
        // whose inlined merge GCC 12 at -O3 warns about for a small array.
        for (int i = 1; i < n; ++i)
            for (int k = i; k > 0 && before(dice[k], dice[k - 1]); --k) std::swap(dice[k], dice[k - 1]);
        for (int i = 0; i < n; ++i) a.at[movable[row][i]] = dice[i];
    }
    return a;
}

Arrangement CSecondHalfSearch::SameFaceFirst() const {
    Arrangement a = Sorted();
    int rowsWith[7] = {};
    for (int row = 0; row < kBoardRows; ++row) {
        bool seen[7] = {};
        for (int i = 0; i < movableCount[row]; ++i) seen[p.face[a.at[movable[row][i]]]] = true;
        for (int f = 1; f <= 6; ++f) rowsWith[f] += seen[f];
    }
    int face = 6;
    for (int f = 5; f >= 1; --f)
        if (rowsWith[f] > rowsWith[face]) face = f;
    for (int row = 0; row < kBoardRows; ++row) {
        for (int i = 0; i < movableCount[row]; ++i) {
            if (p.face[a.at[movable[row][i]]] != face) continue;
            // Move it to the front, keeping the others in order.
            for (int k = i; k > 0; --k) std::swap(a.at[movable[row][k]], a.at[movable[row][k - 1]]);
            break;
        }
    }
    return a;
}

Arrangement CSecondHalfSearch::Gathered(const int* targets, int count) const {
    Arrangement a = Sorted();
    if (count == 0) return a;
    int colours[kBoardCols][4] = {};
    auto fits = [&](int die, int target) { return target > 0 ? p.face[die] == target : p.colour[die] == -1 - target; };
    for (int row = 0; row < kBoardRows; ++row) {
        const int n = movableCount[row];
        std::uint8_t dice[kBoardCols];
        bool used[kBoardCols] = {};
        for (int i = 0; i < n; ++i) dice[i] = a.at[movable[row][i]];
        int slot[kBoardCols];
        std::fill(slot, slot + kBoardCols, -1);
        for (int k = 0; k < count && k < n; ++k) {
            int pick = -1;
            for (int i = 0; i < n; ++i) {
                if (used[i] || !fits(dice[i], targets[k])) continue;
                if (pick < 0 || colours[k][p.colour[dice[i]]] > colours[k][p.colour[dice[pick]]]) pick = i;
            }
            if (pick < 0) continue;
            used[pick] = true;
            slot[k] = pick;
            ++colours[k][p.colour[dice[pick]]];
        }
        // The rest, still sorted, into the places left.
        int next = 0;
        for (int k = 0; k < n; ++k) {
            if (slot[k] >= 0) continue;
            while (used[next]) ++next;
            used[next] = true;
            slot[k] = next;
        }
        for (int k = 0; k < n; ++k) a.at[movable[row][k]] = dice[slot[k]];
    }
    return a;
}

int CSecondHalfSearch::GatheredStarts(Arrangement out[4]) const {
    // The problem's dice stand in their own places before any arrangement.
    int rowsWithFace[7] = {}, rowsWithColour[4] = {};
    for (int row = 0; row < kBoardRows; ++row) {
        bool face[7] = {}, colour[4] = {};
        for (int i = 0; i < movableCount[row]; ++i) {
            face[p.face[movable[row][i]]] = true;
            colour[p.colour[movable[row][i]]] = true;
        }
        for (int f = 1; f <= 6; ++f) rowsWithFace[f] += face[f];
        for (int c = 0; c < 4; ++c) rowsWithColour[c] += colour[c];
    }
    int face = 6, colour = 0;
    for (int f = 5; f >= 1; --f)
        if (rowsWithFace[f] > rowsWithFace[face]) face = f;
    for (int c = 1; c < 4; ++c)
        if (rowsWithColour[c] > rowsWithColour[colour]) colour = c;
    const bool five = p.freeCategories & (1u << CategoryIndex(kFiveOfAKind));
    const bool flush = p.freeCategories & (1u << CategoryIndex(kFlush));
    int starts = 0;
    for (int variant = 0; variant < 4; ++variant) {
        const bool withFace = variant & 1, withColour = variant & 2;
        if ((withFace && !five) || (withColour && !flush)) continue;
        int targets[kBoardCols + 2], count = 0;
        if (withFace) targets[count++] = face;
        if (withColour) targets[count++] = -1 - colour;
        for (int index = 0; index < kLeftGroup - 1; ++index)
            if ((p.freeCategories & (1u << index)) && !(withFace && 6 - index == face)) targets[count++] = 6 - index;
        out[starts++] = Gathered(targets, std::min(count, kBoardCols));
    }
    return starts;
}

Arrangement CSecondHalfSearch::Shuffled(std::uint64_t seed) const {
    Arrangement a = Arrangement::Identity();
    CRandomStream rng(seed);
    for (int row = 0; row < kBoardRows; ++row)
        for (int i = movableCount[row] - 1; i > 0; --i)
            std::swap(a.at[movable[row][i]], a.at[movable[row][rng.Below(i + 1)]]);
    return a;
}

int CSecondHalfSearch::LinesThrough(int pa, int pb, int changed[4]) const {
    int count = 0;
    auto touch = [&](int line) {
        if (!(openLines & (1u << line))) return;
        for (int k = 0; k < count; ++k)
            if (changed[k] == line) return;
        changed[count++] = line;
    };
    for (int place : {pa, pb}) {
        const int r = place / kBoardCols, c = place % kBoardCols;
        touch(c + 1);
        if (r == c) touch(kRisingDiagonal);
        if (r + c == 4) touch(kFallingDiagonal);
    }
    return count;
}

CSecondHalfSearch::Result CSecondHalfSearch::Climb(const Arrangement& start, int tries) const {
    Result best{start, 0};
    Weights w{};
    for (int l = 0; l < kLineCount; ++l)
        if (openLines & (1u << l)) LineWeights(best.arrangement, l, w);
    best.total = Assign(w, openLines, p.freeCategories, p.leftBase, p.rightBase, nullptr);
    bool gained = true;
    while (gained && tries > 0) {
        gained = false;
        for (int s = 0; s < swapRowCount && tries > 0; ++s) {
            const int row = swapRows[s], n = movableCount[row];
            for (int i = 0; i < n && tries > 0; ++i) {
                for (int j = i + 1; j < n && tries > 0; ++j, --tries) {
                    const int pa = movable[row][i], pb = movable[row][j];
                    if (p.face[best.arrangement.at[pa]] == p.face[best.arrangement.at[pb]] &&
                        p.colour[best.arrangement.at[pa]] == p.colour[best.arrangement.at[pb]])
                        continue;  // equal dice: nothing changes
                    std::swap(best.arrangement.at[pa], best.arrangement.at[pb]);
                    int changed[4], saved[4][kCategoryCount];
                    const int count = LinesThrough(pa, pb, changed);
                    for (int k = 0; k < count; ++k) {
                        std::copy(w.w[changed[k]], w.w[changed[k]] + kCategoryCount, saved[k]);
                        LineWeights(best.arrangement, changed[k], w);
                    }
                    const int total = Assign(w, openLines, p.freeCategories, p.leftBase, p.rightBase, nullptr);
                    if (total > best.total) {
                        best.total = total;
                        gained = true;
                        continue;
                    }
                    std::swap(best.arrangement.at[pa], best.arrangement.at[pb]);
                    for (int k = 0; k < count; ++k) std::copy(saved[k], saved[k] + kCategoryCount, w.w[changed[k]]);
                }
            }
        }
    }
    return best;
}

CSecondHalfSearch::Result CSecondHalfSearch::FewerMoves(const Result& best) const {
    Result r = best;
    auto moved = [&](int place) {
        const int die = r.arrangement.at[place];
        return int{p.face[die] != p.face[place] || p.colour[die] != p.colour[place]};
    };
    for (bool fewer = true; fewer;) {
        fewer = false;
        for (int s = 0; s < swapRowCount; ++s) {
            const int row = swapRows[s], n = movableCount[row];
            for (int i = 0; i < n; ++i) {
                for (int j = i + 1; j < n; ++j) {
                    const int pa = movable[row][i], pb = movable[row][j];
                    const int before = moved(pa) + moved(pb);
                    std::swap(r.arrangement.at[pa], r.arrangement.at[pb]);
                    if (moved(pa) + moved(pb) < before) {
                        const int total = Evaluate(r.arrangement);
                        if (total >= r.total) {
                            r.total = total;
                            fewer = true;
                            continue;
                        }
                    }
                    std::swap(r.arrangement.at[pa], r.arrangement.at[pb]);
                }
            }
        }
    }
    return r;
}

CSecondHalfSearch::Result CSecondHalfSearch::Anneal(const Arrangement& start, int iterations,
                                                    std::uint64_t seed) const {
    Result best{start, 0};
    Arrangement cur = start;
    Weights w{};
    for (int l = 0; l < kLineCount; ++l)
        if (openLines & (1u << l)) LineWeights(cur, l, w);
    int curTotal = Assign(w, openLines, p.freeCategories, p.leftBase, p.rightBase, nullptr);
    best.total = curTotal;
    if (swapRowCount == 0 || iterations <= 0) return best;

    CRandomStream rng(seed);
    // triedIn[pair] == accepted: the swap of that pair of places in a row was
    // tried since the last swap kept, and turned down at triedTotal[pair].
    std::array<int, kBoardRows * kBoardCols * kBoardCols> triedIn, triedTotal;
    triedIn.fill(-1);
    int accepted = 0;
    // A short search does best climbing; a long one can afford to wander.
    const double hot = iterations < 500 ? 10.0 : 40.0, cold = 1.0;
    const double cooling = std::pow(cold / hot, 1.0 / iterations);
    double temperature = hot;
    for (int it = 0; it < iterations; ++it, temperature *= cooling) {
        const int row = swapRows[rng.Below(swapRowCount)];
        const int n = movableCount[row];
        const int i = rng.Below(n);
        const int j = (i + 1 + rng.Below(n - 1)) % n;
        const int pa = movable[row][i], pb = movable[row][j];
        if (p.face[cur.at[pa]] == p.face[cur.at[pb]] && p.colour[cur.at[pa]] == p.colour[cur.at[pb]]) continue;
        // Most swaps are turned down, so the same swap is often tried again
        // from the same arrangement: its total is known by then.
        const auto pair = static_cast<std::size_t>((row * kBoardCols + std::min(i, j)) * kBoardCols + std::max(i, j));
        const bool known = triedIn[pair] == accepted;
        auto turnedDown = [&](int total) {
            return total < curTotal && rng.Unit() >= std::exp((total - curTotal) / temperature);
        };
        if (known && turnedDown(triedTotal[pair])) continue;
        std::swap(cur.at[pa], cur.at[pb]);
        // Only the lines through the two places change.
        int changed[4], saved[4][kCategoryCount];
        const int count = LinesThrough(pa, pb, changed);
        for (int k = 0; k < count; ++k) {
            std::copy(w.w[changed[k]], w.w[changed[k]] + kCategoryCount, saved[k]);
            LineWeights(cur, changed[k], w);
        }
        const int total = known ? triedTotal[pair] : Assign(w, openLines, p.freeCategories, p.leftBase, p.rightBase, nullptr);
        if (!known && turnedDown(total)) {
            std::swap(cur.at[pa], cur.at[pb]);
            for (int k = 0; k < count; ++k) std::copy(saved[k], saved[k] + kCategoryCount, w.w[changed[k]]);
            triedIn[pair] = accepted;
            triedTotal[pair] = total;
            continue;
        }
        ++accepted;
        curTotal = total;
        if (total > best.total) best = {cur, total};
    }
    return best;
}

}  // namespace coach
