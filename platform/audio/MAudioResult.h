#pragma once
// Result values of the audio layer. Its operations keep the signatures of the
// sound and music runtime they stand in for, so failures are 32-bit result
// values: 0 for success, negative for an error.

#include <cstdint>

using HRESULT = std::int32_t;
using DWORD = std::uint32_t;

namespace AudioResult {

constexpr HRESULT kOk = 0;
constexpr HRESULT kFalse = 1;  // success, but "no" (not playing, nothing done)
constexpr HRESULT kFail = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT kInvalidArg = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT kOutOfMemory = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT kUnexpected = static_cast<HRESULT>(0x8000FFFFu);
constexpr HRESULT kNotInitialized = static_cast<HRESULT>(0x800401F0u);
// No audio device could be opened: the game runs without sound or music.
constexpr HRESULT kNoDriver = static_cast<HRESULT>(0x88780078u);
// The sample format of a sound cannot be played.
constexpr HRESULT kBadFormat = static_cast<HRESULT>(0x88780064u);

inline bool Failed(HRESULT r) { return r < 0; }

}  // namespace AudioResult

// Cooperative levels of Initialize. Only the normal level leaves the output
// format at the default (22050 Hz, 8 bits, stereo) instead of the one asked for.
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;

// Creation flag of CreateSound: the sound has a volume control (all sounds do).
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x80;

// Start and stop flags of MMusicSegment.
constexpr DWORD DMUS_SEGF_BEAT = 0x1000;       // on the next beat of the music
constexpr DWORD DMUS_SEGF_SECONDARY = 0x80;    // at once
constexpr DWORD DMUS_SEG_REPEAT_INFINITE = 0xFFFFFFFFu;
constexpr DWORD DMUS_APATH_DYNAMIC_STEREO = 8;

// A 3-D algorithm identifier; sounds here have no 3-D processing, so any value
// (the game passes all zeros) means "none".
struct MAudioGuid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};
};
