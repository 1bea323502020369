// The play scene's frame: the intro, the roll button and its shadow, the row
// unlocking and hints once the dice settle, and the other scenes opened after
// the fade-out.

#include "game/play/CPlayScene.h"
#include "game/play/CDuelPanel.h"
#include "game/play/coach/CCoachPanel.h"

#include <algorithm>

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/CScreen.h"
#include "game/sheet/CScoreSheet.h"
#include "platform/audio/MSound.h"

namespace {

bool IsShown(const CActor* actor) { return actor && !actor->hidden; }

// About 30 ms: the coach's answer shows without a perceptible wait.
constexpr int kCoachPollTicks = 8;

}  // namespace

void CPlayScene::Tick() {
    CGame::Tick();
    if (!running) return;
    if (coachPanel) coachPanel->Tick();
    if (duelPanel) duelPanel->Tick();
    if (!paused) {
        if (perGameValue > 0 && !initialsCommitted) {
            perGameValue -= sceneStep;
            if (perGameValue <= 0) EndIntro();
        }
        UpdateRollButton();
        if (board.handIndex < kFirstHalfHands && RowSettled() && IsShown(FirstDieOfRow())) UpdateHint();
        UpdateAids();
        ApplyQueuedHolds();
    }
    KeepHintClearOfHelp();
    if (pasRollButShadow) {
        const bool pressedOrHidden = !IsShown(rollButton) || rollButton->GetState() == kStateDown;
        if (pressedOrHidden)
            pasRollButShadow->Hide();
        else
            pasRollButShadow->Show();
    }
    if (!introShown && fade && fade->revealDone) {
        introShown = true;
        if (pasIntro) pasIntro->Show();
        if (assets.introSound) assets.introSound->Play(0);
    }
    if (fade && fade->coverDone) OpenRequestedScene();
}

int CPlayScene::IdleTicks() {
    const int idle = CGame::IdleTicks();
    // The intro ends on its own after its ticks.
    if (running && !paused && !IsTimeStopped() && perGameValue > 0 && !initialsCommitted)
        return std::min(idle, perGameValue);
    // The coach's answer is looked for every few ticks while it thinks.
    if (coachPanel && coachPanel->Thinking()) return std::min(idle, kCoachPollTicks);
    // So is the end of the computer's game in a duel.
    if (duelPanel && duelPanel->Thinking()) return std::min(idle, kCoachPollTicks);
    return idle;
}

void CPlayScene::KeepHintClearOfHelp() {
    // The second-half help stands over the hint's place: the hint waits under it.
    if (!pasMsgBottom) return;
    if (IsShown(pasSecHalfHelp)) {
        if (!pasMsgBottom->hidden || pasMsgBottom->blinking) {
            pasMsgBottom->StopBlink();
            pasMsgBottom->Hide();
            hintUnderHelp = true;
        }
    } else if (hintUnderHelp) {
        hintUnderHelp = false;
        if (HintsOn() && hintPicture && !gameOver) pasMsgBottom->Show();
    }
}

bool CPlayScene::IntroRunning() const { return running && !initialsCommitted && perGameValue > 0; }

void CPlayScene::SkipIntro() {
    perGameValue = 0;
    // A fade-in still running no longer brings the intro picture up when it ends.
    introShown = true;
    EndIntro();
}

void CPlayScene::EndIntro() {
    Unpause();
    if (pasIntro) pasIntro->Hide();
    if (pasTitle) pasTitle->Hide();
    if (rollButton) rollButton->Show();
    if (pasRollButShadow) pasRollButShadow->Show();
    ShowInitialsCard(false);
    if (HintsOn() && pasMsgBottom) {
        pasMsgBottom->Show();
        if (GetHintLevel() == 2) pasMsgBottom->Blink(3, kBlinkShown, kBlinkHidden);
    }
    if (gameOverlayAShown) {
        // The sheet learns that play begins: its paused look goes.
        if (sheet) sheet->HidePausePicture();
        CloseGameOverlayA();
    }
}

void CPlayScene::UpdateRollButton() {
    if (!rollButton) return;
    bool blocked = true;
    if (board.handIndex < kFirstHalfHands) {
        int held = 0;
        blocked = board.rollsUsed > 2;
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& die = board.dice[DieIndex(board.handIndex, col)];
            if (die.rolling || die.moving || die.rollPending) blocked = true;
            held += die.held ? 1 : 0;
        }
        if (held == kBoardCols) blocked = true;
    }
    if (gameOver) return;
    if (!blocked && rollButton->GetState() == kStateDisabled)
        rollButton->SetState(kStateUp);
    else if (blocked)
        rollButton->SetState(kStateDisabled);
}

bool CPlayScene::RowSettled() const {
    if (board.handIndex >= kFirstHalfHands) return false;
    for (int col = 0; col < kBoardCols; ++col) {
        const DieState& die = board.dice[DieIndex(board.handIndex, col)];
        if (die.row != kRollingRow || die.rolling || die.moving || die.rollPending) return false;
    }
    return true;
}

bool CPlayScene::RowBusy() const {
    if (board.handIndex >= kFirstHalfHands) return false;
    for (int col = 0; col < kBoardCols; ++col) {
        const DieState& die = board.dice[DieIndex(board.handIndex, col)];
        if (die.rolling || die.moving || die.rollPending) return true;
    }
    return false;
}

void CPlayScene::OpenRequestedScene() {
    int kind = 0;
    if (optionsRequested) {
        optionsRequested = false;
        kind = kSceneKindOptions;
    } else if (recordsRequested) {
        recordsRequested = false;
        kind = kSceneKindRecords;
    } else if (aboutRequested) {
        aboutRequested = false;
        kind = kSceneKindAbout;
    } else {
        return;
    }
    CScene* other = gPlayFrontSceneFactory && screen ? gPlayFrontSceneFactory(screen, this, kind) : nullptr;
    if (!other) {
        // Nothing to open: the game comes back as it was.
        FadeOut();
        Unpause();
        if (!gameOver && screen) screen->PlayMusic(1);
        return;
    }
    if (kind == kSceneKindOptions) optionsOpen = true;
    if (kind == kSceneKindRecords) recordsOpen = true;
    if (kind == kSceneKindAbout) aboutOpen = 1;
    other->LoadAssets();
    other->Begin();
    StopDiceSounds();
}
