#include "common/scene/CScene.h"

#include <algorithm>
#include <vector>

#include "common/actors/CActor.h"
#include "common/scene/CCollisionMgr.h"
#include "common/scene/CInputRouting.h"
#include "common/scene/CScreen.h"
#include "common/scene/SceneKinds.h"
#include "common/actors/CSprite.h"
#include "platform/app/GameTimer.h"
#include "platform/render/MRenderDevice.h"

// The fade actor is a separate unit; the scene reaches it only when it is built in.
#if __has_include("common/actors/CActorFade.h")
#include "common/actors/CActorFade.h"
#define ZANBOR_HAVE_FADE 1
#endif

namespace {
CScene* gFirstScene = nullptr;
CScene* gLastScene = nullptr;
// Set by every invalidation, cleared when a frame is drawn; the first frame is always drawn.
int gChanged = 1;
// Frames in a row that drew nothing, with no input between them.
int gQuietFrames = 0;
// The game time of the last frame, and how far its clocks may step over an idle wait.
int gLastFrameTime = 0;
int gIdleStepAllowance = 0;
}  // namespace

CScene* CScene::First() { return gFirstScene; }

CScene* CScene::Last() { return gLastScene; }

int CScene::Now() { return GameTicks(); }

CScene::CScene(CScreen* owner, int ox, int oy, int mode, int value, int collisionOrder)
    : userValue(value), originX(ox), originY(oy), screen(owner) {
    if (mode != 3) redrawMode = mode;
    SetViewport(CRect{0, 0, owner ? owner->clientWidth : 0, owner ? owner->clientHeight : 0});
    collisionManager = std::make_unique<CCollisionMgr>(this, collisionOrder);

    previous = gLastScene;
    if (gLastScene)
        gLastScene->next = this;
    else
        gFirstScene = this;
    gLastScene = this;

    SetCapture(nullptr);
    GameTimer(TIMER_RESET);
    GameTimer(TIMER_START);
}

CScene::~CScene() {
    // First to last; each actor unlinks itself, so the list head is always the
    // next one, whatever an actor's destructor does to the others.
    while (actorFirst) delete actorFirst;
    if (previous)
        previous->next = next;
    else
        gFirstScene = next;
    if (next)
        next->previous = previous;
    else
        gLastScene = previous;
    // Nothing may route to a scene that is gone (a later scene could even be
    // given its address).
    ForgetSceneInRouting(this);
    if (previous) previous->Invalidate(nullptr);
}

void CScene::GetTargetSize(int* width, int* height) const {
    MRenderDevice* device = MRenderDevice::Current();
    if (device && device->GetBackBufferWidth() > 0) {
        *width = device->GetBackBufferWidth();
        *height = device->GetBackBufferHeight();
    } else {
        *width = viewport.right - viewport.left;
        *height = viewport.bottom - viewport.top;
    }
}

void CScene::SetViewport(const CRect& rect) {
    viewport = rect;
    int targetW = 0, targetH = 0;
    GetTargetSize(&targetW, &targetH);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if ((w == targetW && h == targetH) || w <= 0 || h <= 0) {
        scaled = 0;
        scaleX = scaleY = 256;
    } else {
        scaled = 1;
        redrawMode = 0;
        scaleX = targetW * 256 / w;
        scaleY = targetH * 256 / h;
    }
    Invalidate(nullptr);
}

void CScene::AddActor(CActor* actor) {
    CActor* before = actorFirst;
    while (before && before->z < actor->z) before = before->next;
    actor->next = before;
    actor->previous = before ? before->previous : actorLast;
    if (actor->previous)
        actor->previous->next = actor;
    else
        actorFirst = actor;
    if (before)
        before->previous = actor;
    else
        actorLast = actor;
}

void CScene::RemoveActor(CActor* actor) {
    if (actor->previous)
        actor->previous->next = actor->next;
    else if (actorFirst == actor)
        actorFirst = actor->next;
    if (actor->next)
        actor->next->previous = actor->previous;
    else if (actorLast == actor)
        actorLast = actor->previous;
    actor->previous = actor->next = nullptr;
}

int CScene::Resort(CActor* actor) {
    const bool outOfOrder =
        (actor->previous && actor->previous->z >= actor->z) || (actor->next && actor->next->z < actor->z);
    if (!outOfOrder) return 0;
    RemoveActor(actor);
    AddActor(actor);
    return 1;
}

void CScene::Invalidate(const CRect*) {
    // Redraw mode 0 (the only one in use) repaints the whole frame once anything changed.
    gChanged = 1;
}

