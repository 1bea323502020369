#pragma once
// The base of everything that lives in a scene: a position in 24.8 fixed point
// relative to the scene's scroll origin, a depth (lower is nearer), a velocity,
// pixel bounds, visibility with blinking, straight moves to a target, and the
// hooks of mouse routing and collisions. An actor belongs to one scene for its
// whole life; during a frame it is ended with Kill and the scene deletes it.
// An actor may own companions (other actors of its scene that go with it, such
// as a frame or a glow drawn over it): they are still deleted by the scene like
// every actor, never by their owner, so the scene may free them in any order.

#include <cstdint>
#include <vector>

#include "common/scene/CFixPoint.h"
#include "common/scene/CMouseEvent.h"
#include "common/scene/CRect.h"

class CScene;
class CSprite;

// A velocity (or any three components) in pixels per second x 256.
struct CVelocity {
    int x = 0;
    int y = 0;
    int z = 0;
};

// Collision kinds and shapes.
constexpr int kCollisionActive = 0;
constexpr int kCollisionPassive = 1;
constexpr int kCollisionNone = 2;
constexpr int kShapeCircle = 0;
constexpr int kShapeRectangle = 1;
constexpr int kShapeMask = 2;

// Mirror flags of the flip field.
constexpr int kFlipHorizontal = 1;
constexpr int kFlipVertical = 16;

// Actors at this depth or deeper are drawn but never hit by the mouse.
constexpr int kNoHitDepth = ToFixed(10000);

// IdleTicks of something that changes nothing until it is told to.
constexpr int kIdleForever = 0x7FFFFFFF;

class CActor {
public:
    // x, y and z are absolute 24.8 values; the scene origin is taken off x and y.
    CActor(CScene* scene, int x, int y, int z, int collisionKind, int collisionShape);
    CActor(const CActor&) = delete;
    CActor& operator=(const CActor&) = delete;

    // Virtual operations in slot order.
    virtual void Kill();                                             // 0
    virtual void Show();                                             // 1
    virtual void Hide();                                             // 2
    virtual void ToggleVisible();                                    // 3
    virtual void Blink(int count, int shownTicks, int hiddenTicks);  // 4
    virtual void StopBlink();                                        // 5
    virtual CSprite* GetSprite();                                    // 6
    virtual int AcceptsCollision(CActor* other);                     // 7
    virtual int CollidesWith(CActor* other);                         // 8
    virtual void PostUpdate();                                       // 9
    virtual void OnCollision(CActor* other);                         // 10
    virtual void SpareHook(int value);                               // 11
    virtual void ResetEffects(int a, int b);                         // 12
    virtual void GetRefPoint(int& outX, int& outY);                  // 13
    virtual CFixPoint GetRefPoint();                                 // 14
    virtual void GetCenterX(int& outX);                              // 15
    virtual void GetCenterY(int& outY);                              // 16
    virtual void SetPropertyB(int value);                            // 17
    virtual void SetPropertyA(int value);                            // 18
    virtual void GetCenter(int& outX, int& outY);                    // 19
    // Slots 20 and 21 repeat 15 and 16 under the same name in the original;
    // C++ cannot hold two slots of one signature, hence the suffix.
    virtual void GetCenterXAlt(int& outX);                           // 20
    virtual void GetCenterYAlt(int& outY);                           // 21
    virtual void SetRefPos(int x, int y);                            // 22
    virtual void SetRefX(int x);                                     // 23
    virtual void SetRefY(int y);                                     // 24
    virtual void Update(int ticks);                                  // 25
    virtual int ClipDX(int& dx);                                     // 26
    virtual int ClipDY(int& dy);                                     // 27
    virtual void MoveBy(int dx, int dy, int dz);                     // 28
    virtual void SetPos(int x, int y, int z);                        // 29
    virtual void SetXY(int x, int y);                                // 30
    virtual void MoveTo(int x, int y, int speed);                    // 31
    virtual void SetX(int x);                                        // 32
    virtual void SetY(int y);                                        // 33
    virtual void SetZ(int z);                                        // 34
    virtual void SetVelocity(int vx, int vy, int vz);                // 35
    virtual void SetVelocity(const CVelocity& v);                    // 36
    virtual void SetVelocityX(int vx);                               // 37
    virtual void SetVelocityY(int vy);                               // 38
    virtual void SetVelocityZ(int vz);                               // 39
    virtual void AddVelocity(int dvx, int dvy, int dvz);             // 40
    virtual void AddVelocity(const CVelocity& dv);                   // 41
    virtual void AddVelocityX(int dvx);                              // 42
    virtual void AddVelocityY(int dvy);                              // 43
    virtual void AddVelocityZ(int dvz);                              // 44
    virtual void StopMoving();                                       // 45
    virtual void StartMoving();                                      // 46
    virtual int OnMouse(const CMouseEvent& event);                   // 47
    virtual int WantsMouse(const CMouseEvent& event);                // 48
    virtual void RecalcBounds() = 0;                                 // 49
    virtual ~CActor();                                               // 50
    virtual void ScrollBy(int dx, int dy);                           // 51
    virtual void Draw(const CRect& clip) = 0;                        // 52
    // The ticks of its scene's clock for which Update leaves this actor (and
    // what others read of it) as it is: 0 when it may change in any frame,
    // kIdleForever when nothing in it is timed. The loop sleeps that long
    // when every actor and scene is idle; a kind whose Update does more
    // than move and blink says so here.
    virtual int IdleTicks();

