// The packer run as a child process on a small manifest with every item kind;
// the engine's own readers (archive, TGA decoder, WAVE reader) read it back.

#include "formats/CFileMM.h"
#include "platform/core/CException.h"
#include "formats/MImage.h"
#include "formats/MWaveFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

// environment: "NAME=value ..." words put before the command.
RunResult RunPacker(const std::string& arguments, const std::string& environment = "") {
    const std::string command = environment + " " + std::string(ZANBOR_BIN_DIR) + "/zanbor-pack " + arguments + " 2>&1";
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0) result.output.append(buffer, n);
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const fs::path kData = fs::path(ZANBOR_SOURCE_DIR) / "tests/data/packer";

class AssetPackerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new fs::path(fs::temp_directory_path() / ("zanbor-pack-test-" + std::to_string(getpid())));
        fs::create_directories(*folder);
        packed = new RunResult(RunPacker("--output " + (*folder / "test.mm").string() + " " +
                                         (kData / "roundtrip.manifest").string()));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*folder);
        delete folder;
        delete packed;
    }

    void SetUp() override {
        ASSERT_EQ(packed->exitCode, 0) << packed->output;
        ASSERT_EQ(archive.OpenArchive(MakeFileSpec((*folder / "test.mm").c_str()), kModeReadExisting), 0);
    }
    void TearDown() override {
        if (archive.IsOpen()) archive.Close();
    }

    // The next chunk must be of this kind; returns its header.
    ChunkHeader Expect(std::int32_t id) {
        ChunkHeader header;
        archive.ReadChunkHeader(&header);
        EXPECT_EQ(header.id, id);
        return header;
    }

    MImage ReadPicture() {
        Expect(kIdRgba);
        MImage image;
        EXPECT_EQ(image.Load(archive), 0);
        archive.Ascend();
        return image;
    }

    std::vector<MImage> ReadArray() {
        Expect(kIdAnim);
        long count = 0;
        archive.ReadLong(&count);
        std::vector<MImage> frames;
        for (long i = 0; i < count; ++i) frames.push_back(ReadPicture());
        archive.Ascend();
        return frames;
    }

    std::vector<std::int16_t> ReadSound(MWaveFormat* format) {
        Expect(kIdWave);
        MWaveFile wave;
        EXPECT_EQ(wave.Open(&archive, nullptr, MWaveFile::kModeRead), MWaveFile::kOk);
        *format = *wave.GetFormat();
        std::vector<std::int16_t> samples(wave.GetSize() / 2);
        std::uint32_t read = 0;
        EXPECT_EQ(wave.Read(reinterpret_cast<std::uint8_t*>(samples.data()), wave.GetSize(), &read), MWaveFile::kOk);
        EXPECT_EQ(read, wave.GetSize());
        wave.Close();
        archive.Ascend();
        return samples;
    }

    std::vector<std::uint8_t> ReadChunkBytes(std::int32_t id) {
        ChunkHeader header = Expect(id);
        std::vector<std::uint8_t> bytes(header.size);
        archive.ReadBytes(bytes.data(), static_cast<int>(bytes.size()));
        archive.Ascend();
        return bytes;
    }

    static fs::path* folder;
    static RunResult* packed;
    CFileMM archive;
};

fs::path* AssetPackerTest::folder = nullptr;
RunResult* AssetPackerTest::packed = nullptr;

TEST_F(AssetPackerTest, EntriesPointAtTheirRunsWhateverTheFileOrder) {
    ASSERT_EQ(archive.GetEntryCount(), 4);
    // File order is 0, 2, 1: the table, not the index, says where a run is.
    EXPECT_LT(archive.GetEntry(0), archive.GetEntry(2));
    EXPECT_LT(archive.GetEntry(2), archive.GetEntry(1));
    EXPECT_EQ(archive.GetEntry(3), archive.GetEntry(2));  // same-as
    EXPECT_EQ(archive.GetEntry(0), 12 + 8 + 4 + 4 * 4);   // right after the map
}

