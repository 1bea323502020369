#pragma once
// A light reading of a Standard MIDI File held in memory: whether its chunks
// are whole, and the timing the music player needs before it starts (ticks per
// quarter note and the tempo in force at the first tick).

#include <cstddef>
#include <cstdint>

struct MMidiInfo {
    int format = 0;          // 0, 1 or 2
    int trackCount = 0;
    int division = 0;        // ticks per quarter note; 0 for time-code timing
    std::uint32_t tempo = 500000;  // microseconds per quarter note at tick 0
};

// True when data starts with a complete "MThd" header and holds every track
// chunk it announces (other chunk kinds between them are skipped). Bytes after
// the last track, such as zero padding, are allowed.
bool ReadMidiInfo(const std::uint8_t* data, std::size_t size, MMidiInfo* out);
