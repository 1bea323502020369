// The file layer: naming and open modes, byte order, line reading, seeking and
// the numeric writes of both implementations.

#include "platform/storage/MFileMMIO.h"
#include "platform/storage/MFileStream.h"
#include "tests/support/FileTestHelpers.h"

#include <unistd.h>

#include <memory>

namespace {

const char* kMMIO = "win32/MFileMMIO";
const char* kStream = "win32/MFileStream";

TEST(FileNames, FullNameGetsOneSeparatorAndBothSlashesBecomeSlash) {
    FileSpec spec{};
    std::snprintf(spec.directory, sizeof spec.directory, "%s", "data\\sub/inner");
    std::snprintf(spec.name, sizeof spec.name, "%s", "a.mm");
    std::string full = BFile::BuildFullName(spec);
    EXPECT_EQ(full, "data\\sub/inner\\a.mm");
    std::vector<char> name = NameBuffer(full);
    BFile::RewriteSeparators(name.data());
    EXPECT_STREQ(name.data(), "data/sub/inner/a.mm");

    std::snprintf(spec.directory, sizeof spec.directory, "%s", "dir/");
    EXPECT_EQ(BFile::BuildFullName(spec), "dir/a.mm");
    // No directory at all: the current folder, never the root.
    spec.directory[0] = '\0';
    EXPECT_EQ(BFile::BuildFullName(spec), "a.mm");
}

TEST(FileNames, DotBackslashOpensInTheCurrentFolder) {
    TempFolder folder;
    WriteFileBytes(folder / "a.mm", {1, 2, 3});
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(folder.path.c_str()), 0);
    FileSpec spec{};
    std::snprintf(spec.directory, sizeof spec.directory, "%s", ".\\");
    std::snprintf(spec.name, sizeof spec.name, "%s", "a.mm");
    MFileMMIO mmio;
    int result = mmio.Open(spec, kModeReadExistingBinary, kByteOrderLittle);
    MFileStream stream;
    int streamResult = stream.Open(spec, kModeReadExistingBinary, kByteOrderLittle);
    ASSERT_EQ(::chdir(previous), 0);
    ASSERT_EQ(result, 0);
    ASSERT_EQ(streamResult, 0);
    std::uint8_t bytes[3];
    mmio.Read(bytes, 3);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(stream.Read(bytes, 3), 3);
}

TEST(FileOpen, ExistenceTestNeverKeepsTheFileOpen) {
    TempFolder folder;
    WriteFileBytes(folder / "here", {0});
    MFileMMIO file;
    EXPECT_EQ(file.Open(folder.Spec("missing"), kModeExists, 1), kResultNoSuchFile);
    EXPECT_EQ(file.IsOpen(), 0);
    EXPECT_EQ(file.Open(folder.Spec("here"), kModeExists, 1), 0);
    EXPECT_EQ(file.IsOpen(), 0);
    // A folder is not a file to read.
    EXPECT_EQ(file.Open(MakeFileSpec((folder.path + "/").c_str()), kModeExists, 1), kResultNoSuchFile);
}

TEST(FileOpen, MissingFilesThrowOrReportByImplementationAndMode) {
    TempFolder folder;
    MFileMMIO mmio;
    ExpectFileException([&] { mmio.Open(folder.Spec("missing"), kModeReadExisting, 1); }, kMMIO, 109);
    ExpectFileException([&] { mmio.Open(folder.Spec("missing"), kModeReadText, 1); }, kMMIO, 109);
    ExpectFileException([&] { mmio.Open(folder.Spec("missing"), kModeReadWriteBinary, 1); }, kMMIO, 109);
    EXPECT_EQ(mmio.IsOpen(), 0);

    MFileStream stream;
    EXPECT_EQ(stream.Open(folder.Spec("missing"), kModeReadExisting, 1), kResultNoFileToRead);
    EXPECT_EQ(stream.Open(folder.Spec("missing"), kModeReadExistingBinary, 1), kResultNoFileToRead);
    ExpectFileException([&] { stream.Open(folder.Spec("missing"), kModeReadText, 1); }, kStream, 90);
    ExpectFileException([&] { stream.Open(folder.Spec("missing"), kModeReadWriteBinary, 1); }, kStream, 90);
    ExpectFileException([&] { stream.Open(folder.Spec("no/such/dir/x"), kModeWriteBinary, 1); }, kStream, 90);
}

