// TGA decoding: fixtures written by ImageMagick, the layout rules of the
// decoder, hostile headers, and the device pixel conversions.

#include "platform/storage/MFileMMIO.h"
#include "formats/MImage.h"
#include "platform/render/MPixelFormats.h"
#include "tests/support/FileTestHelpers.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// The 5 x 3 source picture the fixtures were made from, as 0xRRGGBBAA.
std::vector<std::uint32_t> SourcePixels(bool dropAlpha) {
    std::ifstream in(FixturePath("tga_source.txt"));
    std::vector<std::uint32_t> pixels(15);
    std::string line;
    while (std::getline(in, line)) {
        int x, y, r, g, b, a;
        if (std::sscanf(line.c_str(), "%d,%d: (%d,%d,%d,%d)", &x, &y, &r, &g, &b, &a) == 6) {
            pixels[y * 5 + x] = std::uint32_t(r) << 24 | std::uint32_t(g) << 16 | std::uint32_t(b) << 8 |
                                std::uint32_t(dropAlpha ? 255 : a);
        }
    }
    return pixels;
}

// Decodes the bytes as a TGA file.
int Decode(const Bytes& tga, MImage& image) {
    TempFolder folder;
    WriteFileBytes(folder / "i.tga", tga);
    MFileMMIO file;
    file.Open(folder.Spec("i.tga"), kModeReadExistingBinary, 1);
    return image.Load(file);
}

Bytes Header(int type, int width, int height, int depth, int descriptor, int idLength = 0, int mapLength = 0) {
    Bytes h(18, 0);
    h[0] = static_cast<std::uint8_t>(idLength);
    h[2] = static_cast<std::uint8_t>(type);
    h[5] = static_cast<std::uint8_t>(mapLength);
    h[6] = static_cast<std::uint8_t>(mapLength >> 8);
    h[12] = static_cast<std::uint8_t>(width);
    h[13] = static_cast<std::uint8_t>(width >> 8);
    h[14] = static_cast<std::uint8_t>(height);
    h[15] = static_cast<std::uint8_t>(height >> 8);
    h[16] = static_cast<std::uint8_t>(depth);
    h[17] = static_cast<std::uint8_t>(descriptor);
    return h;
}

struct FixtureCase {
    const char* name;
    int depth;
    bool runLength;
    bool bottomUp;
};

TEST(TgaFixtures, ImageMagickFilesDecodeToTheSourcePicture) {
    const FixtureCase cases[] = {
        {"tga_type2_24_bottomup.tga", 24, false, true},  {"tga_type2_24_topdown.tga", 24, false, false},
        {"tga_type2_32_bottomup.tga", 32, false, true},  {"tga_type2_32_topdown.tga", 32, false, false},
        {"tga_type10_24_bottomup.tga", 24, true, true},  {"tga_type10_32_bottomup.tga", 32, true, true},
        {"tga_type10_32_topdown.tga", 32, true, false},
    };
    for (const FixtureCase& c : cases) {
        SCOPED_TRACE(c.name);
        MImage image;
        MFileMMIO file;
        ASSERT_EQ(file.Open(MakeFileSpec(FixturePath(c.name).c_str()), kModeReadExistingBinary, 1), 0);
        ASSERT_EQ(image.Load(file), 0);
        EXPECT_EQ(image.width, 5);
        EXPECT_EQ(image.height, 3);
        EXPECT_EQ(image.lastColumn, 4);
        EXPECT_EQ(image.lastRow, 2);
        EXPECT_EQ(image.depth, c.depth);
        EXPECT_EQ(image.hasAlpha, c.depth == 32 ? 1 : 0);
        EXPECT_EQ(image.runLength, c.runLength ? 1 : 0);
        EXPECT_EQ(image.bottomUp, c.bottomUp ? 1 : 0);
        EXPECT_EQ(image.pixels, SourcePixels(c.depth == 24));
    }
}

