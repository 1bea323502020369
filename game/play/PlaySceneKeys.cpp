// The play scene's keys and command codes, its confirmation dialogs and the
// requests to open the other scenes.

#include "game/play/CPlayScene.h"
#include "game/play/CDuelPanel.h"
#include "game/play/coach/CCoachPanel.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/COptions.h"
#include "common/widgets/CSceneDialog.h"
#include "common/scene/CScreen.h"

namespace {

// The keys the initials box takes before the first roll.
bool IsEditKey(int code) {
    switch (code) {
    case 8:
    case 35:
    case 36:
    case 37:
    case 39:
    case 46:
    case 102:
        return true;
    default:
        return code >= 65 && code <= 90;
    }
}

// A dialog's buttons answer 0 and 1 through the keys "0" and "1".
constexpr int kDialogFirstKey = 47;
constexpr int kDialogCentreY = 267;

bool IsShown(const CActor* actor) { return actor && !actor->hidden; }

}  // namespace

bool CPlayScene::IsIntroGone() const { return !IsShown(pasIntro); }

bool CPlayScene::IsFading() const { return fade && (fade->covering || fade->coverDone); }

bool CPlayScene::IsRollButtonEnabled() const {
    // A hidden button cannot be pressed (the intro and the fade-in hide it).
    return IsShown(rollButton) && rollButton->GetState() != kStateDisabled;
}

void CPlayScene::OnLeftDown(int x, int y) {
    if (IntroRunning()) {
        SkipIntro();
        return;
    }
    if (IsShown(pasSecHalfHelp) && RectContains(pasSecHalfHelp->bounds, x, y)) {
        pasSecHalfHelp->Hide();
        if (helpButton) helpButton->SetState(kStateUp);
    }
    CGame::OnLeftDown(x, y);
}

void CPlayScene::OnRightDown(int x, int y) {
    if (IntroRunning()) {
        SkipIntro();
        return;
    }
    CGame::OnRightDown(x, y);
}

void CPlayScene::ChangeScene(CScene* scene, int code) {
    if (scene && screen) screen->RequestScene(scene, code, 1);
}

int CPlayScene::OnSysKeyUp(int) { return 0; }
int CPlayScene::OnSysKeyDown(int) { return 0; }

int CPlayScene::OnKeyDown(int code) {
    code = CommandOfKey(code);
    if (IntroRunning() && (code == kCodeRoll || code == kKeySpace || code == kCodeQuit || IsCategoryCode(code))) {
        // The press ends the intro and does nothing else; Esc's release then asks to quit.
        SkipIntro();
        if (code != kCodeQuit) swallowedKeyUp = code;
        return 1;
    }
    if (InitialsKeyDown(code)) return 1;
    if (!initialsCommitted && initialsEditBox && IsEditKey(code) && initialsEditBox->OnKey(code)) {
        EditedInitials();
        return 1;
    }
    if (KeyboardKeyDown(code)) return 1;
    if (coachPanel && coachPanel->OnKeyDown(code)) return 1;
    if (duelPanel && duelPanel->OnKeyDown(code)) return 1;
    if (IsCategoryCode(code)) {
        ScoreCategory(code);
        return 1;
    }
    switch (code) {
    case 9:
        return 0;
    case kCodeRoll:
        if (IsRollButtonEnabled() && IsIntroGone())
            rollButton->SetState(kStateDown);
        else if (RowBusy() && !gameOver)
            PlayRefusal();  // the row still moves: the roll is refused aloud
        break;
    case kCodeHiddenA:
        hiddenKeyA = true;
        break;
    case kCodeHiddenB:
        hiddenKeyB = true;
        break;
    case kCodeHelp:
        if (!aboutOpen && !IsFading() && board.handIndex == kFirstHalfHands && pasSecHalfHelp)
            pasSecHalfHelp->ToggleVisible();
        break;
    default:
        if (code >= kCodeFirstLine && code <= kCodeLastLine) SelectLineByCode(code - kCodeFirstLine);
        break;
    }
    return 1;
}

