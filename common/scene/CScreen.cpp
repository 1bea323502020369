#include "common/scene/CScreen.h"

#include <algorithm>
#include <chrono>

#include "formats/CFileMM.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/COptions.h"
#include "common/actors/CActor.h"
#include "common/scene/CScene.h"
#include "common/actors/CSprite.h"
#include "platform/core/CException.h"
#include "platform/app/GameTimer.h"
#include "platform/app/MApplication.h"
#include "platform/audio/MMusicManager.h"
#include "platform/audio/MMusicSegment.h"
#include "platform/render/MRenderDevice.h"
#include "platform/audio/MSound.h"
#include "platform/audio/MSoundManager.h"

namespace {
constexpr const char* kUnit = "common/CScreen";
constexpr DWORD kSoundCreationFlags = 128;
// How long a new output scale holds still before the pictures are brought to it.
constexpr auto kScaleSettle = std::chrono::milliseconds(250);
}  // namespace

CScreen::CScreen() = default;

// Release leaves the music to OnDestroy; a screen that never quit through it
// frees the segment with its members.
CScreen::~CScreen() { Release(); }

COptions* CScreen::Options() { return gApplication ? gApplication->GetOptions() : nullptr; }

int CScreen::IsMusicSettingOff() {
    COptions* options = Options();
    return options && options->GetMusic() == -1 ? 1 : 0;
}

int CScreen::IsFullScreenMode() {
    COptions* options = Options();
    return options && options->GetFullscreenAtStart() != 0 ? 1 : 0;
}

void CScreen::DeleteScenes() {
    if (!scene) return;
    // Scenes laid over the current one (dialogs) refer to it: they go first.
    while (CScene::Last() && CScene::Last() != scene.get()) delete CScene::Last();
    scene.reset();
}

void CScreen::OnDestroy() {
    DeleteScenes();
    music.reset();
    if (gApplication) gApplication->Quit(0);
}

void CScreen::OnClose() {
    RequestScene(scene.get(), kRequestQuit, 1);
    // An inactive window runs no frame until it is active again, so a close
    // from the desktop, or a signal at the session's end, would wait for that
    // (and a game in progress would not be kept): the quit is taken now.
    if (!active) Frame();
}

void CScreen::OnSize(int, int) {
    if (IsMinimised()) {
        if (!musicPaused && !minimised) PauseMusic();
        if (scene) scene->Pause(0);
        minimised = 1;
        return;
    }
    // Only a restore from the taskbar gives back what minimising took; a plain
    // resize must not unpause a scene a dialog has paused.
    if (minimised && scene && scene->CanResumeMusic()) {
        ResumeMusic();
        scene->Unpause();
    }
    minimised = 0;
}

void CScreen::OnMove(int x, int y) {
    // The frame after the event draws the moved window: drawing here would hold
    // the loop a frame's time for every move (the window's placement at start-up too).
    InvalidateAll();
    MWindow::OnMove(x, y);
}

void CScreen::DeliverMouseEvent(int type, int x, int y) {
    event.type = type;
    event.x = static_cast<std::uint16_t>(x);
    event.y = static_cast<std::uint16_t>(y);
    DeliverMouse(event);
}

void CScreen::OnMouseMove(int x, int y) {
    if (IsFullScreenMode() && active) SetDeviceCursorClientPos(x, y);
    DeliverMouseEvent(MOUSE_MOVE, x, y);
}

void CScreen::OnNcMouseMove(int x, int y) { DeliverMouseEvent(MOUSE_NC_MOVE, x, y); }

void CScreen::OnLButtonDown(int x, int y) {
    leftButtonDown = 1;
    DeliverMouseEvent(MOUSE_LEFT_DOWN, x, y);
}

void CScreen::OnLButtonDblClk(int x, int y) { DeliverMouseEvent(MOUSE_LEFT_DOUBLE, x, y); }

void CScreen::OnRButtonDown(int x, int y) {
    rightButtonDown = 1;
    DeliverMouseEvent(MOUSE_RIGHT_DOWN, x, y);
}

void CScreen::OnRButtonDblClk(int x, int y) { DeliverMouseEvent(MOUSE_RIGHT_DOUBLE, x, y); }

