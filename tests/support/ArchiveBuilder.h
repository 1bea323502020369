#pragma once
// Writes a small asset archive for a test: the map of entry points first, then
// chunks; Entry(i) makes the next chunk the start of entry i's run.

#include <cstdint>
#include <string>
#include <vector>

#include "formats/CFileMM.h"
#include "formats/MImage.h"

class ArchiveBuilder {
public:
    ArchiveBuilder(const std::string& path, int entries) : path(path) {
        file.OpenChunkFile(MakeFileSpec(path.c_str()), kModeWriteBinary);
        file.BeginChunk(kIdMap, 0);
        file.WriteLong(entries);
        table = file.Tell();
        for (int i = 0; i < entries; ++i) file.WriteLong(0);
        file.EndChunk();
    }

    void Entry(int index) { file.PatchLong(table + 4L * index, file.Tell()); }
    void Chunk(std::int32_t id, const void* data, long size) { file.WriteChunk(id, data, size); }
    void Chunk(std::int32_t id, const std::vector<std::uint8_t>& data) {
        file.WriteChunk(id, data.data(), static_cast<long>(data.size()));
    }
    void Picture(const MImage& image) { Chunk(kIdRgba, EncodeTga(image, 10, 32, false)); }
    // An "anim" chunk of pictures; count may claim another number than there are.
    void Anim(const std::vector<MImage>& frames, long count = -1) {
        file.BeginChunk(kIdAnim, 0);
        file.WriteLong(count >= 0 ? count : static_cast<long>(frames.size()));
        for (const MImage& frame : frames) Picture(frame);
        file.EndChunk();
    }
    // Closes the file (patching the outer size); returns its path.
    const std::string& Finish() {
        file.Close();
        return path;
    }

    CFileIFF file{kIdRIFF, kIdMMFL};

private:
    std::string path;
    long table = 0;
};
