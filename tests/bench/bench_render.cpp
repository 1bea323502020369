// A frame like the play screen's on the software renderer of SDL's dummy video
// driver: one 800 x 600 surface copied opaque, then 120 sprites of 48 x 48 with
// alpha, 20 of them mirrored. Reports the median frame time; and the CPU share
// of a window that keeps redrawing that still scene at its paced rate.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <vector>

#include "tools/demos/DemoShell.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MSurface.h"
#include "platform/render/MTexture.h"
#include "tests/support/PictureMaker.h"

namespace {

using Clock = std::chrono::steady_clock;

MImage Picture(int w, int h, std::uint32_t (*colour)(int, int, int, int)) {
    return MakeImage(w, h, [=](int x, int y) { return colour(x, y, w, h); });
}

// A round die-like picture: opaque inside, a soft edge, clear corners.
std::uint32_t Disc(int x, int y, int w, int h) {
    const int dx = 2 * x - w + 1, dy = 2 * y - h + 1, r = w - 2;
    const int d2 = dx * dx + dy * dy;
    std::uint32_t alpha = d2 < (r - 6) * (r - 6) ? 0xFF : d2 < r * r ? 0x80 : 0x00;
    return static_cast<std::uint32_t>(0x30 + x * 4) << 24 | static_cast<std::uint32_t>(0x80 + y * 2) << 16 |
           0x4000u | alpha;
}

std::uint32_t Backdrop(int x, int y, int, int) {
    return static_cast<std::uint32_t>(x & 0xFF) << 24 | static_cast<std::uint32_t>(y & 0xFF) << 16 | 0x6000u | 0xFF;
}

// The scene: window, device, background and sprites.
class PlayScreen {
public:
    PlayScreen() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_RENDER_DRIVER", "software", 0);
        window.Create(nullptr, "Zanbor", 800, 600, 0x11B);
        device = MRenderDevice::Get(window.handle);
        device->deviceType = 0;
        ok = device->CreateDevice(0, 800, 600) == 0;
        background = std::make_unique<MSurface>(0, 0, 0);
        background->SetImage(Picture(800, 600, Backdrop), 0, 0);
        for (int i = 0; i < 4; ++i) {
            sprites.push_back(std::make_unique<MTexture>());
            sprites.back()->SetImage(Picture(48, 48, Disc), 0, 0);
        }
    }

    void Draw() {
        device->BeginFrame();
        background->CopyToBackBuffer(nullptr, nullptr);
        const RECT source{0, 0, 48, 48};
        for (int i = 0; i < 120; ++i) {
            const int x = 20 + (i % 15) * 50, y = 20 + (i / 15) * 70;
            RECT dest{x, y, x + 48, y + 48};
            // Every sixth sprite is mirrored, the three ways in turn: 20 in all.
            const int flags = i % 6 == 0 ? (i / 6 % 3 == 0 ? 1 : i / 6 % 3 == 1 ? 16 : 17) : 0;
            sprites[i % sprites.size()]->Draw(&dest, &source, flags);
        }
        device->EndFrame();
    }

    DemoShellWindow window;
    MRenderDevice* device = nullptr;
    std::unique_ptr<MSurface> background;
    std::vector<std::unique_ptr<MTexture>> sprites;
    bool ok = false;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void BM_PlayScreenFrame(benchmark::State& state) {
    PlayScreen screen;
    if (!screen.ok) {
        state.SkipWithError("no renderer");
        return;
    }
    screen.device->SetFramePacing(0);  // the frame's own work only
    std::vector<double> frames;
    for (auto _ : state) {
        auto start = Clock::now();
        screen.Draw();
        frames.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    state.counters["median_frame_ms"] = Median(frames);
}
BENCHMARK(BM_PlayScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

// Ten seconds of a still screen redrawn at the paced rate.
void BM_StillScreenPacedCpuShare(benchmark::State& state) {
    PlayScreen screen;
    if (!screen.ok) {
        state.SkipWithError("no renderer");
        return;
    }
    screen.device->SetFramePacing(1);
    for (auto _ : state) {
        const double cpuBefore = CpuSeconds();
        const auto start = Clock::now();
        int frames = 0;
        while (Clock::now() - start < std::chrono::seconds(10)) {
            screen.Draw();
            ++frames;
        }
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        state.counters["cpu_share_percent"] = 100.0 * (CpuSeconds() - cpuBefore) / wall;
        state.counters["frames_per_second"] = frames / wall;
    }
}
BENCHMARK(BM_StillScreenPacedCpuShare)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