TEST(TgaLayout, SizesOriginsAndTheIdentifierAndColourMapAreSkipped) {
    // 3 x 5, origin (-20, 300), a 3-byte identifier and a colour map of 2 entries.
    Bytes tga = Header(2, 3, 5, 24, 0x20, 3, 2);
    tga[8] = 0xEC; tga[9] = 0xFF;  // -20
    tga[10] = 0x2C; tga[11] = 0x01;  // 300
    tga = tga + Bytes{'i', 'd', '!'} + Bytes(8, 0xEE);
    for (int i = 0; i < 15; ++i) tga = tga + Bytes{std::uint8_t(i), 0, 0};
    MImage image;
    ASSERT_EQ(Decode(tga, image), 0);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 5);
    EXPECT_EQ(image.lastColumn, 2);
    EXPECT_EQ(image.lastRow, 4);
    EXPECT_EQ(image.xOrigin, -20);
    EXPECT_EQ(image.yOrigin, 300);
    EXPECT_EQ(image.descriptor, 0x20);
    EXPECT_EQ(image.At(0, 0), 0x000000FFu);
    EXPECT_EQ(image.At(2, 4), 0x00000EFFu);
}

TEST(TgaLayout, BottomUpRowsAreStoredTopRowFirst) {
    // Raw pixels P1 P2 P3 P4 (blue 1..4) of a bottom-up 2 x 2 image.
    Bytes tga = Header(2, 2, 2, 24, 0) + Bytes{1, 0, 0, 2, 0, 0, 3, 0, 0, 4, 0, 0};
    MImage image;
    ASSERT_EQ(Decode(tga, image), 0);
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0x3FF, 0x4FF, 0x1FF, 0x2FF}));
}

TEST(TgaLayout, RunAndRawPacketsAndTheOpaque24BitPixel) {
    // 0x82: one pixel three times; 0x02: three pixels. b=0x10 g=0x20 r=0x30.
    Bytes tga = Header(10, 6, 1, 24, 0x20) + Bytes{0x82, 0x10, 0x20, 0x30} +
                Bytes{0x02, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    MImage image;
    ASSERT_EQ(Decode(tga, image), 0);
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0x302010FF, 0x302010FF, 0x302010FF, 0x030201FF,
                                                         0x060504FF, 0x090807FF}));
    EXPECT_EQ(ToA8R8G8B8(0x302010FF), 0xFF302010u);
}

TEST(TgaLayout, PacketsRunAcrossRowsAndAreCutAtTheLastPixel) {
    // 3 x 2 bottom-up, one run of 128 for 6 pixels: the run is cut, nothing more is written.
    Bytes tga = Header(10, 3, 2, 32, 0) + Bytes{0xFF, 1, 2, 3, 4};
    MImage image;
    ASSERT_EQ(Decode(tga, image), 0);
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(6, 0x03020104));
    // A raw packet longer than the picture stops at the last pixel as well.
    tga = Header(10, 2, 1, 24, 0x20) + Bytes{0x03, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4};
    ASSERT_EQ(Decode(tga, image), 0);
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{0x010101FF, 0x020202FF}));
}

TEST(TgaUnsupported, OtherTypesAndDepthsGive28AndNoImage) {
    MImage image;
    EXPECT_EQ(Decode(Header(1, 2, 2, 8, 0) + Bytes(64, 0), image), kResultUnsupportedImage);
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_EQ(Decode(Header(2, 2, 2, 16, 0) + Bytes(64, 0), image), kResultUnsupportedImage);
    EXPECT_EQ(Decode(Header(3, 2, 2, 8, 0), image), kResultUnsupportedImage);
    EXPECT_EQ(image.width, 0);
    // Only three bytes are needed to know the type.
    EXPECT_EQ(Decode(Bytes{0, 0, 9}, image), kResultUnsupportedImage);
}

TEST(TgaDamaged, ShortDataThrowsBeforeAnythingLargeIsAllocated) {
    const char* unit = "win32/MFileMMIO";
    MImage image;
    ExpectFileException([&] { Decode(Bytes{0, 0, 2, 0, 0}, image); }, unit, 189);
    ExpectFileException([&] { Decode(Header(2, 2, 2, 24, 0) + Bytes(11, 0), image); }, unit, 189);
    // 65535 x 65535 pixels announced by a handful of bytes, raw and run-length.
    ExpectFileException([&] { Decode(Header(2, 0xFFFF, 0xFFFF, 32, 0) + Bytes(64, 0), image); }, unit, 189);
    ExpectFileException([&] { Decode(Header(10, 0xFFFF, 0xFFFF, 32, 0) + Bytes{0xFF, 1, 2, 3, 4}, image); }, unit, 189);
    // Packets that end before the picture does; a run whose pixel is cut off.
    ExpectFileException([&] { Decode(Header(10, 4, 1, 24, 0) + Bytes{0x81, 1, 2, 3, 0x01, 1}, image); }, unit, 189);
    ExpectFileException([&] { Decode(Header(10, 300, 1, 24, 0) + Bytes{0xFF, 1, 2, 3, 0xFF, 1, 2, 3, 0x80}, image); },
                        unit, 189);
    EXPECT_TRUE(image.pixels.empty());
    // An identifier longer than the file.
    ExpectFileException([&] { Decode(Header(2, 1, 1, 24, 0, 200), image); }, unit, 189);
}

