#include "platform/render/MResample.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <thread>

namespace {

// Catmull-Rom: interpolates the texels it passes through, so an edge that
// lies on a texel boundary stays about one texel wide.
float CatmullRom(float x) {
    x = std::fabs(x);
    if (x < 1.0f) return (1.5f * x - 2.5f) * x * x + 1.0f;
    if (x < 2.0f) return ((-0.5f * x + 2.5f) * x - 4.0f) * x + 2.0f;
    return 0.0f;
}

// For each output texel of one axis: the input texels it reads (clamped at
// the picture's edges) and their weights. A reduction widens the filter, so
// that every input texel counts.
struct Taps {
    int count = 0;
    std::vector<int> index;  // out x count
    std::vector<float> weight;

    Taps(int in, int out) {
        const double ratio = static_cast<double>(in) / out;
        const double stretch = std::max(1.0, ratio);
        const double reach = 2.0 * stretch;
        count = static_cast<int>(std::ceil(2.0 * reach));
        index.resize(static_cast<std::size_t>(out) * count);
        weight.resize(index.size());
        for (int i = 0; i < out; ++i) {
            const double centre = (i + 0.5) * ratio - 0.5;
            const int first = static_cast<int>(std::floor(centre - reach)) + 1;
            float sum = 0.0f;
            for (int t = 0; t < count; ++t) {
                const float w = CatmullRom(static_cast<float>((centre - (first + t)) / stretch));
                index[static_cast<std::size_t>(i) * count + t] = std::clamp(first + t, 0, in - 1);
                weight[static_cast<std::size_t>(i) * count + t] = w;
                sum += w;
            }
            for (int t = 0; t < count; ++t) weight[static_cast<std::size_t>(i) * count + t] /= sum;
        }
    }
};

// Premultiplied r, g, b and a, added and scaled as one (a vector register).
using Texel = float __attribute__((vector_size(16)));
using Whole = int __attribute__((vector_size(16)));

}  // namespace

int ScaledSize(int designSize, double scale) {
    return std::max(1, static_cast<int>(std::lround(designSize * scale)));
}

namespace {

// Output rows [first, last) of image resampled through the taps into out.
void ResampleRows(const MImage& image, const Taps& across, const Taps& down, int first, int last, MImage& out) {
    const int w = out.width;
    // Rows filtered across, kept for the few output rows that read them.
    const int ring = down.count + 1;
    std::vector<Texel> rows(static_cast<std::size_t>(ring) * w);
    std::vector<int> rowOf(ring, -1);
    std::vector<Texel> source(image.width);
    auto filtered = [&](int y) -> const Texel* {
        Texel* row = &rows[static_cast<std::size_t>(y % ring) * w];
        if (rowOf[y % ring] == y) return row;
        rowOf[y % ring] = y;
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t p = image.pixels[static_cast<std::size_t>(y) * image.width + x];
            const float a = static_cast<float>(p & 0xFF) / 255.0f;
            source[x] = Texel{static_cast<float>(p >> 24), static_cast<float>((p >> 16) & 0xFF),
                              static_cast<float>((p >> 8) & 0xFF), 255.0f} * a;
        }
        for (int x = 0; x < w; ++x) {
            Texel sum{};
            const int* at = &across.index[static_cast<std::size_t>(x) * across.count];
            const float* by = &across.weight[static_cast<std::size_t>(x) * across.count];
            for (int t = 0; t < across.count; ++t) sum += source[at[t]] * by[t];
            row[x] = sum;
        }
        return row;
    };

    std::vector<const Texel*> taps(down.count);
    for (int y = first; y < last; ++y) {
        const int* at = &down.index[static_cast<std::size_t>(y) * down.count];
        const float* by = &down.weight[static_cast<std::size_t>(y) * down.count];
        for (int t = 0; t < down.count; ++t) taps[t] = filtered(at[t]);
        std::uint32_t* target = &out.pixels[static_cast<std::size_t>(y) * w];
        for (int x = 0; x < w; ++x) {
            Texel sum{};
            for (int t = 0; t < down.count; ++t) sum += taps[t][x] * by[t];
            // The filter's lobes may overshoot: alpha is cut to 0..255, and
            // the colour is read through the alpha as filtered, so that an
            // edge of a picture against clear keeps its colour.
            const std::uint32_t a = static_cast<std::uint32_t>(std::min(sum[3], 255.0f) + 0.5f);
            if (sum[3] <= 0.0f || a == 0) continue;
            Texel straight = sum * (255.0f / sum[3]);
            straight = straight < 0.0f ? 0.0f : straight;
            straight = straight > 255.0f ? 255.0f : straight;
            const Whole level = __builtin_convertvector(straight + 0.5f, Whole);
            target[x] = static_cast<std::uint32_t>(level[0]) << 24 | static_cast<std::uint32_t>(level[1]) << 16 |
                        static_cast<std::uint32_t>(level[2]) << 8 | a;
        }
    }
}

}  // namespace

MImage ResampleImage(const MImage& image, int w, int h) {
    MImage out;
    out.xOrigin = image.xOrigin;
    out.yOrigin = image.yOrigin;
    out.depth = image.depth;
    out.hasAlpha = image.hasAlpha;
    out.runLength = image.runLength;
    out.bottomUp = image.bottomUp;
    out.descriptor = image.descriptor;
    out.pixels.assign(static_cast<std::size_t>(std::max(0, w)) * std::max(0, h), 0);
    out.width = w;
    out.height = h;
    out.lastRow = h - 1;
    out.lastColumn = w - 1;
    if (image.width <= 0 || image.height <= 0 || w <= 0 || h <= 0) return out;

    const Taps across(image.width, w), down(image.height, h);
    // A picture larger than a few dice is shared out in bands of rows among
    // the processor's cores: start-up reads hundreds of pictures.
    constexpr std::size_t kShared = 1 << 15;
    const int bands = out.pixels.size() < kShared ? 1 : static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    std::vector<std::thread> helpers;
    for (int band = 1; band < bands; ++band)
        helpers.emplace_back(ResampleRows, std::cref(image), std::cref(across), std::cref(down), h * band / bands,
                             h * (band + 1) / bands, std::ref(out));
    ResampleRows(image, across, down, 0, h / bands, out);
    for (std::thread& helper : helpers) helper.join();
    return out;
}

void ResampleToScale(MImage& image, int pictureDensity, double scale) {
    if (pictureDensity < 1 || std::fabs(scale - pictureDensity) < 1e-9) return;
    const int w = ScaledSize(image.width / pictureDensity, scale), h = ScaledSize(image.height / pictureDensity, scale);
    if (w == image.width && h == image.height) return;
    image = ResampleImage(image, w, h);
}