void CScene::ForceRedraw() { gChanged = 1; }

int CScene::NeedsDrawing() {
    if (gChanged) return 1;
    MRenderDevice* device = MRenderDevice::Current();
    if (device && device->IsResetPending()) return 1;
#ifdef ZANBOR_HAVE_FADE
    // A fade changes its picture every step without moving.
    for (CScene* scene = gFirstScene; scene; scene = scene->next)
        if (scene->fade && !scene->fade->hidden && (scene->fade->revealing || scene->fade->covering)) return 1;
#endif
    return 0;
}

void CScene::ResetActors(int a, int b) {
    // A reset may change an actor's depth (SetZ) and so its place in the list:
    // the actors are taken first, so each is reset exactly once.
    std::vector<CActor*> actors;
    for (CActor* actor = actorFirst; actor; actor = actor->next) actors.push_back(actor);
    for (CActor* actor : actors) actor->ResetEffects(a, b);
}

#ifdef ZANBOR_HAVE_FADE
void CScene::FadeOut() {
    if (fade) fade->Reveal(1);
}
void CScene::FadeTo(int random, std::uint32_t colour) {
    if (fade) fade->Cover(random, colour);
}
int CScene::IsCovering() { return fade ? fade->IsCovering() : 0; }
int CScene::IsLeaving() { return fade && (fade->covering || fade->coverDone) ? 1 : 0; }
#else
void CScene::FadeOut() {}
void CScene::FadeTo(int, std::uint32_t) {}
int CScene::IsCovering() { return 0; }
int CScene::IsLeaving() { return 0; }
#endif

// --- Default virtual operations ---------------------------------------------

void CScene::OnLeftDown(int, int) {}
void CScene::OnLeftDoubleClick(int, int) {}
void CScene::OnRightDown(int, int) {}
void CScene::OnRightDoubleClick(int, int) {}
void CScene::OnLeftUp(int, int) {}
void CScene::OnRightUp(int, int) {}

void CScene::OnMouseMove(int x, int y) {
    if (screen) screen->SetDeviceCursorClientPos(x, y);
}

void CScene::OnNonClientMouseMove(int, int) {}
void CScene::ChangeScene(CScene*, int) {}
void CScene::OnDialogClosed(CScene*, int) {}

void CScene::Suspend() { suspended = 1; }

void CScene::Resume() {
    actorClock = sceneClock = Now();
    suspended = 0;
}

int CScene::OnSysKeyUp(int) { return 0; }
int CScene::OnSysKeyDown(int) { return 0; }
int CScene::OnKeyUp(int) { return 1; }

int CScene::OnKeyDown(int key) {
    switch (key) {
    case VK_PAUSE_KEY:
        if (pauseAllowed) {
            userPaused = !userPaused;
            TogglePause(1);
            if (screen) screen->ToggleMusic();
        }
        return 1;
    case VK_ESCAPE_KEY:
        return OnEscape();
    case VK_PAGE_UP:
    case VK_NUMPAD9_KEY:
        if (pagedOverlayShown) PagedOverlayPrevious();
        return 1;
    case VK_PAGE_DOWN:
    case VK_NUMPAD3_KEY:
        if (pagedOverlayShown) PagedOverlayNext();
        return 1;
    default:
        return 0;
    }
}

void CScene::SpareHook16() {}
void CScene::LoadAssets() {}
int CScene::Begin() { return 0; }
void CScene::FreeAssets() {}
void CScene::SetSoundVolume(int) {}

int CScene::IsTimeStopped() const {
    if (paused || suspended) return 1;
    if (screen && (!screen->active || screen->IsWindowMinimised())) return 1;
    return 0;
}

int CScene::StepClock(int* clock, int* primed) {
    const int now = Now();
    if (!*primed || IsTimeStopped()) *clock = now;
    *primed = 1;
    int step = now - *clock;
    *clock = now;
    // After an idle wait the step covers the wait, in which nothing was due.
    if (step > kMaxStepTicks) step = std::min(step, std::max(kMaxStepTicks, gIdleStepAllowance));
    // The game clock restarts at 0 whenever a scene is made, so an older scene
    // can see time run backwards once: that is no time at all.
    if (step < 0) step = 0;
    return step;
}

void CScene::Tick() { sceneStep = StepClock(&sceneClock, &sceneClockPrimed); }

void CScene::Draw() {
    int targetW = 0, targetH = 0;
    GetTargetSize(&targetW, &targetH);
    DrawActors(CRect{0, 0, targetW, targetH});
}

