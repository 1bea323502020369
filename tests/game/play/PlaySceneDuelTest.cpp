// Duels at the table: how a new game is set up (given, or by the Opponent
// option) and what the player sees of the opponent.

#include "tests/support/PlaySceneTestSupport.h"

#include <chrono>
#include <thread>

#include "game/play/CDuelPanel.h"
#include "game/rules/CGameOptions.h"
#include "game/rules/DuelRecords.h"

namespace playtest {
namespace {

CGameOptions* GameOpts(COptions* options) { return static_cast<CGameOptions*>(options); }

// The computer plays on its own thread, in real time.
bool WaitForOpponent(harness::PlayDriver& driver, const CDuelPanel& duel) {
    for (int i = 0; i < 3000 && !duel.Opponent(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        driver.Run(1);
    }
    return duel.Opponent() != nullptr;
}

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

TEST_F(PlaySceneTest, ADuelShowsTheComputersTotalNeverAheadAndACardAtTheEnd) {
    GameOpts(Options())->SetOpponent(static_cast<int>(OpponentLevel::Easy));
    Start();
    PastIntro();
    CDuelPanel& duel = *scene->duelPanel;
    ASSERT_TRUE(duel.InDuel());
    if (duel.Thinking()) {
        EXPECT_LE(scene->IdleTicks(), 8);  // the loop looks for the computer's end
    }
    ASSERT_TRUE(WaitForOpponent(*this, duel));
    const coach::OpponentGame& theirs = *duel.Opponent();
    EXPECT_EQ(duel.RunningText(), "Easy 0");

    RollAndSettle();
    Category(108);
    Settle();
    EXPECT_EQ(duel.RunningText(), "Easy " + std::to_string(theirs.totalAfter[1]));
    for (int code = 97; code <= 100; ++code) {
        RollAndSettle();
        Category(code);
        Settle();
    }
    Tap(SDLK_1);
    for (int code = 101; code <= 107; ++code) Category(code);
    ASSERT_TRUE(scene->IsGameOverFlag());
    Run(2);
    EXPECT_TRUE(duel.CardShown());
    EXPECT_TRUE(duel.Recorded());
    const DuelTally tally = ReadDuelTally(RecordScope::AllPlayers, OpponentLevel::Easy);
    const int mine = scene->board.Total();
    EXPECT_EQ(tally.won, mine > theirs.total ? 1 : 0);
    EXPECT_EQ(tally.lost, mine < theirs.total ? 1 : 0);
    EXPECT_EQ(tally.drawn, mine == theirs.total ? 1 : 0);

    // The card's button to the page stands inside the card, and a click opens the page.
    const CRect cardBox = duel.Card()->bounds, button = duel.PageButton()->bounds;
    EXPECT_TRUE(button.left >= cardBox.left && button.right <= cardBox.right && button.top >= cardBox.top &&
                button.bottom <= cardBox.bottom);
    Click(MidX(duel.PageButton()), MidY(duel.PageButton()));
    EXPECT_TRUE(duel.PageOpen());
    Tap(SDLK_o);
    EXPECT_FALSE(duel.PageOpen());
    Tap(SDLK_o);
    EXPECT_TRUE(duel.PageOpen());
    Tap(SDLK_v);  // the review takes the page's place
    Run(2);
    EXPECT_FALSE(duel.PageOpen());
    Tap(SDLK_v);

    // A new duel: the card goes, and the next computer game is another.
    scene->StartGame(1);
    EXPECT_FALSE(duel.CardShown());
    EXPECT_EQ(duel.Opponent(), nullptr);
}

}  // namespace
}  // namespace playtest
