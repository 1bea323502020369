// The dice's and the sheet's assets, the sheet itself, and the process-wide
// pointers through which they reach the scene.

#include "game/play/CPlayScene.h"

#include "game/sheet/CScoreSheet.h"
#include "game/play/DieAssets.h"
#include "game/play/coach/CoachAssets.h"
#include "game/sheet/ScoreSheetAssets.h"
#include "platform/core/CException.h"

// The dice's run, then the sheet's, read on from where the dice's ends.
int CPlayScene::LoadPartAssets() {
    try {
        if (LoadDieAssets(screen) != 0) return kResultPlayAssetsNotLoaded;
        if (LoadScoreSheetAssets(screen) != 0) return kResultPlayAssetsNotLoaded;
        LoadCoachAssets(screen);  // without them the game goes on without its coach
    } catch (const CException&) {
        // A damaged picture: what was read stays listed until FreeAssets.
        return kResultPlayAssetsNotLoaded;
    }
    return 0;
}

void CPlayScene::FreePartAssets() {
    FreeCoachAssets();
    FreeScoreSheetAssets();
    FreeDieAssets();
}

void CPlayScene::SetPartSoundVolume(float level) {
    SetScoreSheetSoundVolume(level);
    SetDieSoundVolume(level);
}

void CPlayScene::CreateSheet() {
    sheet = new CScoreSheet(this);
    SetStatus(sheet);
}

// The cells were reset with every actor; the sheet empties itself after them.
void CPlayScene::ResetSheet() {
    if (sheet) sheet->ResetForNewGame(0, 0);
}

void CPlayScene::SheetScore(int code) {
    if (sheet) sheet->ScoreCategory(code);
}

void CPlayScene::SheetUndo() {
    if (sheet) sheet->UndoLastEntry();
}

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
