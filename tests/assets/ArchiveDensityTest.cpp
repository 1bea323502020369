// Every picture of the game's archive is also there at 2x and 3x, drawn from
// the same source: exactly that many times its 1x size and anchor.

#include "formats/CFileMM.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Header {
    int w = 0, h = 0, ox = 0, oy = 0, type = 0;
};

Header ReadHeader(CFileMM& archive) {
    std::uint8_t b[18] = {};
    archive.ReadBytes(b, 18);
    auto s16 = [&](int at) { return static_cast<int>(static_cast<std::int16_t>(b[at] | b[at + 1] << 8)); };
    return {s16(12), s16(14), s16(8), s16(10), b[2]};
}

// The place of every 1x picture, single or a frame of an array, in file order.
std::vector<long> PicturePlaces(CFileMM& archive) {
    std::vector<long> places;
    archive.SeekEntry(0);
    archive.Seek(12 + 8 + 4 + 4L * archive.GetEntryCount(), kSeekBegin);  // the first run, after the map
    const long end = archive.DensityAreaStart();
    while (archive.Tell() < end) {
        const long at = archive.Tell();
        ChunkHeader header;
        archive.ReadChunkHeader(&header);
        if (header.id == kIdRgba) places.push_back(at);
        if (header.id == kIdAnim) {
            long count = 0;
            archive.ReadLong(&count);
            for (long i = 0; i < count; ++i) {
                places.push_back(archive.Tell());
                archive.ReadChunkHeader(&header);
                archive.Ascend();
            }
        }
        archive.Ascend();
    }
    return places;
}

TEST(ArchiveDensityTest, EveryPictureIsThereAtTwoAndThreeTimesItsSizeAndAnchor) {
    CFileMM archive;
    const std::string path = std::string(ZANBOR_BIN_DIR) + "/zanborassets.mm";
    ASSERT_EQ(archive.OpenArchive(MakeFileSpec(path.c_str()), kModeReadExistingBinary), 0);
    ASSERT_GT(archive.DensityAreaStart(), 0);
    const std::vector<long> places = PicturePlaces(archive);
    ASSERT_GT(places.size(), 400u);
    for (int density : {2, 3}) {
        ASSERT_EQ(archive.SelectDensity(density), density);
        int checked = 0;
        for (long place : places) {
            archive.Seek(place + 8, kSeekBegin);
            const Header one = ReadHeader(archive);
            const long dense = archive.DensePicture(place);
            ASSERT_GT(dense, place) << "picture @" << place << " at " << density << "x";
            archive.Seek(dense, kSeekBegin);
            ChunkHeader header;
            archive.ReadChunkHeader(&header);
            ASSERT_EQ(header.id, kIdDenseRgba);
            const Header big = ReadHeader(archive);
            archive.Ascend();
            EXPECT_EQ(big.w, one.w * density) << "@" << place;
            EXPECT_EQ(big.h, one.h * density) << "@" << place;
            EXPECT_EQ(big.ox, one.ox * density) << "@" << place;
            EXPECT_EQ(big.oy, one.oy * density) << "@" << place;
            checked += big.w == one.w * density && big.h == one.h * density;
        }
        EXPECT_EQ(checked, static_cast<int>(places.size()));
    }
    EXPECT_EQ(archive.SelectDensity(1), 1);
    EXPECT_EQ(archive.DensePicture(places.front()), -1);
}

}  // namespace
