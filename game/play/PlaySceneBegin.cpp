// The play scene's life: construction, the objects of the play screen, the
// start of every game, and the process-wide pointers.

#include "game/play/CPlayScene.h"

#include "common/widgets/CActorButton.h"
#include "common/actors/CActorFade.h"
#include "common/actors/CActorSprite.h"
#include "common/widgets/CEditBox.h"
#include "common/scene/COptions.h"
#include "formats/CFileMM.h"
#include "common/scene/CScreen.h"
#include "common/scene/CFixPoint.h"
#include "game/play/CDuelPanel.h"
#include "game/play/coach/CCoachPanel.h"
#include "game/rules/CGameOptions.h"
#include "game/rules/Random.h"
#include "game/rules/SavedGame.h"
#include "platform/core/CException.h"

CPlayScene::CPlayScene(CScreen* owner, int ox, int oy, int mode, int value, int collisionOrder)
    : CGame(owner, ox, oy, mode, value, collisionOrder) {
    sceneId = kSceneKindPlay;
    musicIndex = Random(3);
}

CPlayScene::~CPlayScene() {
    FreeAssets();
    ClearProcessPointers();
    ForgetObjects();
}

int CPlayScene::GetHintLevel() const {
    COptions* options = CScreen::Options();
    return options ? options->GetShowHints() : 2;
}

int CPlayScene::GetShowColMarkers() const {
    COptions* options = CScreen::Options();
    return options ? options->GetShowColMarkers() : 1;
}

int CPlayScene::GetDiceMoveMode() const {
    COptions* options = CScreen::Options();
    return options ? options->GetDiceMoveMode() : 0;
}

void CPlayScene::ForgetObjects() {
    fade = nullptr;
    pasBackground = pasRollButShadow = pasTitle = pasMsgTop = pasMsgBottom = nullptr;
    pasSecHalfHelp = pasInitEditBoxBkgnd = pasTopFrame = pasIntro = pasCursor = nullptr;
    rollButton = optionsButton = newGameButton = recordsButton = aboutButton = quitButton = helpButton = nullptr;
    for (CActorButton*& button : lineButtons) button = nullptr;
    for (CActorDie*& die : dice) die = nullptr;
    pDiceDrag = nullptr;
    initialsEditBox = nullptr;
    ForgetAidObjects();
    ForgetPlayerObjects();
    coachPanel.reset();
    duelPanel.reset();
}

CActorSprite* CPlayScene::AddSprite(int x, int y, int depth, CSprite* picture, bool shown) {
    auto* sprite = new CActorSprite(this, ToFixed(x), ToFixed(y), ToFixed(depth), picture, 0);
    if (!shown) sprite->Hide();
    return sprite;
}

CActorButton* CPlayScene::AddButton(int mode, int id, int x, int y, int depth, CSpriteArray* frames, bool shown) {
    CButtonRecord record;
    record.mode = mode;
    record.key = id;
    record.mouseEnabled = 1;
    auto* button = new CActorButton(CTextRecord{}, record, this, ToFixed(x), ToFixed(y), ToFixed(depth), frames, 0);
    if (!shown) button->Hide();
    return button;
}

void CPlayScene::CreateObjects() {
    const PlaySceneAssets& a = assets;
    pasBackground = AddSprite(0, 0, 32767, a.background, true);
    rollButton = AddButton(kButtonPush, kCodeRoll, 273, 88, 500, a.rollButton, false);
    rollButton->fixed = 1;
    pasRollButShadow = AddSprite(273, 88, 400, a.rollShadow, false);
    pasRollButShadow->fixed = 1;
    optionsButton = AddButton(kButtonPush, kCodeOptions, -12, 527, 200, a.buttons[kButtonOptions], true);
    newGameButton = AddButton(kButtonPush, kCodeNewGame, 97, 527, 200, a.buttons[kButtonNewGame], true);
    newGameButton->SetState(kStateDisabled);
    recordsButton = AddButton(kButtonPush, kCodeRecords, 550, 527, 200, a.buttons[kButtonRecords], true);
    aboutButton = AddButton(kButtonPush, kCodeAbout, 622, 527, 200, a.buttons[kButtonAbout], true);
    quitButton = AddButton(kButtonPush, kCodeQuit, 694, 527, 200, a.buttons[kButtonQuit], true);
    helpButton = AddButton(kButtonToggle, kCodeHelp, 513, 403, 200, a.buttons[kButtonHelp], false);
    lineButtons[0] = AddButton(kButtonLatch, kCodeFirstLine, 213, 89, 200, a.fallingLineButton, false);
    for (int line = 1; line <= 5; ++line) {
        lineButtons[line] =
            AddButton(kButtonLatch, kCodeFirstLine + line, 269 + 50 * (line - 1), 92, 200, a.columnLineButton, false);
        lineButtons[line]->fixed = 1;
    }
    lineButtons[6] = AddButton(kButtonLatch, kCodeLastLine, 498, 89, 200, a.risingLineButton, false);
    pasTitle = AddSprite(272, 22, 100, a.title, true);
    CreateDice();
    pasMsgTop = AddSprite(273, 106, 300, a.endMessages[3], false);
    pasMsgTop->fixed = 1;
    pasMsgBottom = AddSprite(kHintXRoll0, kHintY, 300, a.msgBottomStart, false);
    pasSecHalfHelp = AddSprite(222, 439, 150, a.secHalfHelp, false);
    pasInitEditBoxBkgnd = AddSprite(274, 213, 500, a.editBoxBkgnd, false);

    CTextRecord text;
    text.maxLength = COptions::kInitialsSize - 1;
    text.hAlign = kAlignLeft;
    text.font = a.editFont;
    CButtonRecord box;
    box.key = kCodeInitials;
    initialsEditBox = new CEditBox(this, ToFixed(342), ToFixed(254), ToFixed(300), text, box);
    initialsEditBox->SetMaxLength(COptions::kInitialsSize - 1);
    ReloadInitials();
    initialsEditBox->Hide();

    pasTopFrame = AddSprite(269, 89, 500, a.topFrame, true);
    pasIntro = AddSprite(271, 118, 100, a.intro, false);
    CreateSheet();
    CreateKeyboardObjects();
    CreateAidObjects();
    CreatePlayerObjects();
    coachPanel = std::make_unique<CCoachPanel>(this);
    duelPanel = std::make_unique<CDuelPanel>(this);
}

