#include "render/CurveGeometry.h"

#include <cmath>

namespace CurveGeometry {

namespace {

// Positive when the outline runs counter-clockwise in device coordinates (y down).
double Winding(std::span<const gdi::Point> outline) {
    double area = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const gdi::Point& p = outline[i];
        const gdi::Point& q = outline[(i + 1) % outline.size()];
        area += static_cast<double>(p.x) * q.y - static_cast<double>(q.x) * p.y;
    }
    return area >= 0 ? 1.0 : -1.0;
}

// Signed distance-like value of (x, y) from the edge p-q: at least 0 inside.
double Side(const gdi::Point& p, const gdi::Point& q, double x, double y, double winding) {
    return winding * ((q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x));
}

int RoundToInt(double v) {
    return static_cast<int>(v >= 0 ? v + 0.5 : v - 0.5);
}

struct PointD {
    double x, y;
};

} // namespace

void CopyPoints(std::span<const std::pair<int, int>> points, std::vector<gdi::Point>& out) {
    out.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        out[i] = {points[i].first, points[i].second};
}

void ReduceColumns(std::span<const std::pair<int, int>> points, std::vector<gdi::Point>& out) {
    out.clear();
    const std::size_t n = points.size();
    std::size_t i = 0;
    while (i < n) {
        // 1. The run of points in this column and its extremes.
        const int x = points[i].first;
        std::size_t last = i, low = i, high = i;
        while (last + 1 < n && points[last + 1].first == x) {
            ++last;
            if (points[last].second < points[low].second) low = last;
            if (points[last].second > points[high].second) high = last;
        }
        // 2. The last column is copied whole: its last point is the polyline's end, which a
        // one-unit line leaves out, so whether its row is covered depends on the path before.
        if (last + 1 == n) {
            for (std::size_t k = i; k <= last; ++k)
                out.push_back({points[k].first, points[k].second});
            break;
        }
        // 3. First, extremes and last in their order, each once.
        std::size_t keep[4] = {i, low < high ? low : high, low < high ? high : low, last};
        std::size_t previous = n;
        for (std::size_t k : keep) {
            if (k == previous) continue;
            out.push_back({points[k].first, points[k].second});
            previous = k;
        }
        i = last + 1;
    }
}

bool ClipSegment(std::span<const gdi::Point> outline, gdi::Point& a, gdi::Point& b) {
    if (outline.size() < 3) return false;
    const double w = Winding(outline);
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const gdi::Point& p = outline[i];
        const gdi::Point& q = outline[(i + 1) % outline.size()];
        const double sa = Side(p, q, a.x, a.y, w);
        const double sb = Side(p, q, b.x, b.y, w);
        if (sa < 0 && sb < 0) return false;
        if (sa >= 0 && sb >= 0) continue;
        const double t = sa / (sa - sb);
        if (sa < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const gdi::Point a0 = a;
    if (t0 > 0) a = {RoundToInt(a0.x + t0 * dx), RoundToInt(a0.y + t0 * dy)};
    if (t1 < 1) b = {RoundToInt(a0.x + t1 * dx), RoundToInt(a0.y + t1 * dy)};
    return true;
}

void ClipPolygon(std::span<const gdi::Point> outline, std::span<const gdi::Point> polygon,
                 std::vector<gdi::Point>& out, std::vector<gdi::Point>& scratch) {
    out.assign(polygon.begin(), polygon.end());
    if (outline.size() < 3) {
        out.clear();
        return;
    }
    const double w = Winding(outline);
    // One edge at a time (Sutherland-Hodgman): a convex outline keeps the result one piece,
    // and the corners between an exit and an entry come in as the cut points of later edges.
    for (std::size_t e = 0; e < outline.size() && !out.empty(); ++e) {
        const gdi::Point& p = outline[e];
        const gdi::Point& q = outline[(e + 1) % outline.size()];
        scratch.clear();
        for (std::size_t i = 0; i < out.size(); ++i) {
            const gdi::Point& c = out[i];
            const gdi::Point& n = out[(i + 1) % out.size()];
            const double sc = Side(p, q, c.x, c.y, w);
            const double sn = Side(p, q, n.x, n.y, w);
            if (sc >= 0) scratch.push_back(c);
            if ((sc >= 0) != (sn >= 0)) {
                const double t = sc / (sc - sn);
                const PointD cut{c.x + t * (n.x - c.x), c.y + t * (n.y - c.y)};
                scratch.push_back({RoundToInt(cut.x), RoundToInt(cut.y)});
            }
        }
        out.swap(scratch);
    }
}

} // namespace CurveGeometry
