// Textures and surfaces drawn by the software renderer, read back pixel by pixel.

#include <cmath>
#include <cstdio>
#include <numbers>
#include <unistd.h>

#include "platform/storage/BFile.h"
#include "platform/render/MSurface.h"
#include "platform/render/MTexture.h"
#include "tests/support/GraphicsTestSupport.h"

namespace {

using gfxtest::MakeImage;
using gfxtest::Opaque;

// Six distinct opaque colours on a 3 x 2 picture.
constexpr std::uint32_t kColours[2][3] = {{0xFF0000, 0x00FF00, 0x0000FF}, {0xFFFF00, 0x00FFFF, 0xFF00FF}};

class CanvasDraw : public gfxtest::HeadlessRenderer {
protected:
    void BuildSixColours(MTexture& texture) {
        ASSERT_EQ(texture.SetImage(MakeImage(3, 2, [](int x, int y) { return Opaque(kColours[y][x]); }), 0, 0), 0);
    }
    // The 3 x 2 block at (left, top) as seen through the mirrors.
    void ExpectSixColours(int left, int top, bool mirrorX, bool mirrorY) {
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                int sx = mirrorX ? 2 - x : x, sy = mirrorY ? 1 - y : y;
                EXPECT_EQ(Pixel(left + x, top + y), kColours[sy][sx]) << "at " << x << "," << y;
            }
    }
    static int Channel(std::uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }
};

TEST_F(CanvasDraw, PlainAndMirroredDrawsLandOnTheirPixels) {
    MTexture texture;
    BuildSixColours(texture);
    EXPECT_EQ(texture.GetWidth(), 3);  // the canvas keeps the picture's size...
    EXPECT_EQ(texture.StoreWidth(), 4);  // ...on a texture padded to powers of two
    EXPECT_EQ(texture.StoreHeight(), 2);
    const RECT source{0, 0, 3, 2};
    struct Case {
        int flags, left, top;
    } cases[] = {{0, 10, 10}, {1, 20, 10}, {16, 30, 10}, {17, 40, 10}};
    for (const Case& c : cases) {
        RECT dest{c.left, c.top, c.left + 3, c.top + 2};
        ASSERT_EQ(texture.Draw(&dest, &source, c.flags), 0);
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        ExpectSixColours(c.left, c.top, c.flags & 1, c.flags & 16);
    }
    // Nothing strays outside the destination (the padding is transparent).
    EXPECT_EQ(Pixel(13, 10), 0u);
    EXPECT_EQ(Pixel(19, 10), 0u);
    EXPECT_EQ(Pixel(10, 12), 0u);
}

TEST_F(CanvasDraw, ScalingComesFromTheTwoRectanglesAndMirrorsStayInTheDestination) {
    MTexture texture;
    BuildSixColours(texture);
    const RECT source{1, 0, 3, 2};  // the right two columns
    RECT dest{100, 50, 104, 54};    // twice as large
    ASSERT_EQ(texture.Draw(&dest, &source, 0), 0);
    EXPECT_EQ(Pixel(100, 50), kColours[0][1]);
    EXPECT_EQ(Pixel(101, 51), kColours[0][1]);
    EXPECT_EQ(Pixel(103, 53), kColours[1][2]);
    EXPECT_EQ(Pixel(104, 50), 0u);
    RECT mirrored{200, 50, 204, 54};
    ASSERT_EQ(texture.Draw(&mirrored, &source, 17), 0);
    EXPECT_EQ(Pixel(200, 50), kColours[1][2]);
    EXPECT_EQ(Pixel(203, 53), kColours[0][1]);
    // Without a source rectangle the destination only places the picture.
    RECT corner{300, 50, 390, 90};
    ASSERT_EQ(texture.Draw(&corner, nullptr, 0), 0);
    EXPECT_EQ(Pixel(302, 51), kColours[1][2]);
    EXPECT_EQ(Pixel(303, 51), 0u);
}

