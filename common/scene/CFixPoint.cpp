#include "common/scene/CFixPoint.h"

#include <cmath>

int CFixPoint::Distance(const CFixPoint& other) const {
    const double dx = (x - other.x) / 256.0;
    const double dy = (y - other.y) / 256.0;
    return static_cast<int>(std::sqrt(dx * dx + dy * dy) * 256.0);
}
