#include "formats/CFileIFF.h"

#include "platform/core/CException.h"

namespace {

constexpr const char* kUnit = "common/CFileIFF";

std::uint32_t LittleEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

std::uint32_t BigEndian32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[3]) | static_cast<std::uint32_t>(bytes[2]) << 8 |
           static_cast<std::uint32_t>(bytes[1]) << 16 | static_cast<std::uint32_t>(bytes[0]) << 24;
}

}  // namespace

CFileIFF::CFileIFF(std::int32_t outerId, std::int32_t formType)
    : outerId(outerId), formType(formType), givenOuterId(outerId), givenFormType(formType) {
    SetByteOrderFromId();
}

CFileIFF::~CFileIFF() = default;  // MFileMMIO closes the handle; nothing is finished

void CFileIFF::SetByteOrderFromId() { bigEndian = outerId == kIdRIFF ? 0 : 1; }

int CFileIFF::OpenChunkFile(const FileSpec& spec, int mode) {
    openMode = mode;
    int result = Open(spec, mode, outerId == kIdRIFF ? kByteOrderLittle : kByteOrderBig);
    if (result != 0 || mode == kModeExists) {
        return result;
    }
    // A file that fails here is closed again, so that the same object can
    // open another file (a retry in another folder, say).
    try {
        if (IsReading()) {
            ChunkHeader outer;
            ReadChunkHeader(&outer);
            outerId = outer.id;
            unsigned char form[4];
            Read(form, 4);
            formType = static_cast<std::int32_t>(LittleEndian32(form));
        } else {
            BeginChunk(outerId, 0);
            unsigned char form[4];
            for (int i = 0; i < 4; ++i) {
                form[i] = static_cast<unsigned char>(static_cast<std::uint32_t>(formType) >> (8 * i));
            }
            Write(form, 4);
        }
    } catch (...) {
        Abandon();
        throw;
    }
    return 0;
}

int CFileIFF::Close() {
    if (!IsOpen()) {
        return 0;
    }
    if (IsReading()) {
        Ascend();
    } else {
        EndChunk();
    }
    chunkStack.clear();
    return MFileMMIO::Close();
}

void CFileIFF::Abandon() {
    chunkStack.clear();
    CloseQuietly();
    // The identifiers read from a rejected file must not decide the byte
    // order of the next one.
    outerId = givenOuterId;
    formType = givenFormType;
    SetByteOrderFromId();
}

void CFileIFF::ReadChunkHeader(ChunkHeader* out) {
    unsigned char bytes[8];
    if (ReadRaw(bytes, 8) != 8) {
        throw CFileException(kUnit, 189);
    }
    ChunkHeader header;
    header.id = static_cast<std::int32_t>(LittleEndian32(bytes));
    header.size = bigEndian ? BigEndian32(bytes + 4) : LittleEndian32(bytes + 4);
    lastChunkSize = static_cast<std::int32_t>(header.size);
    // 64-bit positions: even a size of 0xFFFFFFFF cannot overflow the end.
    long padded = static_cast<long>(header.size) + static_cast<long>(header.size & 1u);
    chunkStack.push_back(Tell() + padded);
    if (out) {
        *out = header;
    }
}

void CFileIFF::Ascend() {
    if (chunkStack.empty()) {
        throw CFileException(kUnit, 211);
    }
    long end = chunkStack.back();
    chunkStack.pop_back();
    long reached = SeekRaw(end, kSeekBegin);
    if (reached < 0 || reached != end) {
        throw CFileException(kUnit, 220);
    }
}

int CFileIFF::BeginChunk(std::int32_t id, long size) {
    chunkStack.push_back(Tell());
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(static_cast<std::uint32_t>(id) >> (8 * i));
    }
    if (WriteRaw(bytes, 4) != 4) {
        throw CFileException(kUnit, 134);
    }
    return WriteLong(size);
}

int CFileIFF::EndChunk() {
    if (chunkStack.empty()) {
        throw CFileException(kUnit, 144);
    }
    long end = Tell();
    long start = chunkStack.back();
    chunkStack.pop_back();
    long size = end - start - 8;
    Seek(start + 4, kSeekBegin);
    if (WriteULong(static_cast<unsigned long>(size)) != 0) {
        throw CFileException(kUnit, 156);
    }
    Seek(end, kSeekBegin);
    if (size & 1) {
        WriteByte(0);
    }
    return 0;
}

long CFileIFF::Remaining() {
    if (chunkStack.empty()) {
        return MFileMMIO::Remaining();  // no chunk entered: the rest of the file
    }
    return chunkStack.back() - Tell();
}

int CFileIFF::WriteChunk(std::int32_t id, const void* data, long size) {
    BeginChunk(id, 0);
    // Written in pieces: a chunk may be larger than one int-sized write.
    const auto* bytes = static_cast<const unsigned char*>(data);
    constexpr long kPiece = 1L << 30;
    for (long done = 0; done < size; done += kPiece) {
        long piece = size - done < kPiece ? size - done : kPiece;
        WriteAll(bytes + done, static_cast<int>(piece));
    }
    return EndChunk();
}

void CFileIFF::PatchLong(long position, long value) {
    long back = Tell();
    Seek(position, kSeekBegin);
    WriteLong(value);
    Seek(back, kSeekBegin);
}

long CFileIFF::AvailableInChunk() {
    long here = Tell();
    long inFile = Size() - here;
    long inChunk = Remaining();
    long available = inChunk < inFile ? inChunk : inFile;
    return available > 0 ? available : 0;
}