TEST_F(AssetPackerTest, SvgPictureKeepsColoursTransparencyAndAnchor) {
    archive.SeekEntry(0);
    MImage image = ReadPicture();
    ASSERT_EQ(image.width, 20);
    ASSERT_EQ(image.height, 10);
    EXPECT_EQ(image.xOrigin, -10);  // "centre"
    EXPECT_EQ(image.yOrigin, -5);
    EXPECT_EQ(image.runLength, 1);
    EXPECT_EQ(image.bottomUp, 0);
    EXPECT_EQ(image.depth, 32);
    EXPECT_EQ(image.At(0, 0), 0xFF0000FFu);  // ${left} filled in: opaque red
    EXPECT_EQ(image.At(9, 9), 0xFF0000FFu);
    EXPECT_EQ(image.At(15, 8) & 0xFF, 0u);  // clear
    // Half-transparent green comes out with straight (not premultiplied) colour.
    const std::uint32_t half = image.At(15, 2);
    EXPECT_NEAR(static_cast<int>(half & 0xFF), 128, 1);
    EXPECT_NEAR(static_cast<int>((half >> 16) & 0xFF), 255, 2);
    EXPECT_EQ(half >> 24, 0u);
}

TEST_F(AssetPackerTest, SpriteArraysAndFontsKeepCountSizesAndOrigins) {
    archive.SeekEntry(0);
    ReadPicture();
    std::vector<MImage> sprites = ReadArray();
    ASSERT_EQ(sprites.size(), 3u);
    EXPECT_EQ(sprites[0].width, 4);
    EXPECT_EQ(sprites[0].height, 6);
    EXPECT_EQ(sprites[0].xOrigin, 0);
    EXPECT_EQ(sprites[1].width, 8);
    EXPECT_EQ(sprites[1].xOrigin, -3);
    EXPECT_EQ(sprites[1].yOrigin, 7);
    EXPECT_EQ(sprites[2].xOrigin, -2);  // "bottom" of 5 x 5
    EXPECT_EQ(sprites[2].yOrigin, -5);
    EXPECT_EQ(sprites[0].At(3, 5), 0x0000FFFFu);

    std::vector<MImage> glyphs = ReadArray();  // rendered, "A" to "E"
    ASSERT_EQ(glyphs.size(), 5u);
    for (const MImage& glyph : glyphs) {
        EXPECT_EQ(glyph.height, glyphs[0].height);
        EXPECT_GT(glyph.width, 3);
        bool white = false, shadow = false;
        for (std::uint32_t p : glyph.pixels) {
            const std::uint32_t r = p >> 24, g = (p >> 16) & 0xFF, b = (p >> 8) & 0xFF, a = p & 0xFF;
            white = white || (r > 240 && g > 240 && b > 240 && a > 240);
            shadow = shadow || (r < 16 && g < 16 && b < 16 && a > 200);
        }
        EXPECT_TRUE(white && shadow) << "a glyph in white with its black shadow";
    }
    std::vector<MImage> drawn = ReadArray();  // a font of drawn frames
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].width, 3);
    EXPECT_EQ(drawn[1].width, 6);
    EXPECT_EQ(drawn[0].At(1, 1), 0x0000FFFFu);  // the global ${blue}
}

TEST_F(AssetPackerTest, SoundsReadBackAsSynthesisedOrAsGiven) {
    archive.SeekEntry(2);
    MWaveFormat format;
    std::vector<std::int16_t> square = ReadSound(&format);
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.samplesPerSec, 8000u);
    EXPECT_EQ(format.bitsPerSample, 16);
    ASSERT_EQ(square.size(), 2000u);  // 0.25 s
    // 100 Hz at 8000 Hz: 40 samples high, then 40 low, at half scale.
    EXPECT_EQ(square[0], 16384);
    EXPECT_EQ(square[38], 16384);
    EXPECT_EQ(square[41], -16384);
    EXPECT_EQ(square[85], 16384);

    std::vector<std::int16_t> stereo = ReadSound(&format);
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.samplesPerSec, 22050u);
    ASSERT_EQ(stereo.size(), 2u * 11025u);
    int peak = 0;
    for (std::int16_t s : stereo) peak = std::max(peak, std::abs(static_cast<int>(s)));
    EXPECT_NEAR(peak, 16384, 2);  // normalise=0.5
    // The sine is panned hard left: in its first 0.2 s the right channel is silent.
    for (std::size_t i = 0; i < 4000; ++i) ASSERT_EQ(stereo[2 * i + 1], 0) << i;

    std::vector<std::int16_t> given = ReadSound(&format);
    EXPECT_EQ(format.samplesPerSec, 8000u);
    EXPECT_EQ(given, (std::vector<std::int16_t>{0, 1000, -1000, 32767, -32768, 7}));
}

