// The end-of-game message chosen from the table places, and the process-wide
// pointers the scene leaves behind.

#include "PlaySceneTestSupport.h"

namespace playtest {
namespace {

TEST(PlaySceneEndMessage, ChosenFromFirstFinishBestAndTablePlaces) {
    struct Case {
        bool firstFinish;
        int best, total, posAll, posMine, message;
    };
    const Case cases[] = {
        {true, 0, 250, 0, 0, 6},     // a player's first finished game, nothing stored
        {true, 200, 150, 3, 0, 6},   // first game below the best: not ranked
        {true, 200, 250, 0, 0, 1},   // first game above the stored best
        {false, 300, 250, 0, 0, 1},  // best of all players
        {false, 300, 250, -1, 0, 2}, // own best
        {false, 300, 250, 4, 2, 3},  // in the all-players ten
        {false, 300, 250, -1, 5, 4}, // in the own ten
        {false, 300, 10, -1, -1, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPlayScene::ChooseEndMessage(c.firstFinish, c.best, c.total, c.posAll, c.posMine), c.message)
            << c.firstFinish << " " << c.best << " " << c.total << " " << c.posAll << " " << c.posMine;
}

TEST_F(PlaySceneTest, DeletingTheSceneClearsEveryProcessWidePointer) {
    Start();
    EXPECT_EQ(gPlayScene, scene);
    EXPECT_EQ(pDiceScene, static_cast<IDiceScene*>(scene));
    EXPECT_EQ(gScoreSheetScene, static_cast<IScoreSheetScene*>(scene));
    delete scene;
    screen->scene = nullptr;
    EXPECT_EQ(gPlayScene, nullptr);
    EXPECT_EQ(pDiceScene, nullptr);
    EXPECT_EQ(gScoreSheetScene, nullptr);
    EXPECT_EQ(gScoreSheet, nullptr);
}

TEST_F(PlaySceneTest, ARestartOfTheSceneBuildsItsScreenOnce) {
    Start();
    int before = 0;
    for (CActor* a = scene->FirstActor(); a; a = a->next) ++before;
    screen->RequestScene(scene, 0, 1);
    Run(1);
    int after = 0;
    for (CActor* a = scene->FirstActor(); a; a = a->next) ++after;
    EXPECT_EQ(after, before);
    EXPECT_EQ(scene->GetLoadResult(), 0);
}

}  // namespace
}  // namespace playtest
