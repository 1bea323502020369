#include "game/rules/CGameOptions.h"

#include "common/scene/CScreen.h"

void CGameOptions::OnLoad() {
    if (!HasStore()) return;
    diceMoveMode = ReadInt("DiceMoveMode", 0);
    showColMarkers = ReadInt("ShowColMarkers", 1);
    file1LoadEnabled = ReadInt("File1LoadEnabled", 0);
    SetDiceSpeed(ReadInt("DiceSpeed", kDiceNormal));
    SetScorePreview(ReadInt("ScorePreview", 1));
}

void CGameOptions::OnSave() {
    if (!HasStore()) return;
    WriteInt("ShowColMarkers", showColMarkers);
    WriteInt("DiceSpeed", diceSpeed);
    WriteInt("ScorePreview", scorePreview);
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
