// How the play scene moves the dice actors; the dice read the board model.

#include "game/CPlayScene.h"

#include "common/CActor.h"

void CPlayScene::CreateDice() {}
const CActor* CPlayScene::FirstDieOfRow() const { return nullptr; }
void CPlayScene::StopDiceSounds() {}
void CPlayScene::DiceStartRoll(bool) {}
void CPlayScene::DiceDropRerolled() {}
void CPlayScene::DiceClearHolds(int, bool) {}
void CPlayScene::DiceSettleRow(int) {}
void CPlayScene::DiceRiseRow(int) {}
void CPlayScene::DiceSecondHalf(bool) {}
void CPlayScene::DiceShowMovability() {}
void CPlayScene::DiceHideHoldFrames() {}
void CPlayScene::DiceShowMarkers(int) {}
void CPlayScene::DiceShowSwap(int, int) {}
void CPlayScene::DiceSetHold(int, bool, bool) {}
void CPlayScene::DiceEndShow(bool) {}
bool CPlayScene::DiceMarked(int) const { return false; }
void CPlayScene::PlayRefusal() {}
