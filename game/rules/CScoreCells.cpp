#include "game/rules/CScoreCells.h"

void CScoreCells::Reset() {
    cells = ScoreCells{};
    lastFilledIndex = -1;
    undoUsed = false;
    colourBonusPending = false;
}

int CScoreCells::ScoreCategory(int code, const int faces[kHandSize], const int colours[kHandSize]) {
    if (!IsCategoryCode(code)) return 0;
    const HandValue value = ScoreHand(code, faces, colours);
    colourBonusPending = value.colourBonus;
    ScoreCell& cell = cells[CategoryIndex(code)];
    if (cell.filled) {
        colourBonusPending = false;
        return 0;
    }
    cell.filled = true;
    cell.value = value.points;
    lastFilledIndex = CategoryIndex(code);
    undoUsed = false;
    return 1;
}

int CScoreCells::UndoLastEntry() {
    if (lastFilledIndex < 0) return 0;
    ScoreCell& cell = cells[lastFilledIndex];
    if (!cell.filled) return 0;
    cell = ScoreCell{};
    undoUsed = true;
    return 1;
}

int CScoreCells::FilledCount() const {
    int n = 0;
    for (const ScoreCell& cell : cells) n += cell.filled ? 1 : 0;
    return n;
}

void CScoreCells::Restore(const ScoreCells& kept, int lastFilled, bool undone) {
    cells = kept;
    lastFilledIndex = lastFilled;
    undoUsed = undone;
    colourBonusPending = false;
}
