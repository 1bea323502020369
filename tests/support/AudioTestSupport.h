#pragma once
// Shared by the sound and music tests: WAVE files made to measure, a sound
// manager on SDL's audio driver whose callback is paused so that the test is
// the only one mixing, and small measures of mixed samples.

#include "platform/storage/MFileMMIO.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"
#include "tests/support/FileTestHelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace audiotest {

inline void Put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
inline void PutId(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(id[i]));
}

// A RIFF WAVE of PCM samples; fmtSize below 16 makes a malformed "fmt ".
inline Bytes MakeWave(int channels, int rate, int bits, const Bytes& data, std::uint32_t fmtSize = 16) {
    Bytes fmt;
    Put16(fmt, 1);
    Put16(fmt, static_cast<unsigned>(channels));
    Put32(fmt, static_cast<std::uint32_t>(rate));
    Put32(fmt, static_cast<std::uint32_t>(rate * channels * bits / 8));
    Put16(fmt, static_cast<unsigned>(channels * bits / 8));
    Put16(fmt, static_cast<unsigned>(bits));
    fmt.resize(fmtSize);
    Bytes wave;
    PutId(wave, "RIFF");
    Put32(wave, static_cast<std::uint32_t>(4 + 8 + fmt.size() + 8 + data.size() + (data.size() & 1)));
    PutId(wave, "WAVE");
    PutId(wave, "fmt ");
    Put32(wave, static_cast<std::uint32_t>(fmt.size()));
    wave.insert(wave.end(), fmt.begin(), fmt.end());
    PutId(wave, "data");
    Put32(wave, static_cast<std::uint32_t>(data.size()));
    wave.insert(wave.end(), data.begin(), data.end());
    if (data.size() & 1) wave.push_back(0);
    return wave;
}

// Largest absolute sample.
inline int Peak(const std::vector<std::int16_t>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    int peak = 0;
    to = std::min(to, samples.size());
    for (std::size_t i = from; i < to; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

// A sound manager opened on the test's audio driver (16-bit stereo at
// 22050 Hz, as the game asks) with its callback paused; freed afterwards.
class AudioTest : public testing::Test {
protected:
    void SetUp() override {
        MSoundManager::Free();
        manager = MSoundManager::Get();
        ASSERT_EQ(manager->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0) << "no audio driver";
        manager->Pause(1);
    }
    void TearDown() override {
        MMusicManager::Free();
        MSoundManager::Free();
    }

    // Creates a sound from WAVE bytes written to a file of the temp folder.
    HRESULT CreateFrom(const Bytes& wave, MSound** out, int count = 1) {
        const std::string name = "s" + std::to_string(files++) + ".wav";
        WriteFileBytes(folder / name, wave);
        MFileMMIO file;
        if (file.Open(folder.Spec(name), kModeReadExistingBinary, 1) != 0) return AudioResult::kFail;
        return manager->CreateSound(out, &file, DSBCAPS_CTRLVOLUME, MAudioGuid{}, count);
    }
    std::unique_ptr<MSound> Load(const Bytes& wave, int count = 1) {
        MSound* sound = nullptr;
        EXPECT_EQ(CreateFrom(wave, &sound, count), 0);
        return std::unique_ptr<MSound>(sound);
    }

    std::vector<std::int16_t> Mix(int frames) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * 2);
        manager->Mix(out.data(), frames);
        return out;
    }

    TempFolder folder;
    MSoundManager* manager = nullptr;
    int files = 0;
};

}  // namespace audiotest
