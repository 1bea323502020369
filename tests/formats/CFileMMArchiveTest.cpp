// The asset archive: the map, entry points, and a whole archive written with
// the chunk writer and read back the way the loaders read it.

#include "formats/CFileMM.h"
#include "formats/MImage.h"
#include "formats/MWaveFile.h"
#include "tests/support/FileTestHelpers.h"

namespace {

const char* kUnit = "common/CFileMM";

// An archive whose map lists the given entry positions (or a count that lies).
Bytes RawArchive(const char* form, const char* firstChunk, std::int32_t count, const std::vector<std::int32_t>& table) {
    Bytes map;
    PutLe32(map, static_cast<std::uint32_t>(count));
    for (std::int32_t e : table) PutLe32(map, static_cast<std::uint32_t>(e));
    Bytes body;
    PutText(body, form);
    PutText(body, firstChunk);
    PutLe32(body, static_cast<std::uint32_t>(map.size()));
    body = body + map;
    Bytes out;
    PutText(out, "FFIR");
    PutLe32(out, static_cast<std::uint32_t>(body.size()));
    return out + body;
}

TEST(ArchiveMap, NoEntriesOpensButEverySeekThrows) {
    TempFolder folder;
    WriteFileBytes(folder / "a.mm", RawArchive("LFMM", " pam", 0, {}));
    CFileMM archive;
    ASSERT_EQ(archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting), 0);
    EXPECT_EQ(archive.GetEntryCount(), 0);
    EXPECT_EQ(archive.Tell(), 24);  // just after the map chunk
    ExpectFileException([&] { archive.SeekEntry(0); }, kUnit, 152);
    ExpectFileException([&] { archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting); }, "win32/MFileMMIO", 59);
}

TEST(ArchiveMap, EntriesInRangeSeekAndTheOthersThrow) {
    TempFolder folder;
    WriteFileBytes(folder / "a.mm", RawArchive("LFMM", " pam", 3, {12, 30, 1000}));
    CFileMM archive;
    ASSERT_EQ(archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting), 0);
    ASSERT_EQ(archive.GetEntryCount(), 3);
    EXPECT_EQ(archive.SeekEntry(0), 12);
    EXPECT_EQ(archive.SeekEntry(2), 1000);  // past the end is a position; reading there throws
    EXPECT_EQ(archive.Tell(), 1000);
    ChunkHeader header;
    ExpectFileException([&] { archive.ReadChunkHeader(&header); }, "common/CFileIFF", 189);
    ExpectFileException([&] { archive.SeekEntry(3); }, kUnit, 152);
    ExpectFileException([&] { archive.SeekEntry(-1); }, kUnit, 152);
}

TEST(ArchiveMap, TheEntryCountIsLittleEndian) {
    TempFolder folder;
    Bytes bytes = RawArchive("LFMM", " pam", 2, {5, 7});
    EXPECT_EQ(Bytes(bytes.begin() + 20, bytes.begin() + 24), (Bytes{2, 0, 0, 0}));
    WriteFileBytes(folder / "a.mm", bytes);
    CFileMM archive;
    ASSERT_EQ(archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting), 0);
    EXPECT_EQ(archive.GetEntryCount(), 2);
    EXPECT_EQ(archive.GetEntry(1), 7);
}

TEST(ArchiveMap, WrongArchivesAreClosedAndRejected) {
    TempFolder folder;
    CFileMM archive;
    // The form type in natural character order is not "MMFL".
    WriteFileBytes(folder / "a.mm", RawArchive("MMFL", " pam", 0, {}));
    ExpectFileException([&] { archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting); }, kUnit, 84);
    EXPECT_EQ(archive.IsOpen(), 0);
    WriteFileBytes(folder / "a.mm", RawArchive("LFMM", "pam ", 0, {}));
    ExpectFileException([&] { archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting); }, kUnit, 92);
    EXPECT_EQ(archive.IsOpen(), 0);
    // A count the map chunk cannot hold, or a negative one, sizes nothing.
    WriteFileBytes(folder / "a.mm", RawArchive("LFMM", " pam", 0x7FFFFFFF, {1, 2}));
    ExpectFileException([&] { archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting); }, kUnit, 92);
    WriteFileBytes(folder / "a.mm", RawArchive("LFMM", " pam", -1, {1, 2}));
    ExpectFileException([&] { archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting); }, kUnit, 92);
    EXPECT_EQ(archive.IsOpen(), 0);
    // An entry that no seek can reach.
    WriteFileBytes(folder / "a.mm", RawArchive("LFMM", " pam", 1, {-4}));
    ASSERT_EQ(archive.OpenArchive(folder.Spec("a.mm"), kModeReadExisting), 0);
    ExpectFileException([&] { archive.SeekEntry(0); }, kUnit, 158);
}

