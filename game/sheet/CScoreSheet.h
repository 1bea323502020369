#pragma once
// The score sheet beside the board: twelve category cells, the two raw column
// subtotals, the two bonus-level markers, the running total, the best score
// ever and the game-over picture. The play scene names the category; the sheet
// asks the scene (gScoreSheetScene) for the line's dice, values the hand,
// fills the cell with its sound, recomputes the totals and, once every cell
// is filled, ends the game.

#include <memory>

#include "common/widgets/CStatus.h"
#include "game/rules/HandScore.h"

class CActorSprite;
class CGame;
class CScoreCell;
class IScoreSheetScene;

class CScoreSheet : public CStatus {
public:
    static constexpr int kLevels = 5;
    static constexpr int kDisplayDigits = 5;
    // Keys of the subtotal displays (numeric-pad minus and decimal point).
    static constexpr int kLeftSubtotalKey = 109;
    static constexpr int kRightSubtotalKey = 110;

    // Creates the displays, markers, cells, game-over picture and message
    // lines in the owner's scene; the best score shows the stored "BestScore".
    explicit CScoreSheet(CGame* owner);
    // Frees the sheet's assets and its displays; its actors go with the scene.
    ~CScoreSheet() override;

    void ShowGameOverPicture() override;  // 17: shows pasGameOver
    void Update(int elapsed) override;    // 31: also the subtotals
    void NewGame(int a, int b) override;  // 32: ResetForNewGame
    // 1 scored, 0 refused (no complete line, id outside 'a'..'l', cell used).
    int ScoreCategory(int id) override;   // 34

    // Takes back the last fill: 1 done, 0 nothing to undo (also once the
    // sheet is complete: a finished game is recorded and stays).
    int UndoLastEntry();
    // Empties the sheet for a new game, then the panel's own new game.
    void ResetForNewGame(int a, int b);
    void ShowGameOver() { ShowGameOverPicture(); }
    // Subtotals, levels with their once-per-game announcement, and the total;
    // ends the game when every cell is filled and the scene has not ended it.
    void Recalculate();
    // The end of a game's sound and best score: 1 for a record or a top-ten
    // place, 0 otherwise.
    int FinishGame();
    // Stores "BestScore" and shows it.
    void SetBestScore(int value);
    // The records of the game that ended could not be saved: one line says so,
    // and the best score shown is the stored one again. A new game hides it.
    void ShowRecordsNotSaved();

    // The cells' state as the rules count it, and the totals of it.
    ScoreCells CellValues() const;
    SheetTotalsValue Totals() const { return SheetTotals(CellValues()); }

    CScoreCell* pScoreCell[kCategoryCount] = {};  // actors of the scene
    std::unique_ptr<CScore> pLeftSubtotal;
    std::unique_ptr<CScore> pRightSubtotal;
    CActorSprite* pasLeftLevel = nullptr;          // actors of the scene
    CActorSprite* pasRightLevel = nullptr;
    CActorSprite* pasGameOver = nullptr;
    int ColourBonusPending = 0;
    int UndoUsed = 0;
    int LastFilledIndex = -1;
    int leftLevelShown[kLevels + 1] = {};   // [1..5]: announced in this game
    int rightLevelShown[kLevels + 1] = {};

private:
    void CreateDisplays();
    void CreateCells();
    void CreateMessageLines();
    // Places, shows and announces (once) one column's level marker.
    void ShowLevel(CActorSprite* marker, int level, int* shown);
    void PlayScoreSound(int index, int points, bool lastHand);
};
