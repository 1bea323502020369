// Today's dice from the initials card: the counted game of the day, a replay
// as practice on the same dice, and the copy of the counted result.

#include "tests/support/PlaySceneTestSupport.h"

#include <chrono>
#include <ctime>
#include <thread>

#include "game/play/CDuelPanel.h"
#include "game/rules/CGameOptions.h"
#include "game/rules/DuelRecords.h"
#include "game/rules/Records.h"
#include "game/rules/Today.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/RecordingDialogs.h"

namespace playtest {
namespace {

DWORD Stored(const char* name) {
    DWORD value = 0;
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->ReadDword(&value, name, 0, "Config");
    return value;
}

std::string Pasted() {
    char* text = SDL_GetClipboardText();
    std::string pasted = text ? text : "";
    SDL_free(text);
    return pasted;
}

class TodayTest : public PlaySceneTest {
protected:
    // Today's game from the card: its first row as rolled, "face colour" a die.
    std::vector<int> StartToday() {
        EXPECT_NE(scene->TodayChoiceShown(), "");
        Tap(SDLK_F5);
        Settle();
        std::vector<int> row;
        for (int col = 0; col < kBoardCols; ++col) row.push_back(Die(0, col)->GetFace() * 10 + Die(0, col)->ShownColour());
        return row;
    }
    // Plays today's game to its end once the computer's is over (it plays on a thread).
    void FinishDuel() {
        for (int i = 0; i < 3000 && !scene->duelPanel->Opponent(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Run(1);
        }
        ASSERT_NE(scene->duelPanel->Opponent(), nullptr);
        PlayGame();
        ASSERT_TRUE(scene->gameOver);
        Run(2);
        ASSERT_TRUE(scene->duelPanel->CardShown());
    }
    static int Duels() {
        const DuelTally t = ReadDuelTally(RecordScope::AllPlayers, OpponentLevel::Easy);
        return t.won + t.lost + t.drawn;
    }
};

TEST_F(TodayTest, TheFirstGameOfTheDayCountsAReplayIsPracticeOnTheSameDice) {
    const std::string date = LocalDateText(std::time(nullptr));
    Options()->SetInitials("ABC");
    Start();
    PastIntro();
    EXPECT_EQ(scene->TodayChoiceShown(), "F5: today's dice");
    const std::vector<int> counted = StartToday();
    EXPECT_TRUE(scene->CurrentSetup().today);
    EXPECT_EQ(scene->CurrentSetup().seed, TodaySeed(date));
    EXPECT_EQ(scene->board.rollsUsed, 1);  // the choice rolls at once
    PlayGame();
    ASSERT_TRUE(scene->gameOver);
    const int total = scene->boardCells.Totals().total;
    EXPECT_EQ(Stored("GamesFinishedAll"), 1u);
    EXPECT_EQ(static_cast<int>(Stored("TS1All")), total);
    EXPECT_EQ(static_cast<int>(Stored("BestScore")), total);
    EXPECT_EQ(scene->TodayLineShown(), "F6: copy the result");
    Tap(SDLK_F6);
    EXPECT_EQ(Pasted(), TodayResultLine(date, total, OpponentLevel::Off, 0));

    Tap(SDLK_KP_PERIOD);  // a new game: the card says a replay is practice
    EXPECT_EQ(scene->TodayChoiceShown(), "F5: today's dice again (practice)");
    EXPECT_EQ(StartToday(), counted);
    EXPECT_TRUE(scene->PracticeGame());
    // Practice changes no record, nor a best score it beats.
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteDword("BestScore", 0, "Config");
    PlayGame();
    ASSERT_TRUE(scene->gameOver);
    EXPECT_EQ(Stored("GamesFinishedAll"), 1u);
    EXPECT_EQ(Stored("LS2All"), 0u);
    EXPECT_EQ(Stored("BestScore"), 0u);
    EXPECT_EQ(scene->TodayLineShown(), "Practice: not counted");
    // The counted game's line is still the one copied.
    SDL_SetClipboardText("");
    Tap(SDLK_F6);
    EXPECT_EQ(Pasted(), TodayResultLine(date, total, OpponentLevel::Off, 0));
}

// A player without initials plays as "???": the card knows their game of the day.
TEST_F(TodayTest, TheCardOfAPlayerWithoutInitialsKnowsTheirGameOfTheDay) {
    BeginTodayAttempt(COptions::kNoInitials, LocalDateText(std::time(nullptr)));
    Start();
    PastIntro();
    EXPECT_EQ(scene->TodayChoiceShown(), "F5: today's dice again (practice)");
}

// Today's duel: the counted one goes into the duel records and its line names
// the computer's total; a replay stays out of them.
TEST_F(TodayTest, TodaysDuelCountsOnceAndItsLineCarriesTheComputersTotal) {
    const std::string date = LocalDateText(std::time(nullptr));
    static_cast<CGameOptions*>(Options())->SetOpponent(static_cast<int>(OpponentLevel::Easy));
    Options()->SetInitials("ABC");
    Start();
    PastIntro();
    static_cast<CGameOptions*>(Options())->SetOpponent(static_cast<int>(OpponentLevel::Hard));
    scene->OnOptionsChanged();
    EXPECT_EQ(scene->TodayChoiceShown(), "F5: today's dice vs Hard") << "the card follows the option";
    static_cast<CGameOptions*>(Options())->SetOpponent(static_cast<int>(OpponentLevel::Easy));
    scene->OnOptionsChanged();
    EXPECT_EQ(scene->TodayChoiceShown(), "F5: today's dice vs Easy");
    StartToday();
    FinishDuel();
    EXPECT_EQ(Duels(), 1);
    SDL_SetClipboardText("");
    Tap(SDLK_F6);
    EXPECT_EQ(Pasted(), TodayResultLine(date, scene->board.Total(), OpponentLevel::Easy,
                                        scene->duelPanel->Opponent()->total));

    Tap(SDLK_KP_PERIOD);
    StartToday();
    EXPECT_TRUE(scene->PracticeGame());
    FinishDuel();
    EXPECT_FALSE(scene->duelPanel->Recorded());
    EXPECT_EQ(Duels(), 1);
}

// The counted game kept when the program ends is still the counted one when
// it is resumed: it is recorded at its end.
TEST_F(TodayTest, PracticeCountsAsNoGameStartedNorAbandoned) {
    Options()->SetInitials("ABC");
    Start();
    PastIntro();
    StartToday();
    PlayGame();
    ASSERT_TRUE(scene->gameOver);
    Tap(SDLK_KP_PERIOD);
    StartToday();
    ASSERT_TRUE(scene->PracticeGame());
    Category(108);
    Settle();
    ASSERT_TRUE(scene->KeepGameInProgress());
    RecordingDialogs dialogs;
    dialogs.messageAnswer = IDNO;  // the kept practice game is declined
    Begin();
    scene->OfferSavedGame();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(Stored("GamesStartedAll"), 1u);
    EXPECT_EQ(Stored("ABCGamesStarted"), 1u);
    EXPECT_EQ(Stored("GamesAbandonedAll"), 0u);
}

TEST_F(TodayTest, AKeptCountedGameResumedStillCounts) {
    Options()->SetInitials("ABC");
    Start();
    PastIntro();
    StartToday();
    Category(108);
    Settle();
    ASSERT_TRUE(scene->KeepGameInProgress());
    RecordingDialogs dialogs;
    dialogs.messageAnswer = IDYES;
    Begin();
    scene->OfferSavedGame();
    Run(200);
    ASSERT_TRUE(scene->CurrentSetup().today);
    EXPECT_FALSE(scene->PracticeGame());
    EXPECT_EQ(scene->TodayLineShown(), "Today's dice");
    for (int code : {97, 98, 99, 100}) {
        RollAndSettle();
        Category(code);
        Settle();
    }
    Tap(SDLK_1);
    for (int code = 101; code <= 107; ++code) Category(code);
    ASSERT_TRUE(scene->gameOver);
    EXPECT_EQ(Stored("GamesFinishedAll"), 1u);
    EXPECT_EQ(scene->TodayLineShown(), "F6: copy the result");
}

}  // namespace
}  // namespace playtest
