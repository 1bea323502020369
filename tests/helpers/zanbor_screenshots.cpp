// zanbor_screenshots [FOLDER]: runs the real play scene and the pages over it on SDL's
// dummy drivers, with the packed archive beside the program, a throw-away settings
// store, a fixed random seed and a game clock of its own, and writes a BMP picture of
// each state into FOLDER (default "screenshots"): the intro, the start, a first-half
// roll with holds, the second half with a drag and the markers, an end message, the
// options, the records with a filled table, each about page and each dialog.

#include <SDL2/SDL.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "common/CFileMM.h"
#include "common/CScene.h"
#include "common/CScreen.h"
#include "common/SceneKinds.h"
#include "game/CActorDie.h"
#include "game/CGameOptions.h"
#include "game/CPlayScene.h"
#include "game/Random.h"
#include "game/Records.h"
#include "platform/FileLocation.h"
#include "platform/GameTimer.h"
#include "platform/MApplication.h"
#include "platform/MMusicManager.h"
#include "platform/MRenderDevice.h"
#include "platform/MSoundManager.h"
#include "platform/MWindow.h"

namespace {

namespace fs = std::filesystem;

std::int64_t gNanos = 1'000'000'000;
std::int64_t FakeNow() { return gNanos; }

class ShotApplication : public MApplication {
public:
    ShotApplication() { LoadString(IDS_PRODUCT_NAME, name, sizeof name); }
    void OnExit() override {}
    const char* GetMakerName() override { return "Brevant"; }
    COptions* GetOptions() override {
        if (!options) options = new CGameOptions;
        return static_cast<CGameOptions*>(options);
    }
};

// Carries out the scenes' requests as the game screen does (quitting only noted).
class ShotScreen : public CScreen {
public:
    int CreateContent() override { return 0; }
    void Frame() override {
        if (requestPending && requestedScene) {
            CScene* requested = requestedScene;
            const int code = requestCode;
            requestPending = 0;
            requestedScene = nullptr;
            if (code != kRequestQuit && requested != scene) {
                if (requested->sceneId != kSceneKindDialog && scene) scene->FadeOut();
                delete requested;
                if (CScene* top = CScene::Last()) {
                    top->OnDialogClosed(requested, code);
                    if (requestResume && top->openDialogs == 0) top->Unpause();
                }
            } else if (requested == scene && code != kRequestQuit) {
                scene->LoadAssets();
                scene->Begin();
            }
            return;
        }
        CScreen::Frame();
    }
};

class Shots {
public:
    explicit Shots(std::string folder) : out(std::move(folder)) {}

    bool Open() {
        SetGameTimerClock(FakeNow);
        SeedRandom(1234);
        app.OpenRegistryRoot();
        gApplication = &app;
        app.GetOptions()->Load();
        app.GetOptions()->SetShowHints(1);
        if (screen.Create(nullptr, "Zanbor", 800, 600, 0x11B) != 0) return false;
        device = MRenderDevice::Get(screen.handle);
        device->deviceType = 0;
        device->SetFramePacing(0);
        if (device->CreateDevice(0, 800, 600) != 0) return false;
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        screen.active = 1;
        if (MSoundManager::Get()->Initialize(nullptr, DSSCL_PRIORITY, 2, 22050, 16) == 0) MSoundManager::Get()->Pause(1);
        screen.archive = new CFileMM;
        FileSpec spec{};
        const std::string folder = ProgramFolder() + "/";
        std::strncpy(spec.directory, folder.c_str(), FileSpec::kLength - 1);
        std::strncpy(spec.name, "zanborassets.mm", FileSpec::kLength - 1);
        if (screen.archive->OpenArchive(spec, kModeReadExisting) != 0) {
            std::fprintf(stderr, "zanbor_screenshots: no zanborassets.mm beside the program\n");
            return false;
        }
        return true;
    }

    void Close() {
        while (CScene::Last()) delete CScene::Last();
        screen.scene = nullptr;
        MMusicManager::Free();
        MSoundManager::Free();
        SetGameTimerClock(nullptr);
    }

