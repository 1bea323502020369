#pragma once
// The status panel a game scene owns: score, best score, the other number
// displays a game may have, per-player flags, two pictures and three message
// lines, reset and updated together. It is not an actor itself; the actors it
// holds live in its owner's scene. A game derives its own panel and fills the
// display slots it needs; every operation skips a slot left empty.

#include <memory>

class CActor;
class CActorSlider;
class CCounter;
class CEditBox;
class CGame;
class CNumber;
class CScore;

class CStatus {
public:
    static constexpr int kMaxPlayers = 4;
    static constexpr int kTableRows = 101;
    static constexpr int kTableItems = 3;
    static constexpr int kTableEmpty = 0;
    static constexpr int kBonusStep = 100000;
    static constexpr int kPenaltyStep = 25;  // a penalty is taken off 25 at a frame

    // owner may be null (a panel without a game: no players, nothing pending).
    explicit CStatus(CGame* owner);
    CStatus(const CStatus&) = delete;
    CStatus& operator=(const CStatus&) = delete;

    virtual ~CStatus();                                      // 0: deletes the number displays
    virtual void ClearTables();                              // 1: both tables empty, score 0
    virtual void SetTableEntry(int player, int item, int value);  // 2
    virtual void ClearTableEntry(int player, int item);      // 3
    virtual void ClearPlayerFlags();                         // 4: flags 1 and 2 of every player = 0
    virtual void SetPlayerFlag1(int player, int value);      // 5
    virtual float GetSliderValue();                          // 6: 1.0 without a slider
    virtual void MarkPlayerFlag1(int player);                // 7
    virtual void MarkPlayerOut(int player);                  // 8: penalty off the score, flag 2 set
    virtual void ApplyPenalty();                             // 9: penalty unless flag 1 of the current player
    virtual void TurnEndHook();                              // 10: nothing
    virtual void CheckTurnEnd();                             // 11: the owner's CheckTurnEnd
    virtual void SetBonusBase(int score);                    // 12
    virtual void OnCountFinished();                          // 13: a score's timed count ended; nothing
    virtual void SpareHook14();                              // 14
    virtual void ShowPausePicture(int show);                 // 15
    virtual int HidePausePicture();                          // 16
    virtual void ShowGameOverPicture();                      // 17
    virtual void SpareHook18();                              // 18
    virtual void SpareHook19();                              // 19
    virtual void CheckScoreBonus(int score);                 // 20: a life per 100000 points
    virtual void ShowMessage3(const char* line1, const char* line2, const char* line3);  // 21
    virtual void ShowMessage2(const char* line1, const char* line2);  // 22
    virtual void ShowMessage1(const char* text);             // 23
    virtual void ShowCongratulations();                      // 24
    virtual void ShowNotThisTime();                          // 25
    virtual void ShowWinner();                               // 26
    virtual void ShowNoWinner();                             // 27
    virtual void RequestScoreBonus();                        // 28
    virtual void ClearScoreFastCount();                      // 29
    virtual void AddToCounter3(int value);                   // 30
    virtual void Update(int elapsed);                        // 31: once per frame
    // The ticks for which Update changes nothing (see CActor::IdleTicks).
    int IdleTicks() const;
    virtual void NewGame(int a, int b);                      // 32
    virtual int SpareQuery33(int value);                     // 33: 0
    virtual int ScoreCategory(int id);                       // 34: 0; a game's panel scores here

    // Non-virtual accessors; 0 for an empty slot.
    int GetScore() const;
    int GetLives() const;
    int GetCounter2() const;
    float GetCounter1Hundredths() const;  // counter 1's value x 100
    void SetBestScoreDisplay(int value);  // shows value as the best score
    void AddLives(int amount);
    void SetLives(int value);
    int GetCurrentFlag1() const;
    int GetCurrentFlag2() const;
    int GetCurrentFlag3() const;
    // 1 when the owner has exactly one player, or its current player is not
    // the one marked at the last new game.
    int IsMarkStale() const;

    // The per-player flags (players 0..3); other players read 0 and are not stored.
    int GetPlayerFlag1(int player) const { return ValidPlayer(player) ? playerFlag1[player] : 0; }
    int GetPlayerFlag2(int player) const { return ValidPlayer(player) ? playerFlag2[player] : 0; }
    int GetPlayerFlag3(int player) const { return ValidPlayer(player) ? playerFlag3[player] : 0; }
    void SetPlayerFlag2(int player, int value) {
        if (ValidPlayer(player)) playerFlag2[player] = value;
    }
    void SetPlayerFlag3(int player, int value) {
        if (ValidPlayer(player)) playerFlag3[player] = value;
    }
    static bool ValidPlayer(int player) { return player >= 0 && player < kMaxPlayers; }
    // The first table's entry, kTableEmpty outside the table.
    int GetTableEntry(int player, int item) const;

    // The exact verdict texts.
    static constexpr const char* kCongratulations = "Congratulations!!";
    static constexpr const char* kNotThisTime = "Oh, no!  Not this time!";
    static constexpr const char* kWinner = "Winner!  Way to go!";
    static constexpr const char* kNoWinnerBoth = "No winner.  You both need work!";
    static constexpr const char* kNoWinnerAll = "No winner.  You all need work!";

    CGame* owner = nullptr;
    std::unique_ptr<CScore> pScore;
    std::unique_ptr<CScore> pHighScore;
    std::unique_ptr<CNumber> pCounter1;  // a game's time or similar
    std::unique_ptr<CNumber> pLives;
    std::unique_ptr<CNumber> pLevel;
    std::unique_ptr<CCounter> pCounter2;  // with its hold and stale flags
    CActorSlider* pSlider = nullptr;      // an actor of the scene
    std::unique_ptr<CNumber> pCounter3;
    CActor* pasGameOverPicture = nullptr;  // picture 1, an actor of the scene
    CActor* pasPausePicture = nullptr;     // picture 2, an actor of the scene
    CEditBox* pMsgEditBox1 = nullptr;   // message lines, actors of the scene
    CEditBox* pMsgEditBox2 = nullptr;
    CEditBox* pMsgEditBox3 = nullptr;
    int playerFlag1[kMaxPlayers] = {0, 0, 0, 0};
    int playerFlag2[kMaxPlayers] = {0, 0, 0, 0};
    int playerFlag3[kMaxPlayers] = {1, 1, 1, 1};
    int winnerShown = 0;
    int noWinnerShown = 0;
    int bonusAllowed = 1;  // a score may ask for its one-off bonus
    int spareFlag = 1;
    int firstTable[kTableRows * kTableItems] = {};
    int secondTable[kTableRows * kTableItems] = {};
    int currentPlayerMark = 0;
    int penalty = 0;
    int extraAmount = 0;  // a game's own running amount, cleared with the penalty
    int nextBonusThreshold = 0;
    // What a score's timed count and bonus read from their panel.
    int countFlag = 0;   // set: counts run countValue frames
    int countValue = 0;
    int bonusFactor = 1;  // a bonus is this x 10000

protected:
    // Sets a message line's text with leading zeros stripped, read-only or not.
    static void SetLine(CEditBox* line, const char* text);
    static void ShowLine(CEditBox* line);
    static void HideLine(CEditBox* line);
    int OwnerPlayers() const;
    int OwnerCurrentPlayer() const;
    // The score display's gradual subtraction of the penalty.
    void TakePenalty();
};
