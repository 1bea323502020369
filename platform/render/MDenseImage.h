#pragma once
// Pictures of a higher density as the archive keeps them ("rgbz" chunks): the
// header of a raw 32-bit TGA, then its b, g, r, a rows compressed with zlib.

#include <cstdint>

#include "formats/MImage.h"

class MFileMMIO;

// What the header says of the picture: its size in texels and its anchor.
struct DenseHead {
    int width = 0;
    int height = 0;
    std::int16_t xOrigin = 0;
    std::int16_t yOrigin = 0;
    std::uint8_t descriptor = 0;
};
// Reads the header at the file's position; 0, or 28 when it is not one of
// such a picture.
int ReadDenseHead(DenseHead& head, MFileMMIO& file);

// Decodes the picture at the file's position (the rest of the current chunk)
// into image; 0, or 28 for data that is not such a picture (image left empty).
int LoadDenseImage(MImage& image, MFileMMIO& file);
