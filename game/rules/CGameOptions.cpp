#include "game/rules/CGameOptions.h"

#include "common/scene/CScreen.h"

void CGameOptions::OnLoad() {
    if (!HasStore()) return;
    diceMoveMode = ReadInt("DiceMoveMode", 0);
    showColMarkers = ReadInt("ShowColMarkers", 1);
    file1LoadEnabled = ReadInt("File1LoadEnabled", 0);
    SetDiceSpeed(ReadInt("DiceSpeed", kDiceNormal));
    SetScorePreview(ReadInt("ScorePreview", 1));
    SetOpponent(ReadInt("Opponent", 0));
}

void CGameOptions::OnSave() {
    if (!HasStore()) return;
    WriteInt("ShowColMarkers", showColMarkers);
    WriteInt("DiceSpeed", diceSpeed);
    WriteInt("ScorePreview", scorePreview);
    WriteInt("Opponent", static_cast<int>(opponent));
}

void CGameOptions::SetOpponent(int value) {
    const bool known = value >= static_cast<int>(OpponentLevel::Off) && value <= static_cast<int>(OpponentLevel::Hard);
    opponent = known ? static_cast<OpponentLevel>(value) : OpponentLevel::Off;
}

CGameOptions* GameOptions() { return dynamic_cast<CGameOptions*>(CScreen::Options()); }

bool DiceFast() {
    const CGameOptions* options = GameOptions();
    return options && options->GetDiceSpeed() == CGameOptions::kDiceFast;
}

bool ScorePreviewOn() {
    const CGameOptions* options = GameOptions();
    return !options || options->GetScorePreview() != 0;
}

OpponentLevel OpponentOption() {
    const CGameOptions* options = GameOptions();
    return options ? options->GetOpponent() : OpponentLevel::Off;
}
