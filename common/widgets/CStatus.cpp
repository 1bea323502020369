#include "common/widgets/CStatus.h"

#include <algorithm>
#include <cstdint>

#include "common/actors/CActor.h"
#include "common/widgets/CActorSlider.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/CGame.h"
#include "common/widgets/CNumber.h"
#include "common/widgets/CScore.h"

CStatus::CStatus(CGame* game) : owner(game) {
    winnerShown = 0;
    noWinnerShown = 0;
    bonusAllowed = 1;
    spareFlag = 1;
    ClearTables();
    for (int p = 0; p < kMaxPlayers; ++p) {
        playerFlag1[p] = 0;
        playerFlag2[p] = 0;
        playerFlag3[p] = 1;
    }
}

CStatus::~CStatus() = default;

int CStatus::OwnerPlayers() const { return owner ? owner->players : 0; }

int CStatus::OwnerCurrentPlayer() const { return owner ? owner->currentPlayer : 0; }

void CStatus::ClearTables() {
    for (int i = 0; i < kTableRows * kTableItems; ++i) {
        firstTable[i] = kTableEmpty;
        secondTable[i] = kTableEmpty;
    }
    if (pScore) pScore->Set(0);
}

static bool ValidEntry(int player, int item) {
    return player >= 0 && player < CStatus::kTableRows && item >= 0 && item < CStatus::kTableItems;
}

void CStatus::SetTableEntry(int player, int item, int value) {
    if (ValidEntry(player, item)) firstTable[player * kTableItems + item] = value;
}

void CStatus::ClearTableEntry(int player, int item) {
    if (ValidEntry(player, item)) firstTable[player * kTableItems + item] = kTableEmpty;
}

int CStatus::GetTableEntry(int player, int item) const {
    return ValidEntry(player, item) ? firstTable[player * kTableItems + item] : kTableEmpty;
}

void CStatus::ClearPlayerFlags() {
    for (int p = 0; p < kMaxPlayers; ++p) {
        playerFlag1[p] = 0;
        playerFlag2[p] = 0;
    }
}

void CStatus::SetPlayerFlag1(int player, int value) {
    if (ValidPlayer(player)) playerFlag1[player] = value;
}

float CStatus::GetSliderValue() { return pSlider ? pSlider->GetFraction() : 1.0f; }

void CStatus::MarkPlayerFlag1(int player) { SetPlayerFlag1(player, 1); }

void CStatus::TakePenalty() {
    if (pScore) pScore->AddScore(-penalty, 1, kPenaltyStep);
}

void CStatus::MarkPlayerOut(int player) {
    TakePenalty();
    SetPlayerFlag2(player, 1);
}

void CStatus::ApplyPenalty() {
    if (!GetCurrentFlag1()) TakePenalty();
}

void CStatus::TurnEndHook() {}

void CStatus::CheckTurnEnd() {
    if (owner) owner->CheckTurnEnd();
}

void CStatus::SetBonusBase(int score) {
    nextBonusThreshold = 0;
    // The largest multiple below the score: an exact multiple is one step lower.
    if (score > kBonusStep) nextBonusThreshold = (score - 1) / kBonusStep * kBonusStep;
}

void CStatus::OnCountFinished() {}

void CStatus::SpareHook14() {}

void CStatus::ShowPausePicture(int show) {
    if (show && pasPausePicture) pasPausePicture->Show();
    if (pCounter2) pCounter2->hold = 0;
}

int CStatus::HidePausePicture() {
    if (pasPausePicture) pasPausePicture->Hide();
    if (owner && owner->pendingValue != 0) return owner->pendingValue;
    if (const int flag1 = GetCurrentFlag1()) return flag1;
    if (const int flag2 = GetCurrentFlag2()) return flag2;
    if (pCounter2) pCounter2->hold = 1;
    return 0;
}

void CStatus::ShowGameOverPicture() {
    if (pasGameOverPicture) pasGameOverPicture->Show();
}

void CStatus::SpareHook18() {}

void CStatus::SpareHook19() {}

void CStatus::CheckScoreBonus(int score) {
    if (static_cast<long long>(score) - nextBonusThreshold > kBonusStep - 1) {
        AddLives(1);
        nextBonusThreshold += kBonusStep;
    }
}

void CStatus::SetLine(CEditBox* line, const char* text) {
    if (!line) return;
    // A read-only line takes no text: open it for the moment of the change.
    const int wasReadOnly = line->readOnly;
    if (wasReadOnly) line->SetReadOnly(0);
    line->SetText(text, 1);
    if (wasReadOnly) line->SetReadOnly(1);
}

void CStatus::ShowLine(CEditBox* line) {
    if (line) line->Show();
}

void CStatus::HideLine(CEditBox* line) {
    if (line) line->Hide();
}

