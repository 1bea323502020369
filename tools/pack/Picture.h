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

// Renders the picture's SVG template at its own size and applies its origin rule.
Picture RenderSvgPicture(const PictureSpec& spec, const Params& globals);
// Renders SVG text as it is (origin 0, 0).
Picture RenderSvgText(const std::string& svg, const std::string& where);

// Sets the origin from a rule: "X,Y", "topleft", "centre"/"center", "top",
// "bottom", "left", "right".
void ApplyOrigin(Picture& picture, const std::string& rule, const Line& at);

// One picture per character first..last, drawn with cairo's text API.
std::vector<Picture> RenderFontGlyphs(const Params& fontParams, const Line& at);

// A 32-bit TGA of type 10 (run-length), top row first, origin in the header.
std::vector<std::uint8_t> EncodeRunLengthTga(const Picture& picture);

}  // namespace pack