TEST_F(AssetPackerTest, ScoresBecomeLoopableMidiFilesAndMidiFilesStayAsGiven) {
    archive.SeekEntry(1);
    std::vector<std::uint8_t> midi = ReadChunkBytes(kIdMidi);
    ASSERT_GT(midi.size(), 14u);
    EXPECT_EQ(std::string(midi.begin(), midi.begin() + 4), "MThd");
    EXPECT_EQ(midi[9], 1);   // format 1
    EXPECT_EQ(midi[11], 3);  // tempo track and two parts
    // Every track ends on the second bar line of 3/4 (2 x 1440 ticks): the end
    // event comes after the same total delta in each track.
    std::size_t pos = 14;
    int tracks = 0;
    while (pos + 8 <= midi.size()) {
        ASSERT_EQ(std::string(midi.begin() + static_cast<long>(pos), midi.begin() + static_cast<long>(pos) + 4), "MTrk");
        const std::size_t length = static_cast<std::size_t>(midi[pos + 4]) << 24 | midi[pos + 5] << 16 | midi[pos + 6] << 8 | midi[pos + 7];
        std::size_t p = pos + 8, end = p + length;
        long tick = 0;
        int status = 0;
        bool ended = false;
        while (p < end && !ended) {
            long delta = 0;
            do delta = delta << 7 | (midi[p] & 0x7F); while (midi[p++] & 0x80);
            tick += delta;
            if (midi[p] & 0x80) status = midi[p++];
            if (status == 0xFF) {
                const int type = midi[p++];
                const int len = midi[p++];
                ended = type == 0x2F;
                p += static_cast<std::size_t>(len);
            } else {
                p += ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0) ? 1 : 2;
            }
        }
        EXPECT_TRUE(ended);
        EXPECT_EQ(p, end);
        EXPECT_EQ(tick, 2 * 1440) << "track " << tracks;
        ++tracks;
        pos = end;
    }
    EXPECT_EQ(tracks, 3);

    EXPECT_EQ(ReadChunkBytes(kIdMidi), ReadFile(kData / "tiny.mid"));
}

TEST_F(AssetPackerTest, ListingDescribesEveryChunk) {
    RunResult list = RunPacker("--list " + (*folder / "test.mm").string());
    ASSERT_EQ(list.exitCode, 0) << list.output;
    for (const char* expected : {"archive ", "4 entries", "picture 20x10 origin -10,-5 type 10",
                                 "array 3 frames", "frame 1: 8x2 origin -3,7 type 10", "array 5 frames",
                                 "sound PCM 1 ch 8000 Hz 16 bit 2000 frames 0.250 s",
                                 "sound PCM 2 ch 22050 Hz 16 bit 11025 frames 0.500 s",
                                 "music SMF format 1 3 tracks 2880 ticks 3.00 s", "music SMF format 0 1 tracks",
                                 "entry 3 @", "same run as entry 2"})
        EXPECT_NE(list.output.find(expected), std::string::npos) << expected << "\n" << list.output;
}

TEST_F(AssetPackerTest, DamagedArchivesAreReportedWithUnitAndLineNeverACrash) {
    const std::vector<std::uint8_t> good = ReadFile(*folder / "test.mm");
    struct Damage {
        const char* name;
        std::size_t keep;       // bytes kept (truncation), or the full size
        std::size_t at;         // a byte to overwrite, or npos
        std::uint8_t value;
    };
    const std::size_t all = good.size(), none = std::string::npos;
    for (const Damage& d : {Damage{"cut inside the map", 22, none, 0}, Damage{"form type", all, 8, 'X'},
                            Damage{"cut in the middle", all / 2, none, 0}, Damage{"first chunk size", all, 47, 0x7F},
                            Damage{"map identifier", all, 12, 'x'}}) {
        std::vector<std::uint8_t> bytes(good.begin(), good.begin() + static_cast<long>(d.keep));
        if (d.at != none) bytes[d.at] = d.value;
        const fs::path path = *folder / "damaged.mm";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        RunResult list = RunPacker("--list " + path.string());
        EXPECT_EQ(list.exitCode, 2) << d.name << "\n" << list.output;
        EXPECT_NE(list.output.find("damaged archive"), std::string::npos) << d.name << "\n" << list.output;
        EXPECT_NE(list.output.find(" line: "), std::string::npos) << d.name << "\n" << list.output;
    }
    EXPECT_EQ(RunPacker("--list " + (*folder / "missing.mm").string()).exitCode, 1);
}

