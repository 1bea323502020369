#include "common/actors/CActor.h"

#include <algorithm>
#include <cstdlib>

#include "common/scene/CCollisionMgr.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"

namespace {
// v x ticks / 256 with an arithmetic shift, without overflowing on the way.
int Advance(int velocity, int ticks) {
    return static_cast<int>((static_cast<long long>(velocity) * ticks) >> 8);
}
}  // namespace

CActor::CActor(CScene* owner, int px, int py, int pz, int kind, int shape)
    : scene(owner), x(px), y(py), z(pz), collisionKind(kind), collisionShape(shape) {
    if (scene) {
        x -= scene->originX;
        y -= scene->originY;
        scene->AddActor(this);
        // A new actor is something new to draw (its bounds come with its picture).
        scene->Invalidate(nullptr);
    }
}

CActor::~CActor() {
    if (companionOwner) companionOwner->RemoveCompanion(this);
    // Companions go with their owner, but the scene frees them: a scene that
    // deletes actors in list order would otherwise meet them freed already.
    const std::vector<CActor*> orphans = std::move(companions);
    for (CActor* companion : orphans) {
        companion->companionOwner = nullptr;
        if (!companion->dead) companion->Kill();
    }
    HideActor();
    ReleaseCaptureOf(this);
    if (scene) scene->RemoveActor(this);
}

void CActor::Kill() {
    dead = 1;
    collisionKind = kCollisionNone;
    // A copy: a companion's Kill may hand itself back.
    const std::vector<CActor*> going = companions;
    for (CActor* companion : going)
        if (!companion->dead) companion->Kill();
}

void CActor::AddCompanion(CActor* companion) {
    if (!companion || companion == this || companion->scene != scene) return;
    for (CActor* owner = companionOwner; owner; owner = owner->companionOwner)
        if (owner == companion) return;  // a ring of owners would never be let go
    if (companion->companionOwner == this) return;
    if (companion->companionOwner) companion->companionOwner->RemoveCompanion(companion);
    companions.push_back(companion);
    companion->companionOwner = this;
}

void CActor::RemoveCompanion(CActor* companion) {
    const auto found = std::find(companions.begin(), companions.end(), companion);
    if (found == companions.end()) return;
    companions.erase(found);
    companion->companionOwner = nullptr;
}

void CActor::Show() {
    if (hidden) {
        hidden = 0;
        InvalidateBounds();
    }
}

void CActor::Hide() { HideActor(); }

void CActor::HideActor() {
    if (blinking) {
        blinking = 0;
        hidden = 1;
        InvalidateBounds();
    } else if (!hidden) {
        hidden = 1;
        InvalidateBounds();
    }
}

void CActor::ToggleVisible() {
    hidden = !hidden;
    InvalidateBounds();
}

void CActor::Blink(int count, int shownTicks, int hiddenTicks) {
    blinking = 1;
    blinkChanges = count * 2;
    shownPeriod = shownCountdown = shownTicks;
    hiddenPeriod = hiddenCountdown = hiddenTicks;
}

void CActor::StopBlink() { blinking = 0; }

CSprite* CActor::GetSprite() { return nullptr; }

int CActor::AcceptsCollision(CActor*) { return 0; }

int CActor::CollidesWith(CActor* other) { return ShapesTouch(this, other); }

void CActor::PostUpdate() {}

void CActor::OnCollision(CActor*) {}

void CActor::SpareHook(int) {}

void CActor::ResetEffects(int, int) {
    movingToTarget = 0;
    blinkChanges = 0;
    shownPeriod = 0;
    shownCountdown = 256;
    hiddenPeriod = 0;
    hiddenCountdown = 256;
    targetX = 0;
    targetY = 0;
    effectReserved = 0;
}

void CActor::GetRefPoint(int& outX, int& outY) {
    outX = ToFixed(bounds.left) + (bounds.right - bounds.left) * 128;
    outY = ToFixed(bounds.top) + (bounds.bottom - bounds.top) * 128;
}

CFixPoint CActor::GetRefPoint() {
    int px = 0, py = 0;
    GetRefPoint(px, py);
    return CFixPoint(px, py);
}

void CActor::GetCenterX(int& outX) {
    int unused = 0;
    GetRefPoint(outX, unused);
}

