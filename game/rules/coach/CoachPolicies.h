#pragma once
// Quick decisions on one row of dice. The default policy plays the coach's
// rollouts, so it must be fast and sensible rather than best; the greedy
// policy is the plain baseline the coach is measured against.

#include "game/rules/HandScore.h"

namespace coach {

constexpr int kHoldAll = (1 << kHandSize) - 1;  // keep every die: stop rolling

// freeCategories: bit i = category index i is free.
// The dice to keep before the next roll; kHoldAll to stop and score.
int DefaultHold(const int faces[kHandSize], const int colours[kHandSize], unsigned freeCategories);
// The category index to score the hand into.
int DefaultCategory(const int faces[kHandSize], const int colours[kHandSize], unsigned freeCategories);

// Keeps every die of the most frequent face (the higher face on a tie).
int GreedyHold(const int faces[kHandSize]);
// The free category index worth most now (the first on a tie).
int GreedyCategory(const int faces[kHandSize], const int colours[kHandSize], unsigned freeCategories);

}  // namespace coach