TEST(ArchiveMap, AFailedOpenLeavesTheObjectClosedAndReusable) {
    TempFolder folder;
    const Bytes good = RawArchive("LFMM", " pam", 2, {12, 30});
    WriteFileBytes(folder / "good.mm", good);
    // Cut inside the outer header, the form type, the map header, the count and the table;
    // and a copy whose outer identifier is not RIFF (it must not make the next file big-endian).
    std::vector<Bytes> damaged;
    for (std::size_t keep : {0u, 5u, 10u, 15u, 22u, 26u}) damaged.emplace_back(good.begin(), good.begin() + keep);
    Bytes foreign = good;
    foreign[0] = 'X';
    damaged.push_back(Bytes(foreign.begin(), foreign.begin() + 26));
    CFileMM archive;
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE("damaged copy " + std::to_string(i));
        WriteFileBytes(folder / "bad.mm", damaged[i]);
        EXPECT_THROW(archive.OpenArchive(folder.Spec("bad.mm"), kModeReadExisting), CFileException);
        EXPECT_EQ(archive.IsOpen(), 0);
        EXPECT_EQ(archive.GetEntryCount(), 0);
        ASSERT_EQ(archive.OpenArchive(folder.Spec("good.mm"), kModeReadExisting), 0);
        EXPECT_EQ(archive.GetEntryCount(), 2);
        EXPECT_EQ(archive.GetEntry(1), 30);
        archive.Close();
    }
}

// --- Round trip ------------------------------------------------------------

MImage Picture(int width, int height, std::uint32_t seed) {
    MImage image;
    image.width = width;
    image.height = height;
    image.xOrigin = static_cast<std::int16_t>(-width / 2);
    image.yOrigin = static_cast<std::int16_t>(-height / 2);
    for (int i = 0; i < width * height; ++i) image.pixels.push_back((i % 3 == 0 ? seed : seed * 31u + i) | 0x80u);
    return image;
}

struct Chunk {
    std::int32_t id;
    Bytes data;                 // rgba, wave, midi
    std::vector<Bytes> frames;  // anim
};

