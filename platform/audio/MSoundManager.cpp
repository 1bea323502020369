#include "platform/audio/MSoundManager.h"

#include "platform/audio/MSound.h"
#include "formats/MWaveFile.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

namespace {

MSoundManager* instance = nullptr;

// About 23 ms at 22050 Hz: short enough for effects to start promptly.
constexpr int kDeviceFrames = 512;

constexpr std::uint16_t kFormatFloat = 3;

// Sample rates a sound may have. Below the lowest, a few bytes of data would
// stretch to millions of output samples; above the highest nothing real is.
constexpr std::uint32_t kLowestRate = 4000;
constexpr std::uint32_t kHighestRate = 192000;
// The conversion's stream counts channels in a byte; more than this are not played.
constexpr std::uint16_t kMostChannels = 8;
// Silent frames (and a quarter second more) added after a sound so that the
// resampler gives all of it back.
constexpr std::size_t kResamplerTail = 4096;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

// The SDL sample format of a WAVE format, or 0 when it is not one we play.
SDL_AudioFormat SourceFormat(const MWaveFormat& format) {
    std::uint16_t tag = format.formatTag;
    // The extensible form names its real format in the first two bytes of its
    // sub-format identifier, after the valid bits and the channel mask.
    if (tag == kFormatExtensible && format.extra.size() >= 8) {
        tag = static_cast<std::uint16_t>(format.extra[6] | format.extra[7] << 8);
    }
    if (tag == MWaveFile::kFormatPcm) {
        switch (format.bitsPerSample) {
            case 8: return AUDIO_U8;
            case 16: return AUDIO_S16LSB;
            case 32: return AUDIO_S32LSB;
            default: return 0;
        }
    }
    if (tag == kFormatFloat && format.bitsPerSample == 32) {
        return AUDIO_F32LSB;
    }
    return 0;
}

}  // namespace

MSoundManager* MSoundManager::Get() {
    if (!instance) {
        instance = new MSoundManager();
    }
    return instance;
}

MSoundManager* MSoundManager::Peek() { return instance; }

void MSoundManager::Free() {
    delete instance;
    instance = nullptr;
}

MSoundManager::~MSoundManager() {
    CloseDevice();
    if (audioSubsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void MSoundManager::CloseDevice() {
    std::lock_guard<std::mutex> guard(deviceLock);
    asleep = false;
    if (device != 0) {
        // Closing waits for a callback in progress; none runs afterwards.
        SDL_CloseAudioDevice(device);
        device = 0;
    }
}

HRESULT MSoundManager::Initialize(SDL_Window* /*window*/, DWORD cooperativeLevel, int channelCount, int rate,
                                  int bits) {
    CloseDevice();
    if (cooperativeLevel == DSSCL_NORMAL) {
        channelCount = 2;
        rate = 22050;
        bits = 8;
    }
    if (channelCount < 1 || channelCount > 2 || (bits != 8 && bits != 16) || rate < 4000 || rate > 192000) {
        return AudioResult::kInvalidArg;
    }
    if (!audioSubsystem) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            return AudioResult::kNoDriver;
        }
        audioSubsystem = true;
    }
    channels = channelCount;
    samplesPerSecond = rate;
    bitsPerSample = bits;
    mixer.SetFormat(channels, samplesPerSecond);
    mixer.SetWakeUp([this] { Wake(); });
    std::lock_guard<std::mutex> guard(deviceLock);
    paused = false;
    silenceSeen = false;
    return OpenDevice() ? AudioResult::kOk : AudioResult::kNoDriver;
}

bool MSoundManager::OpenDevice() {
    SDL_AudioSpec wanted{};
    wanted.freq = samplesPerSecond;
    wanted.format = bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16SYS;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = kDeviceFrames;
    wanted.callback = &MSoundManager::AudioCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No changes allowed: SDL converts to whatever the hardware wants, so the
    // mixer always works in the format asked for.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        return false;
    }
    SDL_PauseAudioDevice(device, paused ? 1 : 0);
    return true;
}

void MSoundManager::Pause(int pause) {
    std::lock_guard<std::mutex> guard(deviceLock);
    paused = pause != 0;
    if (device != 0) {
        SDL_PauseAudioDevice(device, pause ? 1 : 0);
    }
}

