#include "game/play/CActorDiceDrag.h"

#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"
#include "common/scene/CScreen.h"
#include "common/actors/CSpriteA.h"
#include "game/play/CActorDie.h"
#include "game/play/DieAssets.h"

namespace {

constexpr int kOverlayLift = ToFixed(2);

CAnimParams StillParams() {
    CAnimParams params;
    params.startIndex = 0;
    params.flip = 0;
    params.rate = 1.0f;
    return params;
}

}  // namespace

CActorDiceDrag* CreateDiceDrag(CScene* scene) {
    pDiceDrag = new CActorDiceDrag(scene, ToFixed(100), ToFixed(100), ToFixed(100));
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
    offsetX = FromFixed(die->AbsoluteX()) - pointerX;
    offsetY = FromFixed(die->AbsoluteY()) - pointerY;
    bandTop = bounds.top;
    bandBottom = bounds.bottom;
    sourceDie = die;
    dragging = true;
}

void CActorDiceDrag::StopDrag() {
    dragging = false;
    overlay->Hide();
}

int CActorDiceDrag::IdleTicks() { return dragging ? 0 : CActorAnim::IdleTicks(); }

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
        SetXY(ToFixed(pointer.x + offsetX), ToFixed(pointer.y + offsetY));

        const int absX = AbsoluteX();
        const int absY = AbsoluteY();
        const bool outsideBand = bounds.top > bandBottom || bounds.bottom < bandTop;
        if (outsideBand || absX > ToFixed(kOverlayRight) || absX < ToFixed(kOverlayLeft)) {
            overlay->SetXY(absX, absY);
            overlay->Show();
        } else {
            overlay->Hide();
        }
        if (absY < ToFixed(kDragTop) || absY > ToFixed(kDragBottom) || absX < ToFixed(kDragLeft) ||
            absX > ToFixed(kDragRight)) {
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
