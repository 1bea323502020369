// The collision pass: pairing by kind, who tests, hook order, and the shapes.

#include <gtest/gtest.h>

#include "tests/support/EngineTestSupport.h"
#include "common/scene/CCollisionMgr.h"

using namespace enginetest;

namespace {

class Collider : public BoxActor {
public:
    Collider(CScene* scene, std::string name, int kind, int shape, int px, int py, int size = 10)
        : BoxActor(scene, std::move(name), px, py, 5, size, size) {
        collisionKind = kind;
        collisionShape = shape;
    }
    int AcceptsCollision(CActor*) override { return accepts; }
    int CollidesWith(CActor* other) override {
        gLog.push_back("test " + name + " " + static_cast<Collider*>(other)->name);
        return CActor::CollidesWith(other);
    }
    void OnCollision(CActor* other) override {
        gLog.push_back("hit " + name + " " + static_cast<Collider*>(other)->name);
    }
    int accepts = 1;
};

void DrawAndCollide(CScene& scene) {
    scene.DrawActors(CRect{0, 0, 800, 600});
    gLog.clear();
    scene.collisionManager->RunCollisions();
}

}  // namespace

using Collisions = EngineTest;

TEST_F(Collisions, KindsPairActiveWithAnyAndPassiveOnlyWithActive) {
    LogScene scene(screen);
    auto* active = new Collider(&scene, "active", kCollisionActive, kShapeRectangle, 0, 0);
    auto* passive1 = new Collider(&scene, "p1", kCollisionPassive, kShapeRectangle, 5, 5);
    auto* passive2 = new Collider(&scene, "p2", kCollisionPassive, kShapeRectangle, 5, 5);
    new Collider(&scene, "none", kCollisionNone, kShapeRectangle, 5, 5);
    (void)active;
    (void)passive1;
    (void)passive2;
    DrawAndCollide(scene);
    // Order in the list: the newest of equal depth first (none, p2, p1, active).
    EXPECT_EQ(gLog, (std::vector<std::string>{"test p2 active", "hit p2 active", "hit active p2", "test p1 active",
                                              "hit p1 active", "hit active p1"}));
}

TEST_F(Collisions, TheSecondActorTestsWhenTheFirstDeclinesAndUndrawnActorsAreLeftOut) {
    LogScene scene(screen);
    auto* a = new Collider(&scene, "a", kCollisionActive, kShapeRectangle, 0, 0);
    auto* b = new Collider(&scene, "b", kCollisionActive, kShapeRectangle, 5, 5);
    b->accepts = 0;  // b comes first in the list, so a tests
    DrawAndCollide(scene);
    EXPECT_EQ(gLog, (std::vector<std::string>{"test a b", "hit b a", "hit a b"}));

    a->accepts = 0;
    DrawAndCollide(scene);
    EXPECT_TRUE(gLog.empty());

    // A frame with one drawn actor runs no test at all.
    a->accepts = b->accepts = 1;
    scene.UpdateActors();  // clears the drawn marks and the count
    b->Hide();
    DrawAndCollide(scene);
    EXPECT_TRUE(gLog.empty());
}

TEST_F(Collisions, ShapeTestsForRectanglesAndCircles) {
    LogScene scene(screen);
    auto* r1 = new Collider(&scene, "r1", kCollisionActive, kShapeRectangle, 0, 0, 10);
    auto* r2 = new Collider(&scene, "r2", kCollisionActive, kShapeRectangle, 10, 0, 10);
    EXPECT_FALSE(ShapesTouch(r1, r2));  // edges meet, nothing overlaps
    r2->SetXY(9 * 256, 9 * 256);
    EXPECT_TRUE(ShapesTouch(r1, r2));

    // Circles of 20 x 20: radius 10 px less a quarter pixel.
    auto* c1 = new Collider(&scene, "c1", kCollisionActive, kShapeCircle, 100, 100, 20);
    auto* c2 = new Collider(&scene, "c2", kCollisionActive, kShapeCircle, 119, 100, 20);
    EXPECT_EQ(c1->GetRadius(), 10 * 256 - 64);
    EXPECT_TRUE(ShapesTouch(c1, c2));
    c2->SetXY(120 * 256, 100 * 256);
    EXPECT_FALSE(ShapesTouch(c1, c2));

    // Circle and rectangle: an edge midpoint inside, or a corner within the radius.
    auto* box = new Collider(&scene, "box", kCollisionActive, kShapeRectangle, 119, 105, 10);
    EXPECT_TRUE(ShapesTouch(c1, box));  // the right edge midpoint (119, 110) is inside
    box->SetXY(116 * 256, 116 * 256);   // the corner (116, 116) is 8.5 px from the centre
    EXPECT_TRUE(ShapesTouch(box, c1));
    box->SetXY(118 * 256, 118 * 256);   // corner 11.3 px away; no midpoint inside
    EXPECT_FALSE(ShapesTouch(c1, box));
}
