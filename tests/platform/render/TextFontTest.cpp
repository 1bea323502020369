// System-font text on the software renderer, pixels read back.

#include <gtest/gtest.h>

#include <vector>

#include "platform/render/MTextFont.h"
#include "platform/render/MTexture.h"
#include "tests/support/GraphicsTestSupport.h"

namespace {

using gfxtest::HeadlessRenderer;

class TextFont : public HeadlessRenderer {
protected:
    void TearDown() override {
        MFontManager::Free();
        HeadlessRenderer::TearDown();
    }

    // The bounding box of the pixels brighter than the background in an area.
    SDL_Rect Inked(int left, int top, int right, int bottom) {
        int minX = right, minY = bottom, maxX = -1, maxY = -1;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if ((Pixel(x, y) & 0xFF) > 0x40) {
                    minX = std::min(minX, x);
                    minY = std::min(minY, y);
                    maxX = std::max(maxX, x);
                    maxY = std::max(maxY, y);
                }
        return maxX < 0 ? SDL_Rect{0, 0, 0, 0} : SDL_Rect{minX, minY, maxX - minX + 1, maxY - minY + 1};
    }
};

TEST_F(TextFont, AtlasSizeFollowsThePointSize) {
    EXPECT_EQ(MTextFont::TextureSizeFor(16), 256);
    EXPECT_EQ(MTextFont::TextureSizeFor(20), 256);
    EXPECT_EQ(MTextFont::TextureSizeFor(21), 512);
    EXPECT_EQ(MTextFont::TextureSizeFor(41), 1024);
    EXPECT_EQ(MTextFont::PixelHeightFor(16, 1.0f), 21);
    EXPECT_EQ(MTextFont::PixelHeightFor(8, 1.0f), 11);

    MFontManager* fonts = MFontManager::Get();
    ASSERT_EQ(fonts->AddFont("Arial", 16, 0), 0);
    ASSERT_EQ(fonts->AddFont("Arial", 20, kFontBold), 0);
    ASSERT_EQ(fonts->AddFont("Arial", 21, 0), 0);
    EXPECT_EQ(fonts->Font(0)->GetTextureWidth(), 256);
    EXPECT_EQ(fonts->Font(1)->GetTextureWidth(), 256);
    EXPECT_EQ(fonts->Font(2)->GetTextureWidth(), 512);
    // Only the rows the glyphs fill are kept.
    EXPECT_EQ(fonts->Font(0)->GetTextureHeight(), 128);
    // "Arial" resolves to an installed metric-compatible face; bold finds a bold file.
    EXPECT_STRNE(fonts->Font(0)->GetFontFile(), "");
    EXPECT_NE(std::string(fonts->Font(1)->GetFontFile()), fonts->Font(0)->GetFontFile());
}

TEST(TextFontAtlas, TheShapeOfLeastAreaHoldsEveryGlyph) {
    std::vector<int> tens(95, 10), wide(20, 200);
    struct Case {
        const std::vector<int>* advances;
        int glyphHeight, size, width, height;
    } cases[] = {
        {&tens, 21, 256, 256, 128},  // 5 rows of 23 (109 high); 128 x 256 ties and the wider wins
        {&tens, 21, 410, 256, 128},  // 1.6x: 5 rows of 23 take a quarter of the 512 square
        {&tens, 40, 256, 256, 256},  // 5 rows of 41 (204 high)
        {&wide, 21, 256, 256, 256},  // too many for the square: it holds what it can
    };
    for (const Case& c : cases) {
        const auto shape = MTextFont::ShapeAtlas(c.advances->data(), static_cast<int>(c.advances->size()),
                                                 c.glyphHeight, c.size);
        EXPECT_EQ(shape.width, c.width) << c.glyphHeight << " " << c.size;
        EXPECT_EQ(shape.height, c.height) << c.glyphHeight << " " << c.size;
    }
}

TEST_F(TextFont, TheTableHoldsEightFonts) {
    MFontManager* fonts = MFontManager::Get();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(fonts->AddFont("Arial", 8, kFontBold), 0);
    EXPECT_EQ(fonts->AddFont("Arial", 8, 0), kResultFontTableFull);
    EXPECT_EQ(fonts->GetFontCount(), 8);
    EXPECT_EQ(fonts->Font(8), nullptr);
}

TEST_F(TextFont, GlyphsAreLaidOutInRowsOnePixelApart) {
    MTextFont font("Arial", 16, 0);
    ASSERT_EQ(font.InitDeviceObjects(device->GetDevice()), 0);
    const float* space = font.GlyphCoords(' ');
    const float* bang = font.GlyphCoords('!');
    EXPECT_EQ(space[0], 0.0f);
    EXPECT_EQ(space[1], 0.0f);
    EXPECT_FLOAT_EQ(bang[0], space[2] + 1.0f / 256);
    const float* tilde = font.GlyphCoords('~');
    EXPECT_GT(tilde[1], 0.0f);  // the 95 glyphs need more than one row
    const float* none = font.GlyphCoords(127);
    EXPECT_EQ(none[2] - none[0], 0.0f);
}

TEST_F(TextFont, ExtentsCountLinesAndTheWidestLine) {
    MTextFont font("Arial", 16, 0);
    ASSERT_EQ(font.InitDeviceObjects(device->GetDevice()), 0);
    SIZE empty{-1, -1}, one{}, two{}, wide{};
    EXPECT_EQ(font.GetTextExtent("", &empty), 0);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_GT(empty.cy, 0);
    font.GetTextExtent("Roll", &one);
    font.GetTextExtent("Roll\nDice!", &two);
    font.GetTextExtent("Roll\rRoll", &wide);
    EXPECT_EQ(one.cy, empty.cy);
    EXPECT_EQ(two.cy, 2 * empty.cy);
    EXPECT_GT(two.cx, one.cx);
    EXPECT_EQ(wide.cx, one.cx);
    EXPECT_NE(font.GetTextExtent(nullptr, &one), 0);
    EXPECT_NE(font.GetTextExtent("x", nullptr), 0);
}

TEST_F(TextFont, DrawnTextLandsWhereAskedAndANewlineStartsTheNextRow) {
    MTextFont font("Arial", 16, 0);
    ASSERT_EQ(font.InitDeviceObjects(device->GetDevice()), 0);
    SIZE word{};
    font.GetTextExtent("HH", &word);
    ASSERT_EQ(font.DrawText(100, 100, 0xFFFFFFFF, "HH\nHH", 0), 0);
    SDL_Rect first = Inked(90, 95, 300, 100 + word.cy);
    SDL_Rect second = Inked(90, 100 + word.cy, 300, 100 + 3 * word.cy);
    ASSERT_GT(first.w, 0);
    ASSERT_GT(second.w, 0);
    EXPECT_GE(first.x, 100);
    EXPECT_LT(first.x, 104);
    EXPECT_EQ(second.x, first.x);
    EXPECT_EQ(second.y - first.y, word.cy);
    EXPECT_LE(first.w, word.cx);
    // Coloured text takes its colour: red text has no green.
    Clear(0xFF000000u);
    font.DrawText(400, 300, 0xFFFF0000, "H", 0);
    bool red = false;
    for (int y = 300; y < 300 + word.cy; ++y)
        for (int x = 400; x < 420; ++x)
            if (Pixel(x, y) == 0xFF0000u) red = true;
    EXPECT_TRUE(red);
    EXPECT_EQ(Pixel(399, 299), 0u);
}

TEST_F(TextFont, ADeviceResetKeepsTheGlyphs) {
    MFontManager* fonts = MFontManager::Get();
    ASSERT_EQ(fonts->AddFont("Arial", 20, kFontBold), 0);
    SDL_Event reset{};
    reset.type = SDL_RENDER_TARGETS_RESET;
    window->HandleMessage(reset);
    device->EndFrame();
    ASSERT_EQ(device->BeginFrame(), 0);
    Clear(0xFF000000u);
    ASSERT_EQ(fonts->Font(0)->DrawText(10, 10, 0xFFFFFFFF, "W", 0), 0);
    EXPECT_GT(Inked(5, 5, 60, 60).w, 0);
}

TEST_F(TextFont, TheAtlasKeepsNoCpuCopyAndALostDeviceGetsItsGlyphsDrawnAgain) {
    MFontManager* fonts = MFontManager::Get();
    ASSERT_EQ(fonts->AddFont("Arial", 16, 0), 0);
    MTextFont* font = fonts->Font(0);
    ASSERT_NE(font->GetTexture(), nullptr);
    EXPECT_EQ(font->GetTexture()->StorePixels(), nullptr);
    // What a lost device leaves behind: the atlas on the device is garbage.
    const int side = font->GetTextureWidth();
    std::vector<std::uint32_t> garbage(static_cast<std::size_t>(side) * side, 0xFFFFFFFFu);
    SDL_UpdateTexture(font->GetTexture()->DeviceObject(), nullptr, garbage.data(), side * 4);
    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    window->HandleMessage(reset);
    device->EndFrame();
    ASSERT_EQ(device->BeginFrame(), 0);
    Clear(0xFF000000u);
    ASSERT_EQ(font->DrawText(10, 10, 0xFFFFFFFF, "W", 0), 0);
    const SDL_Rect inked = Inked(0, 0, 80, 60);
    EXPECT_GT(inked.w, 5);
    EXPECT_LT(inked.w, 40) << "a glyph, not a block of garbage";
    EXPECT_EQ(font->GetTexture()->StorePixels(), nullptr);
}

// On an output between the atlas's sizes (its texture then larger than the
// glyphs need) each letter is still itself: an H has two stems and one bar.
TEST_F(TextFont, TextAtTheOutputsScaleDrawsItsOwnGlyphs) {
    for (auto [w, h] : {std::pair{1440, 1080}, std::pair{2880, 2160}}) {
        SDL_SetWindowSize(window->handle, w, h);
        device->UpdateOutputScale();
        MTextFont font("Arial", 20, kFontBold);
        ASSERT_EQ(font.InitDeviceObjects(device->GetDevice()), 0);
        Clear(0xFF000000u);
        ASSERT_EQ(font.DrawText(100, 100, 0xFFFFFFFF, "H", 0), 0);
        const double scale = device->GetOutputScale();
        const SDL_Rect box = Inked(static_cast<int>(95 * scale), static_cast<int>(95 * scale), static_cast<int>(130 * scale),
                                   static_cast<int>(135 * scale));
        ASSERT_GT(box.h, 10) << w;
        auto runs = [&](int y) {
            int count = 0;
            for (int x = box.x, inked = 0; x < box.x + box.w; ++x) {
                const int now = (Pixel(x, y) & 0xFF) > 0x80;
                count += now && !inked;
                inked = now;
            }
            return count;
        };
        EXPECT_EQ(runs(box.y + box.h / 5), 2) << w;
        EXPECT_EQ(runs(box.y + box.h / 2), 1) << w;
    }
}

TEST_F(TextFont, FontsAddedAfterTheLookupWasReleasedStillFindTheirFace) {
    MFontManager* fonts = MFontManager::Get();
    ASSERT_EQ(fonts->AddFont("Arial", 16, 0), 0);
    MFontManager::ReleaseFontLookup();
    MFontManager::ReleaseFontLookup();  // twice is harmless
    ASSERT_EQ(fonts->AddFont("Arial", 16, kFontBold), 0);
    MFontManager::ReleaseFontLookup();
    for (int i = 0; i < 2; ++i) {
        EXPECT_STRNE(fonts->Font(i)->GetFontFile(), "");
        Clear(0xFF000000u);
        ASSERT_EQ(fonts->Font(i)->DrawText(10, 10, 0xFFFFFFFF, "W", 0), 0);
        EXPECT_GT(Inked(0, 0, 80, 60).w, 5) << i;
    }
}

}  // namespace
