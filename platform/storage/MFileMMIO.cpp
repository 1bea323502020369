#include "platform/storage/MFileMMIO.h"

#include "platform/core/CException.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kUnit = "win32/MFileMMIO";
constexpr std::size_t kBufferSize = 64 * 1024;

[[noreturn]] void Fail(int line) { throw CFileException(kUnit, line); }

// A name that can be opened for reading: present and not a folder.
bool ExistsAsFile(const char* name) {
    struct stat info {};
    return ::stat(name, &info) == 0 && !S_ISDIR(info.st_mode);
}

std::FILE* OpenForReading(const char* name) {
    if (!ExistsAsFile(name)) {
        return nullptr;
    }
    return std::fopen(name, "rb");
}

// Read and write without truncating, creating the file when asked.
std::FILE* OpenForUpdate(const char* name, bool create) {
    int fd = ::open(name, O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0644);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "r+b");
    if (!file) {
        ::close(fd);
    }
    return file;
}

int NormalOrigin(int origin) {
    return origin == kSeekCurrent ? SEEK_CUR : origin == kSeekEnd ? SEEK_END : SEEK_SET;
}

}  // namespace

MFileMMIO::~MFileMMIO() { CloseQuietly(); }

void MFileMMIO::CloseQuietly() {
    if (handle) {
        std::fclose(handle);
        handle = nullptr;
    }
    path.clear();
    held.reset();
    lastOp = LastOp::None;
}

int MFileMMIO::OpenFile(char* fileName, int mode, int byteOrder) {
    if (handle) {
        Fail(59);
    }
    ApplyByteOrder(byteOrder);
    RewriteSeparators(fileName);
    const char* name = fileName ? fileName : "";

    std::FILE* opened = nullptr;
    switch (mode) {
    case kModeExists:
        // The handle is not kept: only the answer counts.
        return ExistsAsFile(name) ? 0 : kResultNoSuchFile;
    case kModeReadExisting:
    case kModeReadExistingBinary:
        if (!ExistsAsFile(name)) {
            Fail(109);
        }
        opened = OpenForReading(name);
        if (!opened) {
            Fail(117);
        }
        break;
    case kModeReadWriteBinary:
        // Both directions on a file that must exist.
        opened = OpenForUpdate(name, false);
        break;
    case kModeWriteText:
    case kModeWriteBinary:
        opened = std::fopen(name, "wb");
        break;
    case kModeAppendText:
    case kModeAppendBinary:
        // Writes go after what is there; the position stays movable so that
        // chunk sizes can still be patched.
        opened = OpenForUpdate(name, true);
        if (opened && std::fseek(opened, 0, SEEK_END) != 0) {
            std::fclose(opened);
            opened = nullptr;
        }
        break;
    default:
        opened = OpenForReading(name);
        break;
    }
    if (!opened) {
        Fail(109);
    }
    std::setvbuf(opened, nullptr, _IOFBF, kBufferSize);
    handle = opened;
    if (char* absolute = ::realpath(name, nullptr)) {
        path = absolute;
        std::free(absolute);
    } else {
        path = name;
    }
    lastOp = LastOp::None;
    return 0;
}

std::shared_ptr<const MHeldFile> MFileMMIO::HoldOpenFile() {
    if (!handle) return nullptr;
    if (!held) held = MHeldFile::Hold(fileno(handle), path);
    return held;
}

int MFileMMIO::Close() {
    if (!handle) {
        return 0;
    }
    // The stream is gone after fclose whatever it reports, so the handle is
    // cleared before the error is thrown.
    int failed = std::fclose(handle);
    handle = nullptr;
    path.clear();
    held.reset();
    lastOp = LastOp::None;
    if (failed != 0) {
        Fail(127);
    }
    return 0;
}

void MFileMMIO::Turn(LastOp next) {
    if (lastOp != LastOp::None && lastOp != next) {
        std::fseek(handle, 0, SEEK_CUR);
    }
    lastOp = next;
}

long MFileMMIO::SeekRaw(long offset, int origin) {
    if (!handle) {
        return -1;
    }
    lastOp = LastOp::None;
    if (::fseeko(handle, static_cast<off_t>(offset), NormalOrigin(origin)) != 0) {
        return -1;
    }
    return static_cast<long>(::ftello(handle));
}

long MFileMMIO::Seek(long offset, int origin) {
    long position = SeekRaw(offset, origin);
    if (NormalOrigin(origin) == SEEK_SET && (position < 0 || position != offset)) {
        Fail(157);
    }
    return position;
}