TEST_F(CanvasDraw, TranslucentAndTintedPixelsBlendWithSourceAlpha) {
    Clear(0xFF204060u);
    MTexture texture;
    // r 200, g 100, b 0 at alpha 0x80.
    ASSERT_EQ(texture.SetImage(MakeImage(2, 2, [](int, int) { return 0xC8640080u; }), 0, 0), 0);
    RECT dest{10, 10, 12, 12};
    ASSERT_EQ(texture.Draw(&dest, nullptr, 0), 0);
    auto blend = [](int src, int dst, double a) { return src * a + dst * (1 - a); };
    std::uint32_t half = Pixel(10, 10);
    const double a = 128 / 255.0;
    EXPECT_NEAR(Channel(half, 16), blend(200, 0x20, a), 2);
    EXPECT_NEAR(Channel(half, 8), blend(100, 0x40, a), 2);
    EXPECT_NEAR(Channel(half, 0), blend(0, 0x60, a), 2);

    // The tint multiplies colour and alpha: red only, half strength.
    RECT tinted{20, 10, 22, 12};
    ASSERT_EQ(texture.DrawEx(&tinted, nullptr, 0, 0x80FF0000u, 0.0f, nullptr), 0);
    std::uint32_t quarter = Pixel(20, 10);
    const double b = (128 / 255.0) * (128 / 255.0);
    EXPECT_NEAR(Channel(quarter, 16), blend(200, 0x20, b), 3);
    EXPECT_NEAR(Channel(quarter, 8), blend(0, 0x40, b), 3);
    EXPECT_NEAR(Channel(quarter, 0), blend(0, 0x60, b), 3);
}

TEST_F(CanvasDraw, TurnsGoClockwiseAboutTheCentre) {
    MTexture texture;
    ASSERT_EQ(texture.SetImage(MakeImage(4, 2, [](int x, int y) { return Opaque(0x101010u * (1 + x + 4 * y)); }), 0, 0),
              0);
    const RECT source{0, 0, 4, 2};
    // Half a turn about the default centre (half the source) is both mirrors.
    RECT turned{10, 10, 14, 12}, mirrored{20, 10, 24, 12};
    ASSERT_EQ(texture.DrawEx(&turned, &source, 0, 0xFFFFFFFFu, static_cast<float>(std::numbers::pi), nullptr), 0);
    ASSERT_EQ(texture.Draw(&mirrored, &source, 17), 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 10 + y), Pixel(20 + x, 10 + y)) << x << "," << y;
    // A quarter turn about the top-left corner swings the picture down-left of it.
    RECT quarter{100, 100, 104, 102};
    POINT corner{0, 0};
    ASSERT_EQ(texture.DrawEx(&quarter, &source, 0, 0xFFFFFFFFu, static_cast<float>(std::numbers::pi / 2), &corner), 0);
    EXPECT_EQ(Pixel(99, 100), 0x101010u);  // the top-left pixel stays at the corner
    EXPECT_EQ(Pixel(99, 103), 0x404040u);  // the top row runs downwards
    EXPECT_EQ(Pixel(98, 100), 0x505050u);  // the second row lies to its left
}

TEST_F(CanvasDraw, SurfaceCopiesAreOpaqueAndStayInsideTheSurface) {
    Clear(0xFF808080u);
    MSurface surface(0, 0, 0);  // no surface yet: copying does nothing
    EXPECT_EQ(surface.CopyToBackBuffer(nullptr, nullptr), 0);
    // Alpha 0 is copied as it is: the colour shows, nothing shines through.
    ASSERT_EQ(surface.SetImage(MakeImage(4, 3, [](int x, int) { return x < 2 ? 0x11223300u : 0x445566FFu; }), 0, 0), 0);
    EXPECT_EQ(surface.GetWidth(), 4);
    EXPECT_EQ(surface.GetHeight(), 3);
    POINT at{50, 60};
    ASSERT_EQ(surface.CopyToBackBuffer(&at, nullptr), 0);
    EXPECT_EQ(Pixel(50, 60), 0x112233u);
    EXPECT_EQ(Pixel(53, 62), 0x445566u);
    EXPECT_EQ(Pixel(54, 60), 0x808080u);
    RECT part{2, 1, 4, 3};
    ASSERT_EQ(surface.CopyToBackBuffer(nullptr, &part), 0);  // to the part's own place
    EXPECT_EQ(Pixel(2, 1), 0x445566u);
    EXPECT_EQ(Pixel(1, 1), 0x808080u);
    RECT outside{2, 1, 5, 3};
    EXPECT_EQ(surface.CopyToBackBuffer(&at, &outside), kResultCopyFailed);
}

