// How the play scene moves the dice actors; the dice read the board model.

#include "game/play/CPlayScene.h"

#include "common/actors/CActor.h"
#include "common/widgets/CActorButton.h"
#include "common/actors/CActorSprite.h"
#include "common/scene/CRect.h"
#include "common/scene/CFixPoint.h"
#include "game/play/CActorDiceDrag.h"
#include "game/play/CActorDie.h"
#include "game/play/DieAssets.h"
#include "game/sheet/ScoreSheetAssets.h"

namespace {

constexpr int kDiceX = 300;
constexpr int kDiceStep = 50;
constexpr int kDiceY = 118;
constexpr int kDiceDepth = 1000;

// The selection frame shows what the model holds (or picks).
void ShowHoldFrame(CActorDie* die, bool held) {
    if (!die || !die->SelectFrame()) return;
    if (held)
        die->SelectFrame()->Show();
    else
        die->SelectFrame()->Hide();
}

}  // namespace

// Row by row, each row from column 4 down, so every die knows its right-hand neighbour.
void CPlayScene::CreateDice() {
    for (int row = 0; row < kBoardRows; ++row) {
        CActorDie* right = nullptr;
        for (int col = kBoardCols - 1; col >= 0; --col) {
            const int index = DieIndex(row, col);
            right = new CActorDie(this, ToFixed(kDiceX + kDiceStep * col), ToFixed(kDiceY), ToFixed(kDiceDepth), right,
                                  index);
            dice[index] = right;
        }
    }
    pDiceDrag = CreateDiceDrag(this);
}

const CActor* CPlayScene::FirstDieOfRow() const {
    return board.handIndex < kFirstHalfHands ? dice[DieIndex(board.handIndex, 0)] : nullptr;
}

void CPlayScene::StopDiceSounds() { StopRollSounds(); }

void CPlayScene::DiceStartRoll(bool firstRoll) {
    const int row = board.handIndex;
    if (firstRoll) {
        if (CActorDie* first = dice[DieIndex(row, 0)]) first->Drop(kRollingRow);
        PlayRollSound(kBoardCols);
        HideUndoButton();
        return;
    }
    // The dice the model sends back fly up; the held ones stay.
    for (int col = 0; col < kBoardCols; ++col) {
        CActorDie* die = dice[DieIndex(row, col)];
        if (die && board.dice[DieIndex(row, col)].row < 0) die->Rise(-1);
    }
}

void CPlayScene::DiceDropRerolled() {
    if (board.handIndex >= kFirstHalfHands) return;
    if (CActorDie* first = dice[DieIndex(board.handIndex, 0)]) first->Drop(kRollingRow);
    PlayRollSound(board.rerolledCount);
}

void CPlayScene::DiceClearHolds(int row, bool) {
    if (row < 0 || row >= kBoardRows) return;
    for (int col = 0; col < kBoardCols; ++col) ShowHoldFrame(dice[DieIndex(row, col)], false);
}

void CPlayScene::DiceSettleRow(int row) {
    if (row < 0 || row >= kBoardRows) return;
    for (int col = 0; col < kBoardCols; ++col)
        if (CActorDie* die = dice[DieIndex(row, col)]) die->Settle(row);
}

void CPlayScene::DiceRiseRow(int row) {
    if (row < 0 || row >= kBoardRows) return;
    for (int col = 0; col < kBoardCols; ++col)
        if (CActorDie* die = dice[DieIndex(row, col)]) die->Rise(kRollingRow);
}

void CPlayScene::DiceSecondHalf(bool on) {
    for (CActorDie* die : dice) {
        if (!die) continue;
        ShowHoldFrame(die, false);
        if (on) {
            die->SetMovable(true);
            die->Glow()->Show();
            die->ResetGlow();
        } else {
            die->Glow()->Hide();
        }
    }
}

