#pragma once
// The game's one random source, seeded once. It keeps its own generator, so
// nothing else in the process that draws from the C library's generator (or
// seeds it) can change the game's sequence: a seeded run replays exactly.

#include <string>

// A whole number uniform in 0..n-1 (0 when n is not positive). Seeds the
// generator with the current time in seconds on the first call unless
// SeedRandom ran before.
int Random(int n);

// Seeds the generator with a fixed value, so a run can be replayed (tests,
// benchmarks). After this, Random no longer seeds with the time.
void SeedRandom(unsigned seed);

// The generator's whole state as text, so that a kept game draws the same
// numbers after a restart.
std::string RandomState();
// Whether the text is a state SetRandomState takes.
bool IsRandomState(const std::string& state);
// Takes a state RandomState gave; false (and the generator unchanged) when the
// text is not one.
bool SetRandomState(const std::string& state);
