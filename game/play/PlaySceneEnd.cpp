// The end of a game: the record of it, the ranking message and the dice show.

#include "game/play/CPlayScene.h"

#include "common/actors/CActorSprite.h"
#include "common/scene/CScreen.h"
#include "game/rules/Records.h"
#include "game/rules/SavedGame.h"
#include "game/sheet/CScoreSheet.h"
#include "platform/storage/MRegistryStore.h"

void CPlayScene::EndTurn(int) {
    if (screen) screen->StopMusic();
}

int CPlayScene::ChooseEndMessage(bool firstFinish, int best, int total, int posAll, int posMine) {
    const bool ranked = !firstFinish || (best != 0 && best < total);
    if (!ranked) return 6;
    if (posAll == 0) return 1;
    if (posMine == 0) return 2;
    if (posAll > 0) return 3;
    if (posMine > 0) return 4;
    return 5;
}

void CPlayScene::SetGameOver() {
    HideHint();
    HideAllMarkers();
    HideBoardCursor();
    if (gamePlayer.empty()) gamePlayer = CurrentPlayerInitials();
    const bool firstFinish = IsFirstFinishedGame(gamePlayer);
    const int best = ReadBestScore();
    const int total = boardCells.Totals().total;
    int posAll = -1;
    int posMine = -1;
    // Recorded before the flag is set, so a failing end leaves the record. The
    // best score goes in the same transaction: nothing can be left between them
    // (a best score below the tables).
    MRegistryTransaction transaction;
    // A replay of today's dice is practice: it claims no place and changes no record.
    const bool counted = !PracticeGame();
    if (counted) RecordGameFinished(gamePlayer, total, &posAll, &posMine);
    // The game is recorded: there is nothing left to resume.
    DropSavedGame();
    int message = ChooseEndMessage(firstFinish, best, total, posAll, posMine);
    if (sheet && counted && (total > best || message == 1)) sheet->SetBestScore(total);
    recordsSaved = transaction.Commit() == ERROR_SUCCESS;
    if (!recordsSaved) {
        // Nothing was kept: the end claims no place, and says why.
        if (message <= 4) message = 5;
        if (sheet) sheet->ShowRecordsNotSaved();
    }
    gameOver = 1;
    board.gameOver = true;
    EndTodayGame();
    if (!pasMsgTop) return;
    isNewBestOverall = message == 1;
    isNewBestPersonal = message == 2;
    isInTopTen = message == 3 || message == 4;
    endMessage = message <= 4 ? message : 0;
    pasMsgTop->SetSprite(assets.endMessages[message - 1]);
    pasMsgTop->Show();
    if (message <= 4) DiceEndShow(message <= 2);
}
