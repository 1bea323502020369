#pragma once
// The fuzz entry for the game's real loaders: every entry point of an archive
// is offered to the sprite-array loader, the bitmap-font loader, the sound
// loader (WAVE reading and conversion to the output format) and the music
// loader (MIDI parsing, a segment that plays for a moment), the way the screen
// calls them. CFileException is the one accepted way to fail; a crash, a
// sanitizer report, another exception or a huge allocation is a finding.
// Shared by the libFuzzer target and the test that replays its seeds.

#include "formats/CFileMM.h"
#include "common/actors/CFont.h"
#include "common/actors/CSpriteA.h"
#include "platform/core/CException.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"
#include "tests/fuzz/FuzzEntries.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace fuzz {

// Sound and music as the game starts them, on SDL's dummy driver with the
// device paused: the entry mixes by hand, so runs do not depend on timing.
inline bool AudioReady() {
    MSoundManager* sound = MSoundManager::Peek();
    if (sound && sound->IsInitialized()) return true;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    sound = MSoundManager::Get();
    if (sound->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16) != 0) return false;
    sound->Pause(1);
    // Without a SoundFont the music loader reads nothing; the rest still runs.
    MMusicManager::Get()->Initialize(nullptr, sound, 64, DMUS_APATH_DYNAMIC_STEREO);
    return true;
}

inline void LoadSoundAt(CFileMM& archive) {
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id != kIdWave) throw CFileException("common/CScreen", 460);
    MSound* raw = nullptr;
    if (MSoundManager::Get()->CreateSound(&raw, &archive, DSBCAPS_CTRLVOLUME, MAudioGuid{}, 1) == 0) {
        std::unique_ptr<MSound> sound(raw);
        sound->Play(0);
        std::int16_t mixed[2 * 512];
        MSoundManager::Get()->Mix(mixed, 512);
    }
    archive.Ascend();
}

inline void LoadMusicAt(CFileMM& archive) {
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id != kIdMidi) throw CFileException("common/CScreen", 515);
    MMusicSegment* raw = nullptr;
    if (MMusicManager::Get()->LoadFromArchive(&raw, archive, 1, 1) == 0 && raw) {
        std::unique_ptr<MMusicSegment> music(raw);
        music->Play(DMUS_SEGF_SECONDARY, nullptr);
        std::int16_t mixed[2 * 2048];
        MSoundManager::Get()->Mix(mixed, 2048);
        music->Stop(0);
    }
    archive.Ascend();
}

inline int Loaders(const std::uint8_t* data, std::size_t size) {
    if (!AudioReady() || !WriteScratch(data, size)) return 0;
    CFileMM archive;
    try {
        if (archive.OpenArchive(MakeFileSpec(ScratchFile().c_str()), kModeReadExisting) != 0) return 0;
    } catch (const CFileException&) {
        return 0;
    }
    for (int entry = 0; entry < archive.GetEntryCount() && entry < 16; ++entry) {
        for (int loader = 0; loader < 4; ++loader) {
            try {
                archive.SeekEntry(entry);
                switch (loader) {
                case 0: delete LoadSpriteArray(archive, 1); break;
                case 1: delete LoadFont('0', archive, 1, 0); break;
                case 2: LoadSoundAt(archive); break;
                default: LoadMusicAt(archive); break;
                }
            } catch (const CFileException&) {
                // The wrong kind, or damaged data: the next loader is tried all the same.
            }
        }
    }
    return 0;
}

}  // namespace fuzz
