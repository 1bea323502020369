// A scene of animated dice in a real window: click a die to bring it to the
// front, drag it anywhere, press Escape or close the window to end. The dice
// come from the packed archive (entry 9) when zanborassets.mm is found beside
// the program, in build/bin or at $ZANBOR_DEMO_ARCHIVE, else from pictures
// drawn in memory. With ZANBOR_DEMO_SECONDS set the demo ends by itself after
// that many seconds (for smoke tests).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/actors/CActorAnim.h"
#include "common/widgets/CActorHotspot.h"
#include "common/scene/CFixPoint.h"
#include "formats/CFileMM.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSprite.h"
#include "common/actors/CSpriteA.h"
#include "platform/core/CException.h"
#include "platform/storage/FileLocation.h"
#include "platform/app/MApplication.h"
#include "formats/MImage.h"
#include "platform/render/MRenderDevice.h"
#include "platform/render/MTexture.h"
#include "tests/support/PictureMaker.h"
#include "tools/demos/DemoWindow.h"

namespace {

constexpr int kDieSize = 40;
constexpr int kFaceCount = 6;
constexpr int kColours = 4;

// A die face of `pips` in one colour, centred on its anchor.
CSprite* DrawFace(std::uint32_t colour, int pips) {
    MImage image;
    image.width = image.height = kDieSize;
    image.depth = 32;
    image.hasAlpha = 1;
    image.lastRow = image.lastColumn = kDieSize - 1;
    image.xOrigin = image.yOrigin = -kDieSize / 2;
    image.pixels.assign(kDieSize * kDieSize, 0);
    static const int kPipSpots[7][6][2] = {
        {},
        {{20, 20}},
        {{10, 10}, {30, 30}},
        {{10, 10}, {20, 20}, {30, 30}},
        {{10, 10}, {30, 10}, {10, 30}, {30, 30}},
        {{10, 10}, {30, 10}, {20, 20}, {10, 30}, {30, 30}},
        {{10, 10}, {30, 10}, {10, 20}, {30, 20}, {10, 30}, {30, 30}},
    };
    for (int y = 0; y < kDieSize; ++y) {
        for (int x = 0; x < kDieSize; ++x) {
            // Rounded corners stay transparent, so clicks there fall through.
            const int cx = x < 6 ? 6 - x : x > 33 ? x - 33 : 0;
            const int cy = y < 6 ? 6 - y : y > 33 ? y - 33 : 0;
            if (cx * cx + cy * cy > 36) continue;
            std::uint32_t pixel = colour;
            for (int p = 0; p < pips; ++p) {
                const int dx = x - kPipSpots[pips][p][0], dy = y - kPipSpots[pips][p][1];
                if (dx * dx + dy * dy <= 12) pixel = 0xF8F8F8FFu;
            }
            image.pixels[y * kDieSize + x] = pixel;
        }
    }
    auto* texture = new MTexture();
    texture->SetImage(image, kDieSize, kDieSize);
    auto* frame = new CSprite;
    frame->texture = texture;
    frame->w = texture->GetWidth();
    frame->h = texture->GetHeight();
    frame->ox = texture->GetOriginX();
    frame->oy = texture->GetOriginY();
    return frame;
}

CSprite* DrawBackground() {
    MImage image = MakeImage(800, 600, [](int x, int y) { return (x / 40 + y / 40) % 2 ? 0x1E5A32FFu : 0x22663AFFu; });
    auto* texture = new MTexture();
    texture->SetImage(image, 800, 600);
    auto* frame = new CSprite;
    frame->texture = texture;
    frame->w = 800;
    frame->h = 600;
    return frame;
}

std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    path[n] = 0;
    std::string folder(path);
    return folder.substr(0, folder.rfind('/'));
}

// A die that plays its faces back and forth and can be dragged.
class DemoDie : public CActorAnim {
public:
    DemoDie(CScene* scene, int x, int y, int z, CSpriteArray* faces, float rate)
        : CActorAnim(scene, ToFixed(x), ToFixed(y), ToFixed(z), faces, CAnimParams{0, 0, rate}, 0, 0) {
        SetPingPong(1);
    }
    int WantsMouse(const CMouseEvent& event) override {
        return event.type == MOUSE_LEFT_DOWN || event.type == MOUSE_LEFT_UP ? 1 : 0;
    }
    int OnMouse(const CMouseEvent& event) override {
        switch (event.type) {
        case MOUSE_LEFT_DOWN:
            SetCapture(this);
            grabX = AbsoluteX() - ToFixed(event.x);
            grabY = AbsoluteY() - ToFixed(event.y);
            SetZ(ToFixed(1000) - ++frontDepth);  // the last one picked is nearest
            stopped = 1;
            return 1;
        case MOUSE_MOVE:
            SetXY(ToFixed(event.x) + grabX, ToFixed(event.y) + grabY);
            return 1;
        case MOUSE_LEFT_UP:
            SetCapture(nullptr);
            stopped = 0;
            return 1;
        default:
            return 0;
        }
    }
    static inline int frontDepth = 0;

private:
    int grabX = 0;
    int grabY = 0;
};

