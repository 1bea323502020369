#pragma once
// Pictures of a higher density as the archive keeps them ("rgbz" chunks): the
// header of a raw 32-bit TGA, then its b, g, r, a rows compressed with zlib.

#include "formats/MImage.h"

class MFileMMIO;

// Decodes the picture at the file's position (the rest of the current chunk)
// into image; 0, or 28 for data that is not such a picture (image left empty).
int LoadDenseImage(MImage& image, MFileMMIO& file);
