// How the play scene moves the dice actors; the dice read the board model.

#include "game/CPlayScene.h"

#include "common/CActor.h"
#include "common/CActorButton.h"
#include "common/CActorSprite.h"

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
int CPlayScene::DiceDropTarget(int, int) const { return -1; }
bool CPlayScene::DiceContains(int, int, int) const { return false; }

int CPlayScene::IndexOfDie(const CActorDie* die) const {
    for (int i = 0; i < kDieCount; ++i)
        if (die && dice[i] == die) return i;
    return -1;
}

void CPlayScene::PlayRefusalAndBlink() {
    PlayRefusal();
    if (GetHintLevel() == 2 && pasMsgBottom) pasMsgBottom->Blink(2, kBlinkShown, kBlinkHidden);
}

void CPlayScene::OnDiePressed(CActorDie* die, DieButton button) {
    const int index = IndexOfDie(die);
    if (index < 0 || !board.IsSecondHalf() || gameOver) return;
    if (button == DieButton::Left) {
        board.pickedRow = index / kBoardCols;
        board.pickedIndex = index % kBoardCols;
        return;
    }
    const int picked = board.pickedDie;
    switch (board.PickDie(index)) {
    case PickResult::Picked:
        DiceSetHold(index, true, true);
        break;
    case PickResult::Unpicked:
        DiceSetHold(index, false, true);
        break;
    case PickResult::Swapped:
        DiceShowSwap(picked, index);
        DiceSetHold(picked, false, false);
        SelectLineButton(board.selectedLine);
        ShowLineMarkers();
        break;
    case PickResult::Refused:
        PlayRefusalAndBlink();
        break;
    case PickResult::Ignored:
        break;
    }
}

void CPlayScene::OnDieReleased(CActorDie* die, int x, int y, bool movable) {
    const int index = IndexOfDie(die);
    if (index < 0 || !board.IsSecondHalf() || gameOver) return;
    if (board.pickedRow < 0 || board.pickedRow >= kBoardRows) return;
    const int target = movable ? DiceDropTarget(board.pickedRow, index) : -1;
    if (target >= 0 && board.SwapDice(index, target)) {
        if (pasSecHalfHelp) pasSecHalfHelp->Hide();
        if (helpButton) helpButton->SetState(kStateUp);
        DiceShowSwap(index, target);
        DiceHideHoldFrames();
        SelectLineButton(board.selectedLine);
        ShowLineMarkers();
    } else if (DiceContains(index, x, y)) {
        if (board.SelectDieColumn(index)) {
            SelectLineButton(board.selectedLine);
            ShowLineMarkers();
        }
    } else if (movable) {
        PlayRefusalAndBlink();
    }
}

void CPlayScene::OnDieAtTop(CActorDie*) {
    // The dice of one re-roll arrive together: one drop starts them all.
    if (!awaitingTop) return;
    awaitingTop = false;
    DiceDropRerolled();
}
