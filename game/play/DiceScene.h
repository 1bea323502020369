#pragma once
// What a die asks of the scene it plays in. The play scene implements it and
// names itself in pDiceScene while it lives; tests put a small scene of their
// own there. The dice read the rules' state from the board model the scene
// hands out and never keep a copy of it (see CActorDie).

class CActorDie;
class CBoardState;

// The mouse button of a die press.
enum class DieButton { Left, Right };

class IDiceScene {
public:
    virtual ~IDiceScene() = default;

    // The board model of the game in play: faces, colours, holds, locks,
    // movability and rows of the 25 dice. Die i of the board is the die
    // constructed with board index i.
    virtual CBoardState& DiceBoard() = 0;
    // Rolls made for the current row, 0..3.
    virtual int DiceRollsUsed() = 0;
    // The game is over (the end of the game has run); dice take no input and
    // end their roll shows on their saved faces.
    virtual bool DiceGameOver() = 0;
    // Second half: dice are swapped, not held.
    virtual bool DiceSecondHalf() = 0;

    // A left press on a die (second half: the press before a drag or a
    // click), or a right press and release on it in click mode (the pick).
    virtual void OnDiePressed(CActorDie* die, DieButton button) = 0;
    // The left button was released after a press on die: (x, y) is the
    // pointer in client pixels, (0, 0) when a drag left the board; movable is
    // the die's movability. The drag die still stands where it was dropped.
    virtual void OnDieReleased(CActorDie* die, int x, int y, bool movable) = 0;
    // A die that rose to be rolled again is back at the top. Called once for
    // every such die; the dice of one re-roll arrive in the same frame.
    virtual void OnDieAtTop(CActorDie* die) = 0;
};

// The scene the dice play in, or null. The play scene sets it in Begin and
// clears it (if it still names it) in its destructor.
inline IDiceScene* pDiceScene = nullptr;
