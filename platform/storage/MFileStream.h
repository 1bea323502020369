#pragma once
// Text and binary files on a buffered standard file stream. Unlike MFileMMIO it
// reports most failures through results and the stream's state bits; it throws
// CFileException (unit "win32/MFileStream") where noted.

#include "platform/storage/BFile.h"

#include <fstream>

class MFileStream : public BFile {
public:
    MFileStream() = default;
    ~MFileStream() override;

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

private:
    int WriteNumber(std::uint32_t value, int width);
    int BadBit() const { return stream.bad() ? 1 : 0; }

    std::fstream stream;
};
