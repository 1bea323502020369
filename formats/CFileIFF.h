#pragma once
// Files made of nested chunks in the manner of IFF and RIFF: an 8-byte header
// (identifier, size) before each chunk's data and a pad byte after odd-sized
// data. The whole file is one outer chunk whose data begins with a form type.
// A reader enters chunks and ascends to their ends; a writer opens chunks and
// has their sizes patched when it closes them.
//
// Writing an archive, for example:
//     CFileIFF file(ChunkId("RIFF"), ChunkId("MMFL"));
//     file.OpenChunkFile(MakeFileSpec("out.mm"), kModeWriteBinary);
//     file.BeginChunk(ChunkId("anim"), 0);
//     file.WriteLong(2);
//     file.WriteChunk(ChunkId("rgba"), tga.data(), tga.size());
//     ...
//     file.EndChunk();
//     file.Close();  // patches the outer size; the destructor does not

#include "platform/storage/MFileMMIO.h"

#include <cstdint>
#include <vector>

// A four-character identifier: the first character in the most significant
// byte, so "RIFF" is 0x52494646. On disk it is that integer little-endian.
constexpr std::int32_t ChunkId(const char (&text)[5]) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])));
}

constexpr std::int32_t kIdRIFF = ChunkId("RIFF");

struct ChunkHeader {
    std::int32_t id = 0;    // as a four-character identifier
    std::uint32_t size = 0; // data bytes after the header, pad byte excluded
};

class CFileIFF : public MFileMMIO {
public:
    CFileIFF(std::int32_t outerId, std::int32_t formType);
    ~CFileIFF() override;

    int OpenChunkFile(const FileSpec& spec, int mode);
    int Close() override;
    void ReadChunkHeader(ChunkHeader* out);
    void Ascend();
    int BeginChunk(std::int32_t id, long size);
    int EndChunk();
    long Remaining() override;
    virtual void SetByteOrderFromId();

    // Writer conveniences built on the operations above.
    // A whole chunk: header, data, size patch, pad byte.
    int WriteChunk(std::int32_t id, const void* data, long size);
    // Writes a 4-byte number at an earlier position (a table filled in once the
    // positions it lists are known) and comes back to where it was.
    void PatchLong(long position, long value);
    // The bytes of the innermost entered chunk from here on that the file
    // really holds: what a loader may size a buffer by (0 when none).
    long AvailableInChunk();

    std::int32_t GetOuterId() const { return outerId; }
    std::int32_t GetFormType() const { return formType; }
    std::int32_t GetLastChunkSize() const { return lastChunkSize; }
    std::size_t GetDepth() const { return chunkStack.size(); }
    bool IsReading() const { return openMode >= 1 && openMode <= 3; }

protected:
    // Leaves the file closed whatever state its chunks are in, with the
    // identifiers it was constructed with; never throws.
    void Abandon();

    std::int32_t outerId;
    std::int32_t formType;
    std::int32_t lastChunkSize = 0;
    // The identifiers the object was made with, restored when a file is abandoned.
    std::int32_t givenOuterId;
    std::int32_t givenFormType;
    // Reading: the end of each entered chunk (after its pad byte).
    // Writing: the header position of each open chunk.
    std::vector<long> chunkStack;
};
