// Actor motion, edge clamps, blinking, sprite bounds and animation.

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/EngineTestSupport.h"
#include "common/actors/CActorAnim.h"
#include "common/actors/CActorSprite.h"
#include "common/actors/CSpriteA.h"

using namespace enginetest;

using ActorMotion = EngineTest;

TEST_F(ActorMotion, MoveToAlongARowUsesFullSpeedOnXAndSnapsOnArrival) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 100, 50, 5);
    actor->MoveTo(200 * 256, 50 * 256, 100 * 256);
    EXPECT_EQ(actor->vx, 100 * 256);
    EXPECT_EQ(actor->vy, 0);
    EXPECT_FALSE(actor->moving);  // MoveTo does not start the motion itself
    actor->StartMoving();
    int updates = 0;
    while (actor->movingToTarget && updates < 1000) {
        actor->Update(25);
        ++updates;
    }
    EXPECT_EQ(actor->AbsoluteX(), 200 * 256);
    EXPECT_EQ(actor->AbsoluteY(), 50 * 256);
    EXPECT_EQ(actor->bounds.left, 200);
    EXPECT_EQ(actor->vx, 0);
    // 100 pixels at 100 px/s in steps of 25 ticks (9.77 px): the 11th step
    // passes the target, and the same update snaps back onto it.
    EXPECT_EQ(updates, 11);
}

TEST_F(ActorMotion, MoveToAt45DegreesMovesBothAxesAtFullSpeed) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 300, 300, 5);
    actor->MoveTo(200 * 256, 400 * 256, 64 * 256);
    EXPECT_EQ(actor->vx, -64 * 256);
    EXPECT_EQ(actor->vy, 64 * 256);
    actor->StartMoving();
    actor->Update(256);  // one second: 64 pixels each way
    EXPECT_EQ(actor->AbsoluteX(), 236 * 256);
    EXPECT_EQ(actor->AbsoluteY(), 364 * 256);

    // A shallow slope: x is the long axis, y follows by the slope.
    actor->MoveTo(436 * 256, 414 * 256, 200 * 256);
    EXPECT_EQ(actor->vx, 200 * 256);
    EXPECT_EQ(actor->vy, (200 * 256 * ((50 * 256 * 256) / (200 * 256))) >> 8);
}

TEST_F(ActorMotion, ArrivalWithinAPixelSnapsToTheTargetEvenWithAZeroStep) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 10, 10, 5);
    actor->MoveTo(10 * 256 + 200, 10 * 256 - 255, 256);  // less than a pixel away on both axes
    actor->StartMoving();
    actor->Update(0);
    EXPECT_FALSE(actor->movingToTarget);
    EXPECT_EQ(actor->AbsoluteX(), 10 * 256 + 200);
    EXPECT_EQ(actor->AbsoluteY(), 10 * 256 - 255);
}

TEST_F(ActorMotion, PositionsAreStoredRelativeToTheSceneOrigin) {
    CScene scene(screen, 3 * 256, 12 * 256, 0, 0, 1);
    auto* actor = new BoxActor(&scene, "a", 100, 100, 5);
    EXPECT_EQ(actor->x, 97 * 256);
    EXPECT_EQ(actor->bounds.top, 88);
    actor->SetXY(50 * 256, 60 * 256);
    EXPECT_EQ(actor->bounds.left, 47);
    EXPECT_EQ(actor->AbsoluteY(), 60 * 256);
}

TEST_F(ActorMotion, EdgeClampsStopExactlyAtTheViewport) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 780, 5, 5);  // right edge at 790 of 800
    actor->mayLeaveRight = 0;
    actor->MoveBy(25 * 256, 0, 0);
    EXPECT_EQ(actor->bounds.right, 800);
    int dx = 3 * 256;
    EXPECT_EQ(actor->ClipDX(dx), 0);  // no motion remains
    EXPECT_EQ(dx, 0);

    actor->mayLeaveLeft = 0;
    actor->SetXY(4 * 256, 5 * 256);
    actor->MoveBy(-10 * 256, 0, 0);
    EXPECT_EQ(actor->bounds.left, 0);
    actor->mayLeaveTop = 0;
    actor->MoveBy(0, -9 * 256, 0);
    EXPECT_EQ(actor->bounds.top, 0);

    // Without the flag an actor may leave, and killWhenOutside ends it.
    actor->killWhenOutside = 1;
    actor->mayLeaveLeft = 1;
    actor->MoveBy(-20 * 256, 0, 0);
    // The test reads the bounds before this move updates them: it lags one move.
    EXPECT_FALSE(actor->dead);
    actor->MoveBy(-256, 0, 0);
    EXPECT_TRUE(actor->dead);
    EXPECT_EQ(actor->collisionKind, kCollisionNone);
}

