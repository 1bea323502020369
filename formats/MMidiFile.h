#pragma once
// A light reading of a Standard MIDI File held in memory: whether its chunks
// are whole, and the timing the music player needs before it starts (ticks per
// quarter note and the tempo in force at the first tick).

#include <cstddef>
#include <cstdint>
#include <vector>

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

// An instrument of the General MIDI sound set: bank 128 is the percussion.
struct MMidiInstrument {
    int bank = 0;
    int program = 0;
    bool operator==(const MMidiInstrument& other) const { return bank == other.bank && program == other.program; }
    bool operator<(const MMidiInstrument& other) const {
        return bank != other.bank ? bank < other.bank : program < other.program;
    }
};

// Every instrument the file asks for, in order and once each: each program
// change (with the bank last selected on its channel; channel 10 always
// takes the percussion bank), and the first program of a channel that plays
// notes without one. What follows damaged data is not read.
std::vector<MMidiInstrument> ReadMidiInstruments(const std::uint8_t* data, std::size_t size);
