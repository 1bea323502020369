#include "common/widgets/CSceneDialog.h"

#include <algorithm>

#include "common/widgets/CDialogModal.h"
#include "common/actors/CSprite.h"
#include "common/scene/SceneKinds.h"
#include "platform/audio/MSound.h"

CSceneDialog::CSceneDialog(CScreen* screenOfOwner, CScene* ownerScene, CSprite* background, CSpriteArray* sprites,
                           MSound* sound, const CTextRecord* records, const CButtonRecord& record, int count,
                           int cx, int cy, int spare, int noKeys, int option)
    : CScene(screenOfOwner, 0, 0, 0, 0, 1),
      owner(ownerScene),
      picture(background),
      buttonSprites(sprites),
      openSound(sound),
      buttonRecord(record),
      buttonCount(count),
      centreX(cx),
      centreY(cy),
      keysOff(noKeys),
      modalOption(option),
      spareValue(spare) {
    sceneId = kSceneKindDialog;
    if (records && count > 0) textRecords.assign(records, records + count);
    if (owner) ++owner->openDialogs;
}

CSceneDialog::~CSceneDialog() {
    modal.reset();
    // Dialogs go before their owners (the screen deletes the newest scene first).
    if (owner) --owner->openDialogs;
}

int CSceneDialog::AnswerForKey(int key) {
    switch (key) {
    case '0':
    case 'N':
    case 'n':
        return 0;
    case '1':
    case 'Y':
    case 'y':
        return 1;
    case '2': return 2;
    case '3': return 3;
    default: return -1;
    }
}

void CSceneDialog::LoadAssets() {
    const int pictureW = picture ? picture->w : 0;
    const int pictureH = picture ? picture->h : 0;
    const CRect area = owner ? owner->viewport : viewport;
    const int left = centreX == kCentreOfOwner ? (area.right - pictureW - area.left) / 2 : centreX - pictureW / 2;
    const int top = centreY == kCentreOfOwner ? (area.bottom - pictureH - area.top) / 2 : centreY - pictureH / 2;
    // The keys-off flag and the modal option take the modal's hotspot slots.
    modal = std::make_unique<CDialogModal>(this, ToFixed(left), ToFixed(top), kDialogDepth, picture, buttonSprites,
                                           textRecords.empty() ? nullptr : textRecords.data(), buttonRecord,
                                           buttonCount, keysOff, modalOption);
    shown = 1;
}

int CSceneDialog::Begin() {
    if (modal) modal->ShowButtons();
    if (openSound) openSound->Play(0);
    return CScene::Begin();
}

int CSceneDialog::OnKeyDown(int) { return keysOff ? 0 : 1; }

int CSceneDialog::OnKeyUp(int key) {
    if (keysOff) return 1;
    const int answer = AnswerForKey(key);
    if (answer >= 0 && owner) owner->ChangeScene(this, answer);
    return 1;
}

int CSceneDialog::IdleTicks() {
    const int idle = CScene::IdleTicks();
    if (!shown || buttonCount != 0 || IsTimeStopped()) return idle;
    return std::min(idle, std::max(1, selfCloseTimeLeft));
}

void CSceneDialog::Tick() {
    CScene::Tick();
    if (!shown || buttonCount != 0) return;
    selfCloseTimeLeft -= sceneStep;
    if (selfCloseTimeLeft <= 0) {
        if (owner) owner->ChangeScene(this, 0);
        selfCloseTimeLeft = kSelfCloseTicks;
    }
}
