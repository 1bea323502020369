#pragma once
// What the window tests and the screenshot program share: a real window on
// SDL's dummy driver with the software renderer and its render device, a
// game clock moved by hand, the sound manager made but paused (a sound played
// stays playing), the packed archive, an application with the game's options
// record, a screen that carries out scene requests as the game screen does,
// and real SDL events pushed through SDL's queue. No test framework here.

#include <SDL2/SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "formats/CFileMM.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/scene/SceneKinds.h"
#include "game/play/CActorDie.h"
#include "game/rules/CGameOptions.h"
#include "game/play/CPlayScene.h"
#include "platform/storage/FileLocation.h"
#include "platform/app/GameTimer.h"
#include "platform/app/MApplication.h"
#include "platform/audio/MMusicManager.h"
#include "platform/render/MRenderDevice.h"
#include "platform/audio/MSoundManager.h"
#include "platform/window/MWindow.h"

namespace harness {

inline std::int64_t gNanos = 1'000'000'000;
inline std::int64_t FakeNow() { return gNanos; }
inline void AdvanceTicks(int ticks) { gNanos += static_cast<std::int64_t>(ticks) * 1'000'000'000 / 256; }
inline void StartClock() {
    gNanos = 1'000'000'000;
    SetGameTimerClock(FakeNow);
}

// Creates the window and its software device; null when either fails.
inline MRenderDevice* OpenWindow(CScreen& screen, int w = 800, int h = 600) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_RENDER_DRIVER", "software", 0);
    if (screen.Create(nullptr, "Zanbor", w, h, 0x11B) != 0) return nullptr;
    MRenderDevice* device = MRenderDevice::Get(screen.handle);
    device->deviceType = 0;
    device->SetFramePacing(0);
    if (device->CreateDevice(0, w, h) != 0) return nullptr;
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);  // whatever the window's birth reported
    screen.active = 1;
    return device;
}

// A fresh sound manager whose mixing is paused.
inline bool OpenSound() {
    MSoundManager::Free();
    if (MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16) != 0) return false;
    MSoundManager::Get()->Pause(1);
    return true;
}

inline FileSpec ArchiveSpec(const std::string& folder) {
    FileSpec spec{};
    std::strncpy(spec.directory, (folder + "/").c_str(), FileSpec::kLength - 1);
    std::strncpy(spec.name, "zanborassets.mm", FileSpec::kLength - 1);
    return spec;
}
inline bool OpenArchive(CScreen& screen, const std::string& folder) {
    screen.archive = std::make_unique<CFileMM>();
    return screen.archive->OpenArchive(ArchiveSpec(folder), kModeReadExisting) == 0;
}

// Scenes, screen, music and sound gone; the clock back to the real one.
inline void CloseAll(CScreen* screen) {
    while (CScene::Last()) delete CScene::Last();
    if (screen) screen->scene.release();
    delete screen;
    MMusicManager::Free();
    MSoundManager::Free();
    ResetAccumulatedWindowStyle();
    SDL_Quit();
    SetGameTimerClock(nullptr);
}

// An application with the game's options record on the current store.
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

// Dialogs close into the scene below; quitting (99) is only noted; a restart
// of the current scene loads and begins it again.
class RequestScreen : public CScreen {
public:
    int CreateContent() override { return 0; }
    void Frame() override {
        if (requestPending && requestedScene) {
            CScene* requested = requestedScene;
            const int code = requestCode;
            requestPending = 0;
            requestedScene = nullptr;
            if (code == kRequestQuit) {
                quitCode = code;
            } else if (requested != scene.get()) {  // a dialog, or a page over the game
                // A page leaves the game faded out: it comes back as on the game screen,
                // with the page's flag cleared and the initials the options may have changed.
                const int kind = requested->sceneId;
                if (kind != kSceneKindDialog && scene) scene->FadeOut();
                delete requested;
                if (auto* play = dynamic_cast<CPlayScene*>(scene.get()); play && kind != kSceneKindDialog) {
                    if (kind == kSceneKindOptions) play->ReloadInitials();
                    play->optionsOpen = play->recordsOpen = false;
                    play->aboutOpen = 0;
                }
                if (CScene* top = CScene::Last()) {
                    top->OnDialogClosed(requested, code);
                    if (requestResume && top->openDialogs == 0) top->Unpause();
                }
            } else {
                scene->LoadAssets();
                scene->Begin();
            }
            return;
        }
        CScreen::Frame();
    }
    int quitCode = 0;
};