void CStatus::ShowMessage3(const char* line1, const char* line2, const char* line3) {
    SetLine(pMsgEditBox1, line1);
    SetLine(pMsgEditBox2, line2);
    SetLine(pMsgEditBox3, line3);
    ShowLine(pMsgEditBox1);
    ShowLine(pMsgEditBox2);
    ShowLine(pMsgEditBox3);
}

void CStatus::ShowMessage2(const char* line1, const char* line2) {
    SetLine(pMsgEditBox1, line1);
    SetLine(pMsgEditBox2, line2);
    ShowLine(pMsgEditBox1);
    ShowLine(pMsgEditBox2);
    HideLine(pMsgEditBox3);
}

void CStatus::ShowMessage1(const char* text) {
    SetLine(pMsgEditBox1, text);
    ShowLine(pMsgEditBox1);
    HideLine(pMsgEditBox2);
    HideLine(pMsgEditBox3);
}

void CStatus::ShowCongratulations() {
    SetLine(pMsgEditBox1, kCongratulations);
    ShowLine(pMsgEditBox1);
}

void CStatus::ShowNotThisTime() {
    SetLine(pMsgEditBox1, kNotThisTime);
    ShowLine(pMsgEditBox1);
}

void CStatus::ShowWinner() {
    if (winnerShown || noWinnerShown) return;
    ShowMessage1(kWinner);
    winnerShown = 1;
}

void CStatus::ShowNoWinner() {
    if (winnerShown || noWinnerShown) return;
    const int players = OwnerPlayers();
    if (players == 2)
        ShowMessage1(kNoWinnerBoth);
    else if (players > 2)
        ShowMessage1(kNoWinnerAll);
    noWinnerShown = 1;
}

void CStatus::RequestScoreBonus() {
    if (bonusAllowed && pScore) pScore->RequestBonus();
}

void CStatus::ClearScoreFastCount() {
    if (pScore) pScore->ClearFastCount();
}

void CStatus::AddToCounter3(int value) {
    if (pCounter3) pCounter3->Add(value);
}

int CStatus::IdleTicks() const {
    for (const CScore* score : {pScore.get(), pHighScore.get()})
        if (score && score->IsBusy()) return 0;
    // A running counter moves on each whole second.
    if (pCounter2 && !pCounter2->hold) return std::max(1, 256 - pCounter2->tickRest);
    return kIdleForever;
}

void CStatus::Update(int elapsed) {
    if (pCounter1) pCounter1->Refresh();
    if (pLives) pLives->Refresh();
    if (pScore) pScore->Refresh();
    if (pHighScore) pHighScore->Refresh();
    if (pCounter2) pCounter2->Update(elapsed);
    if (pCounter3) pCounter3->Refresh();
    if (pLevel) pLevel->Refresh();
}

void CStatus::NewGame(int a, int b) {
    if (pCounter1) pCounter1->Reset(a, b);
    if (pScore) pScore->Reset(a, b);
    if (pLevel) pLevel->Set(static_cast<std::int16_t>(a));
    if (pCounter2) {
        pCounter2->stale = IsMarkStale();
        pCounter2->Reset(a, b);
    }
    if (pCounter3) pCounter3->Reset(a, b);
    const int current = OwnerCurrentPlayer();
    SetPlayerFlag2(current, 0);
    SetPlayerFlag1(current, 0);
    currentPlayerMark = current;
    winnerShown = 0;
    noWinnerShown = 0;
    penalty = 0;
    extraAmount = 0;
}

int CStatus::SpareQuery33(int) { return 0; }

int CStatus::ScoreCategory(int) { return 0; }

int CStatus::GetScore() const { return pScore ? pScore->GetValue() : 0; }

int CStatus::GetLives() const { return pLives ? pLives->GetValue() : 0; }

int CStatus::GetCounter2() const { return pCounter2 ? pCounter2->GetValue() : 0; }

float CStatus::GetCounter1Hundredths() const {
    return pCounter1 ? static_cast<float>(pCounter1->GetValue()) * 100.0f : 0.0f;
}

void CStatus::SetBestScoreDisplay(int value) {
    // The best score is only shown: it must not move the score's bonus base.
    if (pHighScore) pHighScore->CNumber::Set(value);
}

void CStatus::AddLives(int amount) {
    if (pLives) pLives->Add(amount);
}

void CStatus::SetLives(int value) {
    if (pLives) pLives->Set(value);
}

int CStatus::GetCurrentFlag1() const { return GetPlayerFlag1(OwnerCurrentPlayer()); }

int CStatus::GetCurrentFlag2() const { return GetPlayerFlag2(OwnerCurrentPlayer()); }

int CStatus::GetCurrentFlag3() const { return GetPlayerFlag3(OwnerCurrentPlayer()); }

int CStatus::IsMarkStale() const {
    return OwnerPlayers() == 1 || OwnerCurrentPlayer() != currentPlayerMark ? 1 : 0;
}
