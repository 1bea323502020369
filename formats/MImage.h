#pragma once
// A decoded picture: the TGA subset of the asset archive (true colour, raw or
// run-length, 24 or 32 bits, either row order) turned into 0xRRGGBBAA pixels,
// top row first, with the origin that anchors it to its actor.

#include <cstdint>
#include <vector>
#include "platform/core/ResultCodes.h"

class MFileMMIO;

struct MImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t reserved0 = 0;
    std::int16_t reserved1 = 0;
    std::int16_t xOrigin = 0;
    std::int16_t yOrigin = 0;
    std::uint8_t depth = 0;        // 24 or 32
    std::int32_t hasAlpha = 0;     // 1 for 32-bit images
    std::int32_t runLength = 0;    // 1 for TGA type 10
    std::int32_t bottomUp = 0;     // 1 when the rows were stored bottom row first
    std::int32_t reserved2[4] = {};
    std::int32_t lastRow = -1;     // height - 1
    std::int32_t lastColumn = -1;  // width - 1
    std::uint8_t descriptor = 0;   // the TGA image descriptor byte
    std::vector<std::uint32_t> pixels;  // width x height, row-major, top row first

    // Decodes the TGA at the file's current position (the data of an "rgba"
    // chunk, or a whole TGA file). Returns 0, or kResultUnsupportedImage for an
    // image type other than 2 and 10 or a depth other than 24 and 32 (the image is then left empty).
    // Data that ends too soon throws CFileException ("win32/MFileMMIO", 189);
    // nothing is allocated before the file is known to hold the pixels.
    int Load(MFileMMIO& file);

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Writes an image as a TGA of type 2 (raw) or 10 (run-length), depth 24 or 32,
// top row first unless bottomUp; the origin goes into the header. The asset
// packer and the tests make their pictures with it.
std::vector<std::uint8_t> EncodeTga(const MImage& image, int type, int depth, bool bottomUp);
