#pragma once
// Labels are drawn at build time in the typeface the sources name. Where that
// typeface is missing, fontconfig quietly hands over another one (or none),
// and the archive would carry boxes or blank labels; these checks stop the
// packer first, naming the font and the label.

#include <string>

namespace pack {

// Throws SourceError (at file:line) unless fontconfig's match for family, in
// the weight asked for, is that family and has a glyph for every character of
// label (UTF-8).
void CheckFontCovers(const std::string& family, bool bold, const std::string& label, const std::string& file,
                     int line);

// The same for every text of an SVG document, in each font family it names;
// an SVG whose texts name no family at all is refused too.
void CheckSvgFonts(const std::string& svg, const std::string& where);

}  // namespace pack
