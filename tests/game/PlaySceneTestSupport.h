#pragma once
// The play scene on a real window of SDL's dummy driver, with the packed
// archive, a fresh settings store with an options record, a seeded Random and
// a game clock the test moves. Input goes in as real SDL events. The screen
// carries out the scene's requests as the game screen does: dialogs closed
// and answered, code 99 noted as the quit.

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/CActorButton.h"
#include "common/CActorSprite.h"
#include "common/CFileMM.h"
#include "common/CScene.h"
#include "common/CScreen.h"
#include "common/SceneKinds.h"
#include "game/CActorDiceDrag.h"
#include "game/CActorDie.h"
#include "game/CGameOptions.h"
#include "game/CPlayScene.h"
#include "game/CScoreCell.h"
#include "game/CScoreSheet.h"
#include "game/DieAssets.h"
#include "game/Random.h"
#include "game/ScoreSheetAssets.h"
#include "platform/MSound.h"
#include "platform/FileLocation.h"
#include "platform/GameTimer.h"
#include "platform/MApplication.h"
#include "platform/MMusicManager.h"
#include "platform/MRenderDevice.h"
#include "platform/MSoundManager.h"
#include "platform/MWindow.h"
#include "tests/support/SettingsSandbox.h"

namespace playtest {

inline std::int64_t gNanos = 1'000'000'000;
inline std::int64_t FakeNow() { return gNanos; }

// An application with the game's options record on the sandbox's store.
class OptionsApplication : public MApplication {
public:
    OptionsApplication() { LoadString(IDS_PRODUCT_NAME, name, sizeof name); }
    void OnExit() override {}
    const char* GetMakerName() override { return "Brevant"; }
    COptions* GetOptions() override {
        if (!options) options = new CGameOptions;
        return static_cast<CGameOptions*>(options);
    }
};

class PlayScreen : public CScreen {
public:
    int CreateContent() override { return 0; }
    // Dialogs close into the scene below; 99 is only noted; a restart of the
    // current scene loads and begins it again.
    void Frame() override {
        if (requestPending && requestedScene) {
            CScene* requested = requestedScene;
            const int code = requestCode;
            requestPending = 0;
            requestedScene = nullptr;
            if (code == kRequestQuit) {
                quitCode = code;
            } else if (requested != scene) {  // a dialog, or a page over the game
                // A page leaves the game faded out: it comes back as on the game screen.
                if (requested->sceneId != kSceneKindDialog && scene) scene->FadeOut();
                delete requested;
                if (CScene* top = CScene::Last()) {
                    top->OnDialogClosed(requested, code);
                    if (requestResume && top->openDialogs == 0) top->Unpause();
                }
            } else if (requested == scene) {
                scene->LoadAssets();
                scene->Begin();
            }
            return;
        }
        CScreen::Frame();
    }
    int quitCode = 0;
};

class PlaySceneTest : public testing::Test {
protected:
    void SetUp() override {
        gNanos = 1'000'000'000;
        SetGameTimerClock(FakeNow);
        SeedRandom(1234);
        sandbox = std::make_unique<SettingsSandbox>();
        previousApp = gApplication;
        app = std::make_unique<OptionsApplication>();
        app->OpenRegistryRoot();
        gApplication = app.get();
        app->GetOptions()->Load();
        screen = new PlayScreen;
        ASSERT_EQ(screen->Create(nullptr, "Zanbor", 800, 600, 0x11B), 0);
        MRenderDevice* device = MRenderDevice::Get(screen->handle);
        device->deviceType = 0;
        device->SetFramePacing(0);
        ASSERT_EQ(device->CreateDevice(0, 800, 600), 0);
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        screen->active = 1;
        // Sounds are made but never mixed: a sound played stays playing.
        ASSERT_EQ(MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16), 0);
        MSoundManager::Get()->Pause(1);
        screen->archive = new CFileMM;
        ASSERT_EQ(screen->archive->OpenArchive(ArchiveSpec(), kModeReadExisting), 0);
    }
    void TearDown() override {
        while (CScene::Last()) delete CScene::Last();
        screen->scene = nullptr;
        delete screen;
        MMusicManager::Free();
        MSoundManager::Free();
        ResetAccumulatedWindowStyle();
        SDL_Quit();
        gApplication = previousApp;
        app.reset();
        sandbox.reset();
        SetGameTimerClock(nullptr);
    }

    static FileSpec ArchiveSpec() {
        FileSpec spec;
        std::strncpy(spec.directory, ZANBOR_BIN_DIR "/", FileSpec::kLength - 1);
        std::strncpy(spec.name, "zanborassets.mm", FileSpec::kLength - 1);
        return spec;
    }

    COptions* Options() { return app->GetOptions(); }

