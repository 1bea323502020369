// libFuzzer target: a WAVE file read from its first byte.
#include "tests/fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::WaveReader(data, size);
}