class DemoScene : public CScene {
public:
    explicit DemoScene(CScreen* screen) : CScene(screen, 0, 0, 0, 0, 1) {}
    ~DemoScene() override { FreeAssets(); }

    void LoadAssets() override {
        if (screen->archive && LoadFromArchive(*screen->archive)) {
            std::printf("zanbor_scene_demo: dice from the archive\n");
        } else {
            for (int colour = 0; colour < kColours; ++colour) {
                static const std::uint32_t kColoursRgba[kColours] = {0xC0392BFFu, 0x2E86C1FFu, 0xD4AC0DFFu,
                                                                     0x7D3C98FFu};
                auto faces = std::make_unique<CSpriteArray>(kFaceCount);
                for (int i = 0; i < kFaceCount; ++i) faces->Set(i, DrawFace(kColoursRgba[colour], i + 1));
                faces->count = kFaceCount;
                arrays.push_back(std::move(faces));
            }
            std::printf("zanbor_scene_demo: dice drawn in memory\n");
        }
        background.reset(DrawBackground());
        new CActorSprite(this, 0, 0, ToFixed(32766), background.get(), 0);
        for (int i = 0; i < 20; ++i) {
            CSpriteArray* faces = arrays[i % arrays.size()].get();
            new DemoDie(this, 120 + (i % 5) * 140, 120 + (i / 5) * 110, 1000, faces, 2.0f + (i % 7));
        }
        // The top-left corner acts as the Escape key.
        new CActorHotspot(this, CRect{0, 0, 40, 40}, ToFixed(500), 27);
    }

    void FreeAssets() override {
        while (CActor* actor = FirstActor()) delete actor;
        arrays.clear();
        background.reset();
    }

    int OnEscape() override {
        screen->RequestScene(nullptr, kRequestQuit, 1);
        return 1;
    }

private:
    bool LoadFromArchive(CFileMM& archive) {
        try {
            archive.SeekEntry(9);
            for (int i = 0; i < 6; ++i) {  // the dice's sounds come first
                ChunkHeader header;
                archive.ReadChunkHeader(&header);
                archive.Ascend();
            }
            for (int colour = 0; colour < kColours; ++colour) {
                std::unique_ptr<CSpriteArray> faces(LoadSpriteArray(archive, 1));
                if (!faces || faces->GetCount() == 0) return false;
                arrays.push_back(std::move(faces));
            }
            return true;
        } catch (const CException& error) {
            std::fprintf(stderr, "zanbor_scene_demo: archive unusable (%s)\n", error.Report().c_str());
            arrays.clear();
            return false;
        }
    }

    std::vector<std::unique_ptr<CSpriteArray>> arrays;
    std::unique_ptr<CSprite> background;
};

class DemoScreen : public CScreen {
public:
    int CreateContent() override {
        std::vector<std::string> places;
        if (const char* env = std::getenv("ZANBOR_DEMO_ARCHIVE")) places.push_back(env);
        places.push_back(ProgramFolder() + "/zanborassets.mm");
        places.push_back("build/bin/zanborassets.mm");
        for (const std::string& place : places) {
            if (access(place.c_str(), R_OK) != 0) continue;
            auto file = std::make_unique<CFileMM>();
            try {
                if (file->OpenArchive(MakeFileSpec(place.c_str()), kModeReadExisting) == 0) {
                    archive = std::move(file);
                    break;
                }
            } catch (const CException&) {
            }
        }
        HideSystemCursor();
        scene = std::make_unique<DemoScene>(this);
        scene->LoadAssets();
        return 0;
    }

    void Frame() override {
        if (stopAfterSeconds > 0 && !requestPending &&
            std::chrono::steady_clock::now() - started > std::chrono::duration<double>(stopAfterSeconds))
            RequestScene(nullptr, kRequestQuit, 1);
        if (requestPending && requestCode == kRequestQuit) {
            requestPending = 0;
            OnDestroy();
            return;
        }
        CScreen::Frame();
    }

    double stopAfterSeconds = 0;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

class DemoApp : public MApplication {
public:
    DemoApp() { std::snprintf(name, sizeof name, "%s", "ZanborSceneDemo"); }
    ~DemoApp() override { OnExit(); }

    int OnInit() override {
        MApplication::OnInit();
        auto* demo = new DemoScreen;
        if (!OpenDemoWindow(this, demo, "Zanbor scene demo", &demo->stopAfterSeconds)) return 0;
        demo->CreateContent();
        demo->BeginContent();
        return 1;
    }
    void OnExit() override {}
    COptions* GetOptions() override { return nullptr; }
};

}  // namespace

int main() {
    return ApplicationMain([]() -> MApplication* { return new DemoApp; });
}
