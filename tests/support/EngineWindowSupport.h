#pragma once
// The shared window harness with a probe scene and sprite that log what
// reaches them, for the engine's routing and screen tests.

#include <string>
#include <vector>

#include "common/actors/CActorSprite.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "formats/MImage.h"
#include "platform/render/MTexture.h"
#include "tests/support/PictureMaker.h"
#include "tests/support/WindowTest.h"

namespace enginewin {

using harness::AdvanceTicks;
using harness::FakeNow;
using harness::gNanos;

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

class EngineWindowTest : public harness::WindowTest<EngineScreen> {
protected:
    void SetUp() override {
        gLog.clear();
        WindowTest::SetUp();
    }
    void TearDown() override {
        while (CScene::Last()) delete CScene::Last();
        for (CSprite* frame : frames) delete frame;
        WindowTest::TearDown();
    }

    CSprite* Picture(int w, int h, bool halfClear) {
        frames.push_back(MakePicture(w, h, halfClear));
        return frames.back();
    }

    std::vector<CSprite*> frames;
};

}  // namespace enginewin
