#include "common/scene/CInputRouting.h"

#include "common/actors/CActor.h"
#include "common/scene/CScene.h"

namespace {
CActor* gCaptureActor = nullptr;
CScene* gCaptureScene = nullptr;
CScene* gMouseDownScene = nullptr;
CScene* gKeyDownScene = nullptr;
}  // namespace

void SetCapture(CActor* actor) {
    gCaptureActor = actor;
    gCaptureScene = actor ? actor->scene : nullptr;
}

CActor* GetCaptureActor() { return gCaptureActor; }

CScene* GetCaptureScene() { return gCaptureScene; }

CScene* GetMouseDownScene() { return gMouseDownScene; }

void SetMouseDownScene(CScene* scene) { gMouseDownScene = scene; }

CScene* GetKeyDownScene() { return gKeyDownScene; }

int DeliverMouse(const CMouseEvent& event) {
    if (gCaptureScene) return gCaptureScene->Dispatch(event);
    if (CScene* top = CScene::Last()) return top->Dispatch(event);
    return 0;
}

int DeliverKeyDown(int key, int systemKey) {
    CScene* top = CScene::Last();
    if (!top) return 1;
    gKeyDownScene = top;
    if (top->IsLeaving()) return 1;  // fading out to another scene: no more keys
    return systemKey ? top->OnSysKeyDown(key) : top->OnKeyDown(key);
}

int DeliverKeyUp(int key, int systemKey) {
    CScene* top = CScene::Last();
    if (!top || top != gKeyDownScene || top->IsLeaving()) return 1;
    return systemKey ? top->OnSysKeyUp(key) : top->OnKeyUp(key);
}

void ForgetSceneInRouting(CScene* scene) {
    if (gCaptureScene == scene) {
        gCaptureScene = nullptr;
        gCaptureActor = nullptr;
    }
    if (gMouseDownScene == scene) gMouseDownScene = nullptr;
    if (gKeyDownScene == scene) gKeyDownScene = nullptr;
}

void ReleaseCaptureOf(CActor* actor) {
    if (actor && gCaptureActor == actor) SetCapture(nullptr);
}
