// The one random source: a seeded run replays exactly, random fade colours
// included, whatever else draws from or seeds the C library's generator.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "tests/support/EngineTestSupport.h"
#include "common/actors/CActorFade.h"
#include "common/scene/Random.h"

using namespace enginetest;

namespace {
std::vector<int> Draws(int count, int n) {
    std::vector<int> draws;
    for (int i = 0; i < count; ++i) draws.push_back(Random(n));
    return draws;
}
}  // namespace

using RandomSource = EngineTest;

TEST_F(RandomSource, ASeededRunReplaysThroughRandomFadeColoursAndForeignDraws) {
    SeedRandom(7);
    const std::vector<int> channels = Draws(3, 255);
    const std::vector<int> after = Draws(20, 6);

    LogScene scene(screen);
    auto* fade = new CActorFade(&scene, 0, 0, 10 * 256);
    SeedRandom(7);
    fade->SetColour(1, 0);
    const std::uint32_t expected =
        static_cast<std::uint32_t>(channels[0] << 16 | channels[1] << 8 | channels[2]);
    EXPECT_EQ(fade->colour32, expected);
    EXPECT_EQ(CActorFade::LastFadeColour(), expected);
    std::srand(99);  // another part of the program using the C generator
    (void)std::rand();
    EXPECT_EQ(Draws(20, 6), after);
    CActorFade::SetLastFadeColour(0);

    for (const int n : {0, -3}) EXPECT_EQ(Random(n), 0);
    for (int i = 0; i < 200; ++i) {
        const int value = Random(255);
        ASSERT_GE(value, 0);
        ASSERT_LT(value, 255);
    }
}
