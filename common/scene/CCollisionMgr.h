#pragma once
// The per-scene collision pass: after a frame was drawn, pairs of drawn actors
// that take part are offered to each other, by collision kind, and touching
// pairs get their OnCollision hooks.

#include <cstdint>

class CActor;
class CScene;

class CCollisionMgr {
public:
    // order 1 walks the actors first to last, 0 last to first.
    CCollisionMgr(CScene* scene, int order);
    CCollisionMgr(const CCollisionMgr&) = delete;
    CCollisionMgr& operator=(const CCollisionMgr&) = delete;
    virtual ~CCollisionMgr() = default;

    void RunCollisions();
    // 1 when the pair is worth a test: A active with B active or passive, or A
    // passive with B active. Actors of kind 2 never pair.
    static int KindsPair(const CActor* a, const CActor* b);

    int order = 1;
    std::int16_t drawnCount = 0;
    CScene* scene = nullptr;

private:
    CActor* Start() const;
    CActor* Step(const CActor* actor) const;
};

// The shape test behind CActor::CollidesWith: rectangles by their bounds,
// circles by their reference points and radii, picture masks by opaque pixels.
int ShapesTouch(CActor* a, CActor* b);
