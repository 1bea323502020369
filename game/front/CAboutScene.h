#pragma once
// The about scene: three information pages over the game, chosen by the keys
// (or buttons) 'a', 'd' and 'b', each closed by a click on it; Esc (or the back
// button) covers the scene and returns to the game.

#include "common/scene/CScene.h"
#include "game/front/PageAssets.h"

class CActorButton;
class CActorSprite;

class CAboutScene : public CScene {
public:
    static constexpr int kPageCount = 3;
    // The pages' keys (the numeric pad's 1, 4 and 2, or the top row's digits).
    static constexpr int kKeyPage1 = 'a';
    static constexpr int kKeyPage2 = 'd';
    static constexpr int kKeyPage3 = 'b';

    CAboutScene(CScreen* screen, int originX, int originY);
    ~CAboutScene() override;

    void OnLeftDown(int x, int y) override;   // 0
    void OnRightDown(int x, int y) override;  // 2
    int OnKeyUp(int key) override;            // 14
    int OnKeyDown(int key) override;          // 15
    // Reads entries 2 and 6 and builds the page's actors.
    void LoadAssets() override;               // 17
    void FreeAssets() override;               // 19
    void Tick() override;                     // 21

    // Shows page (0..2) alone, unless the scene is covering; the others hide.
    void ShowPage(int page);
    CActorSprite* GetPage(int page) const { return pages[page]; }
    CActorButton* GetBackButton() const { return backButton; }

private:
    void HidePagesAt(int x, int y);

    PageAssets assets;
    CActorSprite* background = nullptr;
    CActorButton* backButton = nullptr;
    CActorSprite* pages[kPageCount] = {nullptr, nullptr, nullptr};  // pasAbout 1, 2, 3
    bool removalRequested = false;
};
