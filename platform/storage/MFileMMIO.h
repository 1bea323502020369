#pragma once
// Binary file I/O in the manner of the multimedia file functions: a buffered
// handle that reads, writes and seeks, and throws CFileException (unit
// "win32/MFileMMIO") where those functions reported an error. The chunk files and
// the asset archive derive from it; the WAVE reader borrows it.

#include "platform/storage/BFile.h"

#include <cstdio>
#include <memory>
#include <string>

#include "platform/storage/MHeldFile.h"

class MFileMMIO : public BFile {
public:
    MFileMMIO() = default;
    ~MFileMMIO() override;

    int OpenFile(char* fileName, int mode, int byteOrder) override;
    int Close() override;
    long Seek(long offset, int origin) override;
    int SkipWhite() override;
    int ReadLine(char* buf, int size) override;
    int Read(void* buf, int size) override;
    int WriteULong(unsigned long v) override;
    int WriteShort(short v) override;
    int WriteLong(long v) override;
    int WriteByte(char v) override;
    int Write(const void* buf, int size) override;
    int WriteAll(const void* buf, int size) override;
    int WriteString(const char* s) override;
    int Flush() override;
    long Tell() override;
    int AtEnd() override;
    int IsOpen() override;

    // Reads size bytes; throws (line 189) if fewer came.
    void ReadBytes(void* buf, int size);
    // Reads a 4-byte number in the file's byte order into *v (sign-extended);
    // throws (line 256) on an error or a short read. Returns the count read.
    int ReadLong(long* v);
    // The file as it was opened (made absolute where it can be), so that what
    // was read from it can be read again later; empty when none is open.
    const std::string& GetPath() const { return path; }
    // The open file, held for reading again later even once this handle is
    // closed or the name now names another file; null when none is open.
    std::shared_ptr<const MHeldFile> HoldOpenFile();

protected:
    // The plain operations underneath, which report instead of throwing:
    // the count moved, or -1 on an error.
    int ReadRaw(void* buf, int size);
    int WriteRaw(const void* buf, int size);
    long SeekRaw(long offset, int origin);
    // Closes the handle without finishing anything; never throws.
    void CloseQuietly();

private:
    enum class LastOp { None, Read, Write };
    // A stream that both reads and writes needs a seek between the two.
    void Turn(LastOp next);
    int WriteNumber(std::uint32_t value, int width, int line);

    std::FILE* handle = nullptr;  // null when closed
    std::string path;
    std::shared_ptr<const MHeldFile> held;  // made on first request, shared by the readers
    LastOp lastOp = LastOp::None;
};
