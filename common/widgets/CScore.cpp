#include "common/widgets/CScore.h"

#include "common/widgets/CStatus.h"

#include <algorithm>
#include <climits>

namespace {

// Amounts worked out wide are handed on within the int range.
int ToInt(long long amount) { return static_cast<int>(std::clamp<long long>(amount, INT_MIN, INT_MAX)); }

}  // namespace

CScore::CScore(CStatus* owner, CScene* scene, int px, int py, int pz, const CTextRecord& textRecord,
               const CButtonRecord& buttonRecord, int n)
    : CNumber(scene, px, py, pz, textRecord, buttonRecord, n, nullptr), panel(owner) {}

CScore::~CScore() = default;

void CScore::Reset(int, int) { fastCount = 0; }

void CScore::Set(int v) {
    CNumber::Set(v);
    // The bonus base follows the score as shown, not a value beyond the display.
    if (panel) panel->SetBonusBase(value);
}

void CScore::AddScore(int amount, int gradual, int step) {
    if (gradual) {
        pendingAmount = amount;
        gradualStep = step;
        return;
    }
    Add(amount);
    if (panel) panel->CheckScoreBonus(value);
}

void CScore::RequestBonus() {
    if (panel && panel->bonusAllowed) bonusRequested = 1;
}

void CScore::StartCount() {
    countLength = panel && panel->countFlag ? panel->countValue : kDefaultCountLength;
    countPosition = 0;
}

void CScore::RunGradual() {
    // Without a step the whole amount arrives at once rather than never.
    if (pendingAmount != 0 && gradualStep <= 0) {
        const int all = pendingAmount;
        pendingAmount = 0;
        AddScore(all, 0, 0);
        return;
    }
    if (pendingAmount > 0) {
        if (pendingAmount < gradualStep) {
            AddScore(pendingAmount, 0, 0);
            pendingAmount = 0;
        } else {
            AddScore(gradualStep, 0, 0);
            pendingAmount -= gradualStep;
        }
    }
    if (pendingAmount < 0) {
        AddScore(-gradualStep, 0, 0);
        pendingAmount += gradualStep;
    }
}

void CScore::RunCount() {
    if (countPosition < countLength) {
        if (fastCount) {
            AddScore(ToInt(static_cast<long long>(countLength - countPosition) * perTickAmount), 0, 0);
            countPosition = countLength;
        } else {
            AddScore(perTickAmount, 0, 0);
            ++countPosition;
        }
        idle = 0;
    }
    if (countPosition >= countLength && !idle) {
        idle = 1;
        if (panel) panel->OnCountFinished();
    }
}

void CScore::Refresh() {
    RunGradual();
    if (bonusRequested) {
        bonusRequested = 0;
        AddScore(ToInt(static_cast<long long>(panel ? panel->bonusFactor : 1) * kBonusUnit), 0, 0);
    }
    RunCount();
    CNumber::Refresh();
}
