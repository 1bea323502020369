#include "common/scene/CCollisionMgr.h"

#include <algorithm>
#include <cmath>

#include "common/actors/CActor.h"
#include "common/scene/CScene.h"
#include "common/actors/CSprite.h"

CCollisionMgr::CCollisionMgr(CScene* owner, int walkOrder) : order(walkOrder), scene(owner) {}

CActor* CCollisionMgr::Start() const { return order ? scene->FirstActor() : scene->LastActor(); }

CActor* CCollisionMgr::Step(const CActor* actor) const { return order ? actor->next : actor->previous; }

int CCollisionMgr::KindsPair(const CActor* a, const CActor* b) {
    if (a->collisionKind == kCollisionActive)
        return b->collisionKind == kCollisionActive || b->collisionKind == kCollisionPassive ? 1 : 0;
    if (a->collisionKind == kCollisionPassive) return b->collisionKind == kCollisionActive ? 1 : 0;
    return 0;
}

void CCollisionMgr::RunCollisions() {
    if (!scene || drawnCount < 2) return;
    for (CActor* a = Start(); a; a = Step(a)) {
        if (a->collisionKind == kCollisionNone || !a->drawn) continue;
        for (CActor* b = Step(a); b; b = Step(b)) {
            if (!b->drawn || !KindsPair(a, b)) continue;
            int touching = 0;
            if (a->AcceptsCollision(b))
                touching = a->CollidesWith(b);
            else if (b->AcceptsCollision(a))
                touching = b->CollidesWith(a);
            if (touching) {
                a->OnCollision(b);
                b->OnCollision(a);
            }
        }
    }
}

namespace {

struct PointD {
    double x;
    double y;
};

PointD BoundsCentre(const CActor* actor) {
    return PointD{(actor->bounds.left + actor->bounds.right) / 2.0, (actor->bounds.top + actor->bounds.bottom) / 2.0};
}

double DistanceTo(PointD a, double x, double y) { return std::hypot(a.x - x, a.y - y); }

// A circle (its actor's bounds) against a rectangle: a midpoint of one of the
// circle's bounding edges inside the rectangle, or a corner of the rectangle
// strictly inside the circle.
int CircleTouchesRect(const CActor* circle, const CRect& rect) {
    const CRect& c = circle->bounds;
    const double midX = (c.left + c.right) / 2.0, midY = (c.top + c.bottom) / 2.0;
    const PointD mids[4] = {{static_cast<double>(c.left), midY},
                            {static_cast<double>(c.right - 1), midY},
                            {midX, static_cast<double>(c.top)},
                            {midX, static_cast<double>(c.bottom - 1)}};
    for (const PointD& p : mids)
        if (p.x >= rect.left && p.x < rect.right && p.y >= rect.top && p.y < rect.bottom) return 1;
    const double radius = circle->GetRadius() / 256.0;
    const PointD centre{midX, midY};
    const double corners[4][2] = {{static_cast<double>(rect.left), static_cast<double>(rect.top)},
                                  {static_cast<double>(rect.right), static_cast<double>(rect.top)},
                                  {static_cast<double>(rect.right), static_cast<double>(rect.bottom)},
                                  {static_cast<double>(rect.left), static_cast<double>(rect.bottom)}};
    for (const auto& corner : corners)
        if (DistanceTo(centre, corner[0], corner[1]) < radius) return 1;
    return 0;
}

// Whether the actor's picture is opaque at screen pixel (x, y), read through
// its mirrors as it is drawn.
bool OpaqueAt(CActor* actor, CSprite* frame, int x, int y) {
    const int flipH = (actor->flip & kFlipHorizontal) ? 1 : 0;
    const int flipV = (actor->flip & kFlipVertical) ? 1 : 0;
    return !frame->IsTransparentAt(x - actor->bounds.left, y - actor->bounds.top, flipV, flipH);
}

int MaskTouchesRect(CActor* mask, const CRect& other) {
    CSprite* frame = mask->GetSprite();
    if (!frame || !frame->texture) return 0;
    const CRect area = IntersectRect(mask->bounds, other);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (OpaqueAt(mask, frame, x, y)) return 1;
    return 0;
}

int MaskTouchesCircle(CActor* mask, CActor* circle) {
    CSprite* frame = mask->GetSprite();
    if (!frame || !frame->texture) return 0;
    const CRect area = IntersectRect(mask->bounds, circle->bounds);
    const PointD centre = BoundsCentre(circle);
    const double radius = (circle->GetRadius() + 64) / 256.0;  // without the margin
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (DistanceTo(centre, x, y) <= radius && OpaqueAt(mask, frame, x, y)) return 1;
    return 0;
}

int MasksTouch(CActor* a, CActor* b) {
    CSprite* fa = a->GetSprite();
    CSprite* fb = b->GetSprite();
    if (!fa || !fb || !fa->texture || !fb->texture) return 0;
    const CRect area = IntersectRect(a->bounds, b->bounds);
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (OpaqueAt(a, fa, x, y) && OpaqueAt(b, fb, x, y)) return 1;
    return 0;
}

}  // namespace

int ShapesTouch(CActor* a, CActor* b) {
    const int sa = a->collisionShape, sb = b->collisionShape;
    if (sa == kShapeRectangle && sb == kShapeRectangle) return IsRectEmpty(IntersectRect(a->bounds, b->bounds)) ? 0 : 1;
    if (sa == kShapeCircle && sb == kShapeCircle)
        return a->GetRefPoint().Distance(b->GetRefPoint()) < a->GetRadius() + b->GetRadius() ? 1 : 0;
    if (sa == kShapeCircle && sb == kShapeRectangle) return CircleTouchesRect(a, b->bounds);
    if (sa == kShapeRectangle && sb == kShapeCircle) return CircleTouchesRect(b, a->bounds);
    if (sa == kShapeMask && sb == kShapeRectangle) return MaskTouchesRect(a, b->bounds);
    if (sa == kShapeRectangle && sb == kShapeMask) return MaskTouchesRect(b, a->bounds);
    if (sa == kShapeMask && sb == kShapeCircle) return MaskTouchesCircle(a, b);
    if (sa == kShapeCircle && sb == kShapeMask) return MaskTouchesCircle(b, a);
    if (sa == kShapeMask && sb == kShapeMask) return MasksTouch(a, b);
    return 0;
}