void CScene::DrawActors(const CRect& rect) {
    for (CActor* actor = actorLast; actor; actor = actor->previous) {
        if (actor->hidden || actor->z <= 0 || !RectsOverlap(actor->bounds, rect)) continue;
        actor->Draw(IntersectRect(actor->bounds, rect));
        actor->drawn = 1;
        ++collisionManager->drawnCount;
    }
}

void CScene::MarkDrawnActors(const CRect& rect) {
    for (CActor* actor = actorLast; actor; actor = actor->previous) {
        if (actor->hidden || actor->z <= 0 || !RectsOverlap(actor->bounds, rect)) continue;
        actor->drawn = 1;
        ++collisionManager->drawnCount;
    }
}

void CScene::UpdateActors() {
    const int step = StepClock(&actorClock, &actorClockPrimed);
    actorStep = step;
    actorTime += step;

    // The successor is taken before each Update: an actor made during the pass
    // is updated in this pass only when it lands after that successor.
    for (CActor* actor = actorFirst; actor;) {
        CActor* following = actor->next;
        if (!actor->dead && !actor->updated) {
            actor->Update(step);
            actor->updated = 1;
        }
        actor = following;
    }
    for (CActor* actor = actorFirst; actor;) {
        CActor* following = actor->next;
        if (actor->dead) {
            delete actor;
        } else {
            actor->PostUpdate();
            actor->updated = 0;
            actor->drawn = 0;
        }
        actor = following;
    }
    collisionManager->drawnCount = 0;
}

int CScene::ShowSecondOverlay() {
    secondOverlayShown = 1;
    return 0;
}

int CScene::PagedOverlayPrevious() {
    pagedOverlayShown = 1;
    return 0;
}

int CScene::PagedOverlayNext() {
    pagedOverlayShown = 1;
    return 0;
}

void CScene::CloseOverlay(CActor*& actor, std::unique_ptr<CSprite>& frame) {
    if (actor) {
        // Hidden at once, so nothing draws the picture freed below before the
        // scene deletes the actor.
        actor->Hide();
        actor->Kill();
        actor = nullptr;
    }
    frame.reset();
}

void CScene::CloseSecondOverlay() {
    CloseOverlay(secondOverlayActor, secondOverlayFrame);
    secondOverlayShown = 0;
}

void CScene::ClosePagedOverlay() {
    CloseOverlay(pagedOverlayActor, pagedOverlayFrame);
    pagedOverlayShown = 0;
}

int CScene::OnEscape() {
    if (!pagedOverlayShown) return 0;
    ClosePagedOverlay();
    if (screen) screen->ResumeMusic();
    if (sceneId != kSceneIdNoUnpauseOnEscape) Unpause();
    return 1;
}

int CScene::CanResumeMusic() { return userPaused ? 0 : 1; }

void CScene::SpareHook31() {}

void CScene::Pause(int) { paused = 1; }

void CScene::Unpause() { paused = 0; }

void CScene::TogglePause(int showPicture) {
    if (paused)
        Unpause();
    else if (pauseAllowed)
        Pause(showPicture);
}

int CScene::SharesScreen(const CScene* other) { return other && other->screen == screen ? 1 : 0; }

// --- Input --------------------------------------------------------------------

int CScene::Dispatch(const CMouseEvent& event) {
    if (GetCaptureScene() == this) return GetCaptureActor()->OnMouse(event);
    // A scene on its way out still follows the pointer but takes no click.
    if (event.type != MOUSE_MOVE && event.type != MOUSE_NC_MOVE && IsLeaving()) return 1;

    if (event.type != MOUSE_MOVE) {
        for (CActor* actor = actorFirst; actor;) {
            CActor* following = actor->next;
            if (!actor->hidden && actor->z < kNoHitDepth && RectContains(actor->bounds, event.x, event.y)) {
                CSprite* frame = actor->GetSprite();
                if (actor->WantsMouse(event)) {
                    if (!frame) return actor->OnMouse(event);
                    const int flipH = (actor->flip & kFlipHorizontal) ? 1 : 0;
                    const int flipV = (actor->flip & kFlipVertical) ? 1 : 0;
                    if (!frame->IsTransparentAt(event.x - actor->bounds.left, event.y - actor->bounds.top, flipV,
                                                flipH))
                        return actor->OnMouse(event);
                }
            }
            actor = following;
        }
    }

    CScene* top = Last();
    if (!top) return 0;
    switch (event.type) {
    case MOUSE_MOVE:
        top->OnMouseMove(event.x, event.y);
        return 1;
    case MOUSE_NC_MOVE:
        top->OnNonClientMouseMove(event.x, event.y);
        return 1;
    case MOUSE_LEFT_DOWN:
        leftButtonDown = 1;
        SetMouseDownScene(top);
        top->OnLeftDown(event.x, event.y);
        return 1;
    case MOUSE_LEFT_UP:
        leftButtonDown = 0;
        if (top == GetMouseDownScene()) top->OnLeftUp(event.x, event.y);
        return 1;
    case MOUSE_LEFT_DOUBLE:
        leftButtonDown = 0;
        SetMouseDownScene(top);
        top->OnLeftDoubleClick(event.x, event.y);
        return 1;
    case MOUSE_RIGHT_DOWN:
        rightButtonDown = 1;
        SetMouseDownScene(top);
        top->OnRightDown(event.x, event.y);
        return 1;
    case MOUSE_RIGHT_UP:
        rightButtonDown = 0;
        if (top == GetMouseDownScene()) top->OnRightUp(event.x, event.y);
        return 1;
    case MOUSE_RIGHT_DOUBLE:
        rightButtonDown = 0;
        SetMouseDownScene(top);
        top->OnRightDoubleClick(event.x, event.y);
        return 1;
    default:
        return 0;
    }
}

