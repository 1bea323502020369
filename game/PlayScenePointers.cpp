// The dice's and the sheet's assets, the sheet itself, and the process-wide
// pointers through which they reach the scene.

#include "game/CPlayScene.h"

int CPlayScene::LoadPartAssets() { return 0; }
void CPlayScene::FreePartAssets() {}
void CPlayScene::SetPartSoundVolume(float) {}
void CPlayScene::CreateSheet() {}
void CPlayScene::ResetSheet() {}
void CPlayScene::SheetScore(int) {}
void CPlayScene::SheetUndo() {}

void CPlayScene::SetProcessPointers() { gPlayScene = this; }

void CPlayScene::ClearProcessPointers() {
    if (gPlayScene == this) gPlayScene = nullptr;
}
