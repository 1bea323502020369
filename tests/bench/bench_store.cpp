// The settings store on a real database in a temporary folder: one read, one
// durable write, and 50 writes committed as one transaction.

#include <benchmark/benchmark.h>

#include <string>

#include "platform/storage/MRegistryStore.h"
#include "tests/support/SettingsSandbox.h"

namespace {

MRegistryStore* Store() { return MRegistryStore::Get(HKEY_LOCAL_MACHINE); }

void BM_ReadDword(benchmark::State& state) {
    SettingsSandbox sandbox;
    Store()->WriteDword("Difficulty", 2, "Config");
    DWORD value = 0;
    for (auto _ : state) {
        Store()->ReadDword(&value, "Difficulty", 1, "Config");
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_ReadDword);

void BM_ReadString(benchmark::State& state) {
    SettingsSandbox sandbox;
    Store()->WriteString("Initials", "ABC", "Config");
    char text[8];
    for (auto _ : state) {
        Store()->ReadString(text, "Initials", "???", "Config", sizeof text);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_ReadString);

void BM_WriteDword(benchmark::State& state) {
    SettingsSandbox sandbox;
    DWORD n = 0;
    for (auto _ : state) Store()->WriteDword("Counter", ++n, "Config");
}
BENCHMARK(BM_WriteDword)->Unit(benchmark::kMillisecond);

void BM_Write50InOneTransaction(benchmark::State& state) {
    SettingsSandbox sandbox;
    std::string names[50];
    for (int i = 0; i < 50; ++i) names[i] = "ABCHigh" + std::to_string(i);
    DWORD n = 0;
    for (auto _ : state) {
        MRegistryTransaction transaction;
        for (int i = 0; i < 50; ++i) Store()->WriteDword(names[i].c_str(), ++n, "Config");
        transaction.Commit();
    }
}
BENCHMARK(BM_Write50InOneTransaction)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