TEST(FileOpen, OpeningAnOpenMMIOFileThrows) {
    TempFolder folder;
    WriteFileBytes(folder / "x", {1});
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("x"), kModeReadExistingBinary, 1), 0);
    ExpectFileException([&] { file.Open(folder.Spec("x"), kModeReadExistingBinary, 1); }, kMMIO, 59);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(file.IsOpen(), 0);
    EXPECT_EQ(file.Open(folder.Spec("x"), kModeReadExistingBinary, 1), 0);
}

TEST(FileOpen, WriteModesTruncateAppendOrUpdate) {
    TempFolder folder;
    for (int mode : {kModeWriteText, kModeWriteBinary, kModeAppendText, kModeAppendBinary}) {
        for (bool stream : {false, true}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << (stream ? " stream" : " mmio"));
            WriteFileBytes(folder / "w", {'o', 'l', 'd'});
            std::unique_ptr<BFile> file;
            if (stream) file = std::make_unique<MFileStream>(); else file = std::make_unique<MFileMMIO>();
            ASSERT_EQ(file->Open(folder.Spec("w"), mode, 1), 0);
            EXPECT_EQ(file->WriteString("new"), 0);
            file->Close();
            bool append = mode == kModeAppendText || mode == kModeAppendBinary;
            Bytes expected = append ? Bytes{'o', 'l', 'd', 'n', 'e', 'w'} : Bytes{'n', 'e', 'w'};
            EXPECT_EQ(ReadFileBytes(folder / "w"), expected);
        }
    }
    // Read and write in one file that must exist; both directions work.
    WriteFileBytes(folder / "rw", {'a', 'b', 'c', 'd'});
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("rw"), kModeReadWriteBinary, 1), 0);
    char c = 0;
    file.Read(&c, 1);
    EXPECT_EQ(c, 'a');
    file.WriteByte('X');
    file.Read(&c, 1);
    EXPECT_EQ(c, 'c');
    file.Close();
    EXPECT_EQ(ReadFileBytes(folder / "rw"), (Bytes{'a', 'X', 'c', 'd'}));
}

class BothFiles : public testing::TestWithParam<bool> {
protected:
    std::unique_ptr<BFile> Make() const {
        if (GetParam()) return std::make_unique<MFileStream>();
        return std::make_unique<MFileMMIO>();
    }
    TempFolder folder;
};

TEST_P(BothFiles, ReadValueReversesOnlyWholeMultiByteValuesOfBigEndianFiles) {
    WriteFileBytes(folder / "v", {1, 2, 3, 4, 5, 1, 2, 3, 4});
    auto file = Make();
    ASSERT_EQ(file->Open(folder.Spec("v"), kModeReadExistingBinary, kByteOrderBig), 0);
    EXPECT_EQ(file->IsBigEndian(), 1);
    std::uint8_t four[4];
    EXPECT_EQ(file->ReadValue(four, 4), 4);
    EXPECT_EQ(Bytes(four, four + 4), (Bytes{4, 3, 2, 1}));
    std::uint8_t one = 0;
    EXPECT_EQ(file->ReadValue(&one, 1), 1);
    EXPECT_EQ(one, 5);
    file->Close();

    // Little-endian: as read. A byte-order argument of 3 keeps the flag.
    ASSERT_EQ(file->Open(folder.Spec("v"), kModeReadExistingBinary, kByteOrderLittleToo), 0);
    EXPECT_EQ(file->IsBigEndian(), 0);
    file->ReadValue(four, 4);
    EXPECT_EQ(Bytes(four, four + 4), (Bytes{1, 2, 3, 4}));
    file->Close();
    ASSERT_EQ(file->Open(folder.Spec("v"), kModeReadExistingBinary, 3), 0);
    EXPECT_EQ(file->IsBigEndian(), 0);
}