    // A new play scene, begun as the game screen begins it.
    void Start() {
        while (CScene::Last()) delete CScene::Last();
        scene = new CPlayScene(&screen, 0, 0, 0, 0, 1);
        screen.scene = scene;
        scene->LoadAssets();
        scene->Begin();
    }
    void Run(int ticks) {
        while (ticks > 0) {
            const int step = ticks < 8 ? ticks : 8;
            gNanos += static_cast<std::int64_t>(step) * 1'000'000'000 / 256;
            screen.Frame();
            ticks -= step;
        }
        screen.Frame();
    }
    void PastIntro() { Run(kIntroTicks + 200); }

    void Send(SDL_Event event) {
        event.common.timestamp = SDL_GetTicks();
        SDL_PushEvent(&event);
        SDL_Event taken;
        while (SDL_PollEvent(&taken)) screen.HandleMessage(taken);
    }
    void Key(Uint32 type, SDL_Keycode key) {
        SDL_Event event{};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(screen.handle);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        Send(event);
    }
    void Tap(SDL_Keycode key) {
        Key(SDL_KEYDOWN, key);
        Key(SDL_KEYUP, key);
    }
    void Button(Uint32 type, int x, int y) {
        SDL_Event event{};
        event.type = type;
        event.button.windowID = SDL_GetWindowID(screen.handle);
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
        Send(event);
    }
    void Move(int x, int y) {
        SDL_Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = SDL_GetWindowID(screen.handle);
        event.motion.x = x;
        event.motion.y = y;
        Send(event);
    }
    void Click(int x, int y) {
        Move(x, y);
        Button(SDL_MOUSEBUTTONDOWN, x, y);
        Button(SDL_MOUSEBUTTONUP, x, y);
    }
    // A category by its numeric-pad key; Two pairs by a click on its cell.
    void Category(int code) {
        static const SDL_Keycode keys[] = {SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,        SDLK_KP_5, SDLK_KP_6,
                                           SDLK_KP_7, SDLK_KP_8, SDLK_KP_9, SDLK_KP_MULTIPLY, SDLK_KP_PLUS};
        if (code == 108) Click(700, 485);
        else Tap(keys[code - 97]);
    }
    bool Busy() const {
        for (const CActorDie* die : scene->dice)
            if (die->vy != 0) return true;
        const CBoardState& b = scene->board;
        if (b.handIndex >= kFirstHalfHands) return false;
        for (int col = 0; col < kBoardCols; ++col) {
            const DieState& d = b.dice[DieIndex(b.handIndex, col)];
            if (d.moving || d.rolling || d.rollPending) return true;
        }
        return false;
    }
    void Settle() {
        for (int t = 0; t < 4000 && Busy(); t += 25) Run(25);
    }
    void FirstHalf() {
        const int codes[] = {97, 98, 99, 100, 101};
        for (int code : codes) {
            Tap(SDLK_RETURN);
            Settle();
            Category(code);
            Settle();
        }
    }
    void DieCentre(int row, int col, int* x, int* y) const {
        const CActor* die = scene->dice[DieIndex(row, col)];
        *x = (die->bounds.left + die->bounds.right) / 2;
        *y = (die->bounds.top + die->bounds.bottom) / 2;
    }

    // The frame as drawn, written as name.bmp.
    void Shot(const char* name) {
        SDL_Renderer* renderer = device->GetDevice();
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 800, 600, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!surface) return;
        if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, surface->pixels, surface->pitch) == 0) {
            const std::string path = out + "/" + name + ".bmp";
            if (SDL_SaveBMP(surface, path.c_str()) == 0) std::printf("%s\n", path.c_str());
        }
        SDL_FreeSurface(surface);
    }

    static std::string ProgramFolder() {
        char path[4096];
        const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
        if (n <= 0) return ".";
        path[n] = '\0';
        std::string text(path);
        return text.substr(0, text.find_last_of('/'));
    }

    std::string out;
    ShotApplication app;
    ShotScreen screen;
    MRenderDevice* device = nullptr;
    CPlayScene* scene = nullptr;
};

