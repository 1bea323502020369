#include "game/rules/CBoardState.h"

#include "game/rules/CScoreCells.h"
#include "game/rules/Random.h"
#include "game/rules/SeededDice.h"

#include <utility>

namespace {

bool ValidDie(int index) { return index >= 0 && index < kDieCount; }
bool ValidLine(int line) { return line >= 0 && line < kLineCount; }

}  // namespace

bool GetLineDice(int line, int out[kHandSize]) {
    if (!ValidLine(line)) {
        for (int i = 0; i < kHandSize; ++i) out[i] = -1;
        return false;
    }
    for (int i = 0; i < kHandSize; ++i) {
        if (line == kFallingDiagonal)
            out[i] = DieIndex(4 - i, i);
        else if (line == kRisingDiagonal)
            out[i] = DieIndex(i, i);
        else
            out[i] = DieIndex(i, line - 1);  // a column, read from row 0 up
    }
    return true;
}

bool IsDieOnLine(int line, int row, int col) {
    if (line == kFallingDiagonal) return row + col == 4;
    if (line == kRisingDiagonal) return row == col;
    return ValidLine(line) && col == line - 1;
}

CBoardState::CBoardState(CScoreCells& sheetCells) : sheet(sheetCells) {}

void CBoardState::StartGame(const GameSetup& newSetup) {
    setup = newSetup;
    for (int& count : rollCount) count = 0;
    handIndex = 0;
    rollsUsed = 0;
    rollsUsedAtScore = 0;
    rerolledCount = 0;
    selectedLine = -1;
    lastScoredLine = -1;
    for (int& count : lineMoveCount) count = 0;
    for (bool& scored : lineScored) scored = false;
    pickedDie = pickedRow = pickedIndex = -1;
    gameOver = false;
    undoAvailable = false;
    for (DieState& die : dice) {
        const int colour = die.colour;  // colours come from the next roll
        die = DieState{};
        die.colour = colour;
    }
    sheet.Reset();
}

bool CBoardState::RowBusy(int row) const {
    for (int col = 0; col < kBoardCols; ++col) {
        const DieState& die = dice[DieIndex(row, col)];
        if (die.moving || die.rolling || die.rollPending) return true;
    }
    return false;
}

bool CBoardState::CanRoll() const {
    if (gameOver || handIndex >= kFirstHalfHands || rollsUsed >= kMaxRolls) return false;
    if (RowBusy(handIndex)) return false;
    int heldCount = 0;
    for (int col = 0; col < kBoardCols; ++col) heldCount += dice[DieIndex(handIndex, col)].held ? 1 : 0;
    return heldCount < kBoardCols;
}

bool CBoardState::Roll() {
    if (!CanRoll()) return false;
    rerolledCount = 0;
    for (int col = 0; col < kBoardCols; ++col) {
        DieState& die = dice[DieIndex(handIndex, col)];
        die.locked = true;  // until the whole row is at rest again
        if (rollsUsed > 0 && die.held) continue;
        die.rollPending = true;
        die.moving = true;
        die.held = false;
        die.row = rollsUsed == 0 ? kRollingRow : -1;  // a re-rolled die rises first
        if (rollsUsed > 0) ++rerolledCount;
    }
    ++rollsUsed;
    if (rollsUsed == kMaxRolls) {
        for (int col = 0; col < kBoardCols; ++col) dice[DieIndex(handIndex, col)].held = false;
    }
    undoAvailable = false;
    return true;
}

void CBoardState::StartDieRoll(int index) {
    if (!ValidDie(index) || !dice[index].rollPending) return;
    DieState& die = dice[index];
    die.rollPending = false;
    die.row = kRollingRow;
    die.locked = true;
    die.rolling = true;
    if (setup.seeded) {
        ++rollCount[index];
        die.colour = DrawSeededDie(setup.seed, index / kBoardCols, index % kBoardCols, rollCount[index]).colour;
    } else {
        die.colour = Random(4);
    }
}

void CBoardState::EndDieRoll(int index) {
    if (!ValidDie(index) || !dice[index].rolling) return;
    dice[index].face = setup.seeded
                           ? DrawSeededDie(setup.seed, index / kBoardCols, index % kBoardCols, rollCount[index]).face
                           : Random(6) + 1;
    dice[index].rolling = false;
    UpdateRowLocks();
}

void CBoardState::DieArrived(int index) {
    if (!ValidDie(index) || dice[index].rollPending) return;  // a re-rolled die is not there yet
    dice[index].moving = false;
    UpdateRowLocks();
}

void CBoardState::FinishMotion() {
    for (int i = 0; i < kDieCount; ++i) {
        StartDieRoll(i);
        DieArrived(i);
        EndDieRoll(i);
    }
}

void CBoardState::UpdateRowLocks() {
    if (gameOver || handIndex >= kFirstHalfHands || rollsUsed == kMaxRolls) return;
    for (int col = 0; col < kBoardCols; ++col) {
        const DieState& die = dice[DieIndex(handIndex, col)];
        if (die.row != kRollingRow || die.moving || die.rolling || die.rollPending) return;
    }
    for (int col = 0; col < kBoardCols; ++col) dice[DieIndex(handIndex, col)].locked = false;
}

