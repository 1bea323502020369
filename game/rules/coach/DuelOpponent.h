#pragma once
// The computer's game in a duel: a whole game played on the duel's seeded
// dice by the coach's advice, from the coach's public interface alone. It
// never sees the player's choices nor any die before its own roll draws it:
// the coach's playouts roll dice of their own.
//
// The levels: Hard takes the coach's best choice at every decision. Medium
// and Easy take a share of their decisions (drawn from the seed, so a duel
// replays the same) by the quick greedy rule instead: keep the most frequent
// face, score what is worth most now, never swap. The shares were fitted by
// playing 500 seeded games a level (zanbor-coach --policy easy|medium|hard)
// so that Medium's mean is about 85 % of Hard's and Easy's about 65 %.

#include <atomic>
#include <cstdint>

#include "game/rules/Duel.h"
#include "game/rules/coach/CoachReview.h"

namespace coach {

// The share of an opponent's decisions taken by the greedy rule (0 at Hard).
double GreedyShare(OpponentLevel level);
// "Easy", "Medium", "Hard" ("Off" for none).
const char* LevelName(OpponentLevel level);

struct OpponentGame {
    bool finished = false;  // false: stopped before its end
    int total = 0;
    ScoreCells cells{};
    // The sheet's total after each number of hands scored (0..12).
    int totalAfter[kCategoryCount + 1] = {};
    // The board at the end (second half: as the computer arranged it).
    int face[kDieCount] = {};
    int colour[kDieCount] = {};
    // Its decisions, for the review's comparison with the player's.
    CDecisionLog log;
};

// Plays the whole game on the seed's dice (see SeededDice.h) at the level.
// Stops early, unfinished, once stop is set.
OpponentGame PlayOpponentGame(std::uint64_t seed, OpponentLevel level, const CCoach& coach,
                              const std::atomic<bool>* stop = nullptr);
// The same with a share of greedy decisions of the caller's (the levels' shares are fitted with it).
OpponentGame PlayOpponentGameWithShare(std::uint64_t seed, double greedyShare, const CCoach& coach,
                                       const std::atomic<bool>* stop = nullptr);

}  // namespace coach
