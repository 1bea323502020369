#include "common/actors/CActorFade.h"

#include "common/scene/CScene.h"
#include "common/scene/Random.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MTexture.h"

namespace {

// The texture is one uniform colour, so a small one stretched over the screen will do.
constexpr int kTextureSide = 16;

std::uint32_t gLastFadeColour = 0;  // black until a random cover picks another

}  // namespace

std::uint16_t FadeColour16(std::uint32_t colour32) {
    const std::uint32_t red = (colour32 >> 16) & 0xFF, green = (colour32 >> 8) & 0xFF, blue = colour32 & 0xFF;
    return static_cast<std::uint16_t>((red >> 4) << 8 | (green >> 4) << 4 | (blue >> 4));
}

std::uint32_t FadeFill32(std::uint32_t colour32, int step, int revealing) {
    const std::uint32_t change = static_cast<std::uint32_t>(step) * kFadeAlphaStep32;
    return revealing ? colour32 - change : colour32 + change;
}

std::uint16_t FadeFill16(std::uint16_t colour16, int step, int revealing) {
    const unsigned change = static_cast<unsigned>(step) * kFadeAlphaStep16;
    return static_cast<std::uint16_t>(revealing ? colour16 - change : colour16 + change);
}

std::uint32_t CActorFade::LastFadeColour() { return gLastFadeColour; }

void CActorFade::SetLastFadeColour(std::uint32_t colour) { gLastFadeColour = colour; }

bool CActorFade::Display16() {
    MRenderDevice* device = MRenderDevice::Current();
    return device && device->GetBitDepth() == 16;
}

CActorFade::CActorFade(CScene* owner, int px, int py, int pz)
    : CActor(owner, px, py, pz, kCollisionNone, kShapeRectangle) {
    if (Display16()) {
        stepTicks = kFadeStepTicks16;
        stepCount = kFadeStepCount16;
    }
    hidden = 1;
    RecalcBounds();
    SetColour(0, gLastFadeColour);
    texture = std::make_unique<MTexture>(kTextureSide, kTextureSide);
    FillTexture(0xFF000000u, 0xF000u);
}

CActorFade::~CActorFade() = default;

void CActorFade::ResetEffects(int, int) {}

void CActorFade::RecalcBounds() {
    int width = 0, height = 0;
    if (scene) scene->GetTargetSize(&width, &height);
    bounds = CRect{0, 0, width, height};
}

bool CActorFade::FormatsMatch() const {
    const PixelFormat format = texture ? texture->GetFormat() : PixelFormat::Unknown;
    return Display16() ? format == PixelFormat::A4R4G4B4 : format == PixelFormat::A8R8G8B8;
}

void CActorFade::FillTexture(std::uint32_t value32, std::uint16_t value16) {
    if (!texture) return;
    if (Display16())
        texture->Fill16(value16);
    else
        texture->Fill(value32);
}

void CActorFade::SetColour(int random, std::uint32_t colour) {
    if (random) {
        // Each channel 0 to 254, drawn in the order red, green, blue from the
        // game's one generator (a seeded run keeps its colours).
        const auto red = static_cast<std::uint32_t>(Random(255));
        const auto green = static_cast<std::uint32_t>(Random(255));
        const auto blue = static_cast<std::uint32_t>(Random(255));
        colour32 = red << 16 | green << 8 | blue;
        gLastFadeColour = colour32;
    } else {
        colour32 = colour & 0x00FFFFFFu;
    }
    colour16 = FadeColour16(colour32);
}

void CActorFade::Reveal(int start) {
    if (!FormatsMatch()) {
        revealDone = 1;
        coverDone = 0;
        revealing = 0;
        covering = 0;
        Hide();
        return;
    }
    revealDone = 0;
    coverDone = 0;
    covering = 0;
    revealing = start;
    Show();
    step = 0;
    if (start) {
        colour32 = (gLastFadeColour & 0x00FFFFFFu) | 0xFF000000u;
        colour16 = static_cast<std::uint16_t>(FadeColour16(gLastFadeColour) | 0xF000u);
    }
}

void CActorFade::Cover(int random, std::uint32_t colour) {
    if (!FormatsMatch()) {
        coverDone = 1;
        revealDone = 0;
        revealing = 0;
        covering = 0;
        Hide();
        return;
    }
    revealDone = 0;
    coverDone = 0;
    revealing = 0;
    Show();
    step = 0;
    covering = 1;
    SetColour(random, colour);
}

int CActorFade::IdleTicks() { return revealing || covering ? 0 : kIdleForever; }

void CActorFade::Update(int ticks) {
    if (!revealing && !covering) return;
    countdown -= ticks == 0 ? kFadeStalledTicks : ticks;
    if (countdown > 0) return;
    countdown += stepTicks;
    if (step < stepCount) {
        FillTexture(FadeFill32(colour32, step, revealing), FadeFill16(colour16, step, revealing));
        ++step;
        return;
    }
    if (revealing) {
        revealing = 0;
        Hide();
        revealDone = 1;
    } else {
        // A finished cover stays up in its last colour.
        covering = 0;
        coverDone = 1;
    }
}

void CActorFade::Draw(const CRect& clip) {
    if (!texture) return;
    // The whole texture stretched over the clip: it holds one colour, so this
    // covers the clip with it, blended by its alpha.
    const RECT source{0, 0, texture->width, texture->height};
    texture->Draw(&clip, &source, 0);
}