TEST_F(CanvasDraw, LocksFillsAndSerialsWorkOnTheCpuCopy) {
    const int before = LastTextureSerial();
    MTexture texture;
    BuildSixColours(texture);
    MTexture second;
    BuildSixColours(second);
    EXPECT_EQ(texture.GetSerial(), before + 1);
    EXPECT_EQ(second.GetSerial(), before + 2);

    int pitch = 0;
    RECT one{1, 1, 2, 2};
    auto* texel = static_cast<std::uint32_t*>(texture.Lock(&one, &pitch, 0));
    ASSERT_NE(texel, nullptr);
    EXPECT_EQ(pitch, 16);
    EXPECT_EQ(*texel, 0xFF00FFFFu);  // A8R8G8B8
    *texel = 0xFF123456u;
    texture.Unlock();
    RECT dest{0, 0, 3, 2};
    ASSERT_EQ(texture.Draw(&dest, nullptr, 0), 0);
    EXPECT_EQ(Pixel(1, 1), 0x123456u);

    MTexture blank(3, 5);
    EXPECT_EQ(blank.created, 1);
    EXPECT_EQ(blank.GetWidth(), 4);
    EXPECT_EQ(blank.GetHeight(), 8);
    ASSERT_EQ(blank.Fill(0xFF654321u), 0);
    RECT at{100, 100, 104, 108};
    ASSERT_EQ(blank.Draw(&at, nullptr, 0), 0);
    EXPECT_EQ(Pixel(103, 107), 0x654321u);
    // 16-bit texels fill half the bytes of a 32-bit texture: the top half stays.
    ASSERT_EQ(blank.Fill16(0x0000u), 0);
    auto* first = static_cast<std::uint32_t*>(blank.Lock(nullptr, &pitch, kLockReadOnly));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first[0], 0u);
    EXPECT_EQ(first[31], 0xFF654321u);
    blank.Unlock();
}

