#pragma once
// A knob the user drags along one axis between two pixel positions; where it
// stands gives a fraction from 0.0 to 1.0. A limit can stop the knob short of
// the far end until the slider is unlocked, and up to four knob pictures show
// whether it stands beyond the limit and whether it is unlocked.

#include "common/actors/CActorSprite.h"

class CSpriteArray;

class CActorSlider : public CActorSprite {
public:
    // A drag ends once the pointer is this far past either end of the track.
    static constexpr int kReleaseMargin = 15;
    static constexpr int kKnobPictures = 4;

    // x, y, z absolute 24.8; minimum, maximum and position are pixels on the
    // slider's axis (y when vertical, else x). commandId (0 for none) reaches
    // the scene's OnKeyDown whenever a drag moves the knob.
    CActorSlider(CScene* scene, int x, int y, int z, int minimum, int maximum, int position, int commandId,
                 CSprite* frame, int vertical);

    int OnMouse(const CMouseEvent& event) override;     // 47
    int WantsMouse(const CMouseEvent& event) override;  // 48

    // Stores the track and the position; unlocks nothing and moves nothing.
    void SetRange(int minimum, int maximum, int position);
    // Moves the knob to p (pixels), unless a locked slider would go further
    // beyond its limit.
    void SetPosition(int p);
    // Keeps p within minimum..maximum.
    void Clamp(int& p) const;
    float GetFraction() const { return fraction; }
    int GetPosition() const { return position; }

    // The limit beyond which a locked knob cannot be dragged (pixels).
    void SetLimit(int pixels) { limit = pixels; }
    // Unlocking lets the knob past its limit; the knob picture follows at once.
    void SetUnlocked(int flag);
    // Up to four knob pictures: within / beyond the limit, locked / unlocked.
    // Not owned; null keeps the frame given at construction.
    void SetKnobPictures(CSpriteArray* pictures);
    void SetEnabled(int flag) { enabled = flag; }

    float fraction = 0.0f;
    int position = 0;
    int minimum = 0;
    int maximum = 0;
    int limit = 1;  // horizontal: maximum + 1, vertical: minimum - 1 until set
    int commandId = 0;
    int unlocked = 0;
    int vertical = 0;
    CSpriteArray* knobPictures = nullptr;  // not owned
    int enabled = 1;                       // a disabled slider takes no mouse events

private:
    void ComputeFraction();
    void ChooseKnobPicture();
};
