#pragma once
// The whole program in-process on SDL's dummy drivers: the game application's
// own start-up (settings store, checks, window, renderer, fonts, sound, the
// packed archive found beside the program, the play scene), a game clock the
// test moves, real SDL key and mouse events handed to the window as the loop
// hands them, and frames run as the loop runs them when its queue is empty.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "common/actors/CActor.h"
#include "game/app/CGameApp.h"
#include "game/app/CGameScreen.h"
#include "game/play/CPlayScene.h"
#include "game/rules/Random.h"
#include "platform/app/GameTimer.h"
#include "platform/storage/MRegistryStore.h"
#include "platform/render/MRenderDevice.h"
#include "platform/window/MWindow.h"
#include "tests/support/SettingsSandbox.h"

namespace e2e {

inline std::int64_t gNanos = 0;
inline std::int64_t FakeNow() { return gNanos; }

class ProgramTest : public testing::Test {
protected:
    void SetUp() override {
        previousApp = gApplication;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("ZANBOR_SOUNDFONT", "none", 1);  // the music is not played here; the synthesizer is slow to load
        gNanos = 1'000'000'000;
        SetGameTimerClock(FakeNow);
    }
    void TearDown() override {
        EndProgram();
        unsetenv("ZANBOR_SOUNDFONT");
        SetGameTimerClock(nullptr);
    }

    static void StoreDword(const char* name, int value) {
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword(name, static_cast<DWORD>(value), "Config");
    }
    static int StoredDword(const std::string& name, int missing) {
        DWORD value = 0;
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadDword(&value, name.c_str(), static_cast<DWORD>(missing), "Config");
        return static_cast<int>(value);
    }
    static std::string StoredString(const std::string& name) {
        char text[64] = {};
        MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadString(text, name.c_str(), "", "Config", sizeof text);
        return text;
    }

    // The process entry's start: a new application object and its OnInit,
    // then what the window reported while it came up.
    void StartProgram(unsigned seed) {
        SeedRandom(seed);
        app = std::make_unique<CGameApp>();
        gApplication = app.get();
        app->instance = app.get();
        ASSERT_EQ(app->OnInit(), 1);
        // The clock is the test's: frames need not wait for the display.
        MRenderDevice::Current()->SetFramePacing(0);
        Pump();
        // A desktop gives the shown window the focus; the dummy driver does not.
        if (!app->screen->active) SendWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        ASSERT_EQ(app->screen->active, 1);
        ASSERT_NE(Scene(), nullptr);
    }
    // The end of the run: the application object goes, as after the loop.
    void EndProgram() {
        app.reset();
        gApplication = previousApp;
        ResetAccumulatedWindowStyle();
        SDL_Quit();
    }

    CGameScreen* Screen() const { return app->GetGameScreen(); }
    CPlayScene* Scene() const { return dynamic_cast<CPlayScene*>(Screen()->scene.get()); }

    // One frame of the loop after ticks of game time.
    void Frame(int ticks) {
        gNanos += static_cast<std::int64_t>(ticks) * 1'000'000'000 / 256;
        app->OnIdle();
    }
    // Frames of at most 25 ticks (the most one frame moves) until ticks have passed.
    void Run(int ticks) {
        for (; ticks > 0; ticks -= 25) Frame(ticks < 25 ? ticks : 25);
    }

    // Everything queued goes to the window's handler, as the loop takes it.
    void Pump() {
        SDL_Event taken;
        while (SDL_PollEvent(&taken)) app->screen->HandleMessage(taken);
    }
    void Send(SDL_Event event) {
        event.common.timestamp = SDL_GetTicks();
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        Pump();
    }
    void SendWindowEvent(Uint8 what) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(app->screen->handle);
        event.window.event = what;
        Send(event);
    }
    void Key(Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(app->screen->handle);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        Send(event);
    }
    void Tap(SDL_Keycode key) {
        Key(SDL_KEYDOWN, key);
        Key(SDL_KEYUP, key);
    }
    // Where a point of the 800 x 600 layout lies in the window: the same in a
    // window, scaled and letterboxed in full screen (SDL scales events back).
    void ToWindow(int* x, int* y) {
        if (SDL_Renderer* renderer = SDL_GetRenderer(app->screen->handle))
            SDL_RenderLogicalToWindow(renderer, *x + 0.5f, *y + 0.5f, x, y);
    }
    void Button(Uint32 type, int x, int y, Uint8 button) {
        ToWindow(&x, &y);
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(app->screen->handle);
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
        Send(event);
    }
    void Move(int x, int y) {
        ToWindow(&x, &y);
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(app->screen->handle);
        event.motion.x = x;
        event.motion.y = y;
        Send(event);
    }
    void Click(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y, button);
        Button(SDL_MOUSEBUTTONUP, x, y, button);
    }
    // A click in the middle of an actor's picture (window pixels, as its bounds are).
    void ClickOn(const CActor* actor, Uint8 button = SDL_BUTTON_LEFT) { Click(MidX(actor), MidY(actor), button); }
    // Pressed on one actor, carried over a few frames and let go on another.
    void Drag(const CActor* from, const CActor* to) {
        const int x = MidX(from), y = MidY(from), dx = MidX(to) - x, dy = MidY(to) - y;
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y, SDL_BUTTON_LEFT);
        for (int step = 1; step <= 4; ++step) {
            Move(x + dx * step / 4, y + dy * step / 4);
            Frame(8);
        }
        Button(SDL_MOUSEBUTTONUP, x + dx, y + dy, SDL_BUTTON_LEFT);
        Frame(8);
    }

    // True when the quit message waits in the event queue.
    static bool QuitPosted() {
        SDL_PumpEvents();
        SDL_Event events[16];
        const int count = SDL_PeepEvents(events, 16, SDL_PEEKEVENT, SDL_USEREVENT, SDL_LASTEVENT);
        for (int i = 0; i < count; ++i)
            if (events[i].user.code == 0) return true;
        return false;
    }

    static bool Shown(const CActor* actor) { return actor && !actor->hidden; }
    static int MidX(const CActor* a) { return (a->bounds.left + a->bounds.right) / 2; }
    static int MidY(const CActor* a) { return (a->bounds.top + a->bounds.bottom) / 2; }

    SettingsSandbox sandbox;
    std::unique_ptr<CGameApp> app;
    MApplication* previousApp = nullptr;
};

}  // namespace e2e
