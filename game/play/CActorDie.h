#pragma once
// One die of the board on screen. It falls into the rolling place and rolls,
// rises to be rolled again, settles into its row, and turns the mouse into
// holds (first half) and drags or picks (second half).
//
// The board model (CBoardState, reached through pDiceScene) is the one place
// where the die's face, colour, hold, lock, movability, row, and whether it
// rolls or travels are decided; the accessors below read it and the die never
// stores them. The die calls the model's roll moments at the times of its
// animation: StartDieRoll when it starts falling into the rolling place (the
// colour is drawn), EndDieRoll when its roll runs out (the face is drawn),
// DieArrived when it reaches its place. What the die keeps is only how it is
// drawn: position, animation, timers, and its three companions, whose
// selection frame follows the model's hold.
//
// Two end-of-game shows change only the picture: the roll show ends on the
// face it started from, and the face cycling walks through colours and faces
// the model no longer uses (the game is recorded by then).

#include "common/actors/CActorAnim.h"
#include "game/play/DiceScene.h"
#include "common/scene/CFixPoint.h"

class CActorSprite;
struct DieState;

// Heights and speeds in 24.8, times in ticks.
constexpr int kDiceTop = ToFixed(118);    // 118 px: waiting height above the board
constexpr int kRollTime = 435;
constexpr int kRollTimeStep = 51;         // 51.2 ticks per step, truncated
constexpr int kFallSpeed = 25600;         // 100 px/s
constexpr int kRerollRiseSpeed = -20480;  // -80 px/s
constexpr int kRiseSpeed = -30720;        // -120 px/s
constexpr int kSettleSpeed = 17920;       // 70 px/s
constexpr int kCycleBase = 25;
constexpr int kCascadeGap = ToFixed(40);    // 40 px fallen: the next die of the row starts
constexpr int kWaitingBand = ToFixed(20);   // 20 px below kDiceTop still counts as waiting
constexpr int kEndRollTime = 512;           // the end-of-game roll show
constexpr int kRollDepthLift = ToFixed(1);  // a rolling die stands 1 px nearer
constexpr int kFastDiceFactor = 5;          // option DiceSpeed Fast: speeds x5, rolls / 5
constexpr int kEndCycleTicks = 1280;        // the face cycling of a best score: 5 s, then the board again

// Rest place of row r (absolute y, 24.8): 365 - 48r px; row 4's is the rolling place.
constexpr int DieRestY(int row) { return ToFixed(365 - row * 48); }

class CActorDie : public CActorAnim {
public:
    // x, y, z absolute 24.8; next is the die to the right in the same row (null
    // for column 4); boardIndex is the die's entry in the board model.
    CActorDie(CScene* scene, int x, int y, int z, CActorDie* next, int boardIndex);

    // Overrides in slot order.
    void ResetEffects(int a, int b) override;
    void Update(int ticks) override;
    int IdleTicks() override;
    void SetXY(int x, int y) override;
    void SetX(int x) override;
    void SetY(int y) override;
    void SetVelocityX(int vx) override;
    void SetVelocityY(int vy) override;
    int OnMouse(const CMouseEvent& event) override;
    int WantsMouse(const CMouseEvent& event) override;
    ~CActorDie() override;

    // Starts the row's cascade from this die (the row's leftmost): the first die
    // still waiting at the top falls and rolls, and each falling die starts the
    // next waiting one 40 px later. row is where the model sends rolled dice.
    void Drop(int row);
    void StartRoll(int time);
    // The end-of-game roll: the colour stays and the roll ends on savedFace.
    void StartRollShow(int time);
    // Flies up: row -1 to be rolled again, else back to its place.
    void Rise(int row);
    // Falls to row's rest place and shows itself.
    void Settle(int row);
    // Shows face n (1..6) in the model's colour.
    void ShowFace(int n);
    // Holds need an unlocked die that does not roll; the model decides a
    // first-half hold. The selection frame always shows the model's hold.
    void SetHold(bool on, bool withSound);
    void ToggleHold(bool withSound);
    // The glow runs to the movable look (frame 0) or the fixed look (last frame).
    void SetMovable(bool on);
    void ResetGlow();
    void ShowMarker();
    void HideMarker();
    bool IsMarked() const;

    // The rules' state of this die, read from the model.
    int GetFace() const;  // what is shown: the animation's frame + 1
    int Colour() const;
    int Row() const;
    bool IsHeld() const;
    bool IsLocked() const;
    bool IsMovable() const;
    bool IsRolling() const;
    bool IsMoving() const;
    // The colour of the picture shown now (differs from Colour() only in the
    // end-of-game face cycling).
    int ShownColour() const;

    int BoardIndex() const { return boardIndex; }
    CActorDie* NextInRow() const { return nextInRow; }
    CActorSprite* SelectFrame() const { return selectFrame; }
    CActorSprite* Marker() const { return marker; }
    CActorAnim* Glow() const { return glow; }

    bool cycleFaces = false;  // end of game: cycle colours and faces, for cycleTicksLeft
    int cycleTicksLeft = kEndCycleTicks;
    bool rollShow = false;    // end of game: one more roll show is pending
    bool landed = false;      // reached its place
    bool cascadeStarted = false;
    int rollTimer = 0;        // ticks left in the current roll
    int homeY = 0;            // 24.8, absolute, at construction
    int homeZ = 0;
    int cycleCountdown = 0;
    int cyclePeriod = 0;
    int savedFace = 1;

private:
    const DieState* State() const;
    void ShowLook(int face, int colour);
    void SyncHoldFrame();
    void FallStep();
    void RiseStep();
    void RollShowStep();
    void CycleStep();
    bool InsideDie(const CMouseEvent& event) const;
    // Ends this die's press without effect: the drag copy goes, the mouse is free.
    void DropGesture();

    CActorSprite* selectFrame = nullptr;  // companions: owned by the scene, killed with the die
    CActorSprite* marker = nullptr;
    CActorAnim* glow = nullptr;
    CActorDie* nextInRow = nullptr;
    int boardIndex = 0;
    bool glowMovable = true;  // the look the glow shows or runs to
    bool leftPressed = false;  // the current left press began on this die
};

// The drag die's counterpart of a click mode check: option DiceMoveMode = 1.
bool IsDiceClickMode();
