// The density of pictures the loader takes for an output's pixels per design
// pixel: the smallest of 1x, 2x and 3x at or above it, and 3x above that.

#include "platform/render/MRenderDevice.h"

#include <gtest/gtest.h>

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
