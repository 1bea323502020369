#pragma once
// The status panel a game scene owns: score, best score, player flags,
// pictures and message lines, reset and updated together. Only what the game
// scene base (CGame) calls is declared here, as the interface the panel built
// with the widgets implements; until then a game scene's panel slot stays empty.

class CGame;

class CStatus {
public:
    static constexpr int kMaxPlayers = 4;

    virtual ~CStatus() = default;                           // 0
    virtual void ClearPlayerFlags() = 0;                    // 4
    virtual void SetPlayerFlag1(int player, int value) = 0; // 5
    virtual void TurnEndHook() {}                           // 10 (does nothing)
    virtual void ShowPausePicture(int show) = 0;            // 15
    virtual int HidePausePicture() = 0;                     // 16
    virtual void Update(int elapsed) = 0;                   // 31

    // The per-player flags (players 0..3).
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

    CGame* owner = nullptr;
    int playerFlag1[kMaxPlayers] = {0, 0, 0, 0};
    int playerFlag2[kMaxPlayers] = {0, 0, 0, 0};
    int playerFlag3[kMaxPlayers] = {1, 1, 1, 1};
};
