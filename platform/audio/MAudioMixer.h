#pragma once
// The project's own mixer: adds the playing voices of every sound and the
// rendered music into one 16-bit stream of the output format. The SDL audio
// callback calls Mix; tests call it directly to check samples.
//
// Locking: the sounds' voice state is guarded by Lock(), held by Mix only while
// it adds one chunk of the sounds; the music source is guarded separately and
// does its own locking while it renders. No lock is held across both, so the
// game thread waits at most for one chunk of work.

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

class MSound;

// Something that renders music at a fixed rate, such as the synthesizer.
class MMusicSource {
public:
    virtual ~MMusicSource() = default;
    virtual int GetSampleRate() const = 0;
    // Writes frames samples of each side into left and right, in -1.0 .. 1.0.
    virtual void Render(float* left, float* right, int frames) = 0;
    // True when rendering would give only silence until something is asked
    // to play (which then wakes the mixer's output, see MAudioMixer::WakeUp).
    virtual bool IsQuiet() { return false; }
};

class MAudioMixer {
public:
    // The mixer works through the stream in chunks of this many frames, so its
    // scratch space is fixed and each locked step is short.
    static constexpr int kChunkFrames = 256;

    MAudioMixer() = default;
    MAudioMixer(const MAudioMixer&) = delete;
    MAudioMixer& operator=(const MAudioMixer&) = delete;
    // Detaches the sounds that are still alive; they then play nowhere.
    ~MAudioMixer();

    // The output format: 1 or 2 channels at the given rate. Sounds converted
    // for another format stay silent.
    void SetFormat(int channels, int samplesPerSecond);
    int GetChannels() const { return channels; }
    int GetSamplesPerSecond() const { return samplesPerSecond; }

    // Renders frames frames (interleaved channels) of the mix into out.
    void Mix(std::int16_t* out, int frames);

    std::mutex& Lock() { return soundLock; }
    void Attach(MSound* sound);
    void Detach(MSound* sound);
    int GetSoundCount();

    // The music to add to the stream, or null. Waits for a render in progress.
    void SetMusicSource(MMusicSource* source);
    MMusicSource* GetMusicSource();

    // True when no voice plays and the music, if any, is quiet: the stream
    // would be silence until something starts.
    bool IsSilent();
    // Called whenever a sound or the music is asked to play, on the thread
    // that asks; the sound manager reopens a device it closed while silent.
    void SetWakeUp(std::function<void()> hook);
    void WakeUp();

private:
    void MixChunk(std::int16_t* out, int frames);

    int channels = 2;
    int samplesPerSecond = 22050;
    std::mutex soundLock;
    std::vector<MSound*> sounds;
    std::mutex musicLock;
    MMusicSource* music = nullptr;
    std::function<void()> wakeUp;
};
