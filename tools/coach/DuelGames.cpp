#include "tools/coach/DuelGames.h"

#include <algorithm>

#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/DuelOpponent.h"

std::vector<int> PlayLevelGames(OpponentLevel level, std::uint64_t seed, long long first, long long games,
                                double share) {
    const coach::CCoach coach;
    std::vector<int> totals;
    for (long long g = first; g < first + games; ++g) {
        const std::uint64_t gameSeed = coach::Combine(seed, static_cast<std::uint64_t>(g));
        totals.push_back(share >= 0 ? coach::PlayOpponentGameWithShare(gameSeed, share, coach).total
                                    : coach::PlayOpponentGame(gameSeed, level, coach).total);
    }
    return totals;
}

LevelSummary Summarise(const std::vector<int>& totals) {
    LevelSummary s;
    if (totals.empty()) return s;
    std::vector<int> sorted = totals;
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (int t : totals) sum += t;
    s.mean = sum / static_cast<double>(totals.size());
    s.median = sorted[(sorted.size() - 1) / 2];
    return s;
}

DuelTallies Tally(const std::vector<int>& hard, const std::vector<int>& other) {
    DuelTallies t;
    for (std::size_t g = 0; g < std::min(hard.size(), other.size()); ++g) {
        if (hard[g] > other[g])
            ++t.hardWon;
        else if (hard[g] < other[g])
            ++t.hardLost;
        else
            ++t.drawn;
    }
    return t;
}
