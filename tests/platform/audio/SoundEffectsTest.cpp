// Sound effects: creation from WAVE data, voices, looping, volume, and the
// mix on the device format, checked sample by sample through the mixer.

#include "tests/support/AudioTestSupport.h"

#include "formats/CFileMM.h"
#include "formats/MWaveFile.h"
#include "tests/support/ArchiveBuilder.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <thread>

using namespace audiotest;

namespace {

// 0.1 s of two sines at 22050 Hz, 16-bit stereo: the output format itself.
Bytes Tone() { return Fixture("audio_tone_s16_stereo.wav"); }

std::vector<std::int16_t> ToneSamples() {
    Bytes wave = Tone();
    std::vector<std::int16_t> samples;
    for (std::size_t i = 44; i + 1 < wave.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(wave[i] | wave[i + 1] << 8));
    }
    return samples;
}

class SoundEffects : public AudioTest {};

TEST(SoundManagerSetup, CreatingBeforeAnyDeviceOrWithBadArgumentsFails) {
    MSoundManager::Free();
    MSoundManager* manager = MSoundManager::Get();
    MSound* sound = nullptr;
    MFileMMIO file;
    EXPECT_EQ(manager->CreateSound(&sound, &file, 0x80, MAudioGuid{}, 1), AudioResult::kNotInitialized);
    EXPECT_EQ(manager->Initialize(nullptr, DSSCL_PRIORITY, 3, 22050, 16), AudioResult::kInvalidArg);
    EXPECT_EQ(manager->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 12), AudioResult::kInvalidArg);
    ASSERT_EQ(manager->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0);
    EXPECT_EQ(manager->CreateSound(&sound, nullptr, 0x80, MAudioGuid{}, 1), AudioResult::kInvalidArg);
    EXPECT_EQ(manager->CreateSound(nullptr, &file, 0x80, MAudioGuid{}, 1), AudioResult::kInvalidArg);
    EXPECT_EQ(manager->CreateSound(&sound, &file, 0x80, MAudioGuid{}, 0), AudioResult::kInvalidArg);
    EXPECT_EQ(sound, nullptr);
    MSoundManager::Free();
}

TEST_F(SoundEffects, BrokenOrUnplayableWavesFail) {
    MSound* sound = nullptr;
    const Bytes samples(64, 0x40);
    EXPECT_EQ(CreateFrom(MakeWave(1, 22050, 16, samples, 14), &sound), AudioResult::kFail) << "fmt under 16 bytes";
    EXPECT_EQ(CreateFrom(MakeWave(1, 22050, 16, {}), &sound), AudioResult::kFail) << "empty data";
    EXPECT_EQ(CreateFrom(Fixture("wave_alaw_mono.wav"), &sound), AudioResult::kBadFormat);
    EXPECT_EQ(sound, nullptr);
    Bytes truncated = MakeWave(1, 22050, 16, samples);
    truncated.resize(truncated.size() - 10);
    EXPECT_THROW(CreateFrom(truncated, &sound), CFileException);
}

// A 4 KB sound claiming 1 Hz would be stretched to 307 million samples: rates
// outside what sounds have are refused as a failed creation.
TEST_F(SoundEffects, SampleRatesOutsideFourThousandTo192000HertzAreRefused) {
    const Bytes samples(4096, 0x40);
    struct Case {
        std::uint32_t rate;
        HRESULT result;
    } cases[] = {{1, AudioResult::kFail},        {3999, AudioResult::kFail},  {4000, AudioResult::kOk},
                 {22050, AudioResult::kOk},      {192000, AudioResult::kOk},  {192001, AudioResult::kFail},
                 {0x7FFFFFFF, AudioResult::kFail}, {0xFFFFFFFF, AudioResult::kFail},
                 {8000, AudioResult::kOk}, {11025, AudioResult::kOk}, {16000, AudioResult::kOk}, {44100, AudioResult::kOk}};
    for (const Case& c : cases) {
        SCOPED_TRACE("rate " + std::to_string(c.rate));
        Bytes wave = MakeWave(1, 22050, 16, samples);
        for (int i = 0; i < 4; ++i) wave[24 + i] = static_cast<std::uint8_t>(c.rate >> (8 * i));
        MSound* raw = nullptr;
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(CreateFrom(wave, &raw), c.result);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
        std::unique_ptr<MSound> sound(raw);
        EXPECT_EQ(sound != nullptr, c.result == AudioResult::kOk);
        // The frames the converter made: 2048 source frames at the output rate of 22050 Hz.
        if (sound) {
            EXPECT_NEAR(static_cast<double>(sound->GetFrameCount()), 2048.0 * 22050 / c.rate, 2.0);
        }
    }
    // The conversion on its own refuses them too.
    MWaveFormat format;
    format.formatTag = 1;
    format.channels = 1;
    format.bitsPerSample = 16;
    format.samplesPerSec = 1;
    std::vector<std::int16_t> out;
    EXPECT_FALSE(MSoundManager::ConvertSamples(format, samples.data(), 4096, 2, 22050, &out));
    EXPECT_TRUE(out.empty());
}