void CActor::GetCenterY(int& outY) {
    int unused = 0;
    GetRefPoint(unused, outY);
}

void CActor::SetPropertyB(int value) { propertyB = value; }

void CActor::SetPropertyA(int value) { propertyA = value; }

void CActor::GetCenter(int& outX, int& outY) {
    outX = ToFixed(bounds.left) + (bounds.right - bounds.left) * 128;
    outY = ToFixed(bounds.top) + (bounds.bottom - bounds.top) * 128;
}

void CActor::GetCenterXAlt(int& outX) { GetCenterX(outX); }

void CActor::GetCenterYAlt(int& outY) { GetCenterY(outY); }

int CActor::AbsoluteX() const { return x + (scene ? scene->originX : 0); }

int CActor::AbsoluteY() const { return y + (scene ? scene->originY : 0); }

void CActor::SetRefPos(int px, int py) {
    int refX = 0, refY = 0;
    GetRefPoint(refX, refY);
    SetPos(px + AbsoluteX() - refX, py + AbsoluteY() - refY, z);
}

void CActor::SetRefX(int px) {
    int refX = 0, refY = 0;
    GetRefPoint(refX, refY);
    SetX(px + AbsoluteX() - refX);
}

void CActor::SetRefY(int py) {
    int refX = 0, refY = 0;
    GetRefPoint(refX, refY);
    SetY(py + AbsoluteY() - refY);
}

void CActor::CountBlinkChange() {
    if (blinkChanges > 0 && --blinkChanges == 0) blinking = 0;
}

int CActor::IdleTicks() {
    if ((moving && (vx != 0 || vy != 0 || vz != 0)) || movingToTarget) return 0;
    const int blinkLeft = hidden ? hiddenCountdown : shownCountdown;
    if (blinking && blinkLeft > 0) return blinkLeft;
    return kIdleForever;
}

void CActor::Update(int ticks) {
    if (moving) MoveBy(Advance(vx, ticks), Advance(vy, ticks), Advance(vz, ticks));

    if (movingToTarget) {
        const int px = AbsoluteX();
        const int py = AbsoluteY();
        if ((vx < 0 && px <= targetX + ToFixed(1)) || (vx > 0 && px >= targetX - ToFixed(1))) vx = 0;
        if ((vy < 0 && py <= targetY + ToFixed(1)) || (vy > 0 && py >= targetY - ToFixed(1))) vy = 0;
        if (vx == 0 && vy == 0) {
            SetXY(targetX, targetY);
            movingToTarget = 0;
        }
    }

    // Blinking flips the flag directly; each flip is a change to draw.
    if (blinking) {
        if (hidden) {
            if (hiddenCountdown > 0) {
                hiddenCountdown -= ticks;
                if (hiddenCountdown <= 0) {
                    hidden = 0;
                    InvalidateBounds();
                    CountBlinkChange();
                    hiddenCountdown = hiddenPeriod;
                }
            }
        } else if (shownCountdown > 0) {
            shownCountdown -= ticks;
            if (shownCountdown <= 0) {
                hidden = 1;
                InvalidateBounds();
                CountBlinkChange();
                shownCountdown = shownPeriod;
            }
        }
    }
}

int CActor::ClipDX(int& dx) {
    if (!mayLeaveLeft && dx <= 0 && bounds.left + FromFixed(dx) < 0) {
        dx = ToFixed(-bounds.left);
        return dx < 0 ? 1 : 0;
    }
    if (!mayLeaveRight && dx >= 0 && scene && bounds.right + FromFixed(dx) > scene->viewport.right) {
        dx = ToFixed(scene->viewport.right - bounds.right);
        return dx > 0 ? 1 : 0;
    }
    return 1;
}

int CActor::ClipDY(int& dy) {
    if (!mayLeaveTop && dy <= 0 && bounds.top + FromFixed(dy) < 0) {
        dy = ToFixed(-bounds.top);
        return dy < 0 ? 1 : 0;
    }
    if (!mayLeaveBottom && dy >= 0 && scene && bounds.bottom + FromFixed(dy) > scene->viewport.bottom) {
        dy = ToFixed(scene->viewport.bottom - bounds.bottom);
        return dy > 0 ? 1 : 0;
    }
    return 1;
}

