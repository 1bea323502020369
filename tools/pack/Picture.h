#pragma once
// Pictures as the packer makes them: straight-alpha RGBA pixels with an origin,
// rendered from SVG or drawn as font glyphs, and written as run-length TGA.

#include "tools/pack/Manifest.h"

#include <cstdint>
#include <vector>

namespace pack {

struct Picture {
    int width = 0;
    int height = 0;
    int originX = 0;  // offset from the actor's position to the top-left corner
    int originY = 0;
    std::vector<std::uint8_t> rgba;  // width x height x (r, g, b, a), top row first, not premultiplied
};

// Renders the picture's SVG template at its own size times density (1, 2 or
// 3) and applies its origin rule, scaled alike.
Picture RenderSvgPicture(const PictureSpec& spec, const Params& globals, int density = 1);
// Renders SVG text as it is (origin 0, 0), at its size times density.
Picture RenderSvgText(const std::string& svg, const std::string& where, int density = 1);

// Sets the origin from a rule: "X,Y", "topleft", "centre"/"center", "top",
// "bottom", "left", "right".
// At a density above 1 the rule is applied to the 1x size and the origin scaled.
void ApplyOrigin(Picture& picture, const std::string& rule, const Line& at, int density = 1);

// One picture per character first..last, drawn with cairo's text API; at a
// density above 1 each glyph is exactly that many times its 1x size.
std::vector<Picture> RenderFontGlyphs(const Params& fontParams, const Line& at, int density = 1);

// A 32-bit TGA of type 10 (run-length), top row first, origin in the header.
std::vector<std::uint8_t> EncodeRunLengthTga(const Picture& picture);

// A picture of a higher density: the 18-byte header of a raw 32-bit TGA (top
// row first, origin in it), then the b, g, r, a rows compressed with zlib.
std::vector<std::uint8_t> EncodeDenseTga(const Picture& picture);

}  // namespace pack
