#pragma once
// The score display of a status panel. Besides setting and adding it can add
// an amount gradually over several frames, add a one-off bonus, and run a
// timed count that adds a fixed amount per frame. Every change is reported to
// the panel, so that the panel can award extra lives.

#include "common/widgets/CNumber.h"

class CStatus;

class CScore : public CNumber {
public:
    static constexpr int kDefaultCountLength = 25;  // frames of a count
    static constexpr int kDefaultPerTick = 1000;    // added per frame of a count
    static constexpr int kBonusUnit = 10000;        // times the panel's bonus factor

    // panel may be null (nothing is reported then); the rest as CNumber,
    // always without frames.
    CScore(CStatus* panel, CScene* scene, int x, int y, int z, const CTextRecord& textRecord,
           const CButtonRecord& buttonRecord, int digits);

    ~CScore() override;                  // 0
    void Reset(int a, int b) override;   // 2: only ends the fast count
    void Refresh() override;             // 3: gradual add, bonus, count, then the label
    void Set(int value) override;        // 4: also gives the panel its bonus base

    // gradual set: amount is added over the next frames, step per frame
    // (nothing now). Otherwise added at once and the panel checks its bonus.
    void AddScore(int amount, int gradual, int step);
    // While the panel allows bonuses, the next Refresh adds one.
    void RequestBonus();
    // Counts for the panel's count length (25 frames without one).
    void StartCount();
    // The rest of a running count arrives at the next Refresh.
    void SetFastCount(int on) { fastCount = on; }
    void ClearFastCount() { fastCount = 0; }
    // 1 while a timed count still has frames to run.
    int IsCounting() const { return countPosition < countLength ? 1 : 0; }
    // Refresh has more to do in the next frame (a count, a gradual amount, a bonus).
    int IsBusy() const { return IsCounting() || !idle || pendingAmount != 0 || bonusRequested ? 1 : 0; }

    CStatus* panel = nullptr;  // borrowed
    int countPosition = 0;
    int countLength = 0;
    int perTickAmount = kDefaultPerTick;
    int gradualStep = 0;
    int idle = 1;
    int bonusRequested = 0;
    int fastCount = 0;
    // What a gradual add still has to bring; kept apart from the count's
    // per-frame amount, so a gradual add never changes a later count.
    int pendingAmount = 0;

private:
    void RunGradual();
    void RunCount();
};
