#pragma once
// What the about, options and records pages share: their pictures, arrays and
// font read from the archive and freed together, and the fade that reveals a
// page on entry and covers it on leaving, after which the page asks the screen
// to remove it.

#include <memory>
#include <vector>

#include "common/actors/CFont.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"

class CActorFade;
class CFileMM;
class CScene;

class PageAssets {
public:
    // Each reads the next chunk of the archive and keeps what it read; a
    // chunk of the wrong kind throws from the reader.
    CSprite* Picture(CFileMM& archive);
    CSpriteArray* Array(CFileMM& archive);
    CFont* Font(CFileMM& archive, int firstChar);
    void Free();

private:
    std::vector<std::unique_ptr<CSprite>> pictures;
    std::vector<std::unique_ptr<CSpriteArray>> arrays;
    std::unique_ptr<CFont> font;
};

// Creates the page's fade at (0, 0), depth 10, as the scene's fade, revealing.
CActorFade* StartPageReveal(CScene* scene);

// Starts the closing cover unless the page is covering already.
void StartPageCover(CScene* scene);

// Once the closing cover has finished, asks the screen (once) to remove the page.
void RequestPageRemovalWhenCovered(CScene* scene, bool& requested);

// The digits of the top row as the numeric pad's: "1" is pad 1 (the page
// code 'a'), and so on; every other key as it is.
int PadKeyOfDigit(int key);
