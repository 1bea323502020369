// The packed sounds as the game plays them: none reaches full scale, and each one's
// level over its sounding part lies within 6 dB of the median sound's.

#include "tests/support/ArchiveSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

struct Level {
    std::string name;
    double peakDb = 0, rmsDb = 0;
};

// The energy of the 10 ms windows within 30 dB of the loudest window, as a level in dB
// of full scale: silence and faint tails do not lower it.
double SoundingRmsDb(const archive_support::Item& sound) {
    const std::size_t window = static_cast<std::size_t>(sound.rate / 100 * sound.channels);
    std::vector<double> energy;
    for (std::size_t at = 0; at < sound.samples.size(); at += window) {
        const std::size_t end = std::min(sound.samples.size(), at + window);
        double sum = 0;
        for (std::size_t i = at; i < end; ++i) sum += std::pow(sound.samples[i] / 32768.0, 2);
        energy.push_back(sum / static_cast<double>(end - at));
    }
    const double loudest = *std::max_element(energy.begin(), energy.end());
    double sum = 0;
    int counted = 0;
    for (double e : energy)
        if (e >= loudest * 0.001) sum += e, ++counted;
    return 10 * std::log10(sum / counted);
}

TEST(ArchiveLoudnessTest, NoSoundClipsAndEveryLevelIsWithinSixDecibelsOfTheMedian) {
    const auto runs = archive_support::ReadGameArchive();
    ASSERT_FALSE(runs.empty()) << "the game's archive could not be read";
    std::vector<Level> levels;
    for (const auto& [entry, run] : runs)
        for (std::size_t i = 0; i < run.size(); ++i) {
            const archive_support::Item& item = run[i];
            if (item.id != kIdWave) continue;
            ASSERT_FALSE(item.samples.empty()) << "entry " << entry << " item " << i + 1;
            int peak = 0;
            for (std::int16_t s : item.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
            levels.push_back({"entry " + std::to_string(entry) + " item " + std::to_string(i + 1),
                              20 * std::log10(std::max(peak, 1) / 32768.0), SoundingRmsDb(item)});
        }
    ASSERT_EQ(levels.size(), 2u + 6u + 18u + 1u);  // play scene, dice, score sheet, undo

    std::vector<double> rms;
    for (const Level& l : levels) rms.push_back(l.rmsDb);
    std::sort(rms.begin(), rms.end());
    const double median = (rms[rms.size() / 2] + rms[(rms.size() - 1) / 2]) / 2;
    std::printf("median level %.1f dB\n", median);
    for (const Level& l : levels) {
        std::printf("%-20s peak %6.1f dB  level %6.1f dB  (%+.1f)\n", l.name.c_str(), l.peakDb, l.rmsDb, l.rmsDb - median);
        EXPECT_LT(l.peakDb, -0.3) << l.name << " clips";
        EXPECT_LE(std::fabs(l.rmsDb - median), 6.0) << l.name;
    }
}

}  // namespace
