// Scene bookkeeping: the dialog's scene kind and the reset of every actor.

#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "common/CSceneDialog.h"
#include "common/SceneKinds.h"

using namespace enginetest;

using SceneMends = EngineTest;

TEST_F(SceneMends, ADialogSceneIsOfTheDialogKind) {
    LogScene owner(screen, "owner");
    CSceneDialog dialog(screen, &owner, nullptr, nullptr, nullptr, nullptr, CButtonRecord{}, 0, 400, 300, -1, 0, 0);
    EXPECT_EQ(dialog.sceneId, kSceneKindDialog);
    EXPECT_EQ(kSceneKindDialog, 3);
}
