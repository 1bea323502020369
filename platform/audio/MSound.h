#pragma once
// One loaded sound effect: its samples, converted once to the output format
// and kept in the narrowest form that gives them back exactly (one channel
// when both sides are the same, 8 bits when the low byte is always zero), and
// several voices that play them independently (the first voice and its
// duplicates). A voice keeps its position when stopped, so the next Play on it
// continues where it stopped; a voice that ran to its end starts again at the
// beginning. The volume is in hundredths of a decibel (0 = full) and applies to
// all voices of the sound.
//
// The audio thread reads the voices through MixInto while holding the mixer's
// lock; every operation here takes that lock only around its state change.

#include "platform/audio/BSound.h"
#include "platform/audio/MAudioResult.h"
#include "platform/core/ResultCodes.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

class MAudioMixer;

// The volume range of a sound, in hundredths of a decibel.
constexpr long kSoundVolumeMin = -10000;
constexpr long kSoundVolumeMax = 0;

class MSound : public BSound {
public:
    // pcm: interleaved 16-bit frames of the given channel count and rate;
    // bufferSize: the bytes of the sound's data as stored; count: voices (>= 1).
    MSound(MAudioMixer* mixer, std::vector<std::int16_t> pcm, int channels, int samplesPerSecond,
           DWORD bufferSize, int count);
    ~MSound() override;

    int IsPlaying() override;
    int Play(int loop) override;
    int Stop() override;
    int Halt() override;
    int Replay() override;
    int Toggle() override;
    long GetVolume() override;
    int SetVolume(float level) override;

    // The volume of a level from 0.0 to 1.0: level 0 is -33.33 dB, not silence.
    static long VolumeForLevel(float level);
    // The linear gain of a volume in hundredths of a decibel.
    static float GainForVolume(long volume);

    // Puts every voice back at the start of the sound; playing voices go on
    // playing from there.
    void Rewind();

    int GetVoiceCount() const { return static_cast<int>(voices.size()); }
    // The voice's position in frames and whether it plays (for inspection).
    std::size_t GetVoicePosition(int voice);
    int IsVoicePlaying(int voice);
    std::size_t GetFrameCount() const { return frameCount; }
    DWORD GetBufferSize() const { return bufferSize; }
    int GetChannels() const { return channels; }
    int GetSamplesPerSecond() const { return samplesPerSecond; }
    // The samples in the output format (interleaved, 16-bit), as they are mixed.
    std::vector<std::int16_t> GetSamples() const;
    // The bytes the samples are kept in.
    std::size_t GetStoredBytes() const { return wide.size() * sizeof(std::int16_t) + narrow.size(); }

    // Audio side, called by the mixer with its lock held: adds the playing
    // voices into acc (frames x channels floats) and advances them.
    void MixInto(float* acc, int frames);
    // With the mixer's lock held: whether any voice plays.
    bool PlaysLocked() const;
    // Called by a mixer that is going away, with its lock held.
    void DetachFromMixer() { mixer = nullptr; }

private:
    struct Voice {
        bool playing = false;
        bool looping = false;
        std::size_t frame = 0;
    };

    std::unique_lock<std::mutex> Guard();
    void MixVoice(Voice& voice, float* acc, int frames);
    // Adds frames frames from frame on, read from the kept samples.
    template <typename Sample>
    void AddFrames(const Sample* kept, int scale, std::size_t frame, std::size_t frames, float* dst) const;

    MAudioMixer* mixer;  // null once the sound manager has gone
    std::vector<std::int16_t> wide;  // the samples, or
    std::vector<std::int8_t> narrow;  // their high bytes (the low ones all zero)
    int keptChannels;  // 1 when every frame has the same sample on both sides
    int channels;
    int samplesPerSecond;
    std::size_t frameCount;
    DWORD bufferSize;
    std::vector<Voice> voices;
    int looping = 0;  // the loop argument of the last Play
    long volume = 0;
    float gain = 1.0f;
};
