#pragma once
// How a game begins. A solo game draws its dice from the game's generator as
// always. A seeded game (a duel, or today's dice) draws each die from the seed
// and the die's place and roll count, so two players who make different
// choices still see the same dice at the same place and roll.

#include <cstdint>

// The computer opponent of a duel; Off is the solo game. Stored as the
// option's number, so the values never change.
enum class OpponentLevel : int { Off = 0, Easy = 1, Medium = 2, Hard = 3 };

struct GameSetup {
    bool seeded = false;       // dice from the seed (always so in a duel)
    std::uint64_t seed = 0;
    OpponentLevel opponent = OpponentLevel::Off;
    bool today = false;        // today's dice: the seed is the local date
};