void TakeAll(Shots& s) {
    constexpr int kFade = 700;
    // The intro and the start of the first game.
    s.Start();
    s.Run(400);
    s.Shot("01-intro");
    s.PastIntro();
    s.Shot("02-start");
    // First half: a roll, two dice held, the second roll caught while it tumbles.
    s.Tap(SDLK_RETURN);
    s.Settle();
    int x = 0, y = 0;
    s.DieCentre(0, 1, &x, &y);
    s.Click(x, y);
    s.DieCentre(0, 3, &x, &y);
    s.Click(x, y);
    s.Run(4);
    s.Shot("03-first-half-holds");
    s.Tap(SDLK_RETURN);
    s.Run(120);
    s.Shot("04-first-half-rolling");
    s.Settle();
    s.Category(97);
    s.Settle();
    s.Tap(SDLK_RETURN);
    s.Settle();
    s.Shot("05-first-half-second-row");
    // The dialogs over the game.
    s.Tap(SDLK_KP_PERIOD);
    s.Run(40);
    s.Shot("06-dialog-new-game");
    s.Tap(SDLK_n);
    s.Run(40);
    s.Tap(SDLK_ESCAPE);
    s.Run(40);
    s.Shot("07-dialog-quit");
    s.Tap(SDLK_n);
    s.Run(40);
    s.Key(SDL_KEYDOWN, SDLK_k);
    s.Key(SDL_KEYDOWN, SDLK_q);
    s.Move(60, 580);
    s.Button(SDL_MOUSEBUTTONDOWN, 60, 580);
    s.Tap(SDLK_x);
    s.Button(SDL_MOUSEBUTTONUP, 60, 580);
    s.Key(SDL_KEYUP, SDLK_k);
    s.Key(SDL_KEYUP, SDLK_q);
    s.Run(40);
    s.Shot("08-dialog-hidden-picture");
    s.Tap(SDLK_y);
    s.Run(40);

    // Second half: line 3 chosen (its markers), a die dragged along its row.
    s.Start();
    s.PastIntro();
    s.FirstHalf();
    s.Run(100);
    s.Shot("09-second-half");
    s.Tap(SDLK_4);
    s.DieCentre(3, 1, &x, &y);
    s.Move(x, y);
    s.Button(SDL_MOUSEBUTTONDOWN, x, y);
    s.Move(x + 30, y + 6);
    s.Run(4);
    s.Shot("10-second-half-drag");
    s.Move(x + 60, y + 60);
    s.Run(4);
    s.Shot("11-second-half-drag-outside");
    s.Button(SDL_MOUSEBUTTONUP, x + 60, y + 60);
    s.Tap(SDLK_KP_MINUS);
    s.Run(4);
    s.Shot("12-second-half-help");
    s.Tap(SDLK_KP_MINUS);
    // The rest of the game, then its end message.
    s.Tap(SDLK_1);
    for (int code = 102; code <= 108; ++code) {
        s.Category(code);
        s.Run(30);
    }
    s.Run(200);
    s.Shot("13-end-message");

    // The records with filled tables: more finished games of this player.
    for (int total : {812, 1204, 640, 1512, 996, 488, 1380, 870, 1190}) {
        int all = 0, mine = 0;
        RecordGameStarted();
        RecordGameFinished(total, &all, &mine);
    }
    s.Tap(SDLK_0);
    s.Run(kFade);
    s.Shot("14-records");
    s.Tap(SDLK_KP_2);
    s.Run(40);
    s.Shot("15-dialog-erase-records");
    s.Tap(SDLK_n);
    s.Run(40);
    s.Tap(SDLK_ESCAPE);
    s.Run(kFade);
    // The options.
    s.Tap(SDLK_KP_DIVIDE);
    s.Run(kFade);
    s.Shot("16-options");
    s.Tap(SDLK_ESCAPE);
    s.Run(kFade);
    // The about pages.
    s.Tap(SDLK_F1);
    s.Run(kFade);
    s.Shot("17-about");
    const struct {
        SDL_Keycode key;
        const char* name;
    } pages[] = {{SDLK_KP_1, "18-about-page-1"}, {SDLK_KP_4, "19-about-page-2"}, {SDLK_KP_2, "20-about-page-3"}};
    for (const auto& page : pages) {
        s.Tap(page.key);
        s.Run(20);
        s.Shot(page.name);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "screenshots";
    std::error_code error;
    fs::create_directories(folder, error);
    // Headless, and a settings store of its own that is thrown away at the end.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string home = (fs::temp_directory_path() / "zanbor-shots-XXXXXX").string();
    if (!mkdtemp(home.data())) return 1;
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    int result = 1;
    {
        Shots shots(folder);
        if (shots.Open()) {
            TakeAll(shots);
            result = 0;
        }
        shots.Close();
    }
    SDL_Quit();
    fs::remove_all(home, error);
    return result;
}
