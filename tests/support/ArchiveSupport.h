#pragma once
// The game's packed archive read with the engine's own readers: every entry's
// run as pictures (frames of one picture, or of an array or font), sounds and
// tunes, for tests that judge the art and the sound as the game gets them.

#include "formats/CFileMM.h"
#include "formats/MImage.h"
#include "formats/MWaveFile.h"

#include <map>
#include <string>
#include <vector>

namespace archive_support {

struct Item {
    std::int32_t id = 0;             // kIdRgba, kIdAnim, kIdWave, kIdMidi
    std::vector<MImage> frames;      // one for a picture, all for an array or font
    std::vector<std::int16_t> samples;
    int channels = 1;
    int rate = 0;
    std::vector<std::uint8_t> bytes;  // a tune's Standard MIDI File
};

// Entry index -> its run (items read until the next entry's run starts, or the end).
inline std::map<int, std::vector<Item>> ReadGameArchive() {
    std::map<int, std::vector<Item>> runs;
    CFileMM archive;
    std::string path = ZANBOR_BIN_DIR;
    path += "/zanborassets.mm";
    if (archive.OpenArchive(MakeFileSpec(path.c_str()), kModeReadExisting) != 0) return runs;
    std::vector<long> starts;
    for (int i = 0; i < archive.GetEntryCount(); ++i) starts.push_back(archive.GetEntry(i));
    for (int index = 0; index < archive.GetEntryCount(); ++index) {
        long start = archive.GetEntry(index);
        bool shared = false;
        for (int other = 0; other < index; ++other) shared = shared || archive.GetEntry(other) == start;
        if (shared) continue;
        // The last run ends where the pictures of higher densities begin.
        const long area = archive.DensityAreaStart();
        long end = area > 0 ? area : 0x7fffffff;
        for (long s : starts)
            if (s > start && s < end) end = s;
        archive.SeekEntry(index);
        std::vector<Item>& run = runs[index];
        while (archive.Tell() < end) {
            ChunkHeader header;
            try {
                archive.ReadChunkHeader(&header);
            } catch (...) {
                break;
            }
            Item item;
            item.id = header.id;
            if (header.id == kIdRgba) {
                item.frames.emplace_back();
                item.frames.back().Load(archive);
            } else if (header.id == kIdAnim) {
                long count = 0;
                archive.ReadLong(&count);
                for (long f = 0; f < count; ++f) {
                    ChunkHeader inner;
                    archive.ReadChunkHeader(&inner);
                    item.frames.emplace_back();
                    item.frames.back().Load(archive);
                    archive.Ascend();
                }
            } else if (header.id == kIdMidi) {
                item.bytes.resize(header.size);
                archive.ReadBytes(item.bytes.data(), static_cast<int>(header.size));
            } else if (header.id == kIdWave) {
                MWaveFile wave;
                if (wave.Open(&archive, nullptr, MWaveFile::kModeRead) == MWaveFile::kOk) {
                    item.channels = wave.GetFormat()->channels;
                    item.rate = static_cast<int>(wave.GetFormat()->samplesPerSec);
                    item.samples.resize(wave.GetSize() / 2);
                    std::uint32_t read = 0;
                    wave.Read(reinterpret_cast<std::uint8_t*>(item.samples.data()), wave.GetSize(), &read);
                    wave.Close();
                }
            }
            archive.Ascend();
            run.push_back(std::move(item));
        }
    }
    return runs;
}

}  // namespace archive_support
