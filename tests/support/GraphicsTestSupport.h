#pragma once
// A headless window and software renderer for the graphics tests: SDL's dummy
// video driver, pixels read back from the back buffer.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>

#include "formats/MImage.h"
#include "platform/render/MRenderDevice.h"
#include "platform/window/MWindow.h"
#include "tests/support/PictureMaker.h"

namespace gfxtest {

// Records the input handlers it receives, one letter each.
class ProbeWindow : public MWindow {
public:
    std::string log;
    std::vector<int> keys;

    void OnClose() override { log += 'c'; }
    void OnSize(int, int) override {}
    void OnMouseMove(int x, int y) override {
        log += 'm';
        lastX = x;
        lastY = y;
    }
    void OnNcMouseMove(int, int) override {}
    void OnLButtonDown(int, int) override { log += 'd'; }
    void OnLButtonDblClk(int, int) override { log += '2'; }
    void OnRButtonDown(int, int) override { log += 'r'; }
    void OnRButtonDblClk(int, int) override { log += 'R'; }
    void OnLButtonUp(int, int) override { log += 'u'; }
    void OnRButtonUp(int, int) override { log += 'U'; }
    int OnKeyDown(int key) override {
        keys.push_back(key);
        return 1;
    }
    int OnKeyUp(int) override { return 1; }
    int OnSysKeyDown(int key) override {
        keys.push_back(-key);
        return 1;
    }
    int OnSysKeyUp(int) override { return 1; }
    void InvalidateAll() override {}
    void OnActivate(int) override {}
    int OnSetCursor() override { return 0; }
    void OnEnterSizeMove() override {}
    void OnExitSizeMove() override {}

    int lastX = -1;
    int lastY = -1;
};

inline void UseHeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
}

// A window of the design's size with the software renderer on it.
class HeadlessRenderer : public testing::Test {
protected:
    void SetUp() override {
        UseHeadlessDrivers();
        window = new ProbeWindow;
        ASSERT_EQ(window->Create(nullptr, "Zanbor", 800, 600, 0x11B), 0);
        device = MRenderDevice::Get(window->handle);
        device->deviceType = 0;
        device->SetFramePacing(0);
        ASSERT_EQ(device->CreateDevice(0, 800, 600), 0);
        ASSERT_EQ(device->BeginFrame(), 0);
        Clear(0xFF000000u);
    }
    void TearDown() override {
        delete window;  // takes the device with it
        EXPECT_EQ(MRenderDevice::Current(), nullptr);
        ResetAccumulatedWindowStyle();
        SDL_Quit();
    }

    void Clear(D3DCOLOR colour) {
        MPanel panel;
        panel.right = 800;
        panel.bottom = 600;
        panel.fillColour = colour;
        ASSERT_EQ(device->FillRect(panel), 0);
    }

    // The back buffer's pixel as 0x00RRGGBB.
    std::uint32_t Pixel(int x, int y) {
        SDL_Rect rect{x, y, 1, 1};
        std::uint32_t value = 0;
        EXPECT_EQ(SDL_RenderReadPixels(device->GetDevice(), &rect, SDL_PIXELFORMAT_ARGB8888, &value, 4), 0);
        return value & 0xFFFFFFu;
    }

    ProbeWindow* window = nullptr;
    MRenderDevice* device = nullptr;
};

using ::MakeImage;

// Opaque 0xRRGGBB as 0xRRGGBBFF.
constexpr std::uint32_t Opaque(std::uint32_t rgb) { return rgb << 8 | 0xFFu; }

}  // namespace gfxtest