TEST_F(CanvasDraw, FailuresReportTheirCodes) {
    MTexture empty;
    EXPECT_EQ(empty.Build(0, 0), kResultNoImage);
    RECT dest{0, 0, 4, 4};
    EXPECT_EQ(empty.Draw(&dest, nullptr, 0), kResultDrawFailed);
    EXPECT_EQ(empty.Lock(nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(empty.Fill(0), kResultFail);
    EXPECT_EQ(empty.LoadFile("/nonexistent/picture.tga", 0, 0), kResultTextureCreateFailed);
    MSurface surface(4, 4, 0);
    EXPECT_EQ(surface.LoadFile("/nonexistent/picture.tga", 0, 0), kResultSurfaceFileFailed);
    MPanel empty_panel;
    empty_panel.right = 10;
    EXPECT_EQ(device->FillRect(empty_panel), kResultInvalidArg);
}

TEST_F(CanvasDraw, TextureFilesKeyOutOpaqueBlackAndSurfaceFilesKeepTheirSize) {
    MImage picture = MakeImage(3, 2, [](int x, int) { return x == 0 ? 0x000000FFu : 0xA0B0C0FFu; });
    picture.xOrigin = -1;
    picture.yOrigin = -2;
    std::vector<std::uint8_t> bytes = EncodeTga(picture, 10, 32, true);
    char path[] = "/tmp/zanbor-gfx-XXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    close(fd);

    Clear(0xFF0000FFu);
    MTexture texture;
    ASSERT_EQ(texture.LoadFile(path, 0, 0), 0);
    EXPECT_EQ(texture.GetOriginX(), -1);
    EXPECT_EQ(texture.GetOriginY(), -2);
    RECT dest{10, 10, 13, 12};
    ASSERT_EQ(texture.Draw(&dest, nullptr, 0), 0);
    EXPECT_EQ(Pixel(10, 10), 0x0000FFu);  // the key colour is transparent
    EXPECT_EQ(Pixel(11, 11), 0xA0B0C0u);

    MSurface surface(8, 8, 0);
    ASSERT_EQ(surface.LoadFile(path, 0, 0), 0);
    EXPECT_EQ(surface.GetWidth(), 3);
    POINT at{20, 20};
    ASSERT_EQ(surface.CopyToBackBuffer(&at, nullptr), 0);
    EXPECT_EQ(Pixel(20, 20), 0u);  // no colour key on surfaces
    EXPECT_EQ(Pixel(22, 21), 0xA0B0C0u);
    std::remove(path);
}

// Bevels: the fill first, then top, left, bottom and right edges.
TEST_F(CanvasDraw, PanelBevelsTakeTheLightAndDarkColoursInEdgeOrder) {
    const std::uint32_t light = 0x8F9FAF, dark = 0x102030, fill = 0x000040;
    MPanel panel;
    panel.left = 10;
    panel.top = 10;
    panel.right = 110;
    panel.bottom = 60;
    panel.fillColour = 0xFF000040u;
    panel.borderWidth = 2;
    panel.borderColour = 0xFF204060u;
    panel.borderStyle = 1;
    ASSERT_EQ(device->FillRect(panel), 0);
    EXPECT_EQ(Pixel(8, 8), light);     // outside the panel: the grown rectangle
    EXPECT_EQ(Pixel(50, 9), light);    // top
    EXPECT_EQ(Pixel(9, 30), light);    // left
    EXPECT_EQ(Pixel(50, 61), dark);    // bottom
    EXPECT_EQ(Pixel(111, 30), dark);   // right
    EXPECT_EQ(Pixel(111, 8), dark);    // the right edge is drawn over the top one
    EXPECT_EQ(Pixel(8, 61), dark);     // the bottom edge over the left one
    EXPECT_EQ(Pixel(10, 10), fill);
    EXPECT_EQ(Pixel(7, 7), 0u);

    panel.left = 200;
    panel.right = 300;
    panel.borderWidth = -2;
    panel.borderStyle = 2;  // sunken, inside the panel over its fill
    ASSERT_EQ(device->FillRect(panel), 0);
    EXPECT_EQ(Pixel(250, 10), dark);
    EXPECT_EQ(Pixel(201, 30), dark);
    EXPECT_EQ(Pixel(250, 59), light);
    EXPECT_EQ(Pixel(298, 30), light);
    EXPECT_EQ(Pixel(250, 12), fill);
    EXPECT_EQ(Pixel(199, 30), 0u);

    panel.left = 400;
    panel.right = 500;
    panel.borderStyle = 0;
    panel.noFill = 1;
    ASSERT_EQ(device->FillRect(panel), 0);
    EXPECT_EQ(Pixel(450, 10), 0x204060u);
    EXPECT_EQ(Pixel(450, 30), 0u);  // not filled
}

TEST_F(CanvasDraw, ADeviceResetRebuildsEveryTextureWithTheSamePixels) {
    MTexture texture;
    BuildSixColours(texture);
    MSurface surface(2, 2, 0);
    ASSERT_EQ(surface.SetImage(MakeImage(2, 2, [](int, int) { return Opaque(0x345678); }), 0, 0), 0);
    // What a lost device leaves behind: the device's copies are garbage.
    std::vector<std::uint32_t> garbage(64, 0xFFFFFFFFu);
    SDL_UpdateTexture(texture.DeviceObject(), nullptr, garbage.data(), 16);
    SDL_UpdateTexture(surface.DeviceObject(), nullptr, garbage.data(), 8);

    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&reset);
    SDL_Event event{};
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_RENDER_DEVICE_RESET) {
            EXPECT_EQ(window->HandleMessage(event), 1);
        }
    }
    EXPECT_EQ(device->IsResetPending(), 1);

    ASSERT_EQ(device->EndFrame(), 0);
    const int resets = device->GetResetCount();
    ASSERT_EQ(device->BeginFrame(), 0);
    EXPECT_EQ(device->GetResetCount(), resets + 1);
    EXPECT_EQ(device->IsResetPending(), 0);
    Clear(0xFF000000u);
    RECT dest{10, 10, 13, 12};
    ASSERT_EQ(texture.Draw(&dest, nullptr, 0), 0);
    ExpectSixColours(10, 10, false, false);
    POINT at{40, 40};
    ASSERT_EQ(surface.CopyToBackBuffer(&at, nullptr), 0);
    EXPECT_EQ(Pixel(41, 41), 0x345678u);
}

TEST_F(CanvasDraw, CanvasesOutliveTheDeviceAsCpuCopiesAndComeBackWithTheNextOne) {
    MTexture texture;
    BuildSixColours(texture);
    device->Destroy();
    EXPECT_EQ(texture.DeviceObject(), nullptr);
    RECT dest{10, 10, 13, 12};
    EXPECT_EQ(texture.Draw(&dest, nullptr, 0), kResultDrawFailed);
    device = MRenderDevice::Get(window->handle);
    device->deviceType = 0;
    device->SetFramePacing(0);
    ASSERT_EQ(device->CreateDevice(0, 800, 600), 0);
    ASSERT_EQ(device->BeginFrame(), 0);
    Clear(0xFF000000u);
    ASSERT_EQ(texture.Draw(&dest, nullptr, 0), 0);
    ExpectSixColours(10, 10, false, false);
}

}  // namespace