int MSoundManager::SleepWhenSilent(std::uint32_t now) {
    constexpr int kLookAgain = 1000;  // while something plays
    std::lock_guard<std::mutex> guard(deviceLock);
    if (device == 0 || asleep) return -1;
    if (!mixer.IsSilent()) {
        silenceSeen = false;
        return kLookAgain;
    }
    if (!silenceSeen) {
        silenceSeen = true;
        silentSince = now;
    }
    const std::uint32_t quiet = now - silentSince;
    if (quiet < kSilenceBeforeSleep) return static_cast<int>(kSilenceBeforeSleep - quiet);
    SDL_CloseAudioDevice(device);
    device = 0;
    asleep = true;
    return -1;
}

void MSoundManager::Wake() {
    std::lock_guard<std::mutex> guard(deviceLock);
    silenceSeen = false;
    // A device that will not open again stays asleep: the next sound tries again.
    if (asleep && OpenDevice()) asleep = false;
}

void MSoundManager::Mix(std::int16_t* out, int frames) { mixer.Mix(out, frames); }

void MSoundManager::AudioCallback(void* self, std::uint8_t* stream, int length) {
    auto* manager = static_cast<MSoundManager*>(self);
    const int frameSamples = manager->channels;
    if (manager->bitsPerSample == 16) {
        manager->Mix(reinterpret_cast<std::int16_t*>(stream), length / (2 * frameSamples));
        return;
    }
    // 8-bit output: mix a piece at a time and shift to unsigned samples.
    std::int16_t piece[MAudioMixer::kChunkFrames * 2];
    int frames = length / frameSamples;
    while (frames > 0) {
        const int n = std::min(frames, MAudioMixer::kChunkFrames);
        manager->Mix(piece, n);
        for (int i = 0; i < n * frameSamples; ++i) {
            *stream++ = static_cast<std::uint8_t>((piece[i] >> 8) + 128);
        }
        frames -= n;
    }
}

bool MSoundManager::ConvertSamples(const MWaveFormat& format, const std::uint8_t* data, std::uint32_t size,
                                   int outChannels, int outRate, std::vector<std::int16_t>* out) {
    const SDL_AudioFormat source = SourceFormat(format);
    const int sampleBytes = format.bitsPerSample / 8;
    const int frameBytes = format.channels * sampleBytes;
    if (source == 0 || format.channels == 0 || format.channels > kMostChannels || frameBytes == 0 ||
        !IsPlayableRate(format.samplesPerSec) || outChannels < 1 || outChannels > 2) {
        return false;
    }
    // Allocation failure (a huge sound on a small machine) is a failed
    // conversion, not the end of the program.
    try {
        return Convert(format, source, data, size, outChannels, outRate, out);
    } catch (const std::bad_alloc&) {
        out->clear();
        return false;
    }
}

bool MSoundManager::IsPlayableRate(std::uint32_t samplesPerSecond) {
    return samplesPerSecond >= kLowestRate && samplesPerSecond <= kHighestRate;
}

