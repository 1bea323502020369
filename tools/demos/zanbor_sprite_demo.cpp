// Opens a real window and shows the sprite path at work: a backdrop surface, a
// row of sprites, mirrored copies, one sprite fading in and out and one turning.
// Closes by itself after a few seconds (ZANBOR_DEMO_SECONDS, default 4). The
// dice come from the packed archive beside the program (the first face array of
// entry 9); without an archive, a die is drawn in memory.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <numbers>

#include "formats/CFileMM.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "tools/demos/DemoShell.h"
#include "platform/core/CException.h"
#include "platform/app/MPaths.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MSurface.h"
#include "platform/render/MTexture.h"
#include "tests/support/PictureMaker.h"
#include "tools/demos/DemoWindow.h"

namespace {

using Clock = std::chrono::steady_clock;


// A die face with a pip in its top-left quarter, so mirrors are easy to see.
std::uint32_t Die(int x, int y) {
    const int cx = x - 32, cy = y - 32;
    if (cx * cx + cy * cy > 30 * 30 && (std::abs(cx) > 26 || std::abs(cy) > 26)) return 0;  // rounded corners
    const int px = x - 18, py = y - 18;
    if (px * px + py * py < 36) return 0x202020FFu;
    return 0xF0E8D0FFu;
}

std::uint32_t Backdrop(int x, int y) {
    const std::uint32_t g = 0x40 + (y * 0x40) / 600;
    return static_cast<std::uint32_t>(0x10 + (x * 0x20) / 800) << 24 | g << 16 | 0x3000u | 0xFF;
}

class DemoWindow : public DemoShellWindow {
public:
    void Frame() override;

    std::unique_ptr<MSurface> backdrop;
    std::unique_ptr<MTexture> madeDie;
    std::unique_ptr<CSpriteArray> faces;  // from the archive
    MTexture* die = nullptr;
    RECT source{0, 0, 64, 64};
    Clock::time_point start = Clock::now();
    double seconds = 4.0;
};

void DemoWindow::Frame() {
    MRenderDevice* device = MRenderDevice::Current();
    const double t = std::chrono::duration<double>(Clock::now() - start).count();
    if (t > seconds) {
        gApplication->Quit(0);
        return;
    }
    if (!device || device->BeginFrame() != 0) return;
    backdrop->CopyToBackBuffer(nullptr, nullptr);
    const int flags[] = {0, 1, 16, 17};
    for (int i = 0; i < 4; ++i) {
        RECT dest{100 + i * 150, 150, 164 + i * 150, 214};
        die->Draw(&dest, &source, flags[i]);
    }
    // Every face of the archive's array in a row.
    for (int i = 0; faces && i < faces->GetCount(); ++i)
        if (CSprite* face = faces->Get(i)) {
            RECT dest{100 + i * 60, 260, 100 + i * 60 + face->w, 260 + face->h};
            face->DrawFrame(&dest, nullptr, 0);
        }
    // Fading: the tint's alpha follows a slow wave.
    const auto alpha = static_cast<std::uint32_t>(127.5 + 127.5 * std::sin(t * 3.0));
    RECT fading{250, 350, 378, 478};
    die->DrawEx(&fading, &source, 0, alpha << 24 | 0xFFFFFFu, 0.0f, nullptr);
    RECT turning{450, 350, 514, 414};
    die->DrawEx(&turning, &source, 0, 0xFFFFC0C0u, static_cast<float>(t * std::numbers::pi / 2), nullptr);
    device->EndFrame();
}

class DemoApp : public DemoShellApp {
public:
    int OnInit() override {
        MApplication::OnInit();
        auto* window = new DemoWindow;
        if (!OpenDemoWindow(this, window, name, &window->seconds)) return 0;
        window->backdrop = std::make_unique<MSurface>(0, 0, 0);
        window->backdrop->SetImage(MakeImage(800, 600, Backdrop), 0, 0);
        LoadDice(window);
        if (!window->die) {
            window->madeDie = std::make_unique<MTexture>();
            window->madeDie->SetImage(MakeImage(64, 64, Die), 0, 0);
            window->die = window->madeDie.get();
        }
        return 1;
    }

    // The first face array of the dice's run: after their six sounds.
    static void LoadDice(DemoWindow* window) {
        CFileMM archive;
        try {
            std::string packed = GetProgramFolder() + "/zanborassets.mm";
            if (archive.OpenArchive(MakeFileSpec(packed.c_str()), kModeReadExisting) != 0) return;
            archive.SeekEntry(9);
            for (int i = 0; i < 6; ++i) {
                ChunkHeader header;
                archive.ReadChunkHeader(&header);
                archive.Ascend();
            }
            window->faces.reset(LoadSpriteArray(archive, 1));
        } catch (const CFileException& e) {
            std::fprintf(stderr, "archive: %s\n", e.Report().c_str());
            return;
        }
        // The two: not symmetric, so each mirror shows.
        CSprite* first = window->faces ? window->faces->Get(1) : nullptr;
        if (first && first->texture) {
            window->die = first->texture;
            window->source = RECT{0, 0, first->w, first->h};
        }
    }
};

}  // namespace

int main() {
    return ApplicationMain([]() -> MApplication* { return new DemoApp; });
}
