// The density of pictures the loader takes for an output's pixels per design
// pixel: the smallest of 1x, 2x and 3x at or above it, and 3x above that.

#include "platform/render/MRenderDevice.h"
#include "platform/render/MResample.h"
#include "tests/support/PictureMaker.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(PictureDensityTest, TheSmallestDensityAtOrAboveTheOutputScaleUpToThree) {
    const struct {
        double scale;
        int density;
    } cases[] = {
        {0.5, 1},  {1.0, 1},  {1.002, 1},               // a window smaller than the design, the design itself
        {1.2, 2},  {1.35, 2}, {1.8, 2},   {2.0, 2},     // 1280 x 720, 1920 x 1080 full screen, twice the design
        {2.4, 3},  {2.7, 3},  {3.0, 3},   {3.6, 3},     // 2560 x 1440, 3840 x 2160
        {4.8, 3},  {8.0, 3},                            // beyond 3x: the densest there is
    };
    for (const auto& c : cases) EXPECT_EQ(MRenderDevice::PictureDensityFor(c.scale), c.density) << c.scale;
}

}  // namespace

// Between the densities the pictures are brought to the output's own scale.
TEST(PictureDensityTest, PicturesTakeTheOutputsScaleBetweenTheDensities) {
    const struct {
        double scale, texels;
    } cases[] = {
        {0.5, 1}, {1.0, 1}, {1.002, 1},  // the 1x pictures as they are
        {1.2, 1.2}, {1.8, 1.8}, {2.0, 2}, {2.002, 2}, {2.4, 2.4}, {3.0, 3}, {3.6, 3.6}, {4.8, 4.8},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(MRenderDevice::PictureScaleFor(c.scale), c.texels) << c.scale;
}

// Resampled up or down, a picture keeps its colours where they are even and
// lends none to its clear surroundings (no dark or coloured fringe).
TEST(PictureDensityTest, ResamplingKeepsEvenColoursAndClearSurroundings) {
    // Left half clear, right half opaque orange.
    const MImage picture = MakeImage(30, 30, [](int x, int) { return x < 15 ? 0u : 0xFF8000FFu; });
    for (auto [w, h] : {std::pair{36, 36}, std::pair{24, 24}, std::pair{45, 30}}) {
        const MImage out = ResampleImage(picture, w, h);
        ASSERT_EQ(out.width, w);
        ASSERT_EQ(out.height, h);
        for (int y = 0; y < h; ++y) {
            EXPECT_EQ(out.At(0, y), 0u) << w;
            EXPECT_EQ(out.At(w - 1, y), 0xFF8000FFu) << w;
            for (int x = 0; x < w; ++x)
                EXPECT_TRUE((out.At(x, y) & 0xFF) == 0 || out.At(x, y) >> 8 == 0xFF8000u) << w << " at " << x;
        }
    }
}