TEST_F(AssetPackerTest, FaultySourcesStopThePackerWithTheirPlaceAndLeaveNoArchive) {
    const fs::path manifest = *folder / "bad.manifest";
    const fs::path out = *folder / "bad.mm";
    struct Case {
        const char* text;
        const char* message;
    };
    for (const Case& c : {Case{"entry 0\nwobble svg=x.svg\n", "bad.manifest:2: unknown item"},
                          Case{"entry 1\nsound\n layer wave=sine\nend\n", "entry 0 is missing"},
                          Case{"entry 0\nsprites\n frame svg=block.svg w=4\nend\n", "no value for ${h}"},
                          Case{"entry 0\nsound\n layer wave=organ\nend\n", "bad.manifest:3: wave must be"},
                          Case{"entry 0\nfor a,b in 1,2 3\nendfor\n", "bad.manifest:2:"}}) {
        std::ofstream(manifest) << c.text;
        fs::copy_file(kData / "block.svg", *folder / "block.svg", fs::copy_options::overwrite_existing);
        RunResult run = RunPacker("--output " + out.string() + " " + manifest.string());
        EXPECT_EQ(run.exitCode, 1) << c.text;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.text << "\n" << run.output;
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(out.string() + ".part"));
    }
}

// A label the named typeface cannot draw (the typeface missing, replaced by
// another, or without a glyph) stops the packer with the font and the label
// named, rather than packing boxes or blanks. The empty font folder is what a
// clean build root without the typeface looks like to fontconfig.
TEST_F(AssetPackerTest, ALabelItsFontCannotDrawStopsThePackerNamingFontAndLabel) {
    const fs::path fonts = *folder / "no-fonts";
    fs::create_directories(fonts);
    const fs::path emptyConfig = *folder / "no-fonts.conf";
    std::ofstream(emptyConfig) << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts.string() << "</dir><cachedir>"
                               << (*folder / "font-cache").string() << "</cachedir></fontconfig>\n";
    const auto svg = [](const std::string& family, const std::string& words) {
        return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"80\" height=\"20\"><text x=\"2\" y=\"15\"" +
               (family.empty() ? std::string() : " font-family=\"" + family + "\"") + ">" + words + "</text></svg>\n";
    };
    struct Case {
        std::string environment, manifest, svg;
        std::vector<std::string> message;
    };
    const Case cases[] = {
        {"FONTCONFIG_FILE=" + emptyConfig.string(), "entry 0\npicture svg=label.svg\n", svg("Liberation Sans", "Roll the dice"),
         {"label.svg", "\"Roll the dice\"", "\"Liberation Sans\"", "no font at all"}},
        {"", "entry 0\npicture svg=label.svg\n", svg("Zanbor Missing Face", "Quit"),
         {"\"Quit\"", "\"Zanbor Missing Face\"", "not installed: fontconfig matches"}},
        {"", "entry 0\npicture svg=label.svg\n", svg("Liberation Sans", "Roll &#x6F22;"),
         {"\"Roll \u6F22\"", "\"Liberation Sans\"", "no glyph for U+6F22"}},
        {"", "entry 0\npicture svg=label.svg\n", svg("", "Quit"), {"\"Quit\"", "names no font family"}},
        {"", "entry 0\nfont first=A last=C face=\"Zanbor Missing Face\" size=12\n", "",
         {"bad.manifest:2", "\"ABC\"", "\"Zanbor Missing Face\"", "not installed"}},
    };
    const fs::path manifest = *folder / "bad.manifest";
    const fs::path out = *folder / "bad.mm";
    for (const Case& c : cases) {
        std::ofstream(manifest) << c.manifest;
        std::ofstream(*folder / "label.svg") << c.svg;
        const RunResult run = RunPacker("--output " + out.string() + " " + manifest.string(), c.environment);
        EXPECT_EQ(run.exitCode, 1) << c.manifest << c.svg;
        for (const std::string& part : c.message)
            EXPECT_NE(run.output.find(part), std::string::npos) << part << " in:\n" << run.output;
        EXPECT_FALSE(fs::exists(out));
    }
}

}  // namespace

