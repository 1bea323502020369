// Today's dice: the date's seed, the one counted attempt and the shared line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "game/rules/Today.h"
#include "tests/support/SettingsSandbox.h"

namespace {

TEST(Today, TheDateIsTheLocalOne) {
    const char* previous = std::getenv("TZ");
    const std::string kept = previous ? previous : "";
    // 2026-12-08 23:30 UTC is already the 9th east of Greenwich.
    const std::time_t lateEvening = 1796772600;
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(LocalDateText(lateEvening), "2026-12-08");
    setenv("TZ", "Asia/Tokyo", 1);
    tzset();
    EXPECT_EQ(LocalDateText(lateEvening), "2026-12-09");
    if (previous) setenv("TZ", kept.c_str(), 1); else unsetenv("TZ");
    tzset();
}

TEST(Today, EveryDateHasItsOwnSeedAndEveryMachineTheSameOne) {
    // Fixed for good: changing the mix would give players of one date different dice.
    EXPECT_EQ(TodaySeed("2026-12-08"), TodaySeed(std::string("2026-12-") + "08"));
    EXPECT_EQ(TodaySeed("2026-12-08"), 16648761242563987088ull);
    std::set<std::uint64_t> seeds;
    for (int day = 1; day <= 31; ++day)
        for (const char* month : {"01", "02", "12"}) {
            char date[16];
            std::snprintf(date, sizeof date, "2026-%s-%02d", month, day);
            seeds.insert(TodaySeed(date));
        }
    EXPECT_EQ(seeds.size(), 93u);
    const GameSetup setup = TodaySetup("2026-12-08", OpponentLevel::Medium);
    EXPECT_TRUE(setup.seeded && setup.today);
    EXPECT_EQ(setup.seed, TodaySeed("2026-12-08"));
    EXPECT_EQ(setup.opponent, OpponentLevel::Medium);
}

TEST(Today, OneCountedAttemptPerPlayerPerDay) {
    SettingsSandbox sandbox;
    struct Step {
        const char* player;
        const char* date;
        bool counted;
    };
    const Step steps[] = {
        {"ABC", "2026-12-08", true},  {"ABC", "2026-12-08", false}, {"XY", "2026-12-08", true},
        {"ABC", "2026-12-09", true},  {"ABC", "2026-12-09", false}, {"XY", "2026-12-08", false},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(BeginTodayAttempt(s.player, s.date), s.counted) << s.player << " " << s.date;
        EXPECT_TRUE(TodayAttemptUsed(s.player, s.date));
    }
    EXPECT_FALSE(TodayAttemptUsed("ABC", "2026-12-08"));  // a new day forgets the old one
}

// A kept game of today's dice, resumed (even the next day), is the counted one
// while its date's result is not kept yet; any other is practice.
TEST(Today, AResumedGameCountsWhenItIsTheOpenCountedOne) {
    SettingsSandbox sandbox;
    const std::uint64_t eighth = TodaySeed("2026-12-08");
    EXPECT_EQ(CountedTodayDate("ABC", eighth), "");  // no attempt
    BeginTodayAttempt("ABC", "2026-12-08");
    EXPECT_EQ(CountedTodayDate("ABC", eighth), "2026-12-08");
    EXPECT_EQ(CountedTodayDate("ABC", TodaySeed("2026-12-07")), "");
    EXPECT_EQ(CountedTodayDate("XY", eighth), "");
    KeepTodayResult("ABC", TodayResultLine("2026-12-08", 100, OpponentLevel::Off, 0));
    EXPECT_EQ(CountedTodayDate("ABC", eighth), "");  // the counted game is over: this one is practice
}

TEST(Today, TheResultLineAndItsKeeping) {
    struct Case {
        int total;
        OpponentLevel level;
        int opponent;
        const char* line;
    };
    const Case cases[] = {
        {1874, OpponentLevel::Hard, 1932, "Zanbor 2026-12-08 \u00b7 1,874 \u00b7 Hard 1,932"},
        {1874, OpponentLevel::Off, 0, "Zanbor 2026-12-08 \u00b7 1,874"},
        {999, OpponentLevel::Easy, 1000, "Zanbor 2026-12-08 \u00b7 999 \u00b7 Easy 1,000"},
        {1234567, OpponentLevel::Medium, 0, "Zanbor 2026-12-08 \u00b7 1,234,567 \u00b7 Medium 0"},
    };
    for (const Case& c : cases) EXPECT_EQ(TodayResultLine("2026-12-08", c.total, c.level, c.opponent), c.line);

    SettingsSandbox sandbox;
    BeginTodayAttempt("ABC", "2026-12-08");
    EXPECT_EQ(TodayResult("ABC", "2026-12-08"), "");
    ASSERT_TRUE(KeepTodayResult("ABC", cases[0].line));
    EXPECT_EQ(TodayResult("ABC", "2026-12-08"), cases[0].line);
    EXPECT_EQ(TodayResult("ABC", "2026-12-09"), "");  // only on its own date
    EXPECT_EQ(TodayResult("XY", "2026-12-08"), "");
    BeginTodayAttempt("ABC", "2026-12-09");  // the next day's attempt lets the old line go
    EXPECT_EQ(TodayResult("ABC", "2026-12-08"), "");
}

}  // namespace
