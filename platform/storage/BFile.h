#pragma once
// The engine's file interface. Every file is either little-endian (the order the
// engine's numbers are kept in) or big-endian; on a big-endian file every number
// read or written through the numeric operations is byte-reversed. Failures throw
// CFileException with the unit and line of the throw site; a few operations
// report a result code instead.

#include "platform/storage/FileLocation.h"
#include "platform/core/ResultCodes.h"

#include <cstdint>
#include <string>

// Open modes. 1..3 are the reading modes of the chunk layer; all others write.
enum BFileMode : int {
    kModeReadText = 1,
    kModeReadExisting = 2,
    kModeReadExistingBinary = 3,
    kModeReadWriteBinary = 4,
    kModeWriteText = 5,
    kModeAppendText = 6,
    kModeWriteBinary = 7,
    kModeAppendBinary = 8,
    kModeExists = 9,
};

// Byte-order argument of the open operations; any other value keeps the flag.
enum BFileByteOrder : int {
    kByteOrderBig = 0,
    kByteOrderLittle = 1,
    kByteOrderLittleToo = 2,
};

// Seek origins; any other value counts as kSeekBegin.
enum BFileOrigin : int { kSeekBegin = 0, kSeekCurrent = 1, kSeekEnd = 2 };

class BFile {
public:
    BFile() = default;
    BFile(const BFile&) = delete;
    BFile& operator=(const BFile&) = delete;

    // Virtual operations in their slot order.
    virtual ~BFile() = default;
    virtual int Open(const FileSpec& spec, int mode, int byteOrder);
    virtual int OpenFile(char* fileName, int mode, int byteOrder) = 0;
    virtual int Close() = 0;
    virtual long Seek(long offset, int origin) = 0;
    virtual int SkipWhite() = 0;
    virtual int ReadLine(char* buf, int size) = 0;
    virtual int ReadValue(void* buf, int size);
    virtual int Read(void* buf, int size) = 0;
    virtual int WriteULong(unsigned long v) = 0;
    virtual int WriteShort(short v) = 0;
    virtual int WriteLong(long v) = 0;
    virtual int WriteByte(char v) = 0;
    virtual int Write(const void* buf, int size) = 0;
    virtual int WriteAll(const void* buf, int size) = 0;
    virtual int WriteString(const char* s) = 0;
    virtual void SwapRecord(void* record, const unsigned char* layout);
    virtual int Flush() = 0;
    virtual long Tell() = 0;
    virtual int AtEnd() = 0;
    virtual int IsOpen() = 0;
    virtual long Size();
    virtual long Remaining();

    int IsBigEndian() const { return bigEndian; }
    int GetOpenMode() const { return openMode; }

    // The full name Open builds: directory, a separator unless it ends in one, name.
    static std::string BuildFullName(const FileSpec& spec);
    // This port's spelling of a name: both '\\' and '/' become '/' (in place).
    static void RewriteSeparators(char* fileName);

protected:
    // 0 = big-endian (flag set), 1 or 2 = little-endian (cleared), else unchanged.
    void ApplyByteOrder(int byteOrder);
    // The 2- or 4-byte image of a number in the file's byte order.
    void EncodeNumber(std::uint32_t value, int width, unsigned char* out) const;

    int bigEndian = 0;  // 1: numbers are byte-reversed on reading and writing
    int openMode = 0;   // set by the chunk layer when it opens
};

// Reverses count bytes in place.
void ReverseBytes(void* data, int count);
