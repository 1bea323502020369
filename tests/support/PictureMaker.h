#pragma once
// Pictures made in memory for tests, benchmarks and demos.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "formats/MImage.h"

// A w x h picture whose pixel (x, y) is colour(x, y) as 0xRRGGBBAA, anchored
// by the origin (ox, oy), as the decoder would deliver it.
inline MImage MakeImage(int w, int h, const std::function<std::uint32_t(int, int)>& colour, std::int16_t ox = 0,
                        std::int16_t oy = 0) {
    MImage image;
    image.width = w;
    image.height = h;
    image.depth = 32;
    image.hasAlpha = 1;
    image.lastRow = h - 1;
    image.lastColumn = w - 1;
    image.xOrigin = ox;
    image.yOrigin = oy;
    image.pixels.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) image.pixels[static_cast<std::size_t>(y) * w + x] = colour(x, y);
    return image;
}
