#pragma once
// The asset archive: a little-endian chunk file of form type "MMFL" whose first
// chunk, "map ", lists the absolute positions of numbered entry points. A loader
// seeks to an entry and reads the run of asset chunks it knows to be there.

#include "formats/CFileIFF.h"

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

constexpr std::int32_t kIdMMFL = ChunkId("MMFL");
constexpr std::int32_t kIdMap = ChunkId("map ");
constexpr std::int32_t kIdRgba = ChunkId("rgba");
constexpr std::int32_t kIdAnim = ChunkId("anim");
constexpr std::int32_t kIdWave = ChunkId("wave");
constexpr std::int32_t kIdMidi = ChunkId("midi");
// Pictures at higher densities follow the runs: one "rgbz" chunk per picture
// and density, then per density a "dens" table of (1x position, position)
// pairs; a "dixs" chunk lists (density, table position) pairs, and the file
// ends with "dref": the start of this area and the position of "dixs".
constexpr std::int32_t kIdDenseRgba = ChunkId("rgbz");
constexpr std::int32_t kIdDenseTable = ChunkId("dens");
constexpr std::int32_t kIdDenseIndex = ChunkId("dixs");
constexpr std::int32_t kIdDenseRef = ChunkId("dref");
// The densities the packer writes beside 1x.
constexpr int kHighestDensity = 3;

class CFileMM : public CFileIFF {
public:
    CFileMM();
    ~CFileMM() override;

    int OpenArchive(const FileSpec& spec, int mode);
    void ReadMap();
    long SeekEntry(int index);

    // The start of the area of higher densities (the end of the runs), or -1
    // when the archive has none; the file's position is kept.
    long DensityAreaStart();
    // Makes density d (2 .. kHighestDensity) the one DensePicture answers for,
    // reading its table; 1 (or a density the archive lacks) answers none.
    // Returns the density now selected. The file's position is kept.
    int SelectDensity(int density);
    int GetDensity() const { return density; }
    // The position of the "rgbz" chunk of the selected density for the picture
    // whose 1x "rgba" chunk starts at position; -1 when there is none.
    long DensePicture(long position) const;

    std::int32_t GetEntryCount() const { return entryCount; }
    // The position of an entry as read from the map (index must be in range).
    std::int32_t GetEntry(int index) const { return entryTable[index]; }

private:
    // Reads the header of the chunk at position (a chunk of kind id whose data
    // holds at least minimum bytes) and stays at its data; false otherwise.
    bool EnterAt(long position, std::int32_t id, std::uint32_t minimum, ChunkHeader* header);
    // Reads the "dref" chunk: the area's start and the index's position.
    bool ReadDensityRef(long* areaStart, long* index);

    int density = 1;
    std::vector<std::pair<std::int32_t, std::int32_t>> denseTable;  // sorted by 1x position
    std::int32_t entryCount = 0;
    [[maybe_unused]] std::int32_t reserved = 0;  // kept for the record's layout; unused
    std::unique_ptr<std::int32_t[]> entryTable;
};
