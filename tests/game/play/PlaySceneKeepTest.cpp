// A game left in the middle comes back at the next start as it was: the
// board, the sheet on screen and the dice that follow; a save that cannot be
// read is reported and dropped, and one declined counts as abandoned.

#include "tests/support/PlaySceneTestSupport.h"

#include "game/rules/Records.h"
#include "game/rules/SavedGame.h"
#include "tests/support/RecordingDialogs.h"

namespace playtest {
namespace {

class PlaySceneKeepTest : public PlaySceneTest {
protected:
    // The program ends and starts again: a new scene over the same store.
    void Restart(int answer) {
        dialogs.messages.clear();
        dialogs.messageAnswer = answer;
        SeedRandom(999);  // a new run draws its own numbers until a kept game is resumed
        Begin();
        scene->OfferSavedGame();
        Run(200);
    }
    std::string Faces() const {
        std::string faces;
        for (const DieState& die : scene->board.dice) faces += std::to_string(die.face * 10 + die.colour) + " ";
        return faces;
    }
    int Count(const char* name) {
        DWORD value = 0;
        Store()->ReadDword(&value, name, 0, "Config");
        return static_cast<int>(value);
    }
    RecordingDialogs dialogs;
};

TEST_F(PlaySceneKeepTest, AGameLeftMidRowOrMidSecondHalfComesBackAsItWasWithTheSameDiceToCome) {
    struct Case {
        const char* name;
        int firstHalfRows;  // rows rolled once and scored
        int linesScored;
        int rollsInRow;
    };
    const Case cases[] = {{"mid-row", 2, 0, 2}, {"mid-second-half", 5, 2, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start();
        PastIntro();
        const int codes[] = {108, 97, 98, 99, 100};
        for (int row = 0; row < c.firstHalfRows; ++row) {
            RollAndSettle();
            Category(codes[row]);
            Settle();
        }
        for (int line = 0; line < c.linesScored; ++line) {
            Tap(SDLK_1 + line);
            Category(101 + line);
            Run(50);
        }
        for (int roll = 0; roll < c.rollsInRow; ++roll) RollAndSettle();
        if (c.rollsInRow > 0) Click(MidX(Die(kRollingRow, 1)), MidY(Die(kRollingRow, 1)));
        Run(50);
        ASSERT_TRUE(scene->KeepGameInProgress());
        const std::string left = Faces();
        const int total = scene->boardCells.Totals().total;
        const int hand = scene->board.handIndex;
        const bool held = scene->board.dice[DieIndex(hand < kFirstHalfHands ? hand : 0, 1)].held;
        const int rollsUsed = scene->board.rollsUsed;
        // What the player would have seen next.
        std::string next;
        if (c.rollsInRow > 0) {
            RollAndSettle();
            next = Faces();
        }

        Restart(IDYES);
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, "Resume your game (row " + std::to_string(hand + 1) + ", " +
                                                std::to_string(total) + " points)?");
        EXPECT_EQ(Faces(), left);
        EXPECT_EQ(scene->board.handIndex, hand);
        EXPECT_EQ(scene->board.rollsUsed, rollsUsed);
        EXPECT_EQ(scene->board.dice[DieIndex(hand < kFirstHalfHands ? hand : 0, 1)].held, held);
        EXPECT_EQ(scene->sheet->Totals().total, total);
        for (int i = 0; i < kCategoryCount; ++i)
            EXPECT_EQ(scene->sheet->pScoreCell[i]->filled != 0, scene->boardCells.Cells()[i].filled) << i;
        for (int i = 0; i < kDieCount; ++i) {
            const int row = scene->board.dice[i].row;
            EXPECT_EQ(Shown(scene->dice[i]), row >= 0) << i;
            if (row >= 0) {
                EXPECT_EQ(scene->dice[i]->AbsoluteY(), DieRestY(row)) << i;
            }
        }
        EXPECT_EQ(std::string(scene->gamePlayer), Options()->GetInitials());
        if (c.rollsInRow > 0) {
            RollAndSettle();
            EXPECT_EQ(Faces(), next);
        } else {
            EXPECT_FALSE(Shown(scene->rollButton));
            EXPECT_TRUE(Shown(scene->lineButtons[2]));
            EXPECT_FALSE(Shown(scene->lineButtons[0]));
        }
        // Resumed, it stays kept until the game ends or another is started.
        SavedGame kept;
        EXPECT_EQ(ReadSavedGame(&kept), StoredGame::Ready);
    }
}

TEST_F(PlaySceneKeepTest, ADamagedSaveIsReportedInOneLineAndDroppedAndADeclinedOneCountsAsAbandoned) {
    Store()->WriteString("SavedGame", "zanbor-saved-game 1\nboard 9 9 9\ncheck 00000000\n", "Config");
    Restart(IDYES);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.find('\n'), std::string::npos);
    EXPECT_NE(dialogs.messages[0].text.find("could not be read"), std::string::npos);
    SavedGame none;
    EXPECT_EQ(ReadSavedGame(&none), StoredGame::None);
    EXPECT_EQ(scene->board.handIndex, 0);
    EXPECT_FALSE(scene->initialsCommitted);

    PastIntro();
    RollAndSettle();
    Category(97);
    Settle();
    const std::string player = scene->gamePlayer;
    Restart(IDNO);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(ReadSavedGame(&none), StoredGame::None);
    EXPECT_EQ(Count("GamesAbandonedAll"), 1);
    EXPECT_EQ(Count((player + "GamesAbandoned").c_str()), 1);
    EXPECT_EQ(scene->board.handIndex, 0);
}

TEST_F(PlaySceneKeepTest, NothingIsKeptBeforeTheFirstRollNorAfterTheGameEnds) {
    Start();
    PastIntro();
    EXPECT_FALSE(scene->KeepGameInProgress());
    PlayGame();
    Run(100);
    ASSERT_TRUE(scene->gameOver);
    EXPECT_FALSE(scene->KeepGameInProgress());
    SavedGame none;
    EXPECT_EQ(ReadSavedGame(&none), StoredGame::None);
}

}  // namespace
}  // namespace playtest
