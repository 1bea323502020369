#pragma once
// Lays out a modal dialog in a scene: a background picture and a row of up to
// eight buttons spread evenly across it near its bottom edge (or, instead of
// picture buttons, invisible hotspots over the whole background). The actors
// belong to the scene; this object only knows them.

#include "common/widgets/CActorButton.h"

class CActorSprite;
class CScene;
class CSprite;
class CSpriteArray;

class CDialogModal {
public:
    static constexpr int kMaxButtons = 8;
    // The buttons' anchors stand this far above the background's bottom edge,
    // plus half a button height.
    static constexpr int kButtonLift = 35;

    // x, y (the background's anchor) and z are 24.8. textRecords holds one
    // record per button (null: no labels). The buttons take consecutive keys
    // from buttonRecord.key + 1, and buttonRecord is left with key + count.
    // A count outside 0 to 8 is held to that range. hotspotWidth non-zero
    // makes hotspots of that size with keys '0' + i instead of buttons.
    CDialogModal(CScene* scene, int x, int y, int z, CSprite* backgroundFrame, CSpriteArray* buttonFrames,
                 const CTextRecord* textRecords, CButtonRecord& buttonRecord, int count, int hotspotWidth,
                 int hotspotHeight);
    CDialogModal(const CDialogModal&) = delete;
    CDialogModal& operator=(const CDialogModal&) = delete;
    virtual ~CDialogModal();

    void ShowButtons();
    void HideButtons();

    CActorSprite* background = nullptr;
    CActor* buttons[kMaxButtons] = {};
    CScene* scene = nullptr;
    int x = 0;
    int y = 0;
    int z = 0;
    int count = 0;
    int hotspotWidth = 0;
    int hotspotHeight = 0;
};