TEST_F(SoundEffects, LoadsFromAWaveChunkOfTheArchiveAndLeavesItReadable) {
    const Bytes wave = Tone();
    const Bytes after = {'n', 'e', 'x', 't'};
    {
        ArchiveBuilder writer(folder / "a.mm", 1);
        writer.Entry(0);
        writer.Chunk(kIdWave, wave);
        writer.Chunk(kIdRgba, after);
        writer.Finish();
    }
    CFileMM archive;
    ASSERT_EQ(archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting), 0);
    archive.SeekEntry(0);
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    ASSERT_EQ(header.id, kIdWave);
    MSound* raw = nullptr;
    ASSERT_EQ(manager->CreateSound(&raw, &archive, DSBCAPS_CTRLVOLUME, MAudioGuid{}, 1), 0);
    std::unique_ptr<MSound> sound(raw);
    archive.Ascend();
    archive.ReadChunkHeader(&header);
    EXPECT_EQ(header.id, kIdRgba);
    EXPECT_EQ(sound->GetSamples(), ToneSamples());
    EXPECT_EQ(sound->GetBufferSize(), wave.size() - 44);
}

TEST_F(SoundEffects, AFourthQuickPlayOnThreeVoicesRestartsOneOfThem) {
    auto sound = Load(Tone(), 3);
    ASSERT_EQ(sound->GetVoiceCount(), 3);
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(sound->Play(0), 0);
        Mix(100);
    }
    // Voice i started i x 100 frames before the last mix ended.
    EXPECT_EQ(sound->GetVoicePosition(0), 300u);
    EXPECT_EQ(sound->GetVoicePosition(1), 200u);
    EXPECT_EQ(sound->GetVoicePosition(2), 100u);
    ASSERT_EQ(sound->Play(0), 0);
    int restarted = 0;
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(sound->IsVoicePlaying(v), 1);
        restarted += sound->GetVoicePosition(v) == 0 ? 1 : 0;
    }
    EXPECT_EQ(restarted, 1);
    // Three voices of the same sound add up.
    sound.reset();
    std::unique_ptr<MSound> three = Load(Tone(), 3);
    three->Play(0);
    three->Play(0);
    three->Play(0);
    const auto mixed = Mix(50);
    const auto tone = ToneSamples();
    for (std::size_t i = 0; i < mixed.size(); ++i) {
        EXPECT_EQ(mixed[i], std::clamp(3 * tone[i], -32768, 32767)) << i;
    }
}

TEST_F(SoundEffects, ALoopingSoundPlaysUntilStopAndReplayLoopsAgain) {
    auto sound = Load(Tone());
    const std::size_t length = sound->GetFrameCount();
    ASSERT_EQ(length, 2205u);
    ASSERT_EQ(sound->Play(1), 0);
    const auto mixed = Mix(static_cast<int>(length * 3 + 10));
    EXPECT_EQ(sound->IsPlaying(), 1);
    const auto tone = ToneSamples();
    // The second round starts again at the first sample.
    for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(mixed[length * 2 + i], tone[i]);
    EXPECT_EQ(sound->Stop(), 0);
    EXPECT_EQ(sound->IsPlaying(), 0);
    EXPECT_EQ(Peak(Mix(500)), 0);
    EXPECT_EQ(sound->Replay(), 0);
    Mix(static_cast<int>(length * 2));
    EXPECT_EQ(sound->IsPlaying(), 1);
    EXPECT_EQ(sound->Toggle(), 0);
    EXPECT_EQ(sound->IsPlaying(), 0);
    EXPECT_EQ(sound->Halt(), 0);
}

