// Replays every seed of the fuzz corpus through the fuzz entry functions, so
// the seeds run under the sanitizer build even where libFuzzer is not built.

#include "tests/fuzz/FuzzEntries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::vector<std::filesystem::path> Seeds(const char* folder) {
    std::vector<std::filesystem::path> seeds;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(ZANBOR_SOURCE_DIR) + "/tests/fuzz/corpus/" + folder)) {
        if (entry.is_regular_file()) seeds.push_back(entry.path());
    }
    return seeds;
}

std::vector<std::uint8_t> Load(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ArchiveFuzzCorpus, EveryArchiveSeedRunsThroughTheArchiveAndImagePath) {
    auto seeds = Seeds("archive");
    ASSERT_GE(seeds.size(), 3u);
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        auto bytes = Load(seed);
        EXPECT_EQ(fuzz::ArchiveAndImage(bytes.data(), bytes.size()), 0);
        // Every prefix is a truncated archive: each must fail cleanly too.
        for (std::size_t cut = 0; cut < bytes.size(); cut += 7) {
            EXPECT_EQ(fuzz::ArchiveAndImage(bytes.data(), cut), 0);
        }
    }
}

TEST(ArchiveFuzzCorpus, EveryWaveSeedRunsThroughTheWaveReader) {
    auto seeds = Seeds("wave");
    ASSERT_GE(seeds.size(), 3u);
    for (const auto& seed : seeds) {
        SCOPED_TRACE(seed.filename().string());
        auto bytes = Load(seed);
        EXPECT_EQ(fuzz::WaveReader(bytes.data(), bytes.size()), 0);
        for (std::size_t cut = 0; cut < bytes.size(); cut += 5) {
            EXPECT_EQ(fuzz::WaveReader(bytes.data(), cut), 0);
        }
    }
}

}  // namespace
