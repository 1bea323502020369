#pragma once
// Music: text scores written as Standard MIDI Files (format 1, General MIDI),
// and a reader that sums up any MIDI file for the archive listing.

#include "tools/pack/TextLines.h"

#include <cstdint>
#include <vector>

namespace pack {

constexpr int kDivision = 480;  // ticks per quarter note

std::vector<std::uint8_t> ScoreToMidi(const std::vector<Line>& score);

struct MidiSummary {
    int format = 0;
    int tracks = 0;
    int division = 0;
    long ticks = 0;       // the longest track
    double seconds = 0;   // with the tempo changes of the file
    int notes = 0;
};

// Throws std::runtime_error when the bytes are not a well-formed MIDI file.
MidiSummary SummariseMidi(const std::uint8_t* data, std::size_t size);

}  // namespace pack
