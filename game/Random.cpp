#include "game/Random.h"

#include <cstdlib>
#include <ctime>

namespace {
bool seeded = false;
}

int Random(int n) {
    if (!seeded) {
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        seeded = true;
    }
    if (n <= 0) return 0;
    return std::rand() % n;
}

void SeedRandom(unsigned seed) {
    std::srand(seed);
    seeded = true;
}
