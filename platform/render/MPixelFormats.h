#pragma once
// Conversions of decoded 0xRRGGBBAA pixels into the device formats a texture or
// a surface may have. Pure functions: the canvases call them once per pixel at
// load time.

#include <cstdint>

struct MImage;

// Device pixel formats, numbered as the original device numbered them.
enum class PixelFormat : int {
    Unknown = 0,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
};

int BitsPerPixel(PixelFormat format);  // 32, 16, or 0 for Unknown

std::uint32_t ToA8R8G8B8(std::uint32_t rgba);
std::uint16_t ToA4R4G4B4(std::uint32_t rgba);
// Textures: the alpha bit is the top bit of alpha (0x80 and up).
std::uint16_t ToA1R5G5B5Texture(std::uint32_t rgba);
// Surfaces: the alpha bit is set for any alpha but 0.
std::uint16_t ToA1R5G5B5Surface(std::uint32_t rgba);
std::uint16_t ToR5G6B5(std::uint32_t rgba);
std::uint16_t ToX1R5G5B5(std::uint32_t rgba);

// One pixel by the texture rules: 32-bit formats take 0xAARRGGBB, any 16-bit
// format without a rule of its own takes X1R5G5B5. 16-bit results are in the
// low half.
std::uint32_t ConvertTexel(PixelFormat format, std::uint32_t rgba);
// One pixel by the surface rules (they differ only in A1R5G5B5).
std::uint32_t ConvertSurfacePixel(PixelFormat format, std::uint32_t rgba);

// Writes the whole image into locked memory of that format, rows pitch bytes
// apart; the memory must hold height rows of at least width pixels. Returns
// false (and writes nothing) for a format of unknown size.
bool ConvertImage(const MImage& image, PixelFormat format, bool surfaceRules, void* destination, int pitch);

// The mouse's transparency test of one texel of a texture in that format: 1
// where A8R8G8B8 alpha is at most 127, A4R4G4B4 alpha is 0, the A1R5G5B5 alpha
// bit is clear, and everywhere in a format without alpha; else 0.
int TexelIsTransparent(PixelFormat format, const void* texel);
