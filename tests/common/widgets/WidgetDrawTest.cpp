// Fades and buttons on the software renderer: the fade's steps read back from
// its texture, the overlay covering the screen, a bevelled button with a
// shadowed system-font label.

#include <gtest/gtest.h>

#include <cstring>

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "platform/render/MTextFont.h"
#include "platform/render/MTexture.h"
#include "tests/support/SceneOnRenderer.h"

namespace {

// A renderer, a window-less screen and a scene on a clock the test moves.
class WidgetDraw : public gfxtest::SceneOnRenderer {
protected:
    // The fade texture's colour as 0xAARRGGBB.
    static std::uint32_t Texel(const CActorFade* fade) {
        std::uint32_t value = 0;
        std::memcpy(&value, fade->texture->StorePixels(), 4);
        return value;
    }
};

TEST_F(WidgetDraw, RevealRuns26StepsFromOpaqueToAlpha5ThenHides) {
    auto* fade = new CActorFade(scene, 0, 0, 10 * 256);
    EXPECT_EQ(Texel(fade), 0xFF000000u);  // made opaque black
    CActorFade::SetLastFadeColour(0x00123456u);
    fade->Reveal(1);
    EXPECT_FALSE(fade->hidden);
    int updates = 0;
    while (fade->revealing && updates < 100) {
        const int step = fade->step;
        fade->Update(kFadeStepTicks32);
        ++updates;
        if (fade->revealing) {
            EXPECT_EQ(Texel(fade), (0xFFu - 10u * step) << 24 | 0x123456u) << "step " << step;
            EXPECT_FALSE(fade->hidden);
        }
    }
    EXPECT_EQ(updates, 27);  // 26 steps, then the end
    EXPECT_EQ(Texel(fade) >> 24, 5u);
    EXPECT_TRUE(fade->hidden);
    EXPECT_EQ(fade->revealDone, 1);
}

TEST_F(WidgetDraw, CoverRisesToAlpha250AndStaysShown) {
    auto* fade = new CActorFade(scene, 0, 0, 10 * 256);
    fade->Cover(0, 0xFFFF0000u);
    EXPECT_EQ(fade->IsCovering(), 1);
    // Slower updates than a step: a step only when the countdown runs out.
    std::vector<std::uint32_t> alphas;
    for (int i = 0; i < 200 && fade->covering; ++i) {
        const int before = fade->step;
        fade->Update(1);
        if (fade->step != before) alphas.push_back(Texel(fade) >> 24);
    }
    ASSERT_EQ(alphas.size(), 26u);
    EXPECT_EQ(alphas.front(), 0u);
    EXPECT_EQ(alphas[1], 10u);
    EXPECT_EQ(alphas.back(), 250u);
    EXPECT_EQ(Texel(fade) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(fade->coverDone, 1);
    EXPECT_FALSE(fade->hidden);
    // A plain colour does not become the colour of the next reveal.
    EXPECT_EQ(CActorFade::LastFadeColour(), 0u);

    // The overlay covers the whole screen, blended by its alpha.
    Clear(0xFF000000u);
    scene->DrawActors(CRect{0, 0, 800, 600});
    for (auto [x, y] : {std::pair{0, 0}, std::pair{400, 300}, std::pair{799, 599}}) {
        const std::uint32_t red = Pixel(x, y) >> 16;
        EXPECT_NEAR(static_cast<int>(red), 250, 2) << x << "," << y;
        EXPECT_EQ(Pixel(x, y) & 0xFFFFu, 0u);
    }
}

TEST_F(WidgetDraw, AStalledSceneStillFadesOneStepPerUpdate) {
    auto* fade = new CActorFade(scene, 0, 0, 10 * 256);
    fade->Cover(0, 0x0000FF00u);
    int updates = 0;
    while (!fade->coverDone && updates < 100) {
        fade->Update(0);
        ++updates;
    }
    EXPECT_EQ(updates, 27);
    EXPECT_EQ(Texel(fade), 0xFA00FF00u);
}

TEST_F(WidgetDraw, RandomCoverSetsTheColourTheNextRevealStartsFrom) {
    auto* fade = new CActorFade(scene, 0, 0, 10 * 256);
    fade->Cover(1, 0);
    const std::uint32_t picked = CActorFade::LastFadeColour();
    EXPECT_EQ(picked >> 24, 0u);
    EXPECT_EQ(fade->colour32, picked);
    for (int shift : {0, 8, 16}) EXPECT_LT((picked >> shift) & 0xFF, 255u);

    auto* other = new CActorFade(scene, 0, 0, 10 * 256);
    other->Reveal(1);
    other->Update(4);
    EXPECT_EQ(Texel(other), 0xFF000000u | picked);
}

TEST_F(WidgetDraw, BevelledButtonWithAShadowedSystemFontLabel) {
    ASSERT_EQ(MFontManager::Get()->AddFont("Arial", 16, 0), 0);
    SIZE extent{0, 0};
    MFontManager::Get()->Font(0)->GetTextExtent("OK", &extent);
    ASSERT_GT(extent.cx, 0);

    CTextRecord label;
    label.text = "OK";
    label.maxLength = 8;
    label.colour = 0xFFFFFFFFu;
    label.shadow = 1;
    CButtonRecord record;
    record.mode = kButtonPush;
    record.key = 'O';
    record.plainRect = 1;
    record.rectColour = 0xFF0000C0u;
    auto* button = new CActorButton(label, record, scene, 400 * 256, 300 * 256, 300 * 256, nullptr, 0);
    EXPECT_EQ(button->bounds.right - button->bounds.left, extent.cx + 16);
    EXPECT_EQ(button->bounds.bottom - button->bounds.top, extent.cy + 16);

    scene->DrawActors(CRect{0, 0, 800, 600});
    // The fill inside the bevel, the raised bevel's light top edge, and the
    // label's white ink somewhere inside the label's box.
    EXPECT_EQ(Pixel(button->bounds.left + 3, button->bounds.top + 3), 0x0000C0u);
    EXPECT_NE(Pixel(button->bounds.left + 3, button->bounds.top - 1), 0x0000C0u);
    bool white = false, black = false;
    for (int y = button->textTop; y < button->textBottom + 2; ++y)
        for (int x = button->textLeft; x < button->textRight + 2; ++x) {
            white |= Pixel(x, y) == 0xFFFFFFu;
            black |= Pixel(x, y) == 0x000000u;
        }
    EXPECT_TRUE(white);
    EXPECT_TRUE(black);  // a light label gets a black shadow
}

}  // namespace
