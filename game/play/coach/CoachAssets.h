#pragma once
// The coach's pictures: its buttons, the advice card, the highlights it puts
// on dice and cells, and the review page with its small dice. They have an
// entry of their own, read after the play scene's; without them the game
// plays as it always did and the coach stays away.

#include "platform/core/ResultCodes.h"

class CScreen;
class CSprite;
class CSpriteArray;

constexpr int kCoachEntry = 13;

struct CoachAssetSet {
    CSpriteArray* coachButton = nullptr;   // up, down
    CSpriteArray* reviewButton = nullptr;  // up, down
    CSprite* card = nullptr;               // the advice card
    CSprite* ring = nullptr;               // around a die (centred)
    CSprite* cellFrame = nullptr;          // around a category cell
    CSprite* page = nullptr;               // the review page
    CSpriteArray* closeButton = nullptr;   // up, down
    CSpriteArray* miniDice = nullptr;      // colour x 6 + face - 1 (centred)
    CSprite* miniRing = nullptr;           // around a small die (centred)
    CSpriteArray* duelCloseButton = nullptr;  // the duel's page: up, down
    CSpriteArray* duelPageButton = nullptr;   // the duel card's "See their game (O)": up, down
    CSpriteArray* duelCopyButton = nullptr;   // the duel card's "Copy (F6)": up, down
};

// 0, or kResultPlayAssetsNotLoaded (what was read is freed).
int LoadCoachAssets(CScreen* screen);
void FreeCoachAssets();
const CoachAssetSet& CoachAssets();
bool CoachAssetsLoaded();
