#pragma once
// A test on the shared window harness: a Screen of the test's kind on a real
// window, the hand clock started, events pushed through SDL's queue; all of
// it closed after the test.

#include <gtest/gtest.h>

#include "tests/support/GameHarness.h"

namespace harness {

template <class Screen>
class WindowTest : public testing::Test, public Input {
protected:
    void SetUp() override { OpenWindow(); }
    void TearDown() override {
        CloseAll(screen);
        screen = nullptr;
    }
    void Failed(const char* what) override { ADD_FAILURE() << what; }

    void OpenWindow(int w = 800, int h = 600) {
        StartClock();
        target = screen = new Screen;
        device = harness::OpenWindow(*screen, w, h);
        ASSERT_NE(device, nullptr);
    }
    void OpenSound() { ASSERT_TRUE(harness::OpenSound()) << "no audio driver"; }
    void OpenArchive() { ASSERT_TRUE(harness::OpenArchive(*screen, ZANBOR_BIN_DIR)) << ZANBOR_BIN_DIR; }

    Screen* screen = nullptr;
    MRenderDevice* device = nullptr;
};

}  // namespace harness
