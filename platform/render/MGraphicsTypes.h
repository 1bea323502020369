#pragma once
// The small records the drawing and window interfaces pass around: points and
// rectangles in client pixels of the 800 x 600 design, and 0xAARRGGBB colours.

#include <cstdint>

struct POINT {
    int x;
    int y;
};

// Right and bottom are exclusive.
struct RECT {
    int left;
    int top;
    int right;
    int bottom;
};

using D3DCOLOR = std::uint32_t;  // 0xAARRGGBB

// The failure results of the few operations that answer like the system calls
// they stand for.
constexpr int kResultFail = static_cast<int>(0x80004005u);        // E_FAIL
constexpr int kResultInvalidArg = static_cast<int>(0x80070057u);  // E_INVALIDARG
