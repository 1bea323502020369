#pragma once
// Shared by the file, image, wave, chunk-file and archive tests: a temporary
// folder, whole-file byte access and a check for the engine's file exceptions.

#include "platform/core/CException.h"
#include "platform/storage/FileLocation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zanbor-files-XXXXXX").string();
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (::mkdtemp(buffer.data())) {
            path = buffer.data();
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }
    FileSpec Spec(const std::string& name) const { return MakeFileSpec((*this / name).c_str()); }

    std::string path;
};

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes Fixture(const std::string& name) {
    return ReadFileBytes(std::string(ZANBOR_SOURCE_DIR) + "/tests/data/" + name);
}

inline std::string FixturePath(const std::string& name) {
    return std::string(ZANBOR_SOURCE_DIR) + "/tests/data/" + name;
}

// A writable copy of a name for the open operations, which rewrite it in place.
inline std::vector<char> NameBuffer(const std::string& name) {
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    return buffer;
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline void PutLe32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

inline void PutText(Bytes& out, const char* text) {
    for (; *text; ++text) out.push_back(static_cast<std::uint8_t>(*text));
}

// Runs the action and checks that it throws CFileException from unit at line.
template <typename Action>
void ExpectFileException(Action action, const char* unit, int line) {
    try {
        action();
        ADD_FAILURE() << "no CFileException; expected " << unit << " line " << line;
    } catch (const CFileException& e) {
        EXPECT_EQ(e.Unit(), unit);
        EXPECT_EQ(e.Line(), line);
    }
}
