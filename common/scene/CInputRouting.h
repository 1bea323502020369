#pragma once
// How mouse events and keys travel from the screen to the scenes and actors:
// the process-wide capture, mouse-down scene and key-down scene, and the
// delivery rules. A scene's own walk over its actors is CScene::Dispatch.

#include "common/scene/CMouseEvent.h"

class CActor;
class CScene;

// The actor that took the mouse for a drag (and its scene); null for none.
void SetCapture(CActor* actor);
CActor* GetCaptureActor();
CScene* GetCaptureScene();

// The top scene when the last button press or double-click was seen; a
// release is delivered to the scene handlers only while it is still on top.
CScene* GetMouseDownScene();
void SetMouseDownScene(CScene* scene);
// The top scene when the last key press was seen.
CScene* GetKeyDownScene();

// To the capture scene if there is a capture, else to the top scene; 0 with
// no scene at all.
int DeliverMouse(const CMouseEvent& event);

// A press makes the top scene the key-down scene and returns its OnKeyDown
// (OnSysKeyDown for system keys). A release reaches the top scene only while it
// is still the key-down scene, else it counts as handled (1). A scene on its
// way out (CScene::IsLeaving) gets neither. No scene: 1.
int DeliverKeyDown(int key, int systemKey = 0);
int DeliverKeyUp(int key, int systemKey = 0);

// A scene is going away: no routing state may keep pointing at it.
void ForgetSceneInRouting(CScene* scene);
// An actor is going away: it loses the capture if it held it.
void ReleaseCaptureOf(CActor* actor);
