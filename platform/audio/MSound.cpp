#include "platform/audio/MSound.h"

#include "platform/audio/MAudioMixer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

MSound::MSound(MAudioMixer* owner, std::vector<std::int16_t> samples, int channelCount, int rate,
               DWORD dataBytes, int count)
    : mixer(owner),
      keptChannels(std::max(1, channelCount)),
      channels(std::max(1, channelCount)),
      samplesPerSecond(rate),
      frameCount(samples.size() / static_cast<std::size_t>(std::max(1, channelCount))),
      bufferSize(dataBytes),
      voices(static_cast<std::size_t>(std::max(0, count))) {
    samples.resize(frameCount * static_cast<std::size_t>(channels));
    // Mono effects reach a stereo device as two equal sides: one is kept.
    bool sidesEqual = channels == 2;
    for (std::size_t i = 0; sidesEqual && i < samples.size(); i += 2) sidesEqual = samples[i] == samples[i + 1];
    if (sidesEqual) {
        keptChannels = 1;
        for (std::size_t i = 0; i < frameCount; ++i) samples[i] = samples[2 * i];
        samples.resize(frameCount);
    }
    // 8-bit effects played as they are: the low bytes carry nothing.
    const bool eightBit = std::all_of(samples.begin(), samples.end(), [](std::int16_t v) { return (v & 0xFF) == 0; });
    if (eightBit) {
        narrow.reserve(samples.size());
        for (std::int16_t v : samples) narrow.push_back(static_cast<std::int8_t>(v >> 8));
    } else {
        samples.shrink_to_fit();
        wide = std::move(samples);
    }
    if (mixer) {
        mixer->Attach(this);
    }
}

MSound::~MSound() {
    if (mixer) {
        mixer->Detach(this);
    }
}

std::unique_lock<std::mutex> MSound::Guard() {
    return mixer ? std::unique_lock<std::mutex>(mixer->Lock()) : std::unique_lock<std::mutex>();
}

int MSound::IsPlaying() {
    auto guard = Guard();
    return std::any_of(voices.begin(), voices.end(), [](const Voice& v) { return v.playing; }) ? 1 : 0;
}

int MSound::Play(int loop) {
    if (voices.empty()) {
        return kResultSoundNotPlayed;
    }
    {
        auto guard = Guard();
        auto idle = std::find_if(voices.begin(), voices.end(), [](const Voice& v) { return !v.playing; });
        Voice& voice = idle != voices.end() ? *idle : voices[static_cast<std::size_t>(std::rand()) % voices.size()];
        if (voice.playing) {
            voice.frame = 0;  // every voice is busy: the chosen one starts over
        }
        voice.playing = true;
        voice.looping = loop != 0;
        looping = loop;
    }
    // Outside the lock: waking may open the device, whose callback takes it.
    if (mixer) mixer->WakeUp();
    return 0;
}

int MSound::Stop() {
    if (voices.empty()) {
        return kResultSoundNotRestored;
    }
    auto guard = Guard();
    for (Voice& voice : voices) {
        voice.playing = false;
    }
    return 0;
}

int MSound::Halt() {
    Stop();
    return 0;
}

int MSound::Replay() {
    Play(looping);
    return 0;
}

int MSound::Toggle() {
    if (IsPlaying()) {
        Stop();
    } else {
        Replay();
    }
    return 0;
}

void MSound::Rewind() {
    auto guard = Guard();
    for (Voice& voice : voices) voice.frame = 0;
}

long MSound::GetVolume() { return volume; }

long MSound::VolumeForLevel(float level) { return static_cast<long>(level * 3333.0 - 3333.0); }

float MSound::GainForVolume(long hundredthsOfDecibel) {
    return static_cast<float>(std::pow(10.0, static_cast<double>(hundredthsOfDecibel) / 2000.0));
}

int MSound::SetVolume(float level) {
    const long wanted = VolumeForLevel(level);
    if (voices.empty()) {
        return kResultSoundNotRestored;
    }
    // Outside the range the volume stays as it was, as a rejected setting would.
    if (wanted < kSoundVolumeMin || wanted > kSoundVolumeMax) {
        return AudioResult::kInvalidArg;
    }
    const float newGain = GainForVolume(wanted);
    auto guard = Guard();
    volume = wanted;
    gain = newGain;
    return 0;
}

std::vector<std::int16_t> MSound::GetSamples() const {
    std::vector<std::int16_t> samples;
    samples.reserve(frameCount * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < frameCount * static_cast<std::size_t>(keptChannels); ++i) {
        const auto value = static_cast<std::int16_t>(narrow.empty() ? wide[i] : narrow[i] * 256);
        for (int side = keptChannels; side <= channels; ++side) samples.push_back(value);
    }
    return samples;
}

std::size_t MSound::GetVoicePosition(int voice) {
    auto guard = Guard();
    return voices.at(static_cast<std::size_t>(voice)).frame;
}

int MSound::IsVoicePlaying(int voice) {
    auto guard = Guard();
    return voices.at(static_cast<std::size_t>(voice)).playing ? 1 : 0;
}

bool MSound::PlaysLocked() const {
    return std::any_of(voices.begin(), voices.end(), [](const Voice& v) { return v.playing; });
}

void MSound::MixInto(float* acc, int frames) {
    for (Voice& voice : voices) {
        if (voice.playing) {
            MixVoice(voice, acc, frames);
        }
    }
}

void MSound::MixVoice(Voice& voice, float* acc, int frames) {
    const std::size_t wanted = static_cast<std::size_t>(frames);
    std::size_t done = 0;
    while (done < wanted) {
        if (voice.frame >= frameCount) {
            // A one-shot voice stops at its end and starts from the beginning
            // next time; an empty sound cannot loop.
            voice.frame = 0;
            if (!voice.looping || frameCount == 0) {
                voice.playing = false;
                return;
            }
        }
        const std::size_t n = std::min(wanted - done, frameCount - voice.frame);
        float* dst = acc + done * static_cast<std::size_t>(channels);
        if (narrow.empty()) {
            AddFrames(wide.data(), 1, voice.frame, n, dst);
        } else {
            AddFrames(narrow.data(), 256, voice.frame, n, dst);
        }
        voice.frame += n;
        done += n;
    }
    if (voice.frame >= frameCount && !voice.looping) {
        voice.frame = 0;
        voice.playing = false;
    }
}

template <typename Sample>
void MSound::AddFrames(const Sample* kept, int scale, std::size_t frame, std::size_t frames, float* dst) const {
    const float step = gain * static_cast<float>(scale);
    if (keptChannels == channels) {
        const Sample* src = kept + frame * static_cast<std::size_t>(channels);
        const std::size_t samples = frames * static_cast<std::size_t>(channels);
        for (std::size_t i = 0; i < samples; ++i) dst[i] += static_cast<float>(src[i]) * step;
        return;
    }
    // One kept side plays on both.
    const Sample* src = kept + frame;
    for (std::size_t i = 0; i < frames; ++i) {
        const float value = static_cast<float>(src[i]) * step;
        dst[2 * i] += value;
        dst[2 * i + 1] += value;
    }
}
