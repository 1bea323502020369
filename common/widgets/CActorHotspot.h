#pragma once
// An invisible clickable rectangle: a left-button press inside it acts exactly
// like pressing the key whose code is the hotspot's command id.

#include "common/actors/CActor.h"

class CActorHotspot : public CActor {
public:
    // rect in client pixels of the layout (before the scene's scroll); z in
    // 24.8 like every actor depth.
    CActorHotspot(CScene* scene, const CRect& rect, int z, int commandId);

    CSprite* GetSprite() override;
    void GetRefPoint(int& outX, int& outY) override;
    CFixPoint GetRefPoint() override;
    int OnMouse(const CMouseEvent& event) override;
    int WantsMouse(const CMouseEvent& event) override;
    void RecalcBounds() override;
    void Draw(const CRect& clip) override;

    void SetEnabled(int on) { enabled = on; }

    int enabled = 1;
    int commandId = 0;
};