TEST_F(SoundEffects, AOneShotSoundEndsAndAStoppedVoiceContinuesWhereItStopped) {
    auto sound = Load(Tone());
    sound->Play(0);
    Mix(1000);
    sound->Stop();
    EXPECT_EQ(sound->GetVoicePosition(0), 1000u);
    sound->Replay();
    const auto rest = Mix(1205 + 100);
    const auto tone = ToneSamples();
    EXPECT_EQ(rest[0], tone[2000]);
    EXPECT_EQ(sound->IsPlaying(), 0);
    EXPECT_EQ(Peak(rest, 1205 * 2), 0);
    sound->Play(0);  // a voice that ran out starts from the beginning
    EXPECT_EQ(Mix(1)[0], tone[0]);
}

TEST_F(SoundEffects, VolumeIsHundredthsOfADecibelAndNeverSilence) {
    auto sound = Load(Tone());
    const auto tone = ToneSamples();
    EXPECT_EQ(sound->GetVolume(), 0);
    ASSERT_EQ(sound->SetVolume(0.5f), 0);
    EXPECT_EQ(sound->GetVolume(), -1666);
    sound->Play(0);
    auto mixed = Mix(2205);
    const double gain = std::pow(10.0, -16.66 / 20.0);
    for (std::size_t i = 0; i < mixed.size(); ++i) EXPECT_NEAR(mixed[i], tone[i] * gain, 1.0) << i;

    ASSERT_EQ(sound->SetVolume(0.0f), 0);
    EXPECT_EQ(sound->GetVolume(), -3333);
    sound->Play(0);
    mixed = Mix(2205);
    EXPECT_GT(Peak(mixed), 0);
    EXPECT_NEAR(Peak(mixed), Peak(tone) * std::pow(10.0, -33.33 / 20.0), 1.0);

    ASSERT_EQ(sound->SetVolume(1.0f), 0);
    EXPECT_EQ(sound->GetVolume(), 0);
    sound->Play(0);
    EXPECT_EQ(Mix(2205), tone);
    EXPECT_NE(sound->SetVolume(1.5f), 0);  // above full: refused, volume kept
    EXPECT_EQ(sound->GetVolume(), 0);
}

TEST_F(SoundEffects, EightBitSoundsMixSilenceAtTheirMidpointAndAfterTheirEnd) {
    // 0x80 is the silence of unsigned 8-bit samples.
    auto quiet = Load(MakeWave(1, 8000, 8, Bytes(400, 0x80)));
    quiet->Play(1);
    EXPECT_EQ(Peak(Mix(3000)), 0);
    quiet->Stop();

    auto sound = Load(Fixture("wave_u8_mono.wav"));  // 32 samples at 8000 Hz
    const std::size_t frames = sound->GetFrameCount();
    ASSERT_GT(frames, 80u);
    ASSERT_LT(frames, 100u);
    sound->Play(0);
    const auto mixed = Mix(static_cast<int>(frames) + 500);
    EXPECT_GT(Peak(mixed, 0, frames * 2), 1000);
    EXPECT_EQ(Peak(mixed, frames * 2), 0);
    // Mono data plays on both sides.
    for (std::size_t i = 0; i < frames; ++i) EXPECT_EQ(mixed[2 * i], mixed[2 * i + 1]);
}

// A sound is kept narrower than the device's format where that loses nothing,
// and still mixes to exactly the samples its conversion made.
TEST_F(SoundEffects, KeptNarrowSoundsMixToTheSamplesTheirConversionMade) {
    Bytes ramp;
    for (int i = 0; i < 600; ++i) ramp.push_back(static_cast<std::uint8_t>(i * 37 + i / 3));
    struct Case {
        int channels, rate, bits;
        bool halved;  // kept in half the bytes of the device's format (one side, or 8 bits)
    } cases[] = {{1, 22050, 16, true}, {1, 22050, 8, true}, {2, 22050, 8, true}, {2, 22050, 16, false},
                 {1, 11025, 16, true}};
    const float gain = MSound::GainForVolume(MSound::VolumeForLevel(0.5f));
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.channels) + " ch " + std::to_string(c.rate) + " Hz " + std::to_string(c.bits));
        MWaveFormat format;
        format.formatTag = 1;
        format.channels = static_cast<std::uint16_t>(c.channels);
        format.samplesPerSec = static_cast<std::uint32_t>(c.rate);
        format.bitsPerSample = static_cast<std::uint16_t>(c.bits);
        std::vector<std::int16_t> converted;
        ASSERT_TRUE(MSoundManager::ConvertSamples(format, ramp.data(), 600, 2, 22050, &converted));
        auto sound = Load(MakeWave(c.channels, c.rate, c.bits, ramp));
        EXPECT_EQ(sound->GetSamples(), converted);
        EXPECT_EQ(sound->GetStoredBytes(), converted.size() * sizeof(std::int16_t) / (c.halved ? 2 : 1));
        const int frames = static_cast<int>(converted.size() / 2);
        sound->Play(0);
        EXPECT_EQ(Mix(frames), converted);
        sound->SetVolume(0.5f);
        sound->Play(0);
        const auto quieter = Mix(frames);
        for (std::size_t i = 0; i < converted.size(); ++i)
            ASSERT_EQ(quieter[i], std::lrint(static_cast<float>(converted[i]) * gain)) << i;
    }
}