// --- The frame ----------------------------------------------------------------

void CScene::UpdateAll() {
    for (CScene* scene = gFirstScene; scene;) {
        CScene* following = scene->next;
        scene->UpdateActors();
        scene = following;
    }
}

int CScene::DrawAll() {
    if (!gFirstScene) return 0;
    MRenderDevice* device = MRenderDevice::Current();
    if (!device) return 0;
    if (!NeedsDrawing()) {
        // The screen shows this frame already: no drawing, no present, just
        // the wait for the next frame time (and the collisions of what is shown).
        for (CScene* scene = gFirstScene; scene; scene = scene->next) {
            int targetW = 0, targetH = 0;
            scene->GetTargetSize(&targetW, &targetH);
            scene->MarkDrawnActors(CRect{0, 0, targetW, targetH});
        }
        device->SkipFrame();
        for (CScene* scene = gFirstScene; scene; scene = scene->next) scene->collisionManager->RunCollisions();
        return 0;
    }
    // A lost device skips drawing and keeps the change; the next frame tries again.
    if (device->BeginFrame() != 0) return 0;
    // Cleared before drawing: a change made while drawing shows in the next frame.
    gChanged = 0;
    for (CScene* scene = gFirstScene; scene; scene = scene->next) scene->Draw();
    device->EndFrame();
    for (CScene* scene = gFirstScene; scene; scene = scene->next) scene->collisionManager->RunCollisions();
    return 1;
}

void CScene::TickAll() {
    for (CScene* scene = gFirstScene; scene;) {
        CScene* following = scene->next;
        scene->Tick();
        scene = following;
    }
}

void CScene::RunFrame() {
    gLastFrameTime = Now();
    UpdateAll();
    const int drew = DrawAll();
    TickAll();
    gIdleStepAllowance = 0;
    gQuietFrames = drew ? 0 : gQuietFrames + 1;
}

void CScene::NoteActivity() { gQuietFrames = 0; }

bool CScene::IsStepCoveringAWait() { return gIdleStepAllowance > 0; }

int CScene::IdleTicks() {
    const int timeRuns = !IsTimeStopped();
    int idle = kIdleForever;
    for (CActor* actor = actorFirst; actor; actor = actor->next) {
        const int ticks = actor->IdleTicks();
        if (ticks <= 0) return 0;
        if (timeRuns) idle = std::min(idle, ticks);
    }
    return idle;
}

int CScene::IdleTicksOfAll() {
    // A frame that drew may have set off more: one quiet frame settles it.
    if (gQuietFrames == 0 || NeedsDrawing() || !gFirstScene) return 0;
    int idle = kIdleForever;
    for (CScene* scene = gFirstScene; scene && idle > 0; scene = scene->next) idle = std::min(idle, scene->IdleTicks());
    if (idle <= 0 || idle == kIdleForever) return idle;
    const int left = idle - (Now() - gLastFrameTime);
    if (left <= 0) return 0;
    gIdleStepAllowance = idle + kMaxStepTicks;
    return left;
}

void CScene::SetOrigin(int x, int y) {
    const int dx = originX - x, dy = originY - y;
    originX = x;
    originY = y;
    if (dx == 0 && dy == 0) return;
    for (CActor* actor = actorFirst; actor; actor = actor->next) {
        // Not a move: no clipping to the actor's limits, no collisions.
        actor->x += dx;
        actor->y += dy;
        actor->UpdateBounds();
    }
    Invalidate(nullptr);
}