TEST_F(ActorMotion, BlinkZeroIsEndlessAndBlinkNMakesTwoNChanges) {
    LogScene scene(screen);
    auto* endless = new BoxActor(&scene, "e", 0, 0, 5);
    endless->Blink(0, 10, 5);
    int changes = 0;
    for (int i = 0, was = endless->hidden; i < 200; ++i) {
        endless->Update(5);
        if (endless->hidden != was) ++changes;
        was = endless->hidden;
    }
    EXPECT_TRUE(endless->blinking);
    EXPECT_GT(changes, 100);

    auto* counted = new BoxActor(&scene, "c", 0, 0, 5);
    counted->Blink(3, 10, 10);
    changes = 0;
    for (int i = 0, was = counted->hidden; i < 100; ++i) {
        counted->Update(10);
        if (counted->hidden != was) ++changes;
        was = counted->hidden;
    }
    EXPECT_EQ(changes, 6);
    EXPECT_FALSE(counted->blinking);
    EXPECT_FALSE(counted->hidden);
}

TEST_F(ActorMotion, HideStopsABlinkAndShowDoesNotRestartIt) {
    LogScene scene(screen);
    auto* actor = new BoxActor(&scene, "a", 0, 0, 5);
    actor->Blink(0, 10, 10);
    actor->Update(10);
    EXPECT_TRUE(actor->hidden);
    actor->Hide();
    EXPECT_FALSE(actor->blinking);
    EXPECT_TRUE(actor->hidden);
    actor->Show();
    for (int i = 0; i < 10; ++i) actor->Update(10);
    EXPECT_FALSE(actor->hidden);
    EXPECT_FALSE(actor->blinking);
}

using SpriteActors = EngineTest;

TEST_F(SpriteActors, MirroredBoundsAndReferencePointsCentreOnTheAnchor) {
    LogScene scene(screen);
    std::unique_ptr<CSprite> frame(MakeFrame(20, 40, -10, -20));
    auto* plain = new CActorSprite(&scene, 100 * 256, 100 * 256, 5 * 256, frame.get(), 0);
    auto* mirrored = new CActorSprite(&scene, 100 * 256, 100 * 256, 5 * 256, frame.get(), 0);
    mirrored->flip = kFlipHorizontal | kFlipVertical;
    mirrored->RecalcBounds();
    for (CActorSprite* actor : {plain, mirrored}) {
        EXPECT_EQ(actor->bounds.left, 90);
        EXPECT_EQ(actor->bounds.top, 80);
        EXPECT_EQ(actor->bounds.right, 110);
        EXPECT_EQ(actor->bounds.bottom, 120);
        CFixPoint ref = actor->GetRefPoint();
        EXPECT_EQ(ref.x, 100 * 256);
        EXPECT_EQ(ref.y, 100 * 256);
    }
    // An off-centre anchor mirrors around the anchor.
    std::unique_ptr<CSprite> corner(MakeFrame(20, 10, 0, 0));
    auto* flipped = new CActorSprite(&scene, 50 * 256, 50 * 256, 5 * 256, corner.get(), 0);
    flipped->flip = kFlipHorizontal;
    flipped->RecalcBounds();
    EXPECT_EQ(flipped->bounds.left, 30);
    EXPECT_EQ(flipped->bounds.right, 50);
    EXPECT_EQ(flipped->GetRefPoint().x, 40 * 256);

    // A null frame draws nothing and keeps the bounds.
    flipped->SetSprite(nullptr);
    EXPECT_EQ(flipped->bounds.left, 30);
    flipped->SetRefPos(0, 0);  // without a frame the reference is the bounds centre
    EXPECT_EQ(flipped->AbsoluteX(), 10 * 256);
    EXPECT_EQ(flipped->bounds.left, 30);
}

namespace {

// count frames of distinct sizes (frame i is i + 1 pixels wide) in an array
// whose capacity may be larger.
struct Frames {
    explicit Frames(int count, int capacity = 0) : array(capacity ? capacity : count) {
        for (int i = 0; i < count; ++i) array.Set(i, MakeFrame(i + 1, 1, 0, 0));
        array.count = static_cast<std::int16_t>(count);
    }
    CSpriteArray array;
};

int ShownIndex(CActorAnim* actor) { return actor->frame ? actor->frame->w - 1 : -1; }

}  // namespace

TEST_F(SpriteActors, RateTenWithTenTickStepsChangesOnTheThirdFifthEighthAndTenthUpdate) {
    LogScene scene(screen);
    Frames frames(6);
    CAnimParams params{2, 0, 10.0f};
    auto* actor = new CActorAnim(&scene, 0, 0, 256, &frames.array, params, 0, 0);
    EXPECT_EQ(actor->frameTicks, 25);
    std::vector<int> changes;
    std::vector<int> shown;
    for (int update = 1; update <= 10; ++update) {
        const int before = actor->framesShown;
        actor->Update(10);
        if (actor->framesShown != before) {
            changes.push_back(update);
            shown.push_back(ShownIndex(actor));
        }
    }
    EXPECT_EQ(changes, (std::vector<int>{3, 5, 8, 10}));
    // The first change shows the start frame itself.
    EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 5}));

    // Steps of a whole frame change the frame on every update and wrap.
    CAnimParams every{0, 0, 10.0f};
    actor->SetAnimation(&frames.array, every, 0, 0);
    std::vector<int> indices;
    for (int i = 0; i < 8; ++i) {
        actor->Update(25);
        indices.push_back(actor->index);
    }
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 3, 4, 5, 0, 1}));
}

