#pragma once
// The engine's rectangle: whole pixels, left and top inclusive, right and bottom
// exclusive. It is the platform's RECT, so actors hand their bounds to the
// sprite drawer unchanged.

#include <algorithm>

#include "platform/render/MGraphicsTypes.h"

using CRect = RECT;

// Largest left and top, smallest right and bottom (may come out empty).
inline CRect IntersectRect(const CRect& a, const CRect& b) {
    return CRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
}

// Smallest left and top, largest right and bottom.
inline CRect UnionRect(const CRect& a, const CRect& b) {
    return CRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom)};
}

inline bool IsRectEmpty(const CRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// left <= x < right and top <= y < bottom.
inline bool RectContains(const CRect& r, int x, int y) {
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

// Strict overlap on all four sides.
inline bool RectsOverlap(const CRect& a, const CRect& b) {
    return a.left < b.right && a.right > b.left && a.top < b.bottom && a.bottom > b.top;
}