void CActor::MoveBy(int dx, int dy, int dz) {
    int changed = 0;
    if (dz != 0) {
        z += dz;
        if (scene && scene->Resort(this)) changed = 1;
        if (redrawOnDepth) changed = 1;
    }
    const int oldX = x;
    const int oldY = y;
    if (ClipDX(dx)) x += dx;
    if (ClipDY(dy)) y += dy;
    if (killWhenOutside && IsOutsideViewport()) Kill();
    if (changed || x != oldX || y != oldY)
        UpdateBounds();
    else if (dz != 0 && !hidden)
        InvalidateBounds();  // a depth of 0 or less is not drawn
}

void CActor::SetPos(int px, int py, int pz) {
    const int ox = scene ? scene->originX : 0;
    const int oy = scene ? scene->originY : 0;
    MoveBy(px - ox - x, py - oy - y, pz - z);
}

void CActor::SetXY(int px, int py) { SetPos(px, py, z); }

void CActor::MoveTo(int px, int py, int speed) {
    targetX = px;
    targetY = py;
    const long long dx = static_cast<long long>(px) - AbsoluteX();
    const long long dy = static_cast<long long>(py) - AbsoluteY();
    if (dx == 0) {
        vy = dy > 0 ? speed : -speed;
    } else if (std::llabs(dx) > std::llabs(dy)) {
        vx = dx > 0 ? speed : -speed;
        const long long slope = (dy * 256) / dx;
        vy = static_cast<int>((vx * slope) >> 8);
    } else {
        vy = dy > 0 ? speed : -speed;
        const long long slope = (dx * 256) / dy;
        vx = static_cast<int>((vy * slope) >> 8);
    }
    movingToTarget = 1;
}

void CActor::SetX(int px) { SetPos(px, AbsoluteY(), z); }

void CActor::SetY(int py) { SetPos(AbsoluteX(), py, z); }

void CActor::SetZ(int pz) { MoveBy(0, 0, pz - z); }

void CActor::SetVelocity(int nvx, int nvy, int nvz) {
    vx = nvx;
    vy = nvy;
    vz = nvz;
}

void CActor::SetVelocity(const CVelocity& v) { SetVelocity(v.x, v.y, v.z); }

void CActor::SetVelocityX(int nvx) { SetVelocity(nvx, vy, 0); }

void CActor::SetVelocityY(int nvy) { SetVelocity(vx, nvy, 0); }

void CActor::SetVelocityZ(int nvz) { SetVelocity(vx, vy, nvz); }

void CActor::AddVelocity(int dvx, int dvy, int dvz) {
    vx += dvx;
    vy += dvy;
    vz += dvz;
}

void CActor::AddVelocity(const CVelocity& dv) { AddVelocity(dv.x, dv.y, dv.z); }

void CActor::AddVelocityX(int dvx) { AddVelocity(dvx, 0, 0); }

void CActor::AddVelocityY(int dvy) { AddVelocity(0, dvy, 0); }

void CActor::AddVelocityZ(int dvz) { AddVelocity(0, 0, dvz); }

void CActor::StopMoving() { moving = 0; }

void CActor::StartMoving() { moving = 1; }

int CActor::OnMouse(const CMouseEvent&) { return 0; }

int CActor::WantsMouse(const CMouseEvent&) { return 0; }

void CActor::ScrollBy(int dx, int dy) {
    if (fixed) return;
    x -= dx;
    y -= dy;
    UpdateBounds();
}

void CActor::InvalidateBounds() {
    if (scene) scene->Invalidate(&bounds);
}

void CActor::UpdateBounds() {
    if (!hidden) InvalidateBounds();
    RecalcBounds();
    if (!hidden) InvalidateBounds();
}

int CActor::IsOutsideViewport() const {
    if (!scene) return 0;
    return bounds.left > scene->viewport.right || bounds.top > scene->viewport.bottom || bounds.right < 0 ||
                   bounds.bottom < 0
               ? 1
               : 0;
}

int CActor::GetRadius() const {
    return ((bounds.right - bounds.left) + (bounds.bottom - bounds.top)) * 64 - 64;
}
