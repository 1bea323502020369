#pragma once
// The coach: for any moment of a game, the expected final total after each
// legal choice, if that choice is made and play goes on well.
//
// First half: every choice (each hold set to roll again with, each free
// category to score now) is played out many times to the end of the game by
// a quick default policy, and the second half of each playout is solved by a
// short search (SecondHalfSearch). The playouts of all choices share their
// dice, and choices that fall behind are dropped halfway so the leaders get
// more playouts. Second half: no luck is left, so the coach searches the
// arrangements directly, for the best overall and with each line scored now.
//
// Advice depends only on the state and the seed.

#include <cstdint>

#include "game/rules/coach/CoachState.h"

namespace coach {

struct CoachBudget {
    int rollouts = 1000;      // first half: playouts shared by all the choices
    int rolloutSwaps = 120;   // swaps tried to finish a playout's second half
    int searchSwaps = 16000;  // second half: swaps tried by each search
};

class CCoach {
public:
    explicit CCoach(CoachBudget budget = {}) : budget(budget) {}

    CoachAdvice Advise(const CoachState& state, std::uint64_t seed) const;

    const CoachBudget& Budget() const { return budget; }

private:
    CoachAdvice FirstHalf(const CoachState& state, std::uint64_t seed) const;
    CoachAdvice SecondHalf(const CoachState& state, std::uint64_t seed) const;

    CoachBudget budget;
};

unsigned FreeCategories(const ScoreCells& cells);

}  // namespace coach
