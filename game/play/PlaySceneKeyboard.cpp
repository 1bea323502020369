// Play from any keyboard: the letters A to L score like the numeric pad's
// category keys, the digits 1 to 5 hold the dice of the row in the first
// half, and in the second half the arrow keys move a cursor over the board
// whose Space picks a die and drops it on another, as a drag does.
//
// K also begins the hidden-picture sequence (K and Q held, X released with
// the left button down). So K scores on its release, and only when neither Q
// nor X was pressed while it was held: the sequence never scores a hand.

#include "game/play/CPlayScene.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorSprite.h"
#include "common/actors/CSprite.h"
#include "formats/CFileMM.h"
#include "common/scene/CScreen.h"
#include "game/play/CActorDie.h"
#include "platform/core/CException.h"

namespace {

bool IsShown(const CActor* actor) { return actor && !actor->hidden; }

// The letter keys of the twelve categories: "A" scores "a" (97) and so on.
bool IsCategoryLetter(int code) { return code >= kKeyFirstCategoryLetter && code <= kKeyLastCategoryLetter; }
int CategoryOfLetter(int letter) { return letter - kKeyFirstCategoryLetter + kFirstCategory; }

constexpr int kCursorLift = ToFixed(4);  // in front of the die's hold frame

}  // namespace

void CPlayScene::LoadKeyboardAssets() {
    if (!screen || !screen->archive) return;
    CFileMM& archive = *screen->archive;
    // An archive without the cursor's entry leaves the game without a cursor.
    if (archive.GetEntryCount() <= kKeyboardEntry) return;
    try {
        archive.SeekEntry(kKeyboardEntry);
        assets.cursor = CSprite::LoadFrame(archive, 1);
    } catch (const CException&) {
        assets.cursor = nullptr;
    }
}

void CPlayScene::CreateKeyboardObjects() {
    cursorIndex = DieIndex(kCursorStartRow, kCursorStartCol);
    pasCursor = assets.cursor ? AddSprite(0, 0, 0, assets.cursor, false) : nullptr;
    ForgetHeldKeys();
}

int CPlayScene::CommandOfKey(int code) {
    switch (code) {
    case kKeyOptions: return kCodeOptions;
    case kKeyNewGame: return kCodeNewGame;
    case kKeyHelp: return kCodeHelp;
    default: return code;
    }
}

bool CPlayScene::KeyboardKeyDown(int code) {
    const bool repeat = code >= 0 && code < kKeyCount && keyHeld[code];
    if (code >= 0 && code < kKeyCount) keyHeld[code] = true;
    if (code == kCodeHiddenA) kAlone = true;
    if (code == kCodeHiddenB || code == kCodeHiddenOpen) kAlone = false;
    if (!initialsCommitted) return false;  // before the first roll letters and arrows edit the initials
    if (IsCategoryLetter(code) && code != kCodeHiddenA) {
        if (!repeat) ScoreCategory(CategoryOfLetter(code));
        return true;
    }
    if (code >= kCodeFirstLine && code < kCodeFirstLine + kBoardCols && !board.IsSecondHalf()) {
        if (!repeat && !gameOver) {
            const int index = DieIndex(board.handIndex, code - kCodeFirstLine);
            CActorDie* die = dice[index];
            if (RowBusy()) {
                if (!QueueHold(index)) PlayRefusal();
            } else if (die && IsShown(die)) {
                die->ToggleHold(true);
            }
        }
        return true;
    }
    if (!board.IsSecondHalf() || gameOver) return false;
    switch (code) {
    case kKeyLeft: MoveCursor(0, -1); return true;
    case kKeyRight: MoveCursor(0, 1); return true;
    case kKeyUp: MoveCursor(1, 0); return true;
    case kKeyDown: MoveCursor(-1, 0); return true;
    case kKeySpace:
        if (!repeat) CursorAction();
        return true;
    default: return false;
    }
}

bool CPlayScene::KeyboardKeyUp(int code) {
    if (code < 0 || code >= kKeyCount) return false;
    const bool wasHeld = keyHeld[code];
    keyHeld[code] = false;
    if (code == kCodeHiddenA && wasHeld && kAlone && initialsCommitted) ScoreCategory(CategoryOfLetter(code));
    return false;
}

void CPlayScene::ForgetHeldKeys() {
    // The releases go to the scene opened over this one.
    for (bool& held : keyHeld) held = false;
    kAlone = false;
}

void CPlayScene::ShowCursorAt(int index) {
    if (!pasCursor || index < 0 || index >= kDieCount || !dice[index]) return;
    cursorIndex = index;
    pasCursor->SetXY(dice[index]->x, dice[index]->y);
    pasCursor->SetZ(dice[index]->z - kCursorLift);
    pasCursor->Show();
}

void CPlayScene::HideBoardCursor() {
    if (pasCursor) pasCursor->Hide();
}

void CPlayScene::MoveCursor(int dRow, int dCol) {
    // The first key shows the cursor where it was; later keys move it, stopping at the edges.
    if (!IsShown(pasCursor)) {
        ShowCursorAt(cursorIndex);
        return;
    }
    int row = cursorIndex / kBoardCols + dRow, col = cursorIndex % kBoardCols + dCol;
    row = row < 0 ? 0 : row >= kBoardRows ? kBoardRows - 1 : row;
    col = col < 0 ? 0 : col >= kBoardCols ? kBoardCols - 1 : col;
    ShowCursorAt(DieIndex(row, col));
}

// Space is the press and the release of a drag: the first picks the die under
// the cursor, the second drops the picked die on the die under the cursor.
void CPlayScene::CursorAction() {
    if (!IsShown(pasCursor)) {
        ShowCursorAt(cursorIndex);
        return;
    }
    const int index = cursorIndex;
    const int picked = board.pickedDie;
    if (picked < 0) {
        if (board.dice[index].movable) {
            if (board.PickDie(index) == PickResult::Picked) DiceSetHold(index, true, true);
        } else if (board.SelectDieColumn(index)) {
            // An immovable die is only clicked: its column becomes the line.
            SelectLineButton(board.selectedLine);
            ShowLineMarkers();
        }
        return;
    }
    if (index == picked) {
        // Dropped where it was picked up: a click on the die, which chooses its column.
        board.PickDie(index);
        DiceSetHold(index, false, false);
        if (board.SelectDieColumn(index)) {
            SelectLineButton(board.selectedLine);
            ShowLineMarkers();
        }
        return;
    }
    const bool sameRow = index / kBoardCols == picked / kBoardCols;
    if (sameRow && board.dice[index].movable && board.SwapDice(picked, index)) {
        if (pasSecHalfHelp) pasSecHalfHelp->Hide();
        if (helpButton) helpButton->SetState(kStateUp);
        DiceShowSwap(picked, index);
        DiceHideHoldFrames();
        SelectLineButton(board.selectedLine);
        ShowLineMarkers();
        return;
    }
    // Dropped on no die it may swap with: the pick ends, refused.
    board.PickDie(picked);
    DiceSetHold(picked, false, false);
    PlayRefusalAndBlink();
}