// Real SDL events through SDL's queue, handed to the window's translation as
// the application's loop does.
class Input {
public:
    virtual ~Input() = default;
    virtual void Failed(const char* what) { std::fprintf(stderr, "%s\n", what); }

    void Send(SDL_Event event) {
        event.common.timestamp = SDL_GetTicks();
        if (SDL_PushEvent(&event) != 1) return Failed("SDL_PushEvent refused an event");
        SDL_Event taken;
        while (SDL_PollEvent(&taken)) target->HandleMessage(taken);
    }
    void Key(Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(target->handle);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        Send(event);
    }
    void Tap(SDL_Keycode key) {
        Key(SDL_KEYDOWN, key);
        Key(SDL_KEYUP, key);
    }
    void Button(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT, Uint8 clicks = 1) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(target->handle);
        event.button.button = button;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = clicks;
        event.button.x = x;
        event.button.y = y;
        Send(event);
    }
    void Press(int x, int y) { Button(SDL_MOUSEBUTTONDOWN, x, y); }
    void Release(int x, int y) { Button(SDL_MOUSEBUTTONUP, x, y); }
    void Move(int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(target->handle);
        event.motion.x = x;
        event.motion.y = y;
        Send(event);
    }
    void Click(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y, button);
        Button(SDL_MOUSEBUTTONUP, x, y, button);
    }
    void Window(SDL_WindowEventID id, int data1 = 0, int data2 = 0) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = SDL_GetWindowID(target->handle);
        event.window.event = id;
        event.window.data1 = data1;
        event.window.data2 = data2;
        Send(event);
    }

    CScreen* target = nullptr;
};

// The play scene driven as a player does, frame by frame on the hand clock.
class PlayDriver : public Input {
public:
    // The scene as the game screen makes it: loaded and begun.
    CPlayScene* Begin() {
        scene = new CPlayScene(screen, 0, 0, 0, 0, 1);
        screen->scene.reset(scene);
        scene->LoadAssets();
        loadResult = scene->GetLoadResult();
        scene->Begin();
        return scene;
    }
    // Runs frames until ticks of game time have passed.
    void Run(int ticks) {
        while (ticks > 0) {
            const int step = ticks < 8 ? ticks : 8;
            AdvanceTicks(step);
            screen->Frame();
            ticks -= step;
        }
        screen->Frame();  // carries out a request made in the last frame
    }
    // Past the fade-in and the intro: the first game can be played.
    void PastIntro() { Run(kIntroTicks + 200); }

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
    bool AnyDieMoving() const {
        for (const CActorDie* die : scene->dice)
            if (die->vy != 0) return true;
        return false;
    }
    // Frames until the current row is at rest (and a scored row has settled); false if it never is.
    bool SettleRow() {
        for (int t = 0; t < 4000 && (RowBusy() || AnyDieMoving()); t += 25) Run(25);
        return !RowBusy();
    }
    CActorDie* Die(int row, int col) { return scene->dice[DieIndex(row, col)]; }
    static int MidX(const CActor* a) { return (a->bounds.left + a->bounds.right) / 2; }
    static int MidY(const CActor* a) { return (a->bounds.top + a->bounds.bottom) / 2; }

    RequestScreen* screen = nullptr;
    CPlayScene* scene = nullptr;
    int loadResult = 0;
};

}  // namespace harness
