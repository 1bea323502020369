#pragma once
// A question put to the player: a scene laid over its owner that shows a
// picture with buttons and hands the answer to the owner's ChangeScene. The
// keys 0 and N (and the first button) answer 0, 1 and Y (the second button)
// answer 1, 2 and 3 answer 2 and 3. A dialog without buttons answers 0 by
// itself every 2560 ticks until its owner closes it.

#include <memory>
#include <vector>

#include "common/widgets/CActorButton.h"
#include "common/scene/CScene.h"
#include "common/scene/CFixPoint.h"

class CDialogModal;
class CSprite;
class CSpriteArray;
class MSound;

class CSceneDialog : public CScene {
public:
    // Ten seconds of scene time.
    static constexpr int kSelfCloseTicks = 2560;
    // Where the dialog is laid: depth 10.
    static constexpr int kDialogDepth = ToFixed(10);
    // A centre of -1 centres the picture over the owner.
    static constexpr int kCentreOfOwner = -1;

    // The button records are copied; the modal numbers the buttons' keys from
    // buttonRecord.key + 1 (a key of 47 gives the answers 0 and 1).
    CSceneDialog(CScreen* screen, CScene* owner, CSprite* picture, CSpriteArray* buttonSprites, MSound* openSound,
                 const CTextRecord* textRecords, const CButtonRecord& buttonRecord, int buttonCount, int centreX,
                 int centreY, int spareValue, int keysOff, int modalOption);

    int OnKeyUp(int key) override;    // 14
    int OnKeyDown(int key) override;  // 15
    void LoadAssets() override;       // 17
    int Begin() override;             // 18
    void Tick() override;             // 21
    int IdleTicks() override;
    ~CSceneDialog() override;         // 29

    // The answer a key gives: 0 to 3, or -1 for any other key.
    static int AnswerForKey(int key);

    CScene* owner = nullptr;
    CSprite* picture = nullptr;             // not owned
    CSpriteArray* buttonSprites = nullptr;  // not owned
    MSound* openSound = nullptr;            // not owned
    std::vector<CTextRecord> textRecords;
    CButtonRecord buttonRecord;
    int buttonCount = 0;
    int centreX = kCentreOfOwner;
    int centreY = kCentreOfOwner;
    int keysOff = 0;
    int modalOption = 0;
    int spareValue = 0;
    int selfCloseTimeLeft = kSelfCloseTicks;
    int shown = 0;
    std::unique_ptr<CDialogModal> modal;
};
