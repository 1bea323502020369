#pragma once
// Builds every item of a manifest and writes the archive with the engine's
// chunk-file writer: the "map " chunk of entry positions, then the runs.

#include "tools/pack/Manifest.h"

#include <string>

namespace pack {

struct PackCounts {
    int entries = 0;
    int pictures = 0;  // single pictures and frames
    int arrays = 0;    // sprite arrays and fonts
    int sounds = 0;
    int tunes = 0;
    long bytes = 0;
};

// Writes to a temporary file beside outPath and renames it at the end, so a
// failed run never leaves a half-written archive behind.
PackCounts WriteArchive(const Manifest& manifest, const std::string& outPath);

}  // namespace pack
