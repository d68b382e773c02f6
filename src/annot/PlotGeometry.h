#pragma once
#include "platform/gdi/GdiTypes.h"

#include <array>
#include <optional>
#include <span>

// Plane geometry the annotations and host objects share: point-in-polygon tests, the thin
// strip around a line that takes clicks, and the notched arrowhead of a leader line.
namespace PlotGeometry {

// Alternate (even-odd) fill rule.
bool InPolygon(std::span<const gdi::Point> polygon, gdi::Point p);

// The quadrilateral half units either side of the segment a-b: offset vertically when the
// segment is flatter than 45 degrees, horizontally otherwise.
std::array<gdi::Point, 4> Strip(gdi::Point a, gdi::Point b, int half);

// The arrowhead with its tip at tip pointing away from far: length units long, two thirds
// of that wide, notched at half its length. A far end nearer than shortest is pushed out
// (doubling its offset) until it is not. None when the points coincide or length < 0.
std::optional<std::array<gdi::Point, 4>> NotchedArrowHead(gdi::Point tip, gdi::Point far,
                                                          int length, int shortest);

// Whether r lies inside the band; r counts one unit wide or high where it has no width or
// height.
bool InsideBand(const gdi::Rect& band, gdi::Rect r);

} // namespace PlotGeometry
