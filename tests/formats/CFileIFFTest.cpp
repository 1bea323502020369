// Chunk files: entering and leaving chunks, pad bytes, size patching and the
// byte order that follows the outer identifier.

#include "formats/CFileIFF.h"
#include "tests/support/FileTestHelpers.h"

namespace {

const char* kIffUnit = "common/CFileIFF";
constexpr std::int32_t kTest = ChunkId("TEST");
constexpr std::int32_t kForm = ChunkId("FORM");

Bytes ChunkFile(const char* outer, const Bytes& chunks) {
    Bytes out;
    PutText(out, outer);
    PutLe32(out, static_cast<std::uint32_t>(4 + chunks.size()));
    PutText(out, "TSET");  // the form type "TEST" as stored
    return out + chunks;
}

TEST(ChunkRead, OddChunkDataIsFollowedByAPadByteThatAscendSkips) {
    TempFolder folder;
    Bytes chunks;
    PutText(chunks, "dcba");
    PutLe32(chunks, 5);
    chunks = chunks + Bytes{1, 2, 3, 4, 5, 0};
    PutText(chunks, "fedc");
    PutLe32(chunks, 0);
    WriteFileBytes(folder / "f", ChunkFile("FFIR", chunks));

    CFileIFF file(kIdRIFF, 0);
    ASSERT_EQ(file.OpenChunkFile(folder.Spec("f"), kModeReadExistingBinary), 0);
    EXPECT_EQ(file.GetOuterId(), kIdRIFF);
    EXPECT_EQ(file.GetFormType(), kTest);
    EXPECT_EQ(file.Tell(), 12);
    ChunkHeader header;
    file.ReadChunkHeader(&header);
    EXPECT_EQ(header.id, ChunkId("abcd"));
    EXPECT_EQ(header.size, 5u);
    EXPECT_EQ(file.GetLastChunkSize(), 5);
    EXPECT_EQ(file.Tell(), 20);
    EXPECT_EQ(file.Remaining(), 6);  // data 20..24 and the pad byte at 25
    file.Ascend();
    EXPECT_EQ(file.Tell(), 26);
    // An empty chunk: Ascend stays just after its header.
    file.ReadChunkHeader(&header);
    EXPECT_EQ(header.size, 0u);
    file.Ascend();
    EXPECT_EQ(file.Tell(), 34);
    EXPECT_EQ(file.GetDepth(), 1u);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.IsOpen(), 0);
}

TEST(ChunkRead, AnyOuterIdentifierIsTakenAndShortFilesThrow) {
    TempFolder folder;
    WriteFileBytes(folder / "f", ChunkFile("\x01\x02\x03\x04", {}));
    CFileIFF file(kForm, 0);
    ASSERT_EQ(file.OpenChunkFile(folder.Spec("f"), kModeReadExisting), 0);
    EXPECT_EQ(file.GetOuterId(), 0x04030201);
    file.Close();

    WriteFileBytes(folder / "short", {'R', 'I', 'F', 'F', 0, 0, 0});
    CFileIFF shortFile(kIdRIFF, 0);
    ExpectFileException([&] { shortFile.OpenChunkFile(folder.Spec("short"), kModeReadExisting); }, kIffUnit, 189);
    EXPECT_EQ(shortFile.GetFormType(), 0);
}

TEST(ChunkRead, StackMisuseThrows) {
    TempFolder folder;
    WriteFileBytes(folder / "f", ChunkFile("FFIR", {}));
    CFileIFF file(kIdRIFF, 0);
    ASSERT_EQ(file.OpenChunkFile(folder.Spec("f"), kModeReadExistingBinary), 0);
    file.Ascend();
    ExpectFileException([&] { file.Ascend(); }, kIffUnit, 211);
    ExpectFileException([&] { file.EndChunk(); }, kIffUnit, 144);
    ExpectFileException([&] { file.OpenChunkFile(folder.Spec("f"), kModeReadExistingBinary); }, "win32/MFileMMIO", 59);
}

TEST(ChunkRead, ExistenceTestOpensNothing) {
    TempFolder folder;
    WriteFileBytes(folder / "f", {1});
    CFileIFF file(kIdRIFF, 0);
    EXPECT_EQ(file.OpenChunkFile(folder.Spec("f"), kModeExists), 0);
    EXPECT_EQ(file.OpenChunkFile(folder.Spec("none"), kModeExists), kResultNoSuchFile);
    EXPECT_EQ(file.IsOpen(), 0);
}

