#pragma once
// The process-wide sound manager: one SDL audio device, the mixer that feeds
// it, and the loader that turns a WAVE file inside the archive into a sound.
// The device is opened in the format asked for; where the hardware differs,
// SDL converts the finished stream.

#include "platform/audio/MAudioMixer.h"
#include "platform/audio/MAudioResult.h"

#include <cstdint>
#include <mutex>
#include <vector>

struct SDL_Window;
class MFileMMIO;
class MSound;
struct MWaveFormat;

class MSoundManager {
public:
    // The singleton, created on first use.
    static MSoundManager* Get();
    // The singleton if it exists, else null; never creates it.
    static MSoundManager* Peek();
    // Closes the device and frees the singleton. Sounds still alive stay valid
    // objects but play nowhere.
    static void Free();

    MSoundManager(const MSoundManager&) = delete;
    MSoundManager& operator=(const MSoundManager&) = delete;
    ~MSoundManager();

    // Opens the default audio device for (channels 1 or 2, rate, 8 or 16 bits),
    // closing a device opened before. The window is not needed by SDL. At the
    // normal cooperative level the output keeps the default format (22050 Hz,
    // 8 bits, stereo). Results: 0; kInvalidArg for a format that cannot be
    // asked for; kNoDriver when no device opens.
    HRESULT Initialize(SDL_Window* window, DWORD cooperativeLevel, int channels, int samplesPerSecond,
                       int bitsPerSample);

    // Creates a sound of count voices from the RIFF WAVE file at the handle's
    // current position. Results: 0; kNotInitialized without a device;
    // kInvalidArg for a null handle or out, or count below 1; kFail when the
    // WAVE cannot be read or has no samples; kBadFormat for sample data that is
    // not PCM. A file shorter than its chunks announce throws CFileException.
    HRESULT CreateSound(MSound** out, MFileMMIO* handle, DWORD creationFlags, const MAudioGuid& algorithm3D,
                        int count);

    // Renders frames frames of the mix in the output format's channels as
    // 16-bit samples; the audio callback calls this too.
    void Mix(std::int16_t* out, int frames);

    // Stops (1) or restarts (0) the device's callback, so a test can be the
    // only one mixing.
    void Pause(int pause);

    // A device feeding silence still costs the audio thread its wake-ups, so
    // the output is closed once the mix has been silent for a while and opened
    // again when a sound or the music is asked to play. Called when the game
    // loop is about to wait, with the time in milliseconds: the longest the
    // loop may wait before it should ask again, or -1 when it need not.
    int SleepWhenSilent(std::uint32_t now);
    // Opens the output again after SleepWhenSilent closed it.
    void Wake();
    int IsAsleep() const { return asleep ? 1 : 0; }
    static constexpr std::uint32_t kSilenceBeforeSleep = 5000;

    // A device was opened and still is, or sleeps until the next sound.
    int IsInitialized() const { return device != 0 || asleep ? 1 : 0; }
    int GetChannels() const { return channels; }
    int GetSamplesPerSecond() const { return samplesPerSecond; }
    int GetBitsPerSample() const { return bitsPerSample; }
    MAudioMixer& GetMixer() { return mixer; }

    // Converts sample data of the given WAVE format to interleaved 16-bit
    // frames of the output format. Returns false for a format it cannot read.
    // Also false for a rate outside 4000..192000 Hz, more than 8 channels, or
    // when the memory for the result cannot be had.
    static bool ConvertSamples(const MWaveFormat& format, const std::uint8_t* data, std::uint32_t size,
                               int channels, int samplesPerSecond, std::vector<std::int16_t>* out);
    // Whether a sound of this sample rate is played (4000..192000 Hz).
    static bool IsPlayableRate(std::uint32_t samplesPerSecond);

private:
    MSoundManager() = default;
    void CloseDevice();
    // Opens the default device in the chosen format; false when none opens.
    bool OpenDevice();
    static void AudioCallback(void* self, std::uint8_t* stream, int length);
    // ConvertSamples once the format was checked; source is the SDL sample format.
    static bool Convert(const MWaveFormat& format, std::uint16_t source, const std::uint8_t* data,
                        std::uint32_t size, int channels, int samplesPerSecond, std::vector<std::int16_t>* out);

    std::uint32_t device = 0;  // SDL audio device id; 0 when none is open
    std::mutex deviceLock;     // opening and closing, from whichever thread plays
    bool asleep = false;  // closed while silent, opened by Wake
    bool paused = false;
    bool silenceSeen = false;
    std::uint32_t silentSince = 0;
    bool audioSubsystem = false;
    int channels = 0;
    int samplesPerSecond = 0;
    int bitsPerSample = 0;
    MAudioMixer mixer;
};
