#pragma once
// The panels' actors over the play scene, each made hidden and shown when its
// owner has something to show: a line of text that is not a control (a button
// actor that takes no mouse), a button drawn by its pictures, a picture.

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

// A push button drawn by its pictures (up, down) that sends `code` when
// clicked, made hidden: the panels' buttons over the play scene.
inline CActorButton* NewHiddenButton(CScene* scene, int code, int x, int y, int depth, CSpriteArray* frames) {
    CButtonRecord record;
    record.mode = kButtonPush;
    record.key = code;
    record.mouseEnabled = 1;
    auto* button = new CActorButton(CTextRecord{}, record, scene, ToFixed(x), ToFixed(y), ToFixed(depth), frames, 0);
    button->Hide();
    return button;
}

// A picture on the play scene made hidden, shown when its owner needs it.
inline CActorSprite* NewHiddenSprite(CScene* scene, int x, int y, int depth, CSprite* picture) {
    auto* sprite = new CActorSprite(scene, ToFixed(x), ToFixed(y), ToFixed(depth), picture, 0);
    sprite->Hide();
    return sprite;
}
