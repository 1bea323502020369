#pragma once
// What the score sheet needs of the scene it belongs to: the dice of the line
// being scored, the state of the game, and the two notifications at the end of
// a game. The play scene implements it; tests put a small scene in its place.

#include "game/rules/HandScore.h"

class CScoreSheet;

class IScoreSheetScene {
public:
    virtual ~IScoreSheetScene() = default;

    // The faces (1..6) and colours (0..3) of the current hand in line order;
    // false when there is no complete hand to score.
    virtual bool GetLineFaces(int faces[kHandSize]) = 0;
    virtual bool GetLineColours(int colours[kHandSize]) = 0;
    // The twelfth and last hand of the game is being scored.
    virtual bool IsLastHand() = 0;
    // The game has ended (the scene's game-over flag).
    virtual bool IsGameOver() = 0;
    // Results of the scene's end of the game, read once it has run.
    virtual bool IsNewBestOverall() = 0;
    virtual bool IsNewBestPersonal() = 0;
    virtual bool IsInTopTen() = 0;
    // False when the end could not keep the game's record in the store.
    virtual bool RecordsSaved() { return true; }

    // Called when every cell is filled, in this order: EndTurn(0) (stops the
    // music), then SetGameOver (records the game and shows the end message).
    // Same names and signatures as the game scene's own operations, so one
    // override in the play scene serves both.
    virtual void EndTurn(int index) = 0;
    virtual void SetGameOver() = 0;
};

// The current play scene as the sheet sees it; null while there is none. The
// play scene sets it in Begin and clears it when it goes away.
inline IScoreSheetScene* gScoreSheetScene = nullptr;

// The play scene's score sheet; null while there is none. Set together with
// gScoreSheetScene.
inline CScoreSheet* gScoreSheet = nullptr;
