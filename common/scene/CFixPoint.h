#pragma once
// A 2-D point in 24.8 fixed point (pixels x 256), and the conversions that
// every position, target and depth goes through.

#include <cstdint>

// Whole pixels to 24.8.
constexpr std::int32_t ToFixed(int pixels) { return pixels * 256; }
// 24.8 to whole pixels, rounding down (an arithmetic shift, also for negatives).
constexpr int FromFixed(std::int32_t fixed) { return fixed >> 8; }

class CFixPoint {
public:
    CFixPoint() = default;
    CFixPoint(const int& px, const int& py) : x(px), y(py) {}
    CFixPoint(const CFixPoint& other) = default;
    CFixPoint& operator=(const CFixPoint& other) = default;
    virtual ~CFixPoint() = default;

    // Euclidean distance in 24.8, computed in floating point from the
    // differences in whole pixels, scaled back by 256 and truncated.
    int Distance(const CFixPoint& other) const;

    int x = 0;
    int y = 0;
};