TEST_P(BothFiles, NumericWritesFollowTheByteOrder) {
    for (int order : {kByteOrderBig, kByteOrderLittle}) {
        auto file = Make();
        ASSERT_EQ(file->Open(folder.Spec("n"), kModeWriteBinary, order), 0);
        EXPECT_EQ(file->WriteLong(-2), 0);
        EXPECT_EQ(file->WriteLong(1), 0);
        EXPECT_EQ(file->WriteShort(0x1234), 0);
        EXPECT_EQ(file->WriteULong(0xA1B2C3D4ul), 0);
        EXPECT_EQ(file->WriteByte('\x7F'), 0);
        file->Close();
        Bytes expected = order == kByteOrderBig
            ? Bytes{0xFF, 0xFF, 0xFF, 0xFE, 0, 0, 0, 1, 0x12, 0x34, 0xA1, 0xB2, 0xC3, 0xD4, 0x7F}
            : Bytes{0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0x7F};
        EXPECT_EQ(ReadFileBytes(folder / "n"), expected) << "byte order " << order;
    }
}

TEST_P(BothFiles, SwapRecordReversesEachFieldOnlyWhenBigEndian) {
    WriteFileBytes(folder / "r", {0});
    const unsigned char layout[] = {3, 2, 4, 1};
    for (int order : {kByteOrderBig, kByteOrderLittle}) {
        auto file = Make();
        ASSERT_EQ(file->Open(folder.Spec("r"), kModeReadExistingBinary, order), 0);
        std::uint8_t record[] = {1, 2, 3, 4, 5, 6, 7, 8};
        file->SwapRecord(record, layout);
        Bytes expected = order == kByteOrderBig ? Bytes{2, 1, 6, 5, 4, 3, 7, 8} : Bytes{1, 2, 3, 4, 5, 6, 7, 8};
        EXPECT_EQ(Bytes(record, record + 8), expected);
    }
}

TEST_P(BothFiles, SizeRemainingAndAtEndKeepThePosition) {
    WriteFileBytes(folder / "s", Bytes(10, 'x'));
    auto file = Make();
    ASSERT_EQ(file->Open(folder.Spec("s"), kModeReadExistingBinary, 1), 0);
    EXPECT_EQ(file->Seek(4, kSeekBegin), 4);
    EXPECT_EQ(file->Size(), 10);
    EXPECT_EQ(file->Remaining(), 6);
    EXPECT_EQ(file->Tell(), 4);
    EXPECT_EQ(file->AtEnd(), 0);
    EXPECT_EQ(file->Seek(-3, kSeekEnd), 7);
    EXPECT_EQ(file->Seek(2, kSeekCurrent), 9);
    EXPECT_EQ(file->Seek(5, 42), 5);  // an unknown origin counts from the beginning
}

INSTANTIATE_TEST_SUITE_P(Files, BothFiles, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Stream" : "MMIO"; });

TEST(FileMMIO, ReadLineKeepsTheNewlineUncountedAndStopsAtTheBuffer) {
    TempFolder folder;
    WriteFileBytes(folder / "l", {'a', 'b', 'c', '\n', 'd'});
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("l"), kModeReadText, 1), 0);
    char buf[10];
    EXPECT_EQ(file.ReadLine(buf, 10), 3);
    EXPECT_STREQ(buf, "abc\n");
    EXPECT_EQ(file.ReadLine(buf, 10), 1);  // the last line ends with the file
    EXPECT_STREQ(buf, "d");
    EXPECT_EQ(file.ReadLine(buf, 10), 0);
    EXPECT_STREQ(buf, "");
    file.Close();

    WriteFileBytes(folder / "l", Bytes(12, 'q'));
    ASSERT_EQ(file.Open(folder.Spec("l"), kModeReadText, 1), 0);
    EXPECT_EQ(file.ReadLine(buf, 10), 9);
    EXPECT_EQ(std::string(buf), std::string(9, 'q'));
    EXPECT_EQ(file.Tell(), 9);
    buf[0] = 'z';
    EXPECT_EQ(file.ReadLine(buf, 1), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(file.Tell(), 9);
}

TEST(FileStream, ReadLineCountsWhatGetlineExtracted) {
    TempFolder folder;
    WriteFileBytes(folder / "l", {'a', 'b', 'c', '\n', 'd'});
    MFileStream file;
    ASSERT_EQ(file.Open(folder.Spec("l"), kModeReadText, 1), 0);
    char buf[10];
    EXPECT_EQ(file.ReadLine(buf, 10), 4);
    EXPECT_STREQ(buf, "abc");
    EXPECT_EQ(file.AtEnd(), 0);
    EXPECT_EQ(file.ReadLine(buf, 10), 1);
    EXPECT_STREQ(buf, "d");
    EXPECT_EQ(file.AtEnd(), 1);
}

