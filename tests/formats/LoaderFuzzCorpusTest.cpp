// Replays the seeds of the loaders' fuzz target through its entry function, so
// they run in every build of the suite (the sanitizer builds included).

#include "tests/fuzz/LoaderFuzzEntry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

TEST(LoaderFuzzCorpus, EverySeedAndEveryCutOfItLoadsOrFailsCleanly) {
    ASSERT_TRUE(fuzz::AudioReady()) << "no audio driver";
    int seeds = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(ZANBOR_SOURCE_DIR) + "/tests/fuzz/corpus/loaders")) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(fuzz::Loaders(bytes.data(), bytes.size()), 0);
        for (std::size_t cut = 0; cut < bytes.size(); cut += 13) EXPECT_EQ(fuzz::Loaders(bytes.data(), cut), 0);
        ++seeds;
    }
    EXPECT_GE(seeds, 4);
    // Hostile counts and rates are refused before they cost anything.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    MMusicManager::Free();
    MSoundManager::Free();
}

}  // namespace
