#include "game/sheet/CScoreCell.h"

#include <algorithm>

#include "common/widgets/CActorHotspot.h"
#include "common/actors/CActorSprite.h"
#include "game/sheet/ScoreSheetAssets.h"
#include "game/sheet/ScoreSheetScene.h"

namespace {

CTextRecord CellLabel() {
    CTextRecord text;
    text.text = "";
    text.maxLength = CScoreCell::kLabelLength;
    text.hAlign = kAlignCentre;
    text.vAlign = kAlignBottom;
    text.font = gSheetAssets.font;
    text.colour = static_cast<D3DCOLOR>(CScoreCell::kLabelColour);
    text.shadow = 1;
    return text;
}

}  // namespace

CScoreCell::CScoreCell(const CButtonRecord& buttonRecord, CScene* owner, int px, int py, int pz,
                       const CRect& clickArea)
    : CActorButton(CellLabel(), buttonRecord, owner, px, py, pz, gCellAssets.cells, 0) {
    Hide();
    hotspot = new CActorHotspot(owner, clickArea, pz, buttonRecord.key);
    AddCompanion(hotspot);
    sparkle = new CActorSprite(owner, px + ToFixed(kSparkleOffsetX), py + ToFixed(kSparkleOffsetY), pz + ToFixed(1),
                               gCellAssets.sparkle, 0);
    sparkle->Hide();
    AddCompanion(sparkle);
}

void CScoreCell::SetDigits(int number) {
    // Up to three digits without leading zeros; "0" for zero.
    number = std::clamp(number, 0, 999);
    char* out = cellDigits;
    bool started = false;
    for (int place = 100; place >= 1; place /= 10) {
        const int digit = number / place;
        number %= place;
        if (digit != 0 || started || place == 1) {
            *out++ = static_cast<char>('0' + digit);
            started = true;
        }
    }
    *out = '\0';
}

int CScoreCell::Fill(int newValue) {
    if (filled) return 0;
    Show();
    filled = 1;
    value = newValue;
    SetDigits(newValue);
    SetText(cellDigits);
    IScoreSheetScene* owner = gScoreSheetScene;
    if (owner && owner->IsLastHand()) {
        HideUndoButton();
    } else {
        ShowUndoButtonAt(FromFixed(AbsoluteX()), FromFixed(AbsoluteY()) + kUndoOffsetY);
    }
    return 1;
}

int CScoreCell::Clear() {
    if (!filled) return 0;
    Hide();
    filled = 0;
    value = 0;
    SetDigits(0);
    SetText(cellDigits);
    HideUndoButton();
    if (sparkle) sparkle->Hide();
    PlayUndoSound();
    return 1;
}

void CScoreCell::ResetEffects(int a, int b) {
    CActorButton::ResetEffects(a, b);
    SetText(cellDigits);
    HideUndoButton();
    filled = 0;
    value = 0;
    SetDigits(0);
    if (sparkle) sparkle->Hide();
}

void CScoreCell::ShowColourBonus() {
    if (!sparkle) return;
    sparkle->Show();
    sparkle->Blink(kBonusBlinks, kBonusBlinkTicks, kBonusBlinkTicks);
}
