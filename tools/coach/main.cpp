// zanbor-coach --games N --seed S [--policy greedy|coach]
// Plays N seeded games headless and prints the mean, median, 10th and 90th
// percentile totals and the games played per second.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/rules/Random.h"
#include "game/rules/coach/CoachRandom.h"
#include "tools/coach/CoachGames.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zanbor-coach --games N --seed S [--policy greedy|coach]\n"
                 "                    [--rollouts N] [--rollout-swaps N] [--search-swaps N]\n");
    return 2;
}

bool ParseCount(const char* text, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && out >= 0;
}

}  // namespace

int main(int argc, char** argv) {
    long long games = -1, seed = -1;
    GamePolicy policy = GamePolicy::Greedy;
    coach::CoachBudget budget;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        long long n = 0;
        if (arg == "--policy") {
            if (std::strcmp(value, "greedy") == 0)
                policy = GamePolicy::Greedy;
            else if (std::strcmp(value, "coach") == 0)
                policy = GamePolicy::Coach;
            else
                return Usage();
            continue;
        }
        if (!ParseCount(value, n)) return Usage();
        if (arg == "--games")
            games = n;
        else if (arg == "--seed")
            seed = n;
        else if (arg == "--rollouts" && n > 0)
            budget.rollouts = static_cast<int>(n);
        else if (arg == "--rollout-swaps")
            budget.rolloutSwaps = static_cast<int>(n);
        else if (arg == "--search-swaps")
            budget.searchSwaps = static_cast<int>(n);
        else
            return Usage();
    }
    if (games <= 0 || seed < 0) return Usage();

    const coach::CCoach coach(budget);
    std::vector<int> totals;
    totals.reserve(static_cast<std::size_t>(games));
    const auto start = std::chrono::steady_clock::now();
    for (long long g = 0; g < games; ++g) {
        // Each game has its own dice, the same whichever policy plays it.
        const std::uint64_t gameSeed = coach::Combine(static_cast<std::uint64_t>(seed), static_cast<std::uint64_t>(g));
        SeedRandom(static_cast<unsigned>(gameSeed));
        totals.push_back(PlayGame(policy, coach, gameSeed));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::vector<int> sorted = totals;
    std::sort(sorted.begin(), sorted.end());
    auto percentile = [&](double q) { return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1))]; };
    double sum = 0;
    for (int t : totals) sum += t;
    std::printf("policy %s, %lld games, seed %lld\n", policy == GamePolicy::Coach ? "coach" : "greedy", games, seed);
    std::printf("mean %.1f\nmedian %d\np10 %d\np90 %d\ngames/s %.2f\n", sum / static_cast<double>(games),
                percentile(0.5), percentile(0.1), percentile(0.9), static_cast<double>(games) / seconds);
    return 0;
}
