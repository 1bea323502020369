// The dice as a player sees them on larger screens: across each edge of a
// die's top row of pips the shade turns from the die's to the pip's within
// about a pixel (a perfect edge measures 0.8 to 1.6 by where it falls in its
// pixel), whatever the output's scale between the densities.

#include "tests/support/PlaySceneTestSupport.h"

#include "common/actors/CSprite.h"
#include "platform/render/MTexture.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

namespace playtest {
namespace {

// Brightness along one output row, from x for count pixels.
std::vector<double> Row(SDL_Renderer* renderer, int x, int y, int count) {
    std::vector<std::uint32_t> pixels(count);
    int logicalW = 0, logicalH = 0;
    SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
    SDL_RenderSetLogicalSize(renderer, 0, 0);  // read in output pixels
    SDL_Rect rect{x, y, count, 1};
    EXPECT_EQ(SDL_RenderReadPixels(renderer, &rect, SDL_PIXELFORMAT_ARGB8888, pixels.data(), count * 4), 0);
    SDL_RenderSetLogicalSize(renderer, logicalW, logicalH);
    std::vector<double> shade;
    for (std::uint32_t p : pixels) shade.push_back(0.299 * (p >> 16 & 0xFF) + 0.587 * (p >> 8 & 0xFF) + 0.114 * (p & 0xFF));
    return shade;
}

// The widths, in pixels, from 10 % to 90 % of each strong edge of the row,
// the shades one design pixel (scale pixels) either side of its middle
// taken as its two ends.
std::vector<double> EdgeWidths(const std::vector<double>& row, double scale) {
    const int reach = static_cast<int>(std::lround(scale));
    auto crossing = [&](int from, int to, double level) {
        for (int i = from; i < to; ++i)
            if ((row[i] - level) * (row[i + 1] - level) <= 0 && row[i] != row[i + 1])
                return i + (level - row[i]) / (row[i + 1] - row[i]);
        return -1.0;
    };
    std::vector<double> widths;
    for (int i = reach; i + reach < static_cast<int>(row.size()); ++i) {
        const double before = row[i - reach], after = row[i + reach], middle = (before + after) / 2;
        // One edge a middle crossing, where the shade passes halfway between its ends.
        if (std::fabs(after - before) < 60 || !((row[i] - middle) * (row[i + 1] - middle) < 0)) continue;
        const double a = crossing(i - reach, i + reach, before + 0.1 * (after - before));
        const double b = crossing(i - reach, i + reach, before + 0.9 * (after - before));
        if (a < 0 || b < 0) continue;
        widths.push_back(std::fabs(b - a));
        i += reach;  // the same edge, seen again from the next pixel
    }
    return widths;
}

TEST_F(PlaySceneTest, PipEdgesStayAboutAPixelWideOnLargerScreens) {
    Start();
    PastIntro();
    RollAndSettle();
    for (auto [w, h] : {std::tuple{3840, 2160}, std::tuple{1920, 1080}, std::tuple{2560, 1440}}) {
        SDL_SetWindowSize(screen->handle, w, h);
        screen->Frame();
        const double scale = std::min(w / 800.0, h / 600.0), left = (w - 800 * scale) / 2;
        std::vector<double> widths;
        for (int col = 0; col < 5; ++col) {
            const RECT& die = Die(0, col)->bounds;
            // The row through the top pips (11.5 of the die's 40 design pixels
            // down), from 6 to 34 across, where only pips stand.
            const double size = (die.right - die.left) / 40.0;
            const auto y = static_cast<int>((die.top + 11.5 * size) * scale);
            const auto x = static_cast<int>(left + (die.left + 6 * size) * scale);
            const auto count = static_cast<int>(28 * size * scale);
            for (double width : EdgeWidths(Row(MRenderDevice::Current()->GetDevice(), x, y, count), scale))
                widths.push_back(width);
        }
        ASSERT_GE(widths.size(), 10u) << w;
        std::sort(widths.begin(), widths.end());
        EXPECT_LE(widths[widths.size() / 2], 1.5) << w;
        EXPECT_LE(widths.back(), 1.6) << w;
    }
}

// A window edge being dragged changes the scale at every step: the pictures
// are drawn smoothed from what they are, and brought to the new scale once it
// has held still for a moment (a frame is due then, with no input).
TEST_F(PlaySceneTest, PicturesTakeANewScaleWithinADensityOnceItHoldsStill) {
    Start();
    PastIntro();
    const CSprite* die = Die(0, 0)->GetSprite();  // kept; its texture is made again
    auto texels = [&] { return die->texture->GetTexelScale(); };
    SDL_SetWindowSize(screen->handle, 3840, 2160);
    screen->Frame();  // a new density: at once
    EXPECT_DOUBLE_EQ(texels(), 3.6);
    SDL_SetWindowSize(screen->handle, 3600, 2100);
    screen->Frame();
    EXPECT_DOUBLE_EQ(texels(), 3.6);
    const int due = screen->IdleMilliseconds();
    EXPECT_GT(due, 0);
    EXPECT_LE(due, 250);
    SDL_Delay(270);
    screen->Frame();
    EXPECT_DOUBLE_EQ(texels(), 3.5);
}

}  // namespace
}  // namespace playtest
