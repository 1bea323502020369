#pragma once
// Reads a RIFF WAVE file that starts at a file's current position (a "wave"
// chunk of the asset archive, or a WAVE file of its own): its format and its
// "data" chunk. The file is borrowed, never closed. Structural faults (not a
// WAVE, no or short "fmt ", no "data") make Open fail; a file that ends before
// the bytes its chunks announce throws CFileException ("win32/MFileMMIO", 177).

#include <cstdint>
#include <memory>
#include <vector>

class MFileMMIO;

// The sound format: the 16 bytes of a "fmt " chunk, and for formats other than
// PCM the extra bytes that follow them.
struct MWaveFormat {
    std::uint16_t formatTag = 0;  // 1 = PCM
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;  // 0 for PCM
    std::vector<std::uint8_t> extra;
};

class MWaveFile {
public:
    static constexpr int kOk = 0;
    static constexpr int kFail = static_cast<int>(0x80004005u);  // the platform's generic failure
    static constexpr int kModeRead = 1;
    static constexpr std::uint16_t kFormatPcm = 1;

    // Where a chunk lies: identifier, size, form type (RIFF only), data offset.
    struct ChunkInfo {
        std::int32_t id = 0;
        std::uint32_t size = 0;
        std::int32_t formType = 0;
        long dataOffset = 0;
    };

    MWaveFile() = default;
    MWaveFile(const MWaveFile&) = delete;
    MWaveFile& operator=(const MWaveFile&) = delete;
    ~MWaveFile();

    // Reading mode only; other modes (writing a WAVE) are not supported and fail.
    // The format argument is the one a writer would write; reading ignores it.
    int Open(MFileMMIO* handle, const MWaveFormat* format, int mode);
    // Goes back to the start of the sample data.
    int ResetFile();
    // Copies up to size bytes of sample data; *read gets the count.
    int Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t* read);
    int Close();

    const MWaveFormat* GetFormat() const { return format.get(); }
    std::uint32_t GetSize() const { return dataSize; }

private:
    // Finds the chunk id among the chunks from the current position up to end.
    bool FindChunk(std::int32_t id, long end, ChunkInfo* out);
    int Fail();

    MFileMMIO* handle = nullptr;
    std::unique_ptr<MWaveFormat> format;
    ChunkInfo riffChunk;
    ChunkInfo dataChunk;
    std::uint32_t dataSize = 0;
    std::uint32_t dataLeft = 0;
    int mode = 0;
    long limit = 0;      // the end of the bytes this WAVE may use
    long riffEnd = 0;    // the end the RIFF header announces
};