void CPlayScene::DiceShowMovability() {
    for (int i = 0; i < kDieCount; ++i)
        if (dice[i]) dice[i]->SetMovable(board.dice[i].movable);
}

void CPlayScene::DiceHideHoldFrames() {
    for (CActorDie* die : dice) ShowHoldFrame(die, false);
}

void CPlayScene::DiceShowMarkers(int line) {
    for (CActorDie* die : dice)
        if (die) die->HideMarker();
    int onLine[kHandSize];
    if (!GetLineDice(line, onLine)) return;
    for (int index : onLine)
        if (dice[index]) dice[index]->ShowMarker();
}

void CPlayScene::DiceShowSwap(int picked, int target) {
    // The model has exchanged faces and colours already.
    for (int index : {picked, target}) {
        if (index < 0 || index >= kDieCount || !dice[index]) continue;
        dice[index]->ShowFace(board.dice[index].face);
        dice[index]->ResetGlow();
    }
    PlayDieSound(kDieSoundSwap);
    HideUndoButton();
}

void CPlayScene::DiceSetHold(int index, bool on, bool withSound) {
    if (index < 0 || index >= kDieCount || !dice[index]) return;
    dice[index]->SetHold(on, withSound);
    ShowHoldFrame(dice[index], board.dice[index].held);
}

void CPlayScene::DiceEndShow(bool cycle) {
    for (CActorDie* die : dice) {
        if (!die) continue;
        die->SetMovable(true);
        if (cycle) {
            die->cycleFaces = true;
            die->cycleTicksLeft = kEndCycleTicks;
        } else {
            die->rollShow = true;
        }
    }
}

bool CPlayScene::DiceMarked(int index) const {
    return index >= 0 && index < kDieCount && dice[index] && dice[index]->IsMarked();
}

void CPlayScene::PlayRefusal() { PlayDieSound(kDieSoundRefuse); }

int CPlayScene::DiceDropTarget(int row, int released) const {
    if (!pDiceDrag || row < 0 || row >= kBoardRows) return -1;
    for (int col = 0; col < kBoardCols; ++col) {
        const int index = DieIndex(row, col);
        if (index == released || !dice[index] || !board.dice[index].movable) continue;
        if (RectsOverlap(dice[index]->bounds, pDiceDrag->bounds)) return index;
    }
    return -1;
}

bool CPlayScene::DiceContains(int index, int x, int y) const {
    return index >= 0 && index < kDieCount && dice[index] && RectContains(dice[index]->bounds, x, y);
}

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
        ShowHoldFrame(dice[picked], false);
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

bool CPlayScene::QueueHold(int index) {
    if (gameOver || board.IsSecondHalf() || index < 0 || index / kBoardCols != board.handIndex) return false;
    const int col = index % kBoardCols;
    // A second press before the row rests takes the first back.
    queuedHolds[col] = queuedHolds[col] == index ? -1 : index;
    return true;
}

void CPlayScene::ApplyQueuedHolds() {
    bool any = false;
    for (int index : queuedHolds) any = any || index >= 0;
    if (!any || RowBusy()) return;
    bool refused = false;
    for (int& index : queuedHolds) {
        if (index < 0) continue;
        const bool ofThisRow = index / kBoardCols == board.handIndex && !board.IsSecondHalf() && !gameOver;
        if (ofThisRow && RowSettled() && !board.dice[index].locked && dice[index])
            dice[index]->ToggleHold(true);
        else
            refused = true;  // the row was scored, or its last roll locked it
        index = -1;
    }
    if (refused) PlayRefusal();
}

void CPlayScene::OnDieReleased(CActorDie* die, int x, int y, bool movable) {
    const int index = IndexOfDie(die);
    if (index < 0 || gameOver) return;
    if (!board.IsSecondHalf()) {
        // A click on a die of the moving row is a hold for when it rests.
        if (RowBusy() && DiceContains(index, x, y) && !QueueHold(index)) PlayRefusal();
        return;
    }
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
