#pragma once
// The game's options: the engine record plus the column markers, the way dice
// are moved and a switch that is only ever read.

#include "common/scene/COptions.h"

class CGameOptions : public COptions {
public:
    void OnLoad() override;
    // Writes ShowColMarkers only; DiceMoveMode and File1LoadEnabled are never written.
    void OnSave() override;
};
