#pragma once
// The rules of the dice game as a model without pictures: the 25 dice, the
// state of a game and every operation a player may perform. The play scene
// drives it and only animates what it decides.
//
// Motion is the scene's business, so the model marks what must move and waits
// to be told: a roll has two moments, StartDieRoll (the die starts falling
// and rolling: its colour is drawn) and EndDieRoll (the roll stops: its face
// is drawn), and a travelling die reports DieArrived. FinishMotion runs every
// pending moment at once, for tests and simulations.

#include "game/rules/Duel.h"
#include "game/rules/HandScore.h"

class CScoreCells;

constexpr int kBoardRows = 5;
constexpr int kBoardCols = 5;
constexpr int kDieCount = kBoardRows * kBoardCols;
constexpr int kLineCount = 7;        // second-half lines
constexpr int kFallingDiagonal = 0;  // (4,0) (3,1) (2,2) (1,3) (0,4)
constexpr int kRisingDiagonal = 6;   // (0,0) (1,1) (2,2) (3,3) (4,4)
constexpr int kFirstHalfHands = 5;
constexpr int kRollingRow = 4;       // the rolling place is row 4's rest place
constexpr int kMaxRolls = 3;

constexpr int DieIndex(int row, int col) { return row * kBoardCols + col; }

// Board indexes of a second-half line's dice in reading order. A line outside
// 0..6 gives false and five -1s (no die of the board).
bool GetLineDice(int line, int dice[kHandSize]);
bool IsDieOnLine(int line, int row, int col);

struct DieState {
    int face = 1;        // 1..6
    int colour = 0;      // 0..3
    int row = -1;        // row whose place it travels to or rests in; -1 waiting or rising to re-roll
    bool held = false;   // first half: kept out of the next roll; second half: picked
    bool locked = true;  // may not be held
    bool rolling = false;
    bool moving = false;
    bool movable = true;       // second half: may still be swapped
    bool rollPending = false;  // chosen by Roll, roll not started yet
};

enum class ScoreResult { Ignored, Refused, Scored };
enum class PickResult { Ignored, Refused, Picked, Unpicked, Swapped };

class CBoardState {
public:
    // The sheet holds the cells; it must outlive the board.
    explicit CBoardState(CScoreCells& sheet);

    // A solo game draws its dice from the game's generator; a seeded one from
    // its seed, each die's place and roll count (SeededDice.h).
    void StartGame(const GameSetup& setup = {});

    bool CanRoll() const;
    // Rolls the current row (all dice on the first roll, the unheld ones after);
    // false when not allowed. The chosen dice are marked rollPending.
    bool Roll();
    void StartDieRoll(int index);  // colour drawn
    void EndDieRoll(int index);    // face drawn
    void DieArrived(int index);    // reached the place of its row
    void FinishMotion();

    // First half: flips the hold of an unlocked, settled die of the current row.
    bool ToggleHold(int index);

    // Second half, line code "1".."7": selects an unscored line, lowering the
    // move count of the line selected before (after the first second-half hand).
    bool SelectLine(int line);
    // Second half, a plain click on a die: selects its column if not scored.
    bool SelectDieColumn(int index);
    // Second half: exchanges what two movable dice of one row show.
    bool SwapDice(int picked, int target);
    // Second half, click mode: pick a die, drop the pick, or swap with the pick.
    PickResult PickDie(int index);

    // Scores the current hand into a category through the sheet.
    ScoreResult ScoreCategory(int code);
    // Takes back the last scored hand.
    bool Undo();

    // The current hand; false when there is none (a die still rolls, no line selected).
    bool GetLineFaces(int faces[kHandSize]) const;
    bool GetLineColours(int colours[kHandSize]) const;
    bool IsLastHand() const { return handIndex == 11; }
    bool IsSecondHalf() const { return handIndex >= kFirstHalfHands; }
    bool AnyMovable() const;
    bool CanUndo() const;
    int Total() const;
    // Takes every rule field of another board (a kept game read back); the
    // sheet stays this board's own.
    void CopyStateFrom(const CBoardState& other);

    const GameSetup& Setup() const { return setup; }
    // How many times the die at a board index has been rolled in its row.
    int RollCount(int index) const;
    // A kept seeded game read back: its setup and every die's roll count
    // (each 0..kMaxRolls). False, and nothing changed, when a count is out of range.
    bool RestoreSeeded(const GameSetup& kept, const int counts[kDieCount]);

    // What the scene shows and the score sheet asks for. Read freely; change
    // only through the operations above.
    DieState dice[kDieCount];
    int handIndex = 0;
    int rollsUsed = 0;
    int rollsUsedAtScore = 0;
    int rerolledCount = 0;
    int selectedLine = -1;
    int lastScoredLine = -1;
    int lineMoveCount[kLineCount] = {};
    int pickedDie = -1;  // board index or -1
    int pickedRow = -1;
    int pickedIndex = -1;
    bool gameOver = false;
    bool lineScored[kLineCount] = {};
    // A fill may be taken back only until the next roll or swap.
    bool undoAvailable = false;
    // Option ShowColMarkers: whether the selected line's markers are shown.
    bool showColMarkers = true;

private:
    bool RowBusy(int row) const;
    void UpdateRowLocks();
    void ClearHolds();
    void ApplyLockingRule();
    void PreselectNextLine();

    CScoreCells& sheet;
    GameSetup setup;
    int rollCount[kDieCount] = {};
};
