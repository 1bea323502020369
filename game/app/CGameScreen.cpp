#include "game/app/CGameScreen.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/actors/CActorFade.h"
#include "common/scene/CAssetLocation.h"
#include "formats/CFileMM.h"
#include "common/scene/CGame.h"
#include "common/scene/CScene.h"
#include "common/scene/SceneKinds.h"
#include "common/widgets/CSceneDialog.h"
#include "game/app/CGameApp.h"
#include "game/app/WindowFit.h"
#include "game/play/CPlayScene.h"
#include "platform/core/CException.h"
#include "platform/app/MPaths.h"
#include "platform/render/MRenderDevice.h"

namespace StartupReport {

namespace {

void MarkAt(const char* step, std::chrono::steady_clock::time_point at) {
    static const bool wanted = std::getenv("ZANBOR_REPORT_STARTUP") != nullptr;
    if (!wanted) return;
    std::fprintf(stderr, "zanbor-startup %s %lld\n", step,
                 static_cast<long long>(
                     std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch()).count()));
    std::fflush(stderr);
}

}  // namespace

void Mark(const char* step) { MarkAt(step, std::chrono::steady_clock::now()); }

void MarkPresent(const char* step) {
    // The frame shows from its present on; the wait for the next frame time
    // that follows it is not part of it.
    const MRenderDevice* device = MRenderDevice::Current();
    MarkAt(step, device && device->GetPresentCount() > 0 ? device->GetLastPresentTime()
                                                          : std::chrono::steady_clock::now());
}

}  // namespace StartupReport

namespace {

// The archive's file as the process holds it open (the asset-locating flow
// does not say where it found it); else where it would be looked for first.
std::string OpenArchivePath() {
    if (DIR* folder = opendir("/proc/self/fd")) {
        std::string found;
        while (dirent* entry = readdir(folder)) {
            char target[4096];
            std::string link = std::string("/proc/self/fd/") + entry->d_name;
            ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
            if (length <= 0) continue;
            target[length] = '\0';
            const std::size_t nameLength = std::strlen(kAssetArchiveName);
            if (static_cast<std::size_t>(length) > nameLength &&
                std::strcmp(target + length - nameLength, kAssetArchiveName) == 0 &&
                target[length - nameLength - 1] == '/')
                found = target;
        }
        closedir(folder);
        if (!found.empty()) return found;
    }
    return GetProgramFolder() + "/" + kAssetArchiveName;
}

}  // namespace

CGameScreen::CGameScreen() {
    int desktopWidth = 0, desktopHeight = 0;
    GetDesktopSize(&desktopWidth, &desktopHeight);
    clientWidth = 800;
    clientHeight = 600;
    clientLeft = (desktopWidth - 800) / 2;
    clientTop = (desktopHeight - 600) / 2;
}

CGameScreen::~CGameScreen() = default;

void CGameScreen::GameSceneOrigin(int* x, int* y) const {
    const bool crop = designCropped >= 0 ? designCropped != 0 : !IsFullScreenNow();
    *x = crop ? kWindowedOriginX : 0;
    *y = crop ? kWindowedOriginY : 0;
}

bool CGameScreen::ShowsWindowCrop() const {
    if (!handle) return !IsFullScreenNow();
    if (IsFullScreenNow()) return false;
    int width = 0, height = 0;
    GetClientSize(&width, &height);
    return width == kWindowDesignWidth && height == kWindowDesignHeight;
}

void CGameScreen::FitDesign() {
    const int crop = ShowsWindowCrop() ? 1 : 0;
    MRenderDevice* device = MRenderDevice::Current();
    if (device && device->GetFocusWindow() == handle && device->GetDevice()) {
        device->SetModeSizes(crop ? kWindowDesignWidth : kFullDesignWidth, crop ? kWindowDesignHeight : kFullDesignHeight,
                             kFullDesignWidth, kFullDesignHeight);
        if (crop != designCropped) device->SwitchMode(IsFullScreenNow());
    }
    if (crop == designCropped) return;
    designCropped = crop;
    int x = 0, y = 0;
    GameSceneOrigin(&x, &y);
    // The game and the pages over it share its origin; dialogs keep theirs.
    for (CScene* s = CScene::First(); s; s = s->Next())
        if (!dynamic_cast<CSceneDialog*>(s)) s->SetOrigin(x, y);
    InvalidateAll();
}

void CGameScreen::ToggleFullScreen() {
    CScreen::ToggleFullScreen();
    FitDesign();
}

void CGameScreen::OnSize(int width, int height) {
    CScreen::OnSize(width, height);
    if (!IsMinimised()) FitDesign();
}

int CGameScreen::CreateContent() {
    archive = std::make_unique<CFileMM>();
    std::string damaged;
    const int opened = OpenAssetArchive(archive.get(), kAssetArchiveName, handle, ".", &damaged);
    if (opened != 0) {
        if (damaged.empty()) return kResultAssetsGivenUp;
        ReportDamagedArchive(damaged);
        return kResultPlayAssetsNotLoaded;
    }
    StartupReport::Mark("archive");
    HideSystemCursor();
    if (MakeGameScene() != 0) {
        // A game with missing pictures or sounds is no game: the player learns
        // that the archive is damaged, and start-up ends.
        ReportDamagedArchive(OpenArchivePath());
        return kResultPlayAssetsNotLoaded;
    }
    return 0;
}