bool CBoardState::ToggleHold(int index) {
    if (gameOver || handIndex >= kFirstHalfHands || !ValidDie(index) || index / kBoardCols != handIndex) return false;
    DieState& die = dice[index];
    if (die.locked || die.rolling) return false;
    die.held = !die.held;
    return true;
}

void CBoardState::ClearHolds() {
    for (DieState& die : dice) die.held = false;
}

bool CBoardState::SelectLine(int line) {
    if (gameOver || !IsSecondHalf() || !ValidLine(line) || lineScored[line]) return false;
    if (handIndex > kFirstHalfHands && selectedLine >= 0) --lineMoveCount[selectedLine];
    selectedLine = line;
    return true;
}

bool CBoardState::SelectDieColumn(int index) {
    if (gameOver || !IsSecondHalf() || !ValidDie(index)) return false;
    const int line = index % kBoardCols + 1;
    if (lineScored[line]) return false;
    selectedLine = line;
    return true;
}

bool CBoardState::SwapDice(int picked, int target) {
    if (gameOver || !IsSecondHalf() || !ValidDie(picked) || !ValidDie(target) || picked == target) return false;
    DieState& p = dice[picked];
    DieState& t = dice[target];
    if (!p.movable || !t.movable || picked / kBoardCols != target / kBoardCols) return false;

    std::swap(p.face, t.face);
    std::swap(p.colour, t.colour);

    // The move into the target's place counts once for every line through it.
    const int row = target / kBoardCols;
    const int col = target % kBoardCols;
    ++lineMoveCount[col + 1];
    if (row == col) ++lineMoveCount[kRisingDiagonal];
    if (row + col == 4) ++lineMoveCount[kFallingDiagonal];

    pickedDie = -1;
    ClearHolds();
    undoAvailable = false;

    const bool marked = showColMarkers && selectedLine >= 0 && IsDieOnLine(selectedLine, row, col);
    if (!marked && !lineScored[col + 1]) selectedLine = col + 1;
    return true;
}

PickResult CBoardState::PickDie(int index) {
    if (gameOver || !IsSecondHalf() || !ValidDie(index)) return PickResult::Ignored;
    if (pickedDie < 0) {
        if (!dice[index].movable) return PickResult::Ignored;
        pickedDie = index;
        pickedRow = index / kBoardCols;
        pickedIndex = index % kBoardCols;
        dice[index].held = true;
        return PickResult::Picked;
    }
    if (index == pickedDie) {
        dice[index].held = false;
        pickedDie = -1;
        return PickResult::Unpicked;
    }
    return SwapDice(pickedDie, index) ? PickResult::Swapped : PickResult::Refused;
}

void CBoardState::ApplyLockingRule() {
    for (DieState& die : dice) die.movable = true;
    int line[kHandSize];
    for (int l = 0; l < kLineCount; ++l) {
        if (!lineScored[l]) continue;
        GetLineDice(l, line);
        for (int index : line) dice[index].movable = false;
    }
    // A die alone in its row has nothing to swap with.
    for (int row = 0; row < kBoardRows; ++row) {
        int movable = 0, last = -1;
        for (int col = 0; col < kBoardCols; ++col) {
            if (dice[DieIndex(row, col)].movable) {
                ++movable;
                last = DieIndex(row, col);
            }
        }
        if (movable == 1) dice[last].movable = false;
    }
    for (int i = 0; i < kDieCount; ++i) {
        DieState& die = dice[i];
        die.locked = !die.movable;
        if (!die.movable) {
            die.held = false;
            if (pickedDie == i) pickedDie = -1;
        }
    }
}

// With one line left this picks exactly that line; with none, line 1.
void CBoardState::PreselectNextLine() {
    int best = -1;
    for (int l = 0; l < kLineCount; ++l) {
        if (lineScored[l]) continue;
        if (best < 0 || lineMoveCount[l] > lineMoveCount[best]) best = l;
    }
    selectedLine = best >= 0 ? best : 1;
}

bool CBoardState::GetLineFaces(int faces[kHandSize]) const {
    if (handIndex < kFirstHalfHands) {
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& die = dice[DieIndex(handIndex, col)];
            if (die.rolling || die.rollPending) return false;
            faces[col] = die.face;
        }
        return true;
    }
    if (!ValidLine(selectedLine)) return false;
    int line[kHandSize];
    GetLineDice(selectedLine, line);
    for (int i = 0; i < kHandSize; ++i) faces[i] = dice[line[i]].face;
    return true;
}

bool CBoardState::GetLineColours(int colours[kHandSize]) const {
    if (handIndex < kFirstHalfHands) {
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& die = dice[DieIndex(handIndex, col)];
            if (die.rolling || die.rollPending) return false;
            colours[col] = die.colour;
        }
        return true;
    }
    if (!ValidLine(selectedLine)) return false;
    int line[kHandSize];
    GetLineDice(selectedLine, line);
    for (int i = 0; i < kHandSize; ++i) colours[i] = dice[line[i]].colour;
    return true;
}

