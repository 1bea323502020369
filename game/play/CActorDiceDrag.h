#pragma once
// The copy of a die that follows the pointer while the player drags a die in
// the second half. There is one, named by pDiceDrag while it lives; it takes
// no input. Outside the pressed die's band, or beside the middle columns, an
// overlay marks it; dragged off the board it ends the drag as a release on
// nothing.

#include "common/actors/CActorAnim.h"

class CActorDie;

class CActorDiceDrag : public CActorAnim {
public:
    // x, y, z absolute 24.8; created hidden with its overlay.
    CActorDiceDrag(CScene* scene, int x, int y, int z);

    // Overrides in slot order.
    void Update(int ticks) override;
    int IdleTicks() override;
    void SetVelocityX(int vx) override;
    void SetVelocityY(int vy) override;
    int OnMouse(const CMouseEvent& event) override;
    int WantsMouse(const CMouseEvent& event) override;
    ~CActorDiceDrag() override;

    // Shows face n (1..6) in colour k; the overlay takes frame k.
    void SetFace(int n, int k);
    // Takes the look and place of die and follows the pointer from (pointerX,
    // pointerY), client pixels, keeping the die's offset from it.
    void StartDrag(CActorDie* die, int pointerX, int pointerY);
    void StopDrag();
    // The face shown: the frame + 1.
    int GetFace() const { return index + 1; }
    CActorAnim* Overlay() const { return overlay; }

    int colour = 0;
    int offsetX = 0;  // pixels: die position minus pointer position at the press
    int offsetY = 0;
    int bandTop = 0;  // pixels: the pressed die's top and bottom
    int bandBottom = 0;
    bool dragging = false;
    CActorDie* sourceDie = nullptr;

private:
    CActorAnim* overlay = nullptr;  // a companion: the scene frees it
};

// The drag die of the play scene, or null.
inline CActorDiceDrag* pDiceDrag = nullptr;

// Creates pDiceDrag at (100, 100) px, depth 100, hidden.
CActorDiceDrag* CreateDiceDrag(CScene* scene);

// The board's allowed area for a drag and the columns outside which the
// overlay shows (absolute pixels, bounds included).
constexpr int kDragLeft = 208;
constexpr int kDragRight = 592;
constexpr int kDragTop = 80;
constexpr int kDragBottom = 450;
constexpr int kOverlayLeft = 266;
constexpr int kOverlayRight = 536;
