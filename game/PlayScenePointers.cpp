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

bool CPlayScene::GetLineFaces(int faces[kHandSize]) {
    if (!scoringHand) return board.GetLineFaces(faces);
    for (int i = 0; i < kHandSize; ++i) faces[i] = handFaces[i];
    return true;
}

bool CPlayScene::GetLineColours(int colours[kHandSize]) {
    if (!scoringHand) return board.GetLineColours(colours);
    for (int i = 0; i < kHandSize; ++i) colours[i] = handColours[i];
    return true;
}

void CPlayScene::SetProcessPointers() {
    gPlayScene = this;
    pDiceScene = this;
    gScoreSheetScene = this;
    gScoreSheet = sheet;
}

// Only pointers that still name this scene are cleared: a newer scene keeps its own.
void CPlayScene::ClearProcessPointers() {
    if (gPlayScene == this) gPlayScene = nullptr;
    if (pDiceScene == static_cast<IDiceScene*>(this)) pDiceScene = nullptr;
    if (gScoreSheetScene == static_cast<IScoreSheetScene*>(this)) {
        gScoreSheetScene = nullptr;
        gScoreSheet = nullptr;
    }
}
