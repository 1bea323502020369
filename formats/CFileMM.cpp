#include "formats/CFileMM.h"

#include "platform/core/CException.h"

#include <algorithm>

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
        density = 1;
        denseTable.clear();
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

bool CFileMM::EnterAt(long position, std::int32_t id, std::uint32_t minimum, ChunkHeader* header) {
    if (position < 12 || position + 8 > Size() || SeekRaw(position, kSeekBegin) != position) return false;
    ReadChunkHeader(header);
    chunkStack.pop_back();  // read as a record, not entered
    return header->id == id && header->size >= minimum && static_cast<long>(header->size) <= Size() - Tell();
}

bool CFileMM::ReadDensityRef(long* areaStart, long* index) {
    ChunkHeader header;
    if (!EnterAt(Size() - 16, kIdDenseRef, 8, &header)) return false;
    std::int32_t values[2] = {};
    ReadValue(&values[0], 4);
    ReadValue(&values[1], 4);
    *areaStart = values[0];
    *index = values[1];
    return *areaStart >= 12 && *areaStart < Size() && *index >= *areaStart && *index < Size();
}

long CFileMM::DensityAreaStart() {
    if (!IsOpen()) return -1;
    const long here = Tell();
    long areaStart = -1, index = -1;
    const bool found = ReadDensityRef(&areaStart, &index);
    SeekRaw(here, kSeekBegin);
    return found ? areaStart : -1;
}

int CFileMM::SelectDensity(int wanted) {
    if (wanted == density) return density;
    density = 1;
    denseTable.clear();
    if (wanted <= 1 || !IsOpen()) return density;
    const long here = Tell();
    long areaStart = -1, index = -1;
    ChunkHeader header;
    std::int32_t tablePosition = -1;
    if (ReadDensityRef(&areaStart, &index) && EnterAt(index, kIdDenseIndex, 4, &header)) {
        std::int32_t count = 0;
        ReadValue(&count, 4);
        for (std::int32_t i = 0; i < count && 4 + 8L * (i + 1) <= static_cast<long>(header.size); ++i) {
            std::int32_t d = 0, at = 0;
            ReadValue(&d, 4);
            ReadValue(&at, 4);
            if (d == wanted) tablePosition = at;
        }
    }
    if (tablePosition >= 0 && EnterAt(tablePosition, kIdDenseTable, 8, &header)) {
        std::int32_t d = 0, count = 0;
        ReadValue(&d, 4);
        ReadValue(&count, 4);
        if (d == wanted && count >= 0 && 8 + 8L * count <= static_cast<long>(header.size)) {
            denseTable.resize(static_cast<std::size_t>(count));
            for (auto& [original, dense] : denseTable) {
                ReadValue(&original, 4);
                ReadValue(&dense, 4);
            }
            std::sort(denseTable.begin(), denseTable.end());
            density = wanted;
        }
    }
    SeekRaw(here, kSeekBegin);
    return density;
}

long CFileMM::DensePicture(long position) const {
    auto it = std::lower_bound(denseTable.begin(), denseTable.end(), std::make_pair(static_cast<std::int32_t>(position),
                                                                                   std::int32_t{0}));
    return it != denseTable.end() && it->first == position ? it->second : -1;
}
