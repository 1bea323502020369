#pragma once
// The scene base of a turn-based game screen: a status panel, player turn
// bookkeeping, the direction-key flags, and two game overlays on top of the
// scene's own.

#include <memory>

#include "common/scene/CScene.h"

class CStatus;

// Virtual-key codes of the direction flags.
constexpr int VK_CONTROL_KEY = 17;
constexpr int VK_LEFT_KEY = 37;
constexpr int VK_UP_KEY = 38;
constexpr int VK_RIGHT_KEY = 39;
constexpr int VK_DOWN_KEY = 40;
constexpr int VK_NUMPAD2_KEY = 98;
constexpr int VK_NUMPAD4_KEY = 100;
constexpr int VK_NUMPAD6_KEY = 102;
constexpr int VK_NUMPAD8_KEY = 104;

// A saved turn: what LoadTurnState restores.
struct CTurnState {
    int currentPlayer = 0;
    int turnIndex = 0;
    int difficulty = 0;
    int playerFlag1[4] = {0, 0, 0, 0};
    int playerFlag2[4] = {0, 0, 0, 0};
    int playerFlag3[4] = {1, 1, 1, 1};
};

class CGame : public CScene {
public:
    // The per-game value every game starts from, process-wide.
    static constexpr int kInitialPerGameValue = 870;

    // As CScene; players and difficulty come from the options record. Ends
    // with SetupTurn.
    CGame(CScreen* screen, int originX, int originY, int redrawMode, int userValue, int collisionOrder);

    void OnLeftUp(int x, int y) override;           // 4
    int OnKeyUp(int key) override;                  // 14
    int OnKeyDown(int key) override;                // 15
    void Tick() override;                           // 21
    int IdleTicks() override;
    int OnEscape() override;                        // 28
    ~CGame() override;                              // 29
    int CanResumeMusic() override;                  // 30
    void Pause(int showPicture) override;           // 32
    void Unpause() override;                        // 33

    virtual int QueryPair(int a, int b);            // 36
    virtual void StartGame(int firstPlayer);        // 37
    virtual void EndTurn(int index);                // 38
    virtual void CancelTurn(int flag);              // 39
    virtual void AbortTurn();                       // 40
    virtual void ResetStatus();                     // 41
    virtual void SpareHook42();                     // 42
    virtual void CheckTurnEnd();                    // 43
    virtual void SetGameOver();                     // 44
    virtual int QueryAlwaysOne();                   // 45
    virtual void SetTurnValue(int value);           // 46
    virtual void SpareHook47(int value);            // 47
    virtual void LoadTurnState(const CTurnState& record);  // 48
    virtual void SpareHook49();                     // 49
    virtual void SpareHook50();                     // 50
    virtual void SpareHook51();                     // 51
    virtual void SpareHook52();                     // 52
    virtual int GetMode();                          // 53
    virtual void GetCentreX(int& out);              // 54
    virtual void GetCentreY(int& out);              // 55
    virtual void OnFirstKey();                      // 56
    virtual void SetupTurn();                       // 57
    virtual void CloseGameOverlayA();               // 58
    virtual void CloseGameOverlayB();               // 59
    virtual void SpareHook60();                     // 60
    virtual void SpareHook61();                     // 61
    virtual void ShowGameOverlayA();                // 62
    virtual void ShowGameOverlayB();                // 63

    // Process-wide turn state shared by the game scenes.
    static int sharedCurrentPlayer;
    static int sharedPerGameValue;
    static int sharedTurnCounter;

    // Hands the scene its status panel (owned from now on; an earlier panel is
    // deleted). While running, Tick updates it every frame.
    void SetStatus(CStatus* panel);

    std::unique_ptr<CStatus> status;  // null until a game sets its panel
    int players = 1;
    int difficulty = 2;
    int currentPlayer = 0;
    int perGameValue = kInitialPerGameValue;
    int keyControl = 0;
    int keyHorizontal = 0;
    int keyUp = 0;
    int keyDown = 0;
    int gameOver = 0;  // also game overlay B's flag
    int gameOverlayAShown = 0;
    CActor* gameOverlayAActor = nullptr;
    CActor* gameOverlayBActor = nullptr;
    std::unique_ptr<CSprite> gameOverlayAFrame;
    std::unique_ptr<CSprite> gameOverlayBFrame;
    int turnsEnabled = 1;
    int secondTurnFlag = 1;
    int firstKeySeen = 0;
    int pendingValue = 0;
    int turnIndex = 0;
    int turnAborted = 0;
    int turnValue = 0;
    // Set by the derived game while the music must stay stopped.
    int musicHoldA = 0;
    int musicHoldB = 0;
    // The turn fields SetupTurn fills.
    int turnPlayer = 0;
    int turnDifficulty = 0;
    int turnFlag1 = 0;
    int turnFlag2 = 0;
    int turnFlag3 = 0;

private:
    // Sets (press) or clears (release) a direction flag; false for other keys.
    bool SetDirectionFlag(int key, int value);
};
