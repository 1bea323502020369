#pragma once
// The opponent's levels played headless on seeded dice: each level alone, or
// every level on the same dice as Hard, with how often Hard wins.

#include <cstdint>
#include <vector>

#include "game/rules/Duel.h"

// The totals of one level over games first..first+games-1 of the seed (game g
// on the dice of Combine(seed, g)).
// share, if 0 or more, replaces the level's share of greedy decisions (to fit it).
std::vector<int> PlayLevelGames(OpponentLevel level, std::uint64_t seed, long long first, long long games,
                                double share = -1);

struct LevelSummary {
    double mean = 0;
    int median = 0;
};
LevelSummary Summarise(const std::vector<int>& totals);

struct DuelTallies {
    int hardWon = 0;
    int hardLost = 0;
    int drawn = 0;
};
// Hard against the other level, game by game on the same dice.
DuelTallies Tally(const std::vector<int>& hard, const std::vector<int>& other);
