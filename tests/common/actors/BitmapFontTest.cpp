// Bitmap fonts read from an archive of glyph pictures and drawn on the software renderer.

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "formats/CFileMM.h"
#include "common/actors/CFont.h"
#include "common/actors/CSprite.h"
#include "platform/core/CException.h"
#include "tests/support/GraphicsTestSupport.h"
#include "tests/support/ArchiveBuilder.h"
#include "tests/support/SettingsSandbox.h"

namespace {

using gfxtest::HeadlessRenderer;
using gfxtest::MakeImage;

// An archive whose entry 0 is an anim chunk of glyphs of the given widths (all
// 14 pixels high, solid white), and entry 1 a chunk of another kind.
std::string WriteFontArchive(const std::string& folder, const std::vector<int>& widths, long claimedCount = -1) {
    ArchiveBuilder archive(folder + "/font.mm", 2);
    std::vector<MImage> glyphs;
    for (int w : widths) {
        glyphs.push_back(MakeImage(w, 14, [](int, int) { return 0xFFFFFFFFu; }));
        glyphs.back().yOrigin = -3;
    }
    archive.Entry(0);
    archive.Anim(glyphs, claimedCount);
    archive.Entry(1);
    archive.Chunk(kIdWave, "RIFF", 4);
    return archive.Finish();
}

class BitmapFont : public HeadlessRenderer {
protected:
    void SetUp() override {
        HeadlessRenderer::SetUp();
        folder = MakeTempFolder("font");
    }
    void TearDown() override {
        delete font;
        RemoveTree(folder);
        HeadlessRenderer::TearDown();
    }
    CFont* Load(const std::vector<int>& widths, int spacing, int fixed) {
        CFileMM archive;
        EXPECT_EQ(archive.OpenArchive(MakeFileSpec(WriteFontArchive(folder, widths).c_str()), kModeReadExisting), 0);
        archive.SeekEntry(0);
        return LoadFont('0', archive, spacing, fixed);
    }

    std::string folder;
    CFont* font = nullptr;
};

TEST_F(BitmapFont, MetricsComeFromTheGlyphs) {
    font = Load({10, 12, 8, 8, 8, 9, 8, 8, 8, 8}, 2, 0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->firstChar, '0');
    EXPECT_EQ(font->GetCount(), 10);
    EXPECT_EQ(font->lineHeight, 14);
    EXPECT_EQ(font->baseOffset, -3);
    EXPECT_EQ(font->maxWidth, 12);
    EXPECT_EQ(font->Advance('5'), 9);
    EXPECT_EQ(font->Advance('A'), 12);
    EXPECT_EQ(font->Advance('/'), 12);
    EXPECT_EQ(font->Glyph('A'), nullptr);
    EXPECT_NE(font->Glyph('9'), nullptr);
    EXPECT_EQ(font->TextWidth("12", 0, 100), 12 + 8 + 4);
    EXPECT_EQ(font->TextWidth("01", 0, 100), 26);
    EXPECT_EQ(font->TextWidth("01\n99999", 0, 100), 26);
    EXPECT_EQ(font->TextWidth("0101", 0, 2), 26);
    EXPECT_EQ(font->TextWidth("05", 1, 100), 10);
}

TEST_F(BitmapFont, FixedWidthAdvancesByTheWidestGlyph) {
    font = Load({10, 12}, 2, 1);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->TextWidth("01", 0, 100), 28);
}

TEST_F(BitmapFont, ALineIsDrawnGlyphByGlyphWithSpacesAndReturns) {
    font = Load({10, 12}, 2, 0);
    ASSERT_NE(font, nullptr);
    int end = font->DrawText(100, 200, "0 1\r1", 100);
    EXPECT_EQ(end, 100 + 12 + 2);  // the pen after the second row's "1" and its spacing
    EXPECT_EQ(Pixel(100, 200), 0xFFFFFFu);     // "0" at the start
    EXPECT_EQ(Pixel(109, 213), 0xFFFFFFu);
    EXPECT_EQ(Pixel(110, 200), 0u);            // spacing after it, then a space of 12
    EXPECT_EQ(Pixel(123, 205), 0u);
    EXPECT_EQ(Pixel(124, 205), 0xFFFFFFu);     // "1" at 100 + 10 + 2 + 12
    EXPECT_EQ(Pixel(100, 214), 0xFFFFFFu);     // the next row, one line lower
}

TEST_F(BitmapFont, AChunkOfAnotherKindOrAnImpossibleCountThrows) {
    CFileMM archive;
    ASSERT_EQ(archive.OpenArchive(MakeFileSpec(WriteFontArchive(folder, {10}).c_str()), kModeReadExisting), 0);
    archive.SeekEntry(1);
    try {
        LoadFont('0', archive, 0, 0);
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.Unit(), "common/CFont");
        EXPECT_EQ(e.Line(), 88);
    }
    archive.Close();

    // Counts the glyph bytes cannot hold are refused before the table is sized.
    for (long count : {0x7FFFFFFL, 0x08000000L, 50L, 40000L}) {
        SCOPED_TRACE("count " + std::to_string(count));
        CFileMM hostile;
        ASSERT_EQ(hostile.OpenArchive(MakeFileSpec(WriteFontArchive(folder, {10}, count).c_str()), kModeReadExisting),
                  0);
        hostile.SeekEntry(0);
        try {
            LoadFont('0', hostile, 0, 0);
            FAIL() << "no exception";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.Unit(), "common/CFont");
            EXPECT_EQ(e.Line(), 88);
        }
    }
}

}  // namespace
