// Companion actors: an owner's companions go with it when it is killed or
// deleted, and every actor is freed exactly once by the scene, whatever the
// order of the scene's list.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/EngineTestSupport.h"

using namespace enginetest;

namespace {

int Deletions(const std::string& name) {
    return static_cast<int>(std::count(gLog.begin(), gLog.end(), "delete " + name));
}

// An owner at depth ownerZ with two companions at depth 5: the owner stands
// before (ownerZ < 5) or after (ownerZ > 5) its companions in the list.
struct Trio {
    BoxActor* owner;
    BoxActor* frame;
    BoxActor* glow;
};
Trio MakeTrio(CScene* scene, int ownerZ) {
    Trio trio{new BoxActor(scene, "owner", 0, 0, ownerZ), new BoxActor(scene, "frame", 0, 0, 5),
              new BoxActor(scene, "glow", 0, 0, 5)};
    trio.owner->AddCompanion(trio.frame);
    trio.owner->AddCompanion(trio.glow);
    return trio;
}

}  // namespace

using Companions = EngineTest;

TEST_F(Companions, SceneTeardownFreesEachActorOnceInEitherListOrder) {
    for (const int ownerZ : {1, 9}) {
        SCOPED_TRACE(ownerZ);
        gLog.clear();
        {
            LogScene scene(screen);
            const Trio trio = MakeTrio(&scene, ownerZ);
            EXPECT_EQ(scene.FirstActor() == trio.owner, ownerZ < 5);
        }
        for (const char* name : {"owner", "frame", "glow"}) EXPECT_EQ(Deletions(name), 1) << name;
    }
}

TEST_F(Companions, KillingTheOwnerDuringPlayEndsItsCompanionsInTheSameUpdate) {
    for (const int ownerZ : {1, 9}) {
        SCOPED_TRACE(ownerZ);
        gLog.clear();
        LogScene scene(screen);
        const Trio trio = MakeTrio(&scene, ownerZ);
        auto* bystander = new BoxActor(&scene, "bystander", 0, 0, 7);
        trio.owner->onUpdate = [](BoxActor* self) { self->Kill(); };
        scene.UpdateActors();
        EXPECT_EQ(scene.FirstActor(), bystander);
        EXPECT_EQ(scene.LastActor(), bystander);
        for (const char* name : {"owner", "frame", "glow"}) EXPECT_EQ(Deletions(name), 1) << name;
    }
}

TEST_F(Companions, ACompanionGoneFirstIsForgottenAndAHandedBackOneStays) {
    LogScene scene(screen);
    const Trio trio = MakeTrio(&scene, 9);
    trio.glow->Kill();  // alone: the owner lives on
    scene.UpdateActors();
    EXPECT_FALSE(trio.owner->dead);
    ASSERT_EQ(trio.owner->GetCompanions().size(), 1u);
    EXPECT_EQ(trio.owner->GetCompanions()[0], trio.frame);

    trio.owner->RemoveCompanion(trio.frame);
    EXPECT_EQ(trio.frame->GetCompanionOwner(), nullptr);
    trio.owner->Kill();
    scene.UpdateActors();
    EXPECT_EQ(Deletions("owner"), 1);
    EXPECT_EQ(Deletions("frame"), 0);
    EXPECT_FALSE(trio.frame->dead);
}

TEST_F(Companions, DeletingTheOwnerDirectlyKillsItsCompanionsForTheScene) {
    LogScene scene(screen);
    const Trio trio = MakeTrio(&scene, 1);
    delete trio.owner;
    EXPECT_TRUE(trio.frame->dead);
    EXPECT_TRUE(trio.glow->dead);
    EXPECT_EQ(trio.frame->GetCompanionOwner(), nullptr);
    scene.UpdateActors();
    EXPECT_EQ(scene.FirstActor(), nullptr);
}

TEST_F(Companions, OwnershipStaysATreeWithinOneScene) {
    LogScene scene(screen);
    LogScene other(screen, "other");
    auto* a = new BoxActor(&scene, "a", 0, 0, 1);
    auto* b = new BoxActor(&scene, "b", 0, 0, 2);
    auto* c = new BoxActor(&scene, "c", 0, 0, 3);
    auto* stranger = new BoxActor(&other, "stranger", 0, 0, 1);
    a->AddCompanion(b);
    b->AddCompanion(c);
    c->AddCompanion(a);         // a ring: refused
    a->AddCompanion(a);         // itself: refused
    a->AddCompanion(stranger);  // another scene: refused
    a->AddCompanion(b);         // twice: kept once
    a->AddCompanion(nullptr);
    EXPECT_EQ(a->GetCompanionOwner(), nullptr);
    EXPECT_EQ(a->GetCompanions().size(), 1u);
    EXPECT_EQ(stranger->GetCompanionOwner(), nullptr);
    a->AddCompanion(c);  // changes owner
    EXPECT_TRUE(b->GetCompanions().empty());
    EXPECT_EQ(c->GetCompanionOwner(), a);
    a->Kill();
    EXPECT_TRUE(b->dead && c->dead);
    EXPECT_FALSE(stranger->dead);
}