TEST(TgaEncoder, EveryTypeDepthAndRowOrderRoundTrips) {
    MImage source;
    source.width = 131;  // a run longer than one packet, raw stretches and odd sizes
    source.height = 3;
    source.xOrigin = -7;
    source.yOrigin = 9;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 131; ++x) {
            std::uint32_t value = (y == 1 && x < 130) ? 0x11223344u : 0x01000000u * x + 0x100u * y + 0x80u;
            source.pixels.push_back(value);
        }
    }
    for (int type : {2, 10}) {
        for (int depth : {24, 32}) {
            for (bool bottomUp : {false, true}) {
                SCOPED_TRACE(testing::Message() << type << " " << depth << " " << bottomUp);
                MImage image;
                ASSERT_EQ(Decode(EncodeTga(source, type, depth, bottomUp), image), 0);
                EXPECT_EQ(image.xOrigin, -7);
                EXPECT_EQ(image.yOrigin, 9);
                EXPECT_EQ(image.bottomUp, bottomUp ? 1 : 0);
                std::vector<std::uint32_t> expected = source.pixels;
                if (depth == 24) for (auto& p : expected) p |= 0xFF;
                EXPECT_EQ(image.pixels, expected);
            }
        }
    }
}

TEST(PixelFormats, SixteenBitScalingAndTheAlphaBitRules) {
    EXPECT_EQ(ToA4R4G4B4(0xFF808000u), 0x0F77u);  // a 0 -> 0, r 255 -> 15, g 128 -> 7, b 128 -> 7
    EXPECT_EQ(ToA4R4G4B4(0x000000FFu), 0xF000u);
    EXPECT_EQ(ToA1R5G5B5Texture(0x00000080u), 0x8000u);
    EXPECT_EQ(ToA1R5G5B5Texture(0x0000007Fu), 0x0000u);
    EXPECT_EQ(ToA1R5G5B5Surface(0x00000001u), 0x8000u);
    EXPECT_EQ(ToA1R5G5B5Surface(0xFFFFFF00u), 0x7FFFu);
    EXPECT_EQ(ToR5G6B5(0xFFFFFF00u), 0xFFFFu);
    EXPECT_EQ(ToR5G6B5(0x80808000u), (15u << 11) | (31u << 5) | 15u);
    EXPECT_EQ(ToX1R5G5B5(0xFFFFFFFFu), 0x7FFFu);
    EXPECT_EQ(ConvertTexel(PixelFormat::X8R8G8B8, 0x11223344u), 0x44112233u);
    EXPECT_EQ(ConvertTexel(PixelFormat::A1R5G5B5, 0x00000001u), 0u);
    EXPECT_EQ(ConvertSurfacePixel(PixelFormat::A1R5G5B5, 0x00000001u), 0x8000u);
    EXPECT_EQ(ConvertTexel(PixelFormat::Unknown, 0xFFFFFFFFu), 0x7FFFu);  // other 16-bit formats: X1R5G5B5
}

TEST(PixelFormats, ConvertImageAdvancesRowsByThePitch) {
    MImage image;
    image.width = 2;
    image.height = 2;
    image.pixels = {0xFF0000FFu, 0x00FF00FFu, 0x0000FF00u, 0xFFFFFF80u};
    std::vector<std::uint16_t> memory(2 * 3, 0xAAAA);  // rows of 3 texels
    ASSERT_TRUE(ConvertImage(image, PixelFormat::A1R5G5B5, false, memory.data(), 6));
    EXPECT_EQ(memory, (std::vector<std::uint16_t>{0xFC00, 0x83E0, 0xAAAA, 0x001F, 0xFFFF, 0xAAAA}));
    std::vector<std::uint32_t> wide(4);
    ASSERT_TRUE(ConvertImage(image, PixelFormat::A8R8G8B8, true, wide.data(), 8));
    EXPECT_EQ(wide, (std::vector<std::uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0x000000FFu, 0x80FFFFFFu}));
    EXPECT_FALSE(ConvertImage(image, PixelFormat::Unknown, false, wide.data(), 8));
}

}  // namespace
