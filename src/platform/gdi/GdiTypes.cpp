#include "platform/gdi/GdiTypes.h"

#include <algorithm>
#include <cmath>

namespace gdi {

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    if (r.IsEmpty()) return Rect{};
    return r;
}

bool Overlaps(const Rect& a, const Rect& b) {
    return !Intersect(a, b).IsEmpty();
}

int PixelHeightFromPoints(int points) {
    // 96 logical pixels per inch, 72 points per inch, rounded as a point font is.
    return static_cast<int>(std::lround(points * double(kLogicalDpi) / 72.0));
}

} // namespace gdi
