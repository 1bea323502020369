#pragma once
// The dice of a seeded game. Each die's face and colour come from the seed,
// the die's place and how many times it has been rolled in its row, never
// from the order of the rolls: whatever two players hold, the k-th roll of
// the die at a place shows both of them the same face and colour.

#include <cstdint>

struct SeededDie {
    int face;    // 1..6
    int colour;  // 0..3
};

// roll: 1 for the die's first roll in its row, 2 for its second, ...
SeededDie DrawSeededDie(std::uint64_t seed, int row, int col, int roll);