    // Unless hidden, invalidates the old bounds, recomputes them, and unless
    // hidden invalidates the new ones.
    void UpdateBounds();
    int IsOutsideViewport() const;
    // (width + height) x 64 in 24.8, less a quarter pixel.
    int GetRadius() const;
    // The absolute position (stored position plus the scene origin), 24.8.
    int AbsoluteX() const;
    int AbsoluteY() const;

    // The companion now belongs to this actor: killing this actor kills it too,
    // and deleting this actor kills it (the scene then deletes it). The owner
    // never deletes a companion itself. A companion deleted first is forgotten
    // by its owner. A companion of another owner changes owner; null, the actor
    // itself, an actor of another scene or one of this actor's own owners is
    // refused. Adding a companion twice keeps it once.
    void AddCompanion(CActor* companion);
    // Hands a companion back: it no longer goes with this actor.
    void RemoveCompanion(CActor* companion);
    CActor* GetCompanionOwner() const { return companionOwner; }
    const std::vector<CActor*>& GetCompanions() const { return companions; }

    CActor* previous = nullptr;
    CActor* next = nullptr;
    CScene* scene = nullptr;
    int x = 0;  // 24.8, relative to the scene origin
    int y = 0;
    int z = 0;  // depth, 24.8
    int vx = 0;
    int vy = 0;
    int vz = 0;
    CRect bounds{0, 0, 0, 0};
    std::int16_t reserved16 = -1;
    int reservedA = 0;
    void* reservedPointer = nullptr;
    int collisionKind = kCollisionNone;
    int collisionShape = kShapeRectangle;
    int dead = 0;
    int effectReserved = 0;
    int hidden = 0;
    int fixed = 0;
    int updated = 0;
    int moving = 0;
    int redrawOnDepth = 0;
    int killWhenOutside = 0;
    int drawn = 0;
    int reservedB = 0;
    int blinking = 0;
    int movingToTarget = 0;
    int mayLeaveLeft = 1;
    int mayLeaveTop = 1;
    int mayLeaveRight = 1;
    int mayLeaveBottom = 1;
    int blinkChanges = 0;
    int shownPeriod = 0;
    int shownCountdown = 256;
    int hiddenPeriod = 0;
    int hiddenCountdown = 256;
    int targetX = 0;  // absolute, 24.8
    int targetY = 0;
    int flip = 0;
    int propertyA = 10;
    int propertyB = 0;

protected:
    // The common part of Hide, also used by the destructor (where the virtual
    // would no longer reach a derived override).
    void HideActor();
    void InvalidateBounds();
    // One blink visibility change has happened: counts it and ends a finite blink.
    void CountBlinkChange();

private:
    std::vector<CActor*> companions;    // not owned: the scene deletes them
    CActor* companionOwner = nullptr;  // the actor this one goes with
};
