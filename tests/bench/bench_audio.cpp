// The audio mix: eight effect voices looping over a MIDI tune, rendered for
// ten seconds of 16-bit stereo at 22050 Hz through the mixer, as the device's
// callback would. The "cpu_per_audio_second" counter is the CPU time spent per
// second of audio, as a share of one core (the goal is under 5 %).
// The counter is shown as a time: CPU time per second of audio, so 3 ms
// means 0.3 % of one core.

#include <benchmark/benchmark.h>

#include "platform/storage/MFileMMIO.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kSeconds = 10;
constexpr int kCallbackFrames = 512;

// The fixtures beside this file's folder: <source>/tests/bench/ -> <source>/tests/data/.
std::string DataPath(const char* name) {
    std::string here = __FILE__;
    return here.substr(0, here.rfind("/bench/")) + "/data/" + name;
}

void BM_MixEffectsAndMusic(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    MSoundManager* sound = MSoundManager::Get();
    if (sound->Initialize(nullptr, DSSCL_PRIORITY, 2, kRate, 16) != 0) {
        state.SkipWithError("no audio driver");
        return;
    }
    sound->Pause(1);
    MMusicManager* music = MMusicManager::Get();
    const bool withMusic = state.range(0) != 0;
    if (withMusic && music->Initialize(nullptr, sound, 64, DMUS_APATH_DYNAMIC_STEREO) != 0) {
        state.SkipWithError("no SoundFont");
        return;
    }

    MFileMMIO file;
    FileSpec spec = MakeFileSpec(DataPath("audio_tone_s16_stereo.wav").c_str());
    file.Open(spec, kModeReadExistingBinary, 1);
    MSound* raw = nullptr;
    sound->CreateSound(&raw, &file, DSBCAPS_CTRLVOLUME, MAudioGuid{}, 8);
    std::unique_ptr<MSound> effect(raw);
    effect->SetVolume(0.8f);
    for (int i = 0; i < 8; ++i) effect->Play(1);

    std::unique_ptr<MMusicSegment> tune;
    if (withMusic) {
        MFileMMIO midi;
        FileSpec midiSpec = MakeFileSpec(DataPath("audio_tune.mid").c_str());
        midi.Open(midiSpec, kModeReadExistingBinary, 1);
        MMusicSegment* segment = nullptr;
        music->LoadFromArchive(&segment, midi, 1, 1);
        tune.reset(segment);
        tune->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
        tune->Play(DMUS_SEGF_SECONDARY, nullptr);
    }

    std::vector<std::int16_t> buffer(kCallbackFrames * 2);
    for (auto _ : state) {
        for (int done = 0; done < kRate * kSeconds; done += kCallbackFrames) {
            sound->Mix(buffer.data(), kCallbackFrames);
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    // Seconds of CPU per second of audio.
    state.counters["cpu_per_audio_second"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * kSeconds,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    tune.reset();
    effect.reset();
    MMusicManager::Free();
    MSoundManager::Free();
}
BENCHMARK(BM_MixEffectsAndMusic)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// The output closes after a silence and the next sound opens it again on the
// game's thread: the time that wake takes (SDL_AUDIODRIVER picks the
// driver measured; dummy by default).
void BM_OutputWake(benchmark::State& state) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    MSoundManager* sound = MSoundManager::Get();
    if (sound->Initialize(nullptr, DSSCL_PRIORITY, 2, kRate, 16) != 0) {
        state.SkipWithError("no audio driver");
        return;
    }
    std::uint32_t now = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sound->SleepWhenSilent(now);
        sound->SleepWhenSilent(now += MSoundManager::kSilenceBeforeSleep);
        state.ResumeTiming();
        sound->Wake();
        now += 1;
    }
    MSoundManager::Free();
}
BENCHMARK(BM_OutputWake)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
