#pragma once
// The suites and the benchmarks run headless: SDL's dummy drivers with the
// software renderer, and no display, so that no dialog can ever wait for a click.

#include <cstdlib>

inline void UseHeadlessDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
}
