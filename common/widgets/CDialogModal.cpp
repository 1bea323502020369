#include "common/widgets/CDialogModal.h"

#include <algorithm>

#include "common/widgets/CActorHotspot.h"
#include "common/actors/CActorSprite.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"

CDialogModal::CDialogModal(CScene* owner, int px, int py, int pz, CSprite* backgroundFrame,
                           CSpriteArray* buttonFrames, const CTextRecord* textRecords, CButtonRecord& buttonRecord,
                           int buttonCount, int spotWidth, int spotHeight)
    : scene(owner),
      x(px),
      y(py),
      z(pz),
      count(std::clamp(buttonCount, 0, kMaxButtons)),
      hotspotWidth(spotWidth),
      hotspotHeight(spotHeight) {
    background = new CActorSprite(scene, x, y, z, backgroundFrame, 0);
    background->fixed = 1;

    const int backgroundW = backgroundFrame ? backgroundFrame->w : 0;
    const int backgroundH = backgroundFrame ? backgroundFrame->h : 0;
    CSprite* firstButton = buttonFrames ? buttonFrames->Get(0) : nullptr;
    const int buttonH = firstButton ? firstButton->h : 0;
    // Arrays of up to three frames (up, down, disabled) are shared by all buttons.
    const bool framesPerButton = buttonFrames && buttonFrames->GetCount() > 3;

    for (int i = 0; i < count; ++i) {
        CActor* button = nullptr;
        if (hotspotWidth != 0) {
            const CRect area{FromFixed(x), FromFixed(y), FromFixed(x) + hotspotWidth, FromFixed(y) + hotspotHeight};
            button = new CActorHotspot(scene, area, z - ToFixed(1), '0' + i);
        } else {
            ++buttonRecord.key;
            const CTextRecord label = textRecords ? textRecords[i] : CTextRecord{};
            const int bx = x + ToFixed((i + 1) * backgroundW) / (count + 1);
            const int by = y + ToFixed(backgroundH) - buttonH * 128 - ToFixed(kButtonLift);
            button = new CActorButton(label, buttonRecord, scene, bx, by, z - ToFixed(1), buttonFrames,
                                      framesPerButton ? 2 * i : 0);
        }
        button->fixed = 1;
        buttons[i] = button;
    }
    HideButtons();
}

CDialogModal::~CDialogModal() = default;

void CDialogModal::ShowButtons() {
    for (int i = 0; i < count; ++i) buttons[i]->Show();
}

void CDialogModal::HideButtons() {
    for (int i = 0; i < count; ++i) buttons[i]->Hide();
}
