// A game in progress kept across runs: written at every scored category and
// when the program is asked to end, offered back at the next start.

#include "game/play/CPlayScene.h"

#include <cstdio>

#include "common/actors/CActorSprite.h"
#include "common/scene/COptions.h"
#include "common/scene/CScreen.h"
#include "common/widgets/CActorButton.h"
#include "common/widgets/CEditBox.h"
#include "game/play/CActorDie.h"
#include "game/play/CDuelPanel.h"
#include "game/rules/Random.h"
#include "game/rules/Records.h"
#include "game/rules/SavedGame.h"
#include "game/rules/Today.h"
#include "game/sheet/CScoreCell.h"
#include "game/sheet/CScoreSheet.h"
#include "game/sheet/ScoreSheetAssets.h"
#include "platform/dialogs/BDialog.h"
#include "platform/storage/MRegistryStore.h"

namespace {
constexpr const char* kKeepCaption = "Zanbor";
}

bool CPlayScene::KeepGameInProgress() {
    if (!GameInProgress()) return false;
    // A roll under way is decided now: what is kept is a board at rest.
    for (const DieState& die : board.dice) {
        if (die.rolling || die.rollPending) {
            board.FinishMotion();
            break;
        }
    }
    return KeepSavedGame(EncodeSavedGame(board, boardCells, gamePlayer, RandomState()));
}

void CPlayScene::OfferSavedGame() {
    SavedGame saved;
    const StoredGame status = ReadSavedGame(&saved);
    if (status == StoredGame::None) return;
    MSystemDialogDriver* dialogs = GetSystemDialogDriver();
    SDL_Window* owner = screen ? screen->handle : nullptr;
    if (status != StoredGame::Ready) {
        const char* message = DroppedSaveMessage(status);
        std::fprintf(stderr, "zanbor: %s\n", message);
        dialogs->ShowMessage(owner, kKeepCaption, message, MB_OK | MB_ICONEXCLAMATION);
        DropSavedGame();
        return;
    }
    const std::string question = ResumeQuestion(saved);
    if (dialogs->ShowMessage(owner, kKeepCaption, question.c_str(), MB_YESNO | MB_ICONASTERISK) == IDYES) {
        ResumeGame(saved);
        return;
    }
    MRegistryTransaction transaction;
    const bool practice = saved.board.Setup().today && CountedTodayDate(saved.player, saved.board.Setup().seed).empty();
    if (!practice) RecordGameAbandoned(saved.player);
    DropSavedGame();
    transaction.Commit();
}

void CPlayScene::ResumeGame(const SavedGame& saved) {
    if (IntroRunning() || !initialsCommitted) SkipIntro();
    if (COptions* options = CScreen::Options()) options->SetInitials(saved.player.c_str());
    ReloadInitials();
    HideInitialsCard();
    initialsCommitted = true;
    gamesStartedCounted = true;
    gamePlayer = saved.player;
    if (newGameButton) newGameButton->SetState(kStateUp);
    ApplySavedGame(saved, &board, &boardCells);
    ResumeTodayGame();
    ShowRestoredBoard();
    ShowRestoredSheet();
    // A kept duel replays the computer's game on its seed: the same game again.
    if (duelPanel) duelPanel->OnGame(board.Setup());
    // Last, so that nothing drawn while the board was laid out takes a number.
    SetRandomState(saved.randomState);
}

void CPlayScene::ShowRestoredBoard() {
    for (int i = 0; i < kDieCount; ++i) {
        CActorDie* die = dice[i];
        if (!die) continue;
        const DieState& state = board.dice[i];
        if (state.row < 0) continue;  // waits above the board, as at a new game
        die->Show();
        die->SetY(DieRestY(state.row));
        die->ShowFace(state.face);
        die->ResetGlow();
        die->landed = true;
    }
    if (board.IsSecondHalf()) {
        if (rollButton) rollButton->Hide();
        ShowLineButtons(true);
        for (int line = 0; line < kLineCount; ++line)
            if (board.lineScored[line] && lineButtons[line]) lineButtons[line]->Hide();
        DiceSecondHalf(true);
        DiceShowMovability();
        SelectLineButton(board.selectedLine);
        ShowLineMarkers();
        if (board.handIndex == kFirstHalfHands && HintsOn() && helpButton) helpButton->Show();
    } else {
        StartRow();
    }
    UpdateHint();
}

void CPlayScene::ShowRestoredSheet() {
    if (!sheet) return;
    const ScoreCells& cells = boardCells.Cells();
    for (int i = 0; i < kCategoryCount; ++i)
        if (cells[i].filled && sheet->pScoreCell[i]) sheet->pScoreCell[i]->Fill(cells[i].value);
    sheet->LastFilledIndex = boardCells.LastFilledIndex();
    sheet->UndoUsed = boardCells.UndoUsed() ? 1 : 0;
    // The levels reached were announced when they were reached.
    const SheetTotalsValue totals = boardCells.Totals();
    for (int level = 1; level <= totals.leftLevel && level <= CScoreSheet::kLevels; ++level)
        sheet->leftLevelShown[level] = 1;
    for (int level = 1; level <= totals.rightLevel && level <= CScoreSheet::kLevels; ++level)
        sheet->rightLevelShown[level] = 1;
    sheet->Recalculate();
    const int last = boardCells.LastFilledIndex();
    CScoreCell* cell = last >= 0 ? sheet->pScoreCell[last] : nullptr;
    if (board.CanUndo() && cell && cell->filled)
        ShowUndoButtonAt(FromFixed(cell->AbsoluteX()), FromFixed(cell->AbsoluteY()) + CScoreCell::kUndoOffsetY);
    else
        HideUndoButton();
}
