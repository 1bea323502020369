// Duels won, lost and drawn on a real settings store in a temporary folder.
#include <gtest/gtest.h>

#include <string>

#include "game/rules/DuelRecords.h"
#include "platform/storage/MRegistryStore.h"
#include "tests/support/FullDisk.h"
#include "tests/support/SettingsSandbox.h"

namespace {

void Player(const char* initials) { Store()->WriteString("Initials", initials, "Config"); }

std::string Tally(RecordScope scope, OpponentLevel level) {
    const DuelTally t = ReadDuelTally(scope, level);
    return std::to_string(t.won) + "/" + std::to_string(t.lost) + "/" + std::to_string(t.drawn);
}

constexpr auto kMine = RecordScope::ThisPlayer;
constexpr auto kAll = RecordScope::AllPlayers;
constexpr auto kEasy = OpponentLevel::Easy;
constexpr auto kMedium = OpponentLevel::Medium;
constexpr auto kHard = OpponentLevel::Hard;

// Two players' duels: each counts at its level for its player and for all.
void PlayDuels() {
    struct Duel {
        const char* player;
        OpponentLevel level;
        int mine, theirs;
    };
    const Duel duels[] = {
        {"ABC", kHard, 1900, 1800},  {"ABC", kHard, 1700, 1800}, {"ABC", kHard, 1750, 1750},
        {"ABC", kEasy, 1200, 900},   {"XY", kHard, 1000, 2000},  {"XY", kMedium, 1500, 1400},
        {"XY", OpponentLevel::Off, 1500, 0},  // a solo game is no duel
    };
    for (const Duel& d : duels) EXPECT_TRUE(RecordDuelFinished(d.player, d.level, d.mine, d.theirs));
}

TEST(DuelRecords, EachOutcomeCountsAtItsLevelForThePlayerAndForAll) {
    SettingsSandbox sandbox;
    PlayDuels();
    Player("ABC");
    EXPECT_EQ(Tally(kMine, kHard), "1/1/1");
    EXPECT_EQ(Tally(kMine, kEasy), "1/0/0");
    EXPECT_EQ(Tally(kMine, kMedium), "0/0/0");
    EXPECT_EQ(Tally(kAll, kHard), "1/2/1");
    EXPECT_EQ(Tally(kAll, kMedium), "1/0/0");
    EXPECT_EQ(Tally(kAll, OpponentLevel::Off), "0/0/0");
    Player("XY");
    EXPECT_EQ(Tally(kMine, kHard), "0/1/0");
    // Stored beside the other records, under the same naming.
    DWORD won = 0;
    Store()->ReadDword(&won, "ABCDuelsWonHard", 0, "Config");
    EXPECT_EQ(won, 1u);
    Store()->ReadDword(&won, "DuelsLostHardAll", 0, "Config");
    EXPECT_EQ(won, 2u);
}

TEST(DuelRecords, ResettingAPlayerTakesTheirDuelsOutOfAllAndKeepsOthers) {
    SettingsSandbox sandbox;
    PlayDuels();
    Player("ABC");
    ResetPlayerRecords(false);
    for (OpponentLevel level : {kEasy, kMedium, kHard}) EXPECT_EQ(Tally(kMine, level), "0/0/0");
    EXPECT_EQ(Tally(kAll, kHard), "0/1/0");
    EXPECT_EQ(Tally(kAll, kEasy), "0/0/0");
    EXPECT_EQ(Tally(kAll, kMedium), "1/0/0");
    Player("XY");
    EXPECT_EQ(Tally(kMine, kHard), "0/1/0");
}

TEST(DuelRecords, AStoreThatCannotBeWrittenLosesNothingAndSaysSo) {
    SettingsSandbox sandbox;
    ASSERT_TRUE(RecordDuelFinished("ABC", kHard, 2, 1));
    {
        FullDisk full;
        EXPECT_FALSE(RecordDuelFinished("ABC", kHard, 2, 1));
    }
    Player("ABC");
    EXPECT_EQ(Tally(kMine, kHard), "1/0/0");
    EXPECT_EQ(Tally(kAll, kHard), "1/0/0");
}

}  // namespace
