#include "game/rules/coach/CoachState.h"

#include "game/rules/CScoreCells.h"

namespace coach {

bool CoachState::IsOver() const {
    for (const ScoreCell& cell : cells)
        if (!cell.filled) return false;
    return true;
}

CoachState SnapshotOf(const CBoardState& board, const CScoreCells& sheet) {
    CoachState s;
    for (int i = 0; i < kDieCount; ++i) {
        s.face[i] = board.dice[i].face;
        s.colour[i] = board.dice[i].colour;
        s.held[i] = board.dice[i].held && !board.IsSecondHalf();
    }
    s.handIndex = board.handIndex;
    s.rollsUsed = board.rollsUsed;
    for (int l = 0; l < kLineCount; ++l) s.lineScored[l] = board.lineScored[l];
    s.cells = sheet.Cells();
    return s;
}

}  // namespace coach
