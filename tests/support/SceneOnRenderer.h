#pragma once
// A software renderer, a window-less screen and a scene on a clock the test
// moves: the set-up of the tests that draw actors without a window.

#include "common/actors/CActorFade.h"
#include "platform/app/GameTimer.h"
#include "platform/render/MTextFont.h"
#include "tests/support/EngineTestSupport.h"
#include "tests/support/GraphicsTestSupport.h"

namespace gfxtest {

class SceneOnRenderer : public HeadlessRenderer {
protected:
    void SetUp() override {
        HeadlessRenderer::SetUp();
        SetGameTimerClock(enginetest::FakeNow);
        screen = new enginetest::TestScreen;
        scene = new enginetest::LogScene(screen);
        CActorFade::SetLastFadeColour(0);
    }
    void TearDown() override {
        delete scene;
        screen->scene.release();
        delete screen;
        SetGameTimerClock(nullptr);
        CActorFade::SetLastFadeColour(0);
        MFontManager::Free();
        HeadlessRenderer::TearDown();
    }

    enginetest::TestScreen* screen = nullptr;
    enginetest::LogScene* scene = nullptr;
};

}  // namespace gfxtest
