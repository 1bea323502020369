#pragma once
// The options scene: the effect and music volumes on two sliders, the screen
// mode, the hint level and the column markers on three groups of latches, and
// the player's initials. OK (Enter) stores everything and tells the game;
// Cancel (Esc) stores nothing. Both cover the scene and return to the game.

#include "common/scene/CScene.h"
#include "game/front/PageAssets.h"

class CActorButton;
class CActorSlider;
class CEditBox;
class CPlayScene;

class COptionsScene : public CScene {
public:
    // Latch ids: screen mode, hint level, column markers.
    static constexpr int kKeyWindow = 'a';
    static constexpr int kKeyFullScreen = 'b';
    static constexpr int kKeyHints2 = 'c';
    static constexpr int kKeyHints1 = 'd';
    static constexpr int kKeyHints0 = 'e';
    static constexpr int kKeyMarkersOn = 'g';
    static constexpr int kKeyMarkersOff = 'h';
    static constexpr int kKeyDiceNormal = 'i';
    static constexpr int kKeyDiceFast = 'j';
    static constexpr int kKeyPreviewOn = 'k';
    static constexpr int kKeyPreviewOff = 'l';
    static constexpr int kKeyInitials = 'z';
    // The Opponent's latches, Off to Hard: codes no key sends (the row's key 6 steps through them).
    static constexpr int kKeyOpponentOff = 300;
    static constexpr int kKeyOpponentEasy = 301;
    static constexpr int kKeyOpponentMedium = 302;
    static constexpr int kKeyOpponentHard = 303;
    // The top row's "1".."6" step through the choices of the rows, top to bottom.
    static constexpr int kKeyFirstRow = '1';
    // The sliders' track: a volume v of 0..100 puts the knob at 300 + 2v.
    static constexpr int kSliderMin = 300;
    static constexpr int kSliderMax = 500;

    COptionsScene(CScreen* screen, CPlayScene* playScene, int originX, int originY);
    ~COptionsScene() override;

    int OnKeyUp(int key) override;    // 14
    int OnKeyDown(int key) override;  // 15
    void LoadAssets() override;       // 17
    int Begin() override;             // 18
    void FreeAssets() override;       // 19
    void Tick() override;             // 21

    CActorButton* GetLatch(int key) const;
    CActorSlider* GetEffectSlider() const { return effectSlider; }
    CActorSlider* GetMusicSlider() const { return musicSlider; }
    CEditBox* GetInitialsBox() const { return initialsBox; }

private:
    // The screen latch's choice made the mode at once; Esc goes back to the mode of the opening.
    void ApplyScreenLatch();
    int fullScreenAtOpen = 0;
    int storedFullScreenAtOpen = 0;
    static constexpr int kLatchCount = 15;
    static constexpr int kGroupCount = 6;
    // Selects the latch of key and releases the others of its group.
    void SelectLatch(int key);
    bool IsSelected(int key) const;
    // Selects the next latch of a group (after its last, the first).
    void StepGroup(int group);
    // The scene has its fade and is not covering: OK and Cancel work.
    bool AcceptsAnswer();
    void StoreOptions();

    CPlayScene* playScene = nullptr;
    PageAssets assets;
    CSprite* background = nullptr;
    CSpriteArray* okFrames = nullptr;
    CSpriteArray* cancelFrames = nullptr;
    CSpriteArray* latchFrames = nullptr;
    CSprite* knob = nullptr;
    CFont* font = nullptr;

    CActorButton* okButton = nullptr;
    CActorButton* cancelButton = nullptr;
    CActorButton* latches[kLatchCount] = {};
    CActorSlider* effectSlider = nullptr;
    CActorSlider* musicSlider = nullptr;
    CEditBox* initialsBox = nullptr;
    bool removalRequested = false;
};
