#include "platform/storage/BFile.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

// Numbers are kept in the machine's order, which the engine takes to be
// little-endian; a big-endian file is the one that needs reversing.
static_assert(std::endian::native == std::endian::little, "the engine keeps numbers little-endian");

namespace {

std::size_t BoundedLength(const char* text) {
    return static_cast<std::size_t>(std::find(text, text + FileSpec::kLength, '\0') - text);
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

FileSpec MakeFileSpec(const char* path) {
    FileSpec spec;
    std::string text = path ? path : "";
    std::size_t cut = text.find_last_of("/\\");
    std::string directory = cut == std::string::npos ? std::string(".\\") : text.substr(0, cut + 1);
    std::string name = cut == std::string::npos ? text : text.substr(cut + 1);
    std::size_t max = FileSpec::kLength - 1;
    std::memcpy(spec.directory, directory.data(), std::min(directory.size(), max));
    std::memcpy(spec.name, name.data(), std::min(name.size(), max));
    return spec;
}

void ReverseBytes(void* data, int count) {
    auto* bytes = static_cast<unsigned char*>(data);
    if (count > 1) {
        std::reverse(bytes, bytes + count);
    }
}

std::string BFile::BuildFullName(const FileSpec& spec) {
    // The fields are read only up to their size, terminated or not.
    std::string full(spec.directory, BoundedLength(spec.directory));
    // An empty directory means the current folder, not the root.
    if (!full.empty() && !IsSeparator(full.back())) {
        full += '\\';
    }
    full.append(spec.name, BoundedLength(spec.name));
    return full;
}

void BFile::RewriteSeparators(char* fileName) {
    for (char* c = fileName; c && *c; ++c) {
        if (IsSeparator(*c)) {
            *c = '/';
        }
    }
}

int BFile::Open(const FileSpec& spec, int mode, int byteOrder) {
    std::string full = BuildFullName(spec);
    std::vector<char> name(full.begin(), full.end());
    name.push_back('\0');
    return OpenFile(name.data(), mode, byteOrder);
}

void BFile::ApplyByteOrder(int byteOrder) {
    if (byteOrder == kByteOrderBig) {
        bigEndian = 1;
    } else if (byteOrder == kByteOrderLittle || byteOrder == kByteOrderLittleToo) {
        bigEndian = 0;
    }
}

void BFile::EncodeNumber(std::uint32_t value, int width, unsigned char* out) const {
    for (int i = 0; i < width; ++i) {
        int shift = bigEndian ? 8 * (width - 1 - i) : 8 * i;
        out[i] = static_cast<unsigned char>(value >> shift);
    }
}

int BFile::ReadValue(void* buf, int size) {
    int count = Read(buf, size);
    if (count == size && size > 1 && bigEndian) {
        ReverseBytes(buf, size);
    }
    return count;
}

void BFile::SwapRecord(void* record, const unsigned char* layout) {
    if (!bigEndian || !record || !layout) {
        return;
    }
    auto* field = static_cast<unsigned char*>(record);
    int fields = layout[0];
    for (int i = 1; i <= fields; ++i) {
        ReverseBytes(field, layout[i]);
        field += layout[i];
    }
}

long BFile::Size() {
    long here = Tell();
    long end = Seek(0, kSeekEnd);
    Seek(here, kSeekBegin);
    return end;
}

long BFile::Remaining() {
    long here = Tell();
    long end = Seek(0, kSeekEnd);
    Seek(here, kSeekBegin);
    return end - here;
}
