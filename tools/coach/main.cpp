// zanbor-coach --games N --seed S [--first G] [--policy greedy|coach] [--calibrate] [--common-dice]
// Plays N seeded games headless and prints the mean, median, 10th and 90th
// percentile totals, the games played per second and the CPU time a game.
// --calibrate plays the coach and sets what it showed at a few moments
// against the totals its games reached, and prints each category's mean.
// --common-dice draws each die from a seed of its own, so that two runs that
// differ in play are compared on shared luck; --against FILE sets this run's
// totals against those an earlier run (its output in FILE) reached on the
// same games: the mean difference and its 95 % interval.
// zanbor-coach --seed S --review: one game followed the coach's way and one
// played greedily, and the review page's words for each.
// --policy easy|medium|hard plays the duel opponent at that level instead;
// --greedy-share X sets its share of greedy decisions (to fit the levels).
// zanbor-coach --duel easy|medium|hard|all --games N --seed S: the level (or
// every level) and Hard on the same dice, each side's mean and median and how
// often Hard wins.
#include <algorithm>
#include <chrono>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/rules/Random.h"
#include "game/rules/coach/CoachRandom.h"
#include "game/rules/coach/CoachReview.h"
#include "game/rules/coach/DuelOpponent.h"
#include "tools/coach/CoachGames.h"
#include "tools/coach/DuelGames.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: zanbor-coach --games N --seed S [--policy greedy|coach|easy|medium|hard] [--calibrate]\n"
                 "                    [--common-dice] [--against FILE]\n"
                 "       zanbor-coach --duel easy|medium|hard|all --games N --seed S\n"
                 "       zanbor-coach --seed S --review\n"
                 "                    [--first G] [--rollouts N] [--rollout-swaps N] [--search-swaps N]\n"
                 "                    [--greedy-share X]\n");
    return 2;
}

bool ParseCount(const char* text, long long& out) {
    char* end = nullptr;
    out = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && out >= 0;
}

// The moments whose shown totals are set against the totals reached: the
// first roll of rows 1, 3 and 5, and the second half's first hand.
struct Moment {
    const char* name;
    int handIndex;
    int rollsUsed;
};
constexpr Moment kMoments[] = {{"row1", 0, 1}, {"row3", 2, 1}, {"row5", 4, 1}, {"second-half", 5, 0}};

void PrintCalibration(const std::vector<PlayedGame>& played) {
    for (const Moment& m : kMoments) {
        double shown = 0, reached = 0, squares = 0;
        int n = 0;
        for (const PlayedGame& g : played) {
            // The first decision at the moment (the second half may ask again after swaps).
            for (const ShownTotal& s : g.shown) {
                if (s.handIndex != m.handIndex || (m.handIndex < kFirstHalfHands && s.rollsUsed != m.rollsUsed)) continue;
                shown += s.shown;
                reached += g.total;
                squares += (s.shown - g.total) * (s.shown - g.total);
                ++n;
                break;
            }
        }
        if (n == 0) continue;
        const double bias = (shown - reached) / n;
        std::printf("calibration %s shown %.1f reached %.1f games %d\n", m.name, shown / n, reached / n, n);
        std::printf("  shown-reached mean %+.1f (%+.2f %%) sd %.1f\n", bias, 100.0 * bias * n / reached,
                    std::sqrt(std::max(0.0, squares / n - bias * bias)));
    }
    // By row and rolls made, how far the totals reached were above those shown.
    std::printf("reached-shown by row and rolls:\n");
    for (int row = 0; row < kFirstHalfHands; ++row) {
        std::printf("  row%d", row + 1);
        for (int rolls = 0; rolls <= kMaxRolls; ++rolls) {
            double sum = 0;
            int n = 0;
            for (const PlayedGame& g : played)
                for (const ShownTotal& s : g.shown)
                    if (s.handIndex == row && s.rollsUsed == rolls) {
                        sum += g.total - s.shown;
                        ++n;
                    }
            std::printf(" %.1f(%d)", n ? sum / n : 0.0, n);
        }
        std::printf("\n");
    }
    // Where the groups end: how often each multiplier level is reached.
    int leftLevels[6] = {}, rightLevels[6] = {};
    for (const PlayedGame& g : played) {
        const SheetTotalsValue t = SheetTotals(g.cells);
        ++leftLevels[t.leftLevel];
        ++rightLevels[t.rightLevel];
    }
    std::printf("left levels:");
    for (int n : leftLevels) std::printf(" %d", n);
    std::printf("\nright levels:");
    for (int n : rightLevels) std::printf(" %d", n);
    std::printf("\n");
    std::printf("category means:");
    for (int c = 0; c < kCategoryCount; ++c) {
        double sum = 0;
        for (const PlayedGame& g : played) sum += g.cells[c].value;
        std::printf(" %.1f", sum / static_cast<double>(played.size()));
    }
    std::printf("\n");
}

