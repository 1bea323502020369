#pragma once
// The records scene: the best-ten and recent-ten tables and the counts and
// averages of the player or of all players, chosen by two latches ('h', 'i'),
// with the duels won, lost and drawn at each level of the opponent, and the
// erasing of the player's records after a confirmation ('b'). Esc (or
// the back button) covers the scene and returns to the game.

#include "common/scene/CScene.h"
#include "game/front/PageAssets.h"
#include "game/rules/Records.h"

class CActorButton;
class CEditBox;
class CPlayScene;

class CStatsScene : public CScene {
public:
    static constexpr int kKeyMyRecords = 'h';
    static constexpr int kKeyAllPlayers = 'i';
    static constexpr int kKeyErase = 'b';

    CStatsScene(CScreen* screen, CPlayScene* playScene, int originX, int originY);
    ~CStatsScene() override;

    void ChangeScene(CScene* scene, int code) override;         // 8
    void OnDialogClosed(CScene* dialog, int result) override;   // 9
    int OnKeyUp(int key) override;                              // 14
    int OnKeyDown(int key) override;                            // 15
    void LoadAssets() override;                                 // 17
    int Begin() override;                                       // 18
    void FreeAssets() override;                                 // 19
    void Tick() override;                                       // 21

    // Fills the columns and figures for the selected scope.
    void Refresh();
    bool ShowsAllPlayers() const { return allPlayers; }

    // The texts on the page, by role, for the checks of what it shows.
    enum Text { kBestScores, kBestInitials, kRecentScores, kRecentInitials, kStarted, kFinished,
                kOverallAverage, kBestTenAverage, kRecentAverage, kTextCount };
    CActorButton* GetText(Text which) const { return texts[which]; }
    CEditBox* GetInitialsBox() const { return initialsBox; }
    // The duels table: a row for each level (Easy, Medium, Hard), a column for
    // won, lost and drawn.
    static constexpr int kDuelLevels = 3;
    static constexpr int kDuelOutcomes = 3;
    CActorButton* GetDuelText(int level, int outcome) const { return duelTexts[level][outcome]; }
    CScene* GetPendingDialog() const { return pendingDialog; }

private:
    void SelectScope(bool all);
    void CreateDuelTable();
    void RefreshDuelTable(RecordScope scope);
    void OpenEraseConfirmation();

    CPlayScene* playScene = nullptr;
    PageAssets assets;
    CSprite* background = nullptr;
    CSpriteArray* latchFrames = nullptr;
    CSpriteArray* eraseFrames = nullptr;
    CSpriteArray* backFrames = nullptr;
    CSprite* confirmPicture = nullptr;
    CSprite* confirmAllPicture = nullptr;  // the question as the all-players view asks it
    CSpriteArray* confirmButtons = nullptr;
    CFont* font = nullptr;

    CActorButton* myLatch = nullptr;
    CActorButton* allLatch = nullptr;
    CActorButton* backButton = nullptr;
    CEditBox* initialsBox = nullptr;
    CActorButton* texts[kTextCount] = {};
    CActorButton* duelTexts[kDuelLevels][kDuelOutcomes] = {};
    CScene* pendingDialog = nullptr;
    bool allPlayers = false;
    bool removalRequested = false;
};
