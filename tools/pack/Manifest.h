#pragma once
// The archive's manifest: the entry points in file order, each with its run of
// items (pictures, sprite arrays, fonts, sounds, music). See assets/README.md.

#include "tools/pack/TextLines.h"

#include <string>
#include <vector>

namespace pack {

// One picture: an SVG file (a template whose ${names} come from params and
// the manifest's globals) and where its anchor lies.
struct PictureSpec {
    std::string svgPath;
    Params params;
    std::string origin = "0,0";  // "X,Y" (offset to the top-left corner) or a named rule
    Line at;
};

enum class ItemKind { Picture, Sprites, Font, Sound, Music };

struct ItemSpec {
    ItemKind kind = ItemKind::Picture;
    Line at;
    std::vector<PictureSpec> frames;  // a picture has one; sprite arrays and drawn fonts many
    Params fontParams;                // a rendered font: first, last, face, size, colour...
    bool renderedFont = false;
    std::vector<Line> recipe;  // a sound from recipe lines (inline or from recipeFile)
    std::string wavePath;      // a sound taken as it is
    std::string scorePath;     // music from a score
    std::string midiPath;      // music taken as it is
};

struct EntrySpec {
    int index = 0;
    int sameAs = -1;  // points at the start of another entry's run
    Line at;
    std::vector<ItemSpec> items;
};

struct Manifest {
    std::string directory;  // relative paths are taken from here
    Params globals;
    std::vector<EntrySpec> entries;  // in file order
    int entryCount = 0;              // highest index + 1
};

Manifest LoadManifest(const std::string& path);
// The same from text (paths relative to directory).
Manifest ParseManifest(const std::string& text, const std::string& file, const std::string& directory);

// Expands "for ... endfor" blocks; exposed for the recipe and score readers too.
std::vector<Line> ExpandLoops(const std::vector<Line>& lines);

}  // namespace pack
