#include "platform/core/MStrings.h"

namespace MStrings {

std::size_t Copy(char* dst, std::size_t size, const char* src) {
    if (!dst || size == 0) return 0;
    std::size_t n = 0;
    if (src) {
        while (n + 1 < size && src[n] != '\0') {
            dst[n] = src[n];
            ++n;
        }
    }
    dst[n] = '\0';
    return n;
}

std::size_t Append(char* dst, std::size_t size, const char* src) {
    if (!dst || size == 0) return 0;
    std::size_t used = Length(dst, size - 1);
    return used + Copy(dst + used, size - used, src);
}

std::size_t Length(const char* text, std::size_t max) {
    if (!text) return 0;
    std::size_t n = 0;
    while (n < max && text[n] != '\0') ++n;
    return n;
}

int Compare(const char* a, const char* b) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a ? a : "");
    const auto* pb = reinterpret_cast<const unsigned char*>(b ? b : "");
    while (*pa != 0 && *pa == *pb) {
        ++pa;
        ++pb;
    }
    return static_cast<int>(*pa) - static_cast<int>(*pb);
}

}  // namespace MStrings
