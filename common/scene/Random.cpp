#include "common/scene/Random.h"

#include <ctime>
#include <random>

namespace {
std::mt19937 generator;
bool seeded = false;
}  // namespace

int Random(int n) {
    if (!seeded) SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    if (n <= 0) return 0;
    return static_cast<int>(generator() % static_cast<unsigned>(n));
}

void SeedRandom(unsigned seed) {
    generator.seed(seed);
    seeded = true;
}
