// Player records on a real settings store in a temporary folder.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/rules/Records.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/SettingsSandbox.h"

namespace {

int Dword(const std::string& name, int missing = -1) {
    DWORD value = 0;
    Store()->ReadDword(&value, name.c_str(), static_cast<DWORD>(missing), "Config");
    return static_cast<int>(value);
}

void SetDword(const std::string& name, int value) {
    Store()->WriteDword(name.c_str(), static_cast<DWORD>(value), "Config");
}

std::string Text(const std::string& name) {
    char buffer[16];
    Store()->ReadString(buffer, name.c_str(), "<none>", "Config", sizeof buffer);
    return buffer;
}

void Player(const char* initials) { Store()->WriteString("Initials", initials, "Config"); }

// One finished game for the current player.
void Finish(int total, int* posAll = nullptr, int* posMine = nullptr) {
    RecordGameStarted();
    int all = 0, mine = 0;
    RecordGameFinished(total, &all, &mine);
    if (posAll) *posAll = all;
    if (posMine) *posMine = mine;
}

// "score initials" per entry of a table, "-" for an empty one.
std::vector<std::string> Table(TableKind kind, const std::string& player) {
    std::vector<std::string> rows;
    for (int i = 0; i < kTableEntries; ++i) {
        const std::string initials = Text(TableInitialsKey(kind, i, player));
        rows.push_back(initials == "<none>" ? "-" : std::to_string(Dword(TableScoreKey(kind, i, player))) + " " + initials);
    }
    return rows;
}

std::vector<std::string> Rows(std::vector<std::string> filled) {
    filled.resize(kTableEntries, "-");
    return filled;
}

TEST(Records, FirstFinishedGameOnAnEmptyStore) {
    SettingsSandbox sandbox;
    Player("ABC");
    EXPECT_TRUE(IsFirstFinishedGame());
    int posAll = -2, posMine = -2;
    Finish(250, &posAll, &posMine);
    EXPECT_EQ(posAll, 0);
    EXPECT_EQ(posMine, 0);
    EXPECT_FALSE(IsFirstFinishedGame());
    EXPECT_EQ(Table(kTableBestAll, "ABC"), Rows({"250 ABC"}));
    EXPECT_EQ(Table(kTableRecentAll, "ABC"), Rows({"250 ABC"}));
    EXPECT_EQ(Table(kTableBestMine, "ABC"), Rows({"250 ABC"}));
    EXPECT_EQ(Table(kTableRecentMine, "ABC"), Rows({"250 ABC"}));
    EXPECT_EQ(Dword("TS1All"), 250);
    EXPECT_EQ(Dword("ABCTS1"), 250);
    EXPECT_EQ(Dword("AverageScoreAll"), 250);
    EXPECT_EQ(Dword("RemainderAll"), 0);
    EXPECT_EQ(Dword("ABCAverageScore"), 250);
    EXPECT_EQ(Dword("GamesFinishedAll"), 1);
    EXPECT_EQ(Dword("ABCGamesStarted"), 1);
    EXPECT_EQ(Dword("GamesStartedAll"), 1);
    EXPECT_EQ(Dword("BestScore"), -1);  // the score sheet owns the best score
}

TEST(Records, EqualTotalsRankAfterOlderOnesAndRecentTablesAreNewestFirst) {
    SettingsSandbox sandbox;
    Player("ABC");
    for (int total : {900, 800, 700, 600, 500}) Finish(total);
    Player("XY");
    int posAll = 0, posMine = 0;
    Finish(600, &posAll, &posMine);
    EXPECT_EQ(posAll, 4);
    EXPECT_EQ(posMine, 0);
    EXPECT_EQ(Table(kTableBestAll, "XY"), Rows({"900 ABC", "800 ABC", "700 ABC", "600 ABC", "600 XY", "500 ABC"}));
    EXPECT_EQ(Table(kTableRecentAll, "XY"), Rows({"600 XY", "500 ABC", "600 ABC", "700 ABC", "800 ABC", "900 ABC"}));
    EXPECT_EQ(Table(kTableBestMine, "XY"), Rows({"600 XY"}));
    EXPECT_EQ(Table(kTableBestMine, "ABC"), Rows({"900 ABC", "800 ABC", "700 ABC", "600 ABC", "500 ABC"}));
}

TEST(Records, ALowTotalMissesAFullTableButHeadsTheRecentOnes) {
    SettingsSandbox sandbox;
    Player("ABC");
    for (int i = 0; i < 10; ++i) Finish(500 + i);
    const auto before = Table(kTableBestAll, "ABC");
    int posAll = 0, posMine = 0;
    Finish(100, &posAll, &posMine);
    EXPECT_EQ(posAll, -1);
    EXPECT_EQ(posMine, -1);
    EXPECT_EQ(Table(kTableBestAll, "ABC"), before);
    EXPECT_EQ(Table(kTableRecentAll, "ABC")[0], "100 ABC");
    EXPECT_EQ(Table(kTableRecentAll, "ABC")[9], "501 ABC");  // the oldest, 500, fell off
    EXPECT_EQ(Dword("LS11All"), -1);                       // never an eleventh entry
    // A total of 0 never enters an empty table.
    Player("NEW");
    EXPECT_EQ(FindTablePosition(kTableBestMine, 0), -1);
}

TEST(Records, TheEleventhGameSwitchesToTheRunningMean) {
    SettingsSandbox sandbox;
    Player("ABC");
    for (int i = 0; i < 10; ++i) Finish(100);
    EXPECT_EQ(Dword("AverageScoreAll"), 100);
    Finish(111);
    EXPECT_EQ(Dword("AverageScoreAll"), 101);
    EXPECT_EQ(Dword("RemainderAll"), 0);
    EXPECT_EQ(Dword("ABCAverageScore"), 101);
    Finish(5);  // (1111 + 5) / 12 = 93 rest 0
    EXPECT_EQ(Dword("AverageScoreAll"), 93);
    Finish(7);  // 1123 / 13 = 86 rest 5
    EXPECT_EQ(Dword("AverageScoreAll"), 86);
    EXPECT_EQ(Dword("RemainderAll"), 5);
}

TEST(Records, ResetWhenThePlayerOwnsTheOnlyEntries) {
    SettingsSandbox sandbox;
    Player("ABC");
    Finish(300);
    Finish(200);
    RecordGameStarted();  // a game in progress
    SetDword("BestScore", 300);
    EXPECT_EQ(ResetPlayerRecords(true), 0);
    EXPECT_EQ(Dword("BestScore"), 0);
    EXPECT_EQ(Table(kTableBestAll, "ABC"), Rows({}));
    EXPECT_EQ(Table(kTableRecentAll, "ABC"), Rows({}));
    EXPECT_EQ(Table(kTableBestMine, "ABC"), Rows({}));
    EXPECT_EQ(Table(kTableRecentMine, "ABC"), Rows({}));
    EXPECT_EQ(Dword("ABCGamesStarted"), 1);  // the running game still counts
    EXPECT_EQ(Dword("GamesStartedAll"), 1);
    EXPECT_EQ(Dword("GamesFinishedAll"), 0);
    EXPECT_EQ(Dword("ABCGamesFinished"), -1);
    EXPECT_EQ(Dword("AverageScoreAll"), -1);
    EXPECT_EQ(Dword("ABCAverageScore"), -1);
    EXPECT_TRUE(IsFirstFinishedGame());
}

TEST(Records, ResetKeepsOtherPlayersAndCaseDifferingInitials) {
    SettingsSandbox sandbox;
    Player("XY");
    Finish(200);
    Player("ABC");
    Finish(400);
    Player("AbC");  // value names ignore case, as in a registry; table initials do not
    Finish(350);
    Player("ABC");
    Finish(500);
    Finish(50);
    EXPECT_EQ(ResetPlayerRecords(false), 350);
    EXPECT_EQ(Table(kTableBestAll, "ABC"), Rows({"350 AbC", "200 XY"}));
    EXPECT_EQ(Table(kTableRecentAll, "ABC"), Rows({"350 AbC", "200 XY"}));
    EXPECT_EQ(Dword("BestScore"), 350);
}

TEST(Records, ResetTakesThePlayersGamesOutOfTheCountsAndTheMean) {
    SettingsSandbox sandbox;
    Player("XY");
    Finish(90);
    Finish(110);
    Player("ABC");
    Finish(500);
    Finish(50);
    Finish(100);
    // All games: 850 over 5.
    ASSERT_EQ(Dword("AverageScoreAll"), 170);
    EXPECT_EQ(ResetPlayerRecords(false), 110);
    EXPECT_EQ(Dword("GamesFinishedAll"), 2);
    EXPECT_EQ(Dword("GamesStartedAll"), 2);
    EXPECT_EQ(Dword("AverageScoreAll"), 100);
    EXPECT_EQ(Dword("RemainderAll"), 0);
    EXPECT_EQ(Dword("XYGamesFinished"), 2);
    EXPECT_EQ(Dword("XYTS1"), 110);
    EXPECT_EQ(Dword("ABCGamesStarted"), 0);
    EXPECT_EQ(Dword("ABCTS1"), -1);
    EXPECT_EQ(Dword("ABCLS3"), -1);
}

TEST(Records, ResetWithDisagreeingCountsNeverWrapsBelowZero) {
    SettingsSandbox sandbox;
    Player("ABC");
    Finish(300);
    // As a damaged store might leave them: totals smaller than the player's own.
    SetDword("GamesStartedAll", 0);
    SetDword("GamesFinishedAll", 0);
    ResetPlayerRecords(false);
    EXPECT_EQ(Dword("GamesStartedAll"), 0);
    EXPECT_EQ(Dword("GamesFinishedAll"), 0);
    EXPECT_EQ(Dword("AverageScoreAll"), -1);

    Player("XY");
    Finish(100);
    Player("ABC");
    Finish(300);
    SetDword("GamesStartedAll", 1);  // fewer than ABC's one plus XY's one
    SetDword("AverageScoreAll", 10);  // a sum smaller than ABC's own
    ResetPlayerRecords(true);
    EXPECT_EQ(Dword("GamesStartedAll"), 1);  // 0 after the subtraction, plus the running game
    EXPECT_EQ(Dword("GamesFinishedAll"), 1);
    EXPECT_EQ(Dword("AverageScoreAll"), 0);
}

TEST(Records, AveragesStayExactAfterAResetThinnedTheTable) {
    SettingsSandbox sandbox;
    Player("XY");
    Finish(90);
    Finish(110);
    Player("ABC");
    for (int i = 0; i < 10; ++i) Finish(1000);  // pushes XY out of the best ten
    ResetPlayerRecords(false);
    ASSERT_EQ(Dword("GamesFinishedAll"), 2);
    ASSERT_EQ(Dword("AverageScoreAll"), 100);
    Player("XY");
    StatisticsFigures all = GetStatisticsFigures(RecordScope::AllPlayers);
    EXPECT_EQ(all.overallAverage, 100);  // not 0 / 2 from the emptied table
    Finish(130);  // (90 + 110 + 130) / 3
    EXPECT_EQ(Dword("AverageScoreAll"), 110);
    EXPECT_EQ(Dword("RemainderAll"), 0);
    all = GetStatisticsFigures(RecordScope::AllPlayers);
    EXPECT_EQ(all.finished, 3);
    EXPECT_EQ(all.bestTenAverage, 130);  // the one entry the table holds
    EXPECT_EQ(all.overallAverage, 110);
}

TEST(Records, AGapInATableIsNeverDuplicatedByAnInsert) {
    SettingsSandbox sandbox;
    Player("ABC");
    for (int total : {500, 400, 300}) Finish(total);
    Store()->DeleteValue("Config", "TSI2All");  // a damaged entry in the middle
    Store()->DeleteValue("Config", "TS2All");
    InsertTableEntry(kTableBestAll, 0, 600);
    EXPECT_EQ(Table(kTableBestAll, "ABC"), Rows({"600 ABC", "500 ABC", "-", "300 ABC"}));
    CompactTable(kTableBestAll);
    EXPECT_EQ(Table(kTableBestAll, "ABC"), Rows({"600 ABC", "500 ABC", "300 ABC"}));
    InsertTableEntry(kTableBestAll, 10, 1);  // outside the table: nothing
    InsertTableEntry(kTableBestAll, -1, 1);
    EXPECT_EQ(Dword("TS11All"), -1);
    EXPECT_EQ(Table(kTableBestAll, "ABC"), Rows({"600 ABC", "500 ABC", "300 ABC"}));
}

TEST(Records, TableTextsAndFigures) {
    SettingsSandbox sandbox;
    Player("ABC");
    for (int total : {7, 42, 123, 12345}) Finish(total);
    EXPECT_EQ(TableScoresText(kTableBestAll), "9999\r 123\r  42\r   7\r\r\r\r\r\r\r");
    EXPECT_EQ(TableInitialsText(kTableBestAll), "ABC\rABC\rABC\rABC\r\r\r\r\r\r\r");
    EXPECT_EQ(TableScoresText(kTableRecentMine), "9999\r 123\r  42\r   7\r\r\r\r\r\r\r");
    RecordGameStarted();
    const StatisticsFigures mine = GetStatisticsFigures(RecordScope::ThisPlayer);
    EXPECT_EQ(mine.started, 5);
    EXPECT_EQ(mine.finished, 4);
    EXPECT_TRUE(mine.averagesShown);
    EXPECT_EQ(mine.bestTenAverage, (7 + 42 + 123 + 12345) / 4);
    EXPECT_EQ(mine.recentAverage, (7 + 42 + 123 + 12345) / 4);
    EXPECT_EQ(mine.overallAverage, (7 + 42 + 123 + 12345) / 4);

    Player("NEW");
    const StatisticsFigures none = GetStatisticsFigures(RecordScope::ThisPlayer);
    EXPECT_FALSE(none.averagesShown);
    EXPECT_EQ(TableScoresText(kTableBestMine), "\r\r\r\r\r\r\r\r\r\r");
    EXPECT_EQ(GetStatisticsFigures(RecordScope::AllPlayers).finished, 4);
}

TEST(Records, AbsentInitialsMakeThePlayerQuestionMarks) {
    SettingsSandbox sandbox;
    EXPECT_EQ(CurrentPlayerInitials(), "???");
    Finish(77);
    EXPECT_EQ(Dword("???GamesFinished"), 1);
    EXPECT_EQ(Text("TSI1All"), "???");
}

// "Initials" stored empty (start-up saved before any were typed) is the same
// player as none at all, never an empty prefix that reads like "All" keys.
TEST(Records, EmptyStoredInitialsAreThePlayerQuestionMarks) {
    SettingsSandbox sandbox;
    Player("");
    EXPECT_EQ(CurrentPlayerInitials(), "???");
    Finish(77);
    Finish(55);
    EXPECT_EQ(Dword("???GamesStarted"), 2);
    EXPECT_EQ(Dword("???GamesFinished"), 2);
    EXPECT_EQ(Table(kTableBestAll, "???"), Rows({"77 ???", "55 ???"}));
    EXPECT_EQ(Table(kTableBestMine, "???"), Rows({"77 ???", "55 ???"}));
    for (const char* unprefixed : {"GamesStarted", "GamesFinished", "AverageScore", "Remainder", "TS1", "TSI1", "LS1"})
        EXPECT_EQ(Dword(unprefixed), -1) << unprefixed;
    EXPECT_EQ(GetStatisticsFigures(RecordScope::ThisPlayer).finished, 2);
}

// More than ten finished games: the tables hold the best and the newest ten,
// the overall average is the running mean of every game.
TEST(Records, StatisticsAfterMoreThanTenFinishedGames) {
    SettingsSandbox sandbox;
    Player("XY");
    Finish(1000);  // another player's game counts for "All" only
    Player("ABC");
    const int totals[] = {100, 250, 180, 90, 300, 120, 210, 60, 330, 150, 200, 40, 270};
    std::int64_t sum = 0;
    for (int total : totals) {
        Finish(total);
        sum += total;
    }
    const StatisticsFigures mine = GetStatisticsFigures(RecordScope::ThisPlayer);
    EXPECT_EQ(mine.started, 13);
    EXPECT_EQ(mine.finished, 13);
    EXPECT_TRUE(mine.averagesShown);
    // Best ten: all but 40, 60 and 90.
    EXPECT_EQ(mine.bestTenAverage, (sum - 40 - 60 - 90) / 10);
    // Newest ten: all but the first three, 100, 250 and 180.
    EXPECT_EQ(mine.recentAverage, (sum - 100 - 250 - 180) / 10);
    EXPECT_EQ(mine.overallAverage, sum / 13);
    EXPECT_EQ(Dword("ABCRemainder"), sum % 13);

    const StatisticsFigures all = GetStatisticsFigures(RecordScope::AllPlayers);
    EXPECT_EQ(all.started, 14);
    EXPECT_EQ(all.finished, 14);
    EXPECT_EQ(all.bestTenAverage, (1000 + sum - 40 - 60 - 90 - 100) / 10);
    EXPECT_EQ(all.recentAverage, (sum - 100 - 250 - 180) / 10);
    EXPECT_EQ(all.overallAverage, (sum + 1000) / 14);
    EXPECT_EQ(Dword("RemainderAll"), (sum + 1000) % 14);
    EXPECT_EQ(TableScoresText(kTableRecentMine), " 270\r  40\r 200\r 150\r 330\r  60\r 210\r 120\r 300\r  90\r");
}

// A crash between the writes of a finished game leaves the records as they were.
TEST(Records, ACrashWhileRecordingLeavesTheTablesAsBefore) {
    SettingsSandbox sandbox;
    Player("ABC");
    for (int total : {500, 300, 100}) Finish(total);
    const auto bestBefore = Table(kTableBestAll, "ABC");
    const auto recentBefore = Table(kTableRecentMine, "ABC");
    MRegistryStore::Free();  // the child opens its own connection

    for (int step = 1; step <= 5; ++step) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            static int crashAt;
            crashAt = step;
            SetRecordsTestHook([](int reached) {
                if (reached == crashAt) _exit(7);
            });
            RecordGameFinished(400, nullptr, nullptr);
            _exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(WEXITSTATUS(status), 7) << "step " << step;

        EXPECT_EQ(Table(kTableBestAll, "ABC"), bestBefore) << "step " << step;
        EXPECT_EQ(Table(kTableRecentMine, "ABC"), recentBefore) << "step " << step;
        EXPECT_EQ(Dword("GamesFinishedAll"), 3);
        EXPECT_EQ(Dword("AverageScoreAll"), 300);
        MRegistryStore::Free();
    }
    // The store is still sound and takes the game afterwards.
    int posAll = -1;
    RecordGameFinished(400, &posAll, nullptr);
    EXPECT_EQ(posAll, 1);
    EXPECT_EQ(Dword("GamesFinishedAll"), 4);
}

}  // namespace
