#pragma once
// Sound effects synthesised from text recipes (oscillators, noise, envelopes,
// filters, repeats, layers mixed), written as 16-bit PCM WAVE files.

#include "tools/pack/TextLines.h"

#include <cstdint>
#include <vector>

namespace pack {

struct SoundData {
    int rate = 22050;
    int channels = 1;
    std::vector<std::int16_t> samples;  // interleaved
};

SoundData SynthesiseRecipe(const std::vector<Line>& recipe);

// The RMS level (full scale 1.0) of the sounding part: the mean energy of the 10 ms
// windows within 30 dB of the loudest one, so that silence and faint tails do not count.
double SoundingRms(const std::vector<double>& samples, int channels, int rate);
std::vector<std::uint8_t> EncodeWave(const SoundData& sound);

// A note name ("A4", "C#5", "Bb3") as a MIDI key number; -1 when it is not one.
int NoteNumber(const std::string& name);
double NoteFrequency(int key);

}  // namespace pack
