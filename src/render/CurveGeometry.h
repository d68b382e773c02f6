#pragma once
#include "platform/gdi/GdiTypes.h"

#include <cmath>
#include <span>
#include <utility>
#include <vector>

// Point arithmetic of curve drawing: the mapping of samples on linear axes, the per-column
// reduction of dense polylines and the cutting of segments and polygons at a convex outline
// (a region's rectangle or a triangle), for devices that do not keep clip regions.
namespace CurveGeometry {

// One axis of the plot-to-device mapping, round((v − from)·length/(to − from)) + shift half
// away from zero and clamped to ±limit, with the division turned into a multiplication that
// gives the same integers: the float steps are those of the plain formula, and the quotient
// taken in double rounds to the same float (two 24-bit floats never divide to within 2^−49
// of a point halfway between floats, far more than the double's error).
class AxisMap {
public:
    AxisMap(float from, float to, int length, int shift, int limit)
        : from_(from), length_(static_cast<float>(length)),
          inverseSpan_(1.0 / static_cast<double>(to - from)), shift_(shift), limit_(limit) {}

    int operator()(float v) const {
        const float t = (v - from_) * length_;
        const double q = static_cast<double>(t) * inverseSpan_;
        // Beyond twice the limit the float clamps too; checking first keeps the cast in range.
        if (!(std::fabs(q) < 2.0 * limit_)) return (std::signbit(q) ? -limit_ : limit_) + shift_;
        const double d = static_cast<float>(q);
        if (!(std::fabs(d) < limit_)) return (std::signbit(d) ? -limit_ : limit_) + shift_;
        return static_cast<int>(d >= 0 ? d + 0.5 : d - 0.5) + shift_;
    }

private:
    float from_, length_;
    double inverseSpan_;
    int shift_, limit_;
};

// The world-to-device mapping a curve is drawn with: the plot's horizontal axis and the
// curve's own vertical one, a value handed to the drawing code for each curve.
struct CurveMap {
    AxisMap horizontal, vertical;
    // False, with p untouched, when a coordinate is NaN or infinite.
    bool operator()(float x, float y, gdi::Point& p) const {
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        p = {horizontal(x), vertical(y)};
        return true;
    }
};

// Copies points to out, keeping of every run of consecutive points in one device column only
// the first, the lowest, the highest and the last, in their original order; the last column
// is copied whole. A one-unit solid polyline drawn segment by segment, each segment with its
// start pixel and without its end pixel, covers the same pixels through out as through
// points: in every column but the last the vertical segments cover exactly the rows from the
// lowest to the highest point, and the segments between columns are the same in both. A
// wider line drawn as those pixels widened by a fixed stamp stays the same too.
// out keeps its capacity.
void ReduceColumns(std::span<const std::pair<int, int>> points, std::vector<gdi::Point>& out);

// Plain copy of the buffered device points.
void CopyPoints(std::span<const std::pair<int, int>> points, std::vector<gdi::Point>& out);

// Cuts the segment a-b at the convex outline (either winding); false when nothing is left.
bool ClipSegment(std::span<const gdi::Point> outline, gdi::Point& a, gdi::Point& b);

// Cuts a polygon at the convex outline; the outline's corners passed between the exit and the
// entry of an edge are inserted, so that the result stays inside. out keeps its capacity;
// scratch is working storage.
void ClipPolygon(std::span<const gdi::Point> outline, std::span<const gdi::Point> polygon,
                 std::vector<gdi::Point>& out, std::vector<gdi::Point>& scratch);

// The pieces of a polyline inside the convex outline, each drawn by draw(span).
template <class Draw>
void ClipPolyline(std::span<const gdi::Point> outline, std::span<const gdi::Point> points,
                  std::vector<gdi::Point>& piece, Draw draw) {
    piece.clear();
    for (std::size_t i = 1; i < points.size(); ++i) {
        gdi::Point a = points[i - 1], b = points[i];
        if (!ClipSegment(outline, a, b)) continue;
        if (!piece.empty() && !(piece.back() == a)) {
            draw(std::span<const gdi::Point>(piece));
            piece.clear();
        }
        if (piece.empty()) piece.push_back(a);
        piece.push_back(b);
        if (!(b == points[i])) { // left the outline
            draw(std::span<const gdi::Point>(piece));
            piece.clear();
        }
    }
    if (piece.size() > 1) draw(std::span<const gdi::Point>(piece));
    piece.clear();
}

} // namespace CurveGeometry
