#pragma once
// A SoundFont 2 file cut down to some of its presets, for a synthesizer that
// keeps every preset it reads in memory. The cut file has the same bytes as
// the file up to its preset data, so the samples stay where they were; its
// preset data names only the presets kept and the instruments they use, and
// keeps every sample header, so sample numbers do not change.

#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include "formats/MMidiFile.h"

struct MSoundFontCut {
    long presetDataOffset = 0;  // where the file's "LIST pdta" chunk starts
    std::vector<std::uint8_t> head;        // the cut file's first 12 bytes (its RIFF header)
    std::vector<std::uint8_t> presetData;  // the cut "LIST pdta" chunk, header included
    long Size() const { return presetDataOffset + static_cast<long>(presetData.size()); }
};

// Reads count bytes at offset of the file; false when they cannot be read.
using MSoundFontReader = std::function<bool(long offset, void* into, long count)>;

// Cuts the file of size bytes to the presets of keep (bank 128 is the
// percussion). False when it is no SoundFont 2 whose preset data comes last,
// or when the preset data is damaged: the whole file is then to be used.
bool CutSoundFont(const MSoundFontReader& read, long size, const std::set<MMidiInstrument>& keep,
                  MSoundFontCut* out);
