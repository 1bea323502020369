#pragma once
// The fuzz entry functions, shared by the libFuzzer targets and by the test
// that replays the seed corpus. Each writes the input to a scratch file, reads
// it the way the game does, and accepts CFileException (and the image result
// 28) as the only ways to fail. Anything else - a crash, a sanitizer report,
// another exception - is a finding.

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "formats/MImage.h"
#include "formats/MWaveFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fuzz {

// One scratch file per process, in a folder of its own that goes at exit.
struct ScratchFolder {
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zanbor-fuzz-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data())) folder = buffer.data();
        file = (folder.empty() ? std::string(".") : folder) + "/input.bin";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
    std::string folder;
    std::string file;
};

inline const std::string& ScratchFile() {
    static const ScratchFolder scratch;
    return scratch.file;
}

inline bool WriteScratch(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    if (!file) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

// Reads all samples in small pieces, then once more after a reset.
inline void DrainWave(MFileMMIO& file) {
    MWaveFile wave;
    if (wave.Open(&file, nullptr, MWaveFile::kModeRead) != MWaveFile::kOk) return;
    std::uint8_t buffer[512];
    for (int pass = 0; pass < 2; ++pass) {
        std::uint32_t got = 0;
        do {
            wave.Read(buffer, sizeof buffer, &got);
        } while (got > 0);
        wave.ResetFile();
    }
}

// One chunk of a run, as its loader would read it.
inline void LoadChunk(CFileMM& archive, int depth) {
    ChunkHeader header;
    archive.ReadChunkHeader(&header);
    if (header.id == kIdRgba) {
        MImage image;
        image.Load(archive);
    } else if (header.id == kIdAnim && depth == 0) {
        long frames = 0;
        archive.ReadLong(&frames);
        for (long i = 0; i < frames && i < 16; ++i) LoadChunk(archive, depth + 1);
    } else if (header.id == kIdWave) {
        DrainWave(archive);
    } else if (header.id == kIdMidi) {
        std::vector<std::uint8_t> music(static_cast<std::size_t>(archive.AvailableInChunk()));
        if (!music.empty()) archive.ReadBytes(music.data(), static_cast<int>(music.size()));
    }
    archive.Ascend();
}

inline int ArchiveAndImage(const std::uint8_t* data, std::size_t size) {
    if (!WriteScratch(data, size)) return 0;
    CFileMM archive;
    try {
        if (archive.OpenArchive(MakeFileSpec(ScratchFile().c_str()), kModeReadExisting) != 0) return 0;
        for (int entry = 0; entry < archive.GetEntryCount() && entry < 16; ++entry) {
            try {
                archive.SeekEntry(entry);
                for (int chunk = 0; chunk < 8; ++chunk) LoadChunk(archive, 0);
            } catch (const CFileException&) {
                // A damaged run: the next entry is tried all the same.
            }
        }
        archive.Close();
    } catch (const CFileException&) {
    }
    return 0;
}

inline int WaveReader(const std::uint8_t* data, std::size_t size) {
    if (!WriteScratch(data, size)) return 0;
    MFileMMIO file;
    try {
        std::vector<char> name(ScratchFile().begin(), ScratchFile().end());
        name.push_back('\0');
        if (file.OpenFile(name.data(), kModeReadExistingBinary, kByteOrderLittle) != 0) return 0;
        DrainWave(file);
    } catch (const CFileException&) {
    }
    return 0;
}

}  // namespace fuzz
