#pragma once
// Whole games played on the rules model by one policy, start to end.

#include <cstdint>

#include "game/rules/coach/CCoach.h"

enum class GamePolicy { Greedy, Coach };

// Plays one game; the game's dice come from the game's random source, which
// the caller seeds. Returns the final total.
int PlayGame(GamePolicy policy, const coach::CCoach& coach, std::uint64_t adviceSeed);
