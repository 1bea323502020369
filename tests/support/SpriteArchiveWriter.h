#pragma once
// Writes small chunk files of pictures for the sprite tests: a run of chunks,
// each a picture ("rgba"), an animation of pictures ("anim") or any other kind.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "formats/CFileIFF.h"
#include "formats/CFileMM.h"
#include "formats/MImage.h"
#include "tests/support/PictureMaker.h"

namespace spritetest {

inline MImage Picture(int w, int h, std::int16_t ox, std::int16_t oy,
                      const std::function<std::uint32_t(int, int)>& colour) {
    return MakeImage(w, h, colour, ox, oy);
}

class ArchiveWriter {
public:
    ArchiveWriter() {
        char name[] = "/tmp/zanbor-sprites-XXXXXX";
        int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        path = name;
        file.OpenChunkFile(MakeFileSpec(path.c_str()), kModeWriteBinary);
    }
    ~ArchiveWriter() { std::remove(path.c_str()); }

    void Rgba(const MImage& image) {
        std::vector<std::uint8_t> tga = EncodeTga(image, 10, 32, false);
        file.WriteChunk(kIdRgba, tga.data(), static_cast<long>(tga.size()));
    }
    void Anim(const std::vector<MImage>& frames) { AnimWithCount(frames, static_cast<long>(frames.size())); }
    void AnimWithCount(const std::vector<MImage>& frames, long count) {
        file.BeginChunk(kIdAnim, 0);
        file.WriteLong(count);
        for (const MImage& frame : frames) Rgba(frame);
        file.EndChunk();
    }
    void Other(std::int32_t id) {
        const char data[4] = {1, 2, 3, 4};
        file.WriteChunk(id, data, 4);
    }
    // Finishes the file and opens it for reading at its first chunk.
    void OpenForReading(CFileMM& archive) {
        file.Close();
        archive.OpenChunkFile(MakeFileSpec(path.c_str()), kModeReadExistingBinary);
    }

private:
    std::string path;
    CFileIFF file{kIdRIFF, kIdMMFL};
};

}  // namespace spritetest
