#pragma once
// A sprite actor playing frames of a sprite array at a rate: forwards,
// backwards or back and forth, once or in a loop, optionally faster while the
// actor moves. Time left over at a frame change is carried into the next one.

#include <cstdint>

#include "common/actors/CActorSprite.h"

class CSpriteArray;

// The animation record: first frame, mirror flags set at each change, frames
// per second.
struct CAnimParams {
    int startIndex = 0;
    int flip = 0;
    float rate = 1.0f;
};

class CActorAnim : public CActorSprite {
public:
    // x, y, z absolute 24.8; shows the array's first frame and starts the animation.
    CActorAnim(CScene* scene, int x, int y, int z, CSpriteArray* frames, const CAnimParams& params, int killAtEnd,
               int stopAtEnd);
    // Without frames; SetAnimation starts one later.
    CActorAnim(CScene* scene, int x, int y, int z, int killAtEnd, int stopAtEnd);

    using CActorSprite::AddVelocity;
    using CActorSprite::SetVelocity;
    void Update(int ticks) override;
    int IdleTicks() override;
    void SetVelocity(int vx, int vy, int vz) override;
    void AddVelocity(int dvx, int dvy, int dvz) override;
    void StopMoving() override;
    void StartMoving() override;

    void ResetAnimation();
    // keepPhase carries on from the current index (plus the new start index)
    // and keeps the countdown and the count of frames shown.
    void SetAnimation(CSpriteArray* newFrames, const CAnimParams& newParams, int newKillAtEnd, int keepPhase);
    void SetParams(const CAnimParams& newParams, int keepPhase);
    void ShowStartFrame();
    void ShowFrame(int i);
    void SetPingPong(int on) { pingPong = on; }
    void SetStopAtIndex(int on, int indexToStop) {
        stopAtIndex = on;
        stopIndex = indexToStop;
    }
    // The rate follows the speed: baseRate (frames per second x 256) plus
    // |vx| x speedFactor / 256 while moving.
    void SetSpeedLinked(int on, int rate, int factor);

    // The frame count of the sequence: the array's loaded frames.
    int FrameCount() const;
    // An index is past the end at the count, at or beyond the capacity, or
    // on an empty entry.
    int IsPastEnd(int i) const;

    int countdown = 0;
    std::int16_t framesShown = 0;
    int backwards = 0;
    int index = 0;
    int stopIndex = 0;
    CSpriteArray* frames = nullptr;  // not owned
    CAnimParams params;
    int frameTicks = 0;
    int baseRate = 0;
    int speedFactor = 0;
    int firstPending = 1;
    int speedLinked = 0;
    int killAtEnd = 0;
    int pingPong = 0;
    int stopAtEnd = 0;
    int stopped = 0;
    int stopAtIndex = 0;

    // 65536 / trunc(rate x 256), or 0 when that is 0.
    static int FrameTicksForRate(float rate);

private:
    void RecomputeRate();
    void ShowIndex(int i);
};