namespace {

// A screen made of the manifest's pictures: the probe's red square placed by its
// centre anchor, a line of glyphs; a layout fault names its line.
TEST_F(AssetPackerTest, PreviewPlacesPicturesByTheirAnchorsAndNamesFaultyLines) {
    const fs::path layout = *folder / "screen.layout";
    const fs::path png = *folder / "screen.png";
    std::ofstream(layout) << "size 40 30\npic 0 1 0 10 5\ntext 0 3 0 30 left ABC\n";
    RunResult run = RunPacker("--preview " + layout.string() + " --png " + png.string() + " " +
                              (kData / "roundtrip.manifest").string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::vector<std::uint8_t> bytes = ReadFile(png);
    ASSERT_GT(bytes.size(), 24u);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
    EXPECT_EQ(bytes[19], 40);  // IHDR width and height, big-endian
    EXPECT_EQ(bytes[23], 30);

    std::ofstream(layout) << "pic 0 1 0 10 5\npic 0 9 0 0 0\n";
    run = RunPacker("--preview " + layout.string() + " --png " + png.string() + " " +
                    (kData / "roundtrip.manifest").string());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("screen.layout:2: entry 0 has no item 9"), std::string::npos) << run.output;
}

}  // namespace

namespace {

// Recipe features for struck and resonant sounds: bounces (gaps and gains shrinking),
// a resonant band, and a level set over the sounding part under a ceiling.
TEST_F(AssetPackerTest, RecipesBounceRingInABandAndMeetTheirLoudness) {
    const fs::path manifest = *folder / "sounds.manifest";
    const fs::path out = *folder / "sounds.mm";
    std::ofstream(manifest) << "entry 0\n"
                               "sound\n format rate=8000 length=0.4\n"
                               " layer wave=square freq=2000 repeat=3 every=0.2 shrink=0.5 fade=0.5 length=0.01 "
                               "attack=0 release=0 gain=0.8\nend\n"
                               "sound\n format rate=8000 length=0.5\n layer wave=sine freq=500 bandpass=500 q=4\nend\n"
                               "sound\n format rate=8000 length=0.5\n layer wave=sine freq=2000 bandpass=500 q=4\nend\n"
                               "sound\n format rate=8000 length=0.5 loudness=-20\n layer wave=sine freq=300 length=0.25 gain=0.1\n"
                               " layer wave=sine freq=300 start=0.3 length=0.1 gain=0.001\nend\n"
                               "sound\n format rate=8000 length=0.5 loudness=0\n layer wave=noise length=0.01\nend\n";
    RunResult run = RunPacker("--output " + out.string() + " " + manifest.string());
    ASSERT_EQ(run.exitCode, 0) << run.output;
    archive.Close();
    ASSERT_EQ(archive.OpenArchive(MakeFileSpec(out.c_str()), kModeReadExisting), 0);
    archive.SeekEntry(0);
    MWaveFormat format;
    auto peakIn = [](const std::vector<std::int16_t>& s, double from, double to) {
        int peak = 0;
        for (std::size_t i = static_cast<std::size_t>(from * 8000); i < static_cast<std::size_t>(to * 8000); ++i)
            peak = std::max(peak, std::abs(static_cast<int>(s[i])));
        return peak / 32767.0;
    };
    auto rmsDb = [](const std::vector<std::int16_t>& s) {
        double sum = 0;
        for (std::int16_t v : s) sum += (v / 32768.0) * (v / 32768.0);
        return 10 * std::log10(sum / static_cast<double>(s.size()));
    };
    // Soundings at 0, 0.2 and 0.3 s, each half as loud as the one before.
    std::vector<std::int16_t> bounce = ReadSound(&format);
    EXPECT_NEAR(peakIn(bounce, 0, 0.02), 0.8, 0.01);
    EXPECT_NEAR(peakIn(bounce, 0.2, 0.22), 0.4, 0.01);
    EXPECT_NEAR(peakIn(bounce, 0.3, 0.32), 0.2, 0.01);
    EXPECT_LT(peakIn(bounce, 0.02, 0.2), 0.01);
    EXPECT_LT(peakIn(bounce, 0.22, 0.3), 0.01);
    // The band lets its own frequency through (a sine of gain 0.5: -9 dB) and holds one two
    // octaves away back.
    EXPECT_NEAR(rmsDb(ReadSound(&format)), -9, 0.5);
    EXPECT_LT(rmsDb(ReadSound(&format)), -20);
    // The loudness is that of the sounding part: the faint tail neither counts nor is cut.
    std::vector<std::int16_t> level = ReadSound(&format);
    EXPECT_NEAR(rmsDb(std::vector<std::int16_t>(level.begin(), level.begin() + 2000)), -20, 0.3);
    // A click asked for full loudness stops at the ceiling instead of clipping.
    std::vector<std::int16_t> click = ReadSound(&format);
    EXPECT_NEAR(peakIn(click, 0, 0.5), 0.89, 0.01);
}

}  // namespace
