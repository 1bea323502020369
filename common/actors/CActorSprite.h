#pragma once
// An actor showing one sprite frame at its anchor, mirrored by its flip
// flags, with bounds taken from the frame's size and offset.

#include "common/actors/CActor.h"

class CActorSprite : public CActor {
public:
    // x, y, z absolute 24.8. A non-zero spriteFlag makes every change of depth
    // count as a change of the bounds.
    CActorSprite(CScene* scene, int x, int y, int z, CSprite* frame, int spriteFlag);
    // Without a frame: nothing drawn, bounds left at zero.
    CActorSprite(CScene* scene, int x, int y, int z, int spriteFlag);

    CSprite* GetSprite() override;                     // 6
    void GetRefPoint(int& outX, int& outY) override;   // 13
    CFixPoint GetRefPoint() override;                  // 14
    void RecalcBounds() override;                      // 49
    void Draw(const CRect& clip) override;             // 52
    // Per-draw renderer state; nothing is needed for screen-space sprites.
    virtual void PrepareDraw();                        // 53

    // Stores the frame and recomputes the bounds (a null frame keeps them).
    void SetSprite(CSprite* newFrame);

    CSprite* frame = nullptr;  // not owned
    int spriteFlag = 0;
};
