// The WAVE reader against files written by sox, and against damaged ones.

#include "platform/storage/MFileMMIO.h"
#include "formats/MWaveFile.h"
#include "tests/support/FileTestHelpers.h"

namespace {

struct SoxCase {
    const char* name;
    std::uint16_t tag, channels;
    std::uint32_t rate, bytesPerSec;
    std::uint16_t align, bits;
};

Bytes ReadAllData(MWaveFile& wave, std::uint32_t piece) {
    Bytes all;
    std::vector<std::uint8_t> buffer(piece);
    std::uint32_t got = 0;
    do {
        EXPECT_EQ(wave.Read(buffer.data(), piece, &got), MWaveFile::kOk);
        all.insert(all.end(), buffer.begin(), buffer.begin() + got);
    } while (got > 0);
    return all;
}

TEST(WaveSox, PcmAndALawFilesGiveTheirFormatAndTheSamplesSoxExtracts) {
    const SoxCase cases[] = {
        {"wave_u8_mono", 1, 1, 8000, 8000, 1, 8},       {"wave_u8_stereo", 1, 2, 11025, 22050, 2, 8},
        {"wave_s16_mono", 1, 1, 22050, 44100, 2, 16},   {"wave_s16_stereo", 1, 2, 22050, 88200, 4, 16},
        {"wave_alaw_mono", 6, 1, 8000, 8000, 1, 8},
    };
    for (const SoxCase& c : cases) {
        SCOPED_TRACE(c.name);
        MFileMMIO file;
        ASSERT_EQ(file.Open(MakeFileSpec(FixturePath(std::string(c.name) + ".wav").c_str()), kModeReadExistingBinary, 1), 0);
        MWaveFile wave;
        ASSERT_EQ(wave.Open(&file, nullptr, MWaveFile::kModeRead), MWaveFile::kOk);
        const MWaveFormat* format = wave.GetFormat();
        ASSERT_NE(format, nullptr);
        EXPECT_EQ(format->formatTag, c.tag);
        EXPECT_EQ(format->channels, c.channels);
        EXPECT_EQ(format->samplesPerSec, c.rate);
        EXPECT_EQ(format->avgBytesPerSec, c.bytesPerSec);
        EXPECT_EQ(format->blockAlign, c.align);
        EXPECT_EQ(format->bitsPerSample, c.bits);
        EXPECT_EQ(format->extraSize, 0);
        Bytes expected = Fixture(std::string(c.name) + ".raw");
        EXPECT_EQ(wave.GetSize(), expected.size());
        EXPECT_EQ(ReadAllData(wave, 7), expected);
        // ResetFile starts over; one large read takes everything at once.
        EXPECT_EQ(wave.ResetFile(), MWaveFile::kOk);
        EXPECT_EQ(ReadAllData(wave, 4096), expected);
        // The file stays open: it was only borrowed.
        wave.Close();
        EXPECT_EQ(file.IsOpen(), 1);
    }
}

TEST(WaveSox, ImaAdpcmKeepsItsExtraBytes) {
    MFileMMIO file;
    ASSERT_EQ(file.Open(MakeFileSpec(FixturePath("wave_ima_adpcm_mono.wav").c_str()), kModeReadExistingBinary, 1), 0);
    MWaveFile wave;
    ASSERT_EQ(wave.Open(&file, nullptr, MWaveFile::kModeRead), MWaveFile::kOk);
    const MWaveFormat* format = wave.GetFormat();
    EXPECT_EQ(format->formatTag, 0x11);
    EXPECT_EQ(format->bitsPerSample, 4);
    EXPECT_EQ(format->blockAlign, 256);
    EXPECT_EQ(format->extraSize, 2);
    EXPECT_EQ(format->extra, (Bytes{0xF9, 0x01}));  // 505 samples per block
    EXPECT_EQ(wave.GetSize(), 512u);
    Bytes whole = Fixture("wave_ima_adpcm_mono.wav");
    EXPECT_EQ(ReadAllData(wave, 100), Bytes(whole.end() - 512, whole.end()));
}

// A WAVE with the given chunks after "WAVE"; the RIFF size is exact.
Bytes MakeWave(const Bytes& chunks) {
    Bytes out;
    PutText(out, "RIFF");
    PutLe32(out, static_cast<std::uint32_t>(4 + chunks.size()));
    PutText(out, "WAVE");
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

Bytes Chunk(const char* id, const Bytes& data, std::uint32_t size) {
    Bytes out;
    PutText(out, id);
    PutLe32(out, size);
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
    return out;
}

Bytes Chunk(const char* id, const Bytes& data) { return Chunk(id, data, static_cast<std::uint32_t>(data.size())); }

Bytes PcmFormat() { return {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0}; }

class WaveDamaged : public testing::Test {
protected:
    int OpenBytes(const Bytes& bytes) {
        WriteFileBytes(folder / "w.wav", bytes);
        file.Close();
        file.Open(folder.Spec("w.wav"), kModeReadExistingBinary, 1);
        return wave.Open(&file, nullptr, MWaveFile::kModeRead);
    }
    TempFolder folder;
    MFileMMIO file;
    MWaveFile wave;
};

TEST_F(WaveDamaged, StructuralFaultsFailTheOpen) {
    // "fmt " shorter than 16 bytes.
    EXPECT_EQ(OpenBytes(MakeWave(Chunk("fmt ", Bytes(12, 1)) + Chunk("data", {1, 2}))), MWaveFile::kFail);
    EXPECT_EQ(wave.GetFormat(), nullptr);
    // Not RIFF, not WAVE, no "fmt ", no "data", too short for a header.
    Bytes notRiff = MakeWave(Chunk("fmt ", PcmFormat()) + Chunk("data", {1}));
    notRiff[0] = 'X';
    EXPECT_EQ(OpenBytes(notRiff), MWaveFile::kFail);
    Bytes notWave = MakeWave(Chunk("fmt ", PcmFormat()) + Chunk("data", {1}));
    notWave[8] = 'X';
    EXPECT_EQ(OpenBytes(notWave), MWaveFile::kFail);
    EXPECT_EQ(OpenBytes(MakeWave(Chunk("data", {1}))), MWaveFile::kFail);
    EXPECT_EQ(OpenBytes(MakeWave(Chunk("fmt ", PcmFormat()))), MWaveFile::kFail);
    EXPECT_EQ(OpenBytes(Bytes{'R', 'I', 'F', 'F'}), MWaveFile::kFail);
    // Extra bytes announced beyond the format chunk.
    Bytes alaw = {6, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0, 9, 0};
    EXPECT_EQ(OpenBytes(MakeWave(Chunk("fmt ", alaw) + Chunk("data", {1}))), MWaveFile::kFail);
    // Writing a WAVE is not what this reader does.
    WriteFileBytes(folder / "x", MakeWave(Chunk("fmt ", PcmFormat()) + Chunk("data", {1})));
    EXPECT_EQ(wave.Open(&file, nullptr, 2), MWaveFile::kFail);
    EXPECT_EQ(wave.Open(nullptr, nullptr, MWaveFile::kModeRead), MWaveFile::kFail);
}

TEST_F(WaveDamaged, OddChunksArePaddedAndNonPcmWithoutExtraSizeIsAccepted) {
    Bytes alaw16 = {6, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
    ASSERT_EQ(OpenBytes(MakeWave(Chunk("fmt ", alaw16) + Chunk("junk", {9, 9, 9}) + Chunk("data", {5, 6, 7}))),
              MWaveFile::kOk);
    EXPECT_EQ(wave.GetFormat()->extraSize, 0);
    EXPECT_EQ(ReadAllData(wave, 2), (Bytes{5, 6, 7}));
}

TEST_F(WaveDamaged, DataBeyondTheFileThrowsInsteadOfPromisingSamples) {
    Bytes bytes = MakeWave(Chunk("fmt ", PcmFormat()) + Chunk("data", {1, 2, 3, 4}, 0xFFFFFFF0u));
    ExpectFileException([&] { OpenBytes(bytes); }, "win32/MFileMMIO", 177);
    // A file cut inside the format chunk.
    Bytes cut = MakeWave(Chunk("fmt ", PcmFormat()) + Chunk("data", {1}));
    cut.resize(28);
    ExpectFileException([&] { OpenBytes(cut); }, "win32/MFileMMIO", 177);
    // The RIFF announces chunks the file does not have.
    Bytes riffTooLong = MakeWave(Chunk("fmt ", PcmFormat()));
    riffTooLong[4] = 0xF0;
    ExpectFileException([&] { OpenBytes(riffTooLong); }, "win32/MFileMMIO", 177);
}

TEST_F(WaveDamaged, ReadsFollowTheSoundEvenIfTheHandleWasMovedElsewhere) {
    ASSERT_EQ(OpenBytes(MakeWave(Chunk("fmt ", PcmFormat()) + Chunk("data", {10, 11, 12, 13}))), MWaveFile::kOk);
    std::uint8_t buffer[2];
    std::uint32_t got = 0;
    wave.Read(buffer, 2, &got);
    file.Seek(0, kSeekBegin);
    wave.Read(buffer, 2, &got);
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(buffer[0], 12);
    EXPECT_EQ(buffer[1], 13);
}

}  // namespace