bool MSoundManager::Convert(const MWaveFormat& format, std::uint16_t source, const std::uint8_t* data,
                            std::uint32_t size, int outChannels, int outRate, std::vector<std::int16_t>* out) {
    const int sampleBytes = format.bitsPerSample / 8;
    const int frameBytes = format.channels * sampleBytes;
    // The samples are first made signed 16-bit here: SDL's resampler pads
    // the end of the data with zero bytes, which for unsigned 8-bit samples is
    // not silence but a full step, and would ring at the end of such sounds.
    const std::size_t frames = size / static_cast<std::uint32_t>(frameBytes);
    const std::size_t count = frames * format.channels;
    // SDL's resampler keeps back the last few hundred frames even when
    // flushed; silence after the sound pushes them out and is cut off again.
    const std::size_t tail = kResamplerTail + format.samplesPerSec / 4;
    std::vector<std::int16_t> samples(count + tail * format.channels, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* s = data + i * static_cast<std::size_t>(sampleBytes);
        const std::uint32_t word = sampleBytes == 4 ? static_cast<std::uint32_t>(s[0]) |
                                                          static_cast<std::uint32_t>(s[1]) << 8 |
                                                          static_cast<std::uint32_t>(s[2]) << 16 |
                                                          static_cast<std::uint32_t>(s[3]) << 24
                                                    : 0;
        switch (source) {
            case AUDIO_U8: samples[i] = static_cast<std::int16_t>((s[0] - 128) * 256); break;
            case AUDIO_S16LSB: samples[i] = static_cast<std::int16_t>(s[0] | s[1] << 8); break;
            case AUDIO_S32LSB: samples[i] = static_cast<std::int16_t>(static_cast<std::int32_t>(word) >> 16); break;
            default: {
                float value;
                std::memcpy(&value, &word, sizeof value);
                value = std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
                samples[i] = static_cast<std::int16_t>(std::lrint(value * 32767.0f));
            }
        }
    }
    std::unique_ptr<SDL_AudioStream, void (*)(SDL_AudioStream*)> stream(
        SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(format.channels), static_cast<int>(format.samplesPerSec),
                           AUDIO_S16SYS, static_cast<Uint8>(outChannels), outRate),
        SDL_FreeAudioStream);
    if (!stream) {
        return false;
    }
    bool ok = SDL_AudioStreamPut(stream.get(), samples.data(),
                                 static_cast<int>(samples.size() * sizeof(std::int16_t))) == 0 &&
              SDL_AudioStreamFlush(stream.get()) == 0;
    if (ok) {
        const int available = SDL_AudioStreamAvailable(stream.get());
        out->assign(static_cast<std::size_t>(available) / sizeof(std::int16_t), 0);
        const int got = SDL_AudioStreamGet(stream.get(), out->data(), available);
        ok = got >= 0;
        if (ok) {
            out->resize(static_cast<std::size_t>(got) / sizeof(std::int16_t));
            const std::size_t wanted = static_cast<std::size_t>(
                (static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(outRate) + format.samplesPerSec / 2) /
                format.samplesPerSec);
            const std::size_t made = out->size() / static_cast<std::size_t>(outChannels);
            out->resize(std::min(made, wanted) * static_cast<std::size_t>(outChannels));
        }
    }
    return ok;
}

HRESULT MSoundManager::CreateSound(MSound** out, MFileMMIO* handle, DWORD /*creationFlags*/,
                                   const MAudioGuid& /*algorithm3D*/, int count) {
    if (!IsInitialized()) {
        return AudioResult::kNotInitialized;
    }
    if (!handle || !out || count < 1) {
        return AudioResult::kInvalidArg;
    }
    MWaveFile wave;
    if (wave.Open(handle, nullptr, MWaveFile::kModeRead) != MWaveFile::kOk || wave.GetSize() == 0) {
        return AudioResult::kFail;
    }
    const MWaveFormat& format = *wave.GetFormat();
    // A rate outside what sounds have is damaged data: refused before the
    // converter would stretch it into gigabytes.
    if (!IsPlayableRate(format.samplesPerSec)) {
        return AudioResult::kFail;
    }
    if (SourceFormat(format) == 0) {
        return AudioResult::kBadFormat;
    }
    // The buffer holds the whole data chunk; whatever cannot be read stays
    // silence (unsigned 8-bit samples are silent at their midpoint).
    const std::uint32_t size = wave.GetSize();
    std::vector<std::uint8_t> data;
    try {
        data.assign(size, format.bitsPerSample == 8 ? 0x80 : 0x00);
    } catch (const std::bad_alloc&) {
        return AudioResult::kOutOfMemory;
    }
    std::uint32_t read = 0;
    if (wave.ResetFile() != MWaveFile::kOk || wave.Read(data.data(), size, &read) != MWaveFile::kOk) {
        return AudioResult::kFail;
    }
    std::vector<std::int16_t> pcm;
    if (!ConvertSamples(format, data.data(), size, channels, samplesPerSecond, &pcm)) {
        return AudioResult::kBadFormat;
    }
    *out = new (std::nothrow) MSound(&mixer, std::move(pcm), channels, samplesPerSecond, size, count);
    return *out ? AudioResult::kOk : AudioResult::kOutOfMemory;
}