// The review page's words for a game played by the policy: what a player
// who followed the coach, or went their own way, reads after the game.
void PrintReview(GamePolicy policy, std::uint64_t gameSeed) {
    SeedRandom(static_cast<unsigned>(gameSeed));
    coach::CDecisionLog log;
    const PlayedGame game = PlayGame(policy, coach::CCoach(), gameSeed, &log);
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const coach::GameReview r = coach::ReviewGame(coach::CCoach(coach::kReviewBudget), log, game.total, 1);
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%s: %zu decisions, review %.0f ms (%.0f ms CPU)\n", policy == GamePolicy::Coach ? "following the coach" : "greedy play",
                log.Decisions().size(), wall * 1000, cpu * 1000);
    std::printf("  Your total: %d.   At your first choice (%s) the coach expected %.0f.\n", r.finalTotal,
                coach::DescribeMoment({r.firstMoment, r.firstMoment, coach::CoachChoice()}).c_str(), r.expectedAtStart);
    if (r.costliest.empty()) std::printf("  Every decision was as good as the coach's.\n");
    for (const coach::ReviewedDecision& d : r.costliest) {
        const bool swapped = d.decision.before.IsSecondHalf() && !coach::SameState(d.decision.before, d.decision.after);
        std::printf("  %s\n    You: %s%s   %.0f\n    Coach: %s   %.0f\n    Cost: %.0f points\n",
                    coach::DescribeMoment(d.decision).c_str(), swapped ? "swaps, then " : "",
                    coach::DescribeChoice(d.decision.chosen, d.decision.before).c_str(), d.chosenValue,
                    coach::DescribeChoice(d.preferred, d.decision.before).c_str(), d.preferred.expected, d.cost);
    }
}

bool ParseLevel(const char* text, OpponentLevel& out) {
    for (OpponentLevel level : {OpponentLevel::Easy, OpponentLevel::Medium, OpponentLevel::Hard}) {
        std::string name = coach::LevelName(level);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (name == text) {
            out = level;
            return true;
        }
    }
    return false;
}

void PrintLevel(OpponentLevel level, const std::vector<int>& totals, double hardMean) {
    const LevelSummary s = Summarise(totals);
    std::printf("%-6s mean %.1f median %d (%.1f %% of Hard)\n", coach::LevelName(level), s.mean, s.median,
                hardMean > 0 ? 100.0 * s.mean / hardMean : 0.0);
    // Game by game, so that runs over parts of the games can be put together.
    std::printf("  totals");
    for (int t : totals) std::printf(" %d", t);
    std::printf("\n");
}

