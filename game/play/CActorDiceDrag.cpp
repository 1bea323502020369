#include "game/play/CActorDiceDrag.h"

#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSpriteA.h"
#include "game/play/CActorDie.h"
#include "game/play/DieAssets.h"

namespace {

constexpr int kPixel = 256;
constexpr int kOverlayLift = 2 * kPixel;

CAnimParams StillParams() {
    CAnimParams params;
    params.startIndex = 0;
    params.flip = 0;
    params.rate = 1.0f;
    return params;
}

}  // namespace

CActorDiceDrag* CreateDiceDrag(CScene* scene) {
    pDiceDrag = new CActorDiceDrag(scene, 100 * kPixel, 100 * kPixel, 100 * kPixel);
    pDiceDrag->Hide();
    return pDiceDrag;
}

CActorDiceDrag::CActorDiceDrag(CScene* owner, int px, int py, int pz) : CActorAnim(owner, px, py, pz, 0, 1) {
    overlay = new CActorAnim(owner, px, py, pz - kOverlayLift, 0, 1);
    overlay->Hide();
    AddCompanion(overlay);
    Hide();
}

CActorDiceDrag::~CActorDiceDrag() {
    if (pDiceDrag == this) pDiceDrag = nullptr;
}

void CActorDiceDrag::SetVelocityX(int nvx) { CActorAnim::SetVelocityX(nvx); }
void CActorDiceDrag::SetVelocityY(int nvy) { CActorAnim::SetVelocityY(nvy); }
int CActorDiceDrag::OnMouse(const CMouseEvent&) { return 0; }
int CActorDiceDrag::WantsMouse(const CMouseEvent&) { return 0; }

void CActorDiceDrag::SetFace(int n, int k) {
    colour = k;
    const DieAssetSet& art = DieAssets();
    SetAnimation(art.dragFaces[k & 3], StillParams(), 0, 0);
    stopAtEnd = 1;
    ShowFrame(n - 1);
    // The dragged face stands still however long the drag lasts.
    stopped = 1;
    overlay->SetAnimation(art.dragOverlay, StillParams(), 0, 0);
    overlay->ShowFrame(k);
    overlay->stopped = 1;
}

void CActorDiceDrag::StartDrag(CActorDie* die, int pointerX, int pointerY) {
    SetFace(die->GetFace(), die->ShownColour());
    SetXY(die->AbsoluteX(), die->AbsoluteY());
    offsetX = (die->AbsoluteX() >> 8) - pointerX;
    offsetY = (die->AbsoluteY() >> 8) - pointerY;
    bandTop = bounds.top;
    bandBottom = bounds.bottom;
    sourceDie = die;
    dragging = true;
}

void CActorDiceDrag::StopDrag() {
    dragging = false;
    overlay->Hide();
}

void CActorDiceDrag::Update(int ticks) {
    if (dragging && (sourceDie == nullptr || GetCaptureActor() != sourceDie)) {
        // The die lost the mouse (building a dialog or a page takes it): the
        // drag ends where it began, without a drop.
        StopDrag();
        Hide();
    }
    if (dragging && scene && scene->screen) {
        const CMouseEvent& pointer = scene->screen->event;
        if (hidden) Show();
        SetXY((pointer.x + offsetX) * kPixel, (pointer.y + offsetY) * kPixel);

        const int absX = AbsoluteX();
        const int absY = AbsoluteY();
        const bool outsideBand = bounds.top > bandBottom || bounds.bottom < bandTop;
        if (outsideBand || absX > kOverlayRight * kPixel || absX < kOverlayLeft * kPixel) {
            overlay->SetXY(absX, absY);
            overlay->Show();
        } else {
            overlay->Hide();
        }
        if (absY < kDragTop * kPixel || absY > kDragBottom * kPixel || absX < kDragLeft * kPixel ||
            absX > kDragRight * kPixel) {
            // Off the board: a release on nothing.
            CMouseEvent release;
            release.type = MOUSE_LEFT_UP;
            if (sourceDie) sourceDie->OnMouse(release);
            if (dragging) {  // the die had lost the mouse already
                StopDrag();
                Hide();
            }
        }
    }
    CActorAnim::Update(ticks);
}
