// Where the window opens and what it shows: the kept place and size clamped to
// the desktop, a first window at the largest whole multiple of the design in
// about two thirds of it, and the whole layout in any window but one of
// exactly the design's size.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include "common/scene/CGame.h"
#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"
#include "game/app/WindowFit.h"
#include "platform/render/MRenderDevice.h"
#include "tests/support/SettingsSandbox.h"
#include "tests/support/WindowTest.h"

namespace {

WindowPlacement Place(int x, int y, int w, int h, bool maximised = false) {
    WindowPlacement p;
    p.x = x;
    p.y = y;
    p.width = w;
    p.height = h;
    p.maximised = maximised;
    return p;
}

TEST(WindowFit, KeptPlacesAreClampedToTheDesktopAndFirstWindowsTakeTwoThirdsOfIt) {
    const WindowPlacement none;
    const struct Case {
        const char* name;
        WindowPlacement stored, usable, expected;
    } cases[] = {
        {"first start, 1920 x 1080", none, Place(0, 0, 1920, 1040), Place(563, 232, 794, 575)},
        {"first start, 3840 x 2160", none, Place(0, 0, 3840, 2120), Place(1126, 485, 1588, 1150)},
        {"first start, 5120 x 2880", none, Place(0, 0, 5120, 2840), Place(1369, 557, 2382, 1725)},
        {"first start, a small desktop", none, Place(0, 0, 800, 600), Place(3, 12, 794, 575)},
        {"first start, a second desktop", none, Place(1920, 0, 3840, 2160), Place(3046, 505, 1588, 1150)},
        {"kept as it was", Place(561, 100, 1200, 900), Place(0, 0, 1920, 1040), Place(561, 100, 1200, 900)},
        {"kept maximised", Place(10, 20, 900, 700, true), Place(0, 0, 1920, 1040), Place(10, 20, 900, 700, true)},
        {"larger than the desktop", Place(-50, -40, 3000, 2000), Place(0, 0, 1920, 1040), Place(0, 0, 1920, 1040)},
        {"off the desktop", Place(5000, -300, 1000, 800), Place(0, 0, 1920, 1040), Place(920, 0, 1000, 800)},
        {"below the design's size", Place(100, 100, 400, 300), Place(0, 0, 1920, 1040), Place(100, 100, 794, 575)},
    };
    for (const Case& c : cases) {
        const WindowPlacement fit = FitWindow(c.stored, c.usable);
        EXPECT_EQ(fit.x, c.expected.x) << c.name;
        EXPECT_EQ(fit.y, c.expected.y) << c.name;
        EXPECT_EQ(fit.width, c.expected.width) << c.name;
        EXPECT_EQ(fit.height, c.expected.height) << c.name;
        EXPECT_EQ(fit.maximised, c.expected.maximised) << c.name;
    }
}

TEST(WindowFit, ThePlacementIsKeptInTheStoreLeftAndAboveTheDesktopToo) {
    SettingsSandbox sandbox;
    EXPECT_EQ(ReadWindowPlacement().width, 0);
    WriteWindowPlacement(Place(-120, -8, 1000, 760, true));
    const WindowPlacement read = ReadWindowPlacement();
    EXPECT_EQ(read.x, -120);
    EXPECT_EQ(read.y, -8);
    EXPECT_EQ(read.width, 1000);
    EXPECT_EQ(read.height, 760);
    EXPECT_TRUE(read.maximised);
}

class WindowDesign : public harness::WindowTest<CGameScreen> {
protected:
    void SetUp() override {
        previous = gApplication;
        app = std::make_unique<CGameApp>();
        gApplication = app.get();
        OpenWindow(kWindowDesignWidth, kWindowDesignHeight);
        game = new CGame(screen, 0, 0, 0, 0, 1);
        screen->scene.reset(game);
    }
    void TearDown() override {
        WindowTest::TearDown();
        app.reset();
        gApplication = previous;
    }
    void Resize(int w, int h) {
        SDL_SetWindowSize(screen->handle, w, h);
        screen->OnSize(w, h);
    }
    MApplication* previous = nullptr;
    std::unique_ptr<CGameApp> app;
    CGame* game = nullptr;
};

TEST_F(WindowDesign, OnlyAWindowOfTheDesignsSizeShowsTheCropAnyOtherTheWholeLayout) {
    const struct {
        int w, h;
        bool crop;
    } sizes[] = {{794, 575, true}, {1200, 900, false}, {1588, 1150, false}, {794, 575, true}, {1000, 575, false}};
    for (const auto& s : sizes) {
        Resize(s.w, s.h);
        EXPECT_EQ(screen->ShowsWindowCrop(), s.crop) << s.w << "x" << s.h;
        int logicalW = 0, logicalH = 0;
        SDL_RenderGetLogicalSize(MRenderDevice::Current()->GetDevice(), &logicalW, &logicalH);
        EXPECT_EQ(logicalW, s.crop ? kWindowDesignWidth : kFullDesignWidth) << s.w << "x" << s.h;
        EXPECT_EQ(logicalH, s.crop ? kWindowDesignHeight : kFullDesignHeight) << s.w << "x" << s.h;
        int x = -1, y = -1;
        screen->GameSceneOrigin(&x, &y);
        EXPECT_EQ(x, s.crop ? CGameScreen::kWindowedOriginX : 0) << s.w << "x" << s.h;
        EXPECT_EQ(y, s.crop ? CGameScreen::kWindowedOriginY : 0) << s.w << "x" << s.h;
        EXPECT_EQ(game->originX, x) << s.w << "x" << s.h;
    }
}

}  // namespace
