#pragma once
// The score sheet's sounds, font and pictures, and the cells' assets with the
// one undo button all cells share. They are read from the archive right after
// the dice's run and live, independent of any one sheet, until freed.

#include "platform/core/ResultCodes.h"

class CActorButton;
class CFont;
class CScreen;
class CSprite;
class CSpriteArray;
class MSound;

// The sheet's sounds, in the archive's order.
enum SheetSound : int {
    kSheetSoundRecord = 0,      // new best overall or personal best at game over
    kSheetSoundTopTen = 1,      // the game entered a ten-best table
    kSheetSoundGameOver = 2,    // game over, no record
    kSheetSoundLevel = 3,       // a bonus level reached for the first time
    kSheetSoundColourBonus = 4,
    kSheetSoundFirstRight = 5,  // 'g' scored above 0; 'h'..'l' follow
    kSheetSoundFiveOfFace = 11, // a face cell with five dice of the face
    kSheetSoundFourOfFace = 12,
    kSheetSoundThreeOfFace = 13,
    kSheetSoundTwoOfFace = 14,
    kSheetSoundOneOfFace = 15,
    kSheetSoundTotal = 16,      // 'f' scored
    kSheetSoundZero = 17,       // a cell scored 0
    kSheetSoundCount = 18,
};

// The sheet's font covers the characters from this one on.
constexpr int kSheetFontFirstChar = 32;

// The undo button's key ('U') and where it waits until a cell is filled.
constexpr int kUndoKey = 85;
constexpr int kUndoButtonDepth = 80;

struct ScoreSheetAssets {
    MSound* sounds[kSheetSoundCount] = {};
    CFont* font = nullptr;
    CSprite* levelMarker = nullptr;
    CSprite* gameOver = nullptr;
};

struct CellAssets {
    MSound* undoSound = nullptr;
    CSprite* sparkle = nullptr;
    CSpriteArray* cells = nullptr;
    CSpriteArray* undoFrames = nullptr;
    // An actor of the scene that was current at loading; forgotten when its
    // scene deletes it.
    CActorButton* undoButton = nullptr;
};

// What is loaded now (empty handles when not loaded).
extern ScoreSheetAssets gSheetAssets;
extern CellAssets gCellAssets;

// Reads, from the archive's current position, the eighteen sounds, the font,
// the level marker and the game-over picture, then the cell assets. Frees
// whatever an earlier load left first. 0; kResultPlaySoundNotRead when a sound
// cannot be made (what was read stays until FreeScoreSheetAssets);
// kResultPlayAssetsNotLoaded when the cell assets fail.
int LoadScoreSheetAssets(CScreen* screen);
// Reads the undo sound, the sparkle, the cells' array and the undo button's
// array, and creates the hidden undo button in the screen's current scene.
// 0, or kResultPlaySoundNotRead when the sound cannot be made.
int LoadCellAssets(CScreen* screen);
// Release every asset and null its handle; safe to call again. The score
// sheet's also releases the cells'.
void FreeScoreSheetAssets();
void FreeCellAssets();

// Hides the undo button (after a roll or a swap the last fill stays).
void HideUndoButton();
// Shows the undo button at (x, y) in whole pixels.
void ShowUndoButtonAt(int x, int y);

// Plays one of the sheet's sounds; a sound not loaded is skipped.
void PlaySheetSound(int sound);
void PlayUndoSound();
// Volume of every sheet and cell sound (0.0 .. 1.0).
void SetScoreSheetSoundVolume(float level);