int CGameScreen::MakeGameScene() {
    int originX = 0, originY = 0;
    GameSceneOrigin(&originX, &originY);
    auto* play = new CPlayScene(this, originX, originY, 0, 0, 1);
    scene.reset(play);
    try {
        play->LoadAssets();
    } catch (const CFileException&) {
        // Data cut short or malformed inside an archive that opened.
        return kResultPlayAssetsNotLoaded;
    }
    return play->GetLoadResult();
}

std::vector<MMidiInstrument> CGameScreen::TuneInstruments() {
    std::vector<MMidiInstrument> instruments;
    if (!archive) return instruments;
    try {
        const long here = archive->Tell();
        for (int entry : kMusicEntries) {
            archive->SeekEntry(entry);
            ChunkHeader header;
            archive->ReadChunkHeader(&header);
            // A chunk claiming more than the file holds is damaged: no buffer of its claimed size.
            if (header.id != kIdMidi || archive->Remaining() > archive->Size() - archive->Tell()) return {};
            std::vector<std::uint8_t> tune(static_cast<std::size_t>(std::max(0L, archive->Remaining())));
            if (!tune.empty()) archive->ReadBytes(tune.data(), static_cast<int>(tune.size()));
            archive->Ascend();
            const std::vector<MMidiInstrument> used = ReadMidiInstruments(tune.data(), tune.size());
            instruments.insert(instruments.end(), used.begin(), used.end());
        }
        archive->Seek(here, kSeekBegin);
    } catch (const CException&) {
        return {};
    }
    return instruments;
}

void CGameScreen::ReportDamagedArchive(const std::string& path) {
    char text[512];
    std::snprintf(text, sizeof text, kMessageArchiveDamaged.text, path.c_str());
    CGameApp::ShowMessage({kMessageArchiveDamaged.caption, kMessageArchiveDamaged.icon, text}, handle);
}

void CGameScreen::OnPicturesUnreadable() {
    ReportDamagedArchive(OpenArchivePath());
    OnDestroy();
}

int CGameScreen::BeginContent() {
    if (scene) scene->Begin();
    if (auto* play = dynamic_cast<CPlayScene*>(scene.get())) play->OfferSavedGame();
    // The scene's beginning presents its first frame (the moment, not the
    // wait for the next frame time that follows it).
    if (MRenderDevice* device = MRenderDevice::Current(); device && device->GetPresentCount() > 0 && scene) {
        firstFrameReported = 1;
        StartupReport::MarkPresent("first-frame");
    }
    return 0;
}

int CGameScreen::IsMusicOff() { return audioReady ? CScreen::IsMusicOff() : 1; }

int CGameScreen::IsSoundOff() { return audioReady ? CScreen::IsSoundOff() : 1; }

void CGameScreen::Frame() {
    if (requestPending && requestedScene) {
        CScene* requested = requestedScene;
        const int code = requestCode;
        const int resume = requestResume;
        if (code == kRequestQuit) {
            // Esc, the window's close, SIGTERM and the session's end all come here.
            if (auto* play = dynamic_cast<CPlayScene*>(scene.get())) play->KeepGameInProgress();
            OnDestroy();
            // The scene it named is gone: nothing may reach it again.
            requestedScene = nullptr;
            CScreen::Frame();
            return;
        }
        switch (requested->sceneId) {
        case kSceneKindDialog:
            CloseDialog(requested, code, resume);
            return;
        case kSceneKindOptions:
        case kSceneKindRecords:
        case kSceneKindAbout:
            CloseFrontEnd(requested, requested->sceneId, code, resume);
            return;
        default:
            RestartGameScene();
            break;
        }
    }
    CScreen::Frame();
    if (!firstFrameReported && scene && !requestPending) {
        firstFrameReported = 1;
        StartupReport::MarkPresent("first-frame");
    }
    // The first frame the fade-in lets the board through (its second step on).
    if (firstFrameReported && !firstColourReported && scene &&
        (!scene->fade || !scene->fade->revealing || scene->fade->step >= 2)) {
        firstColourReported = 1;
        StartupReport::MarkPresent("first-colour");
    }
}

void CGameScreen::CloseDialog(CScene* dialog, int code, int resume) {
    requestPending = 0;
    requestedScene = nullptr;
    delete dialog;
    CScene* below = CScene::Last();
    if (!below) return;
    // The dialog's address is only compared by the scene below, never followed.
    below->OnDialogClosed(dialog, code);
    below->Invalidate(nullptr);
    if (resume && below->openDialogs == 0) below->Unpause();
}

void CGameScreen::CloseFrontEnd(CScene* frontEnd, int kind, int code, int resume) {
    CScene* game = scene.get();
    if (game) game->FadeOut();
    requestPending = 0;
    requestedScene = nullptr;
    delete frontEnd;
    if (!game) return;
    game->OnDialogClosed(frontEnd, code);
    game->Invalidate(nullptr);
    auto* play = dynamic_cast<CPlayScene*>(game);
    if (kind == kSceneKindOptions && play) {
        play->ReloadInitials();
        play->optionsOpen = false;
    }
    if (kind == kSceneKindRecords && play) play->recordsOpen = false;
    if (kind == kSceneKindAbout) game->pagedOverlayShown = 0;
    if (resume && game->openDialogs == 0) game->Unpause();
    auto* board = dynamic_cast<CGame*>(game);
    if (!board || !board->gameOver) PlayMusic(1);
}

void CGameScreen::RestartGameScene() {
    // The game scene starts afresh: the old one goes with its actors and
    // assets (loading and beginning it again over them would double both).
    DeleteScenes();
    requestPending = 0;
    requestedScene = nullptr;
    if (MakeGameScene() == 0) {
        scene->Begin();
    } else {
        ReportDamagedArchive(OpenArchivePath());
        OnDestroy();
    }
}