void CScreen::OnLButtonUp(int x, int y) {
    leftButtonDown = 0;
    DeliverMouseEvent(MOUSE_LEFT_UP, x, y);
}

void CScreen::OnRButtonUp(int x, int y) {
    rightButtonDown = 0;
    DeliverMouseEvent(MOUSE_RIGHT_UP, x, y);
}

int CScreen::OnKeyDown(int key) { return scene ? DeliverKeyDown(key, 0) : 1; }

int CScreen::OnKeyUp(int key) { return scene ? DeliverKeyUp(key, 0) : 1; }

int CScreen::OnSysKeyDown(int key) { return scene ? DeliverKeyDown(key, 1) : 1; }

void CScreen::ToggleFullScreen() {
    MWindow::ToggleFullScreen();
    if (COptions* options = Options()) {
        options->SetFullscreen(IsFullScreenNow());
        options->Save();
    }
    InvalidateAll();
}

int CScreen::OnSysKeyUp(int key) { return scene ? DeliverKeyUp(key, 1) : 1; }

void CScreen::InvalidateAll() {
    CScene::ForceRedraw();
    if (!scene) return;
    for (CScene* s = CScene::First(); s; s = s->next) s->Invalidate(nullptr);
}

void CScreen::OnActivate(int state) {
    active = (state & 0xFFFF) != 0 ? 1 : 0;
    const int nowMinimised = ((state >> 16) & 0xFFFF) != 0 || IsWindowMinimised();
    if (!active || nowMinimised) {
        if (music && music->IsPlaying()) PauseMusic();
        GameTimer(TIMER_STOP);
        return;
    }
    GameTimer(TIMER_START);
    if (scene) {
        scene->Invalidate(nullptr);
        if (scene->CanResumeMusic()) ResumeMusic();
    }
}

int CScreen::OnSetCursor() {
    if (!IsFullScreenMode() || !active) return 0;
    // The device cursor is the desktop's own cursor here: showing it is all.
    if (MRenderDevice* device = MRenderDevice::Current()) device->ShowDeviceCursor(1);
    return 1;
}

void CScreen::OnEnterSizeMove() {
    if (scene) scene->Suspend();
    Draw();
}

void CScreen::OnExitSizeMove() {
    if (scene) scene->Resume();
}

void CScreen::Frame() {
    if (scene && !requestPending) {
        // The output's density changed (a resized or full-screen window): the
        // pictures are read again at it, in place, before the frame draws.
        MRenderDevice* device = MRenderDevice::Current();
        if (device) device->UpdateOutputScale();
        const int density = device ? device->GetPictureDensity() : 1;
        const double scale = device ? device->GetPictureScale() : 1.0;
        // Within a density a new scale is taken once it has held still for a
        // moment: while a window edge is dragged the pictures are drawn
        // smoothed from what they are, not read again at every step.
        const auto now = std::chrono::steady_clock::now();
        if (scale != pendingScale) {
            pendingScale = scale;
            pendingSince = now;
        }
        const bool settled = now - pendingSince >= kScaleSettle;
        if (archive && (density != pictureDensity || (scale != pictureScale && settled))) {
            pictureDensity = density;
            pictureScale = scale;
            try {
                CSprite::ReloadAtDensity(*archive, density);
            } catch (const CException&) {
                OnPicturesUnreadable();
                return;
            }
            InvalidateAll();
        }
        CScene::RunFrame();
        if (device && device->HasLostPictures()) OnPicturesUnreadable();
    }
}

void CScreen::OnPicturesUnreadable() { OnDestroy(); }

int CScreen::IdleMilliseconds() {
    if (!scene || requestPending) return 0;
    const int ticks = CScene::IdleTicksOfAll();
    int wait = ticks == kIdleForever ? -1 : static_cast<int>((static_cast<long long>(ticks) * 1000 + 255) / 256);
    if (archive && pendingScale != pictureScale) {
        // A frame when the new scale will have held still long enough.
        using std::chrono::milliseconds;
        const auto left = kScaleSettle - (std::chrono::steady_clock::now() - pendingSince);
        const int due = static_cast<int>(std::max<long long>(1, std::chrono::ceil<milliseconds>(left).count()));
        wait = wait < 0 ? due : std::min(wait, due);
    }
    return wait;
}