TEST_F(SpriteActors, PingPongTurnsAtTheEndsAndOneFrameNeverChanges) {
    LogScene scene(screen);
    Frames three(3);
    auto* actor = new CActorAnim(&scene, 0, 0, 256, &three.array, CAnimParams{0, 0, 10.0f}, 0, 0);
    actor->SetPingPong(1);
    std::vector<int> indices;
    for (int i = 0; i < 8; ++i) {
        actor->Update(25);
        indices.push_back(actor->index);
    }
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 1, 0, 1, 2, 1}));

    Frames one(1);
    auto* single = new CActorAnim(&scene, 0, 0, 256, &one.array, CAnimParams{0, 0, 10.0f}, 0, 0);
    single->SetPingPong(1);
    for (int i = 0; i < 6; ++i) {
        single->Update(25);
        EXPECT_EQ(single->index, 0);
        EXPECT_EQ(ShownIndex(single), 0);
    }
}

TEST_F(SpriteActors, KillAtEndShowsEveryFrameThenTheSceneDeletesTheActor) {
    LogScene scene(screen);
    Frames three(3);
    auto* actor = new CActorAnim(&scene, 0, 0, 256, &three.array, CAnimParams{0, 0, 10.0f}, 1, 0);
    std::vector<int> shown;
    for (int i = 0; i < 3; ++i) {
        actor->Update(25);
        shown.push_back(ShownIndex(actor));
    }
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(actor->dead);
    actor->Update(25);
    EXPECT_TRUE(actor->dead);
    EXPECT_EQ(actor->index, -1);

    // Through the scene: deleted at the end of the update that killed it.
    auto* again = new CActorAnim(&scene, 0, 0, 256, &three.array, CAnimParams{0, 0, 10.0f}, 1, 0);
    (void)again;
    delete actor;
    scene.UpdateActors();  // a scene's first step is 0
    for (int i = 0; i < 3; ++i) {
        AdvanceTicks(25);
        scene.UpdateActors();
        ASSERT_NE(scene.FirstActor(), nullptr);
    }
    AdvanceTicks(25);
    scene.UpdateActors();
    EXPECT_EQ(scene.FirstActor(), nullptr);
}

TEST_F(SpriteActors, StopAtEndStopsOnTheLastFrameAndStopAtIndexOnItsIndex) {
    LogScene scene(screen);
    Frames four(4, 8);  // capacity beyond the loaded frames
    auto* actor = new CActorAnim(&scene, 0, 0, 256, &four.array, CAnimParams{0, 0, 10.0f}, 0, 1);
    for (int i = 0; i < 10; ++i) actor->Update(25);
    EXPECT_TRUE(actor->stopped);
    EXPECT_EQ(actor->index, 3);
    EXPECT_EQ(ShownIndex(actor), 3);

    actor->ResetAnimation();
    actor->SetAnimation(&four.array, CAnimParams{0, 0, 10.0f}, 0, 0);
    actor->stopAtEnd = 0;
    actor->SetStopAtIndex(1, 2);
    for (int i = 0; i < 10; ++i) actor->Update(25);
    EXPECT_EQ(actor->index, 2);
}

TEST_F(SpriteActors, SpeedLinkedRateFollowsTheSpeedAndASpeedUpCutsTheCountdown) {
    LogScene scene(screen);
    Frames frames(4);
    auto* actor = new CActorAnim(&scene, 0, 0, 256, &frames.array, CAnimParams{0, 0, 1.0f}, 0, 0);
    EXPECT_EQ(actor->frameTicks, 256);
    actor->SetSpeedLinked(1, 2 * 256, 256);  // 2 frames per second, plus 1 per pixel per second
    EXPECT_EQ(actor->frameTicks, 128);
    EXPECT_EQ(actor->countdown, 128);
    actor->StartMoving();
    actor->SetVelocityX(6 * 256);  // 6 px/s: 8 frames per second
    EXPECT_EQ(actor->frameTicks, 32);
    EXPECT_EQ(actor->countdown, 32);
    actor->StopMoving();
    EXPECT_EQ(actor->frameTicks, 128);
    EXPECT_EQ(actor->countdown, 32);  // a slow-down waits for the next change

    // Overshoot is carried: a 40-tick step over a 32-tick countdown leaves 24.
    actor->StartMoving();
    actor->Update(40);
    EXPECT_EQ(actor->countdown, 24);
}
