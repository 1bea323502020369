// The hint under the board, and what changed options change on the play screen.

#include "game/play/CPlayScene.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorSprite.h"
#include "game/play/CDuelPanel.h"
#include "game/rules/CGameOptions.h"

CSprite* CPlayScene::HintPicture(int* x) const {
    const PlaySceneAssets& a = assets;
    if (board.handIndex < kFirstHalfHands) {
        switch (board.rollsUsed) {
        case 0: *x = kHintXRoll0; return a.hintRoll0;
        case 1: *x = kHintXRoll1; return a.hintRoll1;
        case 2: *x = kHintXRoll2; return a.hintRoll2;
        default: *x = kHintXRoll3; return a.hintRoll3;
        }
    }
    if (board.handIndex == kFirstHalfHands) {
        *x = kHintXSecondHalf;
        return a.hintSecondHalf;
    }
    if (board.AnyMovable()) {
        *x = kHintXMovable;
        return a.hintMovable;
    }
    *x = kHintXFixed;
    return a.hintFixed;
}

void CPlayScene::UpdateHint() {
    if (!pasMsgBottom) return;
    if (gameOver) {
        HideHint();
        return;
    }
    int x = kHintXRoll0;
    CSprite* picture = HintPicture(&x);
    // A hint already up is left alone, so it does not blink again.
    if (!picture || picture == hintPicture) return;
    hintPicture = picture;
    pasMsgBottom->SetSprite(picture);
    pasMsgBottom->SetX(ToFixed(x));
    if (!HintsOn()) {
        pasMsgBottom->Hide();
        return;
    }
    pasMsgBottom->Show();
    if (GetHintLevel() == 2 && picture != assets.hintRoll2) pasMsgBottom->Blink(2, kBlinkShown, kBlinkHidden);
}

void CPlayScene::HideHint() {
    if (pasMsgBottom) pasMsgBottom->Hide();
    hintPicture = nullptr;
}

void CPlayScene::OnOptionsChanged() {
    board.showColMarkers = GetShowColMarkers() != 0;
    // A game not yet rolled takes a new Opponent at once; one under way keeps its own.
    if (!gamesStartedCounted && !setupGiven && !gameOver && board.Setup().opponent != OpponentOption()) {
        board.StartGame(SetupFromOptions());
        if (duelPanel) duelPanel->OnGame(board.Setup());
        if (todayChoice && !todayChoice->hidden) ShowTodayChoice();  // it names the level
    }
    if (!HintsOn() || gameOver) {
        HideHint();
        HideHelpButton();
        if (pasSecHalfHelp) pasSecHalfHelp->Hide();
    } else if (pasMsgBottom) {
        pasMsgBottom->StopBlink();
        pasMsgBottom->Show();
        hintPicture = pasMsgBottom->frame;
        if (board.handIndex == kFirstHalfHands && helpButton) helpButton->Show();
    }
    ShowLineMarkers();
}
