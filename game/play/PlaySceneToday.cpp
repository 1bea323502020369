// Today's dice at the table: the card's choice (F5, or a click on its line)
// starts a game on the date's dice, against the Opponent option's level; the
// player's first such game of the day counts, later ones are practice, and
// both the card and the end say which. After the counted game F6 (or a click
// on the line over SCORE) copies its result for sharing.

#include "game/play/CPlayScene.h"
#include "game/play/CDuelPanel.h"

#include <ctime>

#include "common/widgets/CActorButton.h"
#include "common/scene/COptions.h"
#include "common/widgets/CEditBox.h"
#include "game/rules/CGameOptions.h"
#include "game/rules/Today.h"
#include "game/rules/coach/DuelOpponent.h"
#include "platform/window/BClipboard.h"

namespace {

std::string Today() { return LocalDateText(std::time(nullptr)); }

// The player the initials on the card make (none typed: the records' "???").
std::string CardPlayer(const char* typed) { return typed && *typed ? typed : COptions::kNoInitials; }

std::string ShownText(const CActorButton* label) {
    return label && !label->hidden && label->GetText() ? label->GetText() : "";
}

}  // namespace

std::string CPlayScene::TodayChoiceShown() const { return ShownText(todayChoice); }

std::string CPlayScene::TodayLineShown() const { return ShownText(todayEnd); }

std::string CPlayScene::TodayChoiceText() const {
    // Short enough to stay inside the board's frame.
    if (TodayAttemptUsed(CardPlayer(GetEditedInitials()), Today())) return "F5: today's dice again (practice)";
    const OpponentLevel level = OpponentOption();
    if (level == OpponentLevel::Off) return "F5: today's dice";
    return std::string("F5: today's dice vs ") + coach::LevelName(level);
}

void CPlayScene::ShowTodayChoice() {
    if (todayEnd) todayEnd->Hide();
    if (!todayChoice) return;
    todayChoice->SetText(TodayChoiceText().c_str());
    todayChoice->Show();
}

void CPlayScene::HideTodayChoice() {
    if (todayChoice) todayChoice->Hide();
}

void CPlayScene::StartTodayGame() {
    // The new game brings the card back with the stored initials: what the
    // player typed on this one is what the game is for.
    const std::string typed = GetEditedInitials();
    todayDate = Today();
    SetNextGameSetup(TodaySetup(todayDate, OpponentOption()));
    StartGame(sharedCurrentPlayer);
    if (initialsEditBox) initialsEditBox->SetText(typed.c_str());
    EditedInitials();
    Roll();
}

void CPlayScene::BeginTodayGame() {
    todayCounted = board.Setup().today && !todayDate.empty() && BeginTodayAttempt(gamePlayer, todayDate);
    ShowTodayLine();
}

void CPlayScene::ResumeTodayGame() {
    todayDate = board.Setup().today ? CountedTodayDate(gamePlayer, board.Setup().seed) : "";
    todayCounted = !todayDate.empty();
    ShowTodayLine();
}

void CPlayScene::ShowTodayLine() {
    if (!board.Setup().today || !todayEnd) return;
    todayEnd->SetText(todayCounted ? "Today's dice" : "Today's dice: practice");
    todayEnd->Show();
}

bool CPlayScene::PracticeGame() const { return board.Setup().today && !todayCounted; }

std::optional<int> CPlayScene::OpponentFinalTotal() const {
    if (board.Setup().opponent == OpponentLevel::Off) return 0;
    const coach::OpponentGame* opponent = duelPanel ? duelPanel->Opponent() : nullptr;
    if (!opponent) return std::nullopt;
    return opponent->total;
}

void CPlayScene::KeepTodayLine() {
    if (!gameOver || !todayCounted || todayLineKept) return;
    const std::optional<int> opponent = OpponentFinalTotal();
    if (!opponent) return;  // the computer's game is not over yet: its total is kept at the copy
    todayLineKept = KeepTodayResult(gamePlayer, TodayResultLine(todayDate, boardCells.Totals().total,
                                                                board.Setup().opponent, *opponent));
}

void CPlayScene::EndTodayGame() {
    todayLineKept = false;
    if (!board.Setup().today || !todayEnd) return;
    KeepTodayLine();
    todayEnd->SetText(todayCounted ? "F6: copy the result" : "Practice: not counted");
    todayEnd->Show();
}

void CPlayScene::CopyTodayResult() {
    KeepTodayLine();
    const std::string player = gamePlayer.empty() ? CardPlayer(GetEditedInitials()) : gamePlayer;
    const std::string line = TodayResult(player, Today());
    if (line.empty()) return;
    const ClipboardResult copied = GetClipboard()->CopyText(line);
    if (!todayEnd) return;
    todayEnd->SetText(copied.copied ? "Copied" : ("Not copied: " + copied.reason).c_str());
    todayEnd->Show();
}

bool CPlayScene::TodayKeyDown(int code) {
    if (code == kCodeToday) {
        if (!initialsCommitted && initialsEditBox && !initialsEditBox->hidden) StartTodayGame();
        return true;
    }
    if (code == kCodeCopyToday) {
        CopyTodayResult();
        return true;
    }
    return false;
}