class ArchiveRoundTrip : public testing::Test {
protected:
    void SetUp() override {
        Bytes wave = Fixture("wave_s16_stereo.wav");
        Bytes wave8 = Fixture("wave_u8_mono.wav");
        Bytes midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 0, 0};  // odd
        Bytes odd = EncodeTga(Picture(3, 3, 7), 2, 24, false);  // 18 + 27 bytes: odd
        runs = {
            {{kIdRgba, odd, {}},
             {kIdAnim, {}, {EncodeTga(Picture(5, 2, 1), 10, 32, false), EncodeTga(Picture(4, 4, 2), 10, 32, true),
                            EncodeTga(Picture(1, 1, 3), 2, 32, false)}},
             {kIdWave, wave, {}},
             {kIdMidi, midi, {}}},
            {},  // an entry pointing at any valid chunk: the next run's
            {{kIdWave, wave8, {}}, {kIdRgba, EncodeTga(Picture(40, 40, 9), 10, 32, false), {}}},
            {{kIdMidi, midi, {}}},
        };
        CFileMM writer;
        ASSERT_EQ(writer.OpenArchive(folder.Spec("r.mm"), kModeWriteBinary), 0);
        writer.BeginChunk(kIdMap, 0);
        writer.WriteLong(static_cast<long>(runs.size()));
        long table = writer.Tell();
        for (std::size_t i = 0; i < runs.size(); ++i) writer.WriteLong(0);
        writer.EndChunk();
        for (std::size_t i = 0; i < runs.size(); ++i) {
            entries.push_back(writer.Tell());
            writer.PatchLong(table + 4 * static_cast<long>(i), entries.back());
            for (const Chunk& chunk : runs[i]) {
                if (chunk.id == kIdAnim) {
                    writer.BeginChunk(kIdAnim, 0);
                    writer.WriteLong(static_cast<long>(chunk.frames.size()));
                    for (const Bytes& frame : chunk.frames) writer.WriteChunk(kIdRgba, frame.data(), static_cast<long>(frame.size()));
                    writer.EndChunk();
                } else {
                    writer.WriteChunk(chunk.id, chunk.data.data(), static_cast<long>(chunk.data.size()));
                }
            }
        }
        ASSERT_EQ(writer.Close(), 0);
    }

    void ExpectPicture(CFileMM& archive, const Bytes& tga) {
        ChunkHeader header;
        archive.ReadChunkHeader(&header);
        ASSERT_EQ(header.id, kIdRgba);
        EXPECT_EQ(header.size, tga.size());
        MImage image;
        ASSERT_EQ(image.Load(archive), 0);
        MImage expected;
        WriteFileBytes(folder / "p.tga", tga);
        MFileMMIO file;
        file.Open(folder.Spec("p.tga"), kModeReadExistingBinary, 1);
        ASSERT_EQ(expected.Load(file), 0);
        EXPECT_EQ(image.pixels, expected.pixels);
        EXPECT_EQ(image.xOrigin, expected.xOrigin);
        archive.Ascend();
    }

    TempFolder folder;
    std::vector<std::vector<Chunk>> runs;
    std::vector<long> entries;
};

TEST_F(ArchiveRoundTrip, EveryEntryKindCountAndByteReadsBack) {
    Bytes bytes = ReadFileBytes(folder / "r.mm");
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{'F', 'F', 'I', 'R'}));
    EXPECT_EQ(bytes.size() - 8, std::uint32_t(bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24));

    CFileMM archive;
    ASSERT_EQ(archive.OpenArchive(folder.Spec("r.mm"), kModeReadExisting), 0);
    ASSERT_EQ(archive.GetEntryCount(), static_cast<std::int32_t>(runs.size()));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "entry " << i);
        EXPECT_EQ(archive.SeekEntry(static_cast<int>(i)), entries[i]);
        for (const Chunk& chunk : runs[i]) {
            if (chunk.id == kIdRgba) {
                ExpectPicture(archive, chunk.data);
                continue;
            }
            ChunkHeader header;
            archive.ReadChunkHeader(&header);
            ASSERT_EQ(header.id, chunk.id);
            if (chunk.id == kIdAnim) {
                long count = 0;
                archive.ReadLong(&count);
                ASSERT_EQ(count, static_cast<long>(chunk.frames.size()));
                for (const Bytes& frame : chunk.frames) ExpectPicture(archive, frame);
                EXPECT_EQ(archive.Remaining(), 0);
            } else if (chunk.id == kIdWave) {
                MWaveFile wave;
                ASSERT_EQ(wave.Open(&archive, nullptr, MWaveFile::kModeRead), MWaveFile::kOk);
                Bytes samples(wave.GetSize());
                std::uint32_t got = 0;
                wave.Read(samples.data(), wave.GetSize(), &got);
                EXPECT_EQ(Bytes(chunk.data.end() - got, chunk.data.end()), samples);
            } else {
                EXPECT_EQ(archive.Remaining(), static_cast<long>(chunk.data.size() + (chunk.data.size() & 1)));
                Bytes content(static_cast<std::size_t>(archive.AvailableInChunk()));
                archive.ReadBytes(content.data(), static_cast<int>(content.size()));
                content.resize(chunk.data.size());  // without the pad byte
                EXPECT_EQ(content, chunk.data);
            }
            archive.Ascend();
        }
    }
    // The runs lie one after another: entry 1 begins where entry 0 ended.
    EXPECT_EQ(entries[1], entries[2]);
    EXPECT_EQ(archive.Close(), 0);
}

}  // namespace
