// What the player sees and hears around a roll: the counter's words, holds
// asked for while the row moves, the hint never under the second-half help.

#include "tests/support/PlaySceneTestSupport.h"

namespace playtest {
namespace {

TEST_F(PlaySceneTest, TheCounterNamesTheRollToComeThenTheRollsLeft) {
    Start();
    PastIntro();
    Run(8);
    const struct {
        const char* title;
        const char* count;
    } expected[] = {{"Roll", "1 of 3"}, {"Rolls", "2 left"}, {"Rolls", "1 left"}, {"Rolls", "0 left"}};
    for (int roll = 0; roll <= kMaxRolls; ++roll) {
        if (roll > 0) RollAndSettle();
        Run(8);
        EXPECT_STREQ(scene->rollCounterTitle->GetText(), expected[roll].title) << roll;
        EXPECT_STREQ(scene->rollCounter->GetText(), expected[roll].count) << roll;
    }
}

TEST_F(PlaySceneTest, HoldsAskedForWhileTheRowMovesAreAppliedWhenItRestsOrRefusedAloud) {
    Start();
    PastIntro();
    RollAndSettle();
    Tap(SDLK_RETURN);  // the second roll: the row rises and falls again
    Run(16);
    ASSERT_TRUE(RowBusy());
    Tap(SDLK_1);
    Tap(SDLK_2);
    Tap(SDLK_3);
    Tap(SDLK_3);  // a second press takes the first back
    EXPECT_FALSE(scene->board.dice[0].held);
    Settle();
    Run(16);
    EXPECT_TRUE(scene->board.dice[0].held);
    EXPECT_TRUE(scene->board.dice[1].held);
    EXPECT_FALSE(scene->board.dice[2].held);
    EXPECT_TRUE(Shown(Die(0, 0)->SelectFrame()));

    // The third roll locks the row: a hold asked for during it is refused with the refusal sound.
    Tap(SDLK_RETURN);
    Run(16);
    ASSERT_TRUE(RowBusy());
    Tap(SDLK_4);
    StopSounds();
    Settle();
    Run(16);
    EXPECT_FALSE(scene->board.dice[3].held);
    EXPECT_TRUE(DiePlaying(kDieSoundRefuse));
}

TEST_F(PlaySceneTest, TheHintWaitsUnderTheSecondHalfHelpAndComesBackWithoutIt) {
    Start();
    PastIntro();
    const int codes[] = {108, 97, 98, 99, 100};
    PlayFirstHalf(codes);
    Run(50);
    ASSERT_TRUE(Shown(scene->pasMsgBottom) || scene->pasMsgBottom->blinking);
    Tap(SDLK_F4);
    ASSERT_TRUE(Shown(scene->pasSecHalfHelp));
    for (int t = 0; t < 400; t += 8) {
        Run(8);
        EXPECT_FALSE(Shown(scene->pasMsgBottom)) << t;
    }
    Tap(SDLK_F4);
    Run(8);
    EXPECT_FALSE(Shown(scene->pasSecHalfHelp));
    EXPECT_TRUE(Shown(scene->pasMsgBottom));
}

}  // namespace
}  // namespace playtest
