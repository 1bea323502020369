#pragma once
// The game's options: the engine record plus the column markers, the way dice
// are moved, a switch that is only ever read, the speed of the dice and the
// score preview on the sheet, and the computer opponent of a new game.

#include "common/scene/COptions.h"
#include "game/rules/Duel.h"

class CGameOptions : public COptions {
public:
    // DiceSpeed: how fast the dice fall, roll, rise and settle.
    static constexpr int kDiceNormal = 0;
    static constexpr int kDiceFast = 1;

    void OnLoad() override;
    // Writes ShowColMarkers, DiceSpeed, ScorePreview and Opponent; DiceMoveMode and
    // File1LoadEnabled are never written.
    void OnSave() override;

    int GetDiceSpeed() const { return diceSpeed; }
    void SetDiceSpeed(int value) { diceSpeed = value == kDiceFast ? kDiceFast : kDiceNormal; }
    int GetScorePreview() const { return scorePreview; }
    void SetScorePreview(int value) { scorePreview = value ? 1 : 0; }
    // Opponent: Off (a solo game) or the level of the computer a new game is played against.
    OpponentLevel GetOpponent() const { return opponent; }
    // A stored number out of range is Off.
    void SetOpponent(int value);

private:
    int diceSpeed = kDiceNormal;
    int scorePreview = 1;
    OpponentLevel opponent = OpponentLevel::Off;
};

// The run's options as the game's record; null without one (a plain COptions).
CGameOptions* GameOptions();
// DiceSpeed of the run's options (Normal without any).
bool DiceFast();
// ScorePreview of the run's options (on without any).
bool ScorePreviewOn();
// Opponent of the run's options (Off without any).
OpponentLevel OpponentOption();
