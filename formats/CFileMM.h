#pragma once
// The asset archive: a little-endian chunk file of form type "MMFL" whose first
// chunk, "map ", lists the absolute positions of numbered entry points. A loader
// seeks to an entry and reads the run of asset chunks it knows to be there.

#include "formats/CFileIFF.h"

#include <cstdint>
#include <memory>

constexpr std::int32_t kIdMMFL = ChunkId("MMFL");
constexpr std::int32_t kIdMap = ChunkId("map ");
constexpr std::int32_t kIdRgba = ChunkId("rgba");
constexpr std::int32_t kIdAnim = ChunkId("anim");
constexpr std::int32_t kIdWave = ChunkId("wave");
constexpr std::int32_t kIdMidi = ChunkId("midi");

class CFileMM : public CFileIFF {
public:
    CFileMM();
    ~CFileMM() override;

    int OpenArchive(const FileSpec& spec, int mode);
    void ReadMap();
    long SeekEntry(int index);

    std::int32_t GetEntryCount() const { return entryCount; }
    // The position of an entry as read from the map (index must be in range).
    std::int32_t GetEntry(int index) const { return entryTable[index]; }

private:
    std::int32_t entryCount = 0;
    [[maybe_unused]] std::int32_t reserved = 0;  // kept for the record's layout; unused
    std::unique_ptr<std::int32_t[]> entryTable;
};
