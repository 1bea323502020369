#include "common/actors/CActorAnim.h"

#include <algorithm>
#include <cstdlib>

#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"

CActorAnim::CActorAnim(CScene* owner, int px, int py, int pz, CSpriteArray* sequence, const CAnimParams& record,
                       int kill, int stopEnd)
    : CActorSprite(owner, px, py, pz, sequence ? sequence->Get(0) : nullptr, 0), stopAtEnd(stopEnd) {
    ResetAnimation();
    SetAnimation(sequence, record, kill, 0);
}

CActorAnim::CActorAnim(CScene* owner, int px, int py, int pz, int kill, int stopEnd)
    : CActorSprite(owner, px, py, pz, 0), killAtEnd(kill), stopAtEnd(stopEnd) {
    ResetAnimation();
}

int CActorAnim::FrameTicksForRate(float rate) {
    const int n = static_cast<int>(rate * 256.0);
    return n != 0 ? 65536 / n : 0;
}

void CActorAnim::ResetAnimation() {
    firstPending = 1;
    frames = nullptr;
    speedLinked = stopped = backwards = pingPong = stopAtIndex = 0;
    index = stopIndex = 0;
    framesShown = 0;
    frameTicks = baseRate = speedFactor = 0;
}

void CActorAnim::SetAnimation(CSpriteArray* newFrames, const CAnimParams& newParams, int newKillAtEnd,
                              int keepPhase) {
    frames = newFrames;
    killAtEnd = newKillAtEnd;
    if (!keepPhase) framesShown = 0;
    SetParams(newParams, keepPhase);
    firstPending = 1;
}

void CActorAnim::SetParams(const CAnimParams& newParams, int keepPhase) {
    params = newParams;
    index = keepPhase ? index + params.startIndex : params.startIndex;
    frameTicks = FrameTicksForRate(params.rate);
    if (!keepPhase) countdown = frameTicks;
}

void CActorAnim::ShowIndex(int i) {
    SetSprite(frames->Get(i));
    index = i;
    countdown = frameTicks;
}

void CActorAnim::ShowStartFrame() {
    if (frames) ShowIndex(params.startIndex);
}

void CActorAnim::ShowFrame(int i) {
    if (frames && params.startIndex <= i && i < FrameCount()) ShowIndex(i);
}

void CActorAnim::SetSpeedLinked(int on, int rate, int factor) {
    speedLinked = on;
    baseRate = rate;
    speedFactor = factor;
    RecomputeRate();
}

int CActorAnim::FrameCount() const { return frames ? frames->GetCount() : 0; }

int CActorAnim::IsPastEnd(int i) const {
    if (!frames) return 1;
    return i == frames->GetCount() || i >= frames->GetCapacity() || frames->Get(i) == nullptr ? 1 : 0;
}

void CActorAnim::RecomputeRate() {
    if (!speedLinked) return;
    int rate = baseRate;
    if (moving) rate += static_cast<int>((static_cast<long long>(std::abs(vx)) * speedFactor) >> 8);
    frameTicks = rate != 0 ? 65536 / rate : 0;
    // A speed-up shows at once; a slow-down at the next change.
    if (countdown > frameTicks) countdown = frameTicks;
}

void CActorAnim::SetVelocity(int nvx, int nvy, int nvz) {
    CActorSprite::SetVelocity(nvx, nvy, nvz);
    RecomputeRate();
}

void CActorAnim::AddVelocity(int dvx, int dvy, int dvz) {
    CActorSprite::AddVelocity(dvx, dvy, dvz);
    RecomputeRate();
}

void CActorAnim::StopMoving() {
    moving = 0;
    if (speedLinked) frameTicks = baseRate != 0 ? 65536 / baseRate : 0;
}

void CActorAnim::StartMoving() {
    moving = 1;
    RecomputeRate();
}

int CActorAnim::IdleTicks() {
    const int still = CActorSprite::IdleTicks();
    if (stopped || !frames) return still;
    if (frameTicks <= 0) return 0;  // a frame each update
    return std::min(still, std::max(1, countdown));
}

void CActorAnim::Update(int ticks) {
    CActorSprite::Update(ticks);
    countdown -= ticks;
    if (countdown > 0) return;

    if (!stopped) {
        const int count = FrameCount();
        if (firstPending)
            firstPending = 0;
        else
            index += backwards ? -1 : 1;

        if (!backwards && IsPastEnd(index)) {
            if (killAtEnd) {
                Kill();
                index = -1;
                return;
            }
            if (pingPong) {
                index = count < 2 ? 0 : count - 2;
                backwards = 1;
            } else {
                index = 0;
            }
        }
        if (backwards && index == -1) {
            if (killAtEnd) {
                Kill();
                return;
            }
            if (pingPong) {
                backwards = 0;
                index = count == 1 ? 0 : 1;
            } else {
                index = count - 1;
            }
        }

        flip = params.flip;
        SetSprite(frames && index >= 0 && index < frames->GetCapacity() ? frames->Get(index) : nullptr);
        ++framesShown;

        if ((stopAtIndex && index == stopIndex) || (index == 0 && backwards && stopAtEnd))
            stopped = 1;
        else if (!backwards && stopAtEnd && !pingPong &&
                 (index + 1 == count || IsPastEnd(index) || (frames && index >= frames->GetCapacity())))
            stopped = 1;
    }

    countdown += frameTicks;
    if (countdown < 0) countdown = 0;
}
