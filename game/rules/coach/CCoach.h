#pragma once
// The coach: for any moment of a game, the final total a player can expect
// after each legal choice by following the coach from there.
//
// First half: holds that keep equal dice are one choice; a quick look one
// roll ahead on the value of the rest of the game (CoachOutlook) picks the
// holds and categories worth weighing, and each of those is played out to
// the end of the game by quick rules, the second half of each playout solved
// by a short search (SecondHalfSearch). The playouts of all choices share
// their dice, and choices that fall behind are dropped halfway so the leaders
// get more playouts. The playouts fall short of the coach's own play by an
// amount measured over many games, which is added back. Second half: no luck
// is left, so the coach searches the arrangements directly, with restarts,
// for the best overall and with each line scored now; the best arrangement
// is the plan that later advice keeps to.
//
// Advice depends only on the state and the seed.

#include <cstdint>

#include "game/rules/coach/CoachState.h"

namespace coach {

struct CoachBudget {
    int rollouts = 800;       // first half: playouts shared by the choices played out
    int rolloutSwaps = 200;   // swaps tried to finish a playout's second half
    int searchSwaps = 16000;  // second half: swaps tried by each search
};

class CCoach {
public:
    explicit CCoach(CoachBudget budget = {}) : budget(budget) {}

    // `also`, if given, is weighed whatever its promise (the review asks
    // what the player's own choice was worth).
    CoachAdvice Advise(const CoachState& state, std::uint64_t seed, const CoachChoice* also = nullptr) const;

    const CoachBudget& Budget() const { return budget; }

private:
    CoachAdvice FirstHalf(const CoachState& state, std::uint64_t seed, const CoachChoice* also) const;
    CoachAdvice SecondHalf(const CoachState& state, std::uint64_t seed) const;

    CoachBudget budget;
};

unsigned FreeCategories(const ScoreCells& cells);
// The hold that keeps the same dice (face and colour) with the lowest mask:
// holds that keep equal dice are one choice.
int CanonicalHold(const CoachState& state, int holdMask);

}  // namespace coach
