#include "platform/render/MDenseImage.h"

#include <zlib.h>

#include <vector>

#include "platform/storage/MFileMMIO.h"

int ReadDenseHead(DenseHead& head, MFileMMIO& file) {
    std::uint8_t bytes[18];
    file.ReadBytes(bytes, 18);
    auto u16 = [&](int at) { return bytes[at] | bytes[at + 1] << 8; };
    head.width = u16(12);
    head.height = u16(14);
    head.xOrigin = static_cast<std::int16_t>(u16(8));
    head.yOrigin = static_cast<std::int16_t>(u16(10));
    head.descriptor = bytes[17];
    if (bytes[2] != 2 || bytes[16] != 32 || !(bytes[17] & 0x20) || head.width <= 0 || head.height <= 0)
        return kResultUnsupportedImage;
    return 0;
}

int LoadDenseImage(MImage& image, MFileMMIO& file) {
    image = MImage{};
    DenseHead head;
    if (ReadDenseHead(head, file) != 0) return kResultUnsupportedImage;
    const int w = head.width, h = head.height;
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
    image.xOrigin = head.xOrigin;
    image.yOrigin = head.yOrigin;
    image.depth = 32;
    image.hasAlpha = 1;
    image.lastRow = h - 1;
    image.lastColumn = w - 1;
    image.descriptor = head.descriptor;
    return 0;
}
