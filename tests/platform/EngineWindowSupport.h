#pragma once
// A real screen on SDL's dummy video driver with the software renderer, fed
// with real SDL events, for the engine's routing and screen tests.

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/CActorSprite.h"
#include "common/CInputRouting.h"
#include "common/CScene.h"
#include "common/CScreen.h"
#include "common/CSprite.h"
#include "platform/GameTimer.h"
#include "platform/MImage.h"
#include "platform/MRenderDevice.h"
#include "platform/MTexture.h"
#include "tests/support/PictureMaker.h"

namespace enginewin {

inline std::int64_t gNanos = 1'000'000'000;
inline std::int64_t FakeNow() { return gNanos; }
inline void AdvanceTicks(int ticks) { gNanos += static_cast<std::int64_t>(ticks) * 1'000'000'000 / 256; }

inline std::vector<std::string> gLog;

class EngineScreen : public CScreen {
public:
    int CreateContent() override { return 0; }
};

// A scene that logs its handlers.
class ProbeScene : public CScene {
public:
    ProbeScene(CScreen* screen, std::string sceneName) : CScene(screen, 0, 0, 0, 0, 1), name(std::move(sceneName)) {}
    void OnLeftDown(int x, int y) override { Note("left-down", x, y); }
    void OnLeftUp(int x, int y) override { Note("left-up", x, y); }
    void OnMouseMove(int x, int y) override { Note("move", x, y); }
    int OnKeyDown(int key) override {
        gLog.push_back(name + " key-down " + std::to_string(key));
        return CScene::OnKeyDown(key);
    }
    int OnKeyUp(int key) override {
        gLog.push_back(name + " key-up " + std::to_string(key));
        return 0;
    }
    void Note(const char* what, int x, int y) {
        gLog.push_back(name + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
    }
    int allowMusic = 1;
    int CanResumeMusic() override { return allowMusic && CScene::CanResumeMusic(); }
    std::string name;
};

// A sprite actor that wants every press and logs what reaches it; it can
// take the mouse for a drag.
class ProbeSprite : public CActorSprite {
public:
    ProbeSprite(CScene* scene, std::string actorName, int px, int py, int pz, CSprite* picture)
        : CActorSprite(scene, px * 256, py * 256, pz * 256, picture, 0), name(std::move(actorName)) {}
    int WantsMouse(const CMouseEvent& event) override { return event.type != MOUSE_MOVE; }
    int OnMouse(const CMouseEvent& event) override {
        gLog.push_back(name + " " + std::to_string(event.type) + " " + std::to_string(event.x) + "," +
                       std::to_string(event.y));
        if (dragging && event.type == MOUSE_LEFT_DOWN) SetCapture(this);
        if (dragging && event.type == MOUSE_LEFT_UP) SetCapture(nullptr);
        return 1;
    }
    std::string name;
    int dragging = 0;
};

// A w x h picture anchored at its top-left corner; its left half is
// transparent when halfClear is set.
inline CSprite* MakePicture(int w, int h, bool halfClear) {
    MImage image = MakeImage(w, h, [&](int x, int) { return (halfClear && x < w / 2) ? 0x00000000u : 0xFF8040FFu; });
    auto* texture = new MTexture();
    EXPECT_EQ(texture->SetImage(image, w, h), 0);
    auto* frame = new CSprite;
    frame->texture = texture;
    frame->w = w;
    frame->h = h;
    return frame;
}

class EngineWindowTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        gNanos = 1'000'000'000;
        SetGameTimerClock(FakeNow);
        gLog.clear();
        screen = new EngineScreen;
        ASSERT_EQ(screen->Create(nullptr, "Zanbor", 800, 600, 0x11B), 0);
        MRenderDevice* device = MRenderDevice::Get(screen->handle);
        device->deviceType = 0;
        device->SetFramePacing(0);
        ASSERT_EQ(device->CreateDevice(0, 800, 600), 0);
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // whatever the window's birth reported
        screen->active = 1;
    }
    void TearDown() override {
        while (CScene::Last()) delete CScene::Last();
        screen->scene = nullptr;
        for (CSprite* frame : frames) delete frame;
        delete screen;
        ResetAccumulatedWindowStyle();
        SDL_Quit();
        SetGameTimerClock(nullptr);
    }

    CSprite* Picture(int w, int h, bool halfClear) {
        frames.push_back(MakePicture(w, h, halfClear));
        return frames.back();
    }

    // Pushes events through SDL's queue and hands whatever comes out to the
    // window's translation, as the application's loop does.
    void Send(SDL_Event event) {
        event.common.timestamp = SDL_GetTicks();
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        SDL_Event taken;
        while (SDL_PollEvent(&taken)) screen->HandleMessage(taken);
    }
    void Button(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT, Uint8 clicks = 1) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(screen->handle);
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        Send(event);
    }
    void Press(int x, int y) { Button(SDL_MOUSEBUTTONDOWN, x, y); }
    void Release(int x, int y) { Button(SDL_MOUSEBUTTONUP, x, y); }
    void Move(int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(screen->handle);
        event.motion.x = x;
        event.motion.y = y;
        Send(event);
    }
    void Key(Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(screen->handle);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        Send(event);
    }
    void Window(SDL_WindowEventID id, int data1 = 0, int data2 = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(screen->handle);
        event.window.event = id;
        event.window.data1 = data1;
        event.window.data2 = data2;
        Send(event);
    }

    EngineScreen* screen = nullptr;
    std::vector<CSprite*> frames;
};

}  // namespace enginewin
