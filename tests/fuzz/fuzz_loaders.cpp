// libFuzzer target: the game's loaders of sprite arrays, fonts, sounds and
// music on every entry point of an archive.
#include "tests/fuzz/LoaderFuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::Loaders(data, size);
}
