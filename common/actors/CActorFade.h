#pragma once
// A full-screen overlay of one colour that fades in steps, for scene
// transitions: a reveal starts opaque and clears to show the scene, a cover
// starts clear and ends opaque in a colour. The colour of the last random
// cover is shared by all fade actors; the next reveal starts from it.

#include <cstdint>
#include <memory>

#include "common/actors/CActor.h"
#include "platform/render/MGraphicsTypes.h"

class MTexture;

// Steps of a fade on 32-bit and on 16-bit displays.
constexpr int kFadeStepTicks32 = 4;
constexpr int kFadeStepCount32 = 26;
constexpr int kFadeStepTicks16 = 6;
constexpr int kFadeStepCount16 = 16;
// A scene step of 0 (paused or stalled) still moves the fade by this much.
constexpr int kFadeStalledTicks = 12;
// What one step changes in the alpha of each colour form.
constexpr std::uint32_t kFadeAlphaStep32 = 0x0A000000u;
constexpr std::uint16_t kFadeAlphaStep16 = 0x1000u;

// The A4R4G4B4 form of an ARGB colour, alpha 0: the top 4 bits of each of red,
// green and blue.
std::uint16_t FadeColour16(std::uint32_t colour32);
// The texture fill of a step: a reveal lowers the alpha from opaque, a cover
// raises it from 0.
std::uint32_t FadeFill32(std::uint32_t colour32, int step, int revealing);
std::uint16_t FadeFill16(std::uint16_t colour16, int step, int revealing);

class CActorFade : public CActor {
public:
    // Hidden, covering the render target, in the last fade colour.
    CActorFade(CScene* scene, int x, int y, int z);
    ~CActorFade() override;

    void ResetEffects(int a, int b) override;  // 12
    void Update(int ticks) override;           // 25
    int IdleTicks() override;
    void RecalcBounds() override;              // 49
    void Draw(const CRect& clip) override;     // 52

    // With random, a new colour of random red, green and blue (0 to 254) that
    // becomes the last fade colour; otherwise colour without its alpha.
    void SetColour(int random, std::uint32_t colour);
    // Starts a reveal (with start set) from the last fade colour.
    void Reveal(int start);
    // Starts a cover in a colour.
    void Cover(int random, std::uint32_t colour);
    int IsCovering() const { return covering; }

    // The colour a reveal starts from, shared by all fade actors.
    static std::uint32_t LastFadeColour();
    static void SetLastFadeColour(std::uint32_t colour);

    std::unique_ptr<MTexture> texture;
    int countdown = 0;
    int stepTicks = kFadeStepTicks32;
    int step = 0;
    int stepCount = kFadeStepCount32;
    int revealing = 0;
    int covering = 0;
    int revealDone = 0;
    int coverDone = 0;
    std::uint32_t colour32 = 0;
    std::uint16_t colour16 = 0;

private:
    // The display is 16-bit (else 32-bit).
    static bool Display16();
    // The texture has the format the display's fade steps are written in.
    bool FormatsMatch() const;
    void FillTexture(std::uint32_t value32, std::uint16_t value16);
};
