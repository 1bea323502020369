// Duels at the table: how a new game is set up (given, or by the Opponent
// option) and what the player sees of the opponent.

#include "tests/support/PlaySceneTestSupport.h"

#include "game/rules/CGameOptions.h"

namespace playtest {
namespace {

CGameOptions* GameOpts(COptions* options) { return static_cast<CGameOptions*>(options); }

TEST_F(PlaySceneTest, ANewGameTakesTheSetupGivenOnceThenTheOpponentOption) {
    Start();
    EXPECT_FALSE(scene->CurrentSetup().seeded);  // Opponent Off: the solo game

    GameSetup given;
    given.seeded = true;
    given.seed = 0x1234;
    given.today = true;
    scene->SetNextGameSetup(given);
    scene->StartGame(1);
    EXPECT_TRUE(scene->CurrentSetup().seeded);
    EXPECT_EQ(scene->CurrentSetup().seed, 0x1234u);
    EXPECT_TRUE(scene->CurrentSetup().today);

    GameOpts(Options())->SetOpponent(static_cast<int>(OpponentLevel::Medium));
    scene->StartGame(1);
    const GameSetup duel = scene->CurrentSetup();
    EXPECT_TRUE(duel.seeded);
    EXPECT_FALSE(duel.today);
    EXPECT_EQ(duel.opponent, OpponentLevel::Medium);
    scene->StartGame(1);
    EXPECT_NE(scene->CurrentSetup().seed, duel.seed);  // each duel its own dice

    // Changed before the first roll, the option sets up the game on the table.
    GameOpts(Options())->SetOpponent(static_cast<int>(OpponentLevel::Off));
    scene->OnOptionsChanged();
    EXPECT_FALSE(scene->CurrentSetup().seeded);
}

}  // namespace
}  // namespace playtest
