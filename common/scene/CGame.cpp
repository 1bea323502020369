#include "common/scene/CGame.h"

#include <algorithm>

#include "common/actors/CActor.h"
#include "common/scene/COptions.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/widgets/CStatus.h"

int CGame::sharedCurrentPlayer = 0;
int CGame::sharedPerGameValue = CGame::kInitialPerGameValue;
int CGame::sharedTurnCounter = 0;

CGame::CGame(CScreen* owner, int ox, int oy, int mode, int value, int collisionOrder)
    : CScene(owner, ox, oy, mode, value, collisionOrder) {
    if (COptions* options = CScreen::Options()) {
        players = options->GetPlayers();
        difficulty = options->GetDifficulty();
    }
    SetupTurn();
}

CGame::~CGame() = default;

void CGame::SetStatus(CStatus* panel) {
    if (panel != status.get()) status.reset(panel);
}

void CGame::OnLeftUp(int, int) {
    if (paused && !pagedOverlayShown && !secondOverlayShown) {
        Unpause();
        if (!gameOverlayAShown && screen) screen->ResumeMusic();
    }
}

bool CGame::SetDirectionFlag(int key, int value) {
    switch (key) {
    case VK_CONTROL_KEY:
        keyControl = value;
        return true;
    case VK_LEFT_KEY:
    case VK_RIGHT_KEY:
    case VK_NUMPAD4_KEY:
    case VK_NUMPAD6_KEY:
        keyHorizontal = value;
        return true;
    case VK_UP_KEY:
    case VK_NUMPAD8_KEY:
        keyUp = value;
        return true;
    case VK_DOWN_KEY:
    case VK_NUMPAD2_KEY:
        keyDown = value;
        return true;
    default:
        return false;
    }
}

int CGame::OnKeyDown(int key) {
    if (!firstKeySeen) OnFirstKey();
    if (SetDirectionFlag(key, 1)) return 1;
    return CScene::OnKeyDown(key);
}

int CGame::OnKeyUp(int key) {
    if (SetDirectionFlag(key, 0)) return 0;
    return CScene::OnKeyUp(key);
}

void CGame::Tick() {
    CScene::Tick();
    if (running && status) status->Update(sceneStep);
}

int CGame::IdleTicks() {
    const int idle = CScene::IdleTicks();
    return running && status ? std::min(idle, status->IdleTicks()) : idle;
}

int CGame::OnEscape() {
    CScene::OnEscape();
    return 1;
}

int CGame::CanResumeMusic() { return !pagedOverlayShown && !userPaused && !musicHoldA && !musicHoldB ? 1 : 0; }

void CGame::Pause(int showPicture) {
    if (status) status->ShowPausePicture(showPicture);
    CScene::Pause(showPicture);
}

void CGame::Unpause() {
    if (status) status->HidePausePicture();
    CScene::Unpause();
}

int CGame::QueryPair(int, int) { return 0; }

void CGame::StartGame(int firstPlayer) {
    sharedCurrentPlayer = firstPlayer;
    currentPlayer = firstPlayer;
    perGameValue = sharedPerGameValue;
    SetupTurn();
    turnAborted = 0;
    pendingValue = 0;
    turnIndex = 0;
    sharedTurnCounter = 0;
    if (screen) screen->PlayMusic(1);
}

void CGame::EndTurn(int index) {
    pendingValue = 0;
    if (status) {
        status->TurnEndHook();
        if (GetMode() == 2) {
            if (index != -1) {
                status->SetPlayerFlag1(index, 1);
                status->SetPlayerFlag3(index, 1);
            }
            status->SetPlayerFlag1(currentPlayer, 1);
            status->SetPlayerFlag3(currentPlayer, 1);
        }
    }
    turnIndex = 0;
}

void CGame::CancelTurn(int flag) {
    pendingValue = 0;
    const int mode = GetMode();
    if (status && (mode == 0 || mode == 2 || (mode == 1 && flag != 0))) {
        status->SetPlayerFlag2(currentPlayer, 1);
        status->SetPlayerFlag3(currentPlayer, 0);
    }
    turnIndex = 0;
}

void CGame::AbortTurn() {
    turnAborted = 1;
    pendingValue = 0;
    turnIndex = 0;
}

void CGame::ResetStatus() {
    if (status) status->ClearPlayerFlags();
}

void CGame::SpareHook42() {}

void CGame::CheckTurnEnd() {
    if (status && !status->GetPlayerFlag1(currentPlayer) && !status->GetPlayerFlag2(currentPlayer) && turnsEnabled)
        CancelTurn(currentPlayer);
}

void CGame::SetGameOver() { gameOver = 1; }

int CGame::QueryAlwaysOne() { return 1; }

void CGame::SetTurnValue(int value) { turnValue = value; }

void CGame::SpareHook47(int) {}

void CGame::LoadTurnState(const CTurnState& record) {
    currentPlayer = record.currentPlayer;
    turnIndex = record.turnIndex;
    difficulty = record.difficulty;
    if (status) {
        for (int p = 0; p < CStatus::kMaxPlayers; ++p) {
            status->playerFlag1[p] = record.playerFlag1[p];
            status->playerFlag2[p] = record.playerFlag2[p];
            status->playerFlag3[p] = record.playerFlag3[p];
        }
    }
}

void CGame::SpareHook49() {}
void CGame::SpareHook50() {}
void CGame::SpareHook51() {}
void CGame::SpareHook52() {}

int CGame::GetMode() { return 4; }

void CGame::GetCentreX(int& out) { out = ToFixed(400); }

void CGame::GetCentreY(int& out) { out = ToFixed(300); }

void CGame::OnFirstKey() { firstKeySeen = 1; }

void CGame::SetupTurn() {
    turnPlayer = currentPlayer;
    turnDifficulty = difficulty;
    if (status) {
        turnFlag1 = status->GetPlayerFlag1(currentPlayer);
        turnFlag2 = status->GetPlayerFlag2(currentPlayer);
        turnFlag3 = status->GetPlayerFlag3(currentPlayer);
    }
}

void CGame::CloseGameOverlayA() {
    CloseOverlay(gameOverlayAActor, gameOverlayAFrame);
    gameOverlayAShown = 0;
}

void CGame::CloseGameOverlayB() {
    CloseOverlay(gameOverlayBActor, gameOverlayBFrame);
    gameOver = 0;
}

void CGame::SpareHook60() {}
void CGame::SpareHook61() {}

void CGame::ShowGameOverlayA() { gameOverlayAShown = 1; }

void CGame::ShowGameOverlayB() { gameOver = 1; }
