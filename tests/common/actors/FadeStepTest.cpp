// The fade's colour arithmetic, kept for 16-bit displays, and a fade that
// cannot draw (no texture of the display's format) finishing at once.

#include <gtest/gtest.h>

#include "tests/support/EngineTestSupport.h"
#include "common/actors/CActorFade.h"

using namespace enginetest;

TEST(FadeColours, SixteenBitFormKeepsTheTopFourBitsOfEachChannel) {
    EXPECT_EQ(FadeColour16(0x00FF8040u), 0x0F84u);
    EXPECT_EQ(FadeColour16(0xFF0F1F2Fu), 0x0012u);  // alpha is dropped
    EXPECT_EQ(FadeColour16(0x00000000u), 0x0000u);
}

TEST(FadeColours, RevealLowersAndCoverRaisesTheAlphaStepByStep) {
    // 32-bit: 26 steps of 10 from 255 down to 5, or from 0 up to 250.
    EXPECT_EQ(FadeFill32(0xFF123456u, 0, 1), 0xFF123456u);
    EXPECT_EQ(FadeFill32(0xFF123456u, 25, 1), 0x05123456u);
    EXPECT_EQ(FadeFill32(0x00123456u, 1, 0), 0x0A123456u);
    EXPECT_EQ(FadeFill32(0x00123456u, 25, 0), 0xFA123456u);
    // 16-bit: 16 steps of one from 15 down to 0, or from 0 up to 15.
    EXPECT_EQ(FadeFill16(0xF123u, 0, 1), 0xF123u);
    EXPECT_EQ(FadeFill16(0xF123u, 15, 1), 0x0123u);
    EXPECT_EQ(FadeFill16(0x0123u, 15, 0), 0xF123u);
    EXPECT_EQ(kFadeStepCount16 * kFadeStepTicks16, 96);
    EXPECT_EQ(kFadeStepCount32 * kFadeStepTicks32, 104);
}

using FadeWithoutDevice = EngineTest;

TEST_F(FadeWithoutDevice, FadesWithoutAMatchingTextureFinishAtOnceAndStayHidden) {
    LogScene scene(screen);
    auto* fade = new CActorFade(&scene, 0, 0, 10 * 256);
    EXPECT_TRUE(fade->hidden);
    EXPECT_EQ(fade->bounds.right, 800);
    EXPECT_EQ(fade->bounds.bottom, 600);

    fade->Cover(0, 0x00FF0000u);
    EXPECT_EQ(fade->coverDone, 1);
    EXPECT_EQ(fade->covering, 0);
    EXPECT_TRUE(fade->hidden);

    fade->Reveal(1);
    EXPECT_EQ(fade->revealDone, 1);
    EXPECT_EQ(fade->coverDone, 0);
    EXPECT_EQ(fade->revealing, 0);
    EXPECT_TRUE(fade->hidden);
}
