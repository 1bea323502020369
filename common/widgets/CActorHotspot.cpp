#include "common/widgets/CActorHotspot.h"

#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"

CActorHotspot::CActorHotspot(CScene* owner, const CRect& rect, int pz, int id)
    : CActor(owner, ToFixed(rect.left + (rect.right - rect.left) / 2), ToFixed(rect.top + (rect.bottom - rect.top) / 2),
             pz, kCollisionNone, kShapeRectangle),
      commandId(id) {
    const int shiftX = owner ? FromFixed(owner->originX) : 0;
    const int shiftY = owner ? FromFixed(owner->originY) : 0;
    bounds = CRect{rect.left - shiftX, rect.top - shiftY, rect.right - shiftX, rect.bottom - shiftY};
}

CSprite* CActorHotspot::GetSprite() { return nullptr; }

void CActorHotspot::GetRefPoint(int& outX, int& outY) {
    outX = x;
    outY = y;
}

CFixPoint CActorHotspot::GetRefPoint() { return CFixPoint(x, y); }

int CActorHotspot::WantsMouse(const CMouseEvent& event) {
    return enabled && event.type == MOUSE_LEFT_DOWN ? 1 : 0;
}

int CActorHotspot::OnMouse(const CMouseEvent& event) {
    if (!enabled || event.type != MOUSE_LEFT_DOWN) return 0;
    DeliverKeyDown(commandId);
    return 1;
}

void CActorHotspot::RecalcBounds() {}

void CActorHotspot::Draw(const CRect&) {}
