#pragma once
// The pictures and sounds every die shares, read once from the archive's dice
// run (entry 9) and freed together, and the roll sounds with the two counters
// that restart the long roll sound while the dice of a row keep starting.

#include "platform/core/ResultCodes.h"

class CScreen;
class CSprite;
class CSpriteArray;
class MSound;

constexpr int kDieColours = 4;
constexpr int kDiceEntry = 9;  // archive entry point of the dice run

// The six die sounds in the order of the run.
enum DieSound {
    kDieSoundHold,
    kDieSoundSwap,
    kDieSoundRefuse,
    kDieSoundRollOne,
    kDieSoundRollTwo,
    kDieSoundRollMany,  // three or more dice
    kDieSoundCount
};

struct DieAssetSet {
    MSound* sounds[kDieSoundCount] = {};
    CSpriteArray* faces[kDieColours] = {};  // frame n - 1 shows face n
    CSpriteArray* rolls[kDieColours] = {};
    CSpriteArray* glows[kDieColours] = {};  // frame 0 movable, last frame fixed
    CSprite* select = nullptr;
    CSprite* marker = nullptr;
    CSpriteArray* dragFaces[kDieColours] = {};
    CSpriteArray* dragOverlay = nullptr;  // one frame per colour
};

// What is loaded now (all null before LoadDieAssets and after FreeDieAssets).
const DieAssetSet& DieAssets();

// Frees what was loaded, seeks the screen's archive to entry 9 and reads the
// six sounds, then the arrays and pictures. 0; kResultPlaySoundNotRead when a
// sound cannot be read (what was read stays until FreeDieAssets);
// kResultArrayOrMusicFailed when an array cannot be stored.
// A damaged picture or array throws as the engine's loaders do; whatever was
// read before stays listed, so FreeDieAssets frees it on every path.
int LoadDieAssets(CScreen* screen);
void FreeDieAssets();

// Volume level 0.0..1.0 of the six sounds.
void SetDieSoundVolume(float level);
// Plays one of the six sounds from where its voice stands.
void PlayDieSound(DieSound sound);
void StopRollSounds();
// Plays the roll sound for n dice (none for 0) and sets both counters to n.
void PlayRollSound(int n);
// A die of a roll starts falling: with five dice the long roll sound restarts
// as the third and the fourth start, with four as the third; counts down.
void CountRollStart();
// The counters, 5 at start; ResetRollSoundCountdown sets the countdown to 0.
int RollSoundMode();
int RollSoundCountdown();
void ResetRollSoundCountdown();
