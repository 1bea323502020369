#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // The suites run headless on SDL's dummy drivers with the software renderer,
    // and without a display, so that no dialog can ever wait for a click.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
