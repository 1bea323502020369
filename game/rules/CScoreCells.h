#pragma once
// The state of a score sheet without its pictures and sounds: twelve cells,
// the last filled one and the undo flag. CScoreSheet shows it; the board model
// scores through it.

#include "game/rules/HandScore.h"

class CScoreCells {
public:
    // Empties every cell for a new game.
    void Reset();

    // Values the hand for the category and fills its cell: 1 scored, 0 refused
    // (code outside 'a'..'l' or cell already filled).
    int ScoreCategory(int code, const int faces[kHandSize], const int colours[kHandSize]);

    // Takes back the last fill: 1 done, 0 nothing to undo (no fill yet, or
    // already undone).
    int UndoLastEntry();

    SheetTotalsValue Totals() const { return SheetTotals(cells); }
    bool IsFilled(int code) const { return IsCategoryCode(code) && cells[CategoryIndex(code)].filled; }
    int Value(int code) const { return IsCategoryCode(code) ? cells[CategoryIndex(code)].value : 0; }
    int FilledCount() const;
    const ScoreCells& Cells() const { return cells; }

    int LastFilledIndex() const { return lastFilledIndex; }
    bool UndoUsed() const { return undoUsed; }
    // The last evaluation earned a colour bonus; the sheet clears it once shown.
    bool ColourBonusPending() const { return colourBonusPending; }
    void ClearColourBonus() { colourBonusPending = false; }
    // Puts back a kept sheet: its cells, the last fill and whether it was undone.
    void Restore(const ScoreCells& kept, int lastFilled, bool undone);

private:
    ScoreCells cells{};
    int lastFilledIndex = -1;
    bool undoUsed = false;
    bool colourBonusPending = false;
};