// Hard and the levels asked for, on the same dice game by game.
int RunDuel(const std::vector<OpponentLevel>& levels, std::uint64_t seed, long long first, long long games) {
    const std::clock_t cpuStart = std::clock();
    const std::vector<int> hard = PlayLevelGames(OpponentLevel::Hard, seed, first, games);
    const double hardMean = Summarise(hard).mean;
    std::printf("duel, %lld games, seed %llu\n", games, static_cast<unsigned long long>(seed));
    PrintLevel(OpponentLevel::Hard, hard, hardMean);
    for (OpponentLevel level : levels) {
        if (level == OpponentLevel::Hard) continue;
        const std::vector<int> other = PlayLevelGames(level, seed, first, games);
        PrintLevel(level, other, hardMean);
        const DuelTallies t = Tally(hard, other);
        std::printf("  Hard against %s: won %d, lost %d, drawn %d (wins %.1f %%)\n", coach::LevelName(level),
                    t.hardWon, t.hardLost, t.drawn, 100.0 * t.hardWon / static_cast<double>(games));
    }
    std::printf("cpu %.1f s\n", static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    return 0;
}

// The "totals" line of an earlier run's output.
std::vector<int> TotalsOf(const char* path) {
    std::vector<int> totals;
    FILE* file = std::fopen(path, "r");
    if (!file) return totals;
    char word[32];
    while (std::fscanf(file, "%31s", word) == 1)
        if (std::strcmp(word, "totals") == 0) {
            int t;
            while (std::fscanf(file, "%d", &t) == 1) totals.push_back(t);
            break;
        }
    std::fclose(file);
    return totals;
}

// This run against an earlier one on the same games: the mean difference of
// the totals game by game, with its 95 % interval.
bool PrintPaired(const char* path, const std::vector<int>& totals) {
    const std::vector<int> before = TotalsOf(path);
    const std::size_t n = std::min(before.size(), totals.size());
    if (n < 2) {
        std::fprintf(stderr, "zanbor-coach: no totals of the same games in %s\n", path);
        return false;
    }
    double sum = 0, squares = 0;
    int better = 0, worse = 0;
    for (std::size_t g = 0; g < n; ++g) {
        const double d = totals[g] - before[g];
        sum += d;
        squares += d * d;
        better += d > 0;
        worse += d < 0;
    }
    const double mean = sum / static_cast<double>(n);
    const double sd = std::sqrt(std::max(0.0, (squares - sum * mean) / static_cast<double>(n - 1)));
    const double half = 1.96 * sd / std::sqrt(static_cast<double>(n));
    std::printf("against %s: %zu games, difference %+.1f (95 %% %+.1f..%+.1f), better in %d, worse in %d\n", path, n,
                mean, mean - half, mean + half, better, worse);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    long long games = -1, seed = -1, first = 0;
    GamePolicy policy = GamePolicy::Greedy;
    OpponentLevel level = OpponentLevel::Off;  // --policy easy|medium|hard
    std::vector<OpponentLevel> duel;           // --duel
    bool calibrate = false, review = false, commonDice = false;
    const char* against = nullptr;
    double share = -1;
    coach::CoachBudget budget;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--review") {
            review = true;
            continue;
        }
        if (arg == "--common-dice") {
            commonDice = true;
            continue;
        }
        if (arg == "--calibrate") {
            calibrate = true;
            policy = GamePolicy::Coach;
            continue;
        }
        if (i + 1 >= argc) return Usage();
        const char* value = argv[++i];
        if (arg == "--against") {
            against = value;
            continue;
        }
        long long n = 0;
        if (arg == "--policy") {
            if (std::strcmp(value, "greedy") == 0)
                policy = GamePolicy::Greedy;
            else if (std::strcmp(value, "coach") == 0)
                policy = GamePolicy::Coach;
            else if (!ParseLevel(value, level))
                return Usage();
            continue;
        }
        if (arg == "--greedy-share") {
            char* end = nullptr;
            share = std::strtod(value, &end);
            if (end == value || *end != '\0' || share < 0 || share > 1) return Usage();
            continue;
        }
        if (arg == "--duel") {
            OpponentLevel one = OpponentLevel::Off;
            if (std::strcmp(value, "all") == 0)
                duel = {OpponentLevel::Medium, OpponentLevel::Easy};
            else if (ParseLevel(value, one))
                duel = {one};
            else
                return Usage();
            continue;
        }
        if (!ParseCount(value, n)) return Usage();
        if (arg == "--games")
            games = n;
        else if (arg == "--seed")
            seed = n;
        else if (arg == "--first")
            first = n;
        else if (arg == "--rollouts" && n > 0)
            budget.rollouts = static_cast<int>(n);
        else if (arg == "--rollout-swaps")
            budget.rolloutSwaps = static_cast<int>(n);
        else if (arg == "--search-swaps")
            budget.searchSwaps = static_cast<int>(n);
        else
            return Usage();
    }
    if (seed >= 0 && review) {
        // One game, played by the coach and by the greedy policy, then reviewed.
        const std::uint64_t gameSeed = coach::Combine(static_cast<std::uint64_t>(seed), 0);
        PrintReview(GamePolicy::Coach, gameSeed);
        PrintReview(GamePolicy::Greedy, gameSeed);
        return 0;
    }
    if (games <= 0 || seed < 0) return Usage();
    if (!duel.empty()) return RunDuel(duel, static_cast<std::uint64_t>(seed), first, games);
    if (level != OpponentLevel::Off) {
        const std::clock_t cpuStart = std::clock();
        const std::vector<int> totals = PlayLevelGames(level, static_cast<std::uint64_t>(seed), first, games, share);
        const LevelSummary s = Summarise(totals);
        std::printf("policy %s, %lld games, seed %lld\nmean %.1f\nmedian %d\ncpu/game %.3f s\n", coach::LevelName(level),
                    games, seed, s.mean, s.median,
                    static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC / static_cast<double>(games));
        return 0;
    }

    const coach::CCoach coach(budget);
    std::vector<int> totals;
    std::vector<PlayedGame> played;
    totals.reserve(static_cast<std::size_t>(games));
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (long long g = first; g < first + games; ++g) {
        // Each game has its own dice, the same whichever policy plays it.
        const std::uint64_t gameSeed = coach::Combine(static_cast<std::uint64_t>(seed), static_cast<std::uint64_t>(g));
        SeedRandom(static_cast<unsigned>(gameSeed));
        played.push_back(PlayGame(policy, coach, gameSeed, nullptr, commonDice));
        totals.push_back(played.back().total);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    std::vector<int> sorted = totals;
    std::sort(sorted.begin(), sorted.end());
    auto percentile = [&](double q) { return sorted[static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1))]; };
    double sum = 0;
    for (int t : totals) sum += t;
    std::printf("policy %s, %lld games, seed %lld\n", policy == GamePolicy::Coach ? "coach" : "greedy", games, seed);
    std::printf("mean %.1f\nmedian %d\np10 %d\np90 %d\ngames/s %.2f\ncpu/game %.3f s\n", sum / static_cast<double>(games),
                percentile(0.5), percentile(0.1), percentile(0.9), static_cast<double>(games) / seconds,
                cpu / static_cast<double>(games));
    if (calibrate) PrintCalibration(played);
    std::printf("totals");
    for (int t : totals) std::printf(" %d", t);
    std::printf("\n");
    if (against && !PrintPaired(against, totals)) return 1;
    return 0;
}