TEST(ChunkWrite, SizesArePatchedPaddedAndInTheFileByteOrder) {
    TempFolder folder;
    for (bool riff : {true, false}) {
        SCOPED_TRACE(riff ? "RIFF" : "FORM");
        CFileIFF file(riff ? kIdRIFF : kForm, kTest);
        ASSERT_EQ(file.OpenChunkFile(folder.Spec("w"), kModeWriteBinary), 0);
        file.BeginChunk(ChunkId("abcd"), 0);
        file.Write("xyz", 3);
        EXPECT_EQ(file.EndChunk(), 0);
        EXPECT_EQ(file.Close(), 0);
        Bytes expected = riff ? Bytes{'F', 'F', 'I', 'R', 16, 0, 0, 0} : Bytes{'M', 'R', 'O', 'F', 0, 0, 0, 16};
        expected = expected + Bytes{'T', 'S', 'E', 'T', 'd', 'c', 'b', 'a'};
        expected = expected + (riff ? Bytes{3, 0, 0, 0} : Bytes{0, 0, 0, 3}) + Bytes{'x', 'y', 'z', 0};
        EXPECT_EQ(ReadFileBytes(folder / "w"), expected);
    }
}

TEST(ChunkWrite, NestedChunksCountTheirChildrensPadBytes) {
    TempFolder folder;
    CFileIFF file(kIdRIFF, kTest);
    ASSERT_EQ(file.OpenChunkFile(folder.Spec("n"), kModeWriteBinary), 0);
    file.BeginChunk(ChunkId("outr"), 0);
    file.WriteLong(2);
    file.WriteChunk(ChunkId("one "), "a", 1);
    file.WriteChunk(ChunkId("two "), "bb", 2);
    EXPECT_EQ(file.GetDepth(), 2u);
    file.EndChunk();
    file.Close();

    CFileIFF reader(kIdRIFF, 0);
    ASSERT_EQ(reader.OpenChunkFile(folder.Spec("n"), kModeReadExistingBinary), 0);
    ChunkHeader header;
    reader.ReadChunkHeader(&header);
    EXPECT_EQ(header.size, 4u + 10u + 10u);
    long count = 0;
    reader.ReadLong(&count);
    EXPECT_EQ(count, 2);
    reader.ReadChunkHeader(&header);
    EXPECT_EQ(header.id, ChunkId("one "));
    reader.Ascend();
    reader.ReadChunkHeader(&header);
    EXPECT_EQ(header.id, ChunkId("two "));
    EXPECT_EQ(reader.Remaining(), 2);
    reader.Ascend();
    EXPECT_EQ(reader.Remaining(), 0);
    reader.Ascend();
    EXPECT_EQ(reader.AtEnd(), 1);
}

TEST(ChunkWrite, OnlyCloseFinishesTheFileAndPatchLongFillsTablesIn) {
    TempFolder folder;
    {
        CFileIFF file(kIdRIFF, kTest);
        ASSERT_EQ(file.OpenChunkFile(folder.Spec("d"), kModeWriteBinary), 0);
        file.BeginChunk(ChunkId("abcd"), 0);
        file.WriteLong(0);
        file.PatchLong(20, 0x01020304);
        EXPECT_EQ(file.Tell(), 24);
    }  // destroyed without Close: the sizes stay as written
    Bytes bytes = ReadFileBytes(folder / "d");
    ASSERT_EQ(bytes.size(), 24u);
    EXPECT_EQ(Bytes(bytes.begin() + 4, bytes.begin() + 8), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(Bytes(bytes.begin() + 16, bytes.end()), (Bytes{0, 0, 0, 0, 4, 3, 2, 1}));
}

TEST(ChunkRead, NumbersOfANonRiffFileAreBigEndian) {
    TempFolder folder;
    Bytes chunks = {'a', 't', 'a', 'd', 0, 0, 0, 4, 0, 0, 1, 2};
    WriteFileBytes(folder / "b", ChunkFile("MROF", chunks));
    CFileIFF file(kForm, 0);
    EXPECT_EQ(file.IsBigEndian(), 1);
    ASSERT_EQ(file.OpenChunkFile(folder.Spec("b"), kModeReadExistingBinary), 0);
    ChunkHeader header;
    file.ReadChunkHeader(&header);
    EXPECT_EQ(header.size, 4u);
    std::int32_t value = 0;
    file.ReadValue(&value, 4);
    EXPECT_EQ(value, 0x0102);
}

TEST(ChunkRead, HostileSizesStayWithinTheFile) {
    TempFolder folder;
    Bytes chunks = {'g', 'i', 'b', ' ', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2};
    WriteFileBytes(folder / "h", ChunkFile("FFIR", chunks));
    CFileIFF file(kIdRIFF, 0);
    ASSERT_EQ(file.OpenChunkFile(folder.Spec("h"), kModeReadExistingBinary), 0);
    ChunkHeader header;
    file.ReadChunkHeader(&header);
    EXPECT_EQ(file.Remaining(), 0x100000000L);
    EXPECT_EQ(file.AvailableInChunk(), 2);
    file.Ascend();  // past the end: a place, not an error
    ExpectFileException([&] { file.ReadChunkHeader(&header); }, kIffUnit, 189);
}

}  // namespace