ScoreResult CBoardState::ScoreCategory(int code) {
    if (gameOver || !IsCategoryCode(code)) return ScoreResult::Ignored;
    if (handIndex < kFirstHalfHands && RowBusy(handIndex)) return ScoreResult::Ignored;
    if (rollsUsed <= 0 && !sheet.UndoUsed()) return ScoreResult::Ignored;

    int faces[kHandSize], colours[kHandSize];
    if (!GetLineFaces(faces) || !GetLineColours(colours)) return ScoreResult::Refused;
    if (!sheet.ScoreCategory(code, faces, colours)) return ScoreResult::Refused;

    rollsUsedAtScore = rollsUsed;
    if (handIndex < kFirstHalfHands - 1) {
        // The row settles into its rest place; the next row starts afresh.
        for (int col = 0; col < kBoardCols; ++col) {
            DieState& die = dice[DieIndex(handIndex, col)];
            die.held = false;
            die.locked = true;
            die.moving = true;
            die.row = handIndex;
        }
        rollsUsed = 0;
    } else if (handIndex == kFirstHalfHands - 1) {
        // The second half begins: every die may be moved, no line is chosen yet.
        for (DieState& die : dice) {
            die.movable = true;
            die.locked = false;
            die.held = false;
        }
        selectedLine = -1;
        pickedDie = -1;
    } else {
        lastScoredLine = selectedLine;
        lineScored[selectedLine] = true;
        selectedLine = -1;
        pickedDie = -1;
        ClearHolds();
        ApplyLockingRule();
        PreselectNextLine();
    }
    ++handIndex;
    undoAvailable = true;
    if (sheet.Totals().complete) {
        gameOver = true;
        undoAvailable = false;
    }
    return ScoreResult::Scored;
}

bool CBoardState::CanUndo() const {
    return !gameOver && undoAvailable && handIndex > 0;
}

bool CBoardState::Undo() {
    // A finished game is recorded, and after a roll or a swap the dice no
    // longer show the hand that was scored: both keep the fill.
    if (!CanUndo()) return false;
    if (!sheet.UndoLastEntry()) return false;
    undoAvailable = false;

    const int before = handIndex;
    rollsUsed = rollsUsedAtScore;
    --handIndex;
    if (before == kFirstHalfHands) {
        // Back to row 4: the second half is withdrawn.
        selectedLine = -1;
        pickedDie = -1;
        for (DieState& die : dice) {
            die.held = false;
            die.locked = true;
        }
        UpdateRowLocks();
    } else if (before > kFirstHalfHands && lastScoredLine >= 0) {
        lineScored[lastScoredLine] = false;
        selectedLine = lastScoredLine;
        pickedDie = -1;
        ClearHolds();
        ApplyLockingRule();
    } else if (handIndex < kFirstHalfHands - 1) {
        // The row rises back into the rolling place and unlocks once there.
        for (int col = 0; col < kBoardCols; ++col) {
            DieState& die = dice[DieIndex(handIndex, col)];
            die.held = false;
            die.locked = true;
            die.moving = true;
            die.row = kRollingRow;
        }
    }
    return true;
}

bool CBoardState::AnyMovable() const {
    for (const DieState& die : dice)
        if (die.movable) return true;
    return false;
}

int CBoardState::Total() const { return sheet.Totals().total; }

void CBoardState::CopyStateFrom(const CBoardState& other) {
    if (&other == this) return;
    for (int i = 0; i < kDieCount; ++i) dice[i] = other.dice[i];
    handIndex = other.handIndex;
    rollsUsed = other.rollsUsed;
    rollsUsedAtScore = other.rollsUsedAtScore;
    rerolledCount = other.rerolledCount;
    selectedLine = other.selectedLine;
    lastScoredLine = other.lastScoredLine;
    for (int l = 0; l < kLineCount; ++l) {
        lineMoveCount[l] = other.lineMoveCount[l];
        lineScored[l] = other.lineScored[l];
    }
    pickedDie = other.pickedDie;
    pickedRow = other.pickedRow;
    pickedIndex = other.pickedIndex;
    gameOver = other.gameOver;
    undoAvailable = other.undoAvailable;
    showColMarkers = other.showColMarkers;
    setup = other.setup;
    for (int i = 0; i < kDieCount; ++i) rollCount[i] = other.rollCount[i];
}

int CBoardState::RollCount(int index) const { return ValidDie(index) ? rollCount[index] : 0; }

bool CBoardState::RestoreSeeded(const GameSetup& kept, const int counts[kDieCount]) {
    for (int i = 0; i < kDieCount; ++i)
        if (counts[i] < 0 || counts[i] > kMaxRolls) return false;
    setup = kept;
    for (int i = 0; i < kDieCount; ++i) rollCount[i] = counts[i];
    return true;
}
