// The rules' operations on screen: the roll, the scoring of a hand and its
// undo, the choice of a second-half line. The board model decides; this shows
// what it decided.

#include "game/play/CPlayScene.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/COptions.h"
#include "common/scene/CScreen.h"
#include "game/rules/Records.h"

void CPlayScene::Roll() {
    if (!board.CanRoll()) return;
    if (!initialsCommitted) {
        HideInitialsCard();
        if (COptions* options = CScreen::Options()) options->SetInitials(GetEditedInitials());
        initialsCommitted = true;
    }
    if (!gamesStartedCounted) {
        // The game belongs to the initials shown now, whatever is typed later.
        gamePlayer = CurrentPlayerInitials();
        BeginTodayGame();
        // Practice is kept out of every count: started, finished and abandoned.
        if (PracticeGame())
            RecordPracticeStarted(gamePlayer);
        else
            RecordGameStarted(gamePlayer);
        gamesStartedCounted = true;
    }
    HideHint();
    const bool firstRoll = board.rollsUsed == 0;
    board.Roll();
    awaitingTop = !firstRoll;
    DiceStartRoll(firstRoll);
    if (!firstRoll && board.rollsUsed == kMaxRolls) DiceClearHolds(board.handIndex, true);
}

void CPlayScene::ScoreCategory(int code) {
    if (!sheet || gameOver) return;
    if (RowBusy()) {
        // The hand is not there yet: the press is answered, not lost without a sign.
        if (IsCategoryCode(code)) PlayRefusal();
        return;
    }
    // The model moves on as it scores; the sheet then values the same hand.
    scoringHand = board.GetLineFaces(handFaces) && board.GetLineColours(handColours);
    const int scoredHand = board.handIndex;
    handBeingScored = scoredHand;
    const ScoreResult result = board.ScoreCategory(code);
    if (result == ScoreResult::Scored) SheetScore(code);
    scoringHand = false;
    // The sheet ends the game when its last cell fills; should it not, the model's end stands.
    if (result == ScoreResult::Scored && board.gameOver && !gameOver) {
        EndTurn(0);
        SetGameOver();
    }
    if (result == ScoreResult::Refused) {
        if (!gameOver) PlayRefusal();
        if (HintsOn() && pasMsgBottom) {
            pasMsgBottom->Show();
            if (GetHintLevel() == 2) pasMsgBottom->Blink(2, kBlinkShown, kBlinkHidden);
        }
    }
    if (result == ScoreResult::Scored) {
        ReactToScoring(scoredHand);
        if (!gameOver) KeepGameInProgress();
    }
}

void CPlayScene::ReactToScoring(int scoredHand) {
    if (scoredHand >= kFirstHalfHands) {
        if (board.lastScoredLine >= 0 && lineButtons[board.lastScoredLine]) lineButtons[board.lastScoredLine]->Hide();
        DiceHideHoldFrames();
        if (!(gameOver && endMessage != 0)) DiceShowMovability();
        if (pasSecHalfHelp) pasSecHalfHelp->Hide();
        HideHelpButton();
        SelectLineButton(board.selectedLine);
        ShowLineMarkers();
    } else if (scoredHand == kFirstHalfHands - 1) {
        if (rollButton) rollButton->Hide();
        SelectLineButton(-1);
        ShowLineButtons(true);
        HideAllMarkers();
        DiceSecondHalf(true);
        if (HintsOn() && helpButton) {
            helpButton->Show();
            if (GetHintLevel() == 2) helpButton->Blink(2, kBlinkShown, kBlinkHidden);
        }
    } else {
        DiceClearHolds(scoredHand, true);
        StartRow();
        DiceSettleRow(scoredHand);
    }
    UpdateHint();
}

void CPlayScene::Undo() {
    if (!sheet) return;
    const int before = board.handIndex;
    if (!board.Undo()) return;
    SheetUndo();
    if (before == kFirstHalfHands) {
        ShowLineButtons(false);
        HideAllMarkers();
        HideBoardCursor();
        if (rollButton) rollButton->Show();
        HideHelpButton();
        if (pasSecHalfHelp) pasSecHalfHelp->Hide();
        DiceSecondHalf(false);
    } else if (before > kFirstHalfHands && board.lastScoredLine >= 0) {
        if (before == kFirstHalfHands + 1 && HintsOn() && helpButton) {
            helpButton->Show();
            if (GetHintLevel() == 2) helpButton->Blink(2, kBlinkShown, kBlinkHidden);
        }
        HideAllMarkers();
        if (CActorButton* button = lineButtons[board.lastScoredLine]) button->Show();
        SelectLineButton(board.selectedLine);
        DiceHideHoldFrames();
        ShowLineMarkers();
        DiceShowMovability();
    }
    if (board.handIndex < kFirstHalfHands - 1) DiceRiseRow(board.handIndex);
    UpdateHint();
}

void CPlayScene::SelectLineByCode(int line) {
    if (board.handIndex < kFirstHalfHands || line < 0 || line >= kLineCount) return;
    CActorButton* button = lineButtons[line];
    if (!button || button->hidden) return;
    if (!board.SelectLine(line)) return;
    SelectLineButton(line);
    ShowLineMarkers();
}

void CPlayScene::SelectLineButton(int line) {
    for (int l = 0; l < kLineCount; ++l)
        if (lineButtons[l]) lineButtons[l]->SetState(l == line ? kStateDown : kStateUp);
}

void CPlayScene::ShowLineButtons(bool show) {
    for (CActorButton* button : lineButtons) {
        if (!button) continue;
        if (show)
            button->Show();
        else
            button->Hide();
    }
}

void CPlayScene::HideHelpButton() {
    if (!helpButton) return;
    helpButton->SetState(kStateUp);
    helpButton->Hide();
}

void CPlayScene::HideAllMarkers() { DiceShowMarkers(-1); }

void CPlayScene::ShowLineMarkers() {
    const bool shown = GetShowColMarkers() != 0 && !gameOver && board.selectedLine >= 0;
    DiceShowMarkers(shown ? board.selectedLine : -1);
}