TEST_F(SoundEffects, SoundsOutliveTheManagerSafely) {
    auto sound = Load(Tone(), 2);
    sound->Play(1);
    MSoundManager::Free();
    EXPECT_EQ(sound->IsPlaying(), 1);
    EXPECT_EQ(sound->Stop(), 0);
    sound.reset();
}

TEST_F(SoundEffects, TheDevicesCallbackPlaysTheMix) {
    auto sound = Load(Tone());
    sound->Play(0);
    manager->Pause(0);
    // 0.1 s of sound on the real (dummy) device's thread.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (sound->IsPlaying() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(sound->IsPlaying(), 0);
    // The game thread keeps changing state while the device mixes.
    sound->Play(1);
    for (int i = 0; i < 200; ++i) {
        sound->SetVolume(static_cast<float>(i % 100) / 100.0f);
        if (i % 7 == 0) sound->Toggle();
    }
    sound->Stop();
}

TEST(SoundDiskDevice, TheDiskDriverRecordsTheSoundInTheFormatAskedFor) {
    MSoundManager::Free();
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) GTEST_SKIP() << "audio already started on another driver";
    TempFolder folder;
    const std::string out = folder / "out.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    MSoundManager* manager = MSoundManager::Get();
    const HRESULT opened = manager->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16);
    if (opened == 0) {
        WriteFileBytes(folder / "t.wav", Fixture("audio_tone_s16_stereo.wav"));
        MFileMMIO file;
        ASSERT_EQ(file.Open(folder.Spec("t.wav"), kModeReadExistingBinary, 1), 0);
        MSound* raw = nullptr;
        ASSERT_EQ(manager->CreateSound(&raw, &file, DSBCAPS_CTRLVOLUME, MAudioGuid{}, 1), 0);
        std::unique_ptr<MSound> sound(raw);
        sound->Play(0);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (sound->IsPlaying() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        MSoundManager::Free();
        sound.reset();
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(opened, 0);
    // The tone appears in the recording exactly, 16-bit stereo.
    const Bytes recorded = ReadFileBytes(out);
    const auto tone = ToneSamples();
    std::vector<std::int16_t> samples;
    for (std::size_t i = 0; i + 1 < recorded.size(); i += 2) {
        samples.push_back(static_cast<std::int16_t>(recorded[i] | recorded[i + 1] << 8));
    }
    auto start = std::search(samples.begin(), samples.end(), tone.begin(), tone.end());
    EXPECT_NE(start, samples.end());
}

}  // namespace

TEST_F(SoundEffects, TheOutputClosesAfterFiveSilentSecondsAndOpensForTheNextSound) {
    auto sound = Load(Tone());
    EXPECT_EQ(manager->SleepWhenSilent(1000), 5000);
    EXPECT_EQ(manager->SleepWhenSilent(3000), 3000);
    sound->Play(0);  // a playing voice keeps the output, and the quiet starts over
    EXPECT_EQ(manager->SleepWhenSilent(7000), 1000);
    sound->Stop();
    EXPECT_EQ(manager->SleepWhenSilent(7000), 5000);
    EXPECT_EQ(manager->SleepWhenSilent(12000), -1);
    EXPECT_EQ(manager->IsAsleep(), 1);
    EXPECT_EQ(manager->IsInitialized(), 1) << "sounds can still be made while it sleeps";
    auto later = Load(Tone());
    later->Play(0);
    EXPECT_EQ(manager->IsAsleep(), 0);
    manager->Pause(0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (later->IsPlaying() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(later->IsPlaying(), 0) << "the reopened device plays the sound to its end";
}
