#include "platform/render/MPixelFormats.h"

#include "formats/MImage.h"

#include <cstring>

namespace {

struct Channels {
    std::uint32_t r, g, b, a;
};

Channels Split(std::uint32_t rgba) {
    return {rgba >> 24, (rgba >> 16) & 0xFFu, (rgba >> 8) & 0xFFu, rgba & 0xFFu};
}

// v x max / 255, integer division.
std::uint32_t Scale(std::uint32_t v, std::uint32_t max) { return v * max / 255u; }

std::uint16_t Pack555(const Channels& c, std::uint32_t topBit) {
    return static_cast<std::uint16_t>(topBit << 15 | Scale(c.r, 31) << 10 | Scale(c.g, 31) << 5 | Scale(c.b, 31));
}

}  // namespace

int BitsPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::A8R8G8B8:
    case PixelFormat::X8R8G8B8: return 32;
    case PixelFormat::R5G6B5:
    case PixelFormat::X1R5G5B5:
    case PixelFormat::A1R5G5B5:
    case PixelFormat::A4R4G4B4: return 16;
    default: return 0;
    }
}

std::uint32_t ToA8R8G8B8(std::uint32_t rgba) { return rgba >> 8 | rgba << 24; }

std::uint16_t ToA4R4G4B4(std::uint32_t rgba) {
    Channels c = Split(rgba);
    return static_cast<std::uint16_t>(Scale(c.a, 15) << 12 | Scale(c.r, 15) << 8 | Scale(c.g, 15) << 4 |
                                      Scale(c.b, 15));
}

std::uint16_t ToA1R5G5B5Texture(std::uint32_t rgba) {
    Channels c = Split(rgba);
    return Pack555(c, c.a >> 7);
}

std::uint16_t ToA1R5G5B5Surface(std::uint32_t rgba) {
    Channels c = Split(rgba);
    return Pack555(c, c.a != 0 ? 1u : 0u);
}

std::uint16_t ToR5G6B5(std::uint32_t rgba) {
    Channels c = Split(rgba);
    return static_cast<std::uint16_t>(Scale(c.r, 31) << 11 | Scale(c.g, 63) << 5 | Scale(c.b, 31));
}

std::uint16_t ToX1R5G5B5(std::uint32_t rgba) { return Pack555(Split(rgba), 0); }

std::uint32_t ConvertTexel(PixelFormat format, std::uint32_t rgba) {
    switch (format) {
    case PixelFormat::A8R8G8B8:
    case PixelFormat::X8R8G8B8: return ToA8R8G8B8(rgba);
    case PixelFormat::A4R4G4B4: return ToA4R4G4B4(rgba);
    case PixelFormat::A1R5G5B5: return ToA1R5G5B5Texture(rgba);
    case PixelFormat::R5G6B5: return ToR5G6B5(rgba);
    default: return ToX1R5G5B5(rgba);
    }
}

std::uint32_t ConvertSurfacePixel(PixelFormat format, std::uint32_t rgba) {
    if (format == PixelFormat::A1R5G5B5) {
        return ToA1R5G5B5Surface(rgba);
    }
    return ConvertTexel(format, rgba);
}

bool ConvertImage(const MImage& image, PixelFormat format, bool surfaceRules, void* destination, int pitch) {
    const int bits = BitsPerPixel(format);
    if (bits == 0 || !destination) {
        return false;
    }
    auto* rowStart = static_cast<unsigned char*>(destination);
    for (int y = 0; y < image.height; ++y, rowStart += pitch) {
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t rgba = image.At(x, y);
            std::uint32_t value = surfaceRules ? ConvertSurfacePixel(format, rgba) : ConvertTexel(format, rgba);
            if (bits == 32) {
                std::memcpy(rowStart + 4 * x, &value, 4);
            } else {
                auto half = static_cast<std::uint16_t>(value);
                std::memcpy(rowStart + 2 * x, &half, 2);
            }
        }
    }
    return true;
}

int TexelIsTransparent(PixelFormat format, const void* texel) {
    switch (format) {
    case PixelFormat::A8R8G8B8: {
        std::uint32_t value;
        std::memcpy(&value, texel, 4);
        return (value >> 24) <= 127 ? 1 : 0;
    }
    case PixelFormat::A4R4G4B4: {
        std::uint16_t value;
        std::memcpy(&value, texel, 2);
        return (value >> 12) == 0 ? 1 : 0;
    }
    case PixelFormat::A1R5G5B5: {
        std::uint16_t value;
        std::memcpy(&value, texel, 2);
        return (value >> 15) == 0 ? 1 : 0;
    }
    default:
        return 1;  // no alpha: the mouse passes through
    }
}
