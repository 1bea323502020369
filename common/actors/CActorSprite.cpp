#include "common/actors/CActorSprite.h"

#include "common/scene/CScene.h"
#include "common/actors/CSprite.h"

CActorSprite::CActorSprite(CScene* owner, int px, int py, int pz, CSprite* picture, int flag)
    : CActor(owner, px, py, pz, kCollisionNone, kShapeRectangle), frame(picture), spriteFlag(flag) {
    redrawOnDepth = spriteFlag != 0 ? 1 : 0;
    RecalcBounds();
    if (!hidden) InvalidateBounds();
}

CActorSprite::CActorSprite(CScene* owner, int px, int py, int pz, int flag)
    : CActor(owner, px, py, pz, kCollisionNone, kShapeRectangle), spriteFlag(flag) {
    redrawOnDepth = spriteFlag != 0 ? 1 : 0;
}

CSprite* CActorSprite::GetSprite() { return frame; }

void CActorSprite::GetRefPoint(int& outX, int& outY) {
    if (!frame) {
        CActor::GetRefPoint(outX, outY);
        return;
    }
    const int ox = scene ? scene->originX : 0;
    const int oy = scene ? scene->originY : 0;
    if (flip & kFlipHorizontal)
        outX = x + ox - frame->w * 128 - ToFixed(frame->ox);
    else
        outX = x + ox + frame->w * 128 + ToFixed(frame->ox);
    if (flip & kFlipVertical)
        outY = y + oy - frame->h * 128 - ToFixed(frame->oy);
    else
        outY = y + oy + frame->h * 128 + ToFixed(frame->oy);
}

CFixPoint CActorSprite::GetRefPoint() {
    int px = 0, py = 0;
    GetRefPoint(px, py);
    return CFixPoint(px, py);
}

void CActorSprite::RecalcBounds() {
    if (!frame) return;
    if (flip & kFlipHorizontal)
        bounds.left = FromFixed(x) - frame->w - frame->ox;
    else
        bounds.left = FromFixed(x) + frame->ox;
    bounds.right = bounds.left + frame->w;
    if (flip & kFlipVertical)
        bounds.top = FromFixed(y) - frame->h - frame->oy;
    else
        bounds.top = FromFixed(y) + frame->oy;
    bounds.bottom = bounds.top + frame->h;
}

void CActorSprite::Draw(const CRect& clip) {
    if (!frame) return;
    PrepareDraw();
    CRect source{clip.left - bounds.left, clip.top - bounds.top, clip.right - bounds.left,
                 clip.bottom - bounds.top};
    // The drawer takes the source in the picture's own (unmirrored) space, so a
    // clipped mirrored sprite shows the part the clip leaves on screen.
    if (flip & kFlipHorizontal) {
        source.left = bounds.right - clip.right;
        source.right = bounds.right - clip.left;
    }
    if (flip & kFlipVertical) {
        source.top = bounds.bottom - clip.bottom;
        source.bottom = bounds.bottom - clip.top;
    }
    frame->DrawFrame(&clip, &source, flip);
}

void CActorSprite::PrepareDraw() {}

void CActorSprite::SetSprite(CSprite* newFrame) {
    frame = newFrame;
    UpdateBounds();
}
