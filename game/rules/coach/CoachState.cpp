#include "game/rules/coach/CoachState.h"

#include <algorithm>

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

void FollowPlan(CoachState& state, const CoachChoice& swaps) {
    if (swaps.planFace.size() != kDieCount || swaps.planColour.size() != kDieCount) return;
    state.hasPlan = true;
    std::copy(swaps.planFace.begin(), swaps.planFace.end(), state.planFace);
    std::copy(swaps.planColour.begin(), swaps.planColour.end(), state.planColour);
}

bool SameState(const CoachState& a, const CoachState& b) {
    for (int i = 0; i < kDieCount; ++i)
        if (a.face[i] != b.face[i] || a.colour[i] != b.colour[i] || a.held[i] != b.held[i]) return false;
    for (int l = 0; l < kLineCount; ++l)
        if (a.lineScored[l] != b.lineScored[l]) return false;
    for (int c = 0; c < kCategoryCount; ++c)
        if (a.cells[c].filled != b.cells[c].filled || a.cells[c].value != b.cells[c].value) return false;
    return a.handIndex == b.handIndex && a.rollsUsed == b.rollsUsed;
}

}  // namespace coach
