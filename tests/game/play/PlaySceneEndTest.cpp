// The end-of-game message chosen from the table places, and the process-wide
// pointers the scene leaves behind.

#include "tests/support/PlaySceneTestSupport.h"

#include "common/widgets/CEditBox.h"
#include "common/widgets/CScore.h"
#include "game/rules/Records.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/FullDisk.h"

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
    screen->scene.release();
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

// Plays a game to its end after an earlier finished game of earlierTotal (0:
// none), checks its end message and dice show, then starts a new game.
class EndOfGameTest : public PlaySceneTest {
protected:
    void PlayToTheEnd(int earlierTotal, int message, bool cycling) {
        if (earlierTotal > 0) {
            int posAll = -1, posMine = -1;
            RecordGameFinished(earlierTotal, &posAll, &posMine);
        }
        Start();
        PastIntro();
        PlayGame();
        ASSERT_TRUE(scene->gameOver);
        EXPECT_TRUE(Shown(scene->pasMsgTop));
        EXPECT_EQ(scene->pasMsgTop->frame, scene->assets.endMessages[message - 1]);
        const int shownBefore = Die(2, 2)->ShownColour() * 10 + Die(2, 2)->GetFace();
        Run(600);
        int cyclingDice = 0, showingDice = 0;
        for (const CActorDie* die : scene->dice) {
            cyclingDice += die->cycleFaces ? 1 : 0;
            showingDice += die->rollShow || die->rollTimer > 0 ? 1 : 0;
        }
        EXPECT_EQ(cyclingDice, cycling ? kDieCount : 0);
        EXPECT_EQ(showingDice, 0);
        EXPECT_EQ(Die(2, 2)->ShownColour() * 10 + Die(2, 2)->GetFace() != shownBefore, cycling);
        // Once over, the new-game button starts a game without asking.
        Tap(SDLK_KP_PERIOD);
        EXPECT_EQ(CScene::Last(), scene);
        EXPECT_FALSE(scene->gameOver);
        EXPECT_EQ(scene->board.handIndex, 0);
        EXPECT_FALSE(Shown(scene->pasMsgTop));
        for (const CActorDie* die : scene->dice) EXPECT_FALSE(die->cycleFaces);
    }
};

DWORD Stored(const char* name) {
    DWORD value = 0;
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadDword(&value, name, 0, "Config");
    return value;
}

TEST_F(EndOfGameTest, AGameThatCouldNotBeSavedClaimsNoPlaceAndSaysSo) {
    int posAll = -1, posMine = -1;
    ASSERT_TRUE(RecordGameFinished(1, &posAll, &posMine));
    Start();
    PastIntro();
    {
        FullDisk full;
        PlayGame();
    }
    ASSERT_TRUE(scene->gameOver);
    EXPECT_FALSE(scene->RecordsSaved());
    EXPECT_EQ(scene->pasMsgTop->frame, scene->assets.endMessages[4]);  // "Game over", not a new best
    EXPECT_FALSE(scene->IsNewBestOverall() || scene->IsNewBestPersonal() || scene->IsInTopTen());
    CEditBox* line = scene->sheet->pMsgEditBox2;
    ASSERT_TRUE(Shown(line));
    EXPECT_STREQ(line->GetText(), "RECORDS NOT SAVED");
    // Nothing of the game was kept; the best shown is the stored one.
    EXPECT_EQ(Stored("TS1All"), 1u);
    EXPECT_EQ(Stored("GamesFinishedAll"), 1u);
    EXPECT_EQ(Stored("BestScore"), 0u);
    EXPECT_EQ(scene->sheet->pHighScore->GetValue(), 0);
    Tap(SDLK_KP_PERIOD);  // a new game takes the line away
    EXPECT_FALSE(Shown(line));
}

// The best score is kept in the record's transaction: once the end has
// recorded the game (before the sheet's own end runs) both are there.
TEST_F(EndOfGameTest, TheBestScoreIsKeptWithTheRecordOfTheGame) {
    int posAll = -1, posMine = -1;
    RecordGameFinished(1, &posAll, &posMine);
    Start();
    PastIntro();
    const int first[] = {108, 97, 98, 99, 100};
    PlayFirstHalf(first);
    const int total = scene->boardCells.Totals().total;
    ASSERT_GT(total, 1);
    scene->SetGameOver();
    EXPECT_EQ(Stored("TS1All"), static_cast<DWORD>(total));
    EXPECT_EQ(Stored("BestScore"), static_cast<DWORD>(total));
}

TEST_F(EndOfGameTest, ThePlayersFirstFinishedGameEndsWithMessage6AndNoDiceShow) { PlayToTheEnd(0, 6, false); }

TEST_F(EndOfGameTest, ANewBestOfAllPlayersMakesTheDiceCycleUntilANewGame) { PlayToTheEnd(1, 1, true); }

}  // namespace
}  // namespace playtest
