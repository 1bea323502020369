// Scene bookkeeping: the dialog's scene kind and the reset of every actor.

#include <gtest/gtest.h>

#include "tests/support/EngineTestSupport.h"
#include "common/widgets/CSceneDialog.h"
#include "common/scene/SceneKinds.h"

using namespace enginetest;

using SceneMends = EngineTest;

TEST_F(SceneMends, ADialogSceneIsOfTheDialogKind) {
    LogScene owner(screen, "owner");
    CSceneDialog dialog(screen, &owner, nullptr, nullptr, nullptr, nullptr, CButtonRecord{}, 0, 400, 300, -1, 0, 0);
    EXPECT_EQ(dialog.sceneId, kSceneKindDialog);
    EXPECT_EQ(kSceneKindDialog, 3);
}

namespace {
// Counts its resets; a reset may move it to another depth, as a die stopped
// mid-roll does.
class ResetActor : public BoxActor {
public:
    ResetActor(CScene* scene, const char* name, int z, int zOnReset)
        : BoxActor(scene, name, 0, 0, z), newZ(zOnReset) {}
    void ResetEffects(int a, int b) override {
        ++resets;
        if (newZ >= 0) SetZ(newZ * 256);
        CActor::ResetEffects(a, b);
    }
    int newZ;
    int resets = 0;
};
}  // namespace

TEST_F(SceneMends, ResetActorsResetsEveryActorOnceWhenResetsMoveThemInTheList) {
    LogScene scene(screen);
    ResetActor* actors[] = {
        new ResetActor(&scene, "to-back", 1, 50), new ResetActor(&scene, "stays", 2, -1),
        new ResetActor(&scene, "to-front", 3, 0), new ResetActor(&scene, "stays-too", 4, -1),
        new ResetActor(&scene, "to-middle", 5, 3),
    };
    actors[1]->MoveTo(500 * 256, 0, 256);
    actors[1]->Blink(3, 10, 10);
    scene.ResetActors(0, 0);
    for (ResetActor* actor : actors) EXPECT_EQ(actor->resets, 1) << actor->name;
    EXPECT_FALSE(actors[1]->movingToTarget);
    EXPECT_EQ(actors[1]->blinkChanges, 0);
    EXPECT_EQ(scene.FirstActor(), actors[2]);
    EXPECT_EQ(scene.LastActor(), actors[0]);
}
