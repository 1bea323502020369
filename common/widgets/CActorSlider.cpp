#include "common/widgets/CActorSlider.h"

#include "common/scene/CInputRouting.h"
#include "common/scene/CScene.h"
#include "common/actors/CSpriteA.h"

CActorSlider::CActorSlider(CScene* owner, int px, int py, int pz, int low, int high, int start, int id,
                           CSprite* picture, int isVertical)
    : CActorSprite(owner, px, py, pz, picture, 0), commandId(id), vertical(isVertical ? 1 : 0) {
    SetRange(low, high, start);
    // Just past the far end, so the limit changes nothing until it is set. The
    // far end of a vertical track is its top (the minimum): a limit below the
    // maximum there would hold every upward drag.
    limit = vertical ? minimum - 1 : maximum + 1;
    SetPosition(start);
    ComputeFraction();
}

void CActorSlider::SetRange(int low, int high, int start) {
    minimum = low;
    maximum = high;
    position = start;
    unlocked = 0;
    collisionKind = kCollisionNone;  // the plain sprite kind: takes part in no collision
}

void CActorSlider::Clamp(int& p) const {
    if (p < minimum) p = minimum;
    if (p > maximum) p = maximum;
}

void CActorSlider::ComputeFraction() {
    const int span = maximum - minimum;
    // A track without length stands at its one end.
    if (span == 0) {
        fraction = vertical ? 1.0f : 0.0f;
        return;
    }
    const int along = vertical ? maximum - position : position - minimum;
    fraction = static_cast<float>(along) / static_cast<float>(span);
}

void CActorSlider::ChooseKnobPicture() {
    if (!knobPictures) return;
    const int beyond = vertical ? position < limit : position > limit;
    const int index = (beyond ? 1 : 0) + (unlocked ? 2 : 0);
    SetSprite(knobPictures->GetCount() > index ? knobPictures->Get(index) : nullptr);
}

void CActorSlider::SetPosition(int p) {
    if (!unlocked) {
        // Locked: no further beyond the limit, but back toward it is allowed.
        if (!vertical && p > limit && p >= position) return;
        if (vertical && p < limit && p <= position) return;
    }
    position = p;
    if (vertical)
        SetY(ToFixed(p));
    else
        SetX(ToFixed(p));
    ComputeFraction();
    ChooseKnobPicture();
    UpdateBounds();
}

void CActorSlider::SetUnlocked(int flag) {
    unlocked = flag ? 1 : 0;
    ChooseKnobPicture();
    UpdateBounds();
}

void CActorSlider::SetKnobPictures(CSpriteArray* pictures) {
    knobPictures = pictures;
    ChooseKnobPicture();
    UpdateBounds();
}

int CActorSlider::WantsMouse(const CMouseEvent& event) {
    if (!enabled) return 0;
    return event.type == MOUSE_MOVE || event.type == MOUSE_LEFT_DOWN || event.type == MOUSE_LEFT_UP ? 1 : 0;
}

int CActorSlider::OnMouse(const CMouseEvent& event) {
    switch (event.type) {
    case MOUSE_LEFT_DOWN:
        SetCapture(this);
        return 1;
    case MOUSE_LEFT_UP:
        if (GetCaptureActor() == this) SetCapture(nullptr);
        return 1;
    case MOUSE_MOVE: {
        if (GetCaptureActor() != this || !scene) return 0;
        int target = vertical ? event.y + FromFixed(scene->originY) : event.x + FromFixed(scene->originX);
        // Far past either end the drag ends; the move itself still counts.
        if (target < minimum - kReleaseMargin || target > maximum + kReleaseMargin) SetCapture(nullptr);
        Clamp(target);
        if (target != position) {
            const int before = position;
            SetPosition(target);
            // Only a move that happened is news to the scene (a locked limit refuses some).
            if (position != before && commandId != 0) scene->OnKeyDown(commandId);
        }
        scene->OnMouseMove(event.x, event.y);
        return 1;
    }
    default:
        return 0;
    }
}
