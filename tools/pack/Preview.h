#pragma once
// A picture of a screen made from the manifest's own pictures, placed as a
// layout file says: for judging the art in place before (or beside) the game.
//
// Layout lines (one item each, drawn in file order, far to near):
//   size W H                                   the picture's size (default 800 x 600)
//   fill #rrggbb                               a plain colour over everything so far
//   pic ENTRY ITEM FRAME X Y                   item = 1-based place in the entry's run
//   text ENTRY ITEM X Y left|centre|right TEXT a font item's glyphs, bottom edge on Y
// ENTRY 9's run goes on into the score sheet's items (as the game reads them).

#include "tools/pack/Manifest.h"

#include <string>

namespace pack {

// Writes the layout's picture as PNG; throws SourceError on a fault.
void WritePreview(const Manifest& manifest, const std::string& layoutPath, const std::string& pngPath);

}  // namespace pack
