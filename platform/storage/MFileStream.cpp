#include "platform/storage/MFileStream.h"

#include "platform/core/CException.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

namespace {

constexpr const char* kUnit = "win32/MFileStream";

// The stream's flags per open mode. There is no text/binary distinction here.
std::ios_base::openmode StreamFlags(int mode) {
    using std::ios_base;
    switch (mode) {
    case kModeReadWriteBinary: return ios_base::in | ios_base::out | ios_base::binary;
    case kModeWriteText: return ios_base::out | ios_base::trunc;
    case kModeAppendText: return ios_base::out | ios_base::app;
    case kModeWriteBinary: return ios_base::out | ios_base::trunc | ios_base::binary;
    case kModeAppendBinary: return ios_base::out | ios_base::app | ios_base::binary;
    case kModeReadExistingBinary: return ios_base::in | ios_base::binary;
    default: return ios_base::in;  // 1, 2, 9 and any other mode; reading never creates
    }
}

bool Creates(int mode) {
    return mode == kModeWriteText || mode == kModeWriteBinary || mode == kModeAppendText ||
           mode == kModeAppendBinary;
}

}  // namespace

MFileStream::~MFileStream() = default;  // the stream closes itself

int MFileStream::OpenFile(char* fileName, int mode, int byteOrder) {
    ApplyByteOrder(byteOrder);
    RewriteSeparators(fileName);
    const char* name = fileName ? fileName : "";
    if (Creates(mode)) {
        // A new file gets the protection 0644 (less the umask).
        int fd = ::open(name, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
        }
    }
    stream.clear();
    stream.open(name, StreamFlags(mode));
    if (stream.is_open()) {
        return 0;
    }
    stream.clear();
    if (mode == kModeReadExisting || mode == kModeReadExistingBinary) {
        return kResultNoFileToRead;
    }
    throw CFileException(kUnit, 90);
}

int MFileStream::Close() {
    if (stream.is_open()) {
        stream.close();
    }
    stream.clear();
    return 0;
}

long MFileStream::Seek(long offset, int origin) {
    std::ios_base::seekdir dir = origin == kSeekCurrent ? std::ios_base::cur
                                 : origin == kSeekEnd   ? std::ios_base::end
                                                        : std::ios_base::beg;
    // As a stream seek does, a seek forgets that the end was reached.
    stream.clear(stream.rdstate() & ~std::ios_base::eofbit);
    auto position = stream.rdbuf()->pubseekoff(offset, dir, std::ios_base::in | std::ios_base::out);
    return static_cast<long>(static_cast<std::streamoff>(position));
}

int MFileStream::SkipWhite() {
    stream >> std::ws;
    return 0;
}

int MFileStream::ReadLine(char* buf, int size) {
    if (!buf || size < 1) {
        return 0;
    }
    stream.getline(buf, size, '\n');
    return static_cast<int>(stream.gcount());
}

int MFileStream::Read(void* buf, int size) {
    if (!buf || size <= 0) {
        return 0;
    }
    stream.read(static_cast<char*>(buf), size);
    return static_cast<int>(stream.gcount());
}

int MFileStream::WriteNumber(std::uint32_t value, int width) {
    unsigned char bytes[4];
    EncodeNumber(value, width, bytes);
    stream.write(reinterpret_cast<const char*>(bytes), width);
    return BadBit();
}

int MFileStream::WriteULong(unsigned long v) { return WriteNumber(static_cast<std::uint32_t>(v), 4); }

int MFileStream::WriteShort(short v) { return WriteNumber(static_cast<std::uint16_t>(v), 2); }

int MFileStream::WriteLong(long v) { return WriteNumber(static_cast<std::uint32_t>(v), 4); }

int MFileStream::WriteByte(char v) {
    stream.put(v);
    if (stream.bad()) {
        throw CFileException(kUnit, 220);
    }
    return 0;
}

int MFileStream::Write(const void* buf, int size) {
    if (buf && size > 0) {
        stream.write(static_cast<const char*>(buf), size);
    }
    return BadBit();
}

int MFileStream::WriteAll(const void* buf, int size) {
    if (buf && size > 0) {
        stream.write(static_cast<const char*>(buf), size);
    }
    if (stream.bad()) {
        throw CFileException(kUnit, 191);
    }
    return 0;
}

int MFileStream::WriteString(const char* s) {
    if (s) {
        stream.write(s, static_cast<std::streamsize>(std::strlen(s)));
    }
    return BadBit();
}

int MFileStream::Flush() {
    stream.flush();
    return 0;
}

long MFileStream::Tell() {
    auto position = stream.rdbuf()->pubseekoff(0, std::ios_base::cur, std::ios_base::in | std::ios_base::out);
    return static_cast<long>(static_cast<std::streamoff>(position));
}

int MFileStream::AtEnd() { return stream.eof() ? 1 : 0; }

int MFileStream::IsOpen() { return stream.is_open() ? 1 : 0; }
