#pragma once
// The coach's own random numbers, apart from the game's: advice must not move
// the game's sequence, and the same state and seed must give the same advice.
// Dice are drawn from a counter (seed, rollout, row, roll, column), so that two
// choices compared in the same rollout see the same dice wherever they roll
// the same die: their difference is measured, not the luck.

#include <cstdint>

namespace coach {

constexpr std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

constexpr std::uint64_t Combine(std::uint64_t a, std::uint64_t b) { return Mix(a ^ Mix(b)); }

// A uniform whole number below n from 32 random bits.
constexpr int Below(std::uint64_t bits, int n) {
    return static_cast<int>(((bits & 0xFFFFFFFFull) * static_cast<std::uint64_t>(n)) >> 32);
}

struct DrawnDie {
    int face;
    int colour;
};

// The die a rollout rolls into a place of a row at a given roll (1..3).
constexpr DrawnDie DrawDie(std::uint64_t stream, int row, int roll, int col) {
    const std::uint64_t bits = Combine(stream, static_cast<std::uint64_t>((row * 4 + roll) * 8 + col));
    return {1 + Below(bits, 6), Below(bits >> 32, 4)};
}

// A small sequential generator for searches.
class CRandomStream {
public:
    explicit CRandomStream(std::uint64_t seed) : state(Mix(seed)) {}
    std::uint64_t Next() { return Mix(state += 0x9E3779B97F4A7C15ull); }
    int Below(int n) { return coach::Below(Next(), n); }
    // Uniform in [0, 1).
    double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }

private:
    std::uint64_t state;
};

}  // namespace coach
