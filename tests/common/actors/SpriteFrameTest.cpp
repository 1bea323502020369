// Sprite frames read from a chunk file onto the software renderer: drawing with
// mirrors, opaque surfaces, and the pixel test behind mouse hits.

#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/core/CException.h"
#include "platform/render/MSurface.h"
#include "platform/render/MTexture.h"
#include "tests/support/SpriteArchiveWriter.h"
#include "tests/support/GraphicsTestSupport.h"

namespace {

using spritetest::ArchiveWriter;
using spritetest::Picture;

// 4 x 2, anchored at (-2, -1): the left half opaque, the right half clear but
// for its top-right pixel, which is just translucent enough to count as clear.
MImage HalfClear() {
    return Picture(4, 2, -2, -1, [](int x, int y) -> std::uint32_t {
        if (x < 2) return 0x10203000u | static_cast<std::uint32_t>(0x80 + x + 2 * y);  // alpha 128 and up
        return x == 3 && y == 0 ? 0xFFFFFF7Fu : 0u;
    });
}

class SpriteFrame : public gfxtest::HeadlessRenderer {};

TEST_F(SpriteFrame, TextureFramesKeepTheirAnchorAndTestPixelsThroughTheMirrors) {
    ArchiveWriter writer;
    writer.Rgba(HalfClear());
    CFileMM archive;
    writer.OpenForReading(archive);
    std::unique_ptr<CSprite> frame(CSprite::LoadFrame(archive, 1));
    ASSERT_NE(frame->texture, nullptr);
    EXPECT_EQ(frame->w, 4);
    EXPECT_EQ(frame->h, 2);
    EXPECT_EQ(frame->ox, -2);
    EXPECT_EQ(frame->oy, -1);

    EXPECT_EQ(frame->IsTransparentAt(0, 0, 0, 0), 0);
    EXPECT_EQ(frame->IsTransparentAt(2, 1, 0, 0), 1);
    EXPECT_EQ(frame->IsTransparentAt(3, 0, 0, 0), 1);  // alpha 127
    // Mirrored horizontally, local x = 0 is the picture's last column.
    EXPECT_EQ(frame->IsTransparentAt(0, 0, 0, 1), 1);
    EXPECT_EQ(frame->IsTransparentAt(3, 0, 0, 1), 0);
    // Mirrored vertically, local y = 1 is the first row.
    EXPECT_EQ(frame->IsTransparentAt(1, 1, 1, 0), 0);
    EXPECT_EQ(frame->IsTransparentAt(3, 1, 1, 0), 1);
    EXPECT_EQ(frame->IsTransparentAt(0, 1, 1, 1), 1);  // (3, 0) of the picture
    EXPECT_EQ(frame->IsTransparentAt(3, 1, 1, 1), 0);  // (0, 0)
    EXPECT_EQ(frame->IsTransparentAt(7, 0, 0, 1), 1);  // outside the picture

    // Drawn mirrored: the opaque half lands on the right.
    Clear(0xFF000000u);
    RECT dest{20, 20, 24, 22}, source{0, 0, 4, 2};
    EXPECT_EQ(frame->DrawFrame(&dest, &source, 1), 1);
    EXPECT_EQ(Pixel(21, 20), 0u);
    EXPECT_NEAR(static_cast<int>(Pixel(20, 20) & 0xFF), 127, 2);  // the translucent pixel, blended
    EXPECT_NE(Pixel(23, 20), 0u);
    EXPECT_NE(Pixel(22, 21), 0u);
}

TEST_F(SpriteFrame, SurfaceFramesAreCopiedOpaqueAndNeverTransparent) {
    ArchiveWriter writer;
    writer.Rgba(HalfClear());
    CFileMM archive;
    writer.OpenForReading(archive);
    std::unique_ptr<CSprite> frame(CSprite::LoadFrame(archive, 0));
    ASSERT_EQ(frame->texture, nullptr);
    ASSERT_NE(frame->surface, nullptr);
    EXPECT_EQ(frame->isTexture, 0);
    EXPECT_EQ(frame->w, 4);
    EXPECT_EQ(frame->ox, -2);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(frame->IsTransparentAt(x, 0, 0, 0), 0);

    Clear(0xFF808080u);
    RECT dest{30, 30, 34, 32};
    EXPECT_EQ(frame->DrawFrame(&dest, nullptr, 17), 1);  // surfaces ignore the mirrors
    EXPECT_EQ(Pixel(30, 30), 0x102030u);
    EXPECT_EQ(Pixel(32, 30), 0u);  // clear pixels are copied, not blended
    frame->ReleaseFrame();
    EXPECT_EQ(frame->DrawFrame(&dest, nullptr, 0), 0);
    EXPECT_EQ(frame->IsTransparentAt(0, 0, 0, 0), 0);
}

TEST_F(SpriteFrame, AnimationFramesDrawFromTheirArray) {
    ArchiveWriter writer;
    writer.Anim({Picture(2, 2, 0, 0, [](int, int) { return 0xFF0000FFu; }),
                 Picture(2, 2, 0, 0, [](int, int) { return 0x0000FFFFu; })});
    CFileMM archive;
    writer.OpenForReading(archive);
    std::unique_ptr<CSpriteArray> frames(LoadSpriteArray(archive, 1));
    ASSERT_NE(frames, nullptr);
    ASSERT_EQ(frames->GetCount(), 2);
    RECT first{0, 0, 2, 2}, second{2, 0, 4, 2};
    EXPECT_EQ(frames->Get(0)->DrawFrame(&first, nullptr, 0), 1);
    EXPECT_EQ(frames->Get(1)->DrawFrame(&second, nullptr, 0), 1);
    EXPECT_EQ(Pixel(1, 1), 0xFF0000u);
    EXPECT_EQ(Pixel(3, 1), 0x0000FFu);
    EXPECT_EQ(frames->Get(1)->texture->GetSerial(), frames->Get(0)->texture->GetSerial() + 1);
}

// A size or an anchor that cannot lie on the 800 x 600 design is damaged data.
TEST_F(SpriteFrame, PicturesThatCannotLieOnTheDesignAreFileErrors) {
    struct Case {
        int w, h;
        std::int16_t ox, oy;
        bool loads;
    };
    const Case cases[] = {
        {800, 600, 0, 0, true},     {2, 2, -800, -600, true}, {2, 2, 800, 600, true},
        {2, 2, -32768, 0, false},   {2, 2, 0, 32767, false},  {2, 2, 801, 0, false},
        {2, 2, 0, -601, false},     {801, 1, 0, 0, false},    {1, 601, 0, 0, false},
    };
    for (const Case& c : cases) {
        for (int useTexture : {1, 0}) {
            SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " at " + std::to_string(c.ox) + "," +
                         std::to_string(c.oy) + (useTexture ? " texture" : " surface"));
            ArchiveWriter writer;
            writer.Rgba(Picture(c.w, c.h, c.ox, c.oy, [](int, int) { return 0xFFFFFFFFu; }));
            CFileMM archive;
            writer.OpenForReading(archive);
            if (c.loads)
                EXPECT_NO_THROW(delete CSprite::LoadFrame(archive, useTexture));
            else
                EXPECT_THROW(CSprite::LoadFrame(archive, useTexture), CFileException);
        }
    }
}

}  // namespace
