#include "game/rules/SeededDice.h"

#include "game/rules/coach/CoachRandom.h"

namespace {
// Keeps the game's dice apart from the coach's playouts even if a caller
// hands both the same number.
constexpr std::uint64_t kGameDiceStream = 0x5A4E424F52444943ull;
}  // namespace

SeededDie DrawSeededDie(std::uint64_t seed, int row, int col, int roll) {
    const coach::DrawnDie die = coach::DrawDie(coach::Combine(seed, kGameDiceStream), row, roll, col);
    return {die.face, die.colour};
}
