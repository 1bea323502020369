#include "formats/CFileMM.h"

#include "platform/core/CException.h"

namespace {

constexpr const char* kUnit = "common/CFileMM";

// One field of four bytes: the entry count.
constexpr unsigned char kCountLayout[] = {1, 4};

}  // namespace

CFileMM::CFileMM() : CFileIFF(kIdRIFF, kIdMMFL) {}

CFileMM::~CFileMM() = default;

int CFileMM::OpenArchive(const FileSpec& spec, int mode) {
    if (!IsOpen()) {
        // The entries are those of the file last opened, not of an earlier one.
        entryTable.reset();
        entryCount = 0;
    }
    int result = OpenChunkFile(spec, mode);
    if (result == 0 && IsReading()) {
        // Whatever stops the map (a short file included) leaves the archive
        // closed and without entries, ready to open another file.
        try {
            ReadMap();
        } catch (...) {
            Abandon();
            entryTable.reset();
            entryCount = 0;
            throw;
        }
    }
    return result;
}

void CFileMM::ReadMap() {
    // A rejected archive is left closed; closing must not replace the reason.
    if (formType != kIdMMFL) {
        Abandon();
        throw CFileException(kUnit, 84);
    }
    ChunkHeader header;
    ReadChunkHeader(&header);
    if (header.id != kIdMap) {
        Abandon();
        throw CFileException(kUnit, 92);
    }
    std::int32_t count = 0;
    Read(&count, 4);
    SwapRecord(&count, kCountLayout);
    // The count sizes an allocation: it must agree with the map's own size and
    // with the bytes the file really holds before anything is allocated.
    long available = Size() - Tell();
    if (count < 0 || 4 + 4 * static_cast<long>(count) > static_cast<long>(header.size) ||
        4 * static_cast<long>(count) > available) {
        Abandon();
        throw CFileException(kUnit, 92);
    }
    auto table = std::make_unique<std::int32_t[]>(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        ReadValue(&table[i], 4);
    }
    entryTable = std::move(table);
    entryCount = count;
    Ascend();
}

long CFileMM::SeekEntry(int index) {
    if (index < 0 || index >= entryCount) {
        throw CFileException(kUnit, 152);
    }
    long position = entryTable[index];
    long reached = SeekRaw(position, kSeekBegin);
    if (reached < 0 || reached != position) {
        throw CFileException(kUnit, 158);
    }
    return position;
}
