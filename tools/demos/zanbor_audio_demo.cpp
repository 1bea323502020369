// Plays a sound over a tune on the default audio device for a few seconds, then
// exits: a quick listen to the mixer and the synthesizer. Both come from the
// packed archive beside the program (the dice's first sound over the first
// piece of music); without an archive, the test tone and tune are used.
// Usage: zanbor_audio_demo [seconds]   (exit code 0 when audio played)

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "platform/storage/MFileMMIO.h"
#include "platform/app/MPaths.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

namespace {

std::string DataPath(const char* name) {
    std::string here = __FILE__;
    return here.substr(0, here.rfind("/tools/demos/")) + "/tests/data/" + name;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 4.0;
    MSoundManager* sound = MSoundManager::Get();
    if (sound->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16) != 0) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    MMusicManager* music = MMusicManager::Get();
    if (music->Initialize(nullptr, sound, 64, DMUS_APATH_DYNAMIC_STEREO) != 0) {
        std::fprintf(stderr, "no SoundFont: effects only\n");
    }

    MSound* raw = nullptr;
    MMusicSegment* segment = nullptr;
    CFileMM archive;
    try {
        std::string packed = GetProgramFolder() + "/zanborassets.mm";
        if (archive.OpenArchive(MakeFileSpec(packed.c_str()), kModeReadExisting) == 0) {
            ChunkHeader header;
            archive.SeekEntry(9);  // the dice's run starts with their sounds
            archive.ReadChunkHeader(&header);
            sound->CreateSound(&raw, &archive, DSBCAPS_CTRLVOLUME, MAudioGuid{}, 2);
            archive.SeekEntry(8);  // the first piece of music
            archive.ReadChunkHeader(&header);
            music->LoadFromArchive(&segment, archive, 1, 1);
            std::printf("playing from %s\n", packed.c_str());
        }
    } catch (const CFileException& e) {
        std::fprintf(stderr, "archive: %s\n", e.Report().c_str());
    }
    MFileMMIO wave;
    if (!raw && (wave.Open(MakeFileSpec(DataPath("audio_tone_s16_stereo.wav").c_str()), kModeReadExistingBinary, 1) != 0 ||
                 sound->CreateSound(&raw, &wave, DSBCAPS_CTRLVOLUME, MAudioGuid{}, 2) != 0)) {
        std::fprintf(stderr, "no sound could be loaded\n");
        return 1;
    }
    std::unique_ptr<MSound> tone(raw);

    std::unique_ptr<MMusicSegment> tune(segment);
    MFileMMIO midi;
    if (!tune && midi.Open(MakeFileSpec(DataPath("audio_tune.mid").c_str()), kModeReadExistingBinary, 1) == 0) {
        music->LoadFromArchive(&segment, midi, 1, 1);
        tune.reset(segment);
    }
    if (tune) {
        tune->SetVolume(0.8f);
        tune->SetRepeats(DMUS_SEG_REPEAT_INFINITE);
        tune->Play(DMUS_SEGF_BEAT, nullptr);
    }

    tone->SetVolume(0.7f);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        tone->Play(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    if (tune) {
        tune->Stop(0);
    }
    tone.reset();
    tune.reset();
    MMusicManager::Free();
    MSoundManager::Free();
    return 0;
}
