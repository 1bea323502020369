// F11 and Alt+Enter as the player presses them: the window and full screen
// swap at once, the choice is stored for the next start, and the frame shows
// that mode's design (the window's drawing area with the layout shifted into
// it, or the whole layout in full screen) scaled and centred in the new size
// from the next frame on.

#include "tests/support/ProgramTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <utility>

namespace e2e {
namespace {

class FullScreenSwitch : public ProgramTest {
protected:
    // Where the design's top left and bottom right corners land in the window.
    std::tuple<int, int, int, int> Corners() {
        SDL_Renderer* renderer = SDL_GetRenderer(app->screen->handle);
        int logicalW = 0, logicalH = 0, left = 0, top = 0, right = 0, bottom = 0;
        SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
        SDL_RenderLogicalToWindow(renderer, 0, 0, &left, &top);
        SDL_RenderLogicalToWindow(renderer, static_cast<float>(logicalW), static_cast<float>(logicalH), &right, &bottom);
        return {left, top, right, bottom};
    }
    // Within a pixel: SDL rounds the scaled corners its own way.
    static void ExpectNear(std::tuple<int, int, int, int> seen, std::tuple<int, int, int, int> wanted) {
        const auto [a, b, c, d] = seen;
        const auto [e, f, g, h] = wanted;
        EXPECT_TRUE(std::abs(a - e) <= 1 && std::abs(b - f) <= 1 && std::abs(c - g) <= 1 && std::abs(d - h) <= 1)
            << a << "," << b << " " << c << "," << d << " wanted " << e << "," << f << " " << g << "," << h;
    }
    void Press(SDL_Keycode key, Uint16 mod) {
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.windowID = SDL_GetWindowID(app->screen->handle);
        event.key.state = SDL_PRESSED;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mod;
        Send(event);
        event.type = SDL_KEYUP;
        event.key.state = SDL_RELEASED;
        Send(event);
        Frame(1);
    }
};

TEST_F(FullScreenSwitch, EachSwitchStoresTheModeAndCentresThatModesDesignAtOnce) {
    // Whether the window shows the layout's window crop: only a window of exactly its size does.
    const auto cropped = [&](int full) {
        int w = 0, h = 0;
        SDL_GetWindowSize(app->screen->handle, &w, &h);
        return !full && w == 794 && h == 575;
    };
    // Where that mode's design lands: fitted to the window and centred in it.
    const auto fitted = [&](int full) {
        const int designW = cropped(full) ? 794 : 800, designH = cropped(full) ? 575 : 600;
        int w = 0, h = 0;
        SDL_GetWindowSize(app->screen->handle, &w, &h);
        const double scale = std::min(static_cast<double>(w) / designW, static_cast<double>(h) / designH);
        const int fitW = static_cast<int>(designW * scale), fitH = static_cast<int>(designH * scale);
        return std::tuple{(w - fitW) / 2, (h - fitH) / 2, (w - fitW) / 2 + fitW, (h - fitH) / 2 + fitH};
    };
    const struct {
        SDL_Keycode key;
        Uint16 mod;
    } presses[] = {{SDLK_F11, 0}, {SDLK_RETURN, KMOD_LALT}, {SDLK_F11, 0}, {SDLK_RETURN, KMOD_RALT}};
    // How far the layout is drawn shifted (the play scene's actors against
    // their places on the layout): the window's own in the crop, else none.
    const auto shift = [&] {
        const CActor* actor = Scene()->FirstActor();
        return std::pair{actor->AbsoluteX() - actor->x, actor->AbsoluteY() - actor->y};
    };
    std::pair<int, int> windowShift{};
    for (int startFull : {0, 1}) {
        SCOPED_TRACE(startFull);
        StoreDword("Fullscreen", startFull);
        StartProgram(7);
        ExpectNear(Corners(), fitted(startFull));
        if (!startFull) windowShift = shift();
        EXPECT_EQ(shift(), (cropped(startFull) ? windowShift : std::pair{0, 0}));
        int full = startFull;
        for (const auto& press : presses) {
            Press(press.key, press.mod);
            full = !full;
            EXPECT_EQ(app->screen->IsFullScreenNow(), full);
            EXPECT_EQ(StoredDword("Fullscreen", 99), full);
            ExpectNear(Corners(), fitted(full));
            EXPECT_EQ(shift(), (cropped(full) ? windowShift : std::pair{0, 0}));
            // A window that started in full screen first leaves it at the window's own size.
            if (startFull && &press == &presses[0]) ExpectNear(Corners(), std::tuple{0, 0, 794, 575});
        }
        EndProgram();
    }
}

}  // namespace
}  // namespace e2e