void CPlayScene::ReloadInitials() {
    if (!initialsEditBox) return;
    COptions* options = CScreen::Options();
    initialsEditBox->SetText(options ? options->GetTypedInitials() : "");
}

const char* CPlayScene::GetEditedInitials() const { return initialsEditBox ? initialsEditBox->GetText() : ""; }

int CPlayScene::Begin() {
    running = 0;
    Pause(0);
    CreateObjects();
    Unpause();
    SetupTurn();
    running = 1;
    if (screen && screen->handle) CScene::DrawAll();
    SetProcessPointers();
    COptions* options = CScreen::Options();
    SetSoundVolume(options ? options->GetSFX() : 100);
    if (screen) screen->SetMusicVolume(static_cast<float>(options ? options->GetMusic() : 100) * 0.01f);
    StartGame(sharedCurrentPlayer);
    if (screen) screen->ShowCursor(1);
    return 0;
}

void CPlayScene::LoadMusicForGame() {
    if (!screen) return;
    screen->StopMusic();
    musicIndex = (musicIndex + 1) % 3;
    if (screen->archive) {
        try {
            screen->archive->SeekEntry(kMusicEntries[musicIndex]);
            screen->LoadMusic(screen->archive.get());
        } catch (const CException&) {
            // A damaged archive leaves the game without music.
        }
    }
    COptions* options = CScreen::Options();
    screen->SetMusicVolume(static_cast<float>(options ? options->GetMusic() : 100) * 0.01f);
}

void CPlayScene::StartGame(int firstPlayer) {
    // A game given up for a new one is not offered again.
    if (GameInProgress()) DropSavedGame();
    gamePlayer.clear();
    for (int& queued : queuedHolds) queued = -1;
    // The first game waits for the intro; every later one shows the initials card at once.
    const bool laterGame = gameBegunOnce;
    gameBegunOnce = true;
    CloseGameOverlayB();
    if (!laterGame && !initialsCommitted) ShowGameOverlayA();  // the intro is pending
    LoadMusicForGame();

    board.showColMarkers = GetShowColMarkers() != 0;
    setupGiven = nextSetup.has_value();
    board.StartGame(setupGiven ? *nextSetup : SetupFromOptions());
    nextSetup.reset();
    endMessage = 0;
    gamesStartedCounted = false;
    isNewBestOverall = isNewBestPersonal = isInTopTen = false;
    if (screen) screen->PlayMusic(1);
    running = 1;

    StartRow();
    SelectLineButton(-1);
    ShowLineButtons(false);
    HideAllMarkers();

    ResetActors(0, 0);
    ResetSheet();

    if (pasMsgTop) pasMsgTop->Hide();
    if (initialsCommitted) UpdateHint();
    if (helpButton) {
        helpButton->SetState(kStateUp);
        helpButton->Hide();
    }
    if (pasSecHalfHelp) pasSecHalfHelp->Hide();
    HideBoardCursor();
    if (coachPanel) coachPanel->OnNewGame();
    if (duelPanel) duelPanel->OnGame(board.Setup());
    CGame::StartGame(firstPlayer);  // also the intro timer (perGameValue)
    if (laterGame) {
        initialsCommitted = false;
        perGameValue = 0;
        ShowInitialsCard(true);
        if (pasMsgBottom && HintsOn()) {
            hintPicture = assets.msgBottomStart;
            pasMsgBottom->SetSprite(assets.msgBottomStart);
            pasMsgBottom->SetX(ToFixed(kHintXRoll0));
            pasMsgBottom->Show();
        }
    }
}

GameSetup CPlayScene::SetupFromOptions() {
    GameSetup setup;
    setup.opponent = OpponentOption();
    if (setup.opponent == OpponentLevel::Off) return setup;
    setup.seeded = true;
    constexpr int kHalfBits = 1 << 30;
    setup.seed = static_cast<std::uint64_t>(Random(kHalfBits)) << 30 | static_cast<std::uint64_t>(Random(kHalfBits));
    return setup;
}

void CPlayScene::StartRow() {
    if (gameOver || !rollButton) return;
    if (!gameOverlayAShown) {
        rollButton->Show();
        rollButton->SetState(kStateUp);
    }
}
