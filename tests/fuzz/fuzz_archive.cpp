// libFuzzer target: an asset archive with its pictures, sprite arrays, sounds
// and music, read the way the loaders read it.
#include "tests/fuzz/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzz::ArchiveAndImage(data, size);
}
