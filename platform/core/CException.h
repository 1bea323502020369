#pragma once
// The engine's exceptions. They carry the source unit (such as "common/CSprite")
// and the line of the throw site; the only handler is the process entry.

#include <string>

class CException {
public:
    CException(const char* unit, int line) : unit(unit ? unit : ""), line(line) {}
    virtual ~CException() = default;

    const std::string& Unit() const { return unit; }
    int Line() const { return line; }

    // "file: " + unit + "line: " + number, as the top-level report shows it.
    std::string Report() const { return "file: " + unit + "line: " + std::to_string(line); }

private:
    std::string unit;
    int line;
};

// Missing, short or wrong file data.
class CFileException : public CException {
public:
    using CException::CException;
};

// A failed allocation.
class CMemException : public CException {
public:
    using CException::CException;
};
