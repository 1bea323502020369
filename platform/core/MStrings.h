#pragma once
// Bounded string helpers. Every fixed-size text buffer is filled through these,
// so it is always terminated and never written past its size.

#include <cstddef>

namespace MStrings {

// Longest texts the engine keeps in fixed buffers (without the terminator).
constexpr std::size_t kNameLength = 255;
constexpr std::size_t kMessageLength = 511;
constexpr std::size_t kCaptionLength = 63;

// Copies src into dst (size bytes in all) and terminates it; returns the number
// of characters copied. A null src copies an empty string; size 0 writes nothing.
std::size_t Copy(char* dst, std::size_t size, const char* src);

// Appends src to the terminated text in dst within size bytes; returns the new length.
std::size_t Append(char* dst, std::size_t size, const char* src);

// Length of a terminated text, at most max characters looked at. Null counts as empty.
std::size_t Length(const char* text, std::size_t max = static_cast<std::size_t>(-1));

// Byte-wise comparison as unsigned characters: <0, 0 or >0. Null sorts as empty.
int Compare(const char* a, const char* b);

}  // namespace MStrings