int CPlayScene::OnKeyUp(int code) {
    code = CommandOfKey(code);
    if (code == swallowedKeyUp) {
        swallowedKeyUp = 0;
        return 1;
    }
    if (KeyboardKeyUp(code)) return 1;
    if (coachPanel && coachPanel->OnKeyUp(code)) return 1;
    if (duelPanel && duelPanel->OnKeyUp(code)) return 1;
    switch (code) {
    case kCodeRoll:
        if (IsIntroGone() && IsRollButtonEnabled()) {
            rollButton->SetState(kStateUp);
            Roll();
            if (newGameButton) newGameButton->SetState(kStateUp);
        }
        break;
    case kCodeQuit:
        if (!aboutOpen && IsIntroGone())
            OpenDialog(assets.quitDialog, assets.dialogButtons, 2, 400, true, &pSceneQuitConfirm);
        break;
    case kCodeRecords:
    case kCodeOptions:
    case kCodeAbout:
        RequestOtherScene(code);
        break;
    case kCodeHiddenA:
        hiddenKeyA = true;
        break;
    case kCodeHiddenB:
        hiddenKeyB = true;
        break;
    case kCodeHiddenOpen:
        if (!aboutOpen && hiddenKeyA && hiddenKeyB && screen && screen->leftButtonDown)
            OpenDialog(assets.hiddenDialog, assets.hiddenDialogButtons, 1, 401, false, &pSceneHidden);
        break;
    case kCodeUndo:
        Undo();
        break;
    case kCodeNewGame:
        if (newGameButton && newGameButton->GetState() != kStateDisabled) {
            if (gameOver)
                StartGame(1);
            else if (IsIntroGone())
                OpenDialog(assets.newGameDialog, assets.dialogButtons, 2, 400, true, &pSceneResetConfirm);
        }
        break;
    default:
        break;
    }
    return 1;
}

void CPlayScene::RequestOtherScene(int code) {
    if (aboutOpen || IsFading()) return;
    if (code != kCodeAbout) {
        if (COptions* options = CScreen::Options()) options->SetInitials(GetEditedInitials());
    }
    if (screen) screen->StopMusic();
    ForgetHeldKeys();
    // Return's release will not reach the game now: its press must not stay drawn.
    if (rollButton) rollButton->ReleaseVisual();
    FadeTo(1, 0);
    if (code == kCodeOptions) optionsRequested = true;
    if (code == kCodeRecords) recordsRequested = true;
    if (code == kCodeAbout) aboutRequested = true;
    Pause(0);
}

void CPlayScene::OpenDialog(CSprite* picture, CSpriteArray* buttons, int buttonCount, int centreX,
                            bool stopRollSounds, CSceneDialog** slot) {
    if (!screen) return;
    screen->StopMusic();
    if (stopRollSounds) StopDiceSounds();
    ForgetHeldKeys();
    if (rollButton) rollButton->ReleaseVisual();  // Return's release goes to the dialog
    Pause(0);
    CTextRecord labels[2];
    CButtonRecord record;
    record.mode = kButtonPush;
    record.key = kDialogFirstKey;
    record.mouseEnabled = 1;
    auto* dialog = new CSceneDialog(screen, this, picture, buttons, assets.dialogOpenSound, labels, record,
                                    buttonCount, centreX, kDialogCentreY, 0, 0, 0);
    *slot = dialog;
    dialog->LoadAssets();
    dialog->Begin();
}

void CPlayScene::OnDialogClosed(CScene* dialog, int result) {
    if (!dialog) return;
    if (dialog == pSceneQuitConfirm) {
        pSceneQuitConfirm = nullptr;
        if (result == 1) {
            if (screen) screen->RequestScene(this, kRequestQuit, 1);
        } else if (!gameOver && screen) {
            screen->PlayMusic(1);
        }
    } else if (dialog == pSceneResetConfirm) {
        pSceneResetConfirm = nullptr;
        if (result == 1)
            StartGame(1);
        else if (screen)
            screen->PlayMusic(1);
    } else if (dialog == pSceneHidden) {
        pSceneHidden = nullptr;
        if (screen) screen->PlayMusic(1);
    }
}