int MFileMMIO::SkipWhite() { return 0; }

int MFileMMIO::ReadRaw(void* buf, int size) {
    if (!handle || size < 0 || (size > 0 && !buf)) {
        return -1;
    }
    if (size == 0) {
        return 0;
    }
    Turn(LastOp::Read);
    std::size_t count = std::fread(buf, 1, static_cast<std::size_t>(size), handle);
    if (count < static_cast<std::size_t>(size) && std::ferror(handle)) {
        std::clearerr(handle);
        return -1;
    }
    return static_cast<int>(count);
}

int MFileMMIO::WriteRaw(const void* buf, int size) {
    if (!handle || size < 0 || (size > 0 && !buf)) {
        return -1;
    }
    if (size == 0) {
        return 0;
    }
    Turn(LastOp::Write);
    std::size_t count = std::fwrite(buf, 1, static_cast<std::size_t>(size), handle);
    if (std::ferror(handle)) {
        std::clearerr(handle);
        return -1;
    }
    return static_cast<int>(count);
}

int MFileMMIO::ReadLine(char* buf, int size) {
    if (!buf || size < 1) {
        return 0;
    }
    if (size < 2) {
        buf[0] = '\0';
        return 0;
    }
    int stored = 0;
    int at = 0;
    while (stored < size - 1) {
        char c = 0;
        if (ReadRaw(&c, 1) != 1) {
            break;
        }
        buf[at++] = c;
        if (c == '\n') {
            break;  // kept in the buffer, not counted
        }
        ++stored;
    }
    buf[at] = '\0';
    return stored;
}

int MFileMMIO::Read(void* buf, int size) {
    int count = ReadRaw(buf, size);
    if (count != size) {
        Fail(177);
    }
    return count;
}

void MFileMMIO::ReadBytes(void* buf, int size) {
    if (ReadRaw(buf, size) != size) {
        Fail(189);
    }
}

int MFileMMIO::ReadLong(long* v) {
    unsigned char bytes[4] = {};
    int count = ReadRaw(bytes, 4);
    // A short read would leave the number half made: treated as the error it is.
    if (count != 4) {
        Fail(256);
    }
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        int shift = bigEndian ? 8 * (3 - i) : 8 * i;
        value |= static_cast<std::uint32_t>(bytes[i]) << shift;
    }
    if (v) {
        *v = static_cast<long>(static_cast<std::int32_t>(value));
    }
    return count;
}

int MFileMMIO::WriteNumber(std::uint32_t value, int width, int line) {
    unsigned char bytes[4];
    EncodeNumber(value, width, bytes);
    int count = WriteRaw(bytes, width);
    if (count < 0) {
        Fail(line);
    }
    return count < width ? 1 : 0;
}

int MFileMMIO::WriteLong(long v) { return WriteNumber(static_cast<std::uint32_t>(v), 4, 325); }

int MFileMMIO::WriteByte(char v) { return WriteNumber(static_cast<unsigned char>(v), 1, 336); }

int MFileMMIO::WriteShort(short v) { return WriteNumber(static_cast<std::uint16_t>(v), 2, 350); }

int MFileMMIO::WriteULong(unsigned long v) { return WriteNumber(static_cast<std::uint32_t>(v), 4, 364); }

int MFileMMIO::Write(const void* buf, int size) {
    int count = WriteRaw(buf, size);
    if (count < 0) {
        Fail(287);
    }
    return count < size ? 1 : 0;
}

int MFileMMIO::WriteAll(const void* buf, int size) {
    int count = WriteRaw(buf, size);
    if (count < 0) {
        Fail(299);
    }
    return count < size ? 1 : 0;
}

int MFileMMIO::WriteString(const char* s) {
    int length = s ? static_cast<int>(std::strlen(s)) : 0;
    int count = WriteRaw(s, length);
    if (count < 0) {
        Fail(311);
    }
    return count < length ? 1 : 0;
}

int MFileMMIO::Flush() {
    if (!handle || std::fflush(handle) != 0) {
        Fail(374);
    }
    lastOp = LastOp::None;
    return 0;
}

long MFileMMIO::Tell() {
    // ftello answers from the buffer; a seek would flush pending writes.
    return handle ? static_cast<long>(::ftello(handle)) : -1;
}

int MFileMMIO::AtEnd() {
    long here = Tell();
    long end = SeekRaw(0, kSeekEnd);
    SeekRaw(here, kSeekBegin);
    return here >= end ? 1 : 0;
}

int MFileMMIO::IsOpen() { return handle ? 1 : 0; }
