#pragma once
// Helpers of the engine tests: a game clock the test moves by hand, a screen
// without a window, and actors that log what happens to them.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/actors/CActor.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "platform/app/GameTimer.h"

namespace enginetest {

// The clock starts at one second (a stop time of 0 would mean "running").
inline std::int64_t gFakeNanos = 1'000'000'000;
inline std::int64_t FakeNow() { return gFakeNanos; }
// Moves the game clock on by whole ticks of 1/256 second.
inline void AdvanceTicks(int ticks) { gFakeNanos += static_cast<std::int64_t>(ticks) * 1'000'000'000 / 256; }

class TestScreen : public CScreen {
public:
    TestScreen() {
        clientWidth = 800;
        clientHeight = 600;
    }
    int CreateContent() override { return 0; }
};

// Everything actors and scenes do, in order, as words.
inline std::vector<std::string> gLog;

// A plain actor: a w x h box whose top-left corner is its position.
class BoxActor : public CActor {
public:
    BoxActor(CScene* scene, std::string actorName, int px, int py, int pz, int w = 10, int h = 10)
        : CActor(scene, px * 256, py * 256, pz * 256, kCollisionNone, kShapeRectangle),
          name(std::move(actorName)),
          width(w),
          height(h) {
        RecalcBounds();
    }
    ~BoxActor() override { gLog.push_back("delete " + name); }
    void RecalcBounds() override { bounds = CRect{x >> 8, y >> 8, (x >> 8) + width, (y >> 8) + height}; }
    void Draw(const CRect&) override { gLog.push_back("draw " + name); }
    void Update(int ticks) override {
        gLog.push_back("update " + name);
        steps.push_back(ticks);
        CActor::Update(ticks);
        if (onUpdate) onUpdate(this);
    }
    void PostUpdate() override { ++postUpdates; }
    int WantsMouse(const CMouseEvent& event) override { return wantsMouse && event.type != 0; }
    int OnMouse(const CMouseEvent& event) override {
        gLog.push_back("mouse " + name + " " + std::to_string(event.type));
        return 7;
    }

    std::string name;
    int width;
    int height;
    int wantsMouse = 0;
    int postUpdates = 0;
    std::vector<int> steps;
    void (*onUpdate)(BoxActor*) = nullptr;
};

// A scene that logs its handlers.
class LogScene : public CScene {
public:
    explicit LogScene(CScreen* screen, std::string sceneName = "scene")
        : CScene(screen, 0, 0, 0, 0, 1), name(std::move(sceneName)) {}
    void OnLeftDown(int x, int y) override { Note("left-down", x, y); }
    void OnLeftUp(int x, int y) override { Note("left-up", x, y); }
    void OnMouseMove(int x, int y) override { Note("move", x, y); }
    int OnKeyDown(int key) override {
        gLog.push_back(name + " key-down " + std::to_string(key));
        return CScene::OnKeyDown(key);
    }
    int OnKeyUp(int key) override {
        gLog.push_back(name + " key-up " + std::to_string(key));
        return 5;
    }
    void Note(const char* what, int x, int y) {
        gLog.push_back(name + " " + what + " " + std::to_string(x) + "," + std::to_string(y));
    }
    std::string name;
};

// A sprite frame without a picture: size and anchor only (opaque everywhere).
inline CSprite* MakeFrame(int w, int h, int ox, int oy) {
    auto* frame = new CSprite;
    frame->w = w;
    frame->h = h;
    frame->ox = ox;
    frame->oy = oy;
    return frame;
}

// A fake clock, a screen and an empty log; every scene left over is deleted.
class EngineTest : public testing::Test {
protected:
    void SetUp() override {
        gFakeNanos = 1'000'000'000;
        SetGameTimerClock(FakeNow);
        gLog.clear();
        screen = new TestScreen;
    }
    void TearDown() override {
        while (CScene::Last()) delete CScene::Last();
        screen->scene.release();
        delete screen;
        SetGameTimerClock(nullptr);
    }

    TestScreen* screen = nullptr;
};

}  // namespace enginetest
