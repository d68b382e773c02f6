#include "annot/PlotGeometry.h"

#include <cmath>
#include <cstdlib>

namespace PlotGeometry {

bool InPolygon(std::span<const gdi::Point> polygon, gdi::Point p) {
    bool inside = false;
    const size_t n = polygon.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const gdi::Point a = polygon[i], b = polygon[j];
        if ((a.y > p.y) == (b.y > p.y)) continue;
        // Where the edge crosses the horizontal through p.
        const double x = a.x + double(p.y - a.y) * (b.x - a.x) / double(b.y - a.y);
        if (p.x < x) inside = !inside;
    }
    return inside;
}

std::array<gdi::Point, 4> Strip(gdi::Point a, gdi::Point b, int half) {
    const bool flat = std::abs(b.x - a.x) > std::abs(b.y - a.y);
    const int ox = flat ? 0 : half, oy = flat ? half : 0;
    return {gdi::Point{a.x - ox, a.y - oy}, gdi::Point{b.x - ox, b.y - oy},
            gdi::Point{b.x + ox, b.y + oy}, gdi::Point{a.x + ox, a.y + oy}};
}

std::optional<std::array<gdi::Point, 4>> NotchedArrowHead(gdi::Point tip, gdi::Point far,
                                                          int length, int shortest) {
    if (length < 0 || tip == far) return std::nullopt;
    const double a = tip.x, b = tip.y;
    double c = far.x, d = far.y;
    double f = std::hypot(c - a, d - b);
    while (f <= shortest) {
        c = 2 * c - a;
        d = 2 * d - b;
        f = std::hypot(c - a, d - b);
    }
    const double g = (c - a) * length / (3 * f), l = (d - b) * length / (3 * f);
    auto round = [](double v) { return double(int(v + 0.5)); };
    auto point = [](double x, double y) { return gdi::Point{int(x), int(y)}; };
    return std::array<gdi::Point, 4>{point(a, b), point(a + 3 * g - round(l), b + 3 * l + round(g)),
                                     point(a + 1.5 * g, b + 1.5 * l),
                                     point(a + 3 * g + round(l), b + 3 * l - round(g))};
}

bool InsideBand(const gdi::Rect& band, gdi::Rect r) {
    if (r.right <= r.left) r.right = r.left + 1;
    if (r.bottom <= r.top) r.bottom = r.top + 1;
    return r.left >= band.left && r.right <= band.right && r.top >= band.top &&
           r.bottom <= band.bottom;
}

} // namespace PlotGeometry
