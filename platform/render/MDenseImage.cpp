#include "platform/render/MDenseImage.h"

#include <zlib.h>

#include <vector>

#include "platform/storage/MFileMMIO.h"

int LoadDenseImage(MImage& image, MFileMMIO& file) {
    image = MImage{};
    std::uint8_t head[18];
    file.ReadBytes(head, 18);
    auto u16 = [&](int at) { return head[at] | head[at + 1] << 8; };
    const int w = u16(12), h = u16(14);
    if (head[2] != 2 || head[16] != 32 || !(head[17] & 0x20) || w <= 0 || h <= 0) return kResultUnsupportedImage;
    const long packedSize = file.Remaining();
    if (packedSize <= 0) return kResultUnsupportedImage;
    std::vector<std::uint8_t> packed(static_cast<std::size_t>(packedSize));
    file.ReadBytes(packed.data(), static_cast<int>(packedSize));
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(w) * h * 4);
    uLongf size = static_cast<uLongf>(bgra.size());
    if (uncompress(bgra.data(), &size, packed.data(), static_cast<uLong>(packed.size())) != Z_OK || size != bgra.size())
        return kResultUnsupportedImage;
    image.pixels.resize(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        const std::uint8_t* p = &bgra[i * 4];
        image.pixels[i] = std::uint32_t(p[2]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[0]) << 8 | p[3];
    }
    image.width = w;
    image.height = h;
    image.xOrigin = static_cast<std::int16_t>(u16(8));
    image.yOrigin = static_cast<std::int16_t>(u16(10));
    image.depth = 32;
    image.hasAlpha = 1;
    image.lastRow = h - 1;
    image.lastColumn = w - 1;
    image.descriptor = head[17];
    return 0;
}
