#pragma once
// One category cell of the score sheet: a plain button whose key is the
// category's letter, hidden while empty and showing its value (up to three
// digits) once filled, with a click area over the sheet's printed row and a
// sparkle for a colour bonus. The click area and the sparkle go with the cell.

#include "common/widgets/CActorButton.h"
#include "common/scene/CRect.h"

class CActorHotspot;
class CActorSprite;

class CScoreCell : public CActorButton {
public:
    static constexpr int kLabelLength = 8;
    static constexpr int kLabelDigits = 3;
    static constexpr int kLabelColour = static_cast<int>(0xFFFFFF00u);
    // The undo button stands this far below the cell's anchor, over the key label.
    static constexpr int kUndoOffsetY = 30;
    // The sparkle stands over the pad label left of the value (of no use once the
    // cell is filled), clear of the category's name and description under it.
    static constexpr int kSparkleOffsetX = -79;
    static constexpr int kSparkleOffsetY = -14;
    // Colour bonus: three blinks, 38 ticks shown and 38 hidden.
    static constexpr int kBonusBlinks = 3;
    static constexpr int kBonusBlinkTicks = 38;

    // x, y, z absolute 24.8; clickArea in pixels. The label is the cell's
    // digits in the sheet's font; the cell starts hidden and empty.
    CScoreCell(const CButtonRecord& buttonRecord, CScene* scene, int x, int y, int z, const CRect& clickArea);

    // Resets the effects, re-applies the label, hides the undo button and the
    // sparkle and empties the cell; whether the cell shows is up to the caller.
    void ResetEffects(int a, int b) override;  // 12

    // Refused (0) when already filled. Shows the value and offers the undo
    // button under the cell, except for the last hand of a game.
    int Fill(int value);
    // 0 when empty. Empties and hides the cell, hides the undo button and the
    // sparkle, and plays the undo sound.
    int Clear();
    void ResetCell() { ResetEffects(0, 0); }
    void ShowColourBonus();

    int filled = 0;
    int value = 0;
    // The value as decimal text, the label (the button's own "digits" is its
    // number-display width).
    char cellDigits[12] = "0";
    CActorSprite* sparkle = nullptr;  // companion: lives and dies with the cell
    CActorHotspot* hotspot = nullptr; // companion

private:
    void SetDigits(int number);
};
