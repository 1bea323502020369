#include "common/scene/Random.h"

#include <ctime>
#include <random>
#include <sstream>

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

std::string RandomState() {
    if (!seeded) SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    std::ostringstream out;
    out << generator;
    return out.str();
}

namespace {
bool ReadState(const std::string& state, std::mt19937* out) {
    std::istringstream in(state);
    in >> *out;
    if (in.fail()) return false;
    // Nothing may follow the state but blanks.
    in >> std::ws;
    return in.eof();
}
}  // namespace

bool IsRandomState(const std::string& state) {
    std::mt19937 read;
    return ReadState(state, &read);
}

bool SetRandomState(const std::string& state) {
    std::mt19937 read;
    if (!ReadState(state, &read)) return false;
    generator = read;
    seeded = true;
    return true;
}