    // The scene as the game screen makes it: loaded and begun.
    CPlayScene* Start() {
        scene = new CPlayScene(screen, 0, 0, 0, 0, 1);
        screen->scene = scene;
        scene->LoadAssets();
        EXPECT_EQ(scene->GetLoadResult(), 0);
        scene->Begin();
        return scene;
    }
    // Runs frames until ticks of game time have passed.
    void Run(int ticks) {
        while (ticks > 0) {
            const int step = ticks < 8 ? ticks : 8;
            gNanos += static_cast<std::int64_t>(step) * 1'000'000'000 / 256;
            screen->Frame();
            ticks -= step;
        }
        screen->Frame();  // carries out a request made in the last frame
    }
    // Past the fade-in and the intro: the first game can be played.
    void PastIntro() { Run(kIntroTicks + 200); }

    void Send(SDL_Event event) {
        event.common.timestamp = SDL_GetTicks();
        ASSERT_EQ(SDL_PushEvent(&event), 1);
        SDL_Event taken;
        while (SDL_PollEvent(&taken)) screen->HandleMessage(taken);
    }
    void Key(Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(screen->handle);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        Send(event);
    }
    void Tap(SDL_Keycode key) {
        Key(SDL_KEYDOWN, key);
        Key(SDL_KEYUP, key);
    }
    void Button(Uint32 type, int x, int y, Uint8 button) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(screen->handle);
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
        Send(event);
    }
    void Move(int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(screen->handle);
        event.motion.x = x;
        event.motion.y = y;
        Send(event);
    }
    void Click(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y, button);
        Button(SDL_MOUSEBUTTONUP, x, y, button);
    }

    static bool Shown(const CActor* actor) { return actor && !actor->hidden; }

    // A category as the player gives it: the numeric pad for 'a'..'k', a click
    // on its cell for 'l' (no key sends 108).
    void Category(int code) {
        static const SDL_Keycode keys[] = {SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,        SDLK_KP_5, SDLK_KP_6,
                                           SDLK_KP_7, SDLK_KP_8, SDLK_KP_9, SDLK_KP_MULTIPLY, SDLK_KP_PLUS};
        if (code == 108)
            Click(700, 485);
        else
            Tap(keys[code - 97]);
    }
    bool RowBusy() const {
        const CBoardState& b = scene->board;
        if (b.handIndex >= kFirstHalfHands) return false;
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& d = b.dice[DieIndex(b.handIndex, col)];
            if (d.moving || d.rolling || d.rollPending) return true;
        }
        return false;
    }
    // Frames until the current row is at rest (and a scored row has settled).
    void Settle() {
        for (int t = 0; t < 4000 && (RowBusy() || AnyDieMoving()); t += 25) Run(25);
        ASSERT_FALSE(RowBusy()) << "the row never came to rest";
    }
    bool AnyDieMoving() const {
        for (const CActorDie* die : scene->dice)
            if (die->vy != 0) return true;
        return false;
    }
    void RollAndSettle() {
        Tap(SDLK_RETURN);
        Settle();
    }
    // Rows 0..4, each rolled once and scored into the next code.
    void PlayFirstHalf(const int codes[kFirstHalfHands]) {
        for (int row = 0; row < kFirstHalfHands; ++row) {
            RollAndSettle();
            Category(codes[row]);
            Settle();
        }
    }
    // A whole game: line 0 chosen by its key, the later lines as preselected.
    void PlayGame() {
        const int first[] = {108, 97, 98, 99, 100};
        PlayFirstHalf(first);
        Tap(SDLK_1);
        for (int code = 101; code <= 107; ++code) Category(code);
    }
    CActorDie* Die(int row, int col) { return scene->dice[DieIndex(row, col)]; }
    static int MidX(const CActor* a) { return (a->bounds.left + a->bounds.right) / 2; }
    static int MidY(const CActor* a) { return (a->bounds.top + a->bounds.bottom) / 2; }

    // Every sound of the scene, the dice and the sheet.
    std::vector<MSound*> Sounds() const {
        std::vector<MSound*> all{scene->assets.dialogOpenSound, scene->assets.introSound, gCellAssets.undoSound};
        for (MSound* s : DieAssets().sounds) all.push_back(s);
        for (MSound* s : gSheetAssets.sounds) all.push_back(s);
        return all;
    }
    std::vector<MSound*> Playing() const {
        std::vector<MSound*> playing;
        for (MSound* s : Sounds())
            if (s && s->IsPlaying()) playing.push_back(s);
        return playing;
    }
    void StopSounds() {
        for (MSound* s : Sounds())
            if (s) s->Stop();
    }
    static bool DiePlaying(DieSound which) { return DieAssets().sounds[which]->IsPlaying() != 0; }

    std::unique_ptr<SettingsSandbox> sandbox;
    std::unique_ptr<OptionsApplication> app;
    MApplication* previousApp = nullptr;
    PlayScreen* screen = nullptr;
    CPlayScene* scene = nullptr;
};

}  // namespace playtest
