// The statistics page's figures once more than ten games are finished: the
// tables hold only ten, the overall mean all of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

#include "game/Records.h"
#include "platform/MRegistryStore.h"
#include "tests/support/SettingsSandbox.h"

TEST(StatisticsFigures, MoreThanTenFinishedGamesAverageTheTablesOverTenAndTheMeanOverAll) {
    SettingsSandbox sandbox;
    MRegistryStore::Get(HKEY_LOCAL_MACHINE)->WriteString("Initials", "ABC", "Config");
    std::vector<int> totals;
    for (int i = 1; i <= 12; ++i) totals.push_back(i * 10);
    totals.push_back(5);  // the newest game is the worst
    for (const int total : totals) {
        RecordGameStarted();
        int all = 0, mine = 0;
        RecordGameFinished(total, &all, &mine);
    }
    std::vector<int> best = totals;
    std::sort(best.begin(), best.end(), std::greater<int>());
    const int bestTen = std::accumulate(best.begin(), best.begin() + 10, 0) / 10;
    const int recentTen = std::accumulate(totals.end() - 10, totals.end(), 0) / 10;
    const int mean = std::accumulate(totals.begin(), totals.end(), 0) / static_cast<int>(totals.size());
    ASSERT_NE(bestTen, recentTen);

    for (const RecordScope scope : {RecordScope::ThisPlayer, RecordScope::AllPlayers}) {
        const StatisticsFigures figures = GetStatisticsFigures(scope);
        EXPECT_EQ(figures.started, 13);
        EXPECT_EQ(figures.finished, 13);
        EXPECT_TRUE(figures.averagesShown);
        EXPECT_EQ(figures.bestTenAverage, bestTen);
        EXPECT_EQ(figures.recentAverage, recentTen);
        EXPECT_EQ(figures.overallAverage, mean);
    }
}
