#pragma once
// A line of text on the play scene that is not a control: a button actor that
// takes no mouse, made hidden, shown when its owner has something to say.

#include "common/actors/CActorSprite.h"
#include "common/scene/CFixPoint.h"
#include "common/widgets/CActorButton.h"

inline CActorButton* NewHiddenLabel(CScene* scene, const CTextRecord& text, int x, int y, int depth) {
    CButtonRecord plain;
    plain.mouseEnabled = 0;
    auto* label = new CActorButton(text, plain, scene, ToFixed(x), ToFixed(y), ToFixed(depth), nullptr, 0);
    label->Hide();
    return label;
}

// A picture on the play scene made hidden, shown when its owner needs it.
inline CActorSprite* NewHiddenSprite(CScene* scene, int x, int y, int depth, CSprite* picture) {
    auto* sprite = new CActorSprite(scene, ToFixed(x), ToFixed(y), ToFixed(depth), picture, 0);
    sprite->Hide();
    return sprite;
}
