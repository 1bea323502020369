#pragma once
// A game in progress kept in the settings store, so that quitting (or being
// ended) never loses it: the board, the sheet, the rolls left, the holds, the
// undo state, the player and the random generator's state (a seeded game adds
// its setup and each die's roll count, kept by the board), as one text value
// written in one transaction. Reading it back checks every field and a
// checksum: a damaged save, or one another version wrote, is refused whole.

#include <string>

#include "game/rules/CBoardState.h"
#include "game/rules/CScoreCells.h"

// The save's first line names its version; a save of another version is not read.
constexpr const char* kSavedGameHeader = "zanbor-saved-game 1";

// A game read back from its text. Not copyable: the board refers to the cells.
struct SavedGame {
    SavedGame() = default;
    SavedGame(const SavedGame&) = delete;
    SavedGame& operator=(const SavedGame&) = delete;

    CScoreCells cells;
    CBoardState board{cells};
    std::string player;       // whose game it is
    std::string randomState;  // what RandomState gave when it was kept

    int Row() const { return board.handIndex + 1; }  // the hand being played, 1..12
    int Points() const { return cells.Totals().total; }
};

// The text of a game at rest: no die may roll or wait for its roll (empty
// text then). Dice still travelling to their places are kept as arrived.
std::string EncodeSavedGame(const CBoardState& board, const CScoreCells& cells, const std::string& player,
                            const std::string& randomState);

// Ends a save's text with the checksum of everything before it.
std::string SealSavedGame(const std::string& body);

enum class SavedGameStatus { Ready, Damaged, OtherVersion };
// Reads a text EncodeSavedGame made into out; anything else is Damaged (or
// OtherVersion when only the header differs).
SavedGameStatus DecodeSavedGame(const std::string& text, SavedGame* out);

// Puts a read game into a play board and its cells.
void ApplySavedGame(const SavedGame& saved, CBoardState* board, CScoreCells* cells);

// The store: "SavedGame" under "Config".
enum class StoredGame { None, Ready, Damaged, OtherVersion };
// Writes the text in one transaction (or the caller's, when one is open);
// false when it could not be kept.
bool KeepSavedGame(const std::string& text);
StoredGame ReadSavedGame(SavedGame* out);
// Removes the save (in the caller's transaction, when one is open).
void DropSavedGame();
// The question asked at start-up: "Resume your game (row 3, 742 points)?"
std::string ResumeQuestion(const SavedGame& saved);
// The one line that says why a save was dropped.
const char* DroppedSaveMessage(StoredGame status);
