#include "platform/audio/MAudioMixer.h"

#include "platform/audio/MSound.h"

#include <algorithm>
#include <cmath>

MAudioMixer::~MAudioMixer() {
    std::lock_guard<std::mutex> guard(soundLock);
    for (MSound* sound : sounds) {
        sound->DetachFromMixer();
    }
    sounds.clear();
}

void MAudioMixer::SetFormat(int channelCount, int rate) {
    std::scoped_lock guard(soundLock, musicLock);
    channels = channelCount;
    samplesPerSecond = rate;
}

void MAudioMixer::Attach(MSound* sound) {
    std::lock_guard<std::mutex> guard(soundLock);
    sounds.push_back(sound);
}

void MAudioMixer::Detach(MSound* sound) {
    std::lock_guard<std::mutex> guard(soundLock);
    sounds.erase(std::remove(sounds.begin(), sounds.end(), sound), sounds.end());
}

int MAudioMixer::GetSoundCount() {
    std::lock_guard<std::mutex> guard(soundLock);
    return static_cast<int>(sounds.size());
}

void MAudioMixer::SetMusicSource(MMusicSource* source) {
    std::lock_guard<std::mutex> guard(musicLock);
    music = source;
}

MMusicSource* MAudioMixer::GetMusicSource() {
    std::lock_guard<std::mutex> guard(musicLock);
    return music;
}

bool MAudioMixer::IsSilent() {
    {
        std::lock_guard<std::mutex> guard(soundLock);
        for (const MSound* sound : sounds)
            if (sound->PlaysLocked()) return false;
    }
    std::lock_guard<std::mutex> guard(musicLock);
    return !music || music->IsQuiet();
}

void MAudioMixer::SetWakeUp(std::function<void()> hook) { wakeUp = std::move(hook); }

void MAudioMixer::WakeUp() {
    if (wakeUp) wakeUp();
}

void MAudioMixer::Mix(std::int16_t* out, int frames) {
    while (frames > 0) {
        const int n = std::min(frames, kChunkFrames);
        MixChunk(out, n);
        out += static_cast<std::ptrdiff_t>(n) * channels;
        frames -= n;
    }
}

void MAudioMixer::MixChunk(std::int16_t* out, int frames) {
    float acc[kChunkFrames * 2] = {};
    const int samples = frames * channels;
    {
        std::lock_guard<std::mutex> guard(soundLock);
        for (MSound* sound : sounds) {
            if (sound->GetChannels() == channels && sound->GetSamplesPerSecond() == samplesPerSecond) {
                sound->MixInto(acc, frames);
            }
        }
    }
    {
        std::lock_guard<std::mutex> guard(musicLock);
        if (music && music->GetSampleRate() == samplesPerSecond) {
            float left[kChunkFrames];
            float right[kChunkFrames];
            music->Render(left, right, frames);
            if (channels == 2) {
                for (int i = 0; i < frames; ++i) {
                    acc[2 * i] += left[i] * 32767.0f;
                    acc[2 * i + 1] += right[i] * 32767.0f;
                }
            } else {
                for (int i = 0; i < frames; ++i) {
                    acc[i] += (left[i] + right[i]) * 0.5f * 32767.0f;
                }
            }
        }
    }
    for (int i = 0; i < samples; ++i) {
        const float clipped = std::clamp(acc[i], -32768.0f, 32767.0f);
        out[i] = static_cast<std::int16_t>(std::lrint(clipped));
    }
}