TEST(FileStream, SkipWhiteStopsAtTheNextWordOrTheEnd) {
    TempFolder folder;
    WriteFileBytes(folder / "w", {' ', '\t', '\n', 'x', ' '});
    MFileStream file;
    ASSERT_EQ(file.Open(folder.Spec("w"), kModeReadText, 1), 0);
    EXPECT_EQ(file.SkipWhite(), 0);
    char c = 0;
    EXPECT_EQ(file.Read(&c, 1), 1);
    EXPECT_EQ(c, 'x');
    file.SkipWhite();
    EXPECT_EQ(file.AtEnd(), 1);
    // A seek forgets the end again.
    EXPECT_EQ(file.Seek(0, kSeekBegin), 0);
    EXPECT_EQ(file.AtEnd(), 0);
}

TEST(FileMMIO, SeekFromTheBeginningMustLandSeekFromHereNeverThrows) {
    TempFolder folder;
    WriteFileBytes(folder / "s", Bytes(8, 0));
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("s"), kModeReadExistingBinary, 1), 0);
    EXPECT_EQ(file.Seek(100, kSeekBegin), 100);  // past the end is a place too
    ExpectFileException([&] { file.Seek(-1, kSeekBegin); }, kMMIO, 157);
    EXPECT_EQ(file.Seek(2, kSeekBegin), 2);
    EXPECT_EQ(file.Seek(-5, kSeekCurrent), -1);
    EXPECT_EQ(file.Seek(-100, kSeekEnd), -1);
    EXPECT_EQ(file.Tell(), 2);
}

TEST(FileMMIO, ShortReadsThrowWithTheirOwnLines) {
    TempFolder folder;
    WriteFileBytes(folder / "s", {1, 2, 3});
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("s"), kModeReadExistingBinary, 1), 0);
    std::uint8_t buf[8];
    ExpectFileException([&] { file.Read(buf, 4); }, kMMIO, 177);
    file.Seek(0, kSeekBegin);
    ExpectFileException([&] { file.ReadBytes(buf, 4); }, kMMIO, 189);
    file.Seek(0, kSeekBegin);
    long v = 0;
    ExpectFileException([&] { file.ReadLong(&v); }, kMMIO, 256);
    EXPECT_EQ(file.AtEnd(), 1);
}

TEST(FileMMIO, ReadLongSignExtendsInTheFileByteOrder) {
    TempFolder folder;
    WriteFileBytes(folder / "l", {0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 7});
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("l"), kModeReadExistingBinary, kByteOrderLittle), 0);
    long v = 0;
    EXPECT_EQ(file.ReadLong(&v), 4);
    EXPECT_EQ(v, -2);
    file.Close();
    ASSERT_EQ(file.Open(folder.Spec("l"), kModeReadExistingBinary, kByteOrderBig), 0);
    file.Seek(4, kSeekBegin);
    file.ReadLong(&v);
    EXPECT_EQ(v, 7);
}

TEST(FileMMIO, WritingToAReadOnlyFileThrows) {
    TempFolder folder;
    WriteFileBytes(folder / "r", {1});
    MFileMMIO file;
    ASSERT_EQ(file.Open(folder.Spec("r"), kModeReadExistingBinary, 1), 0);
    std::uint8_t b = 0;
    ExpectFileException([&] { file.Write(&b, 1); }, kMMIO, 287);
    ExpectFileException([&] { file.WriteAll(&b, 1); }, kMMIO, 299);
    ExpectFileException([&] { file.WriteString("x"); }, kMMIO, 311);
    ExpectFileException([&] { file.WriteLong(1); }, kMMIO, 325);
    ExpectFileException([&] { file.WriteByte(1); }, kMMIO, 336);
    ExpectFileException([&] { file.WriteShort(1); }, kMMIO, 350);
    ExpectFileException([&] { file.WriteULong(1); }, kMMIO, 364);
}

TEST(FileStream, WritesOnAStreamThatWentBadReportOrThrow) {
    MFileStream file;  // never opened: every write fails
    EXPECT_NE(file.Write("x", 1), 0);
    EXPECT_NE(file.WriteLong(1), 0);
    ExpectFileException([&] { file.WriteAll("x", 1); }, kStream, 191);
    ExpectFileException([&] { file.WriteByte('x'); }, kStream, 220);
}

}  // namespace
