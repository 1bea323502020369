// zanbor_screenshots [--size WxH] [FOLDER]: runs the real play scene and the pages over it on SDL's
// dummy drivers, with the packed archive beside the program, a throw-away settings
// store, a fixed random seed and a game clock of its own, and writes a BMP picture of
// each state into FOLDER (default "screenshots"): the intro, the start, a first-half
// roll with holds, the second half with a drag and the markers, an end message, the
// options, the records with a filled table, each about page and each dialog. With
// --size the output is that large, the design scaled and centred in it.
// With --roll-timing it writes no pictures: it rolls the first row three times
// and prints how long the frames of the rolls took to draw (median, slowest).

#include <SDL2/SDL.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>
#include <filesystem>
#include <string>

#include "game/rules/Random.h"
#include "game/rules/Records.h"
#include "tests/support/GameHarness.h"

namespace {

namespace fs = std::filesystem;

class Shots : public harness::PlayDriver {
public:
    explicit Shots(std::string folder) : out(std::move(folder)) {}

    bool Open() {
        harness::StartClock();
        SeedRandom(1234);
        app.OpenRegistryRoot();
        gApplication = &app;
        app.GetOptions()->Load();
        app.GetOptions()->SetShowHints(1);
        target = screen = new harness::RequestScreen;
        device = harness::OpenWindow(*screen);
        if (!device) return false;
        harness::OpenSound();
        if (!harness::OpenArchive(*screen, ProgramFolder())) {
            std::fprintf(stderr, "zanbor_screenshots: no zanborassets.mm beside the program\n");
            return false;
        }
        return true;
    }
    void Close() { harness::CloseAll(screen); }

    // A new play scene, begun as the game screen begins it.
    void Start() {
        // Every scene goes, the screen's own among them: it must not delete it again.
        (void)screen->scene.release();
        while (CScene::Last()) delete CScene::Last();
        Begin();
    }
    void Settle() { SettleRow(); }
    // The milliseconds each frame of a roll takes, a frame every 1/60 s of game time.
    std::vector<double> RollFrameTimes() {
        std::vector<double> times;
        Tap(SDLK_RETURN);
        while (RowBusy()) {
            harness::AdvanceTicks(4);
            const auto start = std::chrono::steady_clock::now();
            screen->Frame();
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        return times;
    }
    void FirstHalf() {
        for (int code : {97, 98, 99, 100, 101}) {
            Tap(SDLK_RETURN);
            Settle();
            Category(code);
            Settle();
        }
    }
    void DieCentre(int row, int col, int* x, int* y) {
        *x = MidX(Die(row, col));
        *y = MidY(Die(row, col));
    }

    // The window made as large as an output of that size (the design scaled
    // into it), before the scenes load their pictures.
    void SetOutputSize(int w, int h) {
        SDL_SetWindowSize(screen->handle, w, h);
        device->SetMarginColour(0x1D4D3A);  // the table's felt, as the game sets it
        device->UpdateOutputScale();
    }

    // The frame as drawn, written as name.bmp.
    void Shot(const char* name) {
        SDL_Renderer* renderer = device->GetDevice();
        int w = 800, h = 600;
        SDL_GetRendererOutputSize(renderer, &w, &h);
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
        if (!surface) return;
        // The whole output, margins included: the read covers the viewport only.
        int logicalW = 0, logicalH = 0;
        SDL_RenderGetLogicalSize(renderer, &logicalW, &logicalH);
        SDL_RenderSetLogicalSize(renderer, 0, 0);
        const int read = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, surface->pixels, surface->pitch);
        SDL_RenderSetLogicalSize(renderer, logicalW, logicalH);
        if (read == 0) {
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
    harness::OptionsApplication app;
    MRenderDevice* device = nullptr;
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

void TimeRolls(Shots& s) {
    s.Start();
    s.PastIntro();
    std::vector<double> times;
    for (int roll = 0; roll < 3; ++roll)
        for (double ms : s.RollFrameTimes()) times.push_back(ms);
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    int w = 0, h = 0;
    SDL_GetRendererOutputSize(s.device->GetDevice(), &w, &h);
    std::printf("roll frames at %dx%d: %zu frames, median %.1f ms, slowest %.1f ms\n", w, h, times.size(),
                times[times.size() / 2], times.back());
}

}  // namespace

int main(int argc, char** argv) {
    // [--size WxH] [--roll-timing] [FOLDER]
    std::string folder = "screenshots";
    int outputW = 0, outputH = 0;
    bool rollTiming = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--roll-timing") {
            rollTiming = true;
        } else if (arg == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &outputW, &outputH) != 2 || outputW < 1 || outputH < 1) {
                std::fprintf(stderr, "zanbor_screenshots: --size takes WIDTHxHEIGHT\n");
                return 64;
            }
        } else if (arg.size() > 1 && arg[0] == '-') {
            // An option it does not know (--help too) is not a folder to fill.
            std::fprintf(stderr, "usage: zanbor_screenshots [--size WIDTHxHEIGHT] [--roll-timing] [FOLDER]\n");
            return arg == "--help" || arg == "-h" ? 0 : 64;
        } else {
            folder = arg;
        }
    }
    std::error_code error;
    if (!rollTiming) fs::create_directories(folder, error);
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
            if (outputW > 0) shots.SetOutputSize(outputW, outputH);
            if (rollTiming)
                TimeRolls(shots);
            else
                TakeAll(shots);
            result = 0;
        }
        shots.Close();
    }
    fs::remove_all(home, error);
    return result;
}
