#include "formats/MWaveFile.h"

#include "platform/core/CException.h"
#include "platform/storage/MFileMMIO.h"

#include <algorithm>

namespace {

// Standard four-character codes, first character in the most significant byte.
constexpr std::int32_t Code(char a, char b, char c, char d) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24 |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16 |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8 |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr std::int32_t kRiff = Code('R', 'I', 'F', 'F');
constexpr std::int32_t kWave = Code('W', 'A', 'V', 'E');
constexpr std::int32_t kFmt = Code('f', 'm', 't', ' ');
constexpr std::int32_t kData = Code('d', 'a', 't', 'a');

// Fewer bytes in the file than its chunks announce.
[[noreturn]] void Truncated() { throw CFileException("win32/MFileMMIO", 177); }

std::uint32_t Little32(const std::uint8_t* b) {
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
           static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

std::uint16_t Little16(const std::uint8_t* b) { return static_cast<std::uint16_t>(b[0] | b[1] << 8); }

// Identifiers are compared as the bytes read, taken little-endian, against the
// code: the first character is the first byte on disk.
std::int32_t IdFromDisk(const std::uint8_t* b) {
    return Code(static_cast<char>(b[0]), static_cast<char>(b[1]), static_cast<char>(b[2]), static_cast<char>(b[3]));
}

}  // namespace

MWaveFile::~MWaveFile() { Close(); }

int MWaveFile::Fail() {
    format.reset();
    dataSize = 0;
    dataLeft = 0;
    return kFail;
}

int MWaveFile::Open(MFileMMIO* file, const MWaveFormat* /*format*/, int openMode) {
    Close();
    mode = openMode;
    handle = file;
    if (!handle || !handle->IsOpen() || mode != kModeRead) {
        return Fail();
    }
    // The WAVE may use the bytes to the end of the enclosing chunk, and never
    // more than the file holds.
    const long start = handle->Tell();
    limit = std::min(start + std::max(0L, handle->Remaining()), handle->Size());

    // The RIFF header with its form type.
    if (limit - start < 12) {
        return Fail();
    }
    std::uint8_t head[12];
    handle->Read(head, 12);
    riffChunk.id = IdFromDisk(head);
    riffChunk.size = Little32(head + 4);
    riffChunk.formType = IdFromDisk(head + 8);
    riffChunk.dataOffset = start + 8;
    if (riffChunk.id != kRiff || riffChunk.formType != kWave) {
        return Fail();
    }
    riffEnd = riffChunk.dataOffset + static_cast<long>(riffChunk.size);

    ChunkInfo fmt;
    if (!FindChunk(kFmt, riffEnd, &fmt) || fmt.size < 16) {
        return Fail();
    }
    if (fmt.dataOffset + static_cast<long>(fmt.size) > limit) {
        Truncated();
    }
    std::uint8_t fields[16];
    handle->Read(fields, 16);
    auto wave = std::make_unique<MWaveFormat>();
    wave->formatTag = Little16(fields);
    wave->channels = Little16(fields + 2);
    wave->samplesPerSec = Little32(fields + 4);
    wave->avgBytesPerSec = Little32(fields + 8);
    wave->blockAlign = Little16(fields + 12);
    wave->bitsPerSample = Little16(fields + 14);
    // Other formats carry an extra size and that many bytes, which must lie
    // inside the chunk; a chunk of just 16 bytes has none.
    if (wave->formatTag != kFormatPcm && fmt.size >= 18) {
        std::uint8_t extraSize[2];
        handle->Read(extraSize, 2);
        wave->extraSize = Little16(extraSize);
        if (18u + wave->extraSize > fmt.size) {
            return Fail();
        }
        wave->extra.resize(wave->extraSize);
        if (wave->extraSize > 0) {
            handle->Read(wave->extra.data(), wave->extraSize);
        }
    }
    format = std::move(wave);
    return ResetFile();
}

bool MWaveFile::FindChunk(std::int32_t id, long end, ChunkInfo* out) {
    long position = handle->Tell();
    const long searchEnd = std::min(end, limit);
    while (searchEnd - position >= 8) {
        std::uint8_t header[8];
        handle->Seek(position, 0);
        handle->Read(header, 8);
        ChunkInfo chunk;
        chunk.id = IdFromDisk(header);
        chunk.size = Little32(header + 4);
        chunk.dataOffset = position + 8;
        if (chunk.id == id) {
            *out = chunk;
            return true;
        }
        position = chunk.dataOffset + static_cast<long>(chunk.size) + static_cast<long>(chunk.size & 1u);
    }
    // The search ran out. If the RIFF announced more than the file holds, the
    // missing chunk is in the missing bytes.
    if (end > limit) {
        Truncated();
    }
    return false;
}

int MWaveFile::ResetFile() {
    if (!handle || !format) {
        return kFail;
    }
    handle->Seek(riffChunk.dataOffset + 4, 0);
    if (!FindChunk(kData, riffEnd, &dataChunk)) {
        return Fail();
    }
    if (dataChunk.dataOffset + static_cast<long>(dataChunk.size) > limit) {
        Truncated();
    }
    dataSize = dataChunk.size;
    dataLeft = dataSize;
    handle->Seek(dataChunk.dataOffset, 0);
    return kOk;
}

int MWaveFile::Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t* read) {
    if (read) {
        *read = 0;
    }
    if (!handle || !format || (!buffer && size > 0)) {
        return kFail;
    }
    std::uint32_t count = std::min(size, dataLeft);
    // The handle is shared with the archive's other readers: read from where
    // this sound's data stands, not from wherever the handle was left.
    handle->Seek(dataChunk.dataOffset + static_cast<long>(dataSize - dataLeft), 0);
    for (std::uint32_t done = 0; done < count;) {
        std::uint32_t piece = std::min<std::uint32_t>(count - done, 1u << 30);
        handle->Read(buffer + done, static_cast<int>(piece));
        done += piece;
    }
    dataLeft -= count;
    if (read) {
        *read = count;
    }
    return kOk;
}

int MWaveFile::Close() {
    // The handle belongs to whoever opened it; only the format is ours.
    format.reset();
    handle = nullptr;
    dataSize = 0;
    dataLeft = 0;
    return kOk;
}
