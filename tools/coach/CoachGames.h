#pragma once
// Whole games played on the rules model by one policy, start to end.

#include <cstdint>
#include <vector>

#include "game/rules/coach/CCoach.h"

enum class GamePolicy { Greedy, Coach };

// What the coach showed for the choice it made, and when.
struct ShownTotal {
    int handIndex = 0;
    int rollsUsed = 0;
    double shown = 0;
};

// A played game: its total, its sheet and (coach) every total shown.
struct PlayedGame {
    int total = 0;
    ScoreCells cells{};
    std::vector<ShownTotal> shown;
};

namespace coach {
class CDecisionLog;
}

// Plays one game; the game's dice come from the game's random source, which
// the caller seeds. The game's decisions are noted in the log, if given.
// With `commonDice` every die is drawn from a seed of its own (the advice
// seed, row, roll, column) instead: two policies compared on the same games
// then share their luck wherever they roll the same dice.
PlayedGame PlayGame(GamePolicy policy, const coach::CCoach& coach, std::uint64_t adviceSeed,
                    coach::CDecisionLog* log = nullptr, bool commonDice = false);