void CScreen::BeforeInput() {
    // The loop slept towards the next timed change and input woke it: the
    // time slept so far is stepped now, so that timers keep it, while what the
    // input sets moving starts from here in steps of at most kMaxStepTicks.
    if (CScene::IsStepCoveringAWait()) Frame();
}

int CScreen::BeginContent() { return 0; }

void CScreen::Release() {
    if (scene) scene->FreeAssets();
    archive.reset();
    sharedA.reset();
    sharedB.reset();
    DeleteScenes();
}

void CScreen::RequestScene(CScene* requested, int code, int resume) {
    CScene::NoteActivity();
    requestCode = code;
    requestPending = 1;
    requestResume = resume;
    requestedScene = requested ? requested : scene.get();
}

int CScreen::IsMusicOff() { return IsMusicSettingOff(); }

int CScreen::IsSoundOff() {
    COptions* options = Options();
    return options && options->GetSFX() == -1 ? 1 : 0;
}

void CScreen::SpareHook41() {}

void CScreen::Draw() {
    if (scene && !requestPending) {
        // Asked for outside the frame (a move, a size change): drawn whatever changed.
        CScene::ForceRedraw();
        CScene::DrawAll();
    }
}

void CScreen::HideSystemCursor() {
    if (MRenderDevice* device = MRenderDevice::Current()) device->SetArrowCursor();
}

int CScreen::LoadSound(MSound** sound, CFileMM* from) {
    if (!from) from = archive.get();
    if (!from) return kResultScreenLoadFailed;
    ChunkHeader header;
    from->ReadChunkHeader(&header);
    if (header.id != kIdWave) throw CFileException(kUnit, 460);
    const HRESULT result = MSoundManager::Get()->CreateSound(sound, from, kSoundCreationFlags, MAudioGuid{}, 1);
    from->Ascend();
    return AudioResult::Failed(result) ? kResultScreenLoadFailed : 0;
}

int CScreen::LoadMusic(CFileMM* from) {
    if (music) {
        music->Stop(0);
        musicPaused = 1;
        music.reset();
    }
    if (!from) from = archive.get();
    if (!from) return kResultScreenLoadFailed;
    ChunkHeader header;
    from->ReadChunkHeader(&header);
    if (header.id != kIdMidi) throw CFileException(kUnit, 515);
    MMusicSegment* loaded = nullptr;
    const int result = MMusicManager::Get()->LoadFromArchive(&loaded, *from, 1, 1);
    music.reset(loaded);
    from->Ascend();
    return result != 0 ? kResultScreenLoadFailed : 0;
}

int CScreen::PlayMusic(int loop) {
    if (!music || IsMusicSettingOff() || !musicPaused) return 0;
    if (AudioResult::Failed(music->SetRepeats(loop ? DMUS_SEG_REPEAT_INFINITE : 0))) return kResultMusicNotStarted;
    if (AudioResult::Failed(music->Play(DMUS_SEGF_BEAT, nullptr))) return kResultMusicNotStarted;
    musicPaused = 0;
    return 0;
}

void CScreen::PauseMusic() {
    if (!music) return;
    musicPaused = 1;
    music->Stop(0);
}

void CScreen::ResumeMusic() {
    if (!music || IsMusicSettingOff() || music->IsPlaying()) return;
    music->Play(DMUS_SEGF_SECONDARY, nullptr);
    musicPaused = 0;
}

void CScreen::ToggleMusic() {
    if (!music) return;
    // Music switched off in the options stays off, whatever the pause key says.
    if (musicPaused && !IsMusicSettingOff()) {
        music->Play(DMUS_SEGF_SECONDARY, nullptr);
        musicPaused = 0;
    } else {
        music->Stop(0);
        musicPaused = 1;
    }
}

void CScreen::StopMusic() {
    if (music) music->Stop(DMUS_SEGF_BEAT);
    musicPaused = 1;
}

void CScreen::SetMusicVolume(float volume) {
    if (music) music->SetVolume(volume);
}

