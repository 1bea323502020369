#include "game/rules/CGameOptions.h"

void CGameOptions::OnLoad() {
    if (!HasStore()) return;
    diceMoveMode = ReadInt("DiceMoveMode", 0);
    showColMarkers = ReadInt("ShowColMarkers", 1);
    file1LoadEnabled = ReadInt("File1LoadEnabled", 0);
}

void CGameOptions::OnSave() {
    if (!HasStore()) return;
    WriteInt("ShowColMarkers", showColMarkers);
}
